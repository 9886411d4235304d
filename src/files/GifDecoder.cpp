#include "files/CodecSupport.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace zp {

namespace {

using namespace codec;

constexpr const char* FormatName = "GIF";

struct TGifSource {
    std::span<const std::uint8_t> Data;
    std::size_t Pos = 0;
    bool Truncated = false;
};

int OnRead(GifFileType* Gif, GifByteType* Out, int Count) {
    auto* S = static_cast<TGifSource*>(Gif->UserData);
    const std::size_t Left = S->Data.size() - S->Pos;
    if (Count < 0) return 0;
    std::size_t N = static_cast<std::size_t>(Count);
    if (N > Left) {
        S->Truncated = true;
        N = Left;
    }
    std::memcpy(Out, S->Data.data() + S->Pos, N);
    S->Pos += N;
    return static_cast<int>(N);
}

struct TGifCloser {
    GifFileType* Gif = nullptr;
    ~TGifCloser() {
        int Error = 0;
        if (Gif) DGifCloseFile(Gif, &Error);
    }
};

[[noreturn]] void Fail(const TGifSource& Source, int Error) {
    if (Source.Truncated || Error == D_GIF_ERR_READ_FAILED || Error == D_GIF_ERR_EOF_TOO_SOON)
        Truncated(FormatName);
    if (Error == D_GIF_ERR_NOT_ENOUGH_MEM) OutOfMemory();
    const char* Text = GifErrorString(Error);
    Malformed(FormatName, Text ? Text : "giflib " + std::to_string(Error));
}

// The colours of an image: its local table, else the global one. A file with neither gets a
// grey ramp, as the format suggests for that case.
std::array<TColor32, 256> ColorTable(const GifFileType* Gif) {
    std::array<TColor32, 256> Table;
    Table.fill(clBlack32);
    const ColorMapObject* Map = Gif->Image.ColorMap ? Gif->Image.ColorMap : Gif->SColorMap;
    if (!Map || !Map->Colors) {
        for (int I = 0; I < 256; ++I) Table[I] = Color32(I, I, I);
        return Table;
    }
    const int Count = std::clamp(Map->ColorCount, 0, 256);
    for (int I = 0; I < Count; ++I)
        Table[I] = Color32(Map->Colors[I].Red, Map->Colors[I].Green, Map->Colors[I].Blue);
    return Table;
}

std::unique_ptr<TBitmap32> DecodeFirstImage(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits,
                                            bool KeepTransparency) {
    return GuardMemory([&]() -> std::unique_ptr<TBitmap32> {
        if (Data.empty()) RaiseFileError(fekMalformed, FileTexts::SNoData);
        TGifSource Source{Data};
        int Error = 0;
        TGifCloser File;
        File.Gif = DGifOpen(&Source, OnRead, &Error);
        if (!File.Gif) Fail(Source, Error);
        GifFileType* Gif = File.Gif;

        int TransparentIndex = NO_TRANSPARENT_COLOR;
        for (;;) {
            GifRecordType Record;
            if (DGifGetRecordType(Gif, &Record) == GIF_ERROR) Fail(Source, Gif->Error);
            if (Record == TERMINATE_RECORD_TYPE) Malformed(FormatName, "kein Bild enthalten");
            if (Record == EXTENSION_RECORD_TYPE) {
                int Code = 0;
                GifByteType* Block = nullptr;
                if (DGifGetExtension(Gif, &Code, &Block) == GIF_ERROR) Fail(Source, Gif->Error);
                // Only the graphic control block in front of the first image matters: it names
                // the transparent colour.
                if (Code == GRAPHICS_EXT_FUNC_CODE && Block && Block[0] == 4) {
                    GraphicsControlBlock Control;
                    if (DGifExtensionToGCB(Block[0], Block + 1, &Control) == GIF_OK)
                        TransparentIndex = Control.TransparentColor;
                }
                while (Block) {
                    if (DGifGetExtensionNext(Gif, &Block) == GIF_ERROR) Fail(Source, Gif->Error);
                }
                continue;
            }
            if (Record != IMAGE_DESC_RECORD_TYPE) Malformed(FormatName, "unbekannter Block");
            break;
        }
        if (DGifGetImageDesc(Gif) == GIF_ERROR) Fail(Source, Gif->Error);

        const GifImageDesc& Image = Gif->Image;
        // A logical screen of no size is taken from the image.
        std::int64_t ScreenW = Gif->SWidth, ScreenH = Gif->SHeight;
        if (ScreenW <= 0 || ScreenH <= 0) {
            ScreenW = std::int64_t{Image.Left} + Image.Width;
            ScreenH = std::int64_t{Image.Top} + Image.Height;
        }
        if (std::int64_t{Image.Width} * Image.Height > std::min(Limits.MaxPixels, TBitmap32::MaxPixels) ||
            Image.Width > Limits.MaxSide || Image.Height > Limits.MaxSide)
            TooLarge(Image.Width, Image.Height);
        auto Bitmap = NewSurface(FormatName, ScreenW, ScreenH, Limits);
        if (Image.Width <= 0 || Image.Height <= 0) {
            if (!KeepTransparency) Bitmap->ResetAlpha(255);
            return Bitmap;
        }

        const auto Colors = ColorTable(Gif);
        std::vector<GifPixelType> Line(static_cast<std::size_t>(Image.Width));
        // Rows of an interlaced image arrive in four passes.
        static constexpr int PassStart[4] = {0, 4, 2, 1};
        static constexpr int PassStep[4] = {8, 8, 4, 2};
        const int Passes = Image.Interlace ? 4 : 1;
        for (int Pass = 0; Pass < Passes; ++Pass) {
            const int Start = Image.Interlace ? PassStart[Pass] : 0;
            const int Step = Image.Interlace ? PassStep[Pass] : 1;
            for (int Row = Start; Row < Image.Height; Row += Step) {
                if (DGifGetLine(Gif, Line.data(), Image.Width) == GIF_ERROR) Fail(Source, Gif->Error);
                const std::int64_t Y = std::int64_t{Image.Top} + Row;
                if (Y >= Bitmap->Height()) continue;
                TColor32* Dst = Bitmap->ScanLine(static_cast<int>(Y));
                for (int X = 0; X < Image.Width; ++X) {
                    const std::int64_t DX = std::int64_t{Image.Left} + X;
                    if (DX >= Bitmap->Width()) break;
                    // The transparent colour leaves the surface's transparent black.
                    if (Line[X] != TransparentIndex) Dst[DX] = Colors[Line[X]];
                }
            }
        }
        if (!KeepTransparency) Bitmap->ResetAlpha(255);
        return Bitmap;
    });
}

} // namespace

std::unique_ptr<TBitmap32> DecodeGIF(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits) {
    return DecodeFirstImage(Data, Limits, false);
}

std::unique_ptr<TBitmap32> DecodeGIFWithAlpha(std::span<const std::uint8_t> Data,
                                              const TDecodeLimits& Limits) {
    return DecodeFirstImage(Data, Limits, true);
}

} // namespace zp
