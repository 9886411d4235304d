#include "files/CodecSupport.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace zp {

namespace codec {

void Truncated(const char* FormatName) {
    RaiseFileError(fekTruncated, FileTexts::STruncated, FormatName);
}

void Malformed(const char* FormatName, const std::string& Detail) {
    RaiseFileError(fekMalformed, FileTexts::SMalformed, FormatName, Detail);
}

void Unsupported(const char* FormatName, const std::string& Detail) {
    RaiseFileError(fekUnsupported, FileTexts::SUnsupported, FormatName, Detail);
}

void TooLarge(std::int64_t Width, std::int64_t Height) {
    RaiseFileError(fekTooLarge, FileTexts::STooLarge, {},
                   std::to_string(Width) + " x " + std::to_string(Height));
}

void OutOfMemory() {
    RaiseFileError(fekTooLarge, FileTexts::SOutOfMemory);
}

void CheckPictureSize(const char* FormatName, std::int64_t Width, std::int64_t Height,
                      const TDecodeLimits& Limits) {
    if (Width < 1 || Height < 1)
        Malformed(FormatName, "Breite " + std::to_string(Width) + ", Höhe " + std::to_string(Height));
    // Each side is below 2^32 in every format, so the product cannot overflow.
    const std::int64_t Pixels = Width * Height;
    if (Width > Limits.MaxSide || Height > Limits.MaxSide || Width > INT32_MAX || Height > INT32_MAX ||
        Pixels > Limits.MaxPixels || Pixels > TBitmap32::MaxPixels)
        TooLarge(Width, Height);
}

std::unique_ptr<TBitmap32> NewSurface(const char* FormatName, std::int64_t Width, std::int64_t Height,
                                      const TDecodeLimits& Limits) {
    CheckPictureSize(FormatName, Width, Height, Limits);
    auto Bitmap = std::make_unique<TBitmap32>();
    try {
        Bitmap->SetSize(static_cast<int>(Width), static_cast<int>(Height));
    } catch (const EBitmapError&) {
        OutOfMemory();
    }
    return Bitmap;
}

void ComposeOverBlack(TBitmap32& Bitmap) {
    const std::int64_t Count = std::int64_t{Bitmap.Width()} * Bitmap.Height();
    TColor32* P = Bitmap.Bits();
    for (std::int64_t I = 0; I < Count; ++I) {
        const TColor32 C = P[I];
        const unsigned A = AlphaComponent(C);
        if (A == 255) continue;
        // Rounded c * a / 255; the numerator is never an exact half.
        const auto Scale = [A](unsigned V) { return (V * A + 127) / 255; };
        P[I] = Color32(Scale(RedComponent(C)), Scale(GreenComponent(C)), Scale(BlueComponent(C)), 255);
    }
}

void RequireNonEmpty(const TBitmap32& Bitmap) {
    if (Bitmap.Empty()) RaiseFileError(fekWrite, FileTexts::SEmptyPicture);
}

} // namespace codec

TPictureFormat PictureFormatOfExtension(std::string_view Ext) {
    std::string Lower(Ext);
    std::transform(Lower.begin(), Lower.end(), Lower.begin(),
                   [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
    if (Lower == ".bmp") return pfBMP;
    if (Lower == ".jpg" || Lower == ".jpeg") return pfJPEG;
    if (Lower == ".gif") return pfGIF;
    if (Lower == ".png") return pfPNG;
    return pfNone;
}

std::unique_ptr<TBitmap32> DecodePicture(std::span<const std::uint8_t> Data, TPictureFormat Format,
                                         const TDecodeLimits& Limits) {
    switch (Format) {
    case pfBMP: return DecodeBMP(Data, Limits);
    case pfJPEG: return DecodeJPEG(Data, Limits);
    case pfGIF: return DecodeGIF(Data, Limits);
    case pfPNG: return DecodePNG(Data, Limits);
    case pfNone: break;
    }
    RaiseFileError(fekUnsupported, FileTexts::SUnknownKind, "?");
}

} // namespace zp
