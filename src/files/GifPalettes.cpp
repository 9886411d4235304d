#include "files/GifPalettes.h"

namespace zp {

namespace {

constexpr TGifColor Reserved[20] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

TGifColorMap MakeHalftone() {
    TGifColorMap P(256);
    for (int I = 0; I < 256; ++I) {
        if (I < 10)
            P[I] = Reserved[I];
        else if (I >= 246)
            P[I] = Reserved[I - 236];
        else
            P[I] = {static_cast<std::uint8_t>((I & 7) * 32), static_cast<std::uint8_t>(((I >> 3) & 7) * 32),
                    static_cast<std::uint8_t>((I >> 6) * 64)};
    }
    return P;
}

TGifColorMap MakeGrayScale() {
    TGifColorMap P(256);
    for (int I = 0; I < 256; ++I) {
        const auto V = static_cast<std::uint8_t>(I);
        P[I] = {V, V, V};
    }
    return P;
}

TGifColorMap MakeNetscape() {
    TGifColorMap P;
    P.reserve(216);
    for (int R = 0; R < 6; ++R)
        for (int G = 0; G < 6; ++G)
            for (int B = 0; B < 6; ++B)
                P.push_back({static_cast<std::uint8_t>(51 * R), static_cast<std::uint8_t>(51 * G),
                             static_cast<std::uint8_t>(51 * B)});
    return P;
}

} // namespace

const TGifColorMap& Windows20Palette() {
    static const TGifColorMap P(std::begin(Reserved), std::end(Reserved));
    return P;
}

const TGifColorMap& WindowsHalftonePalette() {
    static const TGifColorMap P = MakeHalftone();
    return P;
}

const TGifColorMap& WindowsGrayPalette() {
    static const TGifColorMap P = {{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}};
    return P;
}

const TGifColorMap& MonochromePalette() {
    static const TGifColorMap P = {{0, 0, 0}, {255, 255, 255}};
    return P;
}

const TGifColorMap& GrayScalePalette() {
    static const TGifColorMap P = MakeGrayScale();
    return P;
}

const TGifColorMap& NetscapePalette() {
    static const TGifColorMap P = MakeNetscape();
    return P;
}

} // namespace zp
