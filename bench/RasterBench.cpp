// Layer transfer and resampling throughput at full-HD size, with memcpy of the same buffer
// for scale. Targets: opaque/transparent content within 3x of memcpy; every pixel half
// transparent merged at 100 Mpixel/s or more on one core. A merge of opaque pixels onto an
// opaque background is no shortcut: the rule blends them (255 over 0 gives 254).
#include "raster/Bitmap32.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using namespace zp;

constexpr int W = 1920;
constexpr int H = 1080;

enum TContent { ctOpaqueOrTransparent, ctHalfTransparent };

void MakeLayer(TBitmap32& B, TContent Content) {
    B.SetSize(W, H);
    std::mt19937 Rng(1);
    for (int Y = 0; Y < H; ++Y) {
        TColor32* Row = B.ScanLine(Y);
        for (int X = 0; X < W; ++X) {
            const TColor32 Rgb = Rng() & 0x00FFFFFF;
            if (Content == ctHalfTransparent)
                Row[X] = Rgb | 0x80000000u;
            else // shapes: runs of opaque and empty pixels
                Row[X] = ((X / 64 + Y / 64) % 2) ? (Rgb | 0xFF000000u) : Rgb;
        }
    }
}

void Mpixels(benchmark::State& State, std::int64_t PixelsPerIteration) {
    State.counters["Mpixel/s"] = benchmark::Counter(static_cast<double>(PixelsPerIteration) * 1e-6 *
                                                        static_cast<double>(State.iterations()),
                                                    benchmark::Counter::kIsRate);
}

void BM_Memcpy(benchmark::State& State) {
    std::vector<TColor32> A(static_cast<std::size_t>(W) * H, 0x80808080), B(A.size());
    for (auto _ : State) {
        std::memcpy(B.data(), A.data(), A.size() * sizeof(TColor32));
        benchmark::DoNotOptimize(B.data());
        benchmark::ClobberMemory();
    }
    Mpixels(State, std::int64_t{W} * H);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

enum TBackground { bgOpaque, bgTransparent, bgHalfTransparent };

// Args: combine mode, layer content, background.
void BM_Transfer(benchmark::State& State) {
    const auto Combine = static_cast<TCombineMode>(State.range(0));
    const auto Content = static_cast<TContent>(State.range(1));
    const auto Background = static_cast<TBackground>(State.range(2));
    TBitmap32 Layer, Target, Fresh;
    MakeLayer(Layer, Content);
    Layer.SetDrawMode(dmBlend);
    Layer.SetCombineMode(Combine);
    Fresh.SetSize(W, H);
    Fresh.Clear(Background == bgOpaque ? 0xFF406080u : Background == bgTransparent ? 0u : 0x80406080u);
    Target.Assign(&Fresh);
    for (auto _ : State) {
        Layer.DrawTo(Target, 0, 0);
        benchmark::DoNotOptimize(Target.Bits());
        State.PauseTiming();
        std::memcpy(Target.Bits(), Fresh.Bits(), std::size_t{W} * H * sizeof(TColor32));
        State.ResumeTiming();
    }
    Mpixels(State, std::int64_t{W} * H);
    static const char* const Backgrounds[] = {"opaque", "transparent", "half-transparent"};
    State.SetLabel(std::string(Combine == cmMerge ? "cmMerge " : "cmBlend ") +
                   (Content == ctHalfTransparent ? "half-transparent" : "opaque-or-transparent") +
                   " layer on " + Backgrounds[Background] + " background");
}
BENCHMARK(BM_Transfer)
    ->Args({cmBlend, ctOpaqueOrTransparent, bgOpaque})
    ->Args({cmMerge, ctOpaqueOrTransparent, bgTransparent})
    ->Args({cmMerge, ctOpaqueOrTransparent, bgOpaque})
    ->Args({cmBlend, ctHalfTransparent, bgOpaque})
    ->Args({cmMerge, ctHalfTransparent, bgHalfTransparent})
    ->Unit(benchmark::kMillisecond);

// Arg: destination size in per cent of the source (200 = 2x, 50 = 0.5x).
void BM_LinearResample(benchmark::State& State) {
    const int Percent = static_cast<int>(State.range(0));
    TBitmap32 Src, Dst;
    const int SW = Percent > 100 ? W / 2 : W, SH = Percent > 100 ? H / 2 : H;
    Src.SetSize(SW, SH);
    std::mt19937 Rng(2);
    for (int I = 0; I < SW * SH; ++I) Src.Bits()[I] = Rng();
    Src.SetResamplerClassName("TLinearResampler");
    Dst.SetSize(SW * Percent / 100, SH * Percent / 100);
    for (auto _ : State) {
        Dst.Draw(Dst.BoundsRect(), Src.BoundsRect(), Src);
        benchmark::DoNotOptimize(Dst.Bits());
    }
    Mpixels(State, std::int64_t{Dst.Width()} * Dst.Height());
}
BENCHMARK(BM_LinearResample)->Arg(200)->Arg(50)->Unit(benchmark::kMillisecond);

} // namespace
