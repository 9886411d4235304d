#pragma once

// Reads GIF bytes with giflib, an independent decoder, so the tests compare what a viewer
// would see with what the reducer produced.

#include "files/GifPalettes.h"

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace zp::test {

struct TDecodedExtension {
    int Function;
    std::vector<std::uint8_t> Bytes;
};

struct TDecodedImage {
    int Left, Top, Width, Height;
    TGifColorMap ColorMap;
    int ColorMapBits;
    std::vector<std::uint8_t> Pixels;
    std::vector<TDecodedExtension> Extensions;

    // -1 when the image has no graphic control extension.
    int Delay() const {
        for (const auto& E : Extensions)
            if (E.Function == GRAPHICS_EXT_FUNC_CODE && E.Bytes.size() == 4)
                return E.Bytes[1] | (E.Bytes[2] << 8);
        return -1;
    }
    // -1 when the image has no loop extension.
    int Loops() const {
        for (std::size_t I = 0; I + 1 < Extensions.size(); ++I)
            if (Extensions[I].Function == APPLICATION_EXT_FUNC_CODE && Extensions[I].Bytes.size() == 11 &&
                std::memcmp(Extensions[I].Bytes.data(), "NETSCAPE2.0", 11) == 0) {
                const auto& Sub = Extensions[I + 1].Bytes;
                if (Sub.size() == 3 && Sub[0] == 1) return Sub[1] | (Sub[2] << 8);
            }
        return -1;
    }
};

struct TDecodedGif {
    int Width, Height;
    bool HasGlobalColorMap;
    std::vector<TDecodedImage> Images;
};

inline TDecodedGif DecodeGif(const std::vector<std::uint8_t>& Bytes) {
    struct TSource {
        const std::vector<std::uint8_t>* Data;
        std::size_t Pos;
    } Source{&Bytes, 0};
    auto Read = [](GifFileType* F, GifByteType* Buf, int Len) -> int {
        auto* S = static_cast<TSource*>(F->UserData);
        const std::size_t N = std::min<std::size_t>(static_cast<std::size_t>(Len), S->Data->size() - S->Pos);
        std::memcpy(Buf, S->Data->data() + S->Pos, N);
        S->Pos += N;
        return static_cast<int>(N);
    };
    int Error = 0;
    GifFileType* F = DGifOpen(&Source, Read, &Error);
    if (!F) throw std::runtime_error(std::string("DGifOpen: ") + GifErrorString(Error));
    if (DGifSlurp(F) != GIF_OK) {
        const std::string Message = GifErrorString(F->Error);
        DGifCloseFile(F, &Error);
        throw std::runtime_error("DGifSlurp: " + Message);
    }
    TDecodedGif Out{F->SWidth, F->SHeight, F->SColorMap != nullptr, {}};
    for (int I = 0; I < F->ImageCount; ++I) {
        const SavedImage& S = F->SavedImages[I];
        TDecodedImage Image{
            S.ImageDesc.Left, S.ImageDesc.Top, S.ImageDesc.Width, S.ImageDesc.Height, {}, 0, {}, {}};
        if (const ColorMapObject* Map = S.ImageDesc.ColorMap) {
            Image.ColorMapBits = Map->BitsPerPixel;
            for (int C = 0; C < Map->ColorCount; ++C)
                Image.ColorMap.push_back({Map->Colors[C].Red, Map->Colors[C].Green, Map->Colors[C].Blue});
        }
        Image.Pixels.assign(S.RasterBits,
                            S.RasterBits + static_cast<std::size_t>(Image.Width) * Image.Height);
        for (int E = 0; E < S.ExtensionBlockCount; ++E) {
            const ExtensionBlock& B = S.ExtensionBlocks[E];
            Image.Extensions.push_back(
                {B.Function, std::vector<std::uint8_t>(B.Bytes, B.Bytes + B.ByteCount)});
        }
        Out.Images.push_back(std::move(Image));
    }
    DGifCloseFile(F, &Error);
    return Out;
}

// The colour table as written: the entries, then black up to a power of two.
inline TGifColorMap PaddedColorMap(TGifColorMap Map) {
    std::size_t Size = 2;
    while (Size < Map.size()) Size *= 2;
    Map.resize(Size, TGifColor{});
    return Map;
}

} // namespace zp::test
