#include "shell/LangText.h"

#include "shell/IniFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempPlaces.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zp {
namespace {

class LangTextTest : public ::testing::Test {
protected:
    void WriteLang(const QByteArray& Text) { TTempPlaces::WriteText(LangFileName(), Text); }
    TTempPlaces Places;
    TScriptedDialogs Dialogs;
};

TEST_F(LangTextTest, TheConfiguredSectionAnswers) {
    WriteLang(
        "[Deutsch]\nTxtUnknown=Unbenannt\n[English]\nTxtUnknown=Untitled\n[Dansk]\nTxtUnknown=Unavngivet\n");
    EXPECT_EQ(LangFileName(), Places.ProgramDir() + QStringLiteral("/lang.ini"));
    EXPECT_EQ(LangText("Deutsch", "TxtUnknown"), "Unbenannt");
    EXPECT_EQ(LangText("Dansk", "TxtUnknown"), "Unavngivet");
    EXPECT_EQ(LangText("english", "TxtUnknown"), "Untitled");
    // A key missing in an existing section is an error even when another section has it.
    EXPECT_EQ(LangText("Dansk", "FrameCpt"), "Text-Error!");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(LangTextTest, AnUnknownLanguageFallsBackOnTheSecondSection) {
    WriteLang("[Deutsch]\nFrameCpt=Frame\nOnlyGerman=ja\n[English]\nFrameCpt=Frame "
              "(en)\n[Dansk]\nFrameCpt=Billede\n");
    EXPECT_EQ(LangText("Klingonisch", "FrameCpt"), "Frame (en)");
    EXPECT_EQ(LangText("", "FrameCpt"), "Frame (en)");
    EXPECT_EQ(LangText("Klingonisch", "OnlyGerman"), "Text-Error!");
}

TEST_F(LangTextTest, ASingleSectionGivesNoFallback) {
    WriteLang("[Deutsch]\nFrameCpt=Frame\n");
    EXPECT_EQ(LangText("Deutsch", "FrameCpt"), "Frame");
    EXPECT_EQ(LangText("English", "FrameCpt"), "Text-Error!");
    WriteLang("; empty\n");
    EXPECT_EQ(LangText("Deutsch", "FrameCpt"), "Text-Error!");
}

TEST_F(LangTextTest, AMissingFileIsReportedAndGivesAnEmptyText) {
    EXPECT_EQ(LangText("Deutsch", "FrameCpt"), "");
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Language-file doesnt exist!");
    EXPECT_EQ(Dialogs.Shown[0].Icon, TMsgIcon::Information);
}

// The language file we ship.
class ShippedLangFileTest : public ::testing::Test {
protected:
    ShippedLangFileTest() : Lang(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini")) {}
    TIniFile Lang;
};

const int ControlTags[] = {
    // main window menus and tool bar
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
    30, 31, 32, 33, 34, 35, 36, 37, 39, 40, 41, 42, 43, 44, 45, 47, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82,
    116, 117, 118, 126, 147, 150, 151, 152, 153, 154, 155, 156, 157, 158, 159, 162,
    // properties palette
    83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 134, 135, 136, 137, 140, 141, 143, 144, 145, 160,
    // tool palette
    107, 108, 109, 110, 111, 112, 113, 114, 115, 119, 122, 123, 124, 142, 161,
    // dialogs
    97, 98, 147, 148, 149};

const char* const TextKeys[] = {
    "TxtProblem", "TxtLineProblem1", "TxtPolygonProblem1", "TxtBorderWidthProblem1", "TxtMissDict1",
    "TxtMissDict2", "TxtMissFile", "TxtMissProj", "TxtMissFont1", "TxtMissFont2", "TxtSaveChanges1",
    "TxtSaveChanges2", "TxtUnknown", "CptPicTempl", "CptBannerTempl", "Caption01", "Caption02", "TextPart1",
    "TextPart2", "FrameCpt", "Hintergrund", "Textebene", "Bildebene", "InfoTransp",
    // the direction and wrap-mode lists
    "right", "left", "top", "bottom", "topleft", "topright", "bottomleft", "bottomright", "Tile", "TileFlipX",
    "TileFlipY", "TileFlipXY", "Clamp"};

TEST_F(ShippedLangFileTest, GermanComesFirstAndASecondLanguageFollows) {
    const QStringList Sections = Lang.ReadSections();
    ASSERT_GE(Sections.size(), 2);
    EXPECT_EQ(Sections[0], "Deutsch");
}

TEST_F(ShippedLangFileTest, EverySectionHoldsEveryTagAndTextKey) {
    for (const QString& Section : Lang.ReadSections()) {
        for (int Tag : ControlTags)
            EXPECT_FALSE(Lang.ReadString(Section, QString::number(Tag), "").isEmpty())
                << Section.toStdString() << " lacks tag " << Tag;
        for (const char* Key : TextKeys)
            EXPECT_FALSE(Lang.ReadString(Section, Key, "").isEmpty())
                << Section.toStdString() << " lacks " << Key;
    }
}

TEST_F(ShippedLangFileTest, GermanCaptionsAreTheControlsOwnAndSurviveAsUtf8) {
    EXPECT_EQ(Lang.ReadString("Deutsch", "3", ""), QString::fromUtf8("Öffnen..."));
    EXPECT_EQ(Lang.ReadString("Deutsch", "5", ""), QString::fromUtf8("Schließen"));
    EXPECT_EQ(Lang.ReadString("Deutsch", "86", ""), "% Deckkraft");
    EXPECT_EQ(Lang.ReadString("Deutsch", "118", ""), "Zuletzt verendet");
    EXPECT_EQ(Lang.ReadString("Deutsch", "142", ""), QString::fromUtf8("Fülleimer"));
    EXPECT_EQ(Lang.ReadString("Deutsch", "topright", ""), "oben-rechts");
}

TEST_F(ShippedLangFileTest, AnUnknownLanguageReadsMessagesFromTheSecondSection) {
    TTempPlaces Places;
    SetProgramFolder(QStringLiteral(ZP_RESOURCE_DIR));
    const QString Second = Lang.ReadSections().at(1);
    EXPECT_EQ(LangText("Klingonisch", "TxtMissFile"), Lang.ReadString(Second, "TxtMissFile", "?"));
    EXPECT_NE(LangText("Klingonisch", "TxtMissFile"), LangText("Deutsch", "TxtMissFile"));
}

} // namespace
} // namespace zp
