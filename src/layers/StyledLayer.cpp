#include "layers/StyledLayer.h"

#include "gfx/Brushes.h"
#include "gfx/Graphics.h"
#include "gfx/Pen.h"
#include "raster/Resamplers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace zp {

namespace {

constexpr std::int64_t FigureLimit = std::int64_t{1} << 29;

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

} // namespace

bool IsTransparencyShape(TShapeType Shape) {
    return Shape == shpLinearTransp || Shape == shpCircleTransp || Shape == shpSqareTransp;
}

int ClampFigure(std::int64_t Value) {
    return static_cast<int>(std::clamp(Value, -FigureLimit, FigureLimit));
}

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

TStyledLayer::TStyledLayer(std::unique_ptr<T2DLayerStyle> Style) : F2DLayerStyle(std::move(Style)) {
    Bitmap().SetDrawMode(dmBlend);
    Bitmap().SetCombineMode(cmMerge);
    SetScaled(true);
    SetCropped(true);
}

TStyledLayer::~TStyledLayer() = default;

void TStyledLayer::SetDrawingProps() {
    Bitmap().SetDrawMode(dmBlend);
    SetScaled(true);
    SetCropped(true);
}

// ---------------------------------------------------------------- transformation

void TStyledLayer::FlipVertical() {
    F2DLayerStyle->SetTransformMatrix(
        GeneralGraphicFunction.MatrixFlipVertical(F2DLayerStyle->TransformMatrix(), TransformationPoint));
    Redraw();
}

void TStyledLayer::FlipHorizontal() {
    F2DLayerStyle->SetTransformMatrix(
        GeneralGraphicFunction.MatrixFlipHotizontal(F2DLayerStyle->TransformMatrix(), TransformationPoint));
    Redraw();
}

void TStyledLayer::Rotate(double Degree) {
    F2DLayerStyle->SetTransformMatrix(GeneralGraphicFunction.MatrixRotate(
        static_cast<float>(Degree), F2DLayerStyle->TransformMatrix(), TransformationPoint));
    Redraw();
}

void TStyledLayer::SetScale(TFloatPoint Value) {
    fScaleFactor = {fScaleFactor.X * Value.X, fScaleFactor.Y * Value.Y};
    F2DLayerStyle->SetTransformMatrix(
        GeneralGraphicFunction.MatrixScale(F2DLayerStyle->TransformMatrix(), Value));
    Redraw();
}

