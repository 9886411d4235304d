#include "files/CodecSupport.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zp {

namespace {

using namespace codec;

constexpr const char* FormatName = "BMP";

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;

constexpr std::size_t FileHeaderSize = 14;

// Little-endian reads with an explicit bound; every read is checked against the data's end.
class TByteReader {
public:
    explicit TByteReader(std::span<const std::uint8_t> Data) : FData(Data) {}
    bool Has(std::size_t Offset, std::size_t Count) const {
        return Offset <= FData.size() && Count <= FData.size() - Offset;
    }
    std::uint32_t U16(std::size_t Offset) const {
        if (!Has(Offset, 2)) Truncated(FormatName);
        return FData[Offset] | (std::uint32_t{FData[Offset + 1]} << 8);
    }
    std::uint32_t U32(std::size_t Offset) const { return U16(Offset) | (U16(Offset + 2) << 16); }
    std::int32_t I32(std::size_t Offset) const { return static_cast<std::int32_t>(U32(Offset)); }
    std::size_t Size() const { return FData.size(); }
    const std::uint8_t* At(std::size_t Offset) const { return FData.data() + Offset; }

private:
    std::span<const std::uint8_t> FData;
};

// One channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint64_t Max = 0;

    explicit TChannel(std::uint32_t AMask = 0) : Mask(AMask) {
        if (Mask == 0) return;
        Shift = std::countr_zero(Mask);
        Max = (std::uint64_t{Mask} >> Shift);
    }
    unsigned Get(std::uint32_t Pixel) const {
        if (Mask == 0) return 0;
        // Masks with holes are read as if the hole were part of the field.
        const std::uint64_t V = (std::uint64_t{Pixel & Mask} >> Shift);
        return static_cast<unsigned>((V * 255 + Max / 2) / Max);
    }
};

struct THeader {
    std::int64_t Width = 0;
    std::int64_t Height = 0; // positive; TopDown tells the row order
    bool TopDown = false;
    unsigned BitCount = 0;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t ColorsUsed = 0;
    std::size_t PaletteOffset = 0;
    std::size_t PaletteEntrySize = 4;
    std::uint32_t Masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool HasMasks = false;
};

THeader ReadHeader(const TByteReader& R) {
    if (!R.Has(0, FileHeaderSize + 4)) Truncated(FormatName);
    if (R.At(0)[0] != 'B' || R.At(0)[1] != 'M') Malformed(FormatName, "keine BMP-Kennung");
    THeader H;
    const std::uint32_t InfoSize = R.U32(FileHeaderSize);
    const std::size_t Info = FileHeaderSize;
    if (InfoSize == 12) {
        // The old OS/2 header: 16-bit sizes, palette entries of three bytes.
        H.Width = R.U16(Info + 4);
        H.Height = R.U16(Info + 6);
        H.BitCount = R.U16(Info + 10);
        H.PaletteEntrySize = 3;
    } else if (InfoSize >= 16 && InfoSize <= 1024) {
        if (!R.Has(Info, InfoSize)) Truncated(FormatName);
        H.Width = R.I32(Info + 4);
        const std::int32_t Height = R.I32(Info + 8);
        H.TopDown = Height < 0;
        H.Height = Height < 0 ? -std::int64_t{Height} : Height;
        H.BitCount = R.U16(Info + 14);
        if (InfoSize >= 20) H.Compression = R.U32(Info + 16);
        if (InfoSize >= 36) H.ColorsUsed = R.U32(Info + 32);
        if (InfoSize == 16 || InfoSize == 64) {
            // OS/2 2.x numbers its compressions differently; only the plain ones mean the same.
            if (H.Compression != BI_RGB && H.Compression != BI_RLE8 && H.Compression != BI_RLE4)
                Unsupported(FormatName, "OS/2-Kompression " + std::to_string(H.Compression));
        } else if (H.Compression == BI_BITFIELDS || H.Compression == BI_ALPHABITFIELDS) {
            H.HasMasks = true;
            const int MaskCount = H.Compression == BI_ALPHABITFIELDS ? 4 : 3;
            if (InfoSize >= 52) {
                // The masks are part of the header (V2 and later).
                for (int I = 0; I < 3; ++I) H.Masks[I] = R.U32(Info + 40 + 4 * I);
                if (InfoSize >= 56) H.Masks[3] = R.U32(Info + 52);
            } else {
                for (int I = 0; I < MaskCount; ++I) H.Masks[I] = R.U32(Info + InfoSize + 4 * I);
            }
            if (InfoSize < 52) H.PaletteOffset = 4 * static_cast<std::size_t>(MaskCount);
        }
    } else {
        Malformed(FormatName, "Kopfgröße " + std::to_string(InfoSize));
    }
    H.PaletteOffset += Info + InfoSize;
    return H;
}

