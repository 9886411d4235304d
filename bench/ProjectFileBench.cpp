// Saving and opening a project of 50 frames of 800 x 600 with 5 layers each, against the floor
// of zlib level 7 on the same pixel bytes in one thread. Goals: save and open each under 2 s,
// and within 1.5 x the single-thread floor divided by the number of cores.
#include "document/DocForm.h"
#include "layers/PicLayer.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/TextLayer.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <thread>

namespace {

using namespace zp;

constexpr int Frames = 50;
constexpr int Width = 800, Height = 600;

// A banner background: a gradient above, a photo-like noisy band below, different per frame.
void PaintBackground(TBitmap32& B, int Frame) {
    std::uint32_t Seed = 2463534242u + static_cast<std::uint32_t>(Frame) * 7919u;
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X) {
            unsigned R = static_cast<unsigned>(X * 255 / B.Width()),
                     G = static_cast<unsigned>(Y * 255 / B.Height());
            unsigned Bl = static_cast<unsigned>((Frame * 5) & 255);
            if (Y > B.Height() / 2) {
                Seed ^= Seed << 13, Seed ^= Seed >> 17, Seed ^= Seed << 5;
                R = (R + (Seed & 31)) & 255, G = (G + ((Seed >> 5) & 31)) & 255,
                Bl = (Bl + ((Seed >> 10) & 31)) & 255;
            }
            B.SetPixel(X, Y, Color32(R, G, Bl));
        }
}

struct TProject {
    TPlainDocHost Host;
    std::unique_ptr<TDocForm> Doc;
    QTemporaryDir Dir;
    QString Name;
    // Every picture of the project as raw pixel bytes, for the zlib floor.
    std::vector<std::vector<std::uint8_t>> Pictures;

    TProject() : Doc(std::make_unique<TDocForm>(Host)), Name(Dir.filePath(QStringLiteral("bench.dgm"))) {
        Host.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
        Doc->NewImage(Width, Height, TColor{0x00FFFFFF});
        auto R = std::make_unique<T2DRectangle>(40, 40, 360, 200);
        R->LayerStyle().SetFillGradient(true);
        R->LayerStyle().SetShadow(true);
        R->Paint();
        Doc->InsertLayer(std::move(R));
        auto E = std::make_unique<T2DEllipse>(420, 60, 760, 260);
        E->LayerStyle().SetOutline(true);
        E->LayerStyle().SetOutlineSize(4);
        E->Paint();
        Doc->InsertLayer(std::move(E));
        auto P = std::make_unique<T2DPolygon>(200, 420, 280, 380, 6);
        P->Paint();
        Doc->InsertLayer(std::move(P));
        TBitmap32 Photo;
        Photo.SetSize(160, 120);
        PaintBackground(Photo, 99);
        Doc->InsertLayer(std::make_unique<TPicLayer>(Photo));
        Doc->MoveLayer(*Doc->Selection(), 560, 400);
        TTextLayer* T = Doc->NewTextLayer();
        T->FontLayerStyle().SetFontSize(40);
        Doc->SetLayerText(*T, QStringLiteral("Jetzt 50 % sparen!"));
        for (int I = 1; I < Frames; ++I) Doc->CreateNewFrame(1);
        for (int I = 0; I < Frames; ++I) {
            TBitmap32& B = Doc->Frame(I).ImgView->Bitmap();
            PaintBackground(B, I);
            Pictures.emplace_back(reinterpret_cast<const std::uint8_t*>(B.Bits()),
                                  reinterpret_cast<const std::uint8_t*>(B.Bits()) +
                                      std::size_t{Width} * Height * 4);
            Pictures.emplace_back(reinterpret_cast<const std::uint8_t*>(Photo.Bits()),
                                  reinterpret_cast<const std::uint8_t*>(Photo.Bits()) +
                                      std::size_t{160} * 120 * 4);
        }
        Doc->SelectLayer(nullptr);
        Doc->ClearUndo();
    }
};

TProject& Project() {
    static TProject P;
    return P;
}

void SetCores(benchmark::State& State) {
    State.counters["Cores"] = static_cast<double>(std::max(1u, std::thread::hardware_concurrency()));
}

void BM_SaveProject(benchmark::State& State) {
    TProject& P = Project();
    for (auto _ : State) P.Doc->SelectSaveMethod(P.Name, QStringLiteral(".dgm"));
    State.counters["FileMB"] = static_cast<double>(QFileInfo(P.Name).size()) / 1e6;
    SetCores(State);
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_OpenProject(benchmark::State& State) {
    TProject& P = Project();
    P.Doc->SelectSaveMethod(P.Name, QStringLiteral(".dgm"));
    for (auto _ : State) {
        TDocForm Doc(P.Host);
        Doc.LoadProjectFromXML(P.Name);
        benchmark::DoNotOptimize(Doc.FrameCount());
    }
    SetCores(State);
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The floor: zlib level 7 over the same pixel bytes, one thread.
void BM_ZlibFloorDeflate(benchmark::State& State) {
    const auto& Pictures = Project().Pictures;
    std::vector<std::uint8_t> Out;
    for (auto _ : State)
        for (const auto& Bytes : Pictures) {
            uLongf Size = compressBound(static_cast<uLong>(Bytes.size()));
            Out.resize(Size);
            compress2(Out.data(), &Size, Bytes.data(), static_cast<uLong>(Bytes.size()), 7);
            benchmark::DoNotOptimize(Size);
        }
    SetCores(State);
}
BENCHMARK(BM_ZlibFloorDeflate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ZlibFloorInflate(benchmark::State& State) {
    const auto& Pictures = Project().Pictures;
    std::vector<std::vector<std::uint8_t>> Packed;
    for (const auto& Bytes : Pictures) {
        uLongf Size = compressBound(static_cast<uLong>(Bytes.size()));
        std::vector<std::uint8_t> Out(Size);
        compress2(Out.data(), &Size, Bytes.data(), static_cast<uLong>(Bytes.size()), 7);
        Out.resize(Size);
        Packed.push_back(std::move(Out));
    }
    std::vector<std::uint8_t> Back;
    for (auto _ : State)
        for (std::size_t I = 0; I < Packed.size(); ++I) {
            uLongf Size = static_cast<uLongf>(Pictures[I].size());
            Back.resize(Size);
            uncompress(Back.data(), &Size, Packed[I].data(), static_cast<uLong>(Packed[I].size()));
            benchmark::DoNotOptimize(Size);
        }
    SetCores(State);
}
BENCHMARK(BM_ZlibFloorInflate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
