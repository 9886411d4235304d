// Cost of a typical figure drawing on a 600 x 600 layer bitmap: an anti-aliased ellipse of
// 500 pixels filled with each kind of brush and stroked. For scale, the same solid fill
// painted straight onto the bitmap's memory as an 8-bit ARGB image (faster, but it shifts
// the colour of half-transparent pixels, which our surface avoids).
#include "gfx/Graphics.h"
#include "gfx/Hatch.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace zp;

constexpr int Side = 600;

TGPPath Ellipse() {
    TGPPath P;
    P.AddEllipse({50.3f, 50.3f, 500, 500});
    return P;
}

void Draw(benchmark::State& State, const TGPBrush& Brush) {
    TBitmap32 B;
    B.SetSize(Side, Side);
    const TGPPath Path = Ellipse();
    TGPPen Pen(0xFF0000FF, 5);
    Pen.SetLineJoin(LineJoinRound);
    for (auto _ : State) {
        TGPGraphics G(B);
        G.SetSmoothingMode(SmoothingModeAntiAlias);
        G.Clear(0);
        G.FillPath(Brush, Path);
        G.DrawPath(Pen, Path);
        benchmark::DoNotOptimize(B.Bits());
    }
}

void BM_SolidFill(benchmark::State& State) {
    Draw(State, TGPSolidBrush(0x80336699));
}

void BM_HatchFill(benchmark::State& State) {
    Draw(State, TGPHatchBrush(HatchStyleDiagonalBrick, 0xFF000000, 0xFFFFFFFF));
}

void BM_LinearGradientFill(benchmark::State& State) {
    Draw(State, TGPLinearGradientBrush({50, 50}, {300, 400}, 0xFFFF0000, 0x800000FF));
}

void BM_CircleGradientFill(benchmark::State& State) {
    TGPPath Circle;
    Circle.AddEllipse({100, 100, 400, 400});
    TGPPathGradientBrush Brush(Circle);
    Brush.SetCenterPoint({300, 300});
    Brush.SetCenterColor(0xFFFF0000);
    Brush.SetSurroundColor(0xFF0000FF);
    Draw(State, Brush);
}

void BM_SquareGradientFill(benchmark::State& State) {
    const float H = std::sqrt(200.0f * 200.0f / 2);
    TGPPath Square;
    Square.AddRectangle({300 - H, 300 - H, 2 * H, 2 * H});
    TGPMatrix Turn;
    Turn.Translate(300, 300);
    Turn.Rotate(-20);
    Turn.Translate(-300, -300);
    Square.Transform(Turn);
    TGPPathGradientBrush Brush(Square);
    Brush.SetCenterPoint({300, 300});
    Brush.SetCenterColor(0xFFFF0000);
    Brush.SetSurroundColor(0x00000000);
    Draw(State, Brush);
}

void BM_TextureFill(benchmark::State& State) {
    QImage I(37, 23, QImage::Format_ARGB32);
    I.fill(0xC0408060);
    TGPTextureBrush Brush(TGPImage(I), WrapModeTileFlipXY);
    TGPMatrix Turn;
    Turn.Rotate(15);
    Brush.SetTransform(Turn);
    Draw(State, Brush);
}

void BM_SolidFillDirectArgb32(benchmark::State& State) {
    TBitmap32 B;
    B.SetSize(Side, Side);
    QPainterPath Path;
    Path.addEllipse(QRectF(50.8, 50.8, 500, 500));
    QPen Pen(QColor::fromRgba(0xFF0000FF), 5);
    Pen.setJoinStyle(Qt::RoundJoin);
    for (auto _ : State) {
        B.Clear(0);
        QImage Image(reinterpret_cast<uchar*>(B.Bits()), Side, Side, Side * 4, QImage::Format_ARGB32);
        QPainter P(&Image);
        P.setRenderHint(QPainter::Antialiasing);
        P.fillPath(Path, QColor::fromRgba(0x80336699));
        P.strokePath(Path, Pen);
        benchmark::DoNotOptimize(B.Bits());
    }
}

BENCHMARK(BM_SolidFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinearGradientFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CircleGradientFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareGradientFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextureFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolidFillDirectArgb32)->Unit(benchmark::kMillisecond);

} // namespace
