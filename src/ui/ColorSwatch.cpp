#include "ui/ColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace zp {

TColorSwatch::TColorSwatch(TColor Color, QWidget* Parent) : QWidget(Parent), FColor(Color) {
    setCursor(Qt::PointingHandCursor);
}

void TColorSwatch::SetColor(TColor Color) {
    FColor = Color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent*) {
    QPainter P(this);
    P.setRenderHint(QPainter::Antialiasing);
    const TColor32 C = Color32(FColor);
    P.setPen(QPen(QColor(0x2b, 0x2b, 0x2b), 1));
    P.setBrush(QColor(RedComponent(C), GreenComponent(C), BlueComponent(C)));
    P.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void TColorSwatch::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton || !rect().contains(Event->position().toPoint())) return;
    TColor C = FColor;
    if (!AskColor || !AskColor(C)) return;
    SetColor(C);
    if (OnChange) OnChange(C);
}

} // namespace zp
