#include "layers/Figuren.h"

#include "gfx/Brushes.h"
#include "gfx/Graphics.h"
#include "layers/XmlValues.h"
#include "raster/Resamplers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace zp {

namespace {

std::int64_t Abs64(int Value) {
    return std::abs(std::int64_t{Value});
}

} // namespace

// ---------------------------------------------------------------- life

T2DFiguren::T2DFiguren() : TStyledLayer(std::make_unique<T2DLayerStyle>()) {}

T2DFiguren::~T2DFiguren() = default;

void T2DFiguren::SetLayerStyle(std::unique_ptr<T2DLayerStyle> Value) {
    if (Value) F2DLayerStyle = std::move(Value);
}

void T2DFiguren::PrepareRefresh() {
    if (!F2DLayerStyle->Outline()) F2DLayerStyle->SetOutlineSize(0);
}

// ---------------------------------------------------------------- drawing

void T2DFiguren::DrawFigure() {
    T2DLayerStyle& S = *F2DLayerStyle;
    TGPGraphics G(Bitmap());
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.SetInterpolationMode(InterpolationModeHighQualityBicubic);
    G.Clear(0);

    TGPPath Path(FillModeAlternate);
    AddOutline(Path);
    TransformationCalculations(Path);
    AddOutline(Path);
    Path.Transform(Matrix);
    GPBoundingRect = Path.GetWorldBounds();

    const std::unique_ptr<TGPPen> Pen = S.CreatePen();
    const std::unique_ptr<TGPBrush> Fill = CreateFillBrush(true);

    if (S.Shadow()) {
        TGPPath Shadow(FillModeAlternate);
        AddShadowOutline(Shadow);
        Shadow.Transform(Matrix);
        G.FillPath(*S.CreateShadowBrush(), Shadow);
        S.SetShadowTransformMatrix(Matrix.GetElements());
    }

    StrokeAndFill(G, Path, *Pen, Fill.get(), false);
}

void T2DFiguren::MoveGradientWithAnchor() {
    T2DLayerStyle& S = *F2DLayerStyle;
    if (S.FillGradient() && !FirstPaint) {
        const int DX = StartPoint.X - FGradientAnchor.X;
        const int DY = StartPoint.Y - FGradientAnchor.Y;
        const TPoint A = S.FillGradientPStart();
        const TPoint B = S.FillGradientPEnd();
        S.SetFillGradientPStart({A.X + DX, A.Y + DY});
        S.SetFillGradientPEnd({B.X + DX, B.Y + DY});
    }
    FGradientAnchor = StartPoint;
    FirstPaint = false;
}

// ---------------------------------------------------------------- sizes

int T2DFiguren::GetWidth() const {
    const T2DLayerStyle& S = *F2DLayerStyle;
    std::int64_t W = RoundFigure(std::fabs(fA.X));
    if (S.Outline()) W += 2 * std::int64_t{S.OutlineSize()};
    if (S.Shadow()) W += Abs64(S.ShadowXShift());
    W = std::int64_t{RoundFigure(static_cast<double>(W) * fScaleFactor.X)} + MotionBlurMargin();
    return W <= 0 ? 2 : ClampFigure(W);
}

int T2DFiguren::GetHeight() const {
    const T2DLayerStyle& S = *F2DLayerStyle;
    std::int64_t H = RoundFigure(std::fabs(fA.Y));
    if (S.Outline()) H += 2 * std::int64_t{S.OutlineSize()};
    if (S.Shadow()) H += Abs64(S.ShadowYShift());
    H = std::int64_t{RoundFigure(static_cast<double>(H) * fScaleFactor.Y)} + MotionBlurMargin();
    return H <= 0 ? 2 : ClampFigure(H);
}

void T2DFiguren::ChangeDirectionVector() {
    if (fA.X < 0) std::swap(fX1, fX2);
    fA.X = static_cast<float>(fX2 - fX1);
    if (fA.Y < 0) std::swap(fY1, fY2);
    fA.Y = static_cast<float>(fY2 - fY1);
}

void T2DFiguren::SetHelpLineStyle() {
    T2DLayerStyle& S = *F2DLayerStyle;
    S.SetFillColor(0);
    S.SetFillColorAlpha(0);
    S.SetLineColor(0xFFFF0000);
    S.SetOutlineColor(0xFFFF0000);
    S.SetOutline(true);
    S.SetOutlineSize(1);
    FHelpLayer = true;
    Bitmap().SetDrawMode(dmBlend);
    SetScaled(true);
    SetCropped(false);
}

// ---------------------------------------------------------------- rectangles

// ---------------------------------------------------------------- clone

void T2DFiguren::CopyFigurePropsTo(T2DFiguren& Target) const {
    TBitmap32& B = Target.Bitmap();
    B.SetSize(Bitmap().Width(), Bitmap().Height());
    B.SetDrawMode(Bitmap().DrawMode());
    B.SetResampler(std::make_unique<TLinearResampler>());
    Target.SetScaled(Scaled());
    Target.SetCropped(Cropped());
    Target.F2DLayerStyle->Assign(*F2DLayerStyle);
    Target.fA = fA;
    Target.fScaleFactor = fScaleFactor;

    CopyEffectsTo(Target);
    Target.SetLocation(Location());
}

void T2DFiguren::CopyFigureStateTo(T2DFiguren& Target) const {
    CopyStyledStateTo(Target);
    Target.FHelpLayer = FHelpLayer;
    Target.fX1 = fX1;
    Target.fY1 = fY1;
    Target.fX2 = fX2;
    Target.fY2 = fY2;
    Target.fA = fA;
    Target.FGradientAnchor = FGradientAnchor;
    Target.FirstPaint = FirstPaint;
}

void T2DFiguren::SwapFigureState(T2DFiguren& Other) {
    SwapStyledState(Other);
    std::swap(FHelpLayer, Other.FHelpLayer);
    std::swap(fX1, Other.fX1);
    std::swap(fY1, Other.fY1);
    std::swap(fX2, Other.fX2);
    std::swap(fY2, Other.fY2);
    std::swap(fA, Other.fA);
    std::swap(FGradientAnchor, Other.FGradientAnchor);
    std::swap(FirstPaint, Other.FirstPaint);
}

// ---------------------------------------------------------------- project file

void T2DFiguren::Write2DPropsToXML(pugi::xml_node aXMLNode) const {
    WriteXMLFloat(aXMLNode, "DirectionVector.AX", fA.X);
    WriteXMLFloat(aXMLNode, "DirectionVector.AY", fA.Y);
    WriteXMLFloat(aXMLNode, "ScaleFactor.X", fScaleFactor.X);
    WriteXMLFloat(aXMLNode, "ScaleFactor.Y", fScaleFactor.Y);
}

void T2DFiguren::Read2DPropsFromXML(pugi::xml_node aXMLNode, int) {
    fA = {ReadXMLFloat(aXMLNode, "DirectionVector.AX"), ReadXMLFloat(aXMLNode, "DirectionVector.AY")};
    fScaleFactor = {ReadXMLFloat(aXMLNode, "ScaleFactor.X"), ReadXMLFloat(aXMLNode, "ScaleFactor.Y")};
    ReadEffectsFromXML(aXMLNode);
}

} // namespace zp