// The palette as opaque colours; entries the file does not hold stay opaque black.
std::array<TColor32, 256> ReadPalette(const TByteReader& R, const THeader& H, std::size_t PixelOffset) {
    std::array<TColor32, 256> Palette;
    Palette.fill(clBlack32);
    if (H.BitCount > 8) return Palette;
    std::size_t Count = H.ColorsUsed != 0 ? H.ColorsUsed : std::size_t{1} << H.BitCount;
    Count = std::min<std::size_t>(Count, 256);
    // Some writers count more colours than they store before the pixels.
    if (PixelOffset > H.PaletteOffset)
        Count = std::min(Count, (PixelOffset - H.PaletteOffset) / H.PaletteEntrySize);
    for (std::size_t I = 0; I < Count; ++I) {
        const std::size_t At = H.PaletteOffset + I * H.PaletteEntrySize;
        if (!R.Has(At, 3)) break;
        const std::uint8_t* P = R.At(At);
        Palette[I] = Color32(P[2], P[1], P[0]);
    }
    return Palette;
}

std::uint64_t RowStride(const THeader& H) {
    return (static_cast<std::uint64_t>(H.Width) * H.BitCount + 31) / 32 * 4;
}

// Uncompressed data must be complete; only the last row may lack its padding.
void CheckUncompressedSize(const TByteReader& R, const THeader& H, std::size_t PixelOffset) {
    const std::uint64_t Needed = RowStride(H) * static_cast<std::uint64_t>(H.Height - 1) +
                                 (static_cast<std::uint64_t>(H.Width) * H.BitCount + 7) / 8;
    if (PixelOffset > R.Size() || R.Size() - PixelOffset < Needed) Truncated(FormatName);
}

void DecodeUncompressed(const TByteReader& R, const THeader& H, std::size_t PixelOffset,
                        const std::array<TColor32, 256>& Palette, TBitmap32& Bitmap) {
    const std::uint64_t Stride = RowStride(H);

    std::uint32_t Masks[4];
    std::copy(std::begin(H.Masks), std::end(H.Masks), Masks);
    if (!H.HasMasks) {
        if (H.BitCount == 16) {
            Masks[0] = 0x7C00, Masks[1] = 0x03E0, Masks[2] = 0x001F;
        } else if (H.BitCount == 32) {
            Masks[0] = 0x00FF0000, Masks[1] = 0x0000FF00, Masks[2] = 0x000000FF;
        }
    }
    // A 32-bit picture keeps its fourth byte as alpha unless the colours use that byte; other
    // depths are opaque.
    bool UseAlpha = H.BitCount == 32;
    if (UseAlpha && Masks[3] == 0) {
        if (((Masks[0] | Masks[1] | Masks[2]) & 0xFF000000u) == 0)
            Masks[3] = 0xFF000000u;
        else
            UseAlpha = false;
    }
    const TChannel Red(Masks[0]), Green(Masks[1]), Blue(Masks[2]), Alpha(Masks[3]);
    const bool Plain32 = H.BitCount == 32 && Masks[0] == 0x00FF0000 && Masks[1] == 0x0000FF00 &&
                         Masks[2] == 0x000000FF && Masks[3] == 0xFF000000u;

    const int W = Bitmap.Width();
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        const int FileRow = H.TopDown ? Y : Bitmap.Height() - 1 - Y;
        const std::uint8_t* Src = R.At(PixelOffset + static_cast<std::size_t>(Stride * FileRow));
        TColor32* Dst = Bitmap.ScanLine(Y);
        switch (H.BitCount) {
        case 1:
        case 2:
        case 4:
        case 8: {
            const unsigned Bits = H.BitCount;
            const unsigned PerByte = 8 / Bits;
            const unsigned ValueMask = (1u << Bits) - 1;
            for (int X = 0; X < W; ++X) {
                const unsigned Byte = Src[X / PerByte];
                const unsigned Shift = 8 - Bits * (X % PerByte + 1);
                Dst[X] = Palette[(Byte >> Shift) & ValueMask];
            }
            break;
        }
        case 16:
            for (int X = 0; X < W; ++X) {
                const std::uint32_t P = Src[2 * X] | (std::uint32_t{Src[2 * X + 1]} << 8);
                Dst[X] = Color32(Red.Get(P), Green.Get(P), Blue.Get(P));
            }
            break;
        case 24:
            for (int X = 0; X < W; ++X) Dst[X] = Color32(Src[3 * X + 2], Src[3 * X + 1], Src[3 * X]);
            break;
        case 32:
            if (Plain32) {
                std::memcpy(Dst, Src, static_cast<std::size_t>(W) * 4);
                break;
            }
            for (int X = 0; X < W; ++X) {
                const std::uint8_t* S = Src + 4 * X;
                const std::uint32_t P = S[0] | (std::uint32_t{S[1]} << 8) | (std::uint32_t{S[2]} << 16) |
                                        (std::uint32_t{S[3]} << 24);
                Dst[X] = Color32(Red.Get(P), Green.Get(P), Blue.Get(P), UseAlpha ? Alpha.Get(P) : 255);
            }
            break;
        }
    }
}

