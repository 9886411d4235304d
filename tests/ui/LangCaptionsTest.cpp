#include "ui/LangCaptions.h"

#include "shell/LangText.h"
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace zp {
namespace {

// English first, so a loader that took the first or the configured section would show it.
const QByteArray TestLang =
    "[English]\n1=File\n3=Open...\n83=Font\n89=Outline\n107=Pointer\n162=Zoom\n"
    "right=right\n"
    "[Deutsch]\n1=Datei\n3=\xC3\x96"
    "ffnen...\n22=Text einf\xC3\xBCgen\n75=Drehen im UZS\n"
    "83=Schrift\n88=Rahmen\n89=Umrandung\n107=Zeiger\n114=Farbe 1\n148=okay\n162=Zoom\n"
    "500=Fenstertitel\n501=Gruppe\n502=Eingabe\n"
    "right=rechts\nleft=links\ntop=oben\nbottom=unten\ntopleft=oben-links\n"
    "topright=oben-rechts\nbottomleft=unten-links\nbottomright=unten-rechts\n"
    "Tile=Kacheln\nTileFlipX=Kacheln X\nTileFlipY=Kacheln Y\nTileFlipXY=Kacheln XY\n";

// A window with one control of every kind the loader knows, tagged the way later windows do.
struct TTestWindow {
    TTestWindow() {
        Window = std::make_unique<QMainWindow>();
        Window->setWindowTitle("Titel");
        FileMenu = Window->menuBar()->addMenu("File?");
        OpenAction = FileMenu->addAction("Open?");
        QToolBar* Bar = Window->addToolBar("Bar");
        InsertTextAction = Bar->addAction("Insert?");
        RotateButton = new QToolButton(Window.get());
        PointerButton = new QToolButton(Window.get());
        PointerButton->setText("icon");
        Swatch = new QFrame(Window.get());
        ZoomLabel = new QLabel("Zoom?", Window.get());
        Outline = new QCheckBox("Outline?", Window.get());
        Ok = new QPushButton("Ok?", Window.get());
        Untagged = new QLabel("stays", Window.get());
        Group = new QGroupBox("group", Window.get());
        Edit = new QLineEdit("text", Window.get());
        Tabs = new QTabWidget(Window.get());
        FontPage = new QWidget;
        BorderPage = new QWidget;
        Tabs->addTab(FontPage, "Font?");
        Tabs->addTab(BorderPage, "Border?");
        Directions = new QComboBox(Window.get());
        for (int I = 0; I < 8; ++I) Directions->addItem(QString::number(I), I * 10);
        Directions->setCurrentIndex(5);
        WrapModes = new QComboBox(Window.get());
        Other = new QComboBox(Window.get());
        Other->addItem("keep");

        SetTags({{FileMenu, 1},
                 {OpenAction, 3},
                 {InsertTextAction, 22, ckCaptionAndHint},
                 {RotateButton, 75},
                 {PointerButton, 107, ckHint},
                 {Swatch, 114, ckHint},
                 {ZoomLabel, 162},
                 {Outline, 89},
                 {Ok, 148},
                 {Group, 501},
                 {Edit, 502},
                 {FontPage, 83},
                 {BorderPage, 88},
                 {Directions, 99},
                 {WrapModes, 146},
                 {Other, 3}});
        SetTag(Window.get(), 500);
    }

    std::unique_ptr<QMainWindow> Window;
    QMenu* FileMenu;
    QAction* OpenAction;
    QAction* InsertTextAction;
    QToolButton* RotateButton;
    QToolButton* PointerButton;
    QFrame* Swatch;
    QLabel* ZoomLabel;
    QCheckBox* Outline;
    QPushButton* Ok;
    QLabel* Untagged;
    QGroupBox* Group;
    QLineEdit* Edit;
    QTabWidget* Tabs;
    QWidget* FontPage;
    QWidget* BorderPage;
    QComboBox* Directions;
    QComboBox* WrapModes;
    QComboBox* Other;
};

class LangCaptionsTest : public ::testing::Test {
protected:
    void WriteLang(const QByteArray& Text) { TTempPlaces::WriteText(LangFileName(), Text); }
    TTempPlaces Places;
    TScriptedDialogs Dialogs;
};

TEST_F(LangCaptionsTest, EachKindOfControlTakesItsGermanText) {
    WriteLang(TestLang);
    TTestWindow W;
    LoadCaptions(W.Window.get());

    EXPECT_EQ(W.FileMenu->title(), "Datei");
    EXPECT_EQ(W.OpenAction->text(), QString::fromUtf8("Öffnen..."));
    EXPECT_EQ(W.InsertTextAction->text(), QString::fromUtf8("Text einfügen"));
    EXPECT_EQ(W.InsertTextAction->toolTip(), QString::fromUtf8("Text einfügen"));
    EXPECT_EQ(W.RotateButton->text(), "Drehen im UZS");
    EXPECT_EQ(W.RotateButton->toolTip(), "Drehen im UZS");
    EXPECT_EQ(W.PointerButton->text(), "icon");
    EXPECT_EQ(W.PointerButton->toolTip(), "Zeiger");
    EXPECT_EQ(W.Swatch->toolTip(), "Farbe 1");
    EXPECT_EQ(W.ZoomLabel->text(), "Zoom");
    EXPECT_EQ(W.Outline->text(), "Umrandung");
    EXPECT_EQ(W.Ok->text(), "okay");
    EXPECT_EQ(W.Tabs->tabText(0), "Schrift");
    EXPECT_EQ(W.Tabs->tabText(1), "Rahmen");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(LangCaptionsTest, ClassesTheLoaderDoesNotHandleAndTheWindowItselfKeepTheirText) {
    WriteLang(TestLang);
    TTestWindow W;
    LoadCaptions(W.Window.get());
    EXPECT_EQ(W.Window->windowTitle(), "Titel");
    EXPECT_EQ(W.Untagged->text(), "stays");
    EXPECT_EQ(W.Group->title(), "group");
    EXPECT_EQ(W.Edit->text(), "text");
    EXPECT_EQ(W.Other->itemText(0), "keep");
    EXPECT_EQ(W.Other->count(), 1);
    // Caption-only controls get no hint.
    EXPECT_TRUE(W.Outline->toolTip().isEmpty());

    // Asked for explicitly, a group box does take a caption.
    SetTag(W.Group, 501, ckCaption);
    LoadCaptions(W.Window.get());
    EXPECT_EQ(W.Group->title(), "Gruppe");
}

TEST_F(LangCaptionsTest, TheTwoListsGetTheirItemsAndKeepTheChoice) {
    WriteLang(TestLang);
    TTestWindow W;
    LoadCaptions(W.Window.get());
    const QStringList Expected = {"rechts",     "links",       "oben",        "unten",
                                  "oben-links", "oben-rechts", "unten-links", "unten-rechts"};
    ASSERT_EQ(W.Directions->count(), 8);
    for (int I = 0; I < 8; ++I) EXPECT_EQ(W.Directions->itemText(I), Expected[I]);
    EXPECT_EQ(W.Directions->currentIndex(), 5);
    EXPECT_EQ(W.Directions->itemData(5).toInt(), 50);
    // The wrap-mode list was empty; "Clamp" is missing from the file.
    ASSERT_EQ(W.WrapModes->count(), 5);
    EXPECT_EQ(W.WrapModes->itemText(0), "Kacheln");
    EXPECT_EQ(W.WrapModes->itemText(3), "Kacheln XY");
    EXPECT_EQ(W.WrapModes->itemText(4), "Text-Error!");
}

TEST_F(LangCaptionsTest, MissingKeysAndAMissingFileGiveTextError) {
    WriteLang("[Deutsch]\n1=Datei\n");
    TTestWindow W;
    LoadCaptions(W.Window.get());
    EXPECT_EQ(W.FileMenu->title(), "Datei");
    EXPECT_EQ(W.OpenAction->text(), "Text-Error!");
    EXPECT_EQ(W.PointerButton->toolTip(), "Text-Error!");

    QFile::remove(LangFileName());
    TTestWindow Fresh;
    LoadCaptions(Fresh.Window.get());
    EXPECT_EQ(Fresh.FileMenu->title(), "Text-Error!");
    EXPECT_EQ(Fresh.Tabs->tabText(1), "Text-Error!");
    EXPECT_EQ(Fresh.Directions->itemText(0), "Text-Error!");
    // Captions fail quietly; only message lookups report the missing file.
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(LangCaptionsTest, APageOutsideItsTabWidgetKeepsTheCaptionForLater) {
    WriteLang(TestLang);
    TTestWindow W;
    W.Tabs->removeTab(1);
    LoadCaptions(W.Window.get());
    EXPECT_EQ(W.BorderPage->windowTitle(), "Rahmen");
    delete W.BorderPage;
}

TEST_F(LangCaptionsTest, OneRunCoversEveryWindowOfTheApplication) {
    WriteLang(TestLang);
    TTestWindow First, Second;
    auto Dialog = std::make_unique<QWidget>();
    auto* Label = new QLabel(Dialog.get());
    SetTag(Label, 89);
    LoadCaptions();
    EXPECT_EQ(First.OpenAction->text(), QString::fromUtf8("Öffnen..."));
    EXPECT_EQ(Second.Tabs->tabText(0), "Schrift");
    EXPECT_EQ(Label->text(), "Umrandung");
}

TEST_F(LangCaptionsTest, TheShippedFileCaptionsInGermanWhateverTheLanguage) {
    SetProgramFolder(QStringLiteral(ZP_RESOURCE_DIR));
    TTestWindow W;
    LoadCaptions(W.Window.get());
    EXPECT_EQ(W.FileMenu->title(), "Datei");
    EXPECT_EQ(W.Tabs->tabText(0), "Schrift");
    EXPECT_EQ(W.Directions->itemText(5), "oben-rechts");
}

} // namespace
} // namespace zp
