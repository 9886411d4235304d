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
    QColor Fill(RedComponent(C), GreenComponent(C), BlueComponent(C));
    QColor Pen(0x2b, 0x2b, 0x2b);
    // A swatch that takes no clicks looks it, like the fields beside it.
    if (!isEnabled()) {
        const QColor Back = palette().color(QPalette::Window);
        Fill = QColor((Fill.red() + 2 * Back.red()) / 3, (Fill.green() + 2 * Back.green()) / 3,
                      (Fill.blue() + 2 * Back.blue()) / 3);
        Pen = palette().color(QPalette::Disabled, QPalette::WindowText);
    }
    P.setPen(QPen(Pen, 1));
    P.setBrush(Fill);
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
