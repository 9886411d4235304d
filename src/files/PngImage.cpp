#include "files/PngImage.h"

#include "files/CodecSupport.h"

#include <zlib.h>

#include <stdexcept>

namespace zp {

namespace {

using namespace codec;

constexpr std::uint8_t Signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr int ZlibLevel = 7;
constexpr std::size_t MaxIDATBytes = 65535;
constexpr std::uint8_t FilterSub = 1;

void PutChunk(std::vector<std::uint8_t>& Out, const char* Type, const std::uint8_t* Data, std::size_t Size) {
    PutU32BE(Out, static_cast<std::uint32_t>(Size));
    const std::size_t TypeAt = Out.size();
    Out.insert(Out.end(), Type, Type + 4);
    if (Size > 0) Out.insert(Out.end(), Data, Data + Size);
    const uLong Crc = crc32(crc32(0L, Z_NULL, 0), Out.data() + TypeAt, static_cast<uInt>(Size + 4));
    PutU32BE(Out, static_cast<std::uint32_t>(Crc));
}

// Deflates the filtered rows and cuts the stream into IDAT chunks as it grows.
class TIDATWriter {
public:
    explicit TIDATWriter(std::vector<std::uint8_t>& Out) : FOut(Out), FBuffer(MaxIDATBytes) {
        if (deflateInit(&FStream, ZlibLevel) != Z_OK) Fail();
        FStream.next_out = FBuffer.data();
        FStream.avail_out = static_cast<uInt>(FBuffer.size());
    }
    ~TIDATWriter() { deflateEnd(&FStream); }
    TIDATWriter(const TIDATWriter&) = delete;
    TIDATWriter& operator=(const TIDATWriter&) = delete;

    void Write(const std::uint8_t* Data, std::size_t Size) {
        FStream.next_in = const_cast<Bytef*>(Data);
        FStream.avail_in = static_cast<uInt>(Size);
        while (FStream.avail_in > 0) {
            if (deflate(&FStream, Z_NO_FLUSH) != Z_OK) Fail();
            FlushFull();
        }
    }
    void Finish() {
        int Result;
        do {
            Result = deflate(&FStream, Z_FINISH);
            if (Result != Z_OK && Result != Z_STREAM_END) Fail();
            FlushFull();
        } while (Result != Z_STREAM_END);
        const std::size_t Used = FBuffer.size() - FStream.avail_out;
        if (Used > 0) PutChunk(FOut, "IDAT", FBuffer.data(), Used);
    }

private:
    void FlushFull() {
        if (FStream.avail_out != 0) return;
        PutChunk(FOut, "IDAT", FBuffer.data(), FBuffer.size());
        FStream.next_out = FBuffer.data();
        FStream.avail_out = static_cast<uInt>(FBuffer.size());
    }
    [[noreturn]] void Fail() {
        RaiseFileError(fekWrite, FileTexts::SEncodeFailed, "PNG", FStream.msg ? FStream.msg : "zlib");
    }

