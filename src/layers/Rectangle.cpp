#include "layers/Rectangle.h"

#include "layers/XmlValues.h"

#include <cmath>

namespace zp {

// What the rectangle and the ellipse share; they differ only in the outline they add.
struct TBoxFigure {
    template <class T> static void Construct(T& F, int CX1, int CY1, int CX2, int CY2) {
        F.fX1 = CX1;
        F.fY1 = CY1;
        F.fX2 = CX2;
        F.fY2 = CY2;
        F.fA = {static_cast<float>(CX2 - CX1), static_cast<float>(CY2 - CY1)};
        F.ChangeDirectionVector();
        const int E = Diagonal(F);
        F.Bitmap().SetSize(2 * E, 2 * E);
        F.Bitmap().Clear(0);
        F.StartPoint = {F.Bitmap().Width() / 2, F.Bitmap().Height() / 2};
        PlaceAtFirstPoint(F);
    }

    template <class T> static void Refresh(T& F) {
        F.SetDrawingProps();
        F.Refreshing([&F] {
            F.PrepareRefresh();
            const int E = Diagonal(F);
            F.Bitmap().SetSize(2 * E, 2 * E);
            F.StartPoint = {F.Bitmap().Width() / 2, F.Bitmap().Height() / 2};
            F.TheRectF = {static_cast<float>(F.StartPoint.X), static_cast<float>(F.StartPoint.Y),
                          std::fabs(F.fA.X), std::fabs(F.fA.Y)};
            F.MoveGradientWithAnchor();
            F.DrawFigure();
            F.MoveToAnchor(F.StartPoint);
        });
    }

    template <class T> static void HelpLine(T& F) {
        F.SetHelpLineStyle();
        F.fA = {static_cast<float>(F.fX2 - F.fX1), static_cast<float>(F.fY2 - F.fY1)};
        const int W = RoundFigure(std::fabs(F.fA.X));
        const int H = RoundFigure(std::fabs(F.fA.Y));
        F.ChangeDirectionVector();
        if (W <= 0 || H <= 0) return;
        F.Refreshing([&] {
            F.Bitmap().SetSize(W, H);
            F.TheRectF = {0, 0, static_cast<float>(W - 1), static_cast<float>(H - 1)};
            F.DrawFigure();
            PlaceAtFirstPoint(F);
        });
    }

    template <class T> static void ShadowRect(T& F) {
        const T2DLayerStyle& S = F.LayerStyle();
        F.TheShadowRectF = {static_cast<float>(F.StartPoint.X + S.ShadowXShift()),
                            static_cast<float>(F.StartPoint.Y + S.ShadowYShift()), std::fabs(F.fA.X),
                            std::fabs(F.fA.Y)};
    }

    template <class T> static void WriteXML(const T& F, pugi::xml_node Node, int LayerType) {
        WriteXMLInteger(Node, "LayerType", LayerType);
        F.Write2DPropsToXML(Node);
        F.LayerStyle().WriteXML(Node, F.EffectObjectList);
    }

    template <class T> static void ReadXML(T& F, pugi::xml_node Node, int Version) {
        F.Read2DPropsFromXML(Node, Version);
        F.LayerStyle().ReadXML(Node, Version);
    }

    template <class T> static T* Clone(const T& F, TLayerCollection& Layers) {
        auto* Copy = Layers.Add<T>();
        F.CopyFigurePropsTo(*Copy);
        Copy->Paint();
        return Copy;
    }

private:
    template <class T> static int Diagonal(const T& F) {
        const double W = F.GetWidth(), H = F.GetHeight();
        return RoundFigure(std::sqrt(W * W + H * H));
    }

    template <class T> static void PlaceAtFirstPoint(T& F) {
        const auto Left = static_cast<float>(F.fX1), Top = static_cast<float>(F.fY1);
        F.SetLocation({Left, Top, Left + static_cast<float>(F.Bitmap().Width()),
                       Top + static_cast<float>(F.Bitmap().Height())});
    }
};

// ---------------------------------------------------------------- T2DRectangle

T2DRectangle::T2DRectangle(int CX1, int CY1, int CX2, int CY2) {
    TBoxFigure::Construct(*this, CX1, CY1, CX2, CY2);
}

void T2DRectangle::Rectangle() {
    TBoxFigure::Refresh(*this);
}

void T2DRectangle::Paint() {
    Rectangle();
    ApplyEffects();
}

void T2DRectangle::HelpLine() {
    TBoxFigure::HelpLine(*this);
}

void T2DRectangle::AddOutline(TGPPath& Path) {
    Path.AddRectangle(TheRectF);
}

void T2DRectangle::AddShadowOutline(TGPPath& Path) {
    TBoxFigure::ShadowRect(*this);
    Path.AddRectangle(TheShadowRectF);
}

T2DRectangle* T2DRectangle::Clone(TLayerCollection& Layers) const {
    return TBoxFigure::Clone(*this, Layers);
}

std::unique_ptr<TBitmapLayer> T2DRectangle::SaveState() const {
    return SaveStateOf(*this, &T2DRectangle::TheShadowRectF, &T2DRectangle::TheRectF);
}

void T2DRectangle::SwapState(TBitmapLayer& Other) {
    SwapStateOf(*this, Other, &T2DRectangle::TheShadowRectF, &T2DRectangle::TheRectF);
}

void T2DRectangle::WriteXML(pugi::xml_node aXMLNode) const {
    TBoxFigure::WriteXML(*this, aXMLNode, 4);
}

void T2DRectangle::ReadXML(pugi::xml_node aXMLNode, int Version) {
    TBoxFigure::ReadXML(*this, aXMLNode, Version);
}

// ---------------------------------------------------------------- T2DEllipse

T2DEllipse::T2DEllipse(int CX1, int CY1, int CX2, int CY2) {
    TBoxFigure::Construct(*this, CX1, CY1, CX2, CY2);
}

void T2DEllipse::Ellipse() {
    TBoxFigure::Refresh(*this);
}

void T2DEllipse::Paint() {
    Ellipse();
    ApplyEffects();
}

void T2DEllipse::HelpLine() {
    TBoxFigure::HelpLine(*this);
}

void T2DEllipse::AddOutline(TGPPath& Path) {
    Path.AddEllipse(TheRectF);
}

void T2DEllipse::AddShadowOutline(TGPPath& Path) {
    TBoxFigure::ShadowRect(*this);
    Path.AddEllipse(TheShadowRectF);
}

T2DEllipse* T2DEllipse::Clone(TLayerCollection& Layers) const {
    return TBoxFigure::Clone(*this, Layers);
}

std::unique_ptr<TBitmapLayer> T2DEllipse::SaveState() const {
    return SaveStateOf(*this, &T2DEllipse::TheShadowRectF, &T2DEllipse::TheRectF);
}

void T2DEllipse::SwapState(TBitmapLayer& Other) {
    SwapStateOf(*this, Other, &T2DEllipse::TheShadowRectF, &T2DEllipse::TheRectF);
}

void T2DEllipse::WriteXML(pugi::xml_node aXMLNode) const {
    TBoxFigure::WriteXML(*this, aXMLNode, 5);
}

void T2DEllipse::ReadXML(pugi::xml_node aXMLNode, int Version) {
    TBoxFigure::ReadXML(*this, aXMLNode, Version);
}

} // namespace zp
