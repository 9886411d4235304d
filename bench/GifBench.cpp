// Animated GIF export: octree palette, Floyd-Steinberg with the fast lookup, LZW, writing.
//
//   gif_bench generate DIR            writes the two deterministic workloads as raw RGBA and PNG
//   gif_bench export DIR W H N OUT    times the export of N frames of W x H from DIR, by stage
//   gif_bench [benchmark flags]       stage micro-benchmarks on the large workload in memory
//
// Goal: the large workload (30 frames of 800 x 600, rmQuantize / dmFloydSteinberg) exported in
// at most a quarter of the fastest peer tool's time (bench/gif_peers.sh compares). Only exact
// speed-ups count: the output bytes are fixed by the tests.
#include "files/AnimGif.h"
#include "files/ColorQuantizer.h"
#include "files/ColorReduction.h"
#include "files/GifLZW.h"
#include "raster/Bitmap32.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace zp;
using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point Start) {
    return std::chrono::duration<double>(TClock::now() - Start).count();
}

// ---------------------------------------------------------------- the workloads

class TNoise {
public:
    explicit TNoise(std::uint32_t Seed) : FState(Seed * 2654435761u + 12345) {}
    std::uint32_t Next() {
        FState ^= FState << 13;
        FState ^= FState >> 17;
        FState ^= FState << 5;
        return FState;
    }
    int Range(int Lo, int Hi) {
        return Lo + static_cast<int>(Next() % static_cast<std::uint32_t>(Hi - Lo + 1));
    }

private:
    std::uint32_t FState;
};

int Clamp(int V) {
    return V < 0 ? 0 : (V > 255 ? 255 : V);
}

// Blends Colour over the pixel with coverage 0..256.
void Blend(TBitmap32& B, int X, int Y, int R, int G, int Bl, int Coverage) {
    if (X < 0 || Y < 0 || X >= B.Width() || Y >= B.Height() || Coverage <= 0) return;
    const TColor32 C = B.Pixel(X, Y);
    auto Mix = [&](int Old, int New) { return (Old * (256 - Coverage) + New * Coverage) >> 8; };
    B.SetPixel(X, Y,
               Color32(static_cast<unsigned>(Mix(static_cast<int>(RedComponent(C)), R)),
                       static_cast<unsigned>(Mix(static_cast<int>(GreenComponent(C)), G)),
                       static_cast<unsigned>(Mix(static_cast<int>(BlueComponent(C)), Bl))));
}

// An anti-aliased disc, shaded from its top-left.
void Disc(TBitmap32& B, double CX, double CY, double Radius, int R, int G, int Bl) {
    for (int Y = static_cast<int>(CY - Radius - 1); Y <= static_cast<int>(CY + Radius + 1); ++Y)
        for (int X = static_cast<int>(CX - Radius - 1); X <= static_cast<int>(CX + Radius + 1); ++X) {
            const double D = std::hypot(X + 0.5 - CX, Y + 0.5 - CY);
            const int Coverage = static_cast<int>(std::clamp(Radius + 0.5 - D, 0.0, 1.0) * 256);
            const int Shade = static_cast<int>(60 * ((X - CX) + (Y - CY)) / (Radius + 1));
            Blend(B, X, Y, Clamp(R - Shade), Clamp(G - Shade), Clamp(Bl - Shade), Coverage);
        }
}

void Box(TBitmap32& B, int X0, int Y0, int W, int H, int R, int G, int Bl, int Coverage = 256) {
    for (int Y = Y0; Y < Y0 + H; ++Y)
        for (int X = X0; X < X0 + W; ++X) Blend(B, X, Y, R, G, Bl, Coverage);
}

// A web banner: gradient background, a moving logo, glyph-like text fading in, a button.
void BannerFrame(TBitmap32& B, int Frame) {
    const int W = 468, H = 60;
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B.SetPixel(X, Y,
                       Color32(static_cast<unsigned>(20 + 40 * X / W + Y / 4),
                               static_cast<unsigned>(40 + 100 * X / W),
                               static_cast<unsigned>(120 + 100 * X / W - Y / 3)));
    Disc(B, 40 + Frame * 18.5, 30, 22, 250, 150, 40);
    TNoise Glyphs(7);
    const int Alpha = std::min(256, Frame * 26);
    for (int I = 0; I < 18; ++I) {
        const int X = 90 + I * 14, Wd = Glyphs.Range(6, 11), Hd = Glyphs.Range(12, 20);
        Box(B, X, 38 - Hd, Wd, Hd, 255, 255, 255, Alpha);
        Box(B, X + 2, 38 - Hd + 3, Wd - 4, Hd - 6, 30, 60, 140, Alpha / 2);
    }
    Box(B, 370, 16, 84, 28, 120, 70, 0);
    Box(B, 371, 17, 82, 26, 255, 210, 40);
    for (int I = 0; I < 5; ++I) Box(B, 384 + I * 12, 26, 8, 8, 80, 40, 0);
}

