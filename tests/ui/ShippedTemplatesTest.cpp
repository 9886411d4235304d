// The templates the program ships (resources/Vorlagen and resources/Bildvorlagen): every project
// opens as the program opens a template, in the size of its folder, and its preview is what the
// program makes of it today; every picture keeps its transparency. A failing preview is brought
// up to date by scripts/make-templates.sh.
#include "document/DocForm.h"
#include "files/PictureCodecs.h"
#include "files/PictureFiles.h"
#include "support/QtPrinters.h"
#include "ui/Dialogs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zp {
namespace {

const QString BannerRoot = QStringLiteral(ZP_RESOURCE_DIR "/Vorlagen");
const QString PictureRoot = QStringLiteral(ZP_RESOURCE_DIR "/Bildvorlagen");
// The only picture templates meant to cover their whole picture.
const QString Backgrounds = QStringLiteral("Hintergrund");

QStringList FilesBelow(const QString& Root, const QString& Pattern) {
    QStringList Files;
    QDirIterator It(Root, {Pattern}, QDir::Files, QDirIterator::Subdirectories);
    while (It.hasNext()) Files << It.next();
    Files.sort();
    return Files;
}

QByteArray Bytes(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

// "468x60/Sommer-Sale.dgm" becomes "468x60_Sommer_Sale".
std::string CaseName(const ::testing::TestParamInfo<QString>& Info) {
    const QFileInfo F(Info.param);
    std::string Name = (F.dir().dirName() + QLatin1Char('_') + F.completeBaseName()).toStdString();
    for (char& C : Name)
        if (!std::isalnum(static_cast<unsigned char>(C))) C = '_';
    return Name + "_" + std::to_string(Info.index);
}

TEST(ShippedTemplates, EveryStandardSizeHasTwoDesignsOrMoreEachWithItsPreview) {
    QSet<QString> Sizes;
    // The first size of the new-image dialog is the user's own.
    for (std::size_t I = 1; I < std::size(TNewImageForm::StandardSizes); ++I) {
        const auto& S = TNewImageForm::StandardSizes[I];
        Sizes << QStringLiteral("%1x%2").arg(S.Width).arg(S.Height);
    }
    const QStringList Folders = QDir(BannerRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(QSet<QString>(Folders.begin(), Folders.end()), Sizes);
    for (const QString& Size : Folders) {
        const QDir Folder(BannerRoot + QLatin1Char('/') + Size);
        const QStringList Projects = Folder.entryList({QStringLiteral("*.dgm")}, QDir::Files);
        const QStringList Previews = Folder.entryList({QStringLiteral("*.gif")}, QDir::Files);
        EXPECT_GE(Projects.size(), 2) << Size.toStdString();
        // The browser lists the previews and opens the project of the same name.
        QStringList Expected = Projects;
        Expected.replaceInStrings(QStringLiteral(".dgm"), QStringLiteral(".gif"));
        EXPECT_EQ(Previews, Expected) << Size.toStdString();
        EXPECT_EQ(Folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), Projects.size() * 2)
            << Size.toStdString() << " holds something else";
    }
}

class TShippedProject : public ::testing::TestWithParam<QString> {};

TEST_P(TShippedProject, OpensInTheSizeOfItsFolderAndItsPreviewIsCurrent) {
    const QString Project = GetParam();
    const QFileInfo Info(Project);
    TPlainDocHost Host;
    TDocForm Doc(Host);
    try {
        Doc.OpenFile(Project, true);
    } catch (const std::exception& E) {
        FAIL() << E.what();
    }
    EXPECT_EQ(Doc.ReportMissingFonts(), QString());
    EXPECT_EQ(Doc.ReportCappedEffects(), QString());
    EXPECT_TRUE(Doc.FileName().isEmpty()); // a template opens untitled

    const QStringList Size = Info.dir().dirName().split(QLatin1Char('x'));
    ASSERT_EQ(Size.size(), 2);
    ASSERT_GE(Doc.FrameCount(), 2) << "a template is an animation";
    for (int I = 0; I < Doc.FrameCount(); ++I) {
        const TBitmap32& B = Doc.Frame(I).ImgView->Bitmap();
        EXPECT_EQ(B.Width(), Size[0].toInt()) << "frame " << I;
        EXPECT_EQ(B.Height(), Size[1].toInt()) << "frame " << I;
    }

    ASSERT_TRUE(Doc.CreateGifImgPreview());
    QTemporaryDir Dir;
    const QString Fresh = Dir.filePath(QStringLiteral("preview.gif"));
    Doc.SaveAnimGif(Fresh);
    const QString Committed =
        Info.path() + QLatin1Char('/') + Info.completeBaseName() + QStringLiteral(".gif");
    EXPECT_TRUE(Bytes(Fresh) == Bytes(Committed))
        << Committed.toStdString() << " is not what the program makes of its project now";
}

INSTANTIATE_TEST_SUITE_P(Vorlagen, TShippedProject, ::testing::ValuesIn(FilesBelow(BannerRoot, "*.dgm")),
                         CaseName);

class TShippedPicture : public ::testing::TestWithParam<QString> {};

TEST_P(TShippedPicture, KeepsItsTransparencyAndIsTransparentAroundAShape) {
    const QString Path = GetParam();
    ASSERT_EQ(FileExtension(Path), QStringLiteral(".png"));
    const QByteArray Data = Bytes(Path);
    TPngTransparency Kind = ptNone;
    const auto Decoded = DecodePNGWithAlpha(
        {reinterpret_cast<const std::uint8_t*>(Data.constData()), static_cast<std::size_t>(Data.size())},
        Kind);
    ASSERT_TRUE(Decoded);
    EXPECT_EQ(Kind, ptAlpha);

    // As "Bild aus Vorlage" inserts it.
    const std::unique_ptr<TBitmap32> Picture = LoadLayerPictureFromFile(Path);
    ASSERT_FALSE(Picture->Empty());
    const TColor32 Corner = Picture->Pixel(0, 0),
                   Middle = Picture->Pixel(Picture->Width() / 2, Picture->Height() / 2);
    EXPECT_EQ(Middle >> 24, 255u);
    if (QFileInfo(Path).dir().dirName() == Backgrounds)
        EXPECT_EQ(Corner >> 24, 255u);
    else
        EXPECT_EQ(Corner >> 24, 0u);
}

INSTANTIATE_TEST_SUITE_P(Bildvorlagen, TShippedPicture, ::testing::ValuesIn(FilesBelow(PictureRoot, "*")),
                         CaseName);

TEST(ShippedTemplates, PicturesComeInGroupsOfAHandful) {
    const QStringList Groups = QDir(PictureRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_GE(Groups.size(), 5);
    EXPECT_TRUE(Groups.contains(Backgrounds));
    for (const QString& G : Groups)
        EXPECT_GE(QDir(PictureRoot + QLatin1Char('/') + G).entryList(QDir::Files).size(), 3)
            << G.toStdString();
}

} // namespace
} // namespace zp
