#include "gfx/Pen.h"

#include <QColor>

namespace zp {

TGPPen::TGPPen(TColor32 Color, float Width) : FColor(Color), FWidth(Width) {}

QPen TGPPen::ToQPen() const {
    QPen P(QColor::fromRgba(FColor));
    P.setWidthF(FWidth > 0 ? FWidth : 0);
    P.setCosmetic(!(FWidth > 0));
    // Dash and gap lengths in pen widths, flat ends: the classic desktop patterns.
    switch (FDashStyle) {
    case DashStyleDash: P.setDashPattern({3, 1}); break;
    case DashStyleDot: P.setDashPattern({1, 1}); break;
    case DashStyleDashDot: P.setDashPattern({3, 1, 1, 1}); break;
    case DashStyleDashDotDot: P.setDashPattern({3, 1, 1, 1, 1, 1}); break;
    default: P.setStyle(Qt::SolidLine); break;
    }
    P.setCapStyle(Qt::FlatCap);
    switch (FLineJoin) {
    case LineJoinRound: P.setJoinStyle(Qt::RoundJoin); break;
    case LineJoinBevel: P.setJoinStyle(Qt::BevelJoin); break;
    // A miter past the limit turns into a bevel; the clipped kind cuts it off at the limit.
    case LineJoinMiterClipped: P.setJoinStyle(Qt::MiterJoin); break;
    default: P.setJoinStyle(Qt::SvgMiterJoin); break;
    }
    P.setMiterLimit(10);
    return P;
}

} // namespace zp