// RLE8 and RLE4, always bottom-up. Pixels the data skip (deltas, early ends of lines) stay
// opaque black.
void DecodeRLE(const TByteReader& R, const THeader& H, std::size_t PixelOffset,
               const std::array<TColor32, 256>& Palette, TBitmap32& Bitmap) {
    if (H.TopDown) Malformed(FormatName, "komprimiertes Bild von oben nach unten");
    const bool Four = H.Compression == BI_RLE4;
    if (H.BitCount != (Four ? 4u : 8u)) Malformed(FormatName, "Kompression passt nicht zur Farbtiefe");
    Bitmap.Clear(clBlack32);
    const std::int64_t W = Bitmap.Width();
    const std::int64_t Rows = Bitmap.Height();
    std::int64_t X = 0;
    std::int64_t Line = 0; // counted from the bottom
    std::size_t Pos = PixelOffset;
    const auto Put = [&](unsigned Index) {
        if (X < W && Line < Rows)
            Bitmap.SetPixel(static_cast<int>(X), static_cast<int>(Rows - 1 - Line), Palette[Index]);
        ++X;
    };
    const auto Byte = [&]() -> unsigned {
        if (Pos >= R.Size()) Truncated(FormatName);
        return *R.At(Pos++);
    };
    while (Line < Rows) {
        if (Pos >= R.Size()) Truncated(FormatName);
        const unsigned Count = Byte();
        const unsigned Value = Byte();
        if (Count > 0) {
            for (unsigned I = 0; I < Count && X < W; ++I)
                Put(Four ? (I % 2 == 0 ? Value >> 4 : Value & 15) : Value);
            continue;
        }
        switch (Value) {
        case 0: // end of line
            X = 0;
            ++Line;
            break;
        case 1: // end of bitmap
            return;
        case 2: { // delta
            const unsigned DX = Byte();
            const unsigned DY = Byte();
            X += DX;
            Line += DY;
            break;
        }
        default: { // a run of literal pixels, padded to an even number of bytes
            const unsigned N = Value;
            const std::size_t Bytes = Four ? (N + 1) / 2 : N;
            if (!R.Has(Pos, Bytes)) Truncated(FormatName);
            const std::uint8_t* Src = R.At(Pos);
            for (unsigned I = 0; I < N && X < W; ++I)
                Put(Four ? (I % 2 == 0 ? Src[I / 2] >> 4 : Src[I / 2] & 15) : Src[I]);
            Pos += Bytes + (Bytes & 1);
            break;
        }
        }
    }
}

} // namespace

