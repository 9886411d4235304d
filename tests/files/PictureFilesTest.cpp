#include "CodecTestSupport.h"

#include "files/FileError.h"
#include "files/PictureFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace zp {
namespace {

using namespace test;

void WriteBytes(const QString& Path, const TBytes& Data) {
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(reinterpret_cast<const char*>(Data.data()), static_cast<qint64>(Data.size()));
}

TBytes FileBytes(const QString& Path) {
    return ReadFileBytes(Path.toStdString());
}

TEST(PictureFiles, KnowsTheFivePictureExtensionsInAnyCase) {
    for (const char* Ext : {".jpg", ".JPG", ".jpeg", ".JpEg", ".bmp", ".gif", ".GIF", ".png", ".Png"})
        EXPECT_TRUE(IsPictureExtension(QString::fromLatin1(Ext))) << Ext;
    for (const char* Ext : {"", ".", ".dgm", ".xml", ".txt", ".jpe", "png", ".png "})
        EXPECT_FALSE(IsPictureExtension(QString::fromLatin1(Ext))) << Ext;
    EXPECT_EQ(FileExtension("/tmp/bild.txt.PNG"), ".PNG");
    EXPECT_EQ(FileExtension("/tmp/ordner.neu/bild"), "");
    EXPECT_EQ(FileExtension("bild."), ".");
}

// Each format opens by its extension in any letter case, with the opening rules: PNG composed
// over black, BMP keeping its alpha.
TEST(PictureFiles, OpenPicturesByExtension) {
    QTemporaryDir Dir;
    const auto Half = MakeBitmap(3, 2, [](int X, int) { return Color32(200, 100, 50, X == 0 ? 0 : 128); });
    const QString Png = Dir.filePath("a.PNG"), Bmp = Dir.filePath("b.Bmp"), Jpg = Dir.filePath("c.JPEG"),
                  Gif = Dir.filePath("d.gif");
    WriteBytes(Png, EncodeTransparentPNG(*Half));
    WriteBytes(Bmp, EncodeBitmap(*Half));
    WriteBytes(Jpg, EncodeJPG(*Half));
    WriteBytes(Gif, WriteGifWithGiflib(
                        {2, 2, {0xFF000000u, 0xFF0000FFu}, {{0, 0, 2, 2, false, {}, -1, {1, 1, 1, 0}}}}));

    auto B = LoadPictureFromFile(Png);
    EXPECT_EQ(B->Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(B->Pixel(1, 0), 0xFF643219u);
    B = LoadPictureFromFile(Bmp);
    EXPECT_EQ(Pixels(*B), Pixels(*Half));
    B = LoadPictureFromFile(Jpg);
    EXPECT_EQ(B->Width(), 3);
    EXPECT_EQ(AlphaComponent(B->Pixel(0, 0)), 255u);
    B = LoadPictureFromFile(Gif);
    EXPECT_EQ(Pixels(*B), (std::vector<TColor32>{0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF000000u}));
}

// Inserted as a layer, a GIF keeps its transparent colour and the screen around a smaller image
// transparent; opened as a document the same file is opaque, black where nothing is drawn.
TEST(PictureFiles, AnInsertedGifKeepsItsTransparency) {
    QTemporaryDir Dir;
    const QString Gif = Dir.filePath("t.GIF");
    WriteBytes(Gif, WriteGifWithGiflib(
                        {3, 2, {0xFFFF0000u, 0xFF00FF00u}, {{1, 0, 2, 2, false, {}, 0, {1, 0, 0, 1}}}}));
    EXPECT_EQ(Pixels(*LoadLayerPictureFromFile(Gif)),
              (std::vector<TColor32>{0, 0xFF00FF00u, 0, 0, 0, 0xFF00FF00u}));
    EXPECT_EQ(Pixels(*LoadPictureFromFile(Gif)),
              (std::vector<TColor32>{0xFF000000u, 0xFF00FF00u, 0xFF000000u, 0xFF000000u, 0xFF000000u,
                                     0xFF00FF00u}));
}

// Icons written by other programs: the largest picture of several with its alpha, and old 16-
// and 256-colour icons whose mask makes their transparency; each as its maker shows it.
TEST(PictureFiles, IconsMadeElsewhereLookAsTheirMakerShowsThem) {
    const QDir Folder(QStringLiteral(ZP_TEST_DATA_DIR "/icons"));
    for (const char* Name : {"imagemagick-3sizes-alpha", "icotool-4bit-mask", "icotool-8bit-mask"}) {
        SCOPED_TRACE(Name);
        const auto Icon = LoadLayerPictureFromFile(Folder.filePath(QString::fromLatin1(Name) + ".ico"));
        TPngTransparency Kind = ptNone;
        const auto Expected = DecodePNGWithAlpha(
            ReadFileBytes(Folder.filePath(QString::fromLatin1(Name) + ".expected.png").toStdString()), Kind);
        ASSERT_EQ(Icon->Width(), Expected->Width());
        ASSERT_EQ(Icon->Height(), Expected->Height());
        int Transparent = 0;
        for (int Y = 0; Y < Icon->Height(); ++Y)
            for (int X = 0; X < Icon->Width(); ++X) {
                const TColor32 A = Icon->Pixel(X, Y), E = Expected->Pixel(X, Y);
                ASSERT_EQ(AlphaComponent(A), AlphaComponent(E)) << X << "," << Y;
                // Colours weighed by their alpha: at the faint edge pixels they carry little.
                for (int Shift : {0, 8, 16}) {
                    const auto Weighed = [&](TColor32 C) {
                        return static_cast<int>(((C >> Shift) & 0xFF) * AlphaComponent(C) / 255);
                    };
                    ASSERT_NEAR(Weighed(A), Weighed(E), 1) << X << "," << Y;
                }
                Transparent += AlphaComponent(E) == 0;
            }
        EXPECT_GT(Transparent, 0);
    }
}

TEST(PictureFiles, ReportMissingUnknownAndBrokenFilesByKindWithTheirName) {
    QTemporaryDir Dir;
    const auto KindOf = [](const QString& Path) {
        try {
            LoadPictureFromFile(Path);
        } catch (const EFileError& E) {
            return std::make_pair(E.Kind(), std::string(E.what()));
        }
        return std::make_pair(fekRead, std::string("no error"));
    };
    EXPECT_EQ(KindOf(Dir.filePath("fehlt.png")).first, fekNotFound);
    WriteBytes(Dir.filePath("text.txt"), {'h', 'i'});
    EXPECT_EQ(KindOf(Dir.filePath("text.txt")).first, fekUnsupported);
    WriteBytes(Dir.filePath("kaputt.png"), {137, 80, 78, 71, 13, 10, 26, 10, 0, 0});
    const auto [Kind, Message] = KindOf(Dir.filePath("kaputt.png"));
    EXPECT_EQ(Kind, fekTruncated);
    EXPECT_NE(Message.find("kaputt.png"), std::string::npos) << Message;
    EXPECT_NE(Message.find("PNG"), std::string::npos) << Message;
}

TEST(PictureFiles, WritersProduceFilesTheLibrariesRead) {
    QTemporaryDir Dir;
    const auto Source = NoiseBitmap(17, 9, 4);
    SaveAsPNG(Dir.filePath("x.png"), Source.get());
    SaveAsJPG(Dir.filePath("x.jpg"), Source.get());
    SaveAsBitmap(Dir.filePath("x.bmp"), Source.get());
    const TLibpngImage Png = ReadPngWithLibpng(FileBytes(Dir.filePath("x.png")));
    ASSERT_TRUE(Png.Ok) << Png.Message;
    EXPECT_EQ(Png.Pixel(16, 8), Source->Pixel(16, 8) | 0xFF000000u);
    const TLibjpegImage Jpg = ReadJpegWithLibjpeg(FileBytes(Dir.filePath("x.jpg")));
    ASSERT_TRUE(Jpg.Ok) << Jpg.Message;
    EXPECT_EQ(Jpg.Width, 17);
    EXPECT_EQ(Pixels(*LoadPictureFromFile(Dir.filePath("x.bmp"))), Pixels(*Source));
    // No surface, no file.
    SaveAsPNG(Dir.filePath("nichts.png"), nullptr);
    EXPECT_FALSE(QFile::exists(Dir.filePath("nichts.png")));
}

// Saving replaces a file only once the new one is complete: a write that fails half way (here
// the file size limit, as with a full disk), an encoder that refuses, or a missing folder leave
// the old file as it was and no temporary file behind.
TEST(PictureFiles, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    QTemporaryDir Dir;
    const QString Target = Dir.filePath("bild.png");
    WriteBytes(Target, {'a', 'l', 't'});
    const auto Large = NoiseBitmap(300, 300, 8);

    struct rlimit Old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Old), 0);
    const auto OldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit Small = Old;
    Small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);
    bool Thrown = false;
    try {
        SaveAsPNG(Target, Large.get());
    } catch (const EFileError& E) {
        Thrown = E.Kind() == fekWrite && std::string(E.what()).find("bild.png") != std::string::npos;
    }
    setrlimit(RLIMIT_FSIZE, &Old);
    std::signal(SIGXFSZ, OldSignal);
    EXPECT_TRUE(Thrown);
    EXPECT_EQ(FileBytes(Target), (TBytes{'a', 'l', 't'}));

    TBitmap32 Empty;
    EXPECT_THROW(SaveAsBitmap(Target, &Empty), EFileError);
    EXPECT_EQ(FileBytes(Target), (TBytes{'a', 'l', 't'}));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bild.png"});

    EXPECT_THROW(SaveAsJPG(Dir.filePath("fehlt/bild.jpg"), Large.get()), EFileError);

    // And a save that works replaces the file.
    SaveAsPNG(Target, Large.get());
    EXPECT_TRUE(ReadPngWithLibpng(FileBytes(Target)).Ok);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bild.png"});
}

} // namespace
} // namespace zp

