#pragma once

// The drawing side of the metafile players: a GDI-like device context over QPainter. Not part
// of the module's interface.

#include "files/PictureCodecs.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace zp::metafile {

// A COLORREF: red, green and blue bytes; the fourth byte is a flag we ignore.
inline QColor ColorRef(std::uint32_t V) {
    return QColor(V & 0xFF, (V >> 8) & 0xFF, (V >> 16) & 0xFF);
}

struct TLogPen {
    std::uint32_t Style = 0; // PS_* with the type, cap and join bits
    double Width = 0;        // logical units; cosmetic pens are one pixel wide
    bool Cosmetic = true;
    QColor Color = Qt::black;
    std::vector<double> UserDashes; // PS_USERSTYLE, logical units
};

struct TLogBrush {
    std::uint32_t Style = 0; // BS_*
    QColor Color = Qt::white;
    std::uint32_t Hatch = 0;
    QImage Pattern; // the tile of a DIB pattern brush
};

struct TLogFont {
    double Height = 0;  // logical units: negative is the em size, positive the cell height
    int Escapement = 0; // tenths of a degree, counter-clockwise
    int Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    QString Face;
};

// An entry of an object table. Placeholders keep the slots of objects we do not draw with
// (palettes, regions) so that later indices stay right.
struct TPlaceholder {};
using TObject = std::variant<TPlaceholder, TLogPen, TLogBrush, TLogFont>;

// EMF stock objects (index with the high bit set); nullopt for an unknown index.
std::optional<TObject> StockObject(std::uint32_t Index);

// How the metafile's device space lies on the picture.
struct TMapping {
    QTransform DeviceToPicture; // identity for WMF, where the viewport is the picture
    double DevicePixelsPerMm = 96 / 25.4;
    // WMF: the window always maps onto this viewport; SetMapMode and the viewport records
    // are left to the player that plays the file.
    bool FixedViewport = false;
    QSizeF Viewport;
    QPointF WindowOrg;
    QSizeF WindowExt{1, 1};
};

enum TArcKind { akArc, akArcTo, akChord, akPie };

// A bitmap decoded from a DIB. BottomUp tells how its source coordinates count rows.
struct TDib {
    QImage Image;
    bool BottomUp = false;
};

// A DIB split into its header with colour table and its pixel bits. A null image when it is
// damaged, too large or of a kind not drawn (palette indices, unknown compression).
TDib DecodeDib(std::span<const std::uint8_t> Info, std::span<const std::uint8_t> Bits,
               const TDecodeLimits& Limits);
// The same for a DIB stored in one piece, as in WMF records.
TDib DecodePackedDib(std::span<const std::uint8_t> Dib, const TDecodeLimits& Limits);

class TCanvas {
public:
    // Target must be Format_RGB32 and already filled with the background.
    TCanvas(QImage& Target, const TMapping& Mapping);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Whether any drawing record reached the picture.
    bool Drew() const { return FDrew; }

    // --- mapping
    void SetMapMode(int Mode);
    void SetWindowOrg(QPointF P);
    void SetWindowExt(QSizeF S);
    void SetViewportOrg(QPointF P);
    void SetViewportExt(QSizeF S);
    void OffsetWindowOrg(QPointF D);
    void OffsetViewportOrg(QPointF D);
    void ScaleWindowExt(double XNum, double XDenom, double YNum, double YDenom);
    void ScaleViewportExt(double XNum, double XDenom, double YNum, double YDenom);
    void SetWorldTransform(const QTransform& T);
    void ModifyWorldTransform(const QTransform& T, std::uint32_t Mode);

    void SaveDC();
    void RestoreDC(int Which);

    // --- attributes
    void Select(const TObject& Object);
    void SetTextColor(QColor C) { FState.TextColor = C; }
    void SetBkColor(QColor C) { FState.BkColor = C; }
    void SetBkMode(std::uint32_t Mode) { FState.BkOpaque = Mode == 2; }
    void SetPolyFillMode(std::uint32_t Mode) { FState.Winding = Mode == 2; }
    void SetTextAlign(std::uint32_t Align) { FState.TextAlign = Align; }
    void SetRop2(std::uint32_t Rop) { FState.Rop2 = Rop; }
    void SetStretchMode(std::uint32_t Mode) { FState.SmoothStretch = Mode == 4; }
    void SetMiterLimit(double Limit);
    void SetArcDirection(std::uint32_t Direction) { FState.Clockwise = Direction == 2; }

