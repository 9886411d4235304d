#include "gfx/Graphics.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zp {

namespace {

// Operations paint on a 16-bit premultiplied copy of the pixels they reach: an 8-bit
// premultiplied round trip would shift the colour of every half-transparent pixel.
inline quint64 ToPremultiplied64(TColor32 C) {
    const quint64 A = AlphaComponent(C) * 257u;
    if (A == 0) return 0;
    if (A == 65535)
        return RedComponent(C) * 257u | GreenComponent(C) * 257u << 16 |
               quint64{BlueComponent(C) * 257u} << 32 | A << 48;
    const auto Channel = [A](unsigned V) -> quint64 { return (V * 257u * A + 32767u) / 65535u; };
    return Channel(RedComponent(C)) | Channel(GreenComponent(C)) << 16 | Channel(BlueComponent(C)) << 32 |
           A << 48;
}

inline TColor32 FromPremultiplied64(quint64 P) {
    const quint64 A = P >> 48;
    const unsigned Alpha = static_cast<unsigned>((A * 255u + 32767u) / 65535u);
    if (Alpha == 0) return 0;
    const auto R = P & 0xFFFF, G = (P >> 16) & 0xFFFF, B = (P >> 32) & 0xFFFF;
    if (A == 65535) {
        const auto Opaque = [](quint64 V) { return static_cast<unsigned>((V * 255u + 32767u) / 65535u); };
        return Color32(Opaque(R), Opaque(G), Opaque(B), 255);
    }
    const double Scale = 255.0 / static_cast<double>(A);
    const auto Channel = [Scale](quint64 V) {
        return std::min(255u, static_cast<unsigned>(V * Scale + 0.5));
    };
    return Color32(Channel(R), Channel(G), Channel(B), Alpha);
}

bool IsFinite(const QRectF& R) {
    return std::isfinite(R.x()) && std::isfinite(R.y()) && std::isfinite(R.width()) &&
           std::isfinite(R.height());
}

// An upper bound of how far the transform stretches any length.
double MaxStretch(const QTransform& T) {
    return std::sqrt(T.m11() * T.m11() + T.m12() * T.m12() + T.m21() * T.m21() + T.m22() * T.m22());
}

} // namespace

TGPGraphics::TGPGraphics(TBitmap32& Bitmap) : FBitmap(Bitmap) {}

double TGPGraphics::CentreShift() const {
    // Without anti-aliasing a pixel is set when its centre lies inside; moving a hair
    // towards the origin makes an edge on a pixel centre include it on the top and left
    // side and exclude it on the bottom and right, so a shape from 0 to 2 sets pixels 0, 1.
    const bool Smooth = FSmoothing == SmoothingModeAntiAlias || FSmoothing == SmoothingModeHighQuality;
    return Smooth ? 0.5 : 0.5 - 1.0 / 64;
}

QTransform TGPGraphics::WorldToPixels() const {
    return FWorld.ToQTransform() * QTransform::fromTranslate(CentreShift(), CentreShift());
}

template <class FDraw> void TGPGraphics::Paint(const QRectF& PixelArea, FDraw&& Draw) {
    if (FBitmap.Empty()) return;
    if (!IsFinite(PixelArea)) throw EGdipError(InvalidParameter, "coordinates are not finite numbers");
    const QRectF Surface(0, 0, FBitmap.Width(), FBitmap.Height());
    const QRectF Reach = PixelArea.adjusted(-1, -1, 1, 1).intersected(Surface);
    if (Reach.isEmpty()) return;
    const QRect Area = Reach.toAlignedRect().intersected(Surface.toRect());
    if (Area.isEmpty()) return;
    FTouched = UnionRect(FTouched, {Area.left(), Area.top(), Area.right() + 1, Area.bottom() + 1});

    // Large areas are painted band by band so the buffers stay small; each band runs the
    // whole drawing clipped to its rows, which gives the same pixels.
    const int BandRows = std::max(1, FBandPixels / Area.width());
    for (int Top = Area.top(); Top <= Area.bottom(); Top += BandRows)
        PaintBand(QRect(Area.x(), Top, Area.width(), std::min(BandRows, Area.bottom() + 1 - Top)), Draw);
}

