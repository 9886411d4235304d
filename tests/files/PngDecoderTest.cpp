#include "CodecTestSupport.h"

#include "files/FileError.h"
#include "files/PictureCodecs.h"
#include "files/PictureStrings.h"
#include "gfx/Base64.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace zp {
namespace {

using namespace test;

// Samples packed into rows of the given bit depth, most significant bits first.
TBytes PackRows(int W, int H, int Channels, int Depth,
                const std::function<unsigned(int X, int Y, int C)>& Sample) {
    TBytes Rows;
    for (int Y = 0; Y < H; ++Y) {
        TBytes Row((static_cast<std::size_t>(W) * Channels * Depth + 7) / 8, 0);
        for (int X = 0; X < W; ++X)
            for (int C = 0; C < Channels; ++C) {
                const unsigned V = Sample(X, Y, C);
                const std::size_t Bit = (static_cast<std::size_t>(X) * Channels + C) * Depth;
                if (Depth == 16) {
                    Row[Bit / 8] = static_cast<std::uint8_t>(V >> 8);
                    Row[Bit / 8 + 1] = static_cast<std::uint8_t>(V);
                } else {
                    Row[Bit / 8] |= static_cast<std::uint8_t>(V << (8 - Depth - Bit % 8));
                }
            }
        Rows.insert(Rows.end(), Row.begin(), Row.end());
    }
    return Rows;
}

std::unique_ptr<TBitmap32> DecodeWithAlpha(const TBytes& Png, TPngTransparency& T) {
    EXPECT_FALSE(Png.empty());
    return DecodePNGWithAlpha(Png, T);
}

// Every colour type at every bit depth, interlaced and not: the colours as stored, widened to
// 8 bits, and the alpha of types 4 and 6.
TEST(PngDecoder, ReadsEveryColourTypeAndBitDepth) {
    struct TCase {
        int ColorType, Depth;
    };
    const TCase Cases[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                           {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    const int W = 11, H = 9;
    for (const TCase& Case : Cases)
        for (const bool Interlaced : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "type " << Case.ColorType << " depth " << Case.Depth
                                              << (Interlaced ? " interlaced" : ""));
            // Levels every depth carries exactly: 16-bit samples are an 8-bit level times 257.
            const int Max = Case.Depth == 16 ? 255 : (1 << Case.Depth) - 1;
            const int Channels = Case.ColorType == 2   ? 3
                                 : Case.ColorType == 4 ? 2
                                 : Case.ColorType == 6 ? 4
                                                       : 1;
            const auto Level = [&](int X, int Y, int C) { return (X * 37 + Y * 91 + C * 53) % (Max + 1); };
            TPngLayout Layout{W, H, Case.ColorType, Case.Depth, Interlaced};
            Layout.Rows = PackRows(W, H, Channels, Case.Depth, [&](int X, int Y, int C) {
                return static_cast<unsigned>(Level(X, Y, C) * (Case.Depth == 16 ? 257 : 1));
            });
            std::vector<TColor32> Palette;
            if (Case.ColorType == 3) {
                for (int I = 0; I <= Max; ++I) {
                    const TColor32 C = Color32(I * 40 % 256, 255 - I, I * 7 % 256);
                    Palette.push_back(C);
                    Layout.PaletteRGB.insert(Layout.PaletteRGB.end(),
                                             {static_cast<std::uint8_t>(RedComponent(C)),
                                              static_cast<std::uint8_t>(GreenComponent(C)),
                                              static_cast<std::uint8_t>(BlueComponent(C))});
                }
            }
            const auto To8 = [&](int V) { return static_cast<unsigned>(V * 255 / Max); };
            TPngTransparency T;
            const auto B = DecodeWithAlpha(WritePngWithLibpng(Layout), T);
            ASSERT_EQ(B->Width(), W);
            ASSERT_EQ(B->Height(), H);
            EXPECT_EQ(T, Case.ColorType >= 4 ? ptAlpha : ptNone);
            for (int Y = 0; Y < H; ++Y)
                for (int X = 0; X < W; ++X) {
                    TColor32 Expected;
                    switch (Case.ColorType) {
                    case 0:
                        Expected = Color32(To8(Level(X, Y, 0)), To8(Level(X, Y, 0)), To8(Level(X, Y, 0)));
                        break;
                    case 2:
                        Expected = Color32(To8(Level(X, Y, 0)), To8(Level(X, Y, 1)), To8(Level(X, Y, 2)));
                        break;
                    case 3: Expected = Palette[static_cast<std::size_t>(Level(X, Y, 0))]; break;
                    case 4: {
                        const unsigned G = To8(Level(X, Y, 0));
                        Expected = Color32(G, G, G, To8(Level(X, Y, 1)));
                        break;
                    }
                    default:
                        Expected = Color32(To8(Level(X, Y, 0)), To8(Level(X, Y, 1)), To8(Level(X, Y, 2)),
                                           To8(Level(X, Y, 3)));
                    }
                    ASSERT_EQ(B->Pixel(X, Y), Expected) << X << "," << Y;
                }
        }
}

TEST(PngDecoder, TurnsTheTransparentColourAndPaletteAlphaIntoAlpha) {
    // RGB 16 bit with a key: only the exact 16-bit colour is transparent, not one that looks the
    // same at 8 bits.
    TPngLayout Rgb{3, 1, 2, 16};
    Rgb.Rows = PackRows(3, 1, 3, 16, [](int X, int, int C) {
        const unsigned Key[3] = {0x1234, 0x5678, 0x9ABC};
        return X == 0 ? Key[C] : X == 1 ? Key[C] + 1 : 0xFFFFu;
    });
    Rgb.TransRGB = std::array<std::uint16_t, 3>{0x1234, 0x5678, 0x9ABC};
    TPngTransparency T;
    auto B = DecodeWithAlpha(WritePngWithLibpng(Rgb), T);
    EXPECT_EQ(T, ptColorKey);
    EXPECT_EQ(AlphaComponent(B->Pixel(0, 0)), 0u);
    EXPECT_EQ(AlphaComponent(B->Pixel(1, 0)), 255u);
    EXPECT_EQ(B->Pixel(2, 0), 0xFFFFFFFFu);

    TPngLayout Gray{2, 1, 0, 4};
    Gray.Rows = {0x7F};
    Gray.TransGray = 7;
    B = DecodeWithAlpha(WritePngWithLibpng(Gray), T);
    EXPECT_EQ(T, ptColorKey);
    EXPECT_EQ(B->Pixel(0, 0), 0x00777777u); // colour kept, alpha 0
    EXPECT_EQ(B->Pixel(1, 0), 0xFFFFFFFFu);

    TPngLayout Pal{3, 1, 3, 8};
    Pal.Rows = {0, 1, 2};
    Pal.PaletteRGB = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    Pal.TransAlpha = {0, 128}; // the third entry has no tRNS value: opaque
    B = DecodeWithAlpha(WritePngWithLibpng(Pal), T);
    EXPECT_EQ(T, ptPaletteAlpha);
    EXPECT_EQ(B->Pixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(B->Pixel(1, 0), 0x8000FF00u);
    EXPECT_EQ(B->Pixel(2, 0), 0xFF0000FFu);
}

TEST(PngDecoder, OpensTransparencyAsBlackAndOpaque) {
    TPngLayout Layout{4, 1, 6, 8};
    Layout.Rows = {200, 100, 50, 0, 200, 100, 50, 128, 200, 100, 50, 255, 255, 255, 255, 1};
    const auto B = DecodePNG(WritePngWithLibpng(Layout));
    EXPECT_EQ(B->Pixel(0, 0), 0xFF000000u);
    // Rounded 200 * 128 / 255, 100 * 128 / 255, 50 * 128 / 255.
    EXPECT_EQ(B->Pixel(1, 0), 0xFF643219u);
    EXPECT_EQ(B->Pixel(2, 0), 0xFFC86432u);
    EXPECT_EQ(B->Pixel(3, 0), 0xFF010101u);

    TPngLayout Pal{2, 1, 3, 8};
    Pal.Rows = {0, 1};
    Pal.PaletteRGB = {255, 0, 0, 0, 0, 255};
    Pal.TransAlpha = {0};
    const auto P = DecodePNG(WritePngWithLibpng(Pal));
    EXPECT_EQ(P->Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(P->Pixel(1, 0), 0xFF0000FFu);
}

TFileErrorKind KindOf(const TBytes& Png) {
    try {
        DecodePNG(Png);
    } catch (const EFileError& E) {
        return E.Kind();
    }
    return fekRead;
}

TEST(PngDecoder, ReportsOversizedTruncatedAndDamagedFilesByKind) {
    TPngLayout Layout{4, 4, 2, 8};
    Layout.Rows.assign(48, 9);
    const TBytes Good = WritePngWithLibpng(Layout);
    ASSERT_EQ(KindOf(Good), fekRead) << "the good file must decode";
    // IHDR data start at byte 16; its CRC follows them at byte 29.
    const auto WithHeader = [&](std::uint32_t Width, std::uint32_t Height) {
        TBytes Png = Good;
        for (int I = 0; I < 4; ++I) {
            Png[16 + I] = static_cast<std::uint8_t>(Width >> (24 - 8 * I));
            Png[20 + I] = static_cast<std::uint8_t>(Height >> (24 - 8 * I));
        }
        const uLong Crc = crc32(crc32(0, Z_NULL, 0), Png.data() + 12, 17);
        for (int I = 0; I < 4; ++I) Png[29 + I] = static_cast<std::uint8_t>(Crc >> (24 - 8 * I));
        return Png;
    };
    EXPECT_EQ(KindOf(WithHeader(100000, 100000)), fekTooLarge);
    EXPECT_EQ(KindOf(WithHeader(0x7FFFFFFF, 1)), fekTooLarge);
    EXPECT_EQ(KindOf(WithHeader(0, 4)), fekMalformed);
    TBytes BadCrc = Good;
    BadCrc[29] ^= 1;
    EXPECT_EQ(KindOf(BadCrc), fekMalformed);
    EXPECT_EQ(KindOf(TBytes(Good.begin(), Good.end() - 20)), fekTruncated);
    EXPECT_EQ(KindOf(TBytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0}), fekMalformed);
}

// The alpha rules of picture strings: an alpha channel and a tRNS colour give alpha, a palette
// PNG stays opaque whatever its tRNS says; colours are never composed.
TEST(PictureStrings, TakeAlphaFromAlphaChannelsAndKeyColoursButNotFromPalettes) {
    TPngLayout GrayAlpha{2, 1, 4, 8};
    GrayAlpha.Rows = {10, 0, 20, 77};
    auto B = StringToBitmap(Base64Encode(WritePngWithLibpng(GrayAlpha)));
    EXPECT_EQ(B->Pixel(0, 0), 0x000A0A0Au);
    EXPECT_EQ(B->Pixel(1, 0), 0x4D141414u);

    TPngLayout Key{2, 1, 2, 8};
    Key.Rows = {1, 2, 3, 4, 5, 6};
    Key.TransRGB = std::array<std::uint16_t, 3>{4, 5, 6};
    B = StringToBitmap(Base64Encode(WritePngWithLibpng(Key)));
    EXPECT_EQ(B->Pixel(0, 0), 0xFF010203u);
    EXPECT_EQ(B->Pixel(1, 0), 0x00040506u);

    TPngLayout Pal{2, 1, 3, 8};
    Pal.Rows = {0, 1};
    Pal.PaletteRGB = {255, 0, 0, 0, 0, 255};
    Pal.TransAlpha = {0, 100};
    B = StringToBitmap(Base64Encode(WritePngWithLibpng(Pal)));
    EXPECT_EQ(B->Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(B->Pixel(1, 0), 0xFF0000FFu);
}

TEST(PictureStrings, KeepEveryPixelAndAlphaThroughARoundTrip) {
    for (const auto& [W, H] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{64, 33}, std::pair{300, 257}}) {
        const auto Source = NoiseBitmap(W, H, static_cast<std::uint32_t>(W * 1000 + H));
        // Fully transparent pixels keep their colour too.
        Source->SetPixel(0, 0, 0x00123456u);
        const std::string Text = BitmapToString(*Source);
        EXPECT_EQ(Text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
                  std::string::npos);
        const auto Back = StringToBitmap(Text);
        ASSERT_EQ(Back->Width(), W);
        ASSERT_EQ(Back->Height(), H);
        EXPECT_EQ(Pixels(*Back), Pixels(*Source)) << W << " x " << H;
    }
}

TEST(PictureStrings, RejectInvalidTextWithAFileError) {
    const auto Source = NoiseBitmap(5, 5, 3);
    std::string Text = BitmapToString(*Source);
    const std::string Broken[] = {
        "", Text.substr(0, Text.size() - 1), Text.substr(0, 40) + "\n" + Text.substr(40),
        Base64Encode(std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}), Text.substr(0, Text.size() / 2 / 4 * 4)};
    for (const std::string& S : Broken) EXPECT_THROW(StringToBitmap(S), EFileError) << S.size();
}

} // namespace
} // namespace zp
