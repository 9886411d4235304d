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

constexpr std::int64_t FigureLimit = std::int64_t{1} << 29;

int ClampFigure(std::int64_t Value) {
    return static_cast<int>(std::clamp(Value, -FigureLimit, FigureLimit));
}

std::int64_t Abs64(int Value) {
    return std::abs(std::int64_t{Value});
}

// Runs an effect object by the kind stored for it; an object of another class is skipped.
void RunEffect(TEffectType Kind, TEffect& Effect) {
    switch (Kind) {
    case efMotionBlur:
        if (auto* E = dynamic_cast<TMotionBlur*>(&Effect)) E->MotionBlur();
        break;
    case efEmboss:
        if (auto* E = dynamic_cast<TEmboss*>(&Effect)) E->Emboss();
        break;
    case efLaplace:
        if (auto* E = dynamic_cast<TLaplace*>(&Effect)) E->Laplace();
        break;
    case efFindEdges:
        if (auto* E = dynamic_cast<TFindEdges*>(&Effect)) E->FindEdges();
        break;
    case efSharpen:
        if (auto* E = dynamic_cast<TSharpen*>(&Effect)) E->Sharpen();
        break;
    case efEdgesEnhance:
        if (auto* E = dynamic_cast<TEdgesEnhance*>(&Effect)) E->EdgesEnhance();
        break;
    case efColorEmboss:
        if (auto* E = dynamic_cast<TColorEmboss*>(&Effect)) E->ColorEmboss();
        break;
    case efSoften:
        if (auto* E = dynamic_cast<TSoften*>(&Effect)) E->Soften();
        break;
    }
}

std::unique_ptr<TEffect> CreateConvolution(TEffectType Kind) {
    switch (Kind) {
    case efEmboss: return std::make_unique<TEmboss>();
    case efLaplace: return std::make_unique<TLaplace>();
    case efFindEdges: return std::make_unique<TFindEdges>();
    case efSharpen: return std::make_unique<TSharpen>();
    case efEdgesEnhance: return std::make_unique<TEdgesEnhance>();
    case efColorEmboss: return std::make_unique<TColorEmboss>();
    case efSoften: return std::make_unique<TSoften>();
    case efMotionBlur: break;
    }
    return nullptr;
}

bool IsTransparencyShape(TShapeType Shape) {
    return Shape == shpLinearTransp || Shape == shpCircleTransp || Shape == shpSqareTransp;
}

} // namespace

int RoundFigure(double Value) {
    if (std::isnan(Value)) return 0;
    const double Limit = static_cast<double>(FigureLimit);
    return static_cast<int>(std::nearbyint(std::clamp(Value, -Limit, Limit)));
}

int TruncFigure(double Value) {
    if (std::isnan(Value)) return 0;
    const double Limit = static_cast<double>(FigureLimit);
    return static_cast<int>(std::trunc(std::clamp(Value, -Limit, Limit)));
}

// ---------------------------------------------------------------- life

T2DFiguren::T2DFiguren() : F2DLayerStyle(std::make_unique<T2DLayerStyle>()) {
    Bitmap().SetDrawMode(dmBlend);
    Bitmap().SetCombineMode(cmMerge);
    SetScaled(true);
    SetCropped(true);
}

T2DFiguren::~T2DFiguren() = default;

void T2DFiguren::SetLayerStyle(std::unique_ptr<T2DLayerStyle> Value) {
    if (Value) F2DLayerStyle = std::move(Value);
}

void T2DFiguren::SetDrawingProps() {
    Bitmap().SetDrawMode(dmBlend);
    SetScaled(true);
    SetCropped(true);
}

void T2DFiguren::PrepareRefresh() {
    if (!F2DLayerStyle->Outline()) F2DLayerStyle->SetOutlineSize(0);
}

// ---------------------------------------------------------------- transformation

void T2DFiguren::FlipVertical() {
    F2DLayerStyle->SetTransformMatrix(
        GeneralGraphicFunction.MatrixFlipVertical(F2DLayerStyle->TransformMatrix(), TransformationPoint));
    Paint();
}

