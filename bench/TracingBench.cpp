// Outline tracing on 2000 x 2000 surfaces. The picture layer traces its whole bitmap at every
// redraw, so a trace should stay well below a frame's worth of time for ordinary silhouettes;
// the comb shows the worst case, a boundary through nearly every pixel.
#include "layers/MarchingSquares.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace zp;

constexpr int Side = 2000;

// A picture drawn the way the picture layer places it: its top-left corner at the centre of the
// bitmap, everything else transparent. The silhouette is a disc with a wavy rim, its edge
// pixels partly transparent as anti-aliasing leaves them.
void MakePictureLayer(TBitmap32& B) {
    B.SetSize(Side, Side);
    B.Clear(0);
    const double CX = Side * 0.75, CY = Side * 0.75, R = Side * 0.2;
    for (int Y = Side / 2; Y < Side; ++Y)
        for (int X = Side / 2; X < Side; ++X) {
            const double DX = X - CX, DY = Y - CY;
            const double Rim = R * (1 + 0.08 * std::sin(12 * std::atan2(DY, DX)));
            const double Inside = Rim - std::sqrt(DX * DX + DY * DY);
            if (Inside > 0) B.SetPixel(X, Y, Inside >= 1 ? 0xFF3070B0u : 0x803070B0u);
        }
}

// Teeth one pixel wide hanging from a bar along the top: the boundary passes almost every pixel.
void MakeComb(TBitmap32& B) {
    B.SetSize(Side, Side);
    B.Clear(0);
    B.FillRect(1, 1, Side - 1, 2, 0xFF000000);
    for (int X = 1; X < Side - 1; X += 2) B.FillRect(X, 2, X + 1, Side - 1, 0xFF000000);
}

template <void (*Make)(TBitmap32&)> void BM_Trace(benchmark::State& State) {
    TBitmap32 B;
    Make(B);
    std::size_t Points = 0;
    for (auto _ : State) {
        TMarchingSqare Tracer(B, {0, 0, Side - 1, Side - 1}, 50);
        Points = Tracer.March().size();
        benchmark::DoNotOptimize(Points);
    }
    State.counters["points"] = static_cast<double>(Points);
}

void MakeTransparent(TBitmap32& B) {
    B.SetSize(Side, Side);
    B.Clear(0x32FFFFFF);
}

BENCHMARK(BM_Trace<MakePictureLayer>)->Name("Trace2000/picture")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trace<MakeTransparent>)->Name("Trace2000/transparent")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trace<MakeComb>)->Name("Trace2000/comb")->Unit(benchmark::kMillisecond);

} // namespace
