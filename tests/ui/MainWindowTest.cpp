#include "ui/MainWindow.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"
#include "ui/DocumentWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TMainWindowFixture : ::testing::Test {
    TTempPlaces Places{{1000, 800}};
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainWindow> Window;
    TMainWindowFixture() {
        QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"),
                    Places.ProgramDir() + QStringLiteral("/lang.ini"));
        // Not interactive: the scripted dialogs answer.
        Window = std::make_unique<TMainWindow>(false);
        Window->Model().StartupHandled = true;
    }
    static QStringList Texts(const QMenu* Menu) {
        QStringList L;
        for (const QAction* A : Menu->actions())
            if (A->isVisible()) L << (A->isSeparator() ? QStringLiteral("-") : A->text());
        return L;
    }
};

TEST_F(TMainWindowFixture, MenusFollowTheCommandTable) {
    QStringList Tops;
    for (const QAction* A : Window->menuBar()->actions()) Tops << A->text();
    EXPECT_EQ(Tops, (QStringList{"Datei", "Bearbeiten", "B&ild", "Ebene", "Frames", "Effects", "Fenster",
                                 "Gif", "Hilfe"}));
    const QMenu* File = Window->menuBar()->actions()[0]->menu();
    EXPECT_EQ(Texts(File), (QStringList{"Neu", "Öffnen...", "Vorlage auswählen...", "Zuletzt verendet", "-",
                                        "Schließen", "Speichern", "Speichern unter...", "-", "Beenden"}));
    EXPECT_EQ(Window->Action("mnSaveAs")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    EXPECT_EQ(Window->Action("mnDelete")->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(Window->Action("mnHelp")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_FALSE(Window->Action("mnPrint")->isVisible());
    EXPECT_FALSE(Window->Action("mnNewBitmapRGBA")->isVisible());
    ASSERT_TRUE(Window->Action("Drehen1")->menu());
    EXPECT_EQ(Texts(Window->Action("Drehen1")->menu()), (QStringList{"im UZS", "gegen UZS", "Angel"}));
    const QMenu* Edit = Window->menuBar()->actions()[1]->menu();
    EXPECT_EQ(Texts(Edit).mid(0, 3), (QStringList{"Rückgängig", "Wiederherstellen", "-"}));
    EXPECT_EQ(Window->Action("mnRedo")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                   QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));

    auto* Bar = Window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_TRUE(Bar);
    int Buttons = 0;
    for (const QAction* A : Bar->actions())
        if (!A->isSeparator() && !A->objectName().isEmpty()) ++Buttons;
    EXPECT_EQ(Buttons, 24); // the 22 of the table, and undo and redo beside the clipboard
    EXPECT_EQ(Window->ZoomBox()->count(), 10);
    EXPECT_EQ(Window->ZoomBox()->itemText(4), QStringLiteral("100%"));
}

TEST_F(TMainWindowFixture, DocumentsGetWindowsAndCloseThroughTheModel) {
    Dialogs.NewImages.push_back({200, 100, 0x00FFFFFF});
    Window->Model().NewImageFromDialog();
    ASSERT_EQ(Window->MdiArea()->subWindowList().size(), 1);
    TDocForm* Doc = Window->Model().DocFormList.front().get();
    TDocumentWindow* W = Window->DocumentWindow(Doc);
    ASSERT_TRUE(W);
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Unbenannt1[*]"));
    EXPECT_FALSE(W->isWindowModified());
    EXPECT_TRUE(Window->Action("mnSave")->isEnabled());
    EXPECT_FALSE(Window->Action("mnDelete")->isEnabled());

    // With a change, the title shows it and the close box asks; Cancel keeps it, No closes it.
    Doc->SetNumLoops(1);
    EXPECT_TRUE(W->isWindowModified());
    QMdiSubWindow* Sub = Window->MdiArea()->subWindowList().front();
    Dialogs.Answers = {mrCancel};
    Sub->close();
    QApplication::processEvents();
    EXPECT_EQ(Window->Model().DocFormList.size(), 1u);
    Dialogs.Answers = {mrNo};
    Sub->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Window->Model().DocFormList.empty());
    EXPECT_TRUE(Window->MdiArea()->subWindowList().isEmpty());
}

} // namespace
} // namespace zp
