#include "ui/MainWindow.h"

#include "document/DocForm.h"
#include "shell/Version.h"
#include "ui/DocumentWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace zp {

TMainWindow::TMainWindow(QWidget* Parent) : QMainWindow(Parent), FMdiArea(new QMdiArea(this)) {
    setWindowTitle(QString::fromUtf8(ProductName));
    setCentralWidget(FMdiArea);
    resize(1024, 700);
    FHost.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
    FHost.Texts.insert(QStringLiteral("TxtUnknown"), QStringLiteral("Unbenannt"));
}

TMainWindow::~TMainWindow() {
    // Windows before the documents they show.
    for (QMdiSubWindow* W : FMdiArea->subWindowList()) delete W;
}

TDocumentWindow* TMainWindow::NewDocument(int Width, int Height, TColor BackColor) {
    auto Doc = std::make_unique<TDocForm>(FHost);
    FHost.SetUnknownCounter(FHost.UnknownCounter() + 1);
    Doc->NewImage(Width, Height, BackColor);
    auto* Window = new TDocumentWindow(*Doc);
    FDocs.push_back(std::move(Doc));
    QMdiSubWindow* Sub = FMdiArea->addSubWindow(Window);
    Sub->resize(640, 400);
    Sub->show();
    return Window;
}

} // namespace zp
