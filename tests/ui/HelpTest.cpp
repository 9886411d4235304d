// "Hilfe" (F1): the page the command asks for, the program's own help window where the desktop
// has no browser, and the help page itself against the command table.
#include "shell/CommandTable.h"
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

namespace zp {
namespace {

const QString HelpSource = QStringLiteral(ZP_RESOURCE_DIR "/help");

QString ReadHelpPage() {
    QFile F(HelpSource + QStringLiteral("/index.html"));
    return F.open(QIODevice::ReadOnly) ? QString::fromUtf8(F.readAll()) : QString();
}

// The program folder with the language file and, when asked, the help as installed.
void FillProgramFolder(const TTempPlaces& Places, bool WithHelp) {
    QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"),
                Places.ProgramDir() + QStringLiteral("/lang.ini"));
    if (!WithHelp) return;
    QDir().mkpath(Places.ProgramDir() + QStringLiteral("/help"));
    for (const QString& Name : QDir(HelpSource).entryList(QDir::Files))
        QFile::copy(HelpSource + QLatin1Char('/') + Name,
                    Places.ProgramDir() + QStringLiteral("/help/") + Name);
}

void PressF1(QWidget& Window) {
    QApplication::setActiveWindow(&Window);
    QTest::keyClick(&Window, Qt::Key_F1);
}

// ---------------------------------------------------------------- through the dialog seam

TEST(HelpCommand, AsksForTheInstalledPageOrSaysItIsMissing) {
    TTempPlaces Places;
    FillProgramFolder(Places, true);
    TScriptedDialogs Dialogs;
    TMainWindow Window(false);
    Window.Model().StartupHandled = true;
    Window.show();
    PressF1(Window);
    ASSERT_EQ(Dialogs.HelpPages.size(), 1u);
    EXPECT_EQ(Dialogs.HelpPages.front(), Places.ProgramDir() + QStringLiteral("/help/index.html"));
    EXPECT_TRUE(Dialogs.Shown.empty());

    QDir(Places.ProgramDir() + QStringLiteral("/help")).removeRecursively();
    PressF1(Window);
    EXPECT_EQ(Dialogs.HelpPages.size(), 1u);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown.front().Icon, TMsgIcon::Warning);
    EXPECT_TRUE(Dialogs.Shown.front().Text.startsWith(QStringLiteral("Die Hilfe wurde nicht gefunden")));
    EXPECT_TRUE(Dialogs.Shown.front().Text.contains(QStringLiteral("/help/index.html")));
}

// ---------------------------------------------------------------- the Qt dialogs

struct THelpWindowFixture : ::testing::Test {
    TTempPlaces Places;
    std::unique_ptr<TMainWindow> Window;
    QList<QUrl> Handed;
    bool DesktopOpens = false;

    THelpWindowFixture() {
        FillProgramFolder(Places, true);
        Window = std::make_unique<TMainWindow>(true);
        Window->Model().StartupHandled = true;
        Window->QtDialogs()->OpenUrl = [this](const QUrl& Url) {
            Handed << Url;
            return DesktopOpens;
        };
        Window->show();
        QApplication::processEvents();
    }
    THelpWindow* Help() const { return Window->QtDialogs()->HelpWindow(); }
    // Where the text of the link to Href begins in the browser's document.
    static int LinkPosition(const QTextBrowser& B, const QString& Href) {
        for (QTextBlock Block = B.document()->begin(); Block.isValid(); Block = Block.next())
            for (auto It = Block.begin(); !It.atEnd(); ++It)
                if (It.fragment().charFormat().anchorHref() == Href) return It.fragment().position();
        return -1;
    }
    static int AnchorPosition(const QTextBrowser& B, const QString& Name) {
        for (QTextBlock Block = B.document()->begin(); Block.isValid(); Block = Block.next())
            for (auto It = Block.begin(); !It.atEnd(); ++It)
                if (It.fragment().charFormat().anchorNames().contains(Name)) return It.fragment().position();
        return -1;
    }
};

TEST_F(THelpWindowFixture, TheDesktopsBrowserShowsThePageWhenItCan) {
    DesktopOpens = true;
    PressF1(*Window);
    ASSERT_EQ(Handed.size(), 1);
    EXPECT_EQ(Handed.front(), QUrl::fromLocalFile(Places.ProgramDir() + QStringLiteral("/help/index.html")));
    EXPECT_EQ(Help(), nullptr);
}

