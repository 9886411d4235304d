#include "layers/LayerStyle.h"

#include "gfx/Hatch.h"
#include "gfx/Path.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace zp {

void T2DLayerStyle::SetFillPattern(bool Value) {
    fFillPattern = Value;
    if (!Value) return;
    fFillGradient = false;
    fFillImage = false;
    fFillPatternWrapMode = WrapModeTile;
}

void T2DLayerStyle::SetFillGradient(bool Value) {
    if (Value) {
        fFillPattern = false;
        fNoOfHatchBrush = -1;
        fFillImage = false;
        fFillPatternWrapMode = WrapModeTile;
    }
    fFillGradient = Value;
}

void T2DLayerStyle::SetFillImage(bool Value) {
    if (Value) {
        fFillPattern = false;
        fNoOfHatchBrush = -1;
        fFillGradient = false;
        fFillImage = true;
    } else {
        fFillImage = false;
        fFillPatternBitmap.reset();
    }
}

void T2DLayerStyle::Assign(const T2DLayerStyle& A) {
    if (&A == this) return;
    SetOutline(A.Outline());
    SetOutlineSize(A.OutlineSize());
    SetOutlineColor(A.OutlineColor());
    SetOutlineDashStyle(A.OutlineDashStyle());
    SetOutlinePosition(A.OutlinePosition());
    SetOutlineAlpha(A.OutlineAlpha());
    SetFillColorAlpha(A.FillColorAlpha());
    SetLineColorAlpha(A.LineColorAlpha());
    SetFillColor(A.FillColor());
    SetLineColor(A.LineColor());
    SetFillPattern(A.FillPattern());
    SetNoOfHatchBrush(A.NoOfHatchBrush());
    SetHatchBrushForeColor(A.HatchBrushForeColor());
    SetHatchBrushBackColor(A.HatchBrushBackColor());
    SetFillImage(A.FillImage());
    if (A.FillImage() && A.FillPatternBitmap()) SetFillPatternBitmap(A.FillPatternBitmap()->Clone());
    SetFillPatternWrapMode(A.FillPatternWrapMode());
    SetFillGradient(A.FillGradient());
    SetFillGradientColor1(A.FillGradientColor1());
    SetFillGradientColor2(A.FillGradientColor2());
    SetFillGradientShape(A.FillGradientShape());
    SetFillGradientPStart(A.FillGradientPStart());
    SetFillGradientPEnd(A.FillGradientPEnd());
    SetShadow(A.Shadow());
    SetShadowXShift(A.ShadowXShift());
    SetShadowYShift(A.ShadowYShift());
    SetShadowColor(A.ShadowColor());
    SetShadowAlpha(A.ShadowAlpha());
    SetTransformMatrix(A.TransformMatrix());
    SetShadowTransformMatrix(A.ShadowTransformMatrix());
}

std::unique_ptr<TGPPen> T2DLayerStyle::CreatePen() const {
    auto Pen = fOutline ? std::make_unique<TGPPen>(SetColorAlpha(fOutlineColor, fOutlineAlpha),
                                                   static_cast<float>(fOutlineSize))
                        : std::make_unique<TGPPen>(SetColorAlpha(fFillColor, fFillColorAlpha), 0.0f);
    Pen->SetDashStyle(fOutlineDashStyle);
    Pen->SetLineJoin(LineJoinRound);
    return Pen;
}

std::unique_ptr<TGPBrush> T2DLayerStyle::CreateBrush() const {
    // Under a gradient this base fill takes the gradient's end colour.
    const TColor32 Rgb = fFillGradient ? fFillGradientColor2 : fFillColor;
    return std::make_unique<TGPSolidBrush>(SetColorAlpha(Rgb, fFillColorAlpha));
}

std::unique_ptr<TGPPen> T2DLayerStyle::CreateShadowPen() const {
    auto Pen = std::make_unique<TGPPen>(SetColorAlpha(fShadowColor, fShadowAlpha), 0.0f);
    Pen->SetLineJoin(LineJoinRound);
    return Pen;
}

std::unique_ptr<TGPBrush> T2DLayerStyle::CreateShadowBrush() const {
    return std::make_unique<TGPSolidBrush>(SetColorAlpha(fShadowColor, fShadowAlpha));
}

std::unique_ptr<TGPBrush> T2DLayerStyle::CreateHatchBrush() const {
    if (!fFillPattern || fNoOfHatchBrush < 0 || fNoOfHatchBrush > HatchStyleMax) return nullptr;
    return std::make_unique<TGPHatchBrush>(fNoOfHatchBrush,
                                           SetColorAlpha(fHatchBrushForeColor, fFillColorAlpha),
                                           SetColorAlpha(fHatchBrushBackColor, fFillColorAlpha));
}

std::unique_ptr<TGPTextureBrush> T2DLayerStyle::CreateTextureBrush() {
    if (!fFillImage || !fFillPatternBitmap) return nullptr;
    // A private copy through PNG keeps the alpha channel whatever the image was built from.
    fFillPatternBitmap = TGPImage::FromStream(fFillPatternBitmap->SaveToPngStream());
    TGPImageAttributes Attributes = AlphaScaleImageAttributes(static_cast<float>(fFillColorAlpha) / 255.0f);
    Attributes.SetWrapMode(fFillPatternWrapMode);
    return std::make_unique<TGPTextureBrush>(*fFillPatternBitmap, Attributes);
}

