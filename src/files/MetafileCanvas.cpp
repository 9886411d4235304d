#include "files/MetafileCanvas.h"

#include "files/CodecSupport.h"
#include "gfx/Fonts.h"

#include <uemf.h>

#include <QFontMetricsF>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace zp::metafile {

namespace {

// Coordinates this far outside the picture are refused: they can only come from a damaged
// file, and the rasteriser slows down on them.
constexpr double FarOff = 1e7;
// Saved states beyond this many are dropped; a file that saves more is hostile.
constexpr std::size_t MaxSavedStates = 4096;
// Pens wider than this many logical units are not drawn (Qt refuses them).
constexpr double MaxPenWidth = 1 << 22;
// A glyph larger than this many pixels is not drawn.
constexpr double MaxGlyphPixels = 20000;

// Binary raster operations (SetROP2).
constexpr std::uint32_t R2_BLACK = 1, R2_NOTCOPYPEN = 4, R2_NOT = 6, R2_XORPEN = 7, R2_MASKPEN = 9,
                        R2_NOP = 11, R2_MERGEPEN = 15, R2_WHITE = 16;
// Ternary raster operations of the bitmap records.
constexpr std::uint32_t SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                        SRCINVERT = 0x00660046, NOTSRCCOPY = 0x00330008, PATCOPY = 0x00F00021,
                        PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
                        WHITENESS = 0x00FF0062;

bool Finite(const QTransform& T) {
    return std::isfinite(T.m11()) && std::isfinite(T.m12()) && std::isfinite(T.m21()) &&
           std::isfinite(T.m22()) && std::isfinite(T.dx()) && std::isfinite(T.dy());
}

std::optional<QPainter::CompositionMode> Rop2Mode(std::uint32_t Rop) {
    switch (Rop) {
    case R2_BLACK: return QPainter::RasterOp_ClearDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_WHITE: return QPainter::RasterOp_SetDestination;
    case R2_NOP: return std::nullopt;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

std::optional<QPainter::CompositionMode> SourceRopMode(std::uint32_t Rop) {
    switch (Rop) {
    case SRCCOPY: return QPainter::CompositionMode_SourceOver;
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    default: return std::nullopt;
    }
}

QImage ToImage(const TBitmap32& B) {
    QImage Image(B.Width(), B.Height(), QImage::Format_ARGB32);
    if (Image.isNull()) return Image;
    for (int Y = 0; Y < B.Height(); ++Y)
        std::memcpy(Image.scanLine(Y), B.ScanLine(Y), static_cast<std::size_t>(B.Width()) * 4);
    return Image;
}

std::uint32_t LE32(std::span<const std::uint8_t> D, std::size_t At) {
    if (At + 4 > D.size()) return 0;
    return D[At] | (D[At + 1] << 8) | (D[At + 2] << 16) | (std::uint32_t{D[At + 3]} << 24);
}

} // namespace

std::optional<TObject> StockObject(std::uint32_t Index) {
    const auto Brush = [](std::uint32_t Style, QColor C) {
        TLogBrush B;
        B.Style = Style;
        B.Color = C;
        return TObject(B);
    };
    const auto Pen = [](std::uint32_t Style, QColor C) {
        TLogPen P;
        P.Style = Style;
        P.Color = C;
        return TObject(P);
    };
    switch (Index) {
    case U_WHITE_BRUSH: return Brush(U_BS_SOLID, Qt::white);
    case U_LTGRAY_BRUSH: return Brush(U_BS_SOLID, QColor(0xC0, 0xC0, 0xC0));
    case U_GRAY_BRUSH: return Brush(U_BS_SOLID, QColor(0x80, 0x80, 0x80));
    case U_DKGRAY_BRUSH: return Brush(U_BS_SOLID, QColor(0x40, 0x40, 0x40));
    case U_BLACK_BRUSH: return Brush(U_BS_SOLID, Qt::black);
    case U_NULL_BRUSH: return Brush(U_BS_NULL, Qt::black);
    case U_WHITE_PEN: return Pen(U_PS_SOLID, Qt::white);
    case U_BLACK_PEN: return Pen(U_PS_SOLID, Qt::black);
    case U_NULL_PEN: return Pen(U_PS_NULL, Qt::black);
    case U_OEM_FIXED_FONT:
    case U_ANSI_FIXED_FONT:
    case U_ANSI_VAR_FONT:
    case U_SYSTEM_FONT:
    case U_DEVICE_DEFAULT_FONT:
    case U_SYSTEM_FIXED_FONT:
    case U_DEFAULT_GUI_FONT: return TObject(TLogFont{});
    case U_DEFAULT_PALETTE: return TObject(TPlaceholder{});
    case 0x80000012: return Brush(U_BS_SOLID, Qt::white); // DC_BRUSH
    case 0x80000013: return Pen(U_PS_SOLID, Qt::black);   // DC_PEN
    default: return std::nullopt;
    }
}

// ----------------------------------------------------------------------------------------
// Bitmaps

TDib DecodeDib(std::span<const std::uint8_t> Info, std::span<const std::uint8_t> Bits,
               const TDecodeLimits& Limits) {
    TDib Result;
    const std::uint32_t HeaderSize = LE32(Info, 0);
    if (HeaderSize < 12 || HeaderSize > Info.size()) return Result;
    std::int64_t Width, Height;
    std::uint32_t Compression = U_BI_RGB, BitCount;
    if (HeaderSize == 12) {
        Width = Info[4] | (Info[5] << 8);
        Height = Info[6] | (Info[7] << 8);
        BitCount = Info[10] | (Info[11] << 8);
    } else {
        if (HeaderSize < 16) return Result;
        Width = static_cast<std::int32_t>(LE32(Info, 4));
        Height = static_cast<std::int32_t>(LE32(Info, 8));
        BitCount = (LE32(Info, 12) >> 16) & 0xFFFF;
        if (HeaderSize >= 20) Compression = LE32(Info, 16);
    }
    Result.BottomUp = Height > 0;
    // A DIB may not take more pixels than its bytes could plausibly describe, so that a small
    // compressed record cannot claim a huge bitmap.
    TDecodeLimits Own = Limits;
    const std::int64_t Bytes = static_cast<std::int64_t>(Info.size() + Bits.size());
    Own.MaxPixels = std::min(Limits.MaxPixels, std::max<std::int64_t>(std::int64_t{1} << 24, 64 * Bytes));
    if (Width <= 0 || Height == 0 || Width * std::abs(Height) > Own.MaxPixels) return Result;
    try {
        std::unique_ptr<TBitmap32> Decoded;
        if (Compression == U_BI_JPEG) {
            Decoded = DecodeJPEG(Bits, Own);
        } else if (Compression == U_BI_PNG) {
            TPngTransparency Transparency = ptNone;
            Decoded = DecodePNGWithAlpha(Bits, Transparency, Own);
        } else {
            // The BMP decoder reads a DIB once it has a file header in front.
            std::vector<std::uint8_t> File;
            const std::size_t Size = 14 + Info.size() + Bits.size();
            File.reserve(Size);
            File.push_back('B');
            File.push_back('M');
            codec::PutU32LE(File, static_cast<std::uint32_t>(Size));
            codec::PutU32LE(File, 0);
            codec::PutU32LE(File, static_cast<std::uint32_t>(14 + Info.size()));
            File.insert(File.end(), Info.begin(), Info.end());
            File.insert(File.end(), Bits.begin(), Bits.end());
            Decoded = DecodeBMP(File, Own);
            // Writers leave the fourth byte of 32-bit pixels at 0 when they mean opaque.
            if (BitCount == 32) {
                const std::int64_t Count = std::int64_t{Decoded->Width()} * Decoded->Height();
                TColor32* P = Decoded->Bits();
                if (std::all_of(P, P + Count, [](TColor32 C) { return AlphaComponent(C) == 0; }))
                    for (std::int64_t I = 0; I < Count; ++I) P[I] |= 0xFF000000u;
            }
        }
        Result.Image = ToImage(*Decoded);
    } catch (const EFileError&) {
        Result.Image = QImage();
    } catch (const std::bad_alloc&) {
        Result.Image = QImage();
    } catch (const EBitmapError&) {
        Result.Image = QImage();
    }
    return Result;
}

TDib DecodePackedDib(std::span<const std::uint8_t> Dib, const TDecodeLimits& Limits) {
    const std::uint32_t HeaderSize = LE32(Dib, 0);
    if (HeaderSize < 12 || HeaderSize > Dib.size()) return {};
    std::size_t TableSize;
    if (HeaderSize == 12) {
        const unsigned BitCount = Dib[10] | (Dib[11] << 8);
        TableSize = BitCount <= 8 ? 3 * (std::size_t{1} << BitCount) : 0;
    } else {
        if (HeaderSize < 40) return {};
        const unsigned BitCount = (LE32(Dib, 12) >> 16) & 0xFFFF;
        const std::uint32_t Compression = LE32(Dib, 16);
        std::uint64_t Colors = LE32(Dib, 32);
        if (Colors == 0 && BitCount <= 8) Colors = std::uint64_t{1} << BitCount;
        TableSize = static_cast<std::size_t>(std::min<std::uint64_t>(Colors, 1 << 16) * 4);
        if (HeaderSize == 40 && Compression == U_BI_BITFIELDS) TableSize += 12;
        if (HeaderSize == 40 && Compression == 6) TableSize += 16; // BI_ALPHABITFIELDS
    }
    const std::size_t InfoSize = HeaderSize + TableSize;
    if (InfoSize > Dib.size()) return {};
    return DecodeDib(Dib.first(InfoSize), Dib.subspan(InfoSize), Limits);
}

// ----------------------------------------------------------------------------------------
// Canvas

TCanvas::TCanvas(QImage& Target, const TMapping& Mapping) : FTarget(Target), FMapping(Mapping) {
    FPainter.begin(&FTarget);
    // GDI draws without anti-aliasing; partly covered pixels would also turn transparent in
    // the white and red comparison.
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    FPainter.setRenderHint(QPainter::TextAntialiasing, false);
    if (Mapping.FixedViewport) {
        FState.MapMode = U_MM_ANISOTROPIC;
        FState.VpExt = Mapping.Viewport;
        FState.WinOrg = Mapping.WindowOrg;
        FState.WinExt = Mapping.WindowExt;
    }
    // Enough for dozens of full-picture layers; a file asking for more is refused rather than
    // keeping the program busy for minutes.
    FBudget = std::max(std::ldexp(1.0, 32), 64.0 * Target.width() * Target.height());
}

TCanvas::~TCanvas() {
    FPainter.end();
}

QTransform TCanvas::PageTransform() const {
    const TState& S = FState;
    double Sx = 1, Sy = 1;
    const double PerMm = FMapping.DevicePixelsPerMm;
    switch (S.MapMode) {
    case U_MM_LOMETRIC: Sx = PerMm * 0.1; break;
    case U_MM_HIMETRIC: Sx = PerMm * 0.01; break;
    case U_MM_LOENGLISH: Sx = PerMm * 0.254; break;
    case U_MM_HIENGLISH: Sx = PerMm * 0.0254; break;
    case U_MM_TWIPS: Sx = PerMm * 25.4 / 1440; break;
    case U_MM_ISOTROPIC:
    case U_MM_ANISOTROPIC:
        if (S.WinExt.width() != 0 && S.WinExt.height() != 0) {
            Sx = S.VpExt.width() / S.WinExt.width();
            Sy = S.VpExt.height() / S.WinExt.height();
            if (S.MapMode == U_MM_ISOTROPIC) {
                const double M = std::min(std::abs(Sx), std::abs(Sy));
                Sx = std::copysign(M, Sx);
                Sy = std::copysign(M, Sy);
            }
        }
        break;
    default: break;
    }
    // The metric modes count y upwards.
    if (S.MapMode >= U_MM_LOMETRIC && S.MapMode <= U_MM_TWIPS) Sy = -Sx;
    return QTransform(Sx, 0, 0, Sy, S.VpOrg.x() - S.WinOrg.x() * Sx, S.VpOrg.y() - S.WinOrg.y() * Sy);
}

void TCanvas::SetMapMode(int Mode) {
    if (FMapping.FixedViewport || Mode < U_MM_MIN || Mode > U_MM_MAX) return;
    FState.MapMode = Mode;
}

void TCanvas::SetWindowOrg(QPointF P) {
    FState.WinOrg = P;
}

void TCanvas::SetWindowExt(QSizeF S) {
    if (S.width() != 0 && S.height() != 0) FState.WinExt = S;
}

void TCanvas::SetViewportOrg(QPointF P) {
    if (!FMapping.FixedViewport) FState.VpOrg = P;
}

void TCanvas::SetViewportExt(QSizeF S) {
    if (!FMapping.FixedViewport && S.width() != 0 && S.height() != 0) FState.VpExt = S;
}

void TCanvas::OffsetWindowOrg(QPointF D) {
    FState.WinOrg += D;
}

void TCanvas::OffsetViewportOrg(QPointF D) {
    if (!FMapping.FixedViewport) FState.VpOrg += D;
}

void TCanvas::ScaleWindowExt(double XNum, double XDenom, double YNum, double YDenom) {
    if (XDenom == 0 || YDenom == 0) return;
    SetWindowExt(QSizeF(FState.WinExt.width() * XNum / XDenom, FState.WinExt.height() * YNum / YDenom));
}

void TCanvas::ScaleViewportExt(double XNum, double XDenom, double YNum, double YDenom) {
    if (XDenom == 0 || YDenom == 0) return;
    SetViewportExt(QSizeF(FState.VpExt.width() * XNum / XDenom, FState.VpExt.height() * YNum / YDenom));
}

void TCanvas::SetWorldTransform(const QTransform& T) {
    if (Finite(T) && T.determinant() != 0) FState.World = T;
}

void TCanvas::ModifyWorldTransform(const QTransform& T, std::uint32_t Mode) {
    if (Mode == U_MWT_IDENTITY) {
        FState.World = QTransform();
        return;
    }
    if (!Finite(T)) return;
    QTransform W;
    if (Mode == U_MWT_LEFTMULTIPLY)
        W = T * FState.World;
    else if (Mode == U_MWT_RIGHTMULTIPLY)
        W = FState.World * T;
    else if (Mode == 4) // MWT_SET
        W = T;
    else
        return;
    if (Finite(W) && W.determinant() != 0) FState.World = W;
}

void TCanvas::SaveDC() {
    if (FSaved.size() < MaxSavedStates) FSaved.push_back(FState);
}

void TCanvas::RestoreDC(int Which) {
    // Negative counts back from the latest save, positive names a save by its number.
    const std::int64_t Count = static_cast<std::int64_t>(FSaved.size());
    const std::int64_t Index = Which < 0 ? Count + Which : std::int64_t{Which} - 1;
    if (Which == 0 || Index < 0 || Index >= Count) return;
    FState = FSaved[static_cast<std::size_t>(Index)];
    FSaved.resize(static_cast<std::size_t>(Index));
    FClipDirty = true;
}

void TCanvas::Select(const TObject& Object) {
    if (const auto* P = std::get_if<TLogPen>(&Object)) FState.Pen = *P;
    if (const auto* B = std::get_if<TLogBrush>(&Object)) FState.Brush = *B;
    if (const auto* F = std::get_if<TLogFont>(&Object)) FState.Font = *F;
}

void TCanvas::SetMiterLimit(double Limit) {
    if (std::isfinite(Limit) && Limit >= 1) FState.MiterLimit = std::min(Limit, 1000.0);
}

QPen TCanvas::MakePen(const QTransform& T) const {
    const TLogPen& P = FState.Pen;
    const std::uint32_t Style = P.Style & U_PS_STYLE_MASK;
    if (Style == U_PS_NULL) return Qt::NoPen;
    QPen Pen(P.Color);
    const double Scale = std::sqrt(std::abs(T.determinant()));
    // Widths only a damaged file gives.
    if (!(P.Width < MaxPenWidth) || !(P.Width * Scale < FarOff)) return Qt::NoPen;
    // A pen thinner than a pixel still draws one, as on a screen.
    const bool Cosmetic = P.Cosmetic || !(P.Width * Scale >= 1.0);
    if (Cosmetic) {
        Pen.setWidth(0);
        Pen.setCosmetic(true);
    } else {
        Pen.setWidthF(P.Width);
        switch (P.Style & U_PS_ENDCAP_MASK) {
        case U_PS_ENDCAP_SQUARE: Pen.setCapStyle(Qt::SquareCap); break;
        case U_PS_ENDCAP_FLAT: Pen.setCapStyle(Qt::FlatCap); break;
        default: Pen.setCapStyle(Qt::RoundCap); break;
        }
        switch (P.Style & U_PS_JOIN_MASK) {
        case U_PS_JOIN_BEVEL: Pen.setJoinStyle(Qt::BevelJoin); break;
        case U_PS_JOIN_MITER:
            Pen.setJoinStyle(Qt::MiterJoin);
            // GDI relates the miter length to the width, Qt the reach from the join point.
            Pen.setMiterLimit(FState.MiterLimit / 2);
            break;
        default: Pen.setJoinStyle(Qt::RoundJoin); break;
        }
    }
    // Dashes of cosmetic pens are in pixels, those of geometric pens in pen widths.
    const auto Dashes = [&](std::initializer_list<double> Pixels, Qt::PenStyle Geometric) {
        if (Cosmetic)
            Pen.setDashPattern(QList<qreal>(Pixels.begin(), Pixels.end()));
        else
            Pen.setStyle(Geometric);
    };
    switch (Style) {
    case U_PS_DASH: Dashes({18, 6}, Qt::DashLine); break;
    case U_PS_DOT: Dashes({3, 3}, Qt::DotLine); break;
    case U_PS_DASHDOT: Dashes({9, 6, 3, 6}, Qt::DashDotLine); break;
    case U_PS_DASHDOTDOT: Dashes({9, 3, 3, 3, 3, 3}, Qt::DashDotDotLine); break;
    case U_PS_ALTERNATE: Pen.setDashPattern({1, 1}); break;
    case U_PS_USERSTYLE: {
        QList<qreal> Pattern;
        const double Unit = Cosmetic ? 1 : P.Width;
        for (double D : P.UserDashes) Pattern << std::max(D / Unit, 0.01);
        if (Pattern.size() % 2) Pattern << Pattern;
        if (!Pattern.isEmpty()) Pen.setDashPattern(Pattern);
        break;
    }
    default: break;
    }
    return Pen;
}

QBrush TCanvas::MakeBrush(const QTransform& T) const {
    const TLogBrush& B = FState.Brush;
    switch (B.Style) {
    case U_BS_SOLID: return QBrush(B.Color);
    case U_BS_HATCHED: {
        static constexpr Qt::BrushStyle Hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                     Qt::FDiagPattern, Qt::BDiagPattern,
                                                     Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(B.Color, B.Hatch < 6 ? Hatches[B.Hatch] : Qt::SolidPattern);
    }
    case U_BS_PATTERN:
    case U_BS_DIBPATTERN:
    case U_BS_DIBPATTERNPT: {
        if (B.Pattern.isNull()) return Qt::NoBrush;
        // The tile lies on the picture's pixels, whatever the mapping.
        QBrush Brush(B.Pattern);
        Brush.setTransform(T.inverted());
        return Brush;
    }
    default: return Qt::NoBrush;
    }
}

bool TCanvas::Admit(const QRectF& Area) {
    if (!std::isfinite(Area.left()) || !std::isfinite(Area.top()) || !std::isfinite(Area.right()) ||
        !std::isfinite(Area.bottom()))
        return false;
    if (Area.left() < -FarOff || Area.top() < -FarOff || Area.right() > FarOff || Area.bottom() > FarOff)
        return false;
    const QRectF Visible = Area.intersected(QRectF(0, 0, FTarget.width(), FTarget.height()));
    FCost += 1 + Visible.width() * Visible.height();
    if (FCost > FBudget) RaiseFileError(fekTooLarge, FileTexts::SFileTooLarge);
    return true;
}

void TCanvas::ApplyClip() {
    if (!FClipDirty) return;
    FPainter.resetTransform();
    if (FState.Clipped)
        FPainter.setClipPath(FState.Clip);
    else
        FPainter.setClipping(false);
    FClipDirty = false;
}

void TCanvas::SetClip(const QPainterPath& Clip) {
    FState.Clip = Clip;
    FState.Clipped = true;
    FClipDirty = true;
}

void TCanvas::Paint(QPainterPath Logical, bool Fill, bool Stroke) {
    const QTransform T = Full();
    if (FInPath) {
        FPath.addPath(T.map(Logical));
        return;
    }
    const auto Mode = Rop2Mode(FState.Rop2);
    if (!Mode) return;
    const QPen Pen = Stroke ? MakePen(T) : QPen(Qt::NoPen);
    const QBrush Brush = Fill ? MakeBrush(T) : QBrush(Qt::NoBrush);
    if (Pen.style() == Qt::NoPen && Brush.style() == Qt::NoBrush) return;
    // Room for the pen around the figure.
    const double Margin =
        Pen.style() == Qt::NoPen ? 0 : 1 + Pen.widthF() * std::sqrt(std::abs(T.determinant()));
    if (!Admit(T.mapRect(Logical.boundingRect()).adjusted(-Margin, -Margin, Margin, Margin))) return;
    ApplyClip();
    Logical.setFillRule(FState.Winding ? Qt::WindingFill : Qt::OddEvenFill);
    FPainter.setTransform(T);
    FPainter.setCompositionMode(*Mode);
    FPainter.setBackgroundMode(FState.BkOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
    FPainter.setBackground(FState.BkColor);
    FPainter.setPen(Pen);
    FPainter.setBrush(Brush);
    FPainter.drawPath(Logical);
    FDrew = true;
}

void TCanvas::PathLineTo(QPointF Logical) {
    const QTransform T = Full();
    const QPointF From = T.map(FState.Pos);
    if (FPath.elementCount() == 0 || FPath.currentPosition() != From) FPath.moveTo(From);
    FPath.lineTo(T.map(Logical));
}

void TCanvas::PathCubicTo(QPointF C1, QPointF C2, QPointF End) {
    const QTransform T = Full();
    const QPointF From = T.map(FState.Pos);
    if (FPath.elementCount() == 0 || FPath.currentPosition() != From) FPath.moveTo(From);
    FPath.cubicTo(T.map(C1), T.map(C2), T.map(End));
}

void TCanvas::MoveTo(QPointF P) {
    FState.Pos = P;
    if (FInPath) FPath.moveTo(Full().map(P));
}

void TCanvas::LineTo(QPointF P) {
    if (FInPath) {
        PathLineTo(P);
    } else {
        QPainterPath Line(FState.Pos);
        Line.lineTo(P);
        Paint(Line, false, true);
    }
    FState.Pos = P;
}

void TCanvas::Polyline(const QPolygonF& Points) {
    if (Points.size() < 2) return;
    QPainterPath Path;
    Path.addPolygon(Points);
    Paint(Path, false, true);
}

void TCanvas::PolylineTo(const QPolygonF& Points) {
    if (Points.isEmpty()) return;
    if (FInPath) {
        for (const QPointF& P : Points) {
            PathLineTo(P);
            FState.Pos = P;
        }
        return;
    }
    QPolygonF Line = Points;
    Line.prepend(FState.Pos);
    Polyline(Line);
    FState.Pos = Points.back();
}

void TCanvas::PolyBezier(const QPolygonF& Points) {
    if (Points.size() < 4) return;
    QPainterPath Path(Points[0]);
    for (qsizetype I = 1; I + 2 < Points.size(); I += 3)
        Path.cubicTo(Points[I], Points[I + 1], Points[I + 2]);
    Paint(Path, false, true);
}

void TCanvas::PolyBezierTo(const QPolygonF& Points) {
    if (Points.size() < 3) return;
    if (FInPath) {
        for (qsizetype I = 0; I + 2 < Points.size(); I += 3) {
            PathCubicTo(Points[I], Points[I + 1], Points[I + 2]);
            FState.Pos = Points[I + 2];
        }
        return;
    }
    QPolygonF Curve = Points;
    Curve.prepend(FState.Pos);
    PolyBezier(Curve);
    FState.Pos = Curve[(Curve.size() - 1) / 3 * 3];
}

void TCanvas::Polygon(const QPolygonF& Points) {
    if (Points.size() < 2) return;
    QPainterPath Path;
    Path.addPolygon(Points);
    Path.closeSubpath();
    Paint(Path, true, true);
}

void TCanvas::PolyPolygon(const std::vector<QPolygonF>& Polygons) {
    QPainterPath Path;
    for (const QPolygonF& P : Polygons) {
        if (P.size() < 2) continue;
        Path.addPolygon(P);
        Path.closeSubpath();
    }
    if (!Path.isEmpty()) Paint(Path, true, true);
}

void TCanvas::PolyPolyline(const std::vector<QPolygonF>& Lines) {
    QPainterPath Path;
    for (const QPolygonF& P : Lines)
        if (P.size() >= 2) Path.addPolygon(P);
    if (!Path.isEmpty()) Paint(Path, false, true);
}

void TCanvas::Rectangle(const QRectF& Box) {
    QPainterPath Path;
    Path.addRect(Box.normalized());
    Paint(Path, true, true);
}

void TCanvas::RoundRect(const QRectF& Box, QSizeF Corner) {
    QPainterPath Path;
    Path.addRoundedRect(Box.normalized(), std::abs(Corner.width()) / 2, std::abs(Corner.height()) / 2);
    Paint(Path, true, true);
}

void TCanvas::Ellipse(const QRectF& Box) {
    QPainterPath Path;
    Path.addEllipse(Box.normalized());
    Paint(Path, true, true);
}

QPainterPath TCanvas::ArcPath(TArcKind Kind, const QRectF& BoxIn, QPointF Start, QPointF End,
                              QPointF* ArcEnd) const {
    const QRectF Box = BoxIn.normalized();
    QPainterPath Path;
    if (Box.width() <= 0 || Box.height() <= 0) return Path;
    const QPointF C = Box.center();
    const double Rx = Box.width() / 2, Ry = Box.height() / 2;
    // Angles where the rays from the centre through the points meet the ellipse, as Qt counts
    // them: counter-clockwise on the screen.
    const auto Angle = [&](QPointF P) {
        return std::atan2(-(P.y() - C.y()) / Ry, (P.x() - C.x()) / Rx) * 180 / std::numbers::pi;
    };
    const double A0 = Angle(Start);
    double Sweep = std::fmod(Angle(End) - A0, 360.0);
    if (Sweep <= 0) Sweep += 360;
    if (FState.Clockwise) Sweep = Sweep >= 360 ? -360 : Sweep - 360;
    if (Kind == akPie) {
        Path.moveTo(C);
        Path.arcTo(Box, A0, Sweep);
        Path.closeSubpath();
    } else {
        Path.arcMoveTo(Box, A0);
        Path.arcTo(Box, A0, Sweep);
        if (Kind == akChord) Path.closeSubpath();
    }
    if (ArcEnd) {
        QPainterPath Probe;
        Probe.arcMoveTo(Box, A0 + Sweep);
        *ArcEnd = Probe.currentPosition();
    }
    return Path;
}

void TCanvas::Arc(TArcKind Kind, const QRectF& Box, QPointF Start, QPointF End) {
    QPointF ArcEnd;
    QPainterPath Path = ArcPath(Kind, Box, Start, End, &ArcEnd);
    if (Path.isEmpty()) return;
    if (Kind == akArcTo) {
        // A line from the current position to the start of the arc comes first.
        QPainterPath Joined(FState.Pos);
        Joined.connectPath(Path);
        if (FInPath) {
            const QPointF From = Full().map(FState.Pos);
            if (FPath.elementCount() == 0 || FPath.currentPosition() != From) FPath.moveTo(From);
            FPath.connectPath(Full().map(Path));
        } else {
            Paint(Joined, false, true);
        }
        FState.Pos = ArcEnd;
        return;
    }
    Paint(Path, Kind != akArc, true);
}

void TCanvas::AngleArc(QPointF Center, double Radius, double StartAngle, double SweepAngle) {
    if (!std::isfinite(StartAngle) || !std::isfinite(SweepAngle) || Radius <= 0) return;
    const QRectF Box(Center.x() - Radius, Center.y() - Radius, 2 * Radius, 2 * Radius);
    QPainterPath Arc;
    Arc.arcMoveTo(Box, StartAngle);
    Arc.arcTo(Box, StartAngle, std::clamp(SweepAngle, -3600.0, 3600.0));
    const QPointF ArcEnd = Arc.currentPosition();
    if (FInPath) {
        const QPointF From = Full().map(FState.Pos);
        if (FPath.elementCount() == 0 || FPath.currentPosition() != From) FPath.moveTo(From);
        FPath.connectPath(Full().map(Arc));
    } else {
        QPainterPath Joined(FState.Pos);
        Joined.connectPath(Arc);
        Paint(Joined, false, true);
    }
    FState.Pos = ArcEnd;
}

void TCanvas::SetPixel(QPointF P, QColor C) {
    const QPointF D = Full().map(P);
    if (!Admit(QRectF(D, QSizeF(1, 1)))) return;
    ApplyClip();
    FPainter.resetTransform();
    FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter.fillRect(QRectF(std::floor(D.x()), std::floor(D.y()), 1, 1), C);
    FDrew = true;
}

void TCanvas::BeginPath() {
    FPath = QPainterPath();
    FInPath = true;
}

void TCanvas::AbortPath() {
    FPath = QPainterPath();
    FInPath = false;
}

void TCanvas::CloseFigure() {
    if (FInPath && FPath.elementCount() > 0) FPath.closeSubpath();
}

void TCanvas::PaintPath(bool Fill, bool Stroke) {
    FInPath = false;
    const QPainterPath Path = FPath;
    FPath = QPainterPath();
    if (Path.isEmpty()) return;
    // The path was collected in picture coordinates; drawn back in logical ones, the pen
    // keeps its logical width.
    bool Invertible = false;
    const QTransform Back = Full().inverted(&Invertible);
    if (!Invertible) return;
    Paint(Back.map(Path), Fill, Stroke);
}

void TCanvas::WidenPath() {
    if (FPath.isEmpty()) return;
    const QTransform T = Full();
    const QPen Pen = MakePen(T);
    if (Pen.style() == Qt::NoPen) return;
    QPainterPathStroker Stroker(Pen);
    Stroker.setWidth(std::max(1.0, Pen.widthF() * std::sqrt(std::abs(T.determinant()))));
    FPath = Stroker.createStroke(FPath);
}

void TCanvas::SelectClipPath(std::uint32_t Mode) {
    QPainterPath Path = FPath;
    FPath = QPainterPath();
    FInPath = false;
    Path.setFillRule(FState.Winding ? Qt::WindingFill : Qt::OddEvenFill);
    CombineClip(Path, Mode);
}

void TCanvas::CombineClip(const QPainterPath& Path, std::uint32_t Mode) {
    QPainterPath Current;
    if (FState.Clipped)
        Current = FState.Clip;
    else
        Current.addRect(QRectF(0, 0, FTarget.width(), FTarget.height()));
    switch (Mode) {
    case U_RGN_AND: SetClip(Current.intersected(Path)); break;
    case U_RGN_OR: SetClip(Current.united(Path)); break;
    case U_RGN_XOR: SetClip(Current.united(Path).subtracted(Current.intersected(Path))); break;
    case U_RGN_DIFF: SetClip(Current.subtracted(Path)); break;
    case U_RGN_COPY: SetClip(Path); break;
    default: break;
    }
}

void TCanvas::IntersectClipRect(const QRectF& R) {
    QPainterPath Rect;
    Rect.addRect(R.normalized());
    CombineClip(Full().map(Rect), U_RGN_AND);
}

void TCanvas::ExcludeClipRect(const QRectF& R) {
    QPainterPath Rect;
    Rect.addRect(R.normalized());
    CombineClip(Full().map(Rect), U_RGN_DIFF);
}

void TCanvas::SelectClipRegion(const std::vector<QRectF>& DeviceRects, std::uint32_t Mode) {
    if (DeviceRects.empty()) {
        if (Mode == U_RGN_COPY) {
            FState.Clipped = false;
            FState.Clip = QPainterPath();
            FClipDirty = true;
        }
        return;
    }
    QPainterPath Region;
    for (const QRectF& R : DeviceRects) Region.addRect(R.normalized());
    CombineClip(FMapping.DeviceToPicture.map(Region).simplified(), Mode);
}

void TCanvas::TextOut(QPointF Ref, const QString& Text, const std::vector<double>& Dx, std::uint32_t Options,
                      const std::optional<QRectF>& Rect) {
    const QTransform T = Full();
    const TState& S = FState;
    const bool UpdateCP = (S.TextAlign & U_TA_UPDATECP) != 0;
    if (UpdateCP) Ref = S.Pos;
    if (Rect && (Options & U_ETO_OPAQUE) && !FInPath) {
        QPainterPath Box;
        Box.addRect(Rect->normalized());
        const QRectF Area = T.mapRect(Rect->normalized());
        if (Admit(Area)) {
            ApplyClip();
            FPainter.setTransform(T);
            FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            FPainter.fillPath(Box, S.BkColor);
            FDrew = true;
        }
    }
    if (Text.isEmpty()) return;

    // Glyphs are made at their size on the picture and placed with the rest of the mapping,
    // kept upright when the mapping turns y upwards.
    const double Scale = std::sqrt(std::abs(T.determinant()));
    if (!(Scale > 0) || !std::isfinite(Scale)) return;
    double Em = S.Font.Height != 0 ? std::abs(S.Font.Height) * Scale : 16;
    if (!(Em >= 0.5) || Em > MaxGlyphPixels) return;
    QFont Font;
    try {
        TGPFontFamily Family = TGPFontFamily::GenericSansSerif();
        if (!S.Font.Face.isEmpty()) {
            try {
                Family = TGPFontFamily(S.Font.Face);
            } catch (const EGdipError&) {}
        }
        const int Style = (S.Font.Italic ? FontStyleItalic : 0) |
                          (S.Font.Underline ? FontStyleUnderline : 0) |
                          (S.Font.StrikeOut ? FontStyleStrikeout : 0);
        Font = Family.MakeQFont(Style, static_cast<float>(Em));
        if (S.Font.Height > 0) {
            // A positive height is that of the character cell.
            const QFontMetricsF Cell(Font);
            const double CellHeight = Cell.ascent() + Cell.descent();
            if (CellHeight > 0) Em *= Em / CellHeight;
            Font = Family.MakeQFont(Style, static_cast<float>(Em));
        }
    } catch (const EGdipError&) {
        return; // no fonts without a running QGuiApplication
    }
    Font.setWeight(
        static_cast<QFont::Weight>(std::clamp(S.Font.Weight == 0 ? 400 : S.Font.Weight, 100, 900)));
    Font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::NoAntialias));
    const QFontMetricsF Metrics(Font);

    QTransform Linear(T.m11() / Scale, T.m12() / Scale, T.m21() / Scale, T.m22() / Scale, 0, 0);
    if (Linear.determinant() < 0) Linear = QTransform::fromScale(1, -1) * Linear;
    QTransform Rotation;
    Rotation.rotate(-S.Font.Escapement / 10.0);
    const QPointF Origin = T.map(Ref);
    const QTransform TextT = Rotation * Linear * QTransform::fromTranslate(Origin.x(), Origin.y());

    // Character positions: the file's advances where it gives them.
    std::vector<double> X;
    double Advance = 0;
    const bool PerChar = !Dx.empty() && Dx.size() >= static_cast<std::size_t>(Text.size());
    if (PerChar) {
        for (qsizetype I = 0; I < Text.size(); ++I) {
            X.push_back(Advance);
            Advance += Dx[static_cast<std::size_t>(I)] * Scale;
        }
    } else {
        Advance = Metrics.horizontalAdvance(Text);
    }
    if (!std::isfinite(Advance) || std::abs(Advance) > FarOff) return;
    double X0 = 0, Y0 = 0;
    if ((S.TextAlign & U_TA_CENTER) == U_TA_CENTER)
        X0 = -Advance / 2;
    else if (S.TextAlign & U_TA_RIGHT)
        X0 = -Advance;
    if ((S.TextAlign & U_TA_BASELINE) == U_TA_BASELINE)
        Y0 = 0;
    else if (S.TextAlign & U_TA_BOTTOM)
        Y0 = -Metrics.descent();
    else
        Y0 = Metrics.ascent();

    // Each character at its own position where the file gives the advances.
    const auto ForEachRun = [&](const auto& Run) {
        if (!PerChar) {
            Run(QPointF(X0, Y0), Text);
            return;
        }
        for (qsizetype I = 0; I < Text.size(); ++I) {
            if (Text[I].isLowSurrogate()) continue;
            const qsizetype Len = Text[I].isHighSurrogate() && I + 1 < Text.size() ? 2 : 1;
            Run(QPointF(X0 + X[static_cast<std::size_t>(I)], Y0), Text.mid(I, Len));
        }
    };
    if (UpdateCP) {
        const QPointF End = TextT.map(QPointF((S.TextAlign & U_TA_RIGHT) ? X0 : X0 + Advance, 0));
        bool Invertible = false;
        const QTransform Back = T.inverted(&Invertible);
        if (Invertible) FState.Pos = Back.map(End);
    }
    // Unhinted outlines filled without anti-aliasing: the glyphs keep the shapes the writer
    // laid out, at any size.
    QPainterPath Glyphs;
    ForEachRun([&](QPointF At, const QString& Run) { Glyphs.addText(At, Font, Run); });
    if (FInPath) {
        FPath.addPath(TextT.map(Glyphs));
        return;
    }
    const QRectF Cell(X0, Y0 - Metrics.ascent(), Advance, Metrics.ascent() + Metrics.descent());
    // Room for glyphs that reach out of their cell (italics, accents).
    if (!Admit(TextT.mapRect(Cell.normalized().adjusted(-Em, -Em, Em, Em)))) return;
    ApplyClip();
    FPainter.save();
    if (Rect && (Options & U_ETO_CLIPPED)) {
        QPainterPath Box;
        Box.addRect(Rect->normalized());
        FPainter.setTransform(T);
        FPainter.setClipPath(Box, Qt::IntersectClip);
    }
    FPainter.setTransform(TextT);
    FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (S.BkOpaque) FPainter.fillRect(Cell, S.BkColor);
    FPainter.setPen(Qt::NoPen);
    FPainter.setBrush(S.TextColor);
    FPainter.drawPath(Glyphs);
    FPainter.restore();
    FClipDirty = true;
    FDrew = true;
}

void TCanvas::DrawBitmap(const QRectF& Dest, const TDib& Bitmap, QRectF Source, std::uint32_t Rop,
                         double Opacity) {
    const auto Mode = SourceRopMode(Rop);
    const QImage& Image = Bitmap.Image;
    if (!Mode || Image.isNull() || Source.width() == 0 || Source.height() == 0 || Dest.width() == 0 ||
        Dest.height() == 0)
        return;
    // Rows of a bottom-up DIB are counted from its bottom.
    if (Bitmap.BottomUp)
        Source = QRectF(Source.x(), Image.height() - Source.y() - Source.height(), Source.width(),
                        Source.height());
    const double Sx = Dest.width() / Source.width(), Sy = Dest.height() / Source.height();
    const QTransform ToDest(Sx, 0, 0, Sy, Dest.x() - Source.x() * Sx, Dest.y() - Source.y() * Sy);
    const QTransform T = ToDest * Full();
    const QRectF Visible = Source.normalized().intersected(QRectF(0, 0, Image.width(), Image.height()));
    if (Visible.isEmpty() || !Admit(T.mapRect(Visible))) return;
    if (FInPath) return;
    ApplyClip();
    FPainter.setTransform(T);
    FPainter.setCompositionMode(*Mode);
    FPainter.setRenderHint(QPainter::SmoothPixmapTransform, FState.SmoothStretch);
    FPainter.setOpacity(std::clamp(Opacity, 0.0, 1.0));
    FPainter.drawImage(Visible, Image, Visible);
    FPainter.setOpacity(1);
    FDrew = true;
}

void TCanvas::PatBlt(const QRectF& Dest, std::uint32_t Rop) {
    const QTransform T = Full();
    QPainterPath Box;
    Box.addRect(Dest.normalized());
    if (!Admit(T.mapRect(Dest.normalized()))) return;
    QBrush Brush;
    QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
    switch (Rop) {
    case PATCOPY: Brush = MakeBrush(T); break;
    case PATINVERT:
        Brush = MakeBrush(T);
        Mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case DSTINVERT:
        Brush = Qt::white;
        Mode = QPainter::RasterOp_NotDestination;
        break;
    case BLACKNESS: Brush = Qt::black; break;
    case WHITENESS: Brush = Qt::white; break;
    default: return;
    }
    if (Brush.style() == Qt::NoBrush) return;
    ApplyClip();
    FPainter.setTransform(T);
    FPainter.setCompositionMode(Mode);
    FPainter.fillPath(Box, Brush);
    FDrew = true;
}

} // namespace zp::metafile