void TStyledLayer::TransformationCalculations(TGPPath& Path) {
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

void TStyledLayer::StrokeAndFill(TGPGraphics& G, const TGPPath& Path, const TGPPen& Pen, const TGPBrush* Fill,
                                 bool StrokeWithoutOutline) {
    const T2DLayerStyle& S = *F2DLayerStyle;
    // The stroke goes first, so an opaque fill covers the inner half of the outline.
    if (S.FillGradient()) {
        const std::unique_ptr<TGPBrush> Gradient = S.CreateGradientBrush();
        if (S.Outline()) G.DrawPath(Pen, Path);
        if (!IsTransparencyShape(S.FillGradientShape()) && Fill) G.FillPath(*Fill, Path);
        if (Gradient) G.FillPath(*Gradient, Path);
    } else {
        if (S.Outline() || StrokeWithoutOutline) G.DrawPath(Pen, Path);
        if (Fill) G.FillPath(*Fill, Path);
    }
}

std::unique_ptr<TGPBrush> TStyledLayer::CreateFillBrush(bool TextureFollowsMatrix) {
    T2DLayerStyle& S = *F2DLayerStyle;
    if (S.FillPattern() && S.NoOfHatchBrush() >= 0) return S.CreateHatchBrush();
    if (S.FillImage()) {
        auto Texture = S.CreateTextureBrush();
        if (Texture && TextureFollowsMatrix) Texture->SetTransform(Matrix);
        return Texture;
    }
    return S.CreateBrush();
}

void TStyledLayer::MoveToAnchor(TPoint P) {
    const std::int64_t DX = std::int64_t{P.X} - PreviousStartPoint.X;
    const std::int64_t DY = std::int64_t{P.Y} - PreviousStartPoint.Y;
    const TFloatRect L = Location();
    const float Left = L.Left - static_cast<float>(DX);
    const float Top = L.Top - static_cast<float>(DY);
    SetLocation({Left, Top, Left + static_cast<float>(Bitmap().Width()),
                 Top + static_cast<float>(Bitmap().Height())});
    PreviousStartPoint = P;
}

// ---------------------------------------------------------------- effects

void TStyledLayer::ApplyEffects() {
    std::vector<TEffectType>& Kinds = F2DLayerStyle->EffectList;
    while (Kinds.size() < EffectObjectList.size()) EffectObjectList.pop_back();
    for (std::size_t I = 0; I < Kinds.size() && I < EffectObjectList.size(); ++I) {
        TEffect& Effect = *EffectObjectList[I];
        Effect.SetEffectBitmap(&Bitmap());
        RunEffect(Kinds[I], Effect);
    }
}

void TStyledLayer::AddingEffect(TEffectType EffectType) {
    std::unique_ptr<TEffect> Effect = CreateConvolution(EffectType);
    if (!Effect) return;
    Effect->SetEffectBitmap(&Bitmap());
    F2DLayerStyle->AddEffect(EffectType);
    EffectObjectList.push_back(std::move(Effect));
}

void TStyledLayer::AddEffect(TEffectType EffectType) {
    AddingEffect(EffectType);
    Redraw();
}

void TStyledLayer::AddEffect(std::unique_ptr<TEffect> Effect) {
    if (Effect) {
        if (auto* Blur = dynamic_cast<TMotionBlur*>(Effect.get())) {
            Effect.release();
            AppendMotionBlur(std::unique_ptr<TMotionBlur>(Blur));
        }
    }
    Redraw();
}

void TStyledLayer::AppendMotionBlur(std::unique_ptr<TMotionBlur> Blur) {
    Blur->SetEffectBitmap(&Bitmap());
    F2DLayerStyle->AddEffect(efMotionBlur);
    EffectObjectList.push_back(std::move(Blur));
}

void TStyledLayer::ReadEffectsFromXML(pugi::xml_node aXMLNode) {
    CappedBlurStrength = 0;
    EffectObjectList.clear();
    F2DLayerStyle->EffectList.clear();
    ReadXMLEffects(
        aXMLNode, [this](TEffectType Kind) { AddingEffect(Kind); },
        [this](std::unique_ptr<TMotionBlur> Blur) { AppendReadMotionBlur(std::move(Blur)); });
}

void TStyledLayer::AppendReadMotionBlur(std::unique_ptr<TMotionBlur> Blur) {
    if (Blur->Strenght() > TMotionBlur::MaxStrength) {
        CappedBlurStrength = std::max(CappedBlurStrength, Blur->Strenght());
        Blur->SetStrenght(TMotionBlur::MaxStrength);
    }
    AppendMotionBlur(std::move(Blur));
}

void TStyledLayer::RemoveLastEffect() {
    if (!F2DLayerStyle->EffectList.empty()) F2DLayerStyle->EffectList.pop_back();
    if (!EffectObjectList.empty()) EffectObjectList.pop_back();
}

int TStyledLayer::MotionBlurMargin() const {
    std::int64_t Strongest = 0;
    for (const auto& Effect : EffectObjectList)
        if (const auto* Blur = dynamic_cast<const TMotionBlur*>(Effect.get()))
            Strongest = std::max<std::int64_t>(Strongest, Blur->Strenght());
    return ClampFigure(5 * Strongest);
}

TFloatRect TStyledLayer::BoundingRect() const {
    const TFloatRect L = Location();
    const float Left = L.Left + GPBoundingRect.X;
    const float Top = L.Top + GPBoundingRect.Y;
    fBoundingRect = {Left, Top, Left + GPBoundingRect.Width + 1, Top + GPBoundingRect.Height + 1};
    return fBoundingRect;
}

TFloatRect TStyledLayer::PictureRect() const {
    const TGPRectF& G = GPBoundingRect;
    TFloatRect R{G.X, G.Y, G.X + G.Width + 1, G.Y + G.Height + 1};
    const float W = static_cast<float>(Bitmap().Width());
    const float H = static_cast<float>(Bitmap().Height());
    if (R.Right >= W) R.Right = W - 1;
    if (R.Bottom >= H) R.Bottom = H - 1;
    return R;
}

TFloatRect TStyledLayer::GetPictureCoord(const TFloatRect& R) const {
    const TFloatRect L = Location();
    const float Left = std::fabs(R.Left - L.Left);
    const float Top = std::fabs(R.Top - L.Top);
    return {Left, Top, Left + (R.Right - R.Left), Top + (R.Bottom - R.Top)};
}

std::unique_ptr<TBitmap32> TStyledLayer::ExtractBitmap32() const {
    const TFloatRect P = PictureRect();
    const TRect S{RoundFigure(P.Left), RoundFigure(P.Top), TruncFigure(P.Right), TruncFigure(P.Bottom)};
    auto Result = std::make_unique<TBitmap32>();
    Result->SetSize(S.Right - S.Left - 1, S.Bottom - S.Top - 1);
    if (Result->Empty()) return Result;
    Result->Clear(0);
    // Pixel for pixel: the source is as large as the result, so nothing is resampled.
    Bitmap().DrawTo(*Result, Result->BoundsRect(), {S.Left, S.Top, S.Right - 1, S.Bottom - 1});
    return Result;
}

QImage TStyledLayer::ExtractBitmap() const {
    const std::unique_ptr<TBitmap32> Surface = ExtractBitmap32();
    if (Surface->Empty()) return {};
    QImage Image(Surface->Width(), Surface->Height(), QImage::Format_ARGB32);
    for (int Y = 0; Y < Surface->Height(); ++Y)
        std::memcpy(Image.scanLine(Y), Surface->ScanLine(Y), static_cast<std::size_t>(Surface->Width()) * 4);
    return Image;
}

void TStyledLayer::CopyEffectsTo(TStyledLayer& Target) const {
    Target.EffectObjectList.clear();
    Target.F2DLayerStyle->EffectList.clear();
    const std::vector<TEffectType>& Kinds = F2DLayerStyle->EffectList;
    for (std::size_t I = 0; I < Kinds.size(); ++I) {
        if (Kinds[I] != efMotionBlur) {
            Target.AddingEffect(Kinds[I]);
            continue;
        }
        auto Blur = std::make_unique<TMotionBlur>();
        const auto* Source = I < EffectObjectList.size()
                                 ? dynamic_cast<const TMotionBlur*>(EffectObjectList[I].get())
                                 : nullptr;
        if (Source) {
            Blur->SetDirection(Source->Direction());
            Blur->SetStrenght(Source->Strenght());
        }
        Target.AppendMotionBlur(std::move(Blur));
    }
}

void TStyledLayer::CopyStyledStateTo(TStyledLayer& Target) const {
    CopyBitmapLayerState(Target);
    Target.F2DLayerStyle->Assign(*F2DLayerStyle);
    CopyEffectsTo(Target);
    Target.fBoundingRect = fBoundingRect;
    Target.fScaleFactor = fScaleFactor;
    Target.PreviousStartPoint = PreviousStartPoint;
    Target.StartPoint = StartPoint;
    Target.GPBoundingRect = GPBoundingRect;
    Target.TransformationPoint = TransformationPoint;
    Target.Matrix.SetElements(Matrix.GetElements());
}

void TStyledLayer::SwapStyledState(TStyledLayer& Other) {
    SwapBitmapLayerState(Other);
    std::swap(F2DLayerStyle, Other.F2DLayerStyle);
    std::swap(EffectObjectList, Other.EffectObjectList);
    // Effects work on the bitmap of the layer that owns them.
    for (auto& E : EffectObjectList) E->SetEffectBitmap(&Bitmap());
    for (auto& E : Other.EffectObjectList) E->SetEffectBitmap(&Other.Bitmap());
    std::swap(fBoundingRect, Other.fBoundingRect);
    std::swap(fScaleFactor, Other.fScaleFactor);
    std::swap(PreviousStartPoint, Other.PreviousStartPoint);
    std::swap(StartPoint, Other.StartPoint);
    std::swap(GPBoundingRect, Other.GPBoundingRect);
    std::swap(TransformationPoint, Other.TransformationPoint);
    const TGPMatrixElements Mine = Matrix.GetElements();
    Matrix.SetElements(Other.Matrix.GetElements());
    Other.Matrix.SetElements(Mine);
}

} // namespace zp
