#include "shell/IniFile.h"

#include "support/TempPlaces.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& Text) {
        const QString Name = Places.Path(QStringLiteral("test.ini"));
        TTempPlaces::WriteText(Name, Text);
        return Name;
    }
    TTempPlaces Places;
};

TEST_F(IniFileTest, SectionsComeInFileOrderEachOnce) {
    const TIniFile Ini(Write("[Zulu]\na=1\n[Alpha]\n[Mike]\nb=2\n[alpha]\nc=3\n"));
    EXPECT_EQ(Ini.ReadSections(), (QStringList{"Zulu", "Alpha", "Mike"}));
}

TEST_F(IniFileTest, NamesCompareWithoutCaseAndTheFirstOccurrenceWins) {
    const TIniFile Ini(Write("[Main]\nKey=first\nkey=second\n[MAIN]\nOther=x\n"));
    EXPECT_EQ(Ini.ReadString("main", "KEY", "none"), "first");
    EXPECT_TRUE(Ini.SectionExists("mAiN"));
    // Keys of a repeated section are not merged into the first one.
    EXPECT_EQ(Ini.ReadString("Main", "Other", "none"), "none");
    EXPECT_FALSE(Ini.ValueExists("Nope", "Key"));
}

TEST_F(IniFileTest, ValuesAreTrimmedUnquotedAndReadAsUtf8) {
    const TIniFile Ini(Write("\xEF\xBB\xBF[Deutsch]\r\n  3 =  \xC3\x96"
                             "ffnen...  \r\n"
                             "q=\"  quoted  \"\r\n; 4=comment\r\nnot a pair\r\n"));
    EXPECT_EQ(Ini.ReadSections(), QStringList{"Deutsch"});
    EXPECT_EQ(Ini.ReadString("Deutsch", "3", ""), QString::fromUtf8("Öffnen..."));
    EXPECT_EQ(Ini.ReadString("Deutsch", "q", ""), "  quoted  ");
    EXPECT_FALSE(Ini.ValueExists("Deutsch", "4"));
    EXPECT_FALSE(Ini.ValueExists("Deutsch", "; 4"));
}

TEST_F(IniFileTest, NumbersAndFlagsFallBackOnTheirDefaults) {
    const TIniFile Ini(Write("[S]\nn=42\nneg=-7\nbad=12px\nempty=\non=1\noff=0\nword=yes\n"));
    EXPECT_EQ(Ini.ReadInteger("S", "n", 0), 42);
    EXPECT_EQ(Ini.ReadInteger("S", "neg", 0), -7);
    EXPECT_EQ(Ini.ReadInteger("S", "bad", 5), 5);
    EXPECT_EQ(Ini.ReadInteger("S", "empty", 6), 6);
    EXPECT_EQ(Ini.ReadInteger("S", "missing", 9), 9);
    EXPECT_TRUE(Ini.ReadBool("S", "on", false));
    EXPECT_FALSE(Ini.ReadBool("S", "off", true));
    EXPECT_TRUE(Ini.ReadBool("S", "word", true));
    EXPECT_FALSE(Ini.ReadBool("S", "word", false));
    EXPECT_TRUE(Ini.ReadBool("S", "n", false));
}

TEST_F(IniFileTest, AMissingFileReadsAsEmptyAndIsCreatedOnUpdate) {
    const QString Name = Places.Path(QStringLiteral("new.ini"));
    TIniFile Ini(Name);
    EXPECT_FALSE(Ini.FileExists());
    EXPECT_TRUE(Ini.ReadSections().isEmpty());
    Ini.WriteString("A", "x", "1");
    Ini.WriteInteger("B", "y", -3);
    Ini.WriteBool("A", "z", false);
    ASSERT_TRUE(Ini.UpdateFile());
    EXPECT_EQ(TTempPlaces::ReadText(Name), "[A]\nx=1\nz=0\n[B]\ny=-3\n");
}

TEST_F(IniFileTest, RewritingKeepsCommentsOrderAndLineBreaks) {
    const QString Name = Write("; head\r\n[One]\r\na=1\r\n\r\n[Two]\r\nB=2\r\n");
    TIniFile Ini(Name);
    Ini.WriteString("one", "A", "changed");
    Ini.WriteString("One", "new", "n");
    Ini.WriteString("two", "b", "3");
    Ini.WriteString("Three", "c", "4");
    ASSERT_TRUE(Ini.UpdateFile());
    // Existing keys keep their spelling; a new key goes after the section's last key.
    EXPECT_EQ(TTempPlaces::ReadText(Name),
              "; head\r\n[One]\r\na=changed\r\nnew=n\r\n\r\n[Two]\r\nB=3\r\n[Three]\r\nc=4\r\n");
    const TIniFile Again(Name);
    EXPECT_EQ(Again.ReadString("Three", "c", ""), "4");
    EXPECT_EQ(Again.ReadSections(), (QStringList{"One", "Two", "Three"}));
}

TEST_F(IniFileTest, AFailedWriteReportsFailureAndKeepsNothingHalfWritten) {
    // A file name below a plain file can never be written.
    const QString Blocker = Write("[x]\n");
    TIniFile Ini(Blocker + QStringLiteral("/inner.ini"));
    Ini.WriteString("S", "k", "v");
    EXPECT_FALSE(Ini.UpdateFile());
    EXPECT_EQ(TTempPlaces::ReadText(Blocker), "[x]\n");
}

} // namespace
} // namespace zp
