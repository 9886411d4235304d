// How the windows lay out what they show: palettes and the first document at their default
// places leave one another free, captions read in full and in German, lists open as lists,
// and what takes no input looks it.
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"
#include "ui/ColorSwatch.h"
#include "ui/FontCombo.h"
#include "ui/LangCaptions.h"
#include "ui/LayersPalette.h"
#include "ui/MainWindow.h"
#include "ui/Paintbox.h"
#include "ui/PropertiesPalette.h"
#include "ui/TemplateBrowser.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace zp {
namespace {

struct TLayoutFixture : ::testing::Test {
    TTempPlaces Places{{1000, 800}};
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainWindow> Window;
    TLayoutFixture() {
        QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"),
                    Places.ProgramDir() + QStringLiteral("/lang.ini"));
        // This test's settings file, not one an earlier test left behind.
        RecreateSettings();
        Window = std::make_unique<TMainWindow>(false);
        Window->Model().StartupHandled = true;
        Window->show();
        LoadCaptions(Window.get());
    }
    // As each activation of the main window places them.
    void AdjustPalettes() {
        Window->PropertiesPalette()->Adjust(Window.get());
        Window->Paintbox()->Adjust(Window.get());
        Window->LayersPalette()->Adjust(Window.get());
        QApplication::processEvents();
    }
};

TEST_F(TLayoutFixture, PalettesAndTheFirstDocumentLieApart) {
    // Stored narrower than its tabs need: the palette widens, and documents make room for that.
    Settings().SaveFormProps(TFormProps{pkTextForm, 2, 0, 100, 293, true});
    AdjustPalettes();
    const TfrmFontProp& Props = *Window->PropertiesPalette();
    const TfrmLayers& Layers = *Window->LayersPalette();
    ASSERT_GT(Props.width(), 100);
    // The layers palette's title bar goes below the properties palette's frame, its title bar
    // counted even where the desktop has not reported one yet.
    const int TitleBar = Props.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &Props);
    EXPECT_GE(Layers.frameGeometry().top(), Props.frameGeometry().top() + TitleBar + Props.height() + 5);

    Window->Model().NewSampleDocument();
    ASSERT_EQ(Window->MdiArea()->subWindowList().size(), 1);
    const QMdiSubWindow* Sub = Window->MdiArea()->subWindowList().front();
    EXPECT_GT(Sub->mapToGlobal(QPoint(0, 0)).x(), Props.frameGeometry().right());
}

TEST_F(TLayoutFixture, CaptionsReadInFullAndInGerman) {
    AdjustPalettes();
    // Both tabs of the layers palette unshortened at the palette's default width.
    const QTabBar* Tabs = Window->LayersPalette()->Pages()->tabBar();
    EXPECT_LE(Tabs->sizeHint().width(), Tabs->width());
    // The pattern's wrap modes come from the language file.
    const QComboBox* Wrap = Window->PropertiesPalette()->CmbPatternWrapMode();
    ASSERT_EQ(Wrap->count(), 5);
    EXPECT_EQ(Wrap->itemText(0), QStringLiteral("Kacheln"));
    EXPECT_EQ(Wrap->itemText(4), QStringLiteral("Einzeln"));
    // Before any document there is nothing to take back.
    const auto* Bar = Window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_TRUE(Bar);
    for (const char* Name : {"TlBtnUndo", "TlBtnRedo"})
        EXPECT_FALSE(Bar->findChild<QAction*>(QString::fromLatin1(Name))->isEnabled()) << Name;
}

// The font and pattern lists open below their fields with their number of visible rows, not as
// a column over the screen.
TEST_F(TLayoutFixture, ListsOpenBelowTheirFieldsWithTheirRows) {
    TfrmFontProp& Props = *Window->PropertiesPalette();
    Window->Model().Palettes.SetPropertiesMode(enableText);
    Props.show();
    Props.Pages()->setCurrentWidget(Props.Page("TabSheetPattern"));
    QApplication::processEvents();
    QStringList Families;
    for (int I = 0; I < 30; ++I) Families << QStringLiteral("Schrift %1").arg(I, 2, 10, QLatin1Char('0'));
    Props.CmbBxFont()->Fill(Families);
    for (QComboBox* Combo : {static_cast<QComboBox*>(Props.CmbBxFont()), Props.ImgCmbPattern()}) {
        Props.Pages()->setCurrentWidget(Combo->parentWidget());
        QApplication::processEvents();
        ASSERT_GT(Combo->count(), Combo->maxVisibleItems());
        Combo->showPopup();
        QApplication::processEvents();
        const QWidget* List = Combo->view()->window();
        const int Row = Combo->view()->sizeHintForRow(0);
        EXPECT_LE(List->height(), (Combo->maxVisibleItems() + 1) * Row) << Combo->objectName().toStdString();
        EXPECT_GE(List->geometry().top(), Combo->mapToGlobal(QPoint(0, Combo->height())).y() - 2)
            << Combo->objectName().toStdString();
        Combo->hidePopup();
    }
}

TEST(ColorSwatch, ADisabledSwatchLooksDisabled) {
    TColorSwatch Swatch(0x0000FF);
    Swatch.resize(25, 25);
    const auto Middle = [&] { return Swatch.grab().toImage().pixelColor(12, 12); };
    EXPECT_EQ(Middle(), QColor(255, 0, 0));
    Swatch.setEnabled(false);
    const QColor Greyed = Middle();
    EXPECT_NE(Greyed, QColor(255, 0, 0));
    EXPECT_GT(Greyed.green(), 100);
}

TEST(TemplateBrowserLayout, TheHintWrapsWithinANarrowBox) {
    TTempPlaces Places;
    TScriptedDialogs Dialogs;
    QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"),
                Places.ProgramDir() + QStringLiteral("/lang.ini"));
    QDir().mkpath(Places.ProgramDir() + QStringLiteral("/Bildvorlagen/Formen"));
    RecreateSettings();
    TfrmTemplate Browser;
    Browser.resize(520, 400);
    bool Seen = false;
    QTimer::singleShot(0, &Browser, [&] {
        Seen = true;
        EXPECT_TRUE(Browser.Hint()->wordWrap());
        EXPECT_TRUE(Browser.Box()->rect().contains(Browser.Hint()->geometry()))
            << Browser.Hint()->geometry().right() << " > " << Browser.Box()->width();
        Browser.reject();
    });
    Browser.Choose(true);
    EXPECT_TRUE(Seen);
}

} // namespace
} // namespace zp
