#pragma once

#include "gfx/GdipTypes.h"
#include "gfx/Matrix.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QTransform>

#include <vector>

namespace zp {

class TGPFontFamily;
class TGPStringFormat;

// A figure of a path as it was added, kept beside the outline so that a path gradient can
// measure the way from its centre to the edge exactly (an ellipse is not flattened).
struct TGPPathFigure {
    enum TKind { fkPolygon, fkEllipse, fkOther };
    TKind Kind = fkOther;
    QPolygonF Points;     // fkPolygon: the corners, transformed with the path
    QRectF EllipseRect;   // fkEllipse: the untransformed bounds
    QTransform EllipseXf; // fkEllipse: the transforms applied since
};

class TGPPath {
public:
    explicit TGPPath(TGPFillMode FillMode = FillModeAlternate);

    TGPFillMode FillMode() const { return FFillMode; }
    void SetFillMode(TGPFillMode Mode);

    // Each call adds a closed figure. Fewer than three points give a figure with no area.
    void AddPolygon(const TGPPointF* Points, int Count);
    void AddPolygon(const std::vector<TGPPointF>& Points) {
        AddPolygon(Points.data(), static_cast<int>(Points.size()));
    }
    void AddRectangle(const TGPRectF& Rect);
    void AddEllipse(const TGPRectF& Rect);
    // Glyph outlines of Text; EmSize is in the path's units (pixels). The layout box's
    // top-left corner is the top of the first line; lines break at '\n' only.
    void AddString(const QString& Text, const TGPFontFamily& Family, int Style, float EmSize,
                   const TGPRectF& LayoutRect, const TGPStringFormat* Format = nullptr);

    void Transform(const TGPMatrix& Matrix);
    // Bounds of the outline itself: no pen, no matrix. An empty path gives (0, 0, 0, 0).
    TGPRectF GetWorldBounds() const;
    void Reset();
    bool IsEmpty() const { return FPath.isEmpty(); }

    const QPainterPath& QtPath() const { return FPath; }
    const std::vector<TGPPathFigure>& Figures() const { return FFigures; }

private:
    TGPFillMode FFillMode;
    QPainterPath FPath;
    std::vector<TGPPathFigure> FFigures;
};

} // namespace zp