void T2DFiguren::FlipHorizontal() {
    F2DLayerStyle->SetTransformMatrix(
        GeneralGraphicFunction.MatrixFlipHotizontal(F2DLayerStyle->TransformMatrix(), TransformationPoint));
    Paint();
}

void T2DFiguren::Rotate(double Degree) {
    F2DLayerStyle->SetTransformMatrix(GeneralGraphicFunction.MatrixRotate(
        static_cast<float>(Degree), F2DLayerStyle->TransformMatrix(), TransformationPoint));
    Paint();
}

void T2DFiguren::SetScale(TFloatPoint Value) {
    fScaleFactor = {fScaleFactor.X * Value.X, fScaleFactor.Y * Value.Y};
    F2DLayerStyle->SetTransformMatrix(
        GeneralGraphicFunction.MatrixScale(F2DLayerStyle->TransformMatrix(), Value));
    Paint();
}

void T2DFiguren::TransformationCalculations(TGPPath& Path) {
    const TGPRectF B0 = Path.GetWorldBounds();
    TransformationPoint = {B0.X + B0.Width / 2, B0.Y + B0.Height / 2};
    Matrix.SetElements(F2DLayerStyle->TransformMatrix());
    Path.Transform(Matrix);
    const TGPRectF B1 = Path.GetWorldBounds();
    GPBoundingRect = B1;
    const TFloatPoint T{B0.X != B1.X ? B0.X - B1.X : 0.0f, B0.Y != B1.Y ? B0.Y - B1.Y : 0.0f};
    F2DLayerStyle->SetTransformMatrix(
        GeneralGraphicFunction.MatrixTranslate(F2DLayerStyle->TransformMatrix(), T));
    Matrix.Reset();
    Matrix.SetElements(F2DLayerStyle->TransformMatrix());
    Path.Reset();
}

// ---------------------------------------------------------------- drawing

std::unique_ptr<TGPBrush> T2DFiguren::CreateFillBrush() {
    T2DLayerStyle& S = *F2DLayerStyle;
    if (S.FillPattern() && S.NoOfHatchBrush() >= 0) return S.CreateHatchBrush();
    if (S.FillImage()) {
        auto Texture = S.CreateTextureBrush();
        if (Texture) Texture->SetTransform(Matrix);
        return Texture;
    }
    return S.CreateBrush();
}

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
    const std::unique_ptr<TGPBrush> Fill = CreateFillBrush();

    if (S.Shadow()) {
        TGPPath Shadow(FillModeAlternate);
        AddShadowOutline(Shadow);
        Shadow.Transform(Matrix);
        G.FillPath(*S.CreateShadowBrush(), Shadow);
        S.SetShadowTransformMatrix(Matrix.GetElements());
    }

    // The stroke goes first, so an opaque fill covers the inner half of the outline.
    if (S.FillGradient()) {
        const std::unique_ptr<TGPBrush> Gradient = S.CreateGradientBrush();
        if (S.Outline()) G.DrawPath(*Pen, Path);
        if (!IsTransparencyShape(S.FillGradientShape()) && Fill) G.FillPath(*Fill, Path);
        if (Gradient) G.FillPath(*Gradient, Path);
    } else {
        if (S.Outline()) G.DrawPath(*Pen, Path);
        if (Fill) G.FillPath(*Fill, Path);
    }
}

