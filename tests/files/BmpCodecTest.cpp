#include "CodecTestSupport.h"

#include "files/FileError.h"
#include "files/PictureCodecs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/resource.h>

namespace zp {
namespace {

using namespace test;

const TColor32 K = 0xFF000000u, R = 0xFFFF0000u, G = 0xFF00FF00u, B = 0xFF0000FFu, W = 0xFFFFFFFFu;

std::vector<TColor32> Decode(const TBmpLayout& Layout) {
    const auto Bitmap = DecodeBMP(BuildBmp(Layout));
    EXPECT_EQ(Bitmap->Width(), Layout.Width);
    EXPECT_EQ(Bitmap->Height(), std::abs(Layout.Height));
    return Pixels(*Bitmap);
}

TEST(BmpDecoder, ReadsTrueColourRowsBottomUpAndTopDown) {
    // 2 x 2, 24 bit: rows of 6 bytes padded to 8; the bottom row comes first.
    const TBytes Rows = {0, 0, 255, 0, 255, 0, 0, 0, /**/ 255, 0, 0, 255, 255, 255, 0, 0};
    EXPECT_EQ(Decode({2, 2, 24, 0, 40, {}, {}, Rows}), (std::vector<TColor32>{B, W, R, G}));
    EXPECT_EQ(Decode({2, -2, 24, 0, 40, {}, {}, Rows}), (std::vector<TColor32>{R, G, B, W}));
    // 16 bit without bit fields is 5-5-5; with them, the masks decide (here 5-6-5).
    EXPECT_EQ(Decode({2, 1, 16, 0, 40, {}, {}, {0x00, 0x7C, 0x10, 0x02}}),
              (std::vector<TColor32>{R, Color32(0, 132, 132)}));
    EXPECT_EQ(Decode({2, 1, 16, 3, 40, {}, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x1F, 0x00}}),
              (std::vector<TColor32>{G, Color32(0, 0, 255)}));
}

TEST(BmpDecoder, Keeps32BitAlphaAndMakesEveryOtherDepthOpaque) {
    const TBytes Rows = {1, 2, 3, 0, 4, 5, 6, 128};
    EXPECT_EQ(Decode({2, 1, 32, 0, 40, {}, {}, Rows}), (std::vector<TColor32>{0x00030201u, 0x80060504u}));
    // Bit fields with an alpha mask in a V5 header, and without one in a plain header.
    EXPECT_EQ(Decode({2, 1, 32, 3, 124, {}, {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF}, Rows}),
              (std::vector<TColor32>{0x01020300u, 0x04050680u}));
    EXPECT_EQ(Decode({2, 1, 32, 3, 40, {}, {0x00FF0000, 0x0000FF00, 0x000000FF}, Rows}),
              (std::vector<TColor32>{0x00030201u, 0x80060504u}));
    // The same bytes as 24 bit are opaque.
    EXPECT_EQ(Decode({2, 1, 24, 0, 40, {}, {}, {1, 2, 3, 0, 4, 5, 0, 0}}),
              (std::vector<TColor32>{0xFF030201u, 0xFF050400u}));
}

TEST(BmpDecoder, ReadsPalettePicturesOfEveryDepth) {
    const std::vector<TColor32> Pal = {R, G, B, W};
    // 1 bit: 10 pixels in two bytes, padded to four.
    EXPECT_EQ(Decode({10, 1, 1, 0, 40, {R, G}, {}, {0b10110000, 0b01000000, 0, 0}}),
              (std::vector<TColor32>{G, R, G, G, R, R, R, R, R, G}));
    EXPECT_EQ(Decode({3, 1, 2, 0, 40, Pal, {}, {0b11100100, 0, 0, 0}}), (std::vector<TColor32>{W, B, G}));
    EXPECT_EQ(Decode({3, 1, 4, 0, 40, Pal, {}, {0x31, 0x20, 0, 0}}), (std::vector<TColor32>{W, G, B}));
    // Indices beyond the palette are black.
    EXPECT_EQ(Decode({3, 1, 8, 0, 40, Pal, {}, {3, 200, 0, 0}}), (std::vector<TColor32>{W, K, R}));
    // The old OS/2 header with three-byte palette entries.
    EXPECT_EQ(Decode({2, 1, 8, 0, 12, Pal, {}, {2, 1, 0, 0}}), (std::vector<TColor32>{B, G}));
}

TEST(BmpDecoder, ExpandsRunLengthData) {
    const std::vector<TColor32> Pal = {R, G, B, W};
    // RLE8, 4 x 3 from the bottom: a run of 3, end of line; a literal run of 3 (padded), end of
    // line; a delta of (1, 0), a run of 2, end of bitmap. Skipped pixels are black.
    const TBytes Rle8 = {3, 1, 0, 0, /**/ 0, 3, 2, 3, 0, 0, 0, 0, /**/ 0, 2, 1, 0, 2, 2, 0, 1};
    EXPECT_EQ(Decode({4, 3, 8, 1, 40, Pal, {}, Rle8}), (std::vector<TColor32>{K, B, B, K, //
                                                                              B, W, R, K, //
                                                                              G, G, G, K}));
    // RLE4: a run alternates two nibbles; a literal run of 3 nibbles takes 2 bytes plus padding.
    const TBytes Rle4 = {5, 0x12, 0, 0, /**/ 0, 3, 0x30, 0x20, 0, 1};
    EXPECT_EQ(Decode({5, 2, 4, 2, 40, Pal, {}, Rle4}), (std::vector<TColor32>{W, R, B, K, K, //
                                                                              G, B, G, B, G}));
    // Data that stop before the picture is complete.
    EXPECT_THROW(DecodeBMP(BuildBmp({4, 3, 8, 1, 40, Pal, {}, {3, 1, 0, 0, 2}})), EFileError);
    EXPECT_THROW(DecodeBMP(BuildBmp({4, -3, 8, 1, 40, Pal, {}, Rle8})), EFileError);
}

TEST(BmpWriter, Writes32BitBottomUpWithTheAlphaByte) {
    const auto Source =
        MakeBitmap(3, 2, [](int X, int Y) { return Color32(X * 100, Y * 200, 50, X == 1 ? 128 : 255); });
    const TBytes Bmp = EncodeBitmap(*Source);
    ASSERT_EQ(Bmp.size(), 54u + 3 * 2 * 4);
    EXPECT_EQ(Bmp[0], 'B');
    EXPECT_EQ(Bmp[1], 'M');
    EXPECT_EQ(U32At(Bmp, 2), Bmp.size());
    EXPECT_EQ(U32At(Bmp, 10), 54u); // pixel data offset
    EXPECT_EQ(U32At(Bmp, 14), 40u); // header size
    EXPECT_EQ(U32At(Bmp, 18), 3u);  // width
    EXPECT_EQ(U32At(Bmp, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(U16At(Bmp, 26), 1u);  // planes
    EXPECT_EQ(U16At(Bmp, 28), 32u); // bits per pixel
    EXPECT_EQ(U32At(Bmp, 30), 0u);  // uncompressed
    EXPECT_EQ(U32At(Bmp, 34), 24u); // image size
    // First stored pixel: the bottom-left one, blue, green, red, alpha.
    EXPECT_EQ(TBytes(Bmp.begin() + 54, Bmp.begin() + 62), (TBytes{50, 200, 0, 255, 50, 200, 100, 128}));
    const auto Back = DecodeBMP(Bmp);
    EXPECT_EQ(Pixels(*Back), Pixels(*Source));
    TBitmap32 Empty;
    EXPECT_THROW(EncodeBitmap(Empty), EFileError);
}

TEST(BmpDecoder, RefusesBrokenHeadersAndShortData) {
    const TBytes Good = BuildBmp({2, 2, 24, 0, 40, {}, {}, TBytes(16, 7)});
    // Only the last row's padding may be missing.
    for (std::size_t N = 0; N < 54 + 14; ++N)
        EXPECT_THROW(DecodeBMP(std::span(Good).first(N)), EFileError) << N;
    EXPECT_THROW(DecodeBMP(BuildBmp({0, 2, 24, 0, 40, {}, {}, TBytes(16, 7)})), EFileError);
    EXPECT_THROW(DecodeBMP(BuildBmp({2, 2, 7, 0, 40, {}, {}, TBytes(16, 7)})), EFileError);
    EXPECT_THROW(DecodeBMP(BuildBmp({2, 2, 24, 4, 40, {}, {}, TBytes(16, 7)})), EFileError);
    TDecodeLimits Small;
    Small.MaxPixels = 3;
    try {
        DecodeBMP(Good, Small);
        ADD_FAILURE();
    } catch (const EFileError& E) {
        EXPECT_EQ(E.Kind(), fekTooLarge);
    }
    // A header claiming 100000 x 100000 pixels is refused before anything is allocated.
    EXPECT_THROW(DecodeBMP(BuildBmp({100000, 100000, 32, 0, 40, {}, {}, TBytes(16, 7)})), EFileError);
}

// The address space this process uses now, in bytes.
std::uint64_t AddressSpace() {
    std::ifstream Status("/proc/self/status");
    std::string Key;
    while (Status >> Key) {
        if (Key == "VmSize:") {
            std::uint64_t KiB = 0;
            Status >> KiB;
            return KiB * 1024;
        }
    }
    return 0;
}

// A size within the surface limit that memory cannot hold is refused as too large, with the
// memory message; the decoder does not crash.
TEST(BmpDecoder, RefusesAPictureMemoryCannotHold) {
    // Within the size limits (121 M pixels), but more than the address space left allows.
    const TBytes Bmp = BuildBmp({11000, 11000, 8, 1, 40, {R}, {}, {0, 1}});
    const std::uint64_t Used = AddressSpace();
    ASSERT_GT(Used, 0u);
    struct rlimit Old;
    ASSERT_EQ(getrlimit(RLIMIT_AS, &Old), 0);
    struct rlimit Tight = Old;
    Tight.rlim_cur = Used + (std::uint64_t{256} << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &Tight), 0);
    TFileErrorKind Kind = fekRead;
    std::string Message;
    try {
        DecodeBMP(Bmp);
    } catch (const EFileError& E) {
        Kind = E.Kind();
        Message = E.what();
    }
    setrlimit(RLIMIT_AS, &Old);
    EXPECT_EQ(Kind, fekTooLarge);
    EXPECT_EQ(Message, FileTexts::SOutOfMemory);
}

} // namespace
} // namespace zp
