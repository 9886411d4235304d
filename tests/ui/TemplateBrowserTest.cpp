#include "ui/TemplateBrowser.h"
#include "files/PictureCodecs.h"
#include "files/PictureFiles.h"
#include "shell/Settings.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

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

} // namespace
} // namespace zp
