#include "files/AnimGif.h"
#include "files/ColorReduction.h"

#include "GifDecode.h"
#include "TestPictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace zp {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const QString& Name) {
    QFile F(Name);
    if (!F.open(QIODevice::ReadOnly)) return {};
    const QByteArray A = F.readAll();
    return Bytes(A.begin(), A.end());
}

void WriteFile(const QString& Name, const QByteArray& Content) {
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Content);
}

// A picture of at most 256 colours, for rmNone.
void FewColours(TBitmap32& B, int W, int H) {
    test::FillBitmap(B, W, H, [](int X, int Y) {
        const int K = (X / 3 + Y * 7) % 200;
        return Color32(static_cast<unsigned>(K), static_cast<unsigned>(K * 3 % 256), 90);
    });
}

TEST(AnimGif, EveryReductionAndDitherModeSurvivesAStandardDecoder) {
    TBitmap32 Noise, Few;
    test::GradientNoisePicture(Noise, 64, 48, 17);
    FewColours(Few, 33, 21);
    std::vector<TGifFrameSource> Frames;
    for (int R = rmWindows20; R <= rmQuantizeWindows; ++R)
        for (int D = dmNearest; D <= dmBurkes; ++D)
            Frames.push_back({&Noise, 40 * R + 10 * D + 7, TColorReduction(R), TDitherMode(D)});
    Frames.push_back({&Few, 500, rmNone, dmSierra});

    const auto Gif = CreateAnimGif(Frames, 2);
    ASSERT_TRUE(Gif);
    const test::TDecodedGif Decoded = test::DecodeGif(Gif->SaveToBytes());
    ASSERT_EQ(Decoded.Images.size(), Frames.size());
    EXPECT_EQ(Decoded.Width, 64);
    EXPECT_EQ(Decoded.Height, 48);
    for (std::size_t I = 0; I < Frames.size(); ++I) {
        const TGifFrameSource& F = Frames[I];
        const TReducedBitmap Expected = ReduceColors(*F.Bitmap, F.ColorReduction, F.DitherMode);
        const test::TDecodedImage& Image = Decoded.Images[I];
        ASSERT_EQ(Image.Pixels, Expected.Pixels)
            << "reduction " << int(F.ColorReduction) << ", dither " << int(F.DitherMode);
        ASSERT_EQ(Image.ColorMap, test::PaddedColorMap(Expected.Palette)) << I;
        EXPECT_EQ(Image.Delay(), F.Duration / 10) << I;
        EXPECT_EQ(Image.Loops(), I == 0 ? 2 : -1) << I;
    }
    // rmNone: 200 colours in order of first occurrence, written as 256.
    const test::TDecodedImage& Last = Decoded.Images.back();
    EXPECT_EQ(Last.ColorMapBits, 8);
    EXPECT_EQ(Last.ColorMap[1], (TGifColor{1, 3, 90}));
    EXPECT_EQ(Last.ColorMap[7], (TGifColor{7, 21, 90}));
}

TEST(AnimGif, ParallelReductionGivesTheSerialBytes) {
    std::vector<TBitmap32> Pictures(9);
    std::vector<TGifFrameSource> Frames;
    for (int I = 0; I < 9; ++I) {
        test::GradientNoisePicture(Pictures[static_cast<std::size_t>(I)], 40 + 13 * I, 30 + 7 * (I % 4),
                                   static_cast<std::uint32_t>(I));
        Frames.push_back({&Pictures[static_cast<std::size_t>(I)], 100 * I, I % 3 ? rmQuantize : rmWindows256,
                          TDitherMode(I % 7)});
    }
    const Bytes Serial = CreateAnimGif(Frames, 0, {}, 1)->SaveToBytes();
    for (int Threads : {0, 2, 3, 16})
        EXPECT_EQ(CreateAnimGif(Frames, 0, {}, Threads)->SaveToBytes(), Serial) << Threads << " threads";
}

TEST(AnimGif, TheFirstFrameInOrderThatFailsIsReported) {
    TBitmap32 Good, Many;
    FewColours(Good, 8, 8);
    test::GradientNoisePicture(Many, 50, 50, 3);
    const std::vector<TGifFrameSource> Frames = {{&Good, 100, rmNone, dmNearest},
                                                 {&Many, 100, rmNone, dmNearest},
                                                 {&Good, 100, rmQuantize, dmNearest},
                                                 {&Good, 100, rmPalette, dmNearest},
                                                 {&Many, 100, rmNone, dmNearest}};
    for (int Threads : {1, 4}) {
        try {
            CreateAnimGif(Frames, 0, {}, Threads);
            FAIL() << "assembled";
        } catch (const EGIFFrameError& E) {
            EXPECT_STREQ(E.what(), "Color table overflow");
            EXPECT_EQ(E.FrameIndex(), 1);
        }
        try {
            CreateAnimGif({Frames[0], Frames[3], Frames[1]}, 0, {}, Threads);
            FAIL() << "assembled";
        } catch (const EGIFFrameError& E) {
            EXPECT_STREQ(E.what(), "No palette for the color reduction");
            EXPECT_EQ(E.FrameIndex(), 1);
        }
    }
    EXPECT_THROW(CreateAnimGif({{nullptr, 100, rmNone, dmNearest}}, 0), std::invalid_argument);
}

