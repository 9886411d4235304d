#include "ui/QtBridge.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

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

namespace {

// The program's own cursors, drawn once: 1 drawing tools, 2 pointer tool, 110 colour picking,
// 117 colour filling.
QCursor DrawnCursor(TCursor Cursor) {
    QPixmap Pix(32, 32);
    Pix.fill(Qt::transparent);
    QPainter P(&Pix);
    P.setRenderHint(QPainter::Antialiasing, false);
    const QPen Outline(Qt::white, 3), Ink(Qt::black, 1);
    switch (Cursor) {
    case 1: { // cross hair with a small gradient square
        for (const QPen& Pen : {Outline, Ink}) {
            P.setPen(Pen);
            P.drawLine(15, 4, 15, 12);
            P.drawLine(15, 18, 15, 26);
            P.drawLine(4, 15, 12, 15);
            P.drawLine(18, 15, 26, 15);
        }
        QLinearGradient G(20, 20, 28, 28);
        G.setColorAt(0, Qt::black);
        G.setColorAt(1, Qt::white);
        P.setPen(Ink);
        P.setBrush(G);
        P.drawRect(20, 20, 8, 8);
        return QCursor(Pix, 15, 15);
    }
    case 110: { // pipette, tip at the bottom left
        P.setRenderHint(QPainter::Antialiasing);
        for (const QPen& Pen : {QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap),
                                QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap)}) {
            P.setPen(Pen);
            P.drawLine(2, 29, 18, 13);
        }
        P.setPen(QPen(Qt::white, 1));
        P.setBrush(Qt::black);
        P.drawEllipse(QPointF(23, 8), 6, 6);
        return QCursor(Pix, 1, 30);
    }
    case 117: { // paint bucket pouring to the bottom left
        P.setRenderHint(QPainter::Antialiasing);
        P.setPen(QPen(Qt::black, 1.5));
        P.setBrush(Qt::white);
        QPolygonF Bucket;
        Bucket << QPointF(10, 12) << QPointF(20, 4) << QPointF(29, 13) << QPointF(19, 22);
        P.drawPolygon(Bucket);
        P.setBrush(Qt::black);
        P.drawEllipse(QPointF(5, 22), 3, 5);
        return QCursor(Pix, 5, 27);
    }
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace

QCursor ToQCursor(TCursor Cursor) {
    if (Cursor == 1 || Cursor == 110 || Cursor == 117) {
        static QHash<int, QCursor> Drawn;
        if (!Drawn.contains(Cursor)) Drawn.insert(Cursor, DrawnCursor(Cursor));
        return Drawn.value(Cursor);
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
