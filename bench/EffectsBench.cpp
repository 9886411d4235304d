// Effects and gradients at the sizes users meet. Goals: the motion blur of strength 10 on a
// 600 x 600 figure bitmap at least 20x faster than stacking the copies surface by surface (both
// measured here); each 3 x 3 effect on 2000 x 2000 and the square gradient on full HD are
// reported for reference.
#include "LiteralMotionBlur.h"
#include "layers/Filters.h"
#include "layers/GeneralGraphicFunctions.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

using namespace zp;

// A figure layer bitmap: an opaque disc and bar with anti-aliased edges (4 x 4 samples a pixel)
// on transparent surroundings, with room for the smear, in blend draw mode and merge combine mode.
void MakeFigure(TBitmap32& B) {
    constexpr int Size = 600;
    B.SetSize(Size, Size);
    B.SetDrawMode(dmBlend);
    B.SetCombineMode(cmMerge);
    const auto Inside = [](double X, double Y) {
        const double DX = X - 300, DY = Y - 300;
        return DX * DX + DY * DY <= 200.0 * 200.0 || (std::fabs(X - Y) < 30 && X > 80 && X < 520);
    };
    for (int Y = 0; Y < Size; ++Y)
        for (int X = 0; X < Size; ++X) {
            int Covered = 0;
            for (int SY = 0; SY < 4; ++SY)
                for (int SX = 0; SX < 4; ++SX) Covered += Inside(X + (SX + 0.5) / 4, Y + (SY + 0.5) / 4);
            if (Covered) B.SetPixel(X, Y, Color32(40, 120, 220, Covered * 255 / 16));
        }
}

// The layer at full opacity, and at half opacity, which makes every copy partly transparent.
template <bool Literal, unsigned Master> void BM_MotionBlur(benchmark::State& State) {
    TBitmap32 Figure, Work;
    MakeFigure(Figure);
    Figure.SetMasterAlpha(Master);
    TMotionBlur Blur;
    Blur.SetEffectBitmap(&Work);
    Blur.SetDirection(bldTopRight);
    Blur.SetStrenght(10);
    for (auto _ : State) {
        State.PauseTiming();
        Work.Assign(&Figure);
        State.ResumeTiming();
        if (Literal)
            LiteralMotionBlur(Work, bldTopRight, 10);
        else
            Blur.MotionBlur();
        benchmark::DoNotOptimize(Work.Bits());
    }
}
BENCHMARK(BM_MotionBlur<false, 255>)->Name("MotionBlur600/fast")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MotionBlur<true, 255>)
    ->Name("MotionBlur600/literal")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_MotionBlur<false, 128>)->Name("MotionBlur600HalfOpacity/fast")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MotionBlur<true, 128>)
    ->Name("MotionBlur600HalfOpacity/literal")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

template <class TFilter, void (TFilter::*Op)()> void BM_Convolution(benchmark::State& State) {
    TBitmap32 Picture;
    Picture.SetSize(2000, 2000);
    std::mt19937 Rng(1);
    for (int Y = 0; Y < 2000; ++Y)
        for (int X = 0; X < 2000; ++X) Picture.SetPixel(X, Y, Rng() | 0xFF000000u);
    TFilter Filter;
    Filter.SetEffectBitmap(&Picture);
    for (auto _ : State) {
        (Filter.*Op)();
        benchmark::DoNotOptimize(Picture.Bits());
    }
    State.counters["Mpixel/s"] =
        benchmark::Counter(4.0 * static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Convolution<TEmboss, &TEmboss::Emboss>)
    ->Name("Convolution2000/Emboss")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convolution<TLaplace, &TLaplace::Laplace>)
    ->Name("Convolution2000/Laplace")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convolution<TFindEdges, &TFindEdges::FindEdges>)
    ->Name("Convolution2000/FindEdges")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convolution<TSharpen, &TSharpen::Sharpen>)
    ->Name("Convolution2000/Sharpen")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convolution<TEdgesEnhance, &TEdgesEnhance::EdgesEnhance>)
    ->Name("Convolution2000/EdgesEnhance")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convolution<TColorEmboss, &TColorEmboss::ColorEmboss>)
    ->Name("Convolution2000/ColorEmboss")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convolution<TSoften, &TSoften::Soften>)
    ->Name("Convolution2000/Soften")
    ->Unit(benchmark::kMillisecond);

void BM_SquareGradient(benchmark::State& State) {
    TBitmap32 B;
    B.SetSize(1920, 1080);
    for (auto _ : State) {
        TGeneralGraphicFunctions::CreateSqareColorGradient(0xFF102030, 0xFFF0E0D0, {700, 400}, {900, 650}, B);
        benchmark::DoNotOptimize(B.Bits());
    }
}
BENCHMARK(BM_SquareGradient)->Name("SquareGradient1920x1080")->Unit(benchmark::kMillisecond);

} // namespace