#include "files/PictureCodecs.h"

namespace zp {
namespace {

// An icon file with 32-bit pictures of the given sides, each a solid colour with alpha.
QByteArray IconFile(const std::vector<std::pair<int, TColor32>>& Pictures) {
    QByteArray Dir, Data;
    auto U16 = [](QByteArray& B, int V) { B.append(char(V & 0xFF)).append(char((V >> 8) & 0xFF)); };
    auto U32 = [&](QByteArray& B, int V) { U16(B, V & 0xFFFF), U16(B, (V >> 16) & 0xFFFF); };
    U16(Dir, 0), U16(Dir, 1), U16(Dir, static_cast<int>(Pictures.size()));
    int Offset = 6 + 16 * static_cast<int>(Pictures.size());
    for (const auto& [Side, Colour] : Pictures) {
        QByteArray Dib;
        U32(Dib, 40), U32(Dib, Side), U32(Dib, 2 * Side), U16(Dib, 1), U16(Dib, 32);
        for (int I = 0; I < 6; ++I) U32(Dib, 0);
        for (int P = 0; P < Side * Side; ++P) U32(Dib, static_cast<int>(Colour));
        Dib.append(QByteArray(((Side + 31) / 32) * 4 * Side, '\0')); // the mask: all shown
        Dir.append(char(Side)).append(char(Side)).append('\0').append('\0');
        U16(Dir, 1), U16(Dir, 32), U32(Dir, static_cast<int>(Dib.size())), U32(Dir, Offset);
        Offset += static_cast<int>(Dib.size());
        Data += Dib;
    }
    return Dir + Data;
}

TEST(LayerPictures, KeepTheirTransparencyAndIconsGiveTheirLargestPicture) {
    QTemporaryDir Dir;
    auto Write = [](const QString& Path, const QByteArray& Bytes) {
        QFile F(Path);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Bytes);
    };
    const QString Ico = Dir.filePath(QStringLiteral("symbol.ICO"));
    Write(Ico, IconFile({{16, 0xFFFF0000}, {32, 0x800000FF}, {24, 0xFF00FF00}}));
    const std::unique_ptr<TBitmap32> I = LoadLayerPictureFromFile(Ico);
    ASSERT_EQ(I->Width(), 32);
    EXPECT_EQ(I->Pixel(5, 5), 0x800000FFu);

    TBitmap32 Half;
    Half.SetSize(3, 2);
    Half.Clear(0x4000FF00);
    const QString Png = Dir.filePath(QStringLiteral("halb.png"));
    WriteFileSafely(Png, EncodeTransparentPNG(Half));
    EXPECT_EQ(LoadLayerPictureFromFile(Png)->Pixel(2, 1), 0x4000FF00u);
    EXPECT_EQ(LoadPictureFromFile(Png)->Pixel(2, 1) >> 24, 0xFFu); // a document's picture is opaque

    Write(Ico, "not an icon");
    EXPECT_THROW(LoadLayerPictureFromFile(Ico), EFileError);
    EXPECT_THROW(LoadLayerPictureFromFile(Dir.filePath(QStringLiteral("fehlt.ico"))), EFileError);
}

} // namespace
} // namespace zp