std::unique_ptr<TBitmap32> DecodeBMP(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits) {
    return GuardMemory([&] {
        const TByteReader R(Data);
        const THeader H = ReadHeader(R);
        switch (H.BitCount) {
        case 1:
        case 2:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32: break;
        default: Unsupported(FormatName, std::to_string(H.BitCount) + " Bit je Pixel");
        }
        const bool RLE = H.Compression == BI_RLE8 || H.Compression == BI_RLE4;
        const bool Fields = H.Compression == BI_BITFIELDS || H.Compression == BI_ALPHABITFIELDS;
        if (!RLE && !Fields && H.Compression != BI_RGB)
            Unsupported(FormatName, "Kompression " + std::to_string(H.Compression));
        if (Fields && H.BitCount != 16 && H.BitCount != 32)
            Malformed(FormatName, "Bitfelder bei " + std::to_string(H.BitCount) + " Bit je Pixel");

        std::size_t PixelOffset = R.U32(10);
        // A zero or impossible offset: the pixels follow the palette.
        if (PixelOffset < H.PaletteOffset) {
            const std::size_t Entries = H.BitCount <= 8
                                            ? (H.ColorsUsed != 0 ? std::min<std::size_t>(H.ColorsUsed, 256)
                                                                 : std::size_t{1} << H.BitCount)
                                            : 0;
            PixelOffset = H.PaletteOffset + Entries * H.PaletteEntrySize;
        }
        if (PixelOffset >= Data.size()) Truncated(FormatName);
        CheckPictureSize(FormatName, H.Width, H.Height, Limits);
        // Checked before the surface is taken, so a short file claiming a huge size costs nothing.
        if (!RLE) CheckUncompressedSize(R, H, PixelOffset);
        const auto Palette = ReadPalette(R, H, PixelOffset);
        auto Bitmap = NewSurface(FormatName, H.Width, H.Height, Limits);
        if (RLE)
            DecodeRLE(R, H, PixelOffset, Palette, *Bitmap);
        else
            DecodeUncompressed(R, H, PixelOffset, Palette, *Bitmap);
        return Bitmap;
    });
}

std::vector<std::uint8_t> EncodeBitmap(const TBitmap32& ABitmap32) {
    RequireNonEmpty(ABitmap32);
    return GuardMemory([&] {
        const std::uint64_t PixelBytes = std::uint64_t{4} * ABitmap32.Width() * ABitmap32.Height();
        constexpr std::uint32_t HeadersSize = FileHeaderSize + 40;
        // The surface's own maximum keeps this far below the 32-bit size fields' limit.
        std::vector<std::uint8_t> Out;
        Out.reserve(HeadersSize + PixelBytes);
        Out.push_back('B');
        Out.push_back('M');
        PutU32LE(Out, static_cast<std::uint32_t>(HeadersSize + PixelBytes));
        PutU32LE(Out, 0); // reserved
        PutU32LE(Out, HeadersSize);
        PutU32LE(Out, 40);
        PutU32LE(Out, static_cast<std::uint32_t>(ABitmap32.Width()));
        PutU32LE(Out, static_cast<std::uint32_t>(ABitmap32.Height())); // positive: bottom-up
        PutU16LE(Out, 1);                                              // planes
        PutU16LE(Out, 32);
        PutU32LE(Out, BI_RGB);
        PutU32LE(Out, static_cast<std::uint32_t>(PixelBytes));
        PutU32LE(Out, 0); // horizontal resolution
        PutU32LE(Out, 0); // vertical resolution
        PutU32LE(Out, 0); // colours used
        PutU32LE(Out, 0); // important colours
        const std::size_t RowBytes = static_cast<std::size_t>(ABitmap32.Width()) * 4;
        for (int Y = ABitmap32.Height() - 1; Y >= 0; --Y) {
            // TColor32 in memory is already blue, green, red, alpha.
            const auto* Row = reinterpret_cast<const std::uint8_t*>(ABitmap32.ScanLine(Y));
            Out.insert(Out.end(), Row, Row + RowBytes);
        }
        return Out;
    });
}

} // namespace zp
