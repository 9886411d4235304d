// Redrawing a 60-pixel text layer with outline and shadow (goal: under 10 ms on one core).
#include "layers/TextLayer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zp;

void BM_TextRedraw(benchmark::State& State) {
    TTextLayer T;
    TFontLayerStyle& S = T.FontLayerStyle();
    S.SetText(QStringLiteral("Sommerschlussverkauf -50%"));
    S.SetFontSize(60);
    S.SetFontBold(true);
    S.SetFillColor(0xFFE03020);
    S.SetOutline(true);
    S.SetOutlineSize(3);
    S.SetOutlineColor(0xFF000000);
    S.SetShadow(true);
    S.SetShadowXShift(4);
    S.SetShadowYShift(4);
    T.WriteText(0, 0);
    for (auto _ : State) T.WriteText(0, 0);
    State.counters["side"] = T.Bitmap().Width();
}
BENCHMARK(BM_TextRedraw)->Name("TextLayer/60px outline shadow")->Unit(benchmark::kMillisecond);

} // namespace
