#pragma once

#include "gfx/GdipTypes.h"
#include "gfx/Image.h"
#include "gfx/Matrix.h"
#include "gfx/Path.h"
#include "raster/Color32.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <memory>

namespace zp {

// What a brush needs to fill one path during a surface operation.
struct TGPFillContext {
    QPainter& Painter;
    // World coordinates to pixel-area coordinates of the surface (pixel (x, y) covers
    // [x, x + 1) x [y, y + 1)); it includes the half-pixel shift of the pixel-centre
    // convention, see TGPGraphics.
    QTransform WorldToPixels;
    // Pixel-area coordinates of the surface to the operation's buffer.
    QTransform PixelsToBuffer;
    // The shift within WorldToPixels from pixel centres to pixel areas; textures undo it
    // so that their pixels stay on the surface's pixels.
    double CentreShift = 0.5;
};

class TGPBrush {
public:
    virtual ~TGPBrush() = default;
    virtual std::unique_ptr<TGPBrush> Clone() const = 0;
    // Fills Path, given in world coordinates.
    virtual void Fill(const QPainterPath& Path, TGPFillContext& Context) const = 0;
};

class TGPSolidBrush : public TGPBrush {
public:
    explicit TGPSolidBrush(TColor32 Color) : FColor(Color) {}
    TColor32 Color() const { return FColor; }
    std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPSolidBrush>(*this); }
    void Fill(const QPainterPath& Path, TGPFillContext& Context) const override;

private:
    TColor32 FColor;
};

// An 8 x 8 pattern aligned to the surface's pixels, whatever the world transform.
class TGPHatchBrush : public TGPBrush {
public:
    // Throws EGdipError(InvalidParameter) for a style outside 0..52.
    TGPHatchBrush(int Style, TColor32 ForeColor, TColor32 BackColor);
    int Style() const { return FStyle; }
    TColor32 ForegroundColor() const { return FFore; }
    TColor32 BackgroundColor() const { return FBack; }
    std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPHatchBrush>(*this); }
    void Fill(const QPainterPath& Path, TGPFillContext& Context) const override;

private:
    int FStyle;
    TColor32 FFore;
    TColor32 FBack;
};

// Colour 1 at Point1, colour 2 at Point2, lines of equal colour perpendicular to the
// way between them, repeating beyond both points. Channels are interpolated on the straight
// (not premultiplied) values. Coinciding points paint nothing.
class TGPLinearGradientBrush : public TGPBrush {
public:
    TGPLinearGradientBrush(TGPPointF Point1, TGPPointF Point2, TColor32 Color1, TColor32 Color2);
    TGPPointF Point1() const { return FPoint1; }
    TGPPointF Point2() const { return FPoint2; }
    std::unique_ptr<TGPBrush> Clone() const override {
        return std::make_unique<TGPLinearGradientBrush>(*this);
    }
    void Fill(const QPainterPath& Path, TGPFillContext& Context) const override;

private:
    TGPPointF FPoint1;
    TGPPointF FPoint2;
    TColor32 FColor1;
    TColor32 FColor2;
};

// The centre colour at the centre point, the surround colour on the brush path's edge, in
// between interpolated along each ray from the centre (straight channels). Paints only
// inside the brush path: a point counts as inside when it lies between the centre and the
// first crossing of the edge on its ray, which for convex paths is exactly the interior.
class TGPPathGradientBrush : public TGPBrush {
public:
    // The centre starts at the centre of the path's bounds; both colours start opaque white.
    explicit TGPPathGradientBrush(const TGPPath& Path);
    void SetCenterColor(TColor32 Color) { FCenterColor = Color; }
    TColor32 CenterColor() const { return FCenterColor; }
    void SetSurroundColor(TColor32 Color) { FSurroundColor = Color; }
    TColor32 SurroundColor() const { return FSurroundColor; }
    void SetCenterPoint(TGPPointF Point) { FCenter = Point; }
    TGPPointF CenterPoint() const { return FCenter; }

    // The colour at world point P, and whether P is painted at all.
    bool ColorAt(double X, double Y, TColor32& Color) const;

    std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPPathGradientBrush>(*this); }
    void Fill(const QPainterPath& Path, TGPFillContext& Context) const override;

private:
    // The parameter t (0 at the centre, 1 on the edge) of world point P; negative when the
    // ray from the centre through P never meets the edge.
    double Gauge(double X, double Y) const;

    TGPPath FPath;
    TGPPointF FCenter;
    TColor32 FCenterColor = 0xFFFFFFFF;
    TColor32 FSurroundColor = 0xFFFFFFFF;
    std::vector<QPolygonF> FPolygons;
    std::vector<QTransform> FEllipsesToUnitCircle;
};

// A whole image as a texture; the image's pixel (0, 0) is centred on the world origin
// until a transform is set.
class TGPTextureBrush : public TGPBrush {
public:
    TGPTextureBrush(const TGPImage& Image, TGPWrapMode WrapMode = WrapModeTile);
    // The image adjusted by the attributes' colour matrix, repeating by their wrap mode.
    TGPTextureBrush(const TGPImage& Image, const TGPImageAttributes& Attributes);

    TGPWrapMode WrapMode() const { return FWrapMode; }
    void SetTransform(const TGPMatrix& Matrix) { FTransform = Matrix; }
    TGPMatrix GetTransform() const { return FTransform; }

    std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPTextureBrush>(*this); }
    void Fill(const QPainterPath& Path, TGPFillContext& Context) const override;

private:
    void BuildTile();

    QImage FImage;
    QImage FTile;
    TGPWrapMode FWrapMode;
    TGPMatrix FTransform;
};

} // namespace zp
