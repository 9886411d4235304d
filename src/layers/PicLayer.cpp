#include "layers/PicLayer.h"

#include "gfx/Brushes.h"
#include "gfx/Graphics.h"
#include "layers/MarchingSquares.h"
#include "layers/XmlValues.h"

#include <cmath>

namespace zp {

namespace {

constexpr std::uint8_t SilhouetteAlphaLevel = 50;

int Diagonal(const T2DFiguren& F) {
    const double W = F.GetWidth(), H = F.GetHeight();
    return RoundFigure(std::sqrt(W * W + H * H));
}

} // namespace

TPicLayer::TPicLayer(const QString& FileName) : FGdiBitmap(TGPImage::FromFile(FileName)) {
    InitPicture();
}

TPicLayer::TPicLayer(const TGPImage& AGDIBitmap) : FGdiBitmap(AGDIBitmap.Clone()) {
    InitPicture();
}

TPicLayer::TPicLayer(const TBitmap32& ABitmap32) : FGdiBitmap(TGPImage::FromBitmap32(ABitmap32)) {
    InitPicture();
}

void TPicLayer::InitPicture() {
    PreviousStartPoint = {0, 0};
    fX1 = fY1 = 0;
    fX2 = FGdiBitmap->Width();
    fY2 = FGdiBitmap->Height();
    fA = {static_cast<float>(fX2), static_cast<float>(fY2)};
    const int E = Diagonal(*this);
    Bitmap().SetSize(2 * E, 2 * E);
    Bitmap().Clear(0);
    StartPoint = {Bitmap().Width() / 2, Bitmap().Height() / 2};
    SetLocation({0, 0, static_cast<float>(FGdiBitmap->Width()), static_cast<float>(FGdiBitmap->Height())});
    Refresh();
}

TGPRectF TPicLayer::PictureRectF() const {
    return {static_cast<float>(StartPoint.X), static_cast<float>(StartPoint.Y), std::fabs(fA.X),
            std::fabs(fA.Y)};
}

void TPicLayer::Refresh() {
    SetDrawingProps();
    Refreshing([this] {
        PrepareRefresh();
        const double X = Diagonal(*this);
        const int Side = 2 * RoundFigure(X + 0.1 * X);
        Bitmap().SetSize(Side, Side);
        StartPoint = {Bitmap().Width() / 2, Bitmap().Height() / 2};
        MoveGradientWithAnchor();
        DrawPicture();
        MoveToAnchor(StartPoint);
    });
}

void TPicLayer::Paint() {
    Refresh();
    ApplyEffects();
}

void TPicLayer::AddOutline(TGPPath& Path) {
    Path.AddRectangle(PictureRectF());
}

void TPicLayer::AddShadowOutline(TGPPath& Path) {
    if (PathPoints.size() < 3) return;
    const T2DLayerStyle& S = LayerStyle();
    std::vector<TGPPointF> Shifted = PathPoints;
    for (TGPPointF& P : Shifted) {
        P.X += static_cast<float>(S.ShadowXShift());
        P.Y += static_cast<float>(S.ShadowYShift());
    }
    Path.AddPolygon(Shifted);
}

void TPicLayer::DrawPicture() {
    T2DLayerStyle& S = LayerStyle();
    TGPGraphics G(Bitmap());
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.SetInterpolationMode(InterpolationModeHighQualityBicubic);
    G.Clear(0);
    const TGPRectF R = PictureRectF();
    const TGPRectF Whole{0, 0, static_cast<float>(FGdiBitmap->Width()),
                         static_cast<float>(FGdiBitmap->Height())};

    // The silhouette of the picture as it is drawn untransformed; the same picture at the same
    // place gives the same trace, which is kept. (The picture itself needs no fresh decoding
    // either: its PNG round trip gives back the very same pixels.)
    const TTraced Now{R, Bitmap().Width(), Bitmap().Height()};
    if (!(Now == FTracedIn)) {
        G.DrawImage(*FGdiBitmap, R, Whole);
        TMarchingSqare Tracer(Bitmap(), Bitmap().BoundsRect(), SilhouetteAlphaLevel);
        PathPoints.clear();
        for (const TPoint& P : Tracer.March())
            PathPoints.push_back({static_cast<float>(P.X), static_cast<float>(P.Y)});
        FTracedIn = Now;
    }
    TGPPath Outline(FillModeAlternate);
    // Fewer than three points outline nothing: outline, shadow and gradient then draw nothing.
    if (PathPoints.size() >= 3) Outline.AddPolygon(PathPoints);
    G.Clear(0);

    TGPPath Place(FillModeAlternate);
    AddOutline(Place);
    TransformationCalculations(Place);
    AddOutline(Place);
    Place.Transform(Matrix);
    GPBoundingRect = Place.GetWorldBounds();
    G.SetWorldTransform(Matrix);

    const std::unique_ptr<TGPPen> Pen = S.CreatePen();
    const std::unique_ptr<TGPBrush> Fill = CreateFillBrush(true);
    if (S.Shadow()) {
        TGPPath Shadow(FillModeAlternate);
        AddShadowOutline(Shadow);
        if (!Shadow.IsEmpty()) G.FillPath(*S.CreateShadowBrush(), Shadow);
    }
    const TGPImageAttributes Opacity =
        AlphaScaleImageAttributes(static_cast<float>(S.FillColorAlpha() & 0xFF) / 255.0f);
    G.DrawImage(*FGdiBitmap, R, Whole, &Opacity);

    const bool HasOutline = !Outline.IsEmpty();
    if (S.FillGradient()) {
        if (S.Outline() && HasOutline) G.DrawPath(*Pen, Outline);
        if (!IsTransparencyShape(S.FillGradientShape())) {
            const std::unique_ptr<TGPBrush> Gradient = S.CreateGradientBrush();
            if (HasOutline && Fill) G.FillPath(*Fill, Outline);
            if (HasOutline && Gradient) G.FillPath(*Gradient, Outline);
        } else {
            const TPoint A = S.FillGradientPStart(), B = S.FillGradientPEnd();
            switch (S.FillGradientShape()) {
            case shpLinearTransp: TGeneralGraphicFunctions::CreateTranspGradient(A, B, Bitmap()); break;
            case shpCircleTransp: TGeneralGraphicFunctions::CreateCircleTranspGradient(A, B, Bitmap()); break;
            case shpSqareTransp: TGeneralGraphicFunctions::CreateSqareTranspGradient(A, B, Bitmap()); break;
            default: break;
            }
        }
    } else if (S.Outline() && HasOutline) {
        G.DrawPath(*Pen, Outline);
    }
}

TPicLayer* TPicLayer::Clone(TLayerCollection& Layers) const {
    auto* Copy = Layers.Add<TPicLayer>(*FGdiBitmap);
    CopyFigurePropsTo(*Copy);
    Copy->Paint();
    return Copy;
}

std::unique_ptr<TBitmapLayer> TPicLayer::SaveState() const {
    auto S = std::unique_ptr<TPicLayer>(new TPicLayer());
    CopyFigureStateTo(*S);
    // The picture never changes: the copy shares it.
    S->FGdiBitmap = FGdiBitmap;
    S->PathPoints = PathPoints;
    S->FTracedIn = FTracedIn;
    return S;
}

void TPicLayer::SwapState(TBitmapLayer& Other) {
    SwapStateOf(*this, Other, &TPicLayer::FGdiBitmap, &TPicLayer::PathPoints, &TPicLayer::FTracedIn);
}

void TPicLayer::WriteXML(pugi::xml_node aXMLNode) const {
    WriteXMLInteger(aXMLNode, "LayerType", 0);
    Write2DPropsToXML(aXMLNode);
    WriteXMLPicture(aXMLNode, "PictureData",
                    [Picture = FGdiBitmap] { return TGeneralGraphicFunctions::BitmapToString(*Picture); });
    LayerStyle().WriteXML(aXMLNode, EffectObjectList);
}

void TPicLayer::ReadXML(pugi::xml_node aXMLNode, int Version) {
    Read2DPropsFromXML(aXMLNode, Version);
    auto Picture = TGeneralGraphicFunctions::StringToTGPImage(ReadXMLText(aXMLNode, "PictureData"));
    // An empty text is no picture: the decoder refuses empty data.
    if (!Picture) ThrowInvalidXMLValue("", "PictureData");
    FGdiBitmap = std::move(Picture);
    ForgetSilhouette();
    LayerStyle().ReadXML(aXMLNode, Version);
}

} // namespace zp
