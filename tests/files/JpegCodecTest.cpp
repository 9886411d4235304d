#include "CodecTestSupport.h"

#include "files/FileError.h"
#include "files/PictureCodecs.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zp {
namespace {

using namespace test;

bool HasMarker(const TBytes& Jpeg, std::uint8_t Marker) {
    for (std::size_t I = 0; I + 1 < Jpeg.size(); ++I)
        if (Jpeg[I] == 0xFF && Jpeg[I + 1] == Marker) return true;
    return false;
}

TEST(JpegWriter, WritesBaselineSequentialColourJFIFAtQuality90) {
    const auto Source =
        MakeBitmap(40, 24, [](int X, int Y) { return Color32(X * 6, Y * 10, 128, X < 20 ? 128 : 255); });
    const TBytes Jpeg = EncodeJPG(*Source);
    const TLibjpegImage Read = ReadJpegWithLibjpeg(Jpeg);
    ASSERT_TRUE(Read.Ok) << Read.Message;
    EXPECT_EQ(Read.Width, 40);
    EXPECT_EQ(Read.Height, 24);
    EXPECT_EQ(Read.Components, 3);
    EXPECT_EQ(Read.ColorSpace, 3); // JCS_YCbCr
    EXPECT_TRUE(Read.JFIF);
    EXPECT_FALSE(Read.Progressive);
    EXPECT_TRUE(HasMarker(Jpeg, 0xC0)) << "baseline frame";
    EXPECT_FALSE(HasMarker(Jpeg, 0xC2));
    const auto [Luma, Chroma] = LibjpegTables(90);
    EXPECT_EQ(Read.LumaTable, Luma);
    EXPECT_EQ(Read.ChromaTable, Chroma);
    EXPECT_NE(Read.LumaTable, LibjpegTables(75).first);
    // Half-transparent pixels come out as their own colour, opaque.
    double Error = 0;
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 40; ++X) {
            const std::uint8_t* P = Read.RGB.data() + (Y * 40 + X) * 3;
            const TColor32 C = Source->Pixel(X, Y);
            Error += std::abs(P[0] - int(RedComponent(C))) + std::abs(P[1] - int(GreenComponent(C))) +
                     std::abs(P[2] - int(BlueComponent(C)));
        }
    EXPECT_LT(Error / (40 * 24 * 3), 2.0);
}

// The decoder gives what libjpeg itself gives, for baseline, progressive and greyscale files,
// and every pixel is opaque.
TEST(JpegDecoder, MatchesLibjpegForColourProgressiveAndGreyscale) {
    TCodecNoise N(9);
    for (const int Components : {3, 1})
        for (const bool Progressive : {false, true}) {
            TJpegLayout Layout{37, 21, Components};
            for (int I = 0; I < 37 * 21 * Components; ++I) Layout.Samples.push_back(N.Byte());
            Layout.Quality = 80;
            Layout.Progressive = Progressive;
            const TBytes Jpeg = WriteJpegWithLibjpeg(Layout);
            const TLibjpegImage Expected = ReadJpegWithLibjpeg(Jpeg);
            ASSERT_TRUE(Expected.Ok) << Expected.Message;
            const auto B = DecodeJPEG(Jpeg);
            ASSERT_EQ(B->Width(), 37);
            ASSERT_EQ(B->Height(), 21);
            for (int Y = 0; Y < 21; ++Y)
                for (int X = 0; X < 37; ++X) {
                    const std::uint8_t* P = Expected.RGB.data() + (Y * 37 + X) * 3;
                    ASSERT_EQ(B->Pixel(X, Y), Color32(P[0], P[1], P[2]))
                        << Components << Progressive << X << "," << Y;
                }
        }
}

TEST(JpegDecoder, ReadsAdobeCMYKAsInvertedInk) {
    // Values as Adobe programs store them: 255 - ink. Flat 8 x 8 blocks survive quality 100.
    const std::uint8_t Blocks[2][4] = {{255, 0, 255, 255}, {128, 255, 255, 200}};
    TJpegLayout Layout{16, 8, 4};
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 16; ++X)
            Layout.Samples.insert(Layout.Samples.end(), Blocks[X / 8], Blocks[X / 8] + 4);
    const auto B = DecodeJPEG(WriteJpegWithLibjpeg(Layout));
    const auto Near = [](TColor32 A, TColor32 E) {
        for (int Shift : {0, 8, 16})
            if (std::abs(int((A >> Shift) & 255) - int((E >> Shift) & 255)) > 2) return false;
        return (A >> 24) == 255;
    };
    EXPECT_PRED2(Near, B->Pixel(3, 3), 0xFFFF00FFu);
    // 128 * 200 / 255 = 100, 255 * 200 / 255 = 200.
    EXPECT_PRED2(Near, B->Pixel(12, 4), Color32(100, 200, 200));
}

TEST(JpegDecoder, RefusesTooManyScansTruncationAndGarbage) {
    TJpegLayout Layout{16, 16, 3};
    Layout.Samples.assign(16 * 16 * 3, 90);
    Layout.Progressive = true;
    const TBytes Jpeg = WriteJpegWithLibjpeg(Layout);
    TDecodeLimits FewScans;
    FewScans.MaxJpegScans = 2;
    EXPECT_THROW(DecodeJPEG(Jpeg, FewScans), EFileError);
    EXPECT_NO_THROW(DecodeJPEG(Jpeg));
    try {
        DecodeJPEG(std::span(Jpeg).first(Jpeg.size() / 2));
        ADD_FAILURE() << "a half file was accepted";
    } catch (const EFileError& E) {
        EXPECT_EQ(E.Kind(), fekTruncated);
    }
    EXPECT_THROW(DecodeJPEG(TBytes{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3}), EFileError);
    EXPECT_THROW(DecodeJPEG(TBytes{}), EFileError);
}

} // namespace
} // namespace zp
