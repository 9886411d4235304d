#include "CodecTestSupport.h"

#include "files/FileError.h"
#include "files/PictureCodecs.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

using namespace test;

const std::vector<TColor32> Global = {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};

TBytes Indices(int W, int H) {
    TBytes Out;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) Out.push_back(static_cast<std::uint8_t>((X + 2 * Y) % 4));
    return Out;
}

TEST(GifDecoder, ReadsGlobalAndLocalPalettesAndInterlacedRows) {
    for (const bool Interlaced : {false, true}) {
        TGifLayout Layout{5, 11, Global, {{0, 0, 5, 11, Interlaced, {}, -1, Indices(5, 11)}}};
        const auto B = DecodeGIF(WriteGifWithGiflib(Layout));
        ASSERT_EQ(B->Width(), 5);
        ASSERT_EQ(B->Height(), 11);
        for (int Y = 0; Y < 11; ++Y)
            for (int X = 0; X < 5; ++X)
                ASSERT_EQ(B->Pixel(X, Y), Global[(X + 2 * Y) % 4]) << Interlaced << X << Y;
    }
    // A local table wins over the global one; a file with only a local table works too.
    const std::vector<TColor32> Local = {0xFF101010u, 0xFF202020u, 0xFF303030u, 0xFF404040u};
    for (const bool WithGlobal : {true, false}) {
        TGifLayout Layout{
            2, 1, WithGlobal ? Global : std::vector<TColor32>{}, {{0, 0, 2, 1, false, Local, -1, {3, 1}}}};
        const auto B = DecodeGIF(WriteGifWithGiflib(Layout));
        EXPECT_EQ(B->Pixel(0, 0), 0xFF404040u);
        EXPECT_EQ(B->Pixel(1, 0), 0xFF202020u);
    }
}

// The first image sits at its offset in the logical screen; transparency and uncovered screen
// stay black; the part outside the screen is cut off; later images do not matter.
TEST(GifDecoder, PlacesTheFirstImageOnTheScreenOverBlack) {
    TGifImageLayout First{2, 1, 3, 2, false, {}, 3, {1, 3, 2, 2, 1, 3}};
    TGifImageLayout Second{0, 0, 6, 4, false, {}, -1, TBytes(24, 2)};
    const auto B = DecodeGIF(WriteGifWithGiflib({6, 4, Global, {First, Second}}));
    ASSERT_EQ(B->Width(), 6);
    ASSERT_EQ(B->Height(), 4);
    const TColor32 K = 0xFF000000u, R = 0xFFFF0000u, G = 0xFF00FF00u;
    const std::vector<TColor32> Expected = {K, K, K, K, K, K, //
                                            K, K, R, K, G, K, //
                                            K, K, G, R, K, K, //
                                            K, K, K, K, K, K};
    EXPECT_EQ(Pixels(*B), Expected);

    TGifImageLayout Overhang{3, 2, 4, 3, false, {}, -1, TBytes(12, 1)};
    const auto C = DecodeGIF(WriteGifWithGiflib({5, 4, Global, {Overhang}}));
    EXPECT_EQ(C->Pixel(4, 3), R);
    EXPECT_EQ(C->Pixel(2, 3), K);
}

TEST(GifDecoder, RefusesFilesWithoutImagesOrWithBrokenData) {
    TBytes NoImage = WriteGifWithGiflib({4, 4, Global, {}});
    ASSERT_FALSE(NoImage.empty());
    EXPECT_THROW(DecodeGIF(NoImage), EFileError);
    const TBytes Good = WriteGifWithGiflib({5, 11, Global, {{0, 0, 5, 11, false, {}, -1, Indices(5, 11)}}});
    try {
        DecodeGIF(std::span(Good).first(Good.size() - 8));
        ADD_FAILURE() << "a truncated file was accepted";
    } catch (const EFileError& E) {
        EXPECT_EQ(E.Kind(), fekTruncated);
    }
    TDecodeLimits Small;
    Small.MaxPixels = 54;
    EXPECT_THROW(DecodeGIF(Good, Small), EFileError);
    EXPECT_THROW(DecodeGIF(TBytes{'G', 'I', 'F', '8', '9', 'a'}), EFileError);
}

} // namespace
} // namespace zp
