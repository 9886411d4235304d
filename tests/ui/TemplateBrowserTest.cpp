#include "ui/TemplateBrowser.h"
#include "files/PictureCodecs.h"
#include "files/PictureFiles.h"
#include "layers/PicLayer.h"
#include "shell/Settings.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownDocument.h"
#include "support/TempPlaces.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace zp {
namespace {

TEST(TemplateBrowser, ThumbnailsFormAGridOnlyWhenAllAreAlike) {
    // 500 wide, 100 x 50 thumbnails: (500 - 20) / 120 = 4 columns, left margin (520 - 480) / 2.
    const QList<QPoint> Grid =
        ArrangeThumbnails(500, {{100, 50}, {100, 50}, {100, 50}, {100, 50}, {100, 50}});
    EXPECT_EQ(Grid, (QList<QPoint>{{20, 110}, {140, 110}, {260, 110}, {380, 110}, {20, 180}}));
    // Different sizes: one centred column, each row its own height + 20 lower.
    const QList<QPoint> Column = ArrangeThumbnails(500, {{100, 50}, {60, 30}});
    EXPECT_EQ(Column, (QList<QPoint>{{200, 110}, {220, 180}}));
    // Too narrow for two columns.
    EXPECT_EQ(ArrangeThumbnails(200, {{100, 50}, {100, 50}}), (QList<QPoint>{{50, 110}, {50, 180}}));
    EXPECT_TRUE(ArrangeThumbnails(500, {}).isEmpty());
}

struct TBrowserFixture : ::testing::Test {
    TTempPlaces Places;
    TScriptedDialogs Dialogs;
    TBrowserFixture() {
        QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"),
                    Places.ProgramDir() + QStringLiteral("/lang.ini"));
        RecreateSettings();
    }
    void Picture(const QString& RelativePath, int W, int H) {
        const QString Path = Places.ProgramDir() + QLatin1Char('/') + RelativePath;
        QDir().mkpath(QFileInfo(Path).path());
        TBitmap32 B;
        B.SetSize(W, H);
        B.Clear(0xFF3366CC);
        WriteFileSafely(Path, EncodeTransparentPNG(B));
    }
};

TEST_F(TBrowserFixture, BannerFoldersListTheirPreviewsAndChooseTheProject) {
    QDir().mkpath(Places.ProgramDir() + QStringLiteral("/Vorlagen/468x60"));
    // Not a real GIF: its thumbnail stays empty, it can still be chosen.
    TTempPlaces::WriteText(Places.ProgramDir() + QStringLiteral("/Vorlagen/468x60/sommer.gif"), "GIF89a");
    TTempPlaces::WriteText(Places.ProgramDir() + QStringLiteral("/Vorlagen/468x60/sommer.dgm"), "x");
    TTempPlaces::WriteText(Places.ProgramDir() + QStringLiteral("/Vorlagen/468x60/notiz.txt"), "x");
    QDir().mkpath(Places.ProgramDir() + QStringLiteral("/Vorlagen/120x600"));
    TfrmTemplate Browser;
    Browser.IsPicTemplates = false;
    Browser.SelectFolder({QStringLiteral("Vorlagen"), QStringLiteral("468x60")});
    ASSERT_EQ(Browser.ImgArray().size(), 1); // only the GIF previews
    Browser.Pick(0);
    EXPECT_EQ(Browser.PathPicSelection, Places.ProgramDir() + QStringLiteral("/Vorlagen/468x60/sommer.dgm"));
}

TEST_F(TBrowserFixture, PictureFoldersShowEveryPictureAtItsSize) {
    Picture(QStringLiteral("Bildvorlagen/Sterne/stern.png"), 40, 30);
    Picture(QStringLiteral("Bildvorlagen/Sterne/mond.png"), 20, 20);
    TTempPlaces::WriteText(Places.ProgramDir() + QStringLiteral("/Bildvorlagen/Sterne/liesmich.txt"), "x");
    TfrmTemplate Browser;
    Browser.IsPicTemplates = true;
    Browser.SelectFolder({QStringLiteral("Bildvorlagen"), QStringLiteral("Sterne")});
    ASSERT_EQ(Browser.ImgArray().size(), 3); // every file, by name; the text file stays empty
    EXPECT_TRUE(Browser.ImgArray()[0].Image->pixmap().isNull());
    EXPECT_EQ(Browser.ImgArray()[1].Image->size(), QSize(20, 20));
    EXPECT_EQ(Browser.ImgArray()[2].Image->size(), QSize(40, 30));
    Browser.Pick(2);
    EXPECT_TRUE(Browser.PathPicSelection.endsWith(QStringLiteral("Sterne/stern.png")));
}

TEST_F(TBrowserFixture, AMissingTemplateFolderIsReported) {
    TfrmTemplate Browser;
    QTimer::singleShot(0, &Browser, &QDialog::reject);
    EXPECT_TRUE(Browser.Choose(true).isEmpty());
    ASSERT_FALSE(Dialogs.Shown.empty());
    EXPECT_TRUE(Dialogs.Shown.back().Text.contains(QStringLiteral("Bildvorlagen")));
}

// The browsers of the program itself, over the templates the build puts beside it, chosen with
// the mouse.
struct TShippedBrowser : ::testing::Test {
    TTempPlaces Places{{1200, 900}};
    std::unique_ptr<TMainWindow> Window;
    // Message boxes that came up; each is closed unanswered, nobody being there to answer it.
    QStringList Messages;
    QTimer Closer;