void T2DFiguren::MoveToAnchor(TPoint P) {
    const std::int64_t DX = std::int64_t{P.X} - PreviousStartPoint.X;
    const std::int64_t DY = std::int64_t{P.Y} - PreviousStartPoint.Y;
    const TFloatRect L = Location();
    const float Left = L.Left - static_cast<float>(DX);
    const float Top = L.Top - static_cast<float>(DY);
    SetLocation({Left, Top, Left + static_cast<float>(Bitmap().Width()),
                 Top + static_cast<float>(Bitmap().Height())});
    PreviousStartPoint = P;
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

// ---------------------------------------------------------------- effects

void T2DFiguren::ApplyEffects() {
    std::vector<TEffectType>& Kinds = F2DLayerStyle->EffectList;
    while (Kinds.size() < EffectObjectList.size()) EffectObjectList.pop_back();
    for (std::size_t I = 0; I < Kinds.size() && I < EffectObjectList.size(); ++I) {
        TEffect& Effect = *EffectObjectList[I];
        Effect.SetEffectBitmap(&Bitmap());
        RunEffect(Kinds[I], Effect);
    }
}

void T2DFiguren::AddingEffect(TEffectType EffectType) {
    std::unique_ptr<TEffect> Effect = CreateConvolution(EffectType);
    if (!Effect) return;
    Effect->SetEffectBitmap(&Bitmap());
    F2DLayerStyle->AddEffect(EffectType);
    EffectObjectList.push_back(std::move(Effect));
}

void T2DFiguren::AddEffect(TEffectType EffectType) {
    AddingEffect(EffectType);
    Paint();
}

void T2DFiguren::AddEffect(std::unique_ptr<TEffect> Effect) {
    if (Effect) {
        Effect->SetEffectBitmap(&Bitmap());
        if (dynamic_cast<TMotionBlur*>(Effect.get())) {
            F2DLayerStyle->AddEffect(efMotionBlur);
            EffectObjectList.push_back(std::move(Effect));
        }
    }
    Paint();
}

void T2DFiguren::RemoveLastEffect() {
    if (!F2DLayerStyle->EffectList.empty()) F2DLayerStyle->EffectList.pop_back();
    if (!EffectObjectList.empty()) EffectObjectList.pop_back();
}

int T2DFiguren::MotionBlurMargin() const {
    std::int64_t Strongest = 0;
    for (const auto& Effect : EffectObjectList)
        if (const auto* Blur = dynamic_cast<const TMotionBlur*>(Effect.get()))
            Strongest = std::max<std::int64_t>(Strongest, Blur->Strenght());
    return ClampFigure(5 * Strongest);
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

TFloatRect T2DFiguren::BoundingRect() const {
    const TFloatRect L = Location();
    const float Left = L.Left + GPBoundingRect.X;
    const float Top = L.Top + GPBoundingRect.Y;
    fBoundingRect = {Left, Top, Left + GPBoundingRect.Width + 1, Top + GPBoundingRect.Height + 1};
    return fBoundingRect;
}

TFloatRect T2DFiguren::PictureRect() const {
    const TGPRectF& G = GPBoundingRect;
    TFloatRect R{G.X, G.Y, G.X + G.Width + 1, G.Y + G.Height + 1};
    const float W = static_cast<float>(Bitmap().Width());
    const float H = static_cast<float>(Bitmap().Height());
    if (R.Right >= W) R.Right = W - 1;
    if (R.Bottom >= H) R.Bottom = H - 1;
    return R;
}

TFloatRect T2DFiguren::GetPictureCoord(const TFloatRect& R) const {
    const TFloatRect L = Location();
    const float Left = std::fabs(R.Left - L.Left);
    const float Top = std::fabs(R.Top - L.Top);
    return {Left, Top, Left + (R.Right - R.Left), Top + (R.Bottom - R.Top)};
}

std::unique_ptr<TBitmap32> T2DFiguren::ExtractBitmap32() const {
    const TFloatRect P = PictureRect();
    const TRect S{RoundFigure(P.Left), RoundFigure(P.Top), TruncFigure(P.Right), TruncFigure(P.Bottom)};
    auto Result = std::make_unique<TBitmap32>();
    Result->SetSize(S.Right - S.Left - 1, S.Bottom - S.Top - 1);
    if (Result->Empty()) return Result;
    Result->Clear(0);
    Bitmap().DrawTo(*Result, Result->BoundsRect(), S);
    return Result;
}

QImage T2DFiguren::ExtractBitmap() const {
    const std::unique_ptr<TBitmap32> Surface = ExtractBitmap32();
    if (Surface->Empty()) return {};
    QImage Image(Surface->Width(), Surface->Height(), QImage::Format_ARGB32);
    for (int Y = 0; Y < Surface->Height(); ++Y)
        std::memcpy(Image.scanLine(Y), Surface->ScanLine(Y), static_cast<std::size_t>(Surface->Width()) * 4);
    return Image;
}

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

void T2DFiguren::CopyEffectsTo(T2DFiguren& Target) const {
    Target.EffectObjectList.clear();
    Target.F2DLayerStyle->EffectList.clear();
    const std::vector<TEffectType>& Kinds = F2DLayerStyle->EffectList;
    for (std::size_t I = 0; I < Kinds.size(); ++I) {
        if (Kinds[I] != efMotionBlur) {
            Target.AddingEffect(Kinds[I]);
            continue;
        }
        auto Blur = std::make_unique<TMotionBlur>();
        Blur->SetEffectBitmap(&Target.Bitmap());
        const auto* Source = I < EffectObjectList.size()
                                 ? dynamic_cast<const TMotionBlur*>(EffectObjectList[I].get())
                                 : nullptr;
        if (Source) {
            Blur->SetDirection(Source->Direction());
            Blur->SetStrenght(Source->Strenght());
        }
        Target.F2DLayerStyle->AddEffect(efMotionBlur);
        Target.EffectObjectList.push_back(std::move(Blur));
    }
}

void T2DFiguren::CopyFigureStateTo(T2DFiguren& Target) const {
    CopyBitmapLayerState(Target);
    Target.FHelpLayer = FHelpLayer;
    Target.F2DLayerStyle->Assign(*F2DLayerStyle);
    CopyEffectsTo(Target);
    Target.fX1 = fX1;
    Target.fY1 = fY1;
    Target.fX2 = fX2;
    Target.fY2 = fY2;
    Target.fA = fA;
    Target.fBoundingRect = fBoundingRect;
    Target.fScaleFactor = fScaleFactor;
    Target.FGradientAnchor = FGradientAnchor;
    Target.PreviousStartPoint = PreviousStartPoint;
    Target.FirstPaint = FirstPaint;
    Target.StartPoint = StartPoint;
    Target.GPBoundingRect = GPBoundingRect;
    Target.TransformationPoint = TransformationPoint;
    Target.Matrix.SetElements(Matrix.GetElements());
}

void T2DFiguren::SwapFigureState(T2DFiguren& Other) {
    SwapBitmapLayerState(Other);
    std::swap(FHelpLayer, Other.FHelpLayer);
    std::swap(F2DLayerStyle, Other.F2DLayerStyle);
    std::swap(EffectObjectList, Other.EffectObjectList);
    // Effects work on the bitmap of the layer that owns them.
    for (auto& E : EffectObjectList) E->SetEffectBitmap(&Bitmap());
    for (auto& E : Other.EffectObjectList) E->SetEffectBitmap(&Other.Bitmap());
    std::swap(fX1, Other.fX1);
    std::swap(fY1, Other.fY1);
    std::swap(fX2, Other.fX2);
    std::swap(fY2, Other.fY2);
    std::swap(fA, Other.fA);
    std::swap(fBoundingRect, Other.fBoundingRect);
    std::swap(fScaleFactor, Other.fScaleFactor);
    std::swap(FGradientAnchor, Other.FGradientAnchor);
    std::swap(PreviousStartPoint, Other.PreviousStartPoint);
    std::swap(FirstPaint, Other.FirstPaint);
    std::swap(StartPoint, Other.StartPoint);
    std::swap(GPBoundingRect, Other.GPBoundingRect);
    std::swap(TransformationPoint, Other.TransformationPoint);
    const TGPMatrixElements Mine = Matrix.GetElements();
    Matrix.SetElements(Other.Matrix.GetElements());
    Other.Matrix.SetElements(Mine);
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
    EffectObjectList.clear();
    F2DLayerStyle->EffectList.clear();
    ReadXMLEffects(
        aXMLNode, [this](TEffectType Kind) { AddingEffect(Kind); },
        [this](std::unique_ptr<TMotionBlur> Blur) {
            Blur->SetEffectBitmap(&Bitmap());
            F2DLayerStyle->AddEffect(efMotionBlur);
            EffectObjectList.push_back(std::move(Blur));
        });
}

} // namespace zp
