// A project's life through the real window: saved with the file dialog, closed, reopened from
// the recently used list and the open dialog, edited on; templates and damaged files.
#include "document/LayerKinds.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownDocument.h"
#include "support/TempPlaces.h"
#include "ui/DocumentWindow.h"
#include "ui/FrameViewWidget.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TProjectWorkflow : ::testing::Test {
    TTempPlaces Places{{1200, 900}};
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainWindow> Window;

    TProjectWorkflow() {
        QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"),
                    Places.ProgramDir() + QStringLiteral("/lang.ini"));
        // The file dialog of Qt's own widgets, whatever the desktop offers.
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        Window = std::make_unique<TMainWindow>(false);
        Window->Model().StartupHandled = true;
        Window->show();
        Window->activateWindow();
        QApplication::processEvents();
    }

    std::vector<std::unique_ptr<TDocForm>>& Docs() const { return Window->Model().DocFormList; }
    TFrameViewWidget* Canvas(TDocForm& Doc) const {
        return Window->DocumentWindow(&Doc)->FrameWidget(Doc.ActivePage());
    }
    void Key(TDocForm& Doc, Qt::Key K, Qt::KeyboardModifiers M = Qt::NoModifier) {
        QTest::keyClick(Canvas(Doc), K, M);
    }

    // Opens the "Datei" menu with the mouse and clicks the item Name, or the entry Entry of the
    // submenu Name.
    void ClickFileMenu(const QString& Name, const QString& Entry = QString()) {
        QAction* Top = Window->menuBar()->actions().at(0);
        QTest::mouseClick(Window->menuBar(), Qt::LeftButton, {},
                          Window->menuBar()->actionGeometry(Top).center());
        QMenu* File = Top->menu();
        ASSERT_TRUE(File->isVisible());
        QAction* Item = Window->Action(Name);
        ASSERT_TRUE(Item);
        if (Entry.isEmpty()) {
            QTest::mouseClick(File, Qt::LeftButton, {}, File->actionGeometry(Item).center());
            return;
        }
        // A submenu opens when the pointer rests on its item.
        QMenu* Sub = Item->menu();
        ASSERT_TRUE(Sub);
        QTest::mouseMove(File, File->actionGeometry(Item).center());
        ASSERT_TRUE(QTest::qWaitFor([Sub] { return Sub->isVisible(); }, 2000));
        QAction* Chosen = nullptr;
        for (QAction* A : Sub->actions())
            if (A->text() == Entry) Chosen = A;
        ASSERT_TRUE(Chosen) << "no entry " << Entry.toStdString();
        QTest::mouseClick(Sub, Qt::LeftButton, {}, Sub->actionGeometry(Chosen).center());
        EXPECT_FALSE(File->isVisible());
        // The offscreen platform leaves the closed menu as the active window.
        Window->activateWindow();
        QApplication::processEvents();
    }

    // The next file dialog is turned to the folder of Path, gets the file name typed into its
    // name field and its accept button clicked.
    static void TypeIntoNextFileDialog(const QString& Path, bool* Done) {
        QTimer::singleShot(20, [Path, Done] {
            auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!Dialog) return TypeIntoNextFileDialog(Path, Done);
            auto* Name = Dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!Name) return Dialog->reject();
            Dialog->setDirectory(QFileInfo(Path).absolutePath());
            Name->clear();
            QTest::keyClicks(Name, QFileInfo(Path).fileName());
            // The completer's list would take the first click.
            if (QCompleter* C = Name->completer(); C && C->popup()) C->popup()->hide();
            auto* Box = Dialog->findChild<QDialogButtonBox*>();
            if (!Box) return Dialog->reject();
            QTest::mouseClick(Box->buttons().first(), Qt::LeftButton); // "Speichern" or "Öffnen"
            *Done = QTest::qWaitFor([&] { return !Dialog->isVisible(); }, 3000);
            if (!*Done) Dialog->reject();
        });
    }

    // The picture's layers, without the selection frame.
    static int PictureLayers(const TDocForm& Doc) {
        int N = 0;
        const TLayerCollection& L = Doc.CurrentView()->Layers();
        for (int I = 0; I < L.Count(); ++I) N += IsFrameLayer(L.Items(I)) ? 0 : 1;
        return N;
    }

    TDocForm* Newest() const { return Docs().empty() ? nullptr : Docs().back().get(); }
    void CloseWindowOf(TDocForm& Doc) {
        for (QMdiSubWindow* Sub : Window->MdiArea()->subWindowList())
            if (Sub->widget() == Window->DocumentWindow(&Doc)) Sub->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(TProjectWorkflow, SavedClosedAndReopenedTheProjectIsTheSameAndStaysEditable) {
    TDocForm& Doc = Window->Model().NewSampleDocument();
    Doc.CreateNewFrame(1);
    Doc.SetFrameSettings(1, 80, rmWindows256, dmStucki);
    Doc.SetNumLoops(4);
    const TShown Before(Doc);
    const int Layers = PictureLayers(Doc);
    const QString Name = Places.Path(QStringLiteral("banner.dgm"));

    // "Speichern unter..." by its short cut, the name typed into the real file dialog.
    {
        TQtUserDialogs Real(Window.get());
        TUserDialogs* Scripted = SetUserDialogs(&Real);
        bool Typed = false;
        TypeIntoNextFileDialog(Name, &Typed);
        Key(Doc, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        SetUserDialogs(Scripted);
        ASSERT_TRUE(Typed);
    }
    ASSERT_TRUE(QFile::exists(Name));
    EXPECT_EQ(Doc.FileName(), Name);
    EXPECT_TRUE(Window->DocumentWindow(&Doc)->windowTitle().contains(QStringLiteral("banner.dgm")));
    EXPECT_TRUE(Dialogs.Shown.empty());

    // Closed without a question, it is the newest entry of "Zuletzt verendet".
    CloseWindowOf(Doc);
    ASSERT_TRUE(Docs().empty());
    EXPECT_TRUE(Dialogs.Shown.empty());
    ClickFileMenu(QStringLiteral("mnLastUsed"), QStringLiteral("banner.dgm"));
    ASSERT_EQ(Docs().size(), 1u);
    TDocForm& Again = *Newest();
    EXPECT_EQ(Again.FileName(), Name);
    EXPECT_TRUE(TShown(Again) == Before);
    EXPECT_FALSE(Again.Modified());

    // Edited on: the shown frame is the first; a click selects a layer, Delete removes it, and
    // the undo brings it back.
    ASSERT_EQ(Again.GetIndex(), 0);
    QApplication::processEvents();
    const TPoint P = Again.CurrentView()->BitmapToControl({100, 75}); // inside the rectangle
    QTest::mouseClick(Canvas(Again)->viewport(), Qt::LeftButton, {}, QPoint(P.X, P.Y));
    ASSERT_NE(Again.Selection(), nullptr);
    EXPECT_TRUE(Window->Action("mnDelete")->isEnabled());
    Key(Again, Qt::Key_Delete);
    EXPECT_EQ(PictureLayers(Again), Layers - 1);
    Key(Again, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(PictureLayers(Again), Layers);
    Again.SelectLayer(nullptr);
    EXPECT_TRUE(TShown(Again) == Before);

    // Deleted once more and saved with "Speichern" (Ctrl+S, no dialog for a project), closed
    // without a question, and opened with "Öffnen..." and the real dialog.
    QTest::mouseClick(Canvas(Again)->viewport(), Qt::LeftButton, {}, QPoint(P.X, P.Y));
    Key(Again, Qt::Key_Delete);
    Key(Again, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(Again.Modified());
    const TShown Edited(Again);
    CloseWindowOf(Again);
    EXPECT_TRUE(Dialogs.Shown.empty());
    ASSERT_TRUE(Docs().empty());
    {
        TQtUserDialogs Real(Window.get());
        TUserDialogs* Scripted = SetUserDialogs(&Real);
        bool Typed = false;
        TypeIntoNextFileDialog(Name, &Typed);
        ClickFileMenu(QStringLiteral("mnOpenFile"));
        SetUserDialogs(Scripted);
        ASSERT_TRUE(Typed);
    }
    ASSERT_EQ(Docs().size(), 1u);
    EXPECT_EQ(PictureLayers(*Newest()), Layers - 1);
    EXPECT_TRUE(TShown(*Newest()) == Edited);
    EXPECT_FALSE(TShown(*Newest()) == Before);
}

TEST_F(TProjectWorkflow, TemplatesOpenUntitledMissingFontsAreToldOnceAndDamagedFilesLeaveNothing) {
    TDocForm& Doc = Window->Model().NewSampleDocument();
    Doc.CreateNewFrame(1); // the text layer twice
    const QString Name = Places.Path(QStringLiteral("vorlage.dgm"));
    ASSERT_TRUE(Doc.SelectSaveMethod(Name, QStringLiteral(".dgm")));
    CloseWindowOf(Doc);
    ASSERT_TRUE(Docs().empty());
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    QByteArray Text = F.readAll();
    F.close();
    const QByteArray Missing = "Gibtsnicht Antiqua";
    const int At = Text.indexOf("<FontName>");
    ASSERT_GE(At, 0);
    Text.replace("<FontName>" + Text.mid(At + 10, Text.indexOf('<', At + 10) - At - 10) + "</FontName>",
                 "<FontName>" + Missing + "</FontName>");
    ASSERT_EQ(Text.count(Missing), 2);
    TTempPlaces::WriteText(Name, Text);

    Dialogs.Templates = {Name};
    ClickFileMenu(QStringLiteral("mnOpenTemplate"));
    ASSERT_EQ(Docs().size(), 1u);
    EXPECT_TRUE(Newest()->FileName().isEmpty()); // a template opens as a new document
    EXPECT_EQ(Newest()->FrameCount(), 2);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text.count(QString::fromLatin1(Missing)), 1);

    // A damaged project: its message, and no document window more.
    const QString Damaged = Places.Path(QStringLiteral("kaputt.dgm"));
    TTempPlaces::WriteText(Damaged, Text.left(Text.size() / 2));
    Dialogs.FileNames = {Damaged};
    ClickFileMenu(QStringLiteral("mnOpenFile"));
    EXPECT_EQ(Docs().size(), 1u);
    EXPECT_EQ(Window->MdiArea()->subWindowList().size(), 1);
    ASSERT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_TRUE(Dialogs.Shown[1].Text.contains(QStringLiteral("kaputt.dgm")));
}

} // namespace
} // namespace zp
