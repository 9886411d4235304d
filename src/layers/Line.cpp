#include "layers/Line.h"

#include "layers/XmlValues.h"

#include <cmath>

namespace zp {

T2DLine::T2DLine(int CX1, int CY1, int CX2, int CY2) {
    fLineWidth = 1;
    fX1 = CX1;
    fY1 = CY1;
    fX2 = CX2;
    fY2 = CY2;
    fA = {static_cast<float>(CX2 - CX1), static_cast<float>(CY2 - CY1)};
    StartPoint = {0, 0};
    CalculateLinePolygon();
    int W = 0, H = 0;
    BandSize(W, H);
    const int E = RoundFigure(std::sqrt(static_cast<double>(W) * W + static_cast<double>(H) * H));
    Bitmap().SetSize(2 * E, 2 * E);
    Bitmap().Clear(0);
    StartPoint = {Bitmap().Width() / 2, Bitmap().Height() / 2};
    SetLocation({static_cast<float>(CX1), static_cast<float>(CY1), static_cast<float>(CX1 + Bitmap().Width()),
                 static_cast<float>(CY1 + Bitmap().Height())});
}

void T2DLine::BandSize(int& W, int& H) const {
    W = RoundFigure(static_cast<double>(GetWidth()) + 2.0 * RoundFigure(std::fabs(V.X)));
    H = RoundFigure(static_cast<double>(GetHeight()) + 2.0 * RoundFigure(std::fabs(V.Y)));
}

void T2DLine::CalculateLinePolygon() {
    const float AX = std::fabs(fA.X);
    const float AY = std::fabs(fA.Y);
    const auto Width = static_cast<float>(fLineWidth);
    TGPPointF Corners[4];
    if (fA.Y == 0) {
        V = {0, Width};
        const float VY = std::fabs(V.Y);
        Corners[0] = {0, 0};
        Corners[1] = {0, VY};
        Corners[2] = {AX, VY};
        Corners[3] = {AX, 0};
    } else if (fA.X == 0) {
        V = {Width, 0};
        const float VX = std::fabs(V.X);
        Corners[0] = {0, 0};
        Corners[1] = {0, AY};
        Corners[2] = {VX, AY};
        Corners[3] = {VX, 0};
    } else {
        const double M = static_cast<double>(fA.Y) / fA.X;
        const double N = -1 / M;
        V.X = static_cast<float>(Width / std::sqrt(N * N + 1));
        V.Y = static_cast<float>(V.X * N);
        const float VX = std::fabs(V.X), VY = std::fabs(V.Y);
        if (M > 0) {
            Corners[0] = {VX, 0};
            Corners[1] = {0, VY};
            Corners[2] = {AX, AY + VY};
            Corners[3] = {AX + VX, AY};
        } else {
            Corners[0] = {AX, 0};
            Corners[1] = {0, AY};
            Corners[2] = {VX, AY + VY};
            Corners[3] = {AX + VX, VY};
        }
    }
    PolygonPoints.clear();
    for (const TGPPointF& C : Corners)
        PolygonPoints.push_back(
            {static_cast<float>(StartPoint.X) + C.X, static_cast<float>(StartPoint.Y) + C.Y});
}

void T2DLine::AddOutline(TGPPath& Path) {
    Path.AddPolygon(PolygonPoints);
}

void T2DLine::AddShadowOutline(TGPPath& Path) {
    const auto DX = static_cast<float>(LayerStyle().ShadowXShift());
    const auto DY = static_cast<float>(LayerStyle().ShadowYShift());
    PolygonShadowPoints.clear();
    for (const TGPPointF& P : PolygonPoints) PolygonShadowPoints.push_back({P.X + DX, P.Y + DY});
    Path.AddPolygon(PolygonShadowPoints);
}

void T2DLine::Line() {
    SetDrawingProps();
    Refreshing([this] {
        PrepareRefresh();
        StartPoint = {0, 0};
        CalculateLinePolygon();
        int W = 0, H = 0;
        BandSize(W, H);
        const int D = RoundFigure(std::sqrt(static_cast<double>(W) * W + static_cast<double>(H) * H));
        Bitmap().SetSize(2 * D, 2 * D);
        StartPoint = {RoundFigure(Bitmap().Width() / 2.0), RoundFigure(Bitmap().Height() / 2.0)};
        MoveGradientWithAnchor();
        CalculateLinePolygon();
        DrawFigure();
        // The middle of the start edge; the start is on the right (bottom) when the line runs
        // to the left (up).
        const double HalfX = std::fabs(V.X / 2), HalfY = std::fabs(V.Y / 2);
        StartPoint2.X = RoundFigure(fA.X > 0 ? StartPoint.X + HalfX : StartPoint.X + HalfX - fA.X);
        StartPoint2.Y = RoundFigure(fA.Y > 0 ? StartPoint.Y + HalfY : StartPoint.Y + HalfY - fA.Y);
        MoveToAnchor(StartPoint2);
    });
}

void T2DLine::Paint() {
    Line();
    ApplyEffects();
}

void T2DLine::HelpLine() {
    SetHelpLineStyle();
    fA = {static_cast<float>(fX2 - fX1), static_cast<float>(fY2 - fY1)};
    StartPoint = {0, 0};
    CalculateLinePolygon();
    int W = 0, H = 0;
    BandSize(W, H);
    if (W <= 0 || H <= 0) return;
    Refreshing([&] {
        Bitmap().SetSize(W, H);
        DrawFigure();
        const float Left = static_cast<float>(fA.X > 0 ? fX1 : fX2) - std::fabs(V.X / 2);
        const float Top = static_cast<float>(fA.Y > 0 ? fY1 : fY2) - std::fabs(V.Y / 2);
        SetLocation({Left, Top, Left + static_cast<float>(W), Top + static_cast<float>(H)});
    });
}

T2DLine* T2DLine::Clone(TLayerCollection& Layers) const {
    auto* Copy = Layers.Add<T2DLine>();
    CopyFigurePropsTo(*Copy);
    Copy->fLineWidth = fLineWidth;
    Copy->Paint();
    return Copy;
}

std::unique_ptr<TBitmapLayer> T2DLine::SaveState() const {
    return SaveStateOf(*this, &T2DLine::fLineWidth, &T2DLine::StartPoint2, &T2DLine::V,
                       &T2DLine::PolygonPoints, &T2DLine::PolygonShadowPoints);
}

void T2DLine::SwapState(TBitmapLayer& Other) {
    SwapStateOf(*this, Other, &T2DLine::fLineWidth, &T2DLine::StartPoint2, &T2DLine::V,
                &T2DLine::PolygonPoints, &T2DLine::PolygonShadowPoints);
}

void T2DLine::WriteXML(pugi::xml_node aXMLNode) const {
    WriteXMLInteger(aXMLNode, "LayerType", 2);
    Write2DPropsToXML(aXMLNode);
    WriteXMLInteger(aXMLNode, "LineWidth", fLineWidth);
    LayerStyle().WriteXML(aXMLNode, EffectObjectList);
}

void T2DLine::ReadXML(pugi::xml_node aXMLNode, int Version) {
    Read2DPropsFromXML(aXMLNode, Version);
    fLineWidth = ReadXMLInteger(aXMLNode, "LineWidth");
    LayerStyle().ReadXML(aXMLNode, Version);
}

} // namespace zp