    TShippedBrowser() {
        SetProgramFolder(QStringLiteral(ZP_PROGRAM_DIR));
        Window = std::make_unique<TMainWindow>(true);
        Window->Model().StartupHandled = true;
        Window->show();
        Window->activateWindow();
        QApplication::processEvents();
        Closer.setInterval(50);
        QObject::connect(&Closer, &QTimer::timeout, [this] {
            if (auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                Messages << Box->text();
                Box->done(QMessageBox::Ok);
            }
        });
        Closer.start();
    }

    // Runs Step on the template browser once it is up.
    static void WhenBrowserShown(std::function<void(TfrmTemplate&)> Step, int Tries = 200) {
        QTimer::singleShot(20, [Step, Tries] {
            auto* B = qobject_cast<TfrmTemplate*>(QApplication::activeModalWidget());
            if (B && B->isVisible()) {
                Step(*B);
                // A double click chooses at once; a browser still open would wait for ever.
                if (B->isVisible()) {
                    ADD_FAILURE() << "the template browser is still open";
                    B->reject();
                }
                return;
            }
            if (Tries > 0) return WhenBrowserShown(Step, Tries - 1);
            ADD_FAILURE() << "the template browser did not come up";
        });
    }
    // Clicks Folder in the tree, then double-clicks the thumbnail of the file Name.
    static void Choose(TfrmTemplate& B, const QString& Folder, const QString& Name) {
        const QList<QTreeWidgetItem*> Items =
            B.Tree()->findItems(Folder, Qt::MatchExactly | Qt::MatchRecursive);
        if (Items.isEmpty()) {
            ADD_FAILURE() << "no folder " << Folder.toStdString();
            return B.reject();
        }
        QTest::mouseClick(B.Tree()->viewport(), Qt::LeftButton, {},
                          B.Tree()->visualItemRect(Items.front()).center());
        for (const TfrmTemplate::TImgCollection& T : B.ImgArray())
            if (QFileInfo(T.FilePath).fileName() == Name && !T.Image->pixmap().isNull())
                return QTest::mouseDClick(T.Image, Qt::LeftButton, {}, T.Image->rect().center());
        ADD_FAILURE() << "no thumbnail " << Name.toStdString() << " in " << Folder.toStdString();
        B.reject();
    }
    void ClickToolButton(const char* Name) {
        auto* Bar = Window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        QAction* Action = Bar->findChild<QAction*>(QString::fromLatin1(Name));
        ASSERT_TRUE(Action);
        QTest::mouseClick(Bar->widgetForAction(Action), Qt::LeftButton);
    }
    std::vector<std::unique_ptr<TDocForm>>& Docs() const { return Window->Model().DocFormList; }
};

TEST_F(TShippedBrowser, ADoubleClickedBannerPreviewOpensItsProjectAsANewDocument) {
    WhenBrowserShown([](TfrmTemplate& B) {
        EXPECT_EQ(B.Tree()->topLevelItemCount(), 1);
        // The size folders in the order of their numbers.
        const QTreeWidgetItem* Root = B.Tree()->topLevelItem(0);
        QStringList Sizes;
        for (int I = 0; I < Root->childCount(); ++I) Sizes << Root->child(I)->text(0);
        EXPECT_LT(Sizes.indexOf(QStringLiteral("120x60")), Sizes.indexOf(QStringLiteral("120x240")));
        EXPECT_LT(Sizes.indexOf(QStringLiteral("88x31")), Sizes.indexOf(QStringLiteral("468x60")));
        Choose(B, QStringLiteral("468x60"), QStringLiteral("Neuheit.gif"));
    });
    ClickToolButton("TlBtnNewTemplate");
    EXPECT_EQ(Messages, QStringList());
    ASSERT_EQ(Docs().size(), 1u);
    TDocForm& Doc = *Docs().front();
    EXPECT_TRUE(Doc.FileName().isEmpty());

    TPlainDocHost Host;
    TDocForm Template(Host);
    Template.OpenFile(QStringLiteral(ZP_PROGRAM_DIR "/Vorlagen/468x60/Neuheit.dgm"), true);
    ASSERT_GE(Template.FrameCount(), 2);
    EXPECT_EQ(Doc.FrameCount(), Template.FrameCount());
    EXPECT_TRUE(TShown(Doc) == TShown(Template));
}

TEST_F(TShippedBrowser, ADoubleClickedPictureTemplateBecomesAPictureLayer) {
    TDocForm& Doc = Window->Model().NewSampleDocument();
    const int Before = Doc.CurrentView()->Layers().Count();
    WhenBrowserShown([](TfrmTemplate& B) {
        Choose(B, QStringLiteral("Abzeichen"), QStringLiteral("Neu.png"));
        // Shown with their transparency, as they will be inserted.
        for (const TfrmTemplate::TImgCollection& T : B.ImgArray())
            EXPECT_EQ(qAlpha(T.Image->pixmap().toImage().pixel(0, 0)), 0) << T.FilePath.toStdString();
    });
    ClickToolButton("ToolButton3");
    EXPECT_EQ(Messages, QStringList());
    ASSERT_GT(Doc.CurrentView()->Layers().Count(), Before);
    const auto* Picture = dynamic_cast<const TPicLayer*>(Doc.Selection());
    ASSERT_TRUE(Picture);
    const auto Shipped =
        LoadLayerPictureFromFile(QStringLiteral(ZP_PROGRAM_DIR "/Bildvorlagen/Abzeichen/Neu.png"));
    EXPECT_EQ(Picture->gdiBitmap().Width(), Shipped->Width());
    EXPECT_EQ(Picture->gdiBitmap().Height(), Shipped->Height());
}

} // namespace
} // namespace zp