// Gradients, moving shapes and noise on every pixel.
void LargeFrame(TBitmap32& B, int Frame) {
    const int W = 800, H = 600;
    B.SetSize(W, H);
    TNoise N(static_cast<std::uint32_t>(Frame + 1));
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const int D = N.Range(-10, 10);
            B.SetPixel(X, Y,
                       Color32(static_cast<unsigned>(Clamp(X * 255 / (W - 1) + D)),
                               static_cast<unsigned>(Clamp(Y * 255 / (H - 1) + D)),
                               static_cast<unsigned>(Clamp((X + Y + Frame * 20) % 512 / 2 + D))));
        }
    for (int I = 0; I < 6; ++I)
        Disc(B, 80 + I * 120 + Frame * 6, 150 + 60 * std::sin(I + Frame * 0.2), 40 + I * 5, 40 * I,
             200 - 30 * I, 90 + 20 * I);
    for (int I = 0; I < 4; ++I) {
        const int X0 = 60 + I * 180, Y0 = 380 - Frame * 4 + I * 10;
        for (int Y = 0; Y < 120; ++Y)
            for (int X = 0; X < 140; ++X) Blend(B, X0 + X, Y0 + Y, 255 - X, 60 + Y, 40 * I, 200);
    }
}

struct TWorkload {
    const char* Name;
    int Width, Height, Frames;
    void (*Make)(TBitmap32&, int);
};
const TWorkload Banner{"banner", 468, 60, 20, BannerFrame};
const TWorkload Large{"large", 800, 600, 30, LargeFrame};

std::string FrameName(const std::string& Dir, int I, const char* Ext) {
    char Name[32];
    std::snprintf(Name, sizeof Name, "/f%03d.%s", I, Ext);
    return Dir + Name;
}

int Generate(const std::string& Root) {
    for (const TWorkload* W : {&Banner, &Large}) {
        const std::string Dir = Root + "/" + W->Name;
        QDir().mkpath(QString::fromStdString(Dir));
        for (int I = 0; I < W->Frames; ++I) {
            TBitmap32 B;
            W->Make(B, I);
            std::vector<std::uint8_t> Rgba(static_cast<std::size_t>(W->Width) * W->Height * 4);
            for (int P = 0; P < W->Width * W->Height; ++P) {
                const TColor32 C = B.Bits()[P];
                Rgba[4 * P] = static_cast<std::uint8_t>(RedComponent(C));
                Rgba[4 * P + 1] = static_cast<std::uint8_t>(GreenComponent(C));
                Rgba[4 * P + 2] = static_cast<std::uint8_t>(BlueComponent(C));
                Rgba[4 * P + 3] = 255;
            }
            QFile Raw(QString::fromStdString(FrameName(Dir, I, "rgba")));
            if (!Raw.open(QIODevice::WriteOnly) ||
                Raw.write(reinterpret_cast<const char*>(Rgba.data()), static_cast<qint64>(Rgba.size())) !=
                    static_cast<qint64>(Rgba.size())) {
                std::fprintf(stderr, "cannot write %s\n", FrameName(Dir, I, "rgba").c_str());
                return 1;
            }
            const QImage Png(Rgba.data(), W->Width, W->Height, W->Width * 4, QImage::Format_RGBA8888);
            if (!Png.save(QString::fromStdString(FrameName(Dir, I, "png")), "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", FrameName(Dir, I, "png").c_str());
                return 1;
            }
        }
    }
    return 0;
}

// ---------------------------------------------------------------- the timed export

// Runs Fn(I) for I in 0..Count-1 on Threads threads.
void Parallel(int Count, int Threads, const std::function<void(int)>& Fn) {
    std::atomic<int> Next{0};
    std::vector<std::thread> Workers;
    for (int T = 0; T < std::min(Threads, Count); ++T)
        Workers.emplace_back([&] {
            for (int I; (I = Next.fetch_add(1)) < Count;) Fn(I);
        });
    for (auto& W : Workers) W.join();
}

