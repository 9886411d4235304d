#include "CodecTestSupport.h"

#include "files/FileError.h"
#include "files/PictureCodecs.h"
#include "files/PictureStrings.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zp {
namespace {

using namespace test;

// Small decode limits keep hostile sizes cheap; the decoders refuse them the same way at the
// real limit.
TDecodeLimits TestLimits() {
    TDecodeLimits L;
    L.MaxPixels = 1 << 22;
    return L;
}

// Every file collected in the malformed folder (inputs that once crashed or hung a decoder, and
// hand-made hostile headers) fails with a file error.
TEST(MalformedFiles, EveryCollectedFileFailsCleanly) {
    const std::filesystem::path Folder = std::filesystem::path(ZP_TEST_DATA_DIR) / "malformed";
    int Count = 0;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
        // Projects have a folder of their own, read by the document tests.
        if (!Entry.is_regular_file()) continue;
        const std::string Ext = Entry.path().extension().string();
        const TBytes Data = ReadFileBytes(Entry.path().string());
        SCOPED_TRACE(Entry.path().filename().string());
        if (Ext == ".b64") {
            EXPECT_THROW(StringToBitmap(std::string(Data.begin(), Data.end())), EFileError);
        } else {
            const TPictureFormat Format = PictureFormatOfExtension(Ext);
            ASSERT_NE(Format, pfNone);
            EXPECT_THROW(DecodePicture(Data, Format, TestLimits()), EFileError);
            EXPECT_THROW(DecodePicture(Data, Format), EFileError);
        }
        ++Count;
    }
    EXPECT_GE(Count, 4);
}

struct TSample {
    const char* Name;
    TPictureFormat Format;
    TBytes Data;
};

std::vector<TSample> Samples() {
    TCodecNoise N(77);
    const auto Noise = NoiseBitmap(16, 12, 21);
    TPngLayout Png{16, 12, 6, 8, true};
    for (int I = 0; I < 16 * 12 * 4; ++I) Png.Rows.push_back(N.Byte() & 0xF0);
    TJpegLayout Jpeg{16, 12, 3};
    for (int I = 0; I < 16 * 12 * 3; ++I) Jpeg.Samples.push_back(N.Byte());
    Jpeg.Progressive = true;
    TGifLayout Gif{
        16, 12, {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}, {{1, 1, 14, 10, true, {}, 2, {}}}};
    for (int I = 0; I < 14 * 10; ++I) Gif.Images[0].Indices.push_back(N.Byte() % 4);
    const TBytes Rle8 = {3, 1, 0, 0, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 1, 0, 2, 2, 0, 1};
    return {{"png", pfPNG, WritePngWithLibpng(Png)},
            {"jpeg", pfJPEG, WriteJpegWithLibjpeg(Jpeg)},
            {"gif", pfGIF, WriteGifWithGiflib(Gif)},
            {"bmp rle", pfBMP, BuildBmp({4, 3, 8, 1, 40, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}, {}, Rle8})},
            {"bmp 32", pfBMP, EncodeBitmap(*Noise)}};
}

// A cut-off file either fails with a file error or, when only trailing bytes such as the end
// marker are missing, gives the complete picture: never a partial one, never a crash.
TEST(MalformedFiles, CutOffFilesFailOrGiveTheWholePicture) {
    for (const TSample& S : Samples()) {
        SCOPED_TRACE(S.Name);
        ASSERT_FALSE(S.Data.empty());
        const auto Whole = Pixels(*DecodePicture(S.Data, S.Format));
        int Refused = 0;
        for (std::size_t N = 0; N < S.Data.size(); ++N) {
            try {
                const auto Part = DecodePicture(std::span(S.Data).first(N), S.Format, TestLimits());
                ASSERT_EQ(Pixels(*Part), Whole) << "partial picture from " << N << " bytes";
            } catch (const EFileError&) {
                ++Refused;
            }
        }
        // Everything before the last few bytes is refused.
        EXPECT_GE(Refused, static_cast<int>(S.Data.size()) - 16);
    }
}

TEST(MalformedFiles, DamagedBytesGiveAPictureOrAFileError) {
    TCodecNoise N(5);
    for (const TSample& S : Samples()) {
        SCOPED_TRACE(S.Name);
        for (int Round = 0; Round < 400; ++Round) {
            TBytes Data = S.Data;
            const int Changes = 1 + static_cast<int>(N.Next() % 4);
            for (int I = 0; I < Changes; ++I) Data[N.Next() % Data.size()] = N.Byte();
            try {
                DecodePicture(Data, S.Format, TestLimits());
            } catch (const EFileError&) {}
        }
    }
}

} // namespace
} // namespace zp

#include <zlib.h>

namespace zp {
namespace {

// A 32 KB file claiming a single row of four million pixels: within the pixel count, but the
// decoder's row buffers would grow with the width.
TEST(MalformedFiles, PngRowTooWideIsRefused) {
    const std::uint32_t Width = 1u << 22;
    std::vector<std::uint8_t> Raw(1 + std::size_t{Width} * 8, 0); // filter byte, 16-bit RGBA zeros
    uLongf Size = compressBound(static_cast<uLong>(Raw.size()));
    std::vector<std::uint8_t> Z(Size);
    compress2(Z.data(), &Size, Raw.data(), static_cast<uLong>(Raw.size()), 9);
    Z.resize(Size);
    std::vector<std::uint8_t> Png = {137, 80, 78, 71, 13, 10, 26, 10};
    auto Chunk = [&](const char* Type, const std::vector<std::uint8_t>& Data) {
        const auto N = static_cast<std::uint32_t>(Data.size());
        for (int S = 24; S >= 0; S -= 8) Png.push_back(static_cast<std::uint8_t>(N >> S));
        const std::size_t At = Png.size();
        Png.insert(Png.end(), Type, Type + 4);
        Png.insert(Png.end(), Data.begin(), Data.end());
        const auto Crc = static_cast<std::uint32_t>(crc32(0, Png.data() + At, N + 4));
        for (int S = 24; S >= 0; S -= 8) Png.push_back(static_cast<std::uint8_t>(Crc >> S));
    };
    Chunk("IHDR", {std::uint8_t(Width >> 24), std::uint8_t(Width >> 16), std::uint8_t(Width >> 8),
                   std::uint8_t(Width), 0, 0, 0, 1, 16, 6, 0, 0, 0});
    Chunk("IDAT", Z);
    Chunk("IEND", {});
    try {
        DecodePNG(Png);
        FAIL() << "a 4194304 x 1 picture was decoded";
    } catch (const EFileError& E) {
        EXPECT_EQ(E.Kind(), fekTooLarge);
    }
}

} // namespace
} // namespace zp
