#include "layers/TextLayer.h"

#include "gfx/Brushes.h"
#include "gfx/Graphics.h"
#include "gfx/Pen.h"
#include "layers/XmlValues.h"
#include "raster/Resamplers.h"

#include <algorithm>
#include <cmath>

namespace zp {

namespace {

int ScaledExtent(int Measured, float Scale, int Margin) {
    return ClampFigure(std::int64_t{RoundFigure(static_cast<double>(Measured) * Scale)} + Margin);
}

} // namespace

TTextLayer::TTextLayer() : TStyledLayer(std::make_unique<TFontLayerStyle>()), strformat(0, 0) {
    Bitmap().SetSize(FontLayerStyle().PixelWidth(), FontLayerStyle().PixelHeight());
    // The bitmap lives and dies with the layer, and so does this handler.
    Bitmap().OnChange.Add([this](TBitmap32&) {
        if (!FRedrawing) FDrawnKnown = false;
    });
}

int TTextLayer::TextWidth() const {
    return ScaledExtent(FontLayerStyle().PixelWidth(), fScaleFactor.X, MotionBlurMargin());
}

int TTextLayer::TextHeight() const {
    return ScaledExtent(FontLayerStyle().PixelHeight(), fScaleFactor.Y, MotionBlurMargin());
}

void TTextLayer::WriteText(int, int) {
    SetDrawingProps();
    FRedrawing = true;
    struct TDone {
        bool& Flag;
        ~TDone() { Flag = false; }
    } Done{FRedrawing};
    Refreshing([this] {
        const int M = std::max({TextWidth(), TextHeight(), 1});
        TBitmap32& B = Bitmap();
        const bool SameSquare = B.Width() == 2 * M && B.Height() == 2 * M;
        B.SetSize(2 * M, 2 * M);
        StartPoint = {B.Width() / 2, B.Height() / 2};
        if (!SameSquare || !FDrawnKnown)
            B.Clear(0);
        else if (!FDrawn.IsEmpty())
            B.FillRect(FDrawn.Left, FDrawn.Top, FDrawn.Right, FDrawn.Bottom, 0);
        FDrawnKnown = false;
        FDrawn = DrawTextLayer();
        MoveToAnchor(StartPoint);
    });
    ApplyEffects();
    FDrawnKnown = F2DLayerStyle->EffectList.empty() && EffectObjectList.empty();
}

void TTextLayer::AddText(TGPPath& Path, TPoint Origin) const {
    const TFontLayerStyle& S = FontLayerStyle();
    Path.AddString(S.Text(), S.FontFamily(), S.FontStyle(), static_cast<float>(S.FontSize()),
                   {static_cast<float>(Origin.X), static_cast<float>(Origin.Y), 0, 0}, &strformat);
}

TRect TTextLayer::DrawTextLayer() {
    TFontLayerStyle& S = FontLayerStyle();
    // The bitmap was cleared just before.
    TGPGraphics G(Bitmap());
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.SetInterpolationMode(InterpolationModeHighQualityBicubic);

    const std::unique_ptr<TGPPen> Pen = S.CreatePen();
    const std::unique_ptr<TGPBrush> Fill = CreateFillBrush(false);

    TGPPath Path(FillModeAlternate);
    AddText(Path, StartPoint);
    TransformationCalculations(Path);
    AddText(Path, StartPoint);
    Path.Transform(Matrix);
    GPBoundingRect = Path.GetWorldBounds();

    if (S.Shadow()) DrawTextShadow(G);
    // Stroked also without an outline: the thin stroke in the fill colour keeps small glyphs full.
    StrokeAndFill(G, Path, *Pen, Fill.get(), true);
    return G.Touched();
}

void TTextLayer::DrawTextShadow(TGPGraphics& G) {
    TFontLayerStyle& S = FontLayerStyle();
    const std::unique_ptr<TGPPen> Pen = S.CreateShadowPen();
    const std::unique_ptr<TGPBrush> Brush = S.CreateShadowBrush();
    TGPPath Shadow(FillModeAlternate);
    AddText(Shadow, {StartPoint.X + S.ShadowXShift(), StartPoint.Y + S.ShadowYShift()});
    S.SetShadowTransformMatrix(Matrix.GetElements());
    Shadow.Transform(Matrix);
    G.DrawPath(*Pen, Shadow);
    G.FillPath(*Brush, Shadow);
}

// ---------------------------------------------------------------- copies

TTextLayer* TTextLayer::Clone(TLayerCollection& Layers) const {
    auto* Copy = Layers.Add<TTextLayer>();
    Copy->FontLayerStyle().Assign(FontLayerStyle());
    Copy->Bitmap().SetDrawMode(Bitmap().DrawMode());
    Copy->Bitmap().SetResampler(std::make_unique<TLinearResampler>());
    Copy->SetScaled(Scaled());
    Copy->SetCropped(Cropped());
    // The scale belongs with the style's matrix, which holds it too: without it the copy's
    // square would be sized for the unscaled text and cut the scaled one off.
    Copy->fScaleFactor = fScaleFactor;
    CopyEffectsTo(*Copy);
    Copy->WriteText(0, 0);
    return Copy;
}

std::unique_ptr<TBitmapLayer> TTextLayer::SaveState() const {
    auto S = std::make_unique<TTextLayer>();
    CopyStyledStateTo(*S);
    S->FontLayerStyle().Assign(FontLayerStyle());
    return S;
}

void TTextLayer::SwapState(TBitmapLayer& Other) {
    auto& O = dynamic_cast<TTextLayer&>(Other);
    SwapStyledState(O);
    std::swap(FDrawn, O.FDrawn);
    std::swap(FDrawnKnown, O.FDrawnKnown);
}

// ---------------------------------------------------------------- project file

void TTextLayer::SaveToXML(pugi::xml_node aXMLNode) const {
    WriteXMLInteger(aXMLNode, "LayerType", 1);
    WriteXMLFloat(aXMLNode, "ScaleFactor.X", fScaleFactor.X);
    WriteXMLFloat(aXMLNode, "ScaleFactor.Y", fScaleFactor.Y);
    FontLayerStyle().WriteXML(aXMLNode, EffectObjectList);
}

void TTextLayer::LoadFromXML(pugi::xml_node aXMLNode, int Version) {
    CappedBlurStrength = 0;
    EffectObjectList.clear();
    F2DLayerStyle->EffectList.clear();
    if (Version >= FirstStyleBlockVersion) {
        fScaleFactor = {ReadXMLFloat(aXMLNode, "ScaleFactor.X"), ReadXMLFloat(aXMLNode, "ScaleFactor.Y")};
        ReadEffectsFromXML(aXMLNode);
    } else if (ReadXMLBoolean(aXMLNode, "BlurFont")) {
        auto Blur = std::make_unique<TMotionBlur>();
        Blur->SetDirection(
            static_cast<TBlurDirection>(static_cast<std::uint8_t>(ReadXMLInteger(aXMLNode, "BlurFoDirect"))));
        Blur->SetStrenght(ReadXMLInteger(aXMLNode, "BlurFoStrength"));
        AppendReadMotionBlur(std::move(Blur));
    }
    FontLayerStyle().ReadXML(aXMLNode, Version);
}

} // namespace zp