bool LoadRaw(const std::string& Name, TBitmap32& B, int W, int H) {
    QFile F(QString::fromStdString(Name));
    if (!F.open(QIODevice::ReadOnly)) return false;
    B.SetSize(W, H);
    const qint64 Size = qint64{W} * H * 4;
    if (F.read(reinterpret_cast<char*>(B.Bits()), Size) != Size) return false;
    // R, G, B, A bytes to ARGB words.
    for (TColor32* P = B.Bits(); P != B.Bits() + std::ptrdiff_t{W} * H; ++P) {
        const std::uint32_t V = *P;
        *P = (V & 0xFF00FF00u) | ((V & 0xFFu) << 16) | ((V >> 16) & 0xFFu);
    }
    return true;
}

std::uint64_t Fnv(const std::vector<std::uint8_t>& Bytes) {
    std::uint64_t H = 14695981039346656037ull;
    for (std::uint8_t B : Bytes) H = (H ^ B) * 1099511628211ull;
    return H;
}

int Export(const std::string& Dir, int W, int H, int N, const std::string& Out, int Threads, int Repeat) {
    Repeat = std::max(1, Repeat);
    if (Threads <= 0) Threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<TBitmap32> Frames(static_cast<std::size_t>(N));
    double Best = 1e9, BestLoad = 0, BestAssemble = 0, BestWrite = 0;
    std::vector<double> Totals;
    for (int Run = 0; Run < Repeat; ++Run) {
        const auto Start = TClock::now();
        std::atomic<bool> Ok{true};
        Parallel(N, Threads, [&](int I) {
            if (!LoadRaw(FrameName(Dir, I, "rgba"), Frames[static_cast<std::size_t>(I)], W, H)) Ok = false;
        });
        if (!Ok) {
            std::fprintf(stderr, "cannot read the frames in %s\n", Dir.c_str());
            return 1;
        }
        const double Load = Seconds(Start);
        auto Mid = TClock::now();
        std::vector<TGifFrameSource> Sources;
        for (const TBitmap32& B : Frames) Sources.push_back({&B, 1000, rmQuantize, dmFloydSteinberg});
        const auto Gif = CreateAnimGif(Sources, 0, {}, Threads);
        const double Assemble = Seconds(Mid);
        Mid = TClock::now();
        SaveAnimGif(Gif.get(), QString::fromStdString(Out));
        const double Write = Seconds(Mid);
        const double Total = Seconds(Start);
        Totals.push_back(Total);
        if (Total < Best) Best = Total, BestLoad = Load, BestAssemble = Assemble, BestWrite = Write;
    }

    // Where the time goes: every stage on one thread, summed over the frames.
    double Octree = 0, Dither = 0, Lzw = 0, Stream = 0;
    {
        TGIFImage Gif;
        for (int I = 0; I < N; ++I) {
            const TBitmap32& B = Frames[static_cast<std::size_t>(I)];
            auto T = TClock::now();
            TColorQuantizer Q(256);
            Q.AddBitmap(B);
            TFastColorLookup Lookup(Q.ColorTable(256));
            Octree += Seconds(T);
            T = TClock::now();
            TReducedBitmap R = DitherBitmap(B, Lookup, dmFloydSteinberg);
            Dither += Seconds(T);
            T = TClock::now();
            auto Image =
                std::make_unique<TGIFSubImage>(R.Width, R.Height, std::move(R.Pixels), std::move(R.Palette));
            Image->EncodedData();
            Lzw += Seconds(T);
            TGIFImage One;
            One.Add(std::move(Image));
            AddBitmapToGif(Gif, One, 1000, 0);
        }
        const auto T = TClock::now();
        benchmark::DoNotOptimize(Gif.SaveToBytes());
        Stream = Seconds(T);
    }

    // For reference until our own PNG reader exists: decoding the PNG frames with Qt.
    const auto PngStart = TClock::now();
    std::atomic<bool> PngOk{true};
    Parallel(N, Threads, [&](int I) {
        QImage Image;
        if (!Image.load(QString::fromStdString(FrameName(Dir, I, "png")))) PngOk = false;
    });
    const double Png = PngOk ? Seconds(PngStart) : -1;

    QFile F(QString::fromStdString(Out));
    F.open(QIODevice::ReadOnly);
    const QByteArray Written = F.readAll();
    const std::vector<std::uint8_t> Bytes(Written.begin(), Written.end());
    std::printf("frames          %d x %d x %d, %d threads, best of %d\n", N, W, H, Threads, Repeat);
    std::printf("load raw RGBA   %8.1f ms\n", BestLoad * 1e3);
    std::printf("reduce+encode   %8.1f ms  (all threads)\n", BestAssemble * 1e3);
    std::printf("write file      %8.1f ms\n", BestWrite * 1e3);
    std::sort(Totals.begin(), Totals.end());
    const double Median = Totals[Totals.size() / 2];
    std::printf("export total    %8.1f ms  (from raw RGBA; median %.1f ms)\n", Best * 1e3, Median * 1e3);
    std::printf("one thread:     octree %.1f ms, dither %.1f ms, LZW %.1f ms, stream %.1f ms\n", Octree * 1e3,
                Dither * 1e3, Lzw * 1e3, Stream * 1e3);
    std::printf("PNG decode      %8.1f ms  (Qt's reader, all threads; not part of the total)\n", Png * 1e3);
    std::printf("output          %lld bytes, FNV-1a %016llx\n", static_cast<long long>(Bytes.size()),
                static_cast<unsigned long long>(Fnv(Bytes)));
    std::printf("TOTAL_SECONDS=%.4f\nMEDIAN_SECONDS=%.4f\nPNG_SECONDS=%.4f\nOUTPUT_BYTES=%lld\n", Best,
                Median, Png, static_cast<long long>(Bytes.size()));
    return 0;
}

