#include "layers/Polygon.h"

#include "layers/XmlValues.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace zp {

T2DPolygon::T2DPolygon(int CX1, int CY1, int CX2, int CY2, int CNumEdges) {
    fX1 = CX1;
    fY1 = CY1;
    fX2 = CX2;
    fY2 = CY2;
    fNumEdges = CNumEdges;
    fA = {static_cast<float>(CX2 - CX1), static_cast<float>(CY2 - CY1)};
    Radius = std::hypot(static_cast<double>(fA.X), static_cast<double>(fA.Y));
    const double E = PolygonExtent();
    const int S = RoundFigure(std::sqrt(2 * E * E));
    Bitmap().SetSize(2 * S, 2 * S);
    Bitmap().Clear(0);
    StartPoint = {Bitmap().Width() / 2, Bitmap().Height() / 2};
    const float Left = static_cast<float>(CX1 - Radius);
    const float Top = static_cast<float>(CY1 - Radius);
    SetLocation({Left, Top, Left + static_cast<float>(Bitmap().Width()),
                 Top + static_cast<float>(Bitmap().Height())});
}

int T2DPolygon::PolygonExtent() const {
    const T2DLayerStyle& S = LayerStyle();
    std::int64_t B = RoundFigure(2 * Radius);
    if (S.Outline()) B += 2 * std::int64_t{S.OutlineSize()};
    // The larger shift with its sign, then its size: a shadow up and left adds little.
    if (S.Shadow()) B += std::abs(std::int64_t{std::max(S.ShadowXShift(), S.ShadowYShift())});
    const double Scaled =
        std::max(static_cast<double>(B) * fScaleFactor.X, static_cast<double>(B) * fScaleFactor.Y);
    const std::int64_t E = std::int64_t{RoundFigure(Scaled)} + MotionBlurMargin();
    return E <= 0 ? 2 : RoundFigure(static_cast<double>(E));
}

void T2DPolygon::CalculatePolygonPoints() {
    Radius = std::hypot(static_cast<double>(fA.X), static_cast<double>(fA.Y));
    const double CX = RoundFigure(StartPoint.X + Radius);
    const double CY = RoundFigure(StartPoint.Y + Radius);
    double Theta;
    if (fA.X > 0)
        Theta = std::atan(static_cast<double>(fA.Y) / fA.X);
    else if (fA.X == 0)
        Theta = fA.Y >= 0 ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
    else
        Theta = std::atan(static_cast<double>(fA.Y) / fA.X) + std::numbers::pi;
    PolygonPoints.clear();
    const int Count = std::max(0, fNumEdges);
    PolygonPoints.reserve(static_cast<std::size_t>(Count));
    for (int I = 0; I < Count; ++I) {
        PolygonPoints.push_back({static_cast<float>(CX + std::cos(Theta) * Radius),
                                 static_cast<float>(CY + std::sin(Theta) * Radius)});
        Theta += 2 * std::numbers::pi / Count;
    }
}

void T2DPolygon::AddOutline(TGPPath& Path) {
    Path.AddPolygon(PolygonPoints);
}

void T2DPolygon::AddShadowOutline(TGPPath& Path) {
    const auto DX = static_cast<float>(LayerStyle().ShadowXShift());
    const auto DY = static_cast<float>(LayerStyle().ShadowYShift());
    PolygonShadowPoints.clear();
    for (const TGPPointF& P : PolygonPoints) PolygonShadowPoints.push_back({P.X + DX, P.Y + DY});
    Path.AddPolygon(PolygonShadowPoints);
}

void T2DPolygon::RegularPolygon() {
    SetDrawingProps();
    Refreshing([this] {
        PrepareRefresh();
        const int E = PolygonExtent();
        Bitmap().SetSize(2 * E, 2 * E);
        StartPoint = {Bitmap().Width() / 2, Bitmap().Height() / 2};
        MoveGradientWithAnchor();
        CalculatePolygonPoints();
        DrawFigure();
        MoveToAnchor(StartPoint);
    });
}

void T2DPolygon::Paint() {
    RegularPolygon();
    ApplyEffects();
}

void T2DPolygon::HelpLine() {
    SetHelpLineStyle();
    fA = {static_cast<float>(fX2 - fX1), static_cast<float>(fY2 - fY1)};
    const double R = std::hypot(static_cast<double>(fA.X), static_cast<double>(fA.Y));
    const int D = RoundFigure(2 * R) + 1;
    if (D <= 0) return;
    Refreshing([&] {
        Bitmap().SetSize(D, D);
        StartPoint = {0, 0};
        CalculatePolygonPoints();
        DrawFigure();
        const float Left = static_cast<float>(fX1 - R);
        const float Top = static_cast<float>(fY1 - R);
        SetLocation({Left, Top, Left + static_cast<float>(D), Top + static_cast<float>(D)});
    });
}

T2DPolygon* T2DPolygon::Clone(TLayerCollection& Layers) const {
    auto* Copy = Layers.Add<T2DPolygon>();
    CopyFigurePropsTo(*Copy);
    Copy->Radius = std::hypot(static_cast<double>(fA.X), static_cast<double>(fA.Y));
    Copy->fNumEdges = fNumEdges;
    Copy->Paint();
    return Copy;
}

std::unique_ptr<TBitmapLayer> T2DPolygon::SaveState() const {
    return SaveStateOf(*this, &T2DPolygon::fNumEdges, &T2DPolygon::Radius, &T2DPolygon::PolygonPoints,
                       &T2DPolygon::PolygonShadowPoints);
}

void T2DPolygon::SwapState(TBitmapLayer& Other) {
    SwapStateOf(*this, Other, &T2DPolygon::fNumEdges, &T2DPolygon::Radius, &T2DPolygon::PolygonPoints,
                &T2DPolygon::PolygonShadowPoints);
}

void T2DPolygon::WriteXML(pugi::xml_node aXMLNode) const {
    WriteXMLInteger(aXMLNode, "LayerType", 3);
    Write2DPropsToXML(aXMLNode);
    WriteXMLInteger(aXMLNode, "NumEdges", fNumEdges);
    LayerStyle().WriteXML(aXMLNode, EffectObjectList);
}

void T2DPolygon::ReadXML(pugi::xml_node aXMLNode, int Version) {
    Read2DPropsFromXML(aXMLNode, Version);
    Radius = std::hypot(static_cast<double>(fA.X), static_cast<double>(fA.Y));
    const int Edges = ReadXMLInteger(aXMLNode, "NumEdges");
    if (Edges > MaxNumEdges) ThrowInvalidXMLValue(std::to_string(Edges), "NumEdges");
    fNumEdges = Edges;
    LayerStyle().ReadXML(aXMLNode, Version);
}

} // namespace zp