    // --- drawing, in logical coordinates
    void MoveTo(QPointF P);
    void LineTo(QPointF P);
    void Polyline(const QPolygonF& Points);
    void PolylineTo(const QPolygonF& Points);
    void PolyBezier(const QPolygonF& Points);
    void PolyBezierTo(const QPolygonF& Points);
    void Polygon(const QPolygonF& Points);
    void PolyPolygon(const std::vector<QPolygonF>& Polygons);
    void PolyPolyline(const std::vector<QPolygonF>& Lines);
    void Rectangle(const QRectF& Box);
    void RoundRect(const QRectF& Box, QSizeF Corner);
    void Ellipse(const QRectF& Box);
    void Arc(TArcKind Kind, const QRectF& Box, QPointF Start, QPointF End);
    void AngleArc(QPointF Center, double Radius, double StartAngle, double SweepAngle);
    void SetPixel(QPointF P, QColor C);

    // --- paths
    void BeginPath();
    void EndPath() { FInPath = false; }
    void AbortPath();
    void CloseFigure();
    void FillPath() { PaintPath(true, false); }
    void StrokePath() { PaintPath(false, true); }
    void StrokeAndFillPath() { PaintPath(true, true); }
    void WidenPath();
    // RGN_AND 1, RGN_OR 2, RGN_XOR 3, RGN_DIFF 4, RGN_COPY 5.
    void SelectClipPath(std::uint32_t Mode);

    // --- clipping
    void IntersectClipRect(const QRectF& R);
    void ExcludeClipRect(const QRectF& R);
    // Rectangles in device units combined with the clip; no rectangles with RGN_COPY resets it.
    void SelectClipRegion(const std::vector<QRectF>& DeviceRects, std::uint32_t Mode);

    // --- text; Dx are the advances in logical units (one a character), empty when absent.
    void TextOut(QPointF Ref, const QString& Text, const std::vector<double>& Dx, std::uint32_t Options,
                 const std::optional<QRectF>& Rect);

    // --- bitmaps; Dest in logical units, Source in the bitmap's pixels, both may be mirrored.
    void DrawBitmap(const QRectF& Dest, const TDib& Bitmap, QRectF Source, std::uint32_t Rop,
                    double Opacity = 1);
    void PatBlt(const QRectF& Dest, std::uint32_t Rop);

private:
    struct TState {
        int MapMode = 1;
        QPointF WinOrg, VpOrg;
        QSizeF WinExt{1, 1}, VpExt{1, 1};
        QTransform World;
        TLogPen Pen;
        TLogBrush Brush;
        TLogFont Font;
        QColor TextColor = Qt::black;
        QColor BkColor = Qt::white;
        bool BkOpaque = true;
        bool Winding = false;
        std::uint32_t TextAlign = 0;
        std::uint32_t Rop2 = 13;
        bool SmoothStretch = false;
        double MiterLimit = 10;
        bool Clockwise = false;
        QPointF Pos;
        bool Clipped = false;
        QPainterPath Clip; // picture coordinates
    };

    QTransform PageTransform() const;
    QTransform Full() const { return FState.World * PageTransform() * FMapping.DeviceToPicture; }
    QPen MakePen(const QTransform& T) const;
    QBrush MakeBrush(const QTransform& T) const;
    // Counts the cost of drawing over Area (picture coordinates); false when the area is
    // absurdly far off or not finite, so that nothing is drawn.
    bool Admit(const QRectF& Area);
    void ApplyClip();
    // Draws Logical with the current transform, pen and brush, or adds it to the path.
    void Paint(QPainterPath Logical, bool Fill, bool Stroke);
    void PaintPath(bool Fill, bool Stroke);
    void PathLineTo(QPointF Logical);
    void PathCubicTo(QPointF C1, QPointF C2, QPointF End);
    QPainterPath ArcPath(TArcKind Kind, const QRectF& Box, QPointF Start, QPointF End, QPointF* ArcEnd) const;
    void SetClip(const QPainterPath& Clip);
    // Path in picture coordinates, Mode as for SelectClipPath.
    void CombineClip(const QPainterPath& Path, std::uint32_t Mode);

    QImage& FTarget;
    QPainter FPainter;
    TMapping FMapping;
    TState FState;
    std::vector<TState> FSaved;
    bool FInPath = false;
    QPainterPath FPath; // picture coordinates
    bool FClipDirty = true;
    bool FDrew = false;
    double FCost = 0;
    double FBudget = 0;
};

} // namespace zp::metafile
