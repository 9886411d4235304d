#pragma once

#include "gfx/GdipTypes.h"
#include "raster/Color32.h"

#include <QPen>

namespace zp {

class TGPPen {
public:
    // Width in world units; 0 draws the thinnest line the surface can show (one pixel).
    TGPPen(TColor32 Color, float Width);

    TColor32 Color() const { return FColor; }
    void SetColor(TColor32 Color) { FColor = Color; }
    float Width() const { return FWidth; }
    void SetWidth(float Width) { FWidth = Width; }
    TGPDashStyle DashStyle() const { return FDashStyle; }
    // DashStyleCustom has no pattern of its own here and draws solid.
    void SetDashStyle(TGPDashStyle Style) { FDashStyle = Style; }
    TGPLineJoin LineJoin() const { return FLineJoin; }
    void SetLineJoin(TGPLineJoin Join) { FLineJoin = Join; }

    QPen ToQPen() const;

private:
    TColor32 FColor;
    float FWidth;
    TGPDashStyle FDashStyle = DashStyleSolid;
    TGPLineJoin FLineJoin = LineJoinMiter;
};

} // namespace zp
