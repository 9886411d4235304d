// The layers palette's refresh on a frame of 30 layers. Goals: under 2 ms when nothing changed
// (the once-a-second refresh), under 10 ms when one layer changed (its thumbnail is redrawn).
#include "layers/LayerStyle.h"
#include "layers/Rectangle.h"
#include "shell/MainForm.h"
#include "ui/LayersPalette.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace zp;

struct TThirtyLayers {
    TMainWindow Window{false};
    TDocForm* Doc;
    std::vector<TBitmapLayer*> Figures;

    TThirtyLayers() {
        Window.Model().StartupHandled = true;
        Doc = &Window.Model().NewSampleDocument();
        for (int I = 0; Doc->CurrentView()->Layers().Count() < 30; ++I) {
            const int X = (I % 6) * 60, Y = (I / 6) * 50;
            auto F = std::make_unique<T2DRectangle>(X, Y, X + 80, Y + 60);
            F->LayerStyle().SetFillColor(0xFF000000u | static_cast<TColor32>(0x0B1D3F * (I + 1) & 0xFFFFFF));
            F->Paint();
            Figures.push_back(Doc->InsertLayer(std::move(F)));
        }
        Window.LayersPalette()->show();
        QApplication::processEvents();
    }
};

void BM_RefreshWithNothingChanged(benchmark::State& State) {
    TThirtyLayers T;
    for (auto _ : State) T.Window.LayersPalette()->RefreshPanels();
}
BENCHMARK(BM_RefreshWithNothingChanged)->Unit(benchmark::kMillisecond);

// The change itself (a new opacity redraws the figure) is timed apart, so that the difference
// is the palette's share.
void BM_OneLayerChanged(benchmark::State& State) {
    TThirtyLayers T;
    int Alpha = 200;
    for (auto _ : State) {
        T.Doc->SetLayerOpacity(*T.Figures[10], Alpha ^= 1);
        T.Window.LayersPalette()->RefreshPanels();
    }
}
BENCHMARK(BM_OneLayerChanged)->Unit(benchmark::kMillisecond);

void BM_OneLayerChangedWithoutPalette(benchmark::State& State) {
    TThirtyLayers T;
    T.Window.LayersPalette()->hide();
    int Alpha = 200;
    for (auto _ : State) T.Doc->SetLayerOpacity(*T.Figures[10], Alpha ^= 1);
}
BENCHMARK(BM_OneLayerChangedWithoutPalette)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and history go to a folder of their own, not the user's.
    QTemporaryDir Home;
    qputenv("XDG_CONFIG_HOME", Home.path().toLocal8Bit());
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