std::unique_ptr<TGPBrush> T2DLayerStyle::CreateGradientBrush() const {
    if (!fFillGradient) return nullptr;
    const TPoint S = fFillGradientPStart;
    const TPoint E = fFillGradientPEnd;
    // The points come from files unchecked: their difference is taken in float, where it cannot
    // overflow.
    const float Dx = static_cast<float>(E.X) - static_cast<float>(S.X);
    const float Dy = static_cast<float>(E.Y) - static_cast<float>(S.Y);
    const TColor32 C1 = SetColorAlpha(fFillGradientColor1, fFillColorAlpha);
    const TColor32 C2 = SetColorAlpha(fFillGradientColor2, fFillColorAlpha);
    constexpr TColor32 Transparent = 0;
    const TGPPointF Start{static_cast<float>(S.X), static_cast<float>(S.Y)};

    switch (fFillGradientShape) {
    case shpLinear:
    case shpLinearTransp:
        return std::make_unique<TGPLinearGradientBrush>(
            Start, TGPPointF{static_cast<float>(E.X), static_cast<float>(E.Y)}, C1,
            fFillGradientShape == shpLinear ? C2 : Transparent);
    case shpCircle:
    case shpCircleTransp: {
        const float R = std::sqrt(Dx * Dx + Dy * Dy);
        TGPPath Circle;
        Circle.AddEllipse({Start.X - R, Start.Y - R, 2 * R, 2 * R});
        auto Brush = std::make_unique<TGPPathGradientBrush>(Circle);
        Brush->SetCenterPoint(Start);
        Brush->SetCenterColor(C1);
        Brush->SetSurroundColor(fFillGradientShape == shpCircle ? C2 : Transparent);
        return Brush;
    }
    case shpSqare:
    case shpSqareTransp: {
        const float Len = std::sqrt(Dx * Dx + Dy * Dy);
        const float H = std::sqrt(Len * Len / 2);
        TGPPath Square;
        Square.AddRectangle({Start.X - H, Start.Y - H, 2 * H, 2 * H});
        // The plain arctangent of the quotient; a vertical drag takes its limit, 45 degrees,
        // which still puts a corner on the drag direction.
        const double Angle =
            Dx != 0 ? std::atan(static_cast<double>(Dy) / Dx) * 180 / std::numbers::pi - 45 : 45;
        TGPMatrix Turn;
        Turn.Translate(Start.X, Start.Y);
        Turn.Rotate(static_cast<float>(Angle));
        Turn.Translate(-Start.X, -Start.Y);
        Square.Transform(Turn);
        auto Brush = std::make_unique<TGPPathGradientBrush>(Square);
        Brush->SetCenterPoint(Start);
        Brush->SetCenterColor(C1);
        Brush->SetSurroundColor(fFillGradientShape == shpSqare ? C2 : Transparent);
        return Brush;
    }
    }
    return nullptr;
}

TFontLayerStyle::TFontLayerStyle() : ffontFamily(QStringLiteral("Arial")) {
    UpdateFontStyle();
}

void TFontLayerStyle::SetFontName(const QString& Value) {
    fFontName = Value;
    ffontFamily = TGPFontFamily(Value);
}

void TFontLayerStyle::SetFontBold(bool Value) {
    fFontBold = Value;
    UpdateFontStyle();
}

void TFontLayerStyle::SetFontItalic(bool Value) {
    fFontItalic = Value;
    UpdateFontStyle();
}

void TFontLayerStyle::SetFontUnderline(bool Value) {
    fFontUnderline = Value;
    UpdateFontStyle();
}

void TFontLayerStyle::SetFontStrikeOut(bool Value) {
    fFontStrikeOut = Value;
    UpdateFontStyle();
}

void TFontLayerStyle::UpdateFontStyle() {
    ffontStyle = (fFontBold ? FontStyleBold : 0) | (fFontItalic ? FontStyleItalic : 0) |
                 (fFontUnderline ? FontStyleUnderline : 0) | (fFontStrikeOut ? FontStyleStrikeout : 0);
}

void TFontLayerStyle::Assign(const TFontLayerStyle& A) {
    if (&A == this) return;
    T2DLayerStyle::Assign(A);
    SetText(A.Text());
    SetFontName(A.FontName());
    SetFontSize(A.FontSize());
    SetFontBold(A.FontBold());
    SetFontItalic(A.FontItalic());
    SetFontUnderline(A.FontUnderline());
    SetFontStrikeOut(A.FontStrikeOut());
    SetMissingFont(A.MissingFont());
}

TGPRectF TFontLayerStyle::MeasureText() const {
    const TGPFont Font(fFontName, static_cast<float>(fFontSize), ffontStyle, UnitPoint);
    return MeasureString(fText, Font, {0, 0, 3200, 3200});
}

namespace {

// A font size, outline or shadow from a file may be of any size: the extent saturates at the
// int range (a surface that large is then refused), and so does the margin.
int Extent(float Measured, int Outline, int Shift) {
    const double Margin = std::max(static_cast<double>(Outline), std::fabs(static_cast<double>(Shift)));
    const double Result = std::nearbyint(static_cast<double>(Measured)) + Margin;
    if (std::isnan(Result)) return std::numeric_limits<int>::max();
    const int Clamped =
        static_cast<int>(std::clamp(Result, static_cast<double>(std::numeric_limits<int>::min()),
                                    static_cast<double>(std::numeric_limits<int>::max())));
    return Clamped == 0 ? 2 : Clamped;
}

} // namespace

int TFontLayerStyle::PixelWidth() const {
    return Extent(MeasureText().Width, fOutline ? fOutlineSize : 0, fShadow ? fShadowXShift : 0);
}

int TFontLayerStyle::PixelHeight() const {
    return Extent(MeasureText().Height, fOutline ? fOutlineSize : 0, fShadow ? fShadowYShift : 0);
}

} // namespace zp
