#include "CodecTestSupport.h"

#include "files/FileError.h"
#include "files/PictureCodecs.h"
#include "files/PngImage.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace zp {
namespace {

using namespace test;

struct TChunk {
    std::string Type;
    TBytes Data;
};

// Splits a PNG file into its chunks, checking the signature, every length and every CRC.
std::vector<TChunk> Chunks(const TBytes& Png) {
    const std::uint8_t Signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    EXPECT_TRUE(Png.size() >= 8 && std::equal(Signature, Signature + 8, Png.begin()));
    std::vector<TChunk> Result;
    std::size_t At = 8;
    while (At + 12 <= Png.size()) {
        const std::uint32_t Length = U32BEAt(Png, At);
        EXPECT_LE(At + 12 + Length, Png.size());
        if (At + 12 + Length > Png.size()) break;
        const std::uint8_t* Type = Png.data() + At + 4;
        const uLong Crc = crc32(crc32(0, Z_NULL, 0), Type, Length + 4);
        EXPECT_EQ(U32BEAt(Png, At + 8 + Length), Crc);
        Result.push_back({std::string(Type, Type + 4), TBytes(Type + 4, Type + 4 + Length)});
        At += 12 + Length;
    }
    EXPECT_EQ(At, Png.size()) << "bytes after the last chunk";
    return Result;
}

TBytes Inflate(const TBytes& Stream, std::size_t Expected) {
    TBytes Out(Expected + 1);
    uLongf Size = Out.size();
    EXPECT_EQ(uncompress(Out.data(), &Size, Stream.data(), Stream.size()), Z_OK);
    Out.resize(Size);
    return Out;
}

// The chunk layout, filters and compression of the writer, and the pixels the rows carry.
void CheckWriterLayout(const TBitmap32& Source, const TBytes& Png, int ColorType) {
    const int W = Source.Width(), H = Source.Height();
    const int Bpp = ColorType == 6 ? 4 : 3;
    const auto List = Chunks(Png);
    ASSERT_GE(List.size(), 3u);
    EXPECT_EQ(List.front().Type, "IHDR");
    EXPECT_EQ(List.back().Type, "IEND");
    EXPECT_TRUE(List.back().Data.empty());
    const TBytes& Header = List.front().Data;
    ASSERT_EQ(Header.size(), 13u);
    EXPECT_EQ(U32BEAt(Header, 0), static_cast<std::uint32_t>(W));
    EXPECT_EQ(U32BEAt(Header, 4), static_cast<std::uint32_t>(H));
    EXPECT_EQ(TBytes(Header.begin() + 8, Header.end()),
              (TBytes{8, static_cast<std::uint8_t>(ColorType), 0, 0, 0}));

    TBytes Stream;
    for (std::size_t I = 1; I + 1 < List.size(); ++I) {
        EXPECT_EQ(List[I].Type, "IDAT") << "only IDAT chunks between IHDR and IEND";
        EXPECT_LE(List[I].Data.size(), 65535u);
        Stream.insert(Stream.end(), List[I].Data.begin(), List[I].Data.end());
    }
    ASSERT_GE(Stream.size(), 2u);
    // zlib header: deflate with a 32 KiB window; FLEVEL 3 is what zlib writes for levels 7 to 9.
    EXPECT_EQ(Stream[0], 0x78);
    EXPECT_EQ(Stream[1] >> 6, 3);
    EXPECT_EQ((Stream[0] * 256 + Stream[1]) % 31, 0);

    const std::size_t RowBytes = static_cast<std::size_t>(W) * Bpp + 1;
    const TBytes Raw = Inflate(Stream, RowBytes * H);
    ASSERT_EQ(Raw.size(), RowBytes * H);
    // Level 7 itself: deflating the same rows at level 7 gives exactly the stored stream.
    TBytes Again(compressBound(static_cast<uLong>(Raw.size())));
    uLongf AgainSize = Again.size();
    ASSERT_EQ(compress2(Again.data(), &AgainSize, Raw.data(), Raw.size(), 7), Z_OK);
    Again.resize(AgainSize);
    EXPECT_TRUE(Again == Stream) << "not deflated at level 7";

    for (int Y = 0; Y < H; ++Y) {
        const std::uint8_t* Row = Raw.data() + RowBytes * Y;
        ASSERT_EQ(Row[0], 1) << "filter of row " << Y;
        std::vector<std::uint8_t> Line(Row + 1, Row + RowBytes);
        for (std::size_t I = Bpp; I < Line.size(); ++I)
            Line[I] = static_cast<std::uint8_t>(Line[I] + Line[I - Bpp]);
        for (int X = 0; X < W; ++X) {
            const TColor32 C = Source.Pixel(X, Y);
            const std::uint8_t* P = Line.data() + X * Bpp;
            const TColor32 Got = Color32(P[0], P[1], P[2], ColorType == 6 ? P[3] : AlphaComponent(C));
            ASSERT_EQ(Got, C) << X << "," << Y;
        }
    }
}

TEST(PngWriter, WritesIHDRIDATAndIENDWithTheSubFilterAndLevel7) {
    // Noise does not compress, so the data need several IDAT chunks.
    const auto Source = NoiseBitmap(300, 211, 11);
    const TBytes Png = EncodePNG(*Source);
    CheckWriterLayout(*Source, Png, 2);
    EXPECT_GE(Chunks(Png).size(), 5u);
    CheckWriterLayout(*Source, EncodeTransparentPNG(*Source), 6);
    // A picture that compresses, so that levels 6, 7 and 9 give different streams.
    const auto Pattern = MakeBitmap(120, 90, [](int X, int Y) {
        return Color32((X / 3) * (Y / 5) * 37 & 255, (X * 7 + Y * Y) & 255, ((X ^ (Y * 3)) * 11) & 255);
    });
    CheckWriterLayout(*Pattern, EncodePNG(*Pattern), 2);
    const auto Tiny = NoiseBitmap(1, 1, 5);
    CheckWriterLayout(*Tiny, EncodePNG(*Tiny), 2);
}

TEST(PngWriter, IsReadBackByLibpngWithColoursAsTheyAreAndAlphaOnlyWhenAsked) {
    // Half-transparent pixels keep their colour and become opaque: nothing is composed.
    const auto Source =
        MakeBitmap(5, 4, [](int X, int Y) { return Color32(X * 60, Y * 80, 7, X == 2 ? 128 : 255 - X); });
    const TLibpngImage Opaque = ReadPngWithLibpng(EncodePNG(*Source));
    ASSERT_TRUE(Opaque.Ok) << Opaque.Message;
    const TLibpngImage WithAlpha = ReadPngWithLibpng(EncodeTransparentPNG(*Source));
    ASSERT_TRUE(WithAlpha.Ok) << WithAlpha.Message;
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 5; ++X) {
            EXPECT_EQ(Opaque.Pixel(X, Y), Source->Pixel(X, Y) | 0xFF000000u);
            EXPECT_EQ(WithAlpha.Pixel(X, Y), Source->Pixel(X, Y));
        }
    TBitmap32 Empty;
    EXPECT_THROW(EncodePNG(Empty), EFileError);
}

