#include "ui/PaletteWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QStyle>

namespace zp {

TPaletteWindow::TPaletteWindow(TPaletteKind Kind, QWidget* Parent)
    : QWidget(Parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      FKind(Kind) {}

void TPaletteWindow::SaveProps(bool Visible) {
    Settings().SaveFormProps(TFormProps{FKind, x(), y(), width(), height(), Visible});
}

void TPaletteWindow::moveEvent(QMoveEvent* Event) {
    QWidget::moveEvent(Event);
    if (IsAdjusted && isVisible() && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) SaveProps(true);
}

void TPaletteWindow::closeEvent(QCloseEvent* Event) {
    // Only the user's close hides the palette for the next start; quitting closes it too.
    if (Event->spontaneous()) SaveProps(false);
    QWidget::closeEvent(Event);
}

QRect OuterFrame(const QWidget& Window) {
    QRect R = Window.frameGeometry();
    const int Decoration = R.height() - Window.height();
    const int TitleBar = Window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &Window);
    if (Decoration < TitleBar) R.setBottom(R.bottom() + TitleBar - Decoration);
    return R;
}

int PaletteTopBelowToolBar(const QWidget* MainWindow) {
    const auto* Main = qobject_cast<const QMainWindow*>(MainWindow);
    if (Main && Main->centralWidget()) return Main->centralWidget()->mapToGlobal(QPoint(0, 0)).y();
    return MainWindow->geometry().top();
}

} // namespace zp