    std::vector<std::uint8_t>& FOut;
    std::vector<std::uint8_t> FBuffer;
    z_stream FStream{};
};

} // namespace

TPNGImage::TPNGImage(int Width, int Height, TColorType ColorType, std::vector<std::uint8_t> Samples,
                     std::vector<std::array<std::uint8_t, 3>> Palette)
    : FWidth(Width), FHeight(Height), FColorType(ColorType), FSamples(std::move(Samples)),
      FPalette(std::move(Palette)) {
    if (Width < 0 || Height < 0) throw std::invalid_argument("TPNGImage: negative size");
    if (Channels() == 0) throw std::invalid_argument("TPNGImage: unknown colour type");
    if (FSamples.size() != static_cast<std::size_t>(Width) * Height * Channels())
        throw std::invalid_argument("TPNGImage: sample count does not match the size");
    if (FColorType == ctPalette && (FPalette.empty() || FPalette.size() > 256))
        throw std::invalid_argument("TPNGImage: a palette needs 1 to 256 entries");
}

TPNGImage TPNGImage::FromBitmap(const TBitmap32& ABitmap32) {
    const int W = ABitmap32.Empty() ? 0 : ABitmap32.Width();
    const int H = ABitmap32.Empty() ? 0 : ABitmap32.Height();
    std::vector<std::uint8_t> Samples(static_cast<std::size_t>(W) * H * 3);
    std::uint8_t* Out = Samples.data();
    for (int Y = 0; Y < H; ++Y) {
        const TColor32* Row = ABitmap32.ScanLine(Y);
        for (int X = 0; X < W; ++X) {
            *Out++ = static_cast<std::uint8_t>(RedComponent(Row[X]));
            *Out++ = static_cast<std::uint8_t>(GreenComponent(Row[X]));
            *Out++ = static_cast<std::uint8_t>(BlueComponent(Row[X]));
        }
    }
    return TPNGImage(W, H, ctRGB, std::move(Samples));
}

int TPNGImage::Channels() const {
    switch (FColorType) {
    case ctGrayscale: return 1;
    case ctRGB: return 3;
    case ctPalette: return 1;
    case ctGrayscaleAlpha: return 2;
    case ctRGBAlpha: return 4;
    }
    return 0;
}

std::uint8_t TPNGImage::AlphaAt(int X, int Y) const {
    const int C = Channels();
    return FSamples[(static_cast<std::size_t>(Y) * FWidth + X) * C + C - 1];
}

void TPNGImage::SetAlphaAt(int X, int Y, std::uint8_t Alpha) {
    const int C = Channels();
    FSamples[(static_cast<std::size_t>(Y) * FWidth + X) * C + C - 1] = Alpha;
}

void TPNGImage::AddAlphaChannel() {
    if (FColorType != ctGrayscale && FColorType != ctRGB) return;
    const int C = Channels();
    const std::size_t Pixels = static_cast<std::size_t>(FWidth) * FHeight;
    std::vector<std::uint8_t> Samples(Pixels * (C + 1));
    for (std::size_t I = 0; I < Pixels; ++I) {
        for (int K = 0; K < C; ++K) Samples[I * (C + 1) + K] = FSamples[I * C + K];
        Samples[I * (C + 1) + C] = 255;
    }
    FSamples = std::move(Samples);
    FColorType = FColorType == ctGrayscale ? ctGrayscaleAlpha : ctRGBAlpha;
}

std::vector<std::uint8_t> TPNGImage::SaveToBytes() const {
    if (FWidth == 0 || FHeight == 0) RaiseFileError(fekWrite, FileTexts::SEmptyPicture);
    return GuardMemory([&] {
        std::vector<std::uint8_t> Out(std::begin(Signature), std::end(Signature));
        std::vector<std::uint8_t> Header;
        PutU32BE(Header, static_cast<std::uint32_t>(FWidth));
        PutU32BE(Header, static_cast<std::uint32_t>(FHeight));
        Header.push_back(8); // bit depth
        Header.push_back(FColorType);
        Header.push_back(0); // compression
        Header.push_back(0); // filter method
        Header.push_back(0); // no interlace
        PutChunk(Out, "IHDR", Header.data(), Header.size());
        if (FColorType == ctPalette) PutChunk(Out, "PLTE", FPalette.front().data(), FPalette.size() * 3);

        const int Bpp = Channels();
        const std::size_t RowBytes = static_cast<std::size_t>(FWidth) * Bpp;
        std::vector<std::uint8_t> Filtered(RowBytes + 1);
        Filtered[0] = FilterSub;
        TIDATWriter IDAT(Out);
        for (int Y = 0; Y < FHeight; ++Y) {
            const std::uint8_t* Raw = FSamples.data() + RowBytes * Y;
            for (std::size_t I = 0; I < RowBytes; ++I)
                Filtered[I + 1] = static_cast<std::uint8_t>(
                    Raw[I] - (I >= static_cast<std::size_t>(Bpp) ? Raw[I - Bpp] : 0));
            IDAT.Write(Filtered.data(), Filtered.size());
        }
        IDAT.Finish();
        PutChunk(Out, "IEND", nullptr, 0);
        return Out;
    });
}

void AssignTransparentToPNG(TPNGImage& APNG, const TBitmap32& ABitmap32) {
    const int W = ABitmap32.Empty() ? 0 : ABitmap32.Width();
    const int H = ABitmap32.Empty() ? 0 : ABitmap32.Height();
    if (APNG.Height() != H || APNG.Width() != W) return;
    APNG.AddAlphaChannel();
    if (!APNG.HasAlpha()) return;
    for (int Y = 0; Y < H; ++Y) {
        const TColor32* Row = ABitmap32.ScanLine(Y);
        for (int X = 0; X < W; ++X) APNG.SetAlphaAt(X, Y, static_cast<std::uint8_t>(AlphaComponent(Row[X])));
    }
}

std::vector<std::uint8_t> EncodePNG(const TBitmap32& ABitmap32) {
    RequireNonEmpty(ABitmap32);
    return GuardMemory([&] { return TPNGImage::FromBitmap(ABitmap32).SaveToBytes(); });
}

std::vector<std::uint8_t> EncodeTransparentPNG(const TBitmap32& ABitmap32) {
    RequireNonEmpty(ABitmap32);
    return GuardMemory([&] {
        TPNGImage Image = TPNGImage::FromBitmap(ABitmap32);
        AssignTransparentToPNG(Image, ABitmap32);
        return Image.SaveToBytes();
    });
}

} // namespace zp
