// The canvas under the mouse and keys: a 1280 x 800 view at 400 % over 20 figure layers.
// Goals, on one core: (a) one mouse move of a rectangle drag, help figure redraw plus the
// repaint of the changed area, under 8 ms; (b) one arrow-key move of a 400 x 300 figure with a
// gradient, a shadow and two effects, with its repaint, under 8 ms; (c) a full repaint of the
// view under 16 ms.
#include "document/DocForm.h"
#include "layers/LayerStyle.h"
#include "layers/Rectangle.h"

#include <QRegion>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zp;

constexpr int ViewWidth = 1280, ViewHeight = 800;

struct TCanvas {
    TPlainDocHost Host;
    std::unique_ptr<TDocForm> Doc;
    TImgView32* View = nullptr;
    QRegion Dirty;
    int Handler = 0;

    TCanvas() : Doc(std::make_unique<TDocForm>(Host)) {
        Doc->NewImage(800, 600, 0xFFFFFF);
        View = Doc->CurrentView();
        View->SetViewportSize(ViewWidth, ViewHeight);
        View->SetScale(4.0f);
        View->SetScrollPos(0, 0);
        // 20 outlined figures with shadows, overlapping over the shown part of the picture.
        for (int I = 0; I < 20; ++I) {
            const int X = (I % 5) * 60, Y = (I / 5) * 45;
            std::unique_ptr<T2DFiguren> F;
            if (I % 2)
                F = std::make_unique<T2DEllipse>(X, Y, X + 150, Y + 110);
            else
                F = std::make_unique<T2DRectangle>(X, Y, X + 150, Y + 110);
            T2DLayerStyle& S = F->LayerStyle();
            S.SetFillColor(0xFF000000u | static_cast<TColor32>(0x0B1D3F * (I + 1) & 0xFFFFFF));
            S.SetFillColorAlpha(200);
            S.SetOutline(true);
            S.SetOutlineSize(2);
            S.SetShadow(true);
            F->Paint();
            Doc->InsertLayer(std::move(F));
        }
        Doc->SelectLayer(nullptr);
        Doc->ClearUndo();
        Handler = View->OnInvalidate.Add(
            [this](const TRect& R) { Dirty += QRect(R.Left, R.Top, R.Width(), R.Height()); });
        FullRepaint();
    }
    ~TCanvas() { View->OnInvalidate.Remove(Handler); }

    // What the widget does with the reported areas: paints each rectangle of their region.
    void Repaint() {
        for (const QRect& R : Dirty) View->PaintBuffer({R.left(), R.top(), R.right() + 1, R.bottom() + 1});
        Dirty = QRegion();
    }
    void FullRepaint() {
        Dirty = QRegion();
        View->PaintBuffer(View->GetViewportRect());
    }
};

void BM_RectangleDragMove(benchmark::State& State) {
    TCanvas C;
    C.Host.PaletteValues.Tool = ptPaintRectangle;
    C.View->MouseDown(mbLeft, ssLeft, 200, 150);
    C.Repaint();
    int Step = 0;
    for (auto _ : State) {
        // Back and forth over 40 view pixels, as a hand moves.
        const int D = Step++ % 40;
        C.View->MouseMove(ssLeft, 700 + D, 500 + D / 2);
        C.Repaint();
    }
    C.View->MouseUp(mbLeft, 0, 700, 500);
}
BENCHMARK(BM_RectangleDragMove)->Unit(benchmark::kMillisecond);

void BM_ArrowKeyMoveOfAStyledFigure(benchmark::State& State) {
    TCanvas C;
    auto F = std::make_unique<T2DRectangle>(200, 120, 600, 420);
    T2DLayerStyle& S = F->LayerStyle();
    S.SetFillGradient(true);
    S.SetFillGradientColor1(0xFFFF0000u);
    S.SetFillGradientColor2(0xFF0000FFu);
    S.SetFillGradientShape(shpLinear);
    S.SetFillGradientPStart({0, 0});
    S.SetFillGradientPEnd({400, 300});
    S.SetShadow(true);
    F->Paint();
    F->AddEffect(efSoften);
    F->AddEffect(efEmboss);
    TBitmapLayer* Figure = C.Doc->InsertLayer(std::move(F));
    C.Repaint();
    int Step = 0;
    for (auto _ : State) {
        C.Doc->ImgViewKeyDown(Step++ % 2 ? VK_LEFT : VK_RIGHT, 0);
        C.Repaint();
    }
    benchmark::DoNotOptimize(Figure);
}
BENCHMARK(BM_ArrowKeyMoveOfAStyledFigure)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State& State) {
    TCanvas C;
    for (auto _ : State) C.FullRepaint();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

} // namespace
