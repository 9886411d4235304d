#include "gfx/Brushes.h"

#include "gfx/Hatch.h"

#include <QBrush>
#include <QColor>
#include <QLinearGradient>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace zp {

namespace {

QTransform WorldToBuffer(const TGPFillContext& C) {
    return C.WorldToPixels * C.PixelsToBuffer;
}

// The buffer's area in pixel-area coordinates of the surface.
QRect BufferInPixels(const TGPFillContext& C) {
    const QPaintDevice* Device = C.Painter.device();
    return C.PixelsToBuffer.inverted().mapRect(QRect(0, 0, Device->width(), Device->height()));
}

double Cross(QPointF A, QPointF B) {
    return A.x() * B.y() - A.y() * B.x();
}

unsigned Lerp(unsigned A, unsigned B, double T) {
    return static_cast<unsigned>(std::nearbyint(A + T * (static_cast<double>(B) - A)));
}

} // namespace

void TGPSolidBrush::Fill(const QPainterPath& Path, TGPFillContext& Context) const {
    Context.Painter.setTransform(WorldToBuffer(Context));
    Context.Painter.fillPath(Path, QColor::fromRgba(FColor));
}

TGPHatchBrush::TGPHatchBrush(int Style, TColor32 ForeColor, TColor32 BackColor)
    : FStyle(Style), FFore(ForeColor), FBack(BackColor) {
    if (Style < HatchStyleMin || Style > HatchStyleMax)
        throw EGdipError(InvalidParameter, "hatch style " + std::to_string(Style));
}

