#include "ui/QtBridge.h"

#include "ui/Icons.h"

#include <QHash>

namespace zp {

TMouseButton ToMouseButton(Qt::MouseButton Button) {
    switch (Button) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

TShiftState ToShiftState(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    TShiftState S = 0;
    if (Modifiers & Qt::ShiftModifier) S |= ssShift;
    if (Modifiers & Qt::AltModifier) S |= ssAlt;
    if (Modifiers & Qt::ControlModifier) S |= ssCtrl;
    if (Buttons & Qt::LeftButton) S |= ssLeft;
    if (Buttons & Qt::RightButton) S |= ssRight;
    if (Buttons & Qt::MiddleButton) S |= ssMiddle;
    return S;
}

int ToArrowKey(int QtKey) {
    switch (QtKey) {
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    default: return 0;
    }
}

namespace {

// The program's own cursors: 1 drawing tools, 2 pointer tool, 110 colour picking, 117 filling,
// and the selection frame's handles.
QCursor ProgramCursor(TCursor Cursor) {
    struct TDrawn {
        TCursor Number;
        const char* Picture;
        int HotX, HotY;
    };
    // The tools' cursors and those of the selection frame's handles.
    static const TDrawn Drawn[] = {
        {1, "CursorGradientTool", 15, 15},      {2, "CursorPointerTool", 1, 1},
        {110, "CursorPipette", 2, 29},          {117, "CursorFiller", 7, 29},
        {crSizeWE, "CursorSizeWE", 16, 16},     {crSizeNS, "CursorSizeNS", 16, 16},
        {crSizeNWSE, "CursorSizeNWSE", 16, 16}, {crSizeNESW, "CursorSizeNESW", 16, 16},
        {crSizeAll, "CursorSizeAll", 16, 16}};
    for (const TDrawn& D : Drawn)
        if (D.Number == Cursor)
            return QCursor(CommandIcon(QString::fromLatin1(D.Picture)).pixmap(32, 32), D.HotX, D.HotY);
    return QCursor();
}

} // namespace

QCursor ToQCursor(TCursor Cursor) {
    static QHash<int, QCursor> Made;
    if (auto It = Made.constFind(Cursor); It != Made.constEnd()) return *It;
    if (const QCursor Drawn = ProgramCursor(Cursor); !Drawn.pixmap().isNull()) {
        Made.insert(Cursor, Drawn);
        return Drawn;
    }
    switch (Cursor) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass: return QCursor(Qt::WaitCursor);
    case crDrag: return QCursor(Qt::DragMoveCursor);
    case crNoDrop:
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace zp
