#include "ui/MainWindow.h"

#include "shell/Version.h"

#include <QMdiArea>

namespace zp {

TMainWindow::TMainWindow(QWidget* Parent) : QMainWindow(Parent), FMdiArea(new QMdiArea(this)) {
    setWindowTitle(QString::fromUtf8(ProductName));
    setCentralWidget(FMdiArea);
    resize(1024, 700);
}

} // namespace zp