void TGPHatchBrush::Fill(const QPainterPath& Path, TGPFillContext& Context) const {
    // Filled in pixel coordinates so the pattern stays on the pixel grid.
    Context.Painter.setTransform(Context.PixelsToBuffer);
    Context.Painter.fillPath(Context.WorldToPixels.map(Path), QBrush(HatchTile(FStyle, FFore, FBack)));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(TGPPointF Point1, TGPPointF Point2, TColor32 Color1,
                                               TColor32 Color2)
    : FPoint1(Point1), FPoint2(Point2), FColor1(Color1), FColor2(Color2) {}

void TGPLinearGradientBrush::Fill(const QPainterPath& Path, TGPFillContext& Context) const {
    if (FPoint1 == FPoint2) return;
    QLinearGradient Gradient(QPointF(FPoint1.X, FPoint1.Y), QPointF(FPoint2.X, FPoint2.Y));
    Gradient.setSpread(QGradient::RepeatSpread);
    Gradient.setInterpolationMode(QGradient::ComponentInterpolation);
    Gradient.setColorAt(0, QColor::fromRgba(FColor1));
    Gradient.setColorAt(1, QColor::fromRgba(FColor2));
    Context.Painter.setTransform(WorldToBuffer(Context));
    Context.Painter.fillPath(Path, Gradient);
}

TGPPathGradientBrush::TGPPathGradientBrush(const TGPPath& Path) : FPath(Path) {
    const TGPRectF B = Path.GetWorldBounds();
    FCenter = {B.X + B.Width / 2, B.Y + B.Height / 2};
    const auto& Figures = Path.Figures();
    const bool AllKnown = std::none_of(Figures.begin(), Figures.end(), [](const TGPPathFigure& F) {
        return F.Kind == TGPPathFigure::fkOther;
    });
    if (!AllKnown) {
        for (const QPolygonF& P : Path.QtPath().toSubpathPolygons()) FPolygons.push_back(P);
        return;
    }
    for (const auto& F : Figures) {
        if (F.Kind == TGPPathFigure::fkPolygon) {
            FPolygons.push_back(F.Points);
            continue;
        }
        const QRectF& R = F.EllipseRect;
        bool Invertible = false;
        const QTransform Back = F.EllipseXf.inverted(&Invertible);
        if (!Invertible || R.width() == 0 || R.height() == 0) continue;
        FEllipsesToUnitCircle.push_back(Back * QTransform::fromTranslate(-R.center().x(), -R.center().y()) *
                                        QTransform::fromScale(2 / R.width(), 2 / R.height()));
    }
}

double TGPPathGradientBrush::Gauge(double X, double Y) const {
    const QPointF C(FCenter.X, FCenter.Y);
    const QPointF D = QPointF(X, Y) - C;
    if (D.x() * D.x() + D.y() * D.y() < 1e-18) return 0;
    constexpr double MinStep = 1e-12;
    double Nearest = std::numeric_limits<double>::infinity();
    for (const QPolygonF& P : FPolygons) {
        const int N = P.size();
        if (N < 2) continue;
        for (int I = 0; I < N; ++I) {
            const QPointF A = P[I];
            const QPointF E = P[(I + 1) % N] - A;
            const double Denominator = Cross(D, E);
            if (std::abs(Denominator) < 1e-12) continue;
            const QPointF W = A - C;
            const double S = Cross(W, E) / Denominator;
            const double U = Cross(W, D) / Denominator;
            if (S > MinStep && U >= 0 && U <= 1) Nearest = std::min(Nearest, S);
        }
    }
    for (const QTransform& M : FEllipsesToUnitCircle) {
        // Affine maps keep the ratio along the ray, so the crossing is found on the unit circle.
        const QPointF C1 = M.map(C);
        const QPointF D1 = M.map(QPointF(X, Y)) - C1;
        const double A = QPointF::dotProduct(D1, D1);
        const double B = 2 * QPointF::dotProduct(C1, D1);
        const double K = QPointF::dotProduct(C1, C1) - 1;
        const double Discriminant = B * B - 4 * A * K;
        if (A <= 0 || Discriminant < 0) continue;
        const double Root = std::sqrt(Discriminant);
        for (double S : {(-B - Root) / (2 * A), (-B + Root) / (2 * A)})
            if (S > MinStep) Nearest = std::min(Nearest, S);
    }
    if (!std::isfinite(Nearest)) return -1;
    return 1 / Nearest;
}

bool TGPPathGradientBrush::ColorAt(double X, double Y, TColor32& Color) const {
    double T = Gauge(X, Y);
    if (T < 0 || T > 1 + 1e-9) return false;
    T = std::min(T, 1.0);
    const TColor32 A = FCenterColor;
    const TColor32 B = FSurroundColor;
    Color =
        Color32(Lerp(RedComponent(A), RedComponent(B), T), Lerp(GreenComponent(A), GreenComponent(B), T),
                Lerp(BlueComponent(A), BlueComponent(B), T), Lerp(AlphaComponent(A), AlphaComponent(B), T));
    return true;
}

void TGPPathGradientBrush::Fill(const QPainterPath& Path, TGPFillContext& Context) const {
    bool Invertible = false;
    const QTransform PixelsToWorld = Context.WorldToPixels.inverted(&Invertible);
    if (!Invertible) return;
    // The colours are computed per pixel centre over the part of the surface both paths
    // can reach, and laid on as an image aligned with the pixels.
    const QPainterPath Target = Context.WorldToPixels.map(Path);
    const QRectF Reach =
        Target.boundingRect().intersected(Context.WorldToPixels.map(FPath.QtPath()).boundingRect());
    const QRect Box = Reach.toAlignedRect().intersected(BufferInPixels(Context));
    if (Box.isEmpty()) return;

    QImage Colours(Box.size(), QImage::Format_ARGB32);
    if (Colours.isNull()) throw EGdipError(OutOfMemory, "path gradient");
    for (int Y = 0; Y < Box.height(); ++Y) {
        auto* Line = reinterpret_cast<TColor32*>(Colours.scanLine(Y));
        for (int X = 0; X < Box.width(); ++X) {
            const QPointF P = PixelsToWorld.map(QPointF(Box.x() + X + 0.5, Box.y() + Y + 0.5));
            TColor32 C = 0;
            Line[X] = ColorAt(P.x(), P.y(), C) ? C : 0;
        }
    }
    QBrush Brush(Colours);
    Brush.setTransform(QTransform::fromTranslate(Box.x(), Box.y()));
    QPainter& Painter = Context.Painter;
    Painter.save();
    Painter.setTransform(Context.PixelsToBuffer);
    Painter.setClipRect(Box);
    Painter.fillPath(Target, Brush);
    Painter.restore();
}

TGPTextureBrush::TGPTextureBrush(const TGPImage& Image, TGPWrapMode WrapMode)
    : FImage(Image.QtImage()), FWrapMode(WrapMode) {
    BuildTile();
}

TGPTextureBrush::TGPTextureBrush(const TGPImage& Image, const TGPImageAttributes& Attributes)
    : FImage(Attributes.Apply(Image.QtImage())), FWrapMode(Attributes.WrapMode()) {
    BuildTile();
}

void TGPTextureBrush::BuildTile() {
    const bool FlipX = FWrapMode == WrapModeTileFlipX || FWrapMode == WrapModeTileFlipXY;
    const bool FlipY = FWrapMode == WrapModeTileFlipY || FWrapMode == WrapModeTileFlipXY;
    if (!FlipX && !FlipY) {
        FTile = FImage;
        return;
    }
    // Qt repeats a tile; a mirrored copy beside or below the image makes the flip.
    const int W = FImage.width();
    const int H = FImage.height();
    FTile = QImage(FlipX ? 2 * W : W, FlipY ? 2 * H : H, QImage::Format_ARGB32);
    if (FTile.isNull()) throw EGdipError(OutOfMemory, "texture tile");
    for (int Y = 0; Y < FTile.height(); ++Y) {
        const int SourceY = Y < H ? Y : 2 * H - 1 - Y;
        const auto* Source = reinterpret_cast<const TColor32*>(FImage.constScanLine(SourceY));
        auto* Line = reinterpret_cast<TColor32*>(FTile.scanLine(Y));
        std::memcpy(Line, Source, static_cast<std::size_t>(W) * 4);
        if (FlipX) std::reverse_copy(Source, Source + W, Line + W);
    }
}

void TGPTextureBrush::Fill(const QPainterPath& Path, TGPFillContext& Context) const {
    if (FTile.isNull()) return;
    // Texel centres sit on whole world coordinates, as pixel centres do on the surface.
    const QTransform TextureToWorld =
        QTransform::fromTranslate(-Context.CentreShift, -Context.CentreShift) * FTransform.ToQTransform();
    QPainterPath Area = Path;
    if (FWrapMode == WrapModeClamp) {
        QPainterPath Image;
        Image.addRect(QRectF(0, 0, FImage.width(), FImage.height()));
        Area = Path.intersected(TextureToWorld.map(Image));
    }
    QBrush Brush(FTile);
    Brush.setTransform(TextureToWorld);
    Context.Painter.setTransform(WorldToBuffer(Context));
    Context.Painter.fillPath(Area, Brush);
}

} // namespace zp