template <class FDraw> void TGPGraphics::PaintBand(const QRect& Band, FDraw& Draw) {
    QImage Buffer(Band.size(), QImage::Format_RGBA64_Premultiplied);
    if (Buffer.isNull()) throw EGdipError(OutOfMemory, "drawing buffer");
    const std::size_t W = static_cast<std::size_t>(Band.width());
    // The imported values, to tell which pixels the drawing changed.
    std::vector<quint64> Imported(W * Band.height());
    for (int Y = 0; Y < Band.height(); ++Y) {
        const TColor32* Source = FBitmap.PixelPtr(Band.x(), Band.y() + Y);
        auto* Target = reinterpret_cast<quint64*>(Buffer.scanLine(Y));
        for (std::size_t X = 0; X < W; ++X) Target[X] = ToPremultiplied64(Source[X]);
        std::memcpy(&Imported[Y * W], Target, W * sizeof(quint64));
    }
    {
        QPainter Painter(&Buffer);
        const bool Smooth = FSmoothing == SmoothingModeAntiAlias || FSmoothing == SmoothingModeHighQuality;
        Painter.setRenderHint(QPainter::Antialiasing, Smooth);
        Painter.setRenderHint(QPainter::SmoothPixmapTransform,
                              FInterpolation != InterpolationModeNearestNeighbor);
        Draw(Painter, QTransform::fromTranslate(-Band.x(), -Band.y()));
    }
    for (int Y = 0; Y < Band.height(); ++Y) {
        TColor32* Target = FBitmap.PixelPtr(Band.x(), Band.y() + Y);
        const auto* Source = reinterpret_cast<const quint64*>(Buffer.constScanLine(Y));
        const quint64* Before = &Imported[Y * W];
        for (std::size_t X = 0; X < W; ++X)
            if (Source[X] != Before[X]) Target[X] = FromPremultiplied64(Source[X]);
    }
}

void TGPGraphics::Clear(TColor32 Color) {
    if (FBitmap.Empty()) return;
    std::fill_n(FBitmap.Bits(), static_cast<std::size_t>(FBitmap.Width()) * FBitmap.Height(), Color);
}

void TGPGraphics::Stroke(const TGPPen& Pen, const QPainterPath& Path) {
    const QTransform ToPixels = WorldToPixels();
    const QPen QtPen = Pen.ToQPen();
    double HalfWidth = QtPen.isCosmetic() ? 0.5 : Pen.Width() / 2 * MaxStretch(ToPixels);
    if (QtPen.joinStyle() == Qt::MiterJoin || QtPen.joinStyle() == Qt::SvgMiterJoin)
        HalfWidth *= QtPen.miterLimit();
    const QRectF Area =
        ToPixels.mapRect(Path.controlPointRect()).adjusted(-HalfWidth, -HalfWidth, HalfWidth, HalfWidth);
    Paint(Area, [&](QPainter& Painter, const QTransform& PixelsToBuffer) {
        Painter.setTransform(ToPixels * PixelsToBuffer);
        Painter.strokePath(Path, QtPen);
    });
}

void TGPGraphics::DrawPath(const TGPPen& Pen, const TGPPath& Path) {
    if (Path.IsEmpty()) return;
    Stroke(Pen, Path.QtPath());
}

void TGPGraphics::DrawLine(const TGPPen& Pen, int X1, int Y1, int X2, int Y2) {
    QPainterPath Line;
    Line.moveTo(X1, Y1);
    Line.lineTo(X2, Y2);
    Stroke(Pen, Line);
}

void TGPGraphics::FillPath(const TGPBrush& Brush, const TGPPath& Path) {
    if (Path.IsEmpty()) return;
    const QTransform ToPixels = WorldToPixels();
    Paint(ToPixels.mapRect(Path.QtPath().controlPointRect()),
          [&](QPainter& Painter, const QTransform& PixelsToBuffer) {
              TGPFillContext Context{Painter, ToPixels, PixelsToBuffer, CentreShift()};
              Brush.Fill(Path.QtPath(), Context);
          });
}

void TGPGraphics::FillRectangle(const TGPBrush& Brush, const TGPRectF& Rect) {
    TGPPath Path;
    Path.AddRectangle(Rect);
    FillPath(Brush, Path);
}

void TGPGraphics::DrawImage(const TGPImage& Image, const TGPRectF& Destination, const TGPRectF& Source,
                            const TGPImageAttributes* Attributes) {
    if (Image.Width() == 0 || Image.Height() == 0) return;
    const QImage Pixels = Attributes ? Attributes->Apply(Image.QtImage()) : Image.QtImage();
    // The image's pixel areas straddle the destination's whole coordinates, so an unscaled
    // image at a whole position is copied pixel for pixel.
    const QRectF Target(Destination.X - CentreShift(), Destination.Y - CentreShift(), Destination.Width,
                        Destination.Height);
    const QRectF From(Source.X, Source.Y, Source.Width, Source.Height);
    const QTransform ToPixels = WorldToPixels();
    Paint(ToPixels.mapRect(Target), [&](QPainter& Painter, const QTransform& PixelsToBuffer) {
        Painter.setTransform(ToPixels * PixelsToBuffer);
        Painter.drawImage(Target, Pixels, From);
    });
}

} // namespace zp
