// Redrawing a 1000 x 800 photo layer with outline, shadow and a gradient: the first drawing
// (with the silhouette traced) and a repeated one of the unchanged layer (goal: under 50 ms).
#include "layers/PicLayer.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace zp;

std::unique_ptr<TPicLayer> Photo() {
    TBitmap32 B;
    B.SetSize(1000, 800);
    std::mt19937 Rng(7);
    for (int Y = 0; Y < 800; ++Y)
        for (int X = 0; X < 1000; ++X)
            B.SetPixel(X, Y,
                       Color32(static_cast<unsigned>(X / 4 + Rng() % 16), static_cast<unsigned>(Y / 4),
                               static_cast<unsigned>((X + Y) / 8)));
    auto P = std::make_unique<TPicLayer>(B);
    T2DLayerStyle& S = P->LayerStyle();
    S.SetOutline(true);
    S.SetOutlineSize(4);
    S.SetShadow(true);
    S.SetFillGradient(true);
    S.SetFillGradientColor1(0x80FF0000);
    S.SetFillGradientColor2(0x800000FF);
    S.SetFillGradientPStart({0, 0});
    S.SetFillGradientPEnd({1000, 800});
    return P;
}

void BM_FirstDrawing(benchmark::State& State) {
    const std::unique_ptr<TPicLayer> P = Photo();
    for (auto _ : State) {
        P->ForgetSilhouette();
        P->Paint();
    }
}
BENCHMARK(BM_FirstDrawing)->Name("PhotoLayer/traced")->Unit(benchmark::kMillisecond);

void BM_Repeated(benchmark::State& State) {
    const std::unique_ptr<TPicLayer> P = Photo();
    P->Paint();
    for (auto _ : State) P->Paint();
}
BENCHMARK(BM_Repeated)->Name("PhotoLayer/unchanged")->Unit(benchmark::kMillisecond);

} // namespace
