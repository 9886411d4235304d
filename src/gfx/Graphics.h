#pragma once

#include "gfx/Brushes.h"
#include "gfx/Fonts.h"
#include "gfx/GdipTypes.h"
#include "gfx/Image.h"
#include "gfx/Matrix.h"
#include "gfx/Path.h"
#include "gfx/Pen.h"
#include "raster/Bitmap32.h"

#include <QRectF>

#include <algorithm>

namespace zp {

// A drawing surface on a TBitmap32. Results land in the bitmap's pixels at once, in
// straight alpha; pixels an operation does not touch keep their exact value, so cleared
// pixels stay 0. The bitmap may be read, written or resized between operations.
//
// Coordinates follow the pixel-centre convention: world point (x, y) without a transform
// is the centre of pixel (x, y), so a one-pixel line on a whole coordinate covers exactly
// one row of pixels and a rectangle from 0 to 10 covers pixels 1 to 9 fully and half of
// pixels 0 and 10. Images and textures are laid so that their pixel i lands on surface
// pixel i when drawn unscaled at a whole position.
class TGPGraphics {
public:
    explicit TGPGraphics(TBitmap32& Bitmap);
    TGPGraphics(const TGPGraphics&) = delete;
    TGPGraphics& operator=(const TGPGraphics&) = delete;

    // A new surface draws without anti-aliasing, as the library it stands for did.
    void SetSmoothingMode(TGPSmoothingMode Mode) { FSmoothing = Mode; }
    TGPSmoothingMode SmoothingMode() const { return FSmoothing; }
    // Every mode but nearest neighbour filters images bilinearly.
    void SetInterpolationMode(TGPInterpolationMode Mode) { FInterpolation = Mode; }
    TGPInterpolationMode InterpolationMode() const { return FInterpolation; }

    // Sets every pixel to Color, regardless of the transform.
    void Clear(TColor32 Color);

    void SetWorldTransform(const TGPMatrix& Matrix) { FWorld = Matrix; }
    TGPMatrix GetWorldTransform() const { return FWorld; }
    void ResetWorldTransform() { FWorld.Reset(); }

    void DrawPath(const TGPPen& Pen, const TGPPath& Path);
    void FillPath(const TGPBrush& Brush, const TGPPath& Path);
    // Draws the Source part of Image (pixels) into Destination (world coordinates). Only
    // the attributes' colour matrix applies here; their wrap mode matters to texture
    // brushes, and a scaled image's border pixels simply extend to its edge.
    void DrawImage(const TGPImage& Image, const TGPRectF& Destination, const TGPRectF& Source,
                   const TGPImageAttributes* Attributes = nullptr);
    void DrawLine(const TGPPen& Pen, int X1, int Y1, int X2, int Y2);
    void FillRectangle(const TGPBrush& Brush, const TGPRectF& Rect);

    TGPRectF MeasureString(const QString& Text, const TGPFont& Font, const TGPRectF& LayoutRect,
                           const TGPStringFormat* Format = nullptr) const {
        return zp::MeasureString(Text, Font, LayoutRect, Format);
    }

    TBitmap32& Bitmap() { return FBitmap; }
    // The pixels that drawing (not Clear) may have changed so far: outside it the surface is
    // as it was. Empty when nothing was drawn.
    TRect Touched() const { return FTouched; }
    // Operations on larger areas are painted in bands of about this many pixels (8 bytes
    // each, twice over, while the operation runs).
    void SetBandPixels(int Pixels) { FBandPixels = std::max(1, Pixels); }

private:
    double CentreShift() const;
    QTransform WorldToPixels() const;
    void Stroke(const TGPPen& Pen, const QPainterPath& Path);
    // Runs Draw on a high-precision buffer over the pixels that PixelArea (pixel-area
    // coordinates) touches and writes the changed pixels back.
    template <class FDraw> void Paint(const QRectF& PixelArea, FDraw&& Draw);
    template <class FDraw> void PaintBand(const QRect& Band, FDraw& Draw);

    TBitmap32& FBitmap;
    TGPSmoothingMode FSmoothing = SmoothingModeNone;
    TGPInterpolationMode FInterpolation = InterpolationModeBilinear;
    TGPMatrix FWorld;
    int FBandPixels = 1 << 20;
    TRect FTouched{0, 0, 0, 0};
};

} // namespace zp