TEST(AnimGif, ProgressOnTheCallingThreadAndCancelling) {
    std::vector<TBitmap32> Pictures(6);
    std::vector<TGifFrameSource> Frames;
    for (auto& P : Pictures) {
        test::GradientNoisePicture(P, 120, 90, static_cast<std::uint32_t>(Frames.size()));
        Frames.push_back({&P, 100, rmQuantize, dmFloydSteinberg});
    }
    for (int Threads : {1, 3}) {
        std::vector<std::pair<int, int>> Calls;
        bool OtherThread = false;
        const auto Caller = std::this_thread::get_id();
        const auto Gif = CreateAnimGif(
            Frames, 0,
            [&](int Done, int Total) {
                OtherThread = OtherThread || std::this_thread::get_id() != Caller;
                Calls.push_back({Done, Total});
                return true;
            },
            Threads);
        ASSERT_TRUE(Gif);
        EXPECT_EQ(Gif->Count(), 6);
        EXPECT_FALSE(OtherThread);
        ASSERT_GE(Calls.size(), 2u);
        EXPECT_EQ(Calls.front(), std::make_pair(0, 6));
        EXPECT_EQ(Calls.back(), std::make_pair(6, 6));
        for (std::size_t I = 1; I < Calls.size(); ++I) EXPECT_LE(Calls[I - 1].first, Calls[I].first);

        // Cancelled at once, and after some frames are done: no animation either way.
        EXPECT_EQ(CreateAnimGif(
                      Frames, 0, [](int, int) { return false; }, Threads),
                  nullptr);
        EXPECT_EQ(CreateAnimGif(
                      Frames, 0, [](int Done, int) { return Done < 2; }, Threads),
                  nullptr);
        // Cancelling as the last frame completes still counts.
        EXPECT_EQ(CreateAnimGif(
                      Frames, 0, [](int Done, int Total) { return Done < Total; }, Threads),
                  nullptr);
        // A handler that throws while frames are being reduced: the exception arrives, the
        // workers are stopped.
        int Seen = 0;
        auto Throwing = [&](int, int) {
            if (++Seen == 2) throw std::runtime_error("dialog gone");
            return true;
        };
        EXPECT_THROW(CreateAnimGif(Frames, 0, Throwing, Threads), std::runtime_error);
    }
}

TEST(AnimGif, SavingReplacesAFileOnlyWhenEverythingWasWritten) {
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    const QString Name = Dir.filePath(QStringLiteral("banner.gif"));
    WriteFile(Name, "older file");

    TBitmap32 B;
    test::GradientNoisePicture(B, 30, 20, 8);
    TBitmap32* Picture = &B;
    const auto Gif = CreateAnimGif({{Picture, 250, rmQuantize, dmBurkes}}, 1);
    SaveAnimGif(Gif.get(), Name);
    EXPECT_EQ(ReadFile(Name), Gif->SaveToBytes());

    // A writer failure leaves the file as it was and no temporary file behind.
    WriteFile(Name, "older file");
    TGIFImage Broken;
    Broken.Add(std::make_unique<TGIFSubImage>(1, 1, Bytes{5}, TGifColorMap(2)));
    EXPECT_THROW(SaveAnimGif(&Broken, Name), EGIFError);
    EXPECT_EQ(ReadFile(Name), Bytes({'o', 'l', 'd', 'e', 'r', ' ', 'f', 'i', 'l', 'e'}));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QStringLiteral("banner.gif")});

    // A folder that does not exist: the reason reaches the caller.
    try {
        Gif->SaveToFile(Dir.filePath(QStringLiteral("missing/banner.gif")));
        FAIL() << "written";
    } catch (const EGIFError& E) {
        EXPECT_EQ(std::string(E.what()).rfind("Cannot create file", 0), 0u) << E.what();
    }
    // Without an animation nothing happens.
    SaveAnimGif(nullptr, Name);
    EXPECT_EQ(ReadFile(Name).size(), 10u);
}

TEST(AnimGif, SaveNameGetsTheGifExtension) {
    EXPECT_EQ(AnimGifFileNameWithExt(QStringLiteral("bild")), QStringLiteral("bild.gif"));
    EXPECT_EQ(AnimGifFileNameWithExt(QStringLiteral("bild.gif")), QStringLiteral("bild.gif"));
    EXPECT_EQ(AnimGifFileNameWithExt(QStringLiteral("bild.GIF")), QStringLiteral("bild.GIF.gif"));
    EXPECT_EQ(AnimGifFileNameWithExt(QStringLiteral("bild.png")), QStringLiteral("bild.png.gif"));
    EXPECT_EQ(AnimGifFileNameWithExt(QStringLiteral("/tmp/a.gif/bild")),
              QStringLiteral("/tmp/a.gif/bild.gif"));
    EXPECT_EQ(AnimGifFileNameWithExt(QStringLiteral("/tmp/x/ban.ner.gif")),
              QStringLiteral("/tmp/x/ban.ner.gif"));
}

} // namespace
} // namespace zp