TEST(AssignTransparentToPNG, AddsAlphaToGreyAndRGBLeavesPalettesAndOtherSizesAlone) {
    const auto Surface = MakeBitmap(2, 1, [](int X, int) { return X == 0 ? 0x11FFFFFFu : 0xEE000000u; });

    TPNGImage Gray(2, 1, TPNGImage::ctGrayscale, {50, 60});
    AssignTransparentToPNG(Gray, *Surface);
    EXPECT_EQ(Gray.ColorType(), TPNGImage::ctGrayscaleAlpha);
    EXPECT_EQ(Gray.Samples(), (TBytes{50, 0x11, 60, 0xEE}));

    TPNGImage Rgb = TPNGImage::FromBitmap(*Surface);
    AssignTransparentToPNG(Rgb, *Surface);
    EXPECT_EQ(Rgb.ColorType(), TPNGImage::ctRGBAlpha);
    EXPECT_EQ(Rgb.Samples(), (TBytes{255, 255, 255, 0x11, 0, 0, 0, 0xEE}));

    TPNGImage Palette(2, 1, TPNGImage::ctPalette, {0, 1}, {{{1, 2, 3}}, {{4, 5, 6}}});
    AssignTransparentToPNG(Palette, *Surface);
    EXPECT_EQ(Palette.ColorType(), TPNGImage::ctPalette);
    EXPECT_EQ(Palette.Samples(), (TBytes{0, 1}));
    const TLibpngImage Read = ReadPngWithLibpng(Palette.SaveToBytes());
    ASSERT_TRUE(Read.Ok) << Read.Message;
    EXPECT_EQ(Read.Pixel(1, 0), 0xFF040506u);

    TPNGImage Other(1, 2, TPNGImage::ctRGB, {1, 2, 3, 4, 5, 6});
    AssignTransparentToPNG(Other, *Surface);
    EXPECT_EQ(Other.ColorType(), TPNGImage::ctRGB);
}

} // namespace
} // namespace zp