// ---------------------------------------------------------------- micro-benchmarks

const std::vector<TBitmap32>& LargeFrames(int Count) {
    static std::vector<TBitmap32> Frames;
    if (static_cast<int>(Frames.size()) < Count) {
        Frames = std::vector<TBitmap32>(static_cast<std::size_t>(Count));
        for (int I = 0; I < Count; ++I) LargeFrame(Frames[static_cast<std::size_t>(I)], I);
    }
    return Frames;
}

void Mpixels(benchmark::State& State, std::int64_t Pixels) {
    State.counters["Mpixel/s"] =
        benchmark::Counter(static_cast<double>(Pixels) * 1e-6 * static_cast<double>(State.iterations()),
                           benchmark::Counter::kIsRate);
}

void BM_Octree(benchmark::State& State) {
    const TBitmap32& B = LargeFrames(1)[0];
    for (auto _ : State) {
        TColorQuantizer Q(256);
        Q.AddBitmap(B);
        benchmark::DoNotOptimize(Q.ColorTable(256));
    }
    Mpixels(State, std::int64_t{800} * 600);
}
BENCHMARK(BM_Octree)->Unit(benchmark::kMillisecond);

void BM_FloydSteinbergFastLookup(benchmark::State& State) {
    const TBitmap32& B = LargeFrames(1)[0];
    TColorQuantizer Q(256);
    Q.AddBitmap(B);
    const TGifColorMap Palette = Q.ColorTable(256);
    for (auto _ : State) {
        TFastColorLookup Lookup(Palette);
        benchmark::DoNotOptimize(DitherBitmap(B, Lookup, dmFloydSteinberg));
    }
    Mpixels(State, std::int64_t{800} * 600);
}
BENCHMARK(BM_FloydSteinbergFastLookup)->Unit(benchmark::kMillisecond);

void BM_Lzw(benchmark::State& State) {
    const TReducedBitmap R = ReduceColors(LargeFrames(1)[0], rmQuantize, dmFloydSteinberg);
    for (auto _ : State)
        benchmark::DoNotOptimize(EncodeGifImageData(R.Pixels.data(), R.Pixels.size(), 8, 256));
    Mpixels(State, std::int64_t{800} * 600);
}
BENCHMARK(BM_Lzw)->Unit(benchmark::kMillisecond);

// Arg: threads (0 = one per core).
void BM_AssembleLarge(benchmark::State& State) {
    const std::vector<TBitmap32>& Frames = LargeFrames(30);
    std::vector<TGifFrameSource> Sources;
    for (const TBitmap32& B : Frames) Sources.push_back({&B, 1000, rmQuantize, dmFloydSteinberg});
    for (auto _ : State)
        benchmark::DoNotOptimize(CreateAnimGif(Sources, 0, {}, static_cast<int>(State.range(0))));
    Mpixels(State, std::int64_t{800} * 600 * 30);
}
BENCHMARK(BM_AssembleLarge)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "generate") == 0) return Generate(argv[2]);
    if (argc >= 7 && std::strcmp(argv[1], "export") == 0)
        return Export(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), argv[6],
                      argc > 7 ? std::atoi(argv[7]) : 0, argc > 8 ? std::atoi(argv[8]) : 3);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