TEST_F(THelpWindowFixture, WithoutABrowserTheProgramsWindowShowsThePageAndFollowsItsLinks) {
    PressF1(*Window);
    EXPECT_EQ(Handed.size(), 1);
    ASSERT_NE(Help(), nullptr);
    THelpWindow& H = *Help();
    QTextBrowser& B = *H.Browser();
    EXPECT_TRUE(H.isVisible());
    EXPECT_EQ(H.windowTitle(), QStringLiteral("Hilfe – Zelk-Pixaro"));
    EXPECT_EQ(B.documentTitle(), QStringLiteral("Zelk - Pixaro – Hilfe"));
    // The pictures lie beside the page and are found from it.
    EXPECT_FALSE(
        B.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("hauptfenster.png"))).isNull());
    EXPECT_EQ(B.verticalScrollBar()->value(), 0);

    // A click on the contents' link to the tools moves the page there, and back returns.
    H.resize(700, 500);
    QApplication::processEvents();
    const int Link = LinkPosition(B, QStringLiteral("#werkzeuge"));
    ASSERT_GE(Link, 0);
    QTextCursor C(B.document());
    C.setPosition(Link + 1);
    const QPoint At = B.cursorRect(C).center();
    QTest::mouseClick(B.viewport(), Qt::LeftButton, Qt::NoModifier, At);
    QApplication::processEvents();
    EXPECT_EQ(B.source().fragment(), QStringLiteral("werkzeuge"));
    const int Target = AnchorPosition(B, QStringLiteral("werkzeuge"));
    ASSERT_GE(Target, 0);
    QTextCursor T(B.document());
    T.setPosition(Target);
    EXPECT_GT(B.verticalScrollBar()->value(), 0);
    EXPECT_LE(std::abs(B.cursorRect(T).top()), 40);
    ASSERT_TRUE(H.BackButton()->isEnabled());
    H.BackButton()->click();
    EXPECT_TRUE(B.source().fragment().isEmpty());

    // Asked again, the same window comes back at the page's top.
    H.close();
    PressF1(*Window);
    EXPECT_EQ(Help(), &H);
    EXPECT_TRUE(H.isVisible());
    EXPECT_EQ(B.verticalScrollBar()->value(), 0);
}

// ---------------------------------------------------------------- the page itself

// The page names every visible menu command under its caption, with its short cut written
// as the German keyboard labels it.
TEST(HelpPage, DescribesEveryMenuCommandAndItsShortCut) {
    // Line breaks of the page's source are spaces to a reader.
    const QString Page = ReadHelpPage().simplified();
    ASSERT_FALSE(Page.isEmpty());
    for (const TMenuRow& R : MenuRows()) {
        const QString Caption = QString::fromUtf8(R.Caption).remove(QLatin1Char('&'));
        if (R.Hidden || Caption == QLatin1String("-")) continue;
        EXPECT_TRUE(Page.contains(Caption.toHtmlEscaped())) << Caption.toStdString();
        for (const char* Key : {R.ShortCut, R.AltShortCut}) {
            if (!*Key) continue;
            QString German = QString::fromLatin1(Key);
            German.replace(QStringLiteral("Ctrl"), QStringLiteral("Strg"))
                .replace(QStringLiteral("Shift"), QStringLiteral("Umschalt"))
                .replace(QStringLiteral("Del"), QStringLiteral("Entf"));
            EXPECT_TRUE(Page.contains(QStringLiteral("<kbd>%1</kbd>").arg(German))) << German.toStdString();
        }
    }
    for (const TToolRow& R : ToolRows())
        EXPECT_TRUE(Page.contains(QString::fromUtf8(R.Hint), Qt::CaseInsensitive)) << R.Hint;
}

// Every link inside the page has its anchor, and every picture is there.
TEST(HelpPage, LinksAndPicturesResolve) {
    const QString Page = ReadHelpPage();
    QStringList Anchors;
    for (const auto& M : QRegularExpression(QStringLiteral("name=\"([^\"]+)\"")).globalMatch(Page))
        Anchors << M.captured(1);
    int Links = 0;
    for (const auto& M : QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(Page)) {
        ++Links;
        EXPECT_TRUE(Anchors.contains(M.captured(1))) << M.captured(1).toStdString();
    }
    EXPECT_GT(Links, 10);
    int Pictures = 0;
    for (const auto& M : QRegularExpression(QStringLiteral("<img src=\"([^\"]+)\"")).globalMatch(Page)) {
        ++Pictures;
        EXPECT_TRUE(QFile::exists(HelpSource + QLatin1Char('/') + M.captured(1)))
            << M.captured(1).toStdString();
    }
    EXPECT_GE(Pictures, 5);
}

} // namespace
} // namespace zp
