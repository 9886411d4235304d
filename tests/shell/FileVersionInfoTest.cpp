#include "shell/FileVersionInfo.h"

#include "shell/Places.h"
#include "support/TempPlaces.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

TEST(FileVersionInfoTest, TheProgramFileCarriesTheProductFacts) {
    const TFileVersionInfo Info = ReadFileVersionInfo(ProgramFilePath());
    EXPECT_EQ(Info.ProductName, "Zelk - Pixaro");
    EXPECT_EQ(Info.ProductVersion, "3.0.0.0");
    EXPECT_EQ(Info.FileVersion, "3.0.0.0");
    EXPECT_FALSE(Info.LegalCopyRight.isEmpty());
    EXPECT_EQ(Info.FileFunction, "Application");
    EXPECT_FALSE(Info.FileType.isEmpty());
    EXPECT_EQ(VersionNumber(Info.FileVersion), 3000);
}

TEST(FileVersionInfoTest, OtherFilesHaveOnlyAType) {
    TTempPlaces Places;
    const QString Other = Places.Path(QStringLiteral("notes.txt"));
    TTempPlaces::WriteText(Other, "plain text\n");
    const TFileVersionInfo Info = ReadFileVersionInfo(Other);
    EXPECT_FALSE(Info.FileType.isEmpty());
    EXPECT_TRUE(Info.ProductName.isEmpty());
    EXPECT_TRUE(Info.FileVersion.isEmpty());
    EXPECT_TRUE(Info.FileFunction.isEmpty());

    const TFileVersionInfo None = ReadFileVersionInfo(Places.Path(QStringLiteral("missing.exe")));
    EXPECT_TRUE(None.FileType.isEmpty());
    EXPECT_TRUE(None.ProductName.isEmpty());
}

TEST(FileVersionInfoTest, FileFunctionNamesByTypeAndSubtype) {
    EXPECT_EQ(FileFunctionName(0, 0), "Unknown");
    EXPECT_EQ(FileFunctionName(2, 0), "DLL");
    EXPECT_EQ(FileFunctionName(3, 4), "Display Driver");
    EXPECT_EQ(FileFunctionName(3, 10), "Communications Driver");
    EXPECT_EQ(FileFunctionName(3, 11), "");
    EXPECT_EQ(FileFunctionName(4, 3), "Truetype Font");
    EXPECT_EQ(FileFunctionName(5, 0x1A2B), "Virtual Defice Identifier = 00001A2B");
    EXPECT_EQ(FileFunctionName(6, 0), "");
    EXPECT_EQ(FileFunctionName(7, 0), "Static-link Library");
}

TEST(FileVersionInfoTest, VersionNumberDropsTheDots) {
    EXPECT_EQ(VersionNumber("3.0.0.0"), 3000);
    EXPECT_EQ(VersionNumber("2.1.5.12"), 21512);
    EXPECT_EQ(VersionNumber(""), 0);
    EXPECT_EQ(VersionNumber("3.0 beta"), 0);
}

} // namespace
} // namespace zp
