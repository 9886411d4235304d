#include "ui/HelpWindow.h"

#include "shell/Version.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace zp {

namespace {

QToolButton* NavButton(const QString& Text, QStyle::StandardPixmap Icon, const QKeySequence& Key,
                       QWidget* Parent) {
    auto* B = new QToolButton(Parent);
    B->setText(Text);
    B->setIcon(Parent->style()->standardIcon(Icon));
    B->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    B->setAutoRaise(true);
    B->setShortcut(Key);
    B->setToolTip(QStringLiteral("%1 (%2)").arg(Text, Key.toString(QKeySequence::NativeText)));
    return B;
}

} // namespace

THelpWindow::THelpWindow(QWidget* Parent)
    : QWidget(Parent, Qt::Window), FBrowser(new QTextBrowser(this)),
      FBack(NavButton(QStringLiteral("Zurück"), QStyle::SP_ArrowBack, QKeySequence::Back, this)),
      FForward(NavButton(QStringLiteral("Vor"), QStyle::SP_ArrowForward, QKeySequence::Forward, this)),
      FHome(NavButton(QStringLiteral("Inhalt"), QStyle::SP_DirHomeIcon, QKeySequence(Qt::ALT | Qt::Key_Home),
                      this)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Hilfe – %1").arg(QString::fromUtf8(ApplicationTitle)));
    FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    // The page's own links stay here; the web and mail addresses are the desktop's business.
    FBrowser->setOpenExternalLinks(true);
    FBack->setEnabled(false);
    FForward->setEnabled(false);
    connect(FBack, &QToolButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(FForward, &QToolButton::clicked, FBrowser, &QTextBrowser::forward);
    connect(FHome, &QToolButton::clicked, FBrowser, &QTextBrowser::home);
    connect(FBrowser, &QTextBrowser::backwardAvailable, FBack, &QToolButton::setEnabled);
    connect(FBrowser, &QTextBrowser::forwardAvailable, FForward, &QToolButton::setEnabled);
    auto* Close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(Close, &QShortcut::activated, this, &QWidget::close);

    auto* Bar = new QHBoxLayout;
    Bar->setContentsMargins(4, 2, 4, 0);
    Bar->setSpacing(2);
    Bar->addWidget(FBack);
    Bar->addWidget(FForward);
    Bar->addWidget(FHome);
    Bar->addStretch(1);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(2);
    Layout->addLayout(Bar);
    Layout->addWidget(FBrowser, 1);
    resize(860, 720);
}

void THelpWindow::ShowPage(const QString& Path) {
    const QUrl Url = QUrl::fromLocalFile(Path);
    // Read anew when shown again: the page on disk may be newer than the one shown.
    if (FBrowser->source() == Url)
        FBrowser->reload();
    else
        FBrowser->setSource(Url);
    FBrowser->verticalScrollBar()->setValue(0);
    show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

} // namespace zp
