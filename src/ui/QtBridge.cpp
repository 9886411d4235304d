#include "ui/QtBridge.h"

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

QCursor ToQCursor(TCursor Cursor) {
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
