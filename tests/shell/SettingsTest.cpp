#include "shell/Settings.h"

#include "shell/IniFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace zp {
namespace {

const QByteArray CreatedFile = "[Folders]\nconstTempl=Vorlagen\nconstPicTempl=Bildvorlagen\n"
                               "[Language]\nlang=Deutsch\n"
                               "[TextForm]\nWidth=196\nHeight=293\nLeft=2\nTop=0\nVisible=1\n"
                               "[LayerForm]\nWidth=196\nHeight=353\nLeft=2\nTop=0\nVisible=1\n"
                               "[PaintBox]\nWidth=57\nHeight=300\nLeft=0\nTop=0\nVisible=1\n"
                               "[LastUsed]\nShownNumber=5\n";

class SettingsTest : public ::testing::Test {
protected:
    QString AppDataFile() const { return Places.AppDataDir() + QStringLiteral("/settings.ini"); }
    // A settings file holding Text, then the settings read from it.
    TSettings ReadFrom(const QByteArray& Text) {
        QDir().mkpath(Places.AppDataDir());
        TTempPlaces::WriteText(AppDataFile(), Text);
        return TSettings();
    }
    TTempPlaces Places{{1000, 800}};
    TScriptedDialogs Dialogs;
};

TEST_F(SettingsTest, FirstStartCreatesTheFileInTableOrderAndReadsIt) {
    const TSettings S;
    EXPECT_EQ(S.IniFileName, AppDataFile());
    EXPECT_EQ(TTempPlaces::ReadText(AppDataFile()), CreatedFile);

    EXPECT_EQ(S.Language, "Deutsch");
    EXPECT_EQ(S.TemplateFolder, "Vorlagen");
    EXPECT_EQ(S.PicTemplateFolder, "Bildvorlagen");
    EXPECT_EQ(S.NumLastUsed, 5);
    EXPECT_EQ(S.TextFormWidth, 196);
    EXPECT_EQ(S.TextFormHeight, 293);
    EXPECT_EQ(S.LayerFormHeight, 353);
    EXPECT_EQ(S.PaintBoxWidth, 57);
    EXPECT_EQ(S.PaintBoxHeight, 300);
    // The stored 2 and 0 are no per-cent values but the default-position markers.
    EXPECT_EQ(S.TextFormLeft, 2);
    EXPECT_EQ(S.LayerFormLeft, 2);
    EXPECT_EQ(S.PaintBoxLeft, 0);
    EXPECT_EQ(S.TextFormTop, 0);
    EXPECT_TRUE(S.TextFormVisible && S.LayerFormVisible && S.PaintBoxVisible);
    EXPECT_EQ(S.DocFormWidth, 700);
    EXPECT_EQ(S.DocFormHeight, 480);
    EXPECT_EQ(S.LeftOffset, 7);
    EXPECT_EQ(S.TopOffset, 21);
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(SettingsTest, AnExistingFileIsReadNotRecreated) {
    const TSettings S = ReadFrom("[Language]\nlang=English\n[LastUsed]\nShownNumber=7\n");
    EXPECT_EQ(S.Language, "English");
    EXPECT_EQ(S.NumLastUsed, 7);
    // Keys the file lacks take the reading defaults, which differ from the first-start values.
    EXPECT_EQ(TTempPlaces::ReadText(AppDataFile()), "[Language]\nlang=English\n[LastUsed]\nShownNumber=7\n");
    const TSettings Bare = ReadFrom("; nothing\n");
    EXPECT_EQ(Bare.NumLastUsed, 10);
    EXPECT_EQ(Bare.TemplateFolder, "Vorlagen");
    EXPECT_EQ(Bare.TextFormLeft, 2);
    EXPECT_EQ(Bare.PaintBoxLeft, 0);
    EXPECT_TRUE(Bare.LayerFormVisible);
}

TEST_F(SettingsTest, StoredLeftIsPerCentWithinItsRangeElseTheDefaultPosition) {
    struct TCase {
        int Stored, TextLeft, PaintLeft;
    };
    // Screen 1000 wide: 3..94 for the text and layer palettes, 1..94 for the tool palette.
    const TCase Cases[] = {{95, 2, 0},     {2, 2, 20}, {50, 500, 500}, {3, 30, 30},
                           {94, 940, 940}, {1, 2, 10}, {0, 2, 0},      {-5, 2, 0}};
    for (const TCase& C : Cases) {
        const QByteArray N = QByteArray::number(C.Stored);
        const TSettings S =
            ReadFrom("[TextForm]\nLeft=" + N + "\n[LayerForm]\nLeft=" + N + "\n[PaintBox]\nLeft=" + N + "\n");
        EXPECT_EQ(S.TextFormLeft, C.TextLeft) << "stored " << C.Stored;
        EXPECT_EQ(S.LayerFormLeft, C.TextLeft) << "stored " << C.Stored;
        EXPECT_EQ(S.PaintBoxLeft, C.PaintLeft) << "stored " << C.Stored;
    }
}

TEST_F(SettingsTest, StoredTopIsPerCentOfTheScreenHeightFromOneTo94) {
    const TSettings S = ReadFrom("[TextForm]\nTop=50\n[LayerForm]\nTop=1\n[PaintBox]\nTop=95\n");
    EXPECT_EQ(S.TextFormTop, 400);
    EXPECT_EQ(S.LayerFormTop, 8);
    EXPECT_EQ(S.PaintBoxTop, 0);
}

TEST_F(SettingsTest, PerCentConversionRoundsHalvesToEven) {
    SetScreenSizeSource([] { return TScreenSize{1010, 790}; });
    // 5 % of 1010 is 50.5 and 15 % is 151.5; 50 % of 790 is 395 exactly.
    const TSettings S = ReadFrom("[TextForm]\nLeft=5\n[LayerForm]\nLeft=15\n[PaintBox]\nLeft=5\nTop=50\n");
    EXPECT_EQ(S.TextFormLeft, 50);
    EXPECT_EQ(S.LayerFormLeft, 152);
    EXPECT_EQ(S.PaintBoxLeft, 50);
    EXPECT_EQ(S.PaintBoxTop, 395);
    EXPECT_EQ(S.DocFormWidth, 707);
    EXPECT_EQ(S.DocFormHeight, 474);
}

TEST_F(SettingsTest, SizesOutsideTheirLimitsTakeTheDefaults) {
    const TSettings S = ReadFrom("[TextForm]\nWidth=49\nHeight=39\n"
                                 "[LayerForm]\nWidth=1000\nHeight=49\n"
                                 "[PaintBox]\nWidth=19\nHeight=800\n");
    EXPECT_EQ(S.TextFormWidth, 196);
    EXPECT_EQ(S.TextFormHeight, 293);
    EXPECT_EQ(S.LayerFormWidth, 196); // not smaller than the screen
    EXPECT_EQ(S.LayerFormHeight, 353);
    EXPECT_EQ(S.PaintBoxWidth, 57);
    EXPECT_EQ(S.PaintBoxHeight, 300);

    const TSettings Edge = ReadFrom("[TextForm]\nWidth=50\nHeight=40\n"
                                    "[LayerForm]\nWidth=999\nHeight=50\n"
                                    "[PaintBox]\nWidth=20\nHeight=799\nVisible=0\n");
    EXPECT_EQ(Edge.TextFormWidth, 50);
    EXPECT_EQ(Edge.TextFormHeight, 40);
    EXPECT_EQ(Edge.LayerFormWidth, 999);
    EXPECT_EQ(Edge.LayerFormHeight, 50);
    EXPECT_EQ(Edge.PaintBoxWidth, 20);
    EXPECT_EQ(Edge.PaintBoxHeight, 799);
    EXPECT_FALSE(Edge.PaintBoxVisible);
}

TEST_F(SettingsTest, BatchModeKeepsTheFileInTheProgramFolder) {
    SetCommandLine({QStringLiteral("/a"), QStringLiteral("in.dgm"), QStringLiteral("out.gif")});
    const TSettings Batch;
    EXPECT_EQ(Batch.IniFileName, Places.ProgramDir() + QStringLiteral("/settings.ini"));
    EXPECT_EQ(TTempPlaces::ReadText(Batch.IniFileName), CreatedFile);
    EXPECT_FALSE(QFileInfo::exists(AppDataFile()));
    // The application-data folder is made ready either way.
    EXPECT_TRUE(QFileInfo(Places.AppDataDir()).isDir());

    // "/a" counts only as the very first argument, and only exactly.
    SetCommandLine({QStringLiteral("x.dgm"), QStringLiteral("/a")});
    EXPECT_EQ(TSettings().IniFileName, AppDataFile());
    SetCommandLine({QStringLiteral("/A")});
    EXPECT_EQ(TSettings().IniFileName, AppDataFile());
}

TEST_F(SettingsTest, AFileThatCannotBeCreatedLeavesTheDefaults) {
    // The program folder is a plain file, so nothing can be written below it.
    const QString Blocker = Places.Path(QStringLiteral("blocker"));
    TTempPlaces::WriteText(Blocker, "x");
    SetProgramFolder(Blocker);
    SetCommandLine({QStringLiteral("/a")});
    const TSettings S;
    EXPECT_FALSE(QFileInfo::exists(S.IniFileName));
    EXPECT_EQ(S.Language, "Deutsch");
    EXPECT_EQ(S.NumLastUsed, 10);
    EXPECT_EQ(S.TextFormWidth, 196);
    EXPECT_EQ(S.PaintBoxHeight, 300);
    EXPECT_EQ(S.DocFormWidth, 700);
}

TEST_F(SettingsTest, SaveFormPropsWritesEverySettingWithPositionsInPerCent) {
    TSettings S;
    S.Language = QStringLiteral("English");
    S.TemplateFolder = QStringLiteral("Banner");
    S.NumLastUsed = 8;
    S.TextFormLeft = 500;
    S.TextFormTop = 400;
    S.TextFormWidth = 210;
    S.LayerFormLeft = 2; // the marker stays a marker through the round trip
    S.PaintBoxVisible = false;
    S.PaintBoxTop = 4; // 0.5 % rounds to the even 0
    S.SaveFormProps();

    const TIniFile Ini(AppDataFile());
    EXPECT_EQ(Ini.ReadString("Language", "lang", ""), "English");
    EXPECT_EQ(Ini.ReadString("Folders", "constTempl", ""), "Banner");
    EXPECT_EQ(Ini.ReadInteger("LastUsed", "ShownNumber", 0), 8);
    EXPECT_EQ(Ini.ReadInteger("TextForm", "Left", -1), 50);
    EXPECT_EQ(Ini.ReadInteger("TextForm", "Top", -1), 50);
    EXPECT_EQ(Ini.ReadInteger("TextForm", "Width", -1), 210);
    EXPECT_EQ(Ini.ReadInteger("PaintBox", "Top", -1), 0);
    EXPECT_EQ(Ini.ReadString("PaintBox", "Visible", ""), "0");

    const TSettings Again;
    EXPECT_EQ(Again.TextFormLeft, 500);
    EXPECT_EQ(Again.TextFormTop, 400);
    EXPECT_EQ(Again.LayerFormLeft, 2);
    EXPECT_FALSE(Again.PaintBoxVisible);
}

TEST_F(SettingsTest, SavingWritesNothingWhenTheFileIsGone) {
    TSettings S;
    QFile::remove(AppDataFile());
    S.SaveFormProps();
    S.SaveFormProps({pkLayerForm, 100, 80, 200, 300, true});
    EXPECT_FALSE(QFileInfo::exists(AppDataFile()));
    // The fields still follow the palette.
    EXPECT_EQ(S.LayerFormLeft, 100);
    EXPECT_EQ(S.LayerFormHeight, 300);
}

TEST_F(SettingsTest, SavingOnePaletteWritesOnlyItsSection) {
    TSettings S;
    S.TextFormWidth = 999; // an unsaved change elsewhere must not reach the file
    S.SaveFormProps({pkPaintBox, 250, 160, 60, 310, false});
    QByteArray Expected = CreatedFile;
    Expected.replace("[PaintBox]\nWidth=57\nHeight=300\nLeft=0\nTop=0\nVisible=1\n",
                     "[PaintBox]\nWidth=60\nHeight=310\nLeft=25\nTop=20\nVisible=0\n");
    EXPECT_EQ(TTempPlaces::ReadText(AppDataFile()), Expected);
    EXPECT_EQ(S.PaintBoxLeft, 250);
    EXPECT_FALSE(S.PaintBoxVisible);

    S.SaveFormProps({pkOther, 1, 2, 3, 4, false});
    EXPECT_EQ(TTempPlaces::ReadText(AppDataFile()), Expected);
}

TEST_F(SettingsTest, ResetFormPropsRestoresTheFirstStartGeometry) {
    TSettings S = ReadFrom("[Language]\nlang=English\n[TextForm]\nLeft=40\nWidth=300\nVisible=0\n"
                           "[PaintBox]\nLeft=10\nTop=10\n");
    ASSERT_EQ(S.TextFormLeft, 400);
    S.ResetFormProps();
    EXPECT_EQ(S.TextFormLeft, 2);
    EXPECT_EQ(S.TextFormWidth, 196);
    EXPECT_TRUE(S.TextFormVisible);
    EXPECT_EQ(S.PaintBoxLeft, 0);
    EXPECT_EQ(S.PaintBoxTop, 0);
    const TIniFile Ini(AppDataFile());
    EXPECT_EQ(Ini.ReadInteger("TextForm", "Left", -1), 2);
    EXPECT_EQ(Ini.ReadInteger("TextForm", "Width", -1), 196);
    EXPECT_EQ(Ini.ReadInteger("LayerForm", "Height", -1), 353);
    EXPECT_EQ(Ini.ReadString("Language", "lang", ""), "English");

    // Reset also brings back a deleted file.
    QFile::remove(AppDataFile());
    S.ResetFormProps();
    EXPECT_EQ(TIniFile(AppDataFile()).ReadInteger("PaintBox", "Width", -1), 57);
}

TEST_F(SettingsTest, ReadSettingsIniFileAnswersErrorForMissingValuesAndReportsAMissingFile) {
    const TSettings S = ReadFrom("[Folders]\nconstTempl=Banner\n");
    EXPECT_EQ(S.ReadSettingsIniFile("Folders", "constTempl"), "Banner");
    EXPECT_EQ(S.ReadSettingsIniFile("Folders", "nothing"), "Error");
    EXPECT_TRUE(Dialogs.Shown.empty());

    QFile::remove(AppDataFile());
    EXPECT_EQ(S.ReadSettingsIniFile("Folders", "constTempl"), "Error");
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Setting-file doesnt exist!");
}

TEST_F(SettingsTest, RecreatingTheSharedSettingsReadsTheFileAnewInPlace) {
    TSettings& Shared = RecreateSettings();
    EXPECT_EQ(Shared.NumLastUsed, 5);
    TIniFile Ini(AppDataFile());
    Ini.WriteInteger("LastUsed", "ShownNumber", 3);
    Ini.UpdateFile();
    EXPECT_EQ(Settings().NumLastUsed, 5);
    EXPECT_EQ(&RecreateSettings(), &Shared);
    EXPECT_EQ(Shared.NumLastUsed, 3);
}

} // namespace
} // namespace zp
