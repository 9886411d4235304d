// Writes a small starting corpus for each fuzz target: valid files of many layouts, made with
// the libraries themselves and with our writers.

#include "CodecTestSupport.h"

#include "files/PictureCodecs.h"
#include "gfx/Base64.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace zp;
using namespace zp::test;

void Save(const std::filesystem::path& Folder, const std::string& Name, const TBytes& Data) {
    if (Data.empty()) return;
    std::filesystem::create_directories(Folder);
    std::ofstream(Folder / Name, std::ios::binary)
        .write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}

TBytes Noise(std::size_t N, std::uint32_t Seed) {
    TCodecNoise R(Seed);
    TBytes Out;
    for (std::size_t I = 0; I < N; ++I) Out.push_back(R.Byte());
    return Out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path Root = argv[1];
    const auto Picture = NoiseBitmap(9, 7, 1);

    struct TPng {
        int Type, Depth;
    };
    for (const TPng P : {TPng{0, 1}, TPng{0, 16}, TPng{2, 8}, TPng{3, 4}, TPng{4, 8}, TPng{6, 16}})
        for (const bool Interlaced : {false, true}) {
            TPngLayout Layout(6, 5, P.Type, P.Depth, Interlaced);
            const int Channels = P.Type == 2 ? 3 : P.Type == 4 ? 2 : P.Type == 6 ? 4 : 1;
            Layout.Rows = Noise(static_cast<std::size_t>(5 * ((6 * Channels * P.Depth + 7) / 8)), 3);
            if (P.Type == 3) {
                Layout.PaletteRGB = Noise(48, 4);
                Layout.TransAlpha = {0, 128, 255};
            }
            if (P.Type == 0) Layout.TransGray = 1;
            Save(Root / "png",
                 "t" + std::to_string(P.Type) + "d" + std::to_string(P.Depth) + (Interlaced ? "i" : ""),
                 WritePngWithLibpng(Layout));
        }
    Save(Root / "png", "ours", EncodePNG(*Picture));
    Save(Root / "string", "ours", [&] {
        const std::string S = Base64Encode(EncodeTransparentPNG(*Picture));
        return TBytes(S.begin(), S.end());
    }());

    for (const int Components : {1, 3, 4})
        for (const bool Progressive : {false, true}) {
            TJpegLayout Layout(17, 9, Components);
            Layout.Samples = Noise(static_cast<std::size_t>(17 * 9 * Components), 5);
            Layout.Quality = 75;
            Layout.Progressive = Progressive;
            Save(Root / "jpeg", "c" + std::to_string(Components) + (Progressive ? "p" : ""),
                 WriteJpegWithLibjpeg(Layout));
        }
    Save(Root / "jpeg", "ours", EncodeJPG(*Picture));

    const std::vector<TColor32> Colors = {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    for (const bool Interlaced : {false, true}) {
        TGifLayout Layout{8, 8, Colors, {{1, 2, 6, 5, Interlaced, {}, Interlaced ? 2 : -1, {}}}};
        for (int I = 0; I < 30; ++I) Layout.Images[0].Indices.push_back(static_cast<std::uint8_t>(I % 4));
        Save(Root / "gif", Interlaced ? "interlaced" : "plain", WriteGifWithGiflib(Layout));
    }

    Save(Root / "bmp", "ours32", EncodeBitmap(*Picture));
    Save(Root / "bmp", "rgb24", BuildBmp({3, -2, 24, 0, 40, {}, {}, Noise(24, 6)}));
    Save(Root / "bmp", "pal4", BuildBmp({5, 2, 4, 0, 40, Colors, {}, Noise(8, 7)}));
    Save(Root / "bmp", "bits16", BuildBmp({2, 1, 16, 3, 40, {}, {0xF800, 0x07E0, 0x001F}, Noise(4, 8)}));
    Save(Root / "bmp", "v5",
         BuildBmp({2, 1, 32, 3, 124, {}, {0xFF00, 0xFF0000, 0xFF000000, 0xFF}, Noise(8, 9)}));
    Save(Root / "bmp", "rle8", BuildBmp({4, 3, 8, 1, 40, Colors, {}, {3, 1, 0, 0, 0, 3, 2, 3, 0, 0,
                                                                      0, 0, 0, 2, 1, 0, 2, 2, 0, 1}}));
    Save(Root / "bmp", "rle4",
         BuildBmp({5, 2, 4, 2, 40, Colors, {}, {5, 0x12, 0, 0, 0, 3, 0x30, 0x20, 0, 1}}));
    Save(Root / "bmp", "core", BuildBmp({2, 1, 8, 0, 12, Colors, {}, {2, 1, 0, 0}}));
    return 0;
}
