#pragma once

#include "layers/StyledLayer.h"

#include <pugixml.hpp>

#include <memory>
#include <vector>

namespace zp {

// Base of the vector figure layers. A figure keeps geometry, style and an accumulated
// transformation, never edited pixels: every change redraws the whole bitmap, a generous
// transparent square around the figure, and moves the layer so that the figure's anchor stays
// where it was in the picture even when the square changes size.
//
// Geometry lives in two coordinate systems: fX1..fY2 are picture coordinates, StartPoint,
// the gradient points and everything drawn are pixels of the layer's own bitmap.
class T2DFiguren : public TStyledLayer {
public:
    T2DFiguren();
    ~T2DFiguren() override;
    const char* ClassName() const override { return "T2DFiguren"; }

    using TBitmapLayer::Paint;
    // Rebuilds the bitmap, then runs the effects.
    virtual void Paint() = 0;
    void Redraw() final { Paint(); }
    // The layer's content of a project file (kind, figure block, own values, style block).
    virtual void WriteXML(pugi::xml_node aXMLNode) const = 0;
    virtual void ReadXML(pugi::xml_node aXMLNode, int Version) = 0;

    // --- properties
    // Takes the new style; the previous one is freed.
    void SetLayerStyle(std::unique_ptr<T2DLayerStyle> Value);

    bool HelpLayer() const { return FHelpLayer; }
    void SetHelpLayer(bool Value) { FHelpLayer = Value; }

    int X1() const { return fX1; }
    void SetX1(int Value) { fX1 = Value; }
    int Y1() const { return fY1; }
    void SetY1(int Value) { fY1 = Value; }
    int X2() const { return fX2; }
    void SetX2(int Value) { fX2 = Value; }
    int Y2() const { return fY2; }
    void SetY2(int Value) { fY2 = Value; }
    float AX() const { return fA.X; }
    void SetAX(float Value) { fA.X = Value; }
    float AY() const { return fA.Y; }
    void SetAY(float Value) { fA.Y = Value; }

    // No drawing has happened yet.
    bool FirstPaint = true;

    // --- sizes: the direction vector with outline, shadow, scale and blur margin; at least 2
    int GetWidth() const;
    int GetHeight() const;

    // Makes fX1 <= fX2 and fY1 <= fY2 and the direction vector point from the first to the
    // second point.
    void ChangeDirectionVector();
    // The red one-pixel outline without fill of a figure being dragged out.
    void SetHelpLineStyle();

    // --- project file
    // The direction vector and the scale factors.
    void Write2DPropsToXML(pugi::xml_node aXMLNode) const;
    // The direction vector, the scale factors and the effects.
    void Read2DPropsFromXML(pugi::xml_node aXMLNode, int Version);

protected:
    // The figure's outline in bitmap pixels, untransformed.
    virtual void AddOutline(TGPPath& Path) = 0;
    // The outline shifted by the style's shadow offset, untransformed.
    virtual void AddShadowOutline(TGPPath& Path) = 0;

    // The shared drawing sequence over AddOutline and AddShadowOutline: clear, transformation
    // bookkeeping, shadow, outline, fill and gradient.
    void DrawFigure();
    // Keeps the gradient on the figure when StartPoint moves within a resized bitmap.
    void MoveGradientWithAnchor();
    // The common part of every Clone (the scale factors included, so that the copy's bitmap
    // holds the scaled figure).
    void CopyFigurePropsTo(T2DFiguren& Target) const;
    // The shared part of the kinds' SaveState and SwapState: model, drawing state, picture.
    void CopyFigureStateTo(T2DFiguren& Target) const;
    void SwapFigureState(T2DFiguren& Other);
    // SaveState and SwapState of a kind T whose own state is the members Fields.
    template <class T, class... M>
    static std::unique_ptr<TBitmapLayer> SaveStateOf(const T& F, M T::*... Fields) {
        auto S = std::make_unique<T>();
        F.CopyFigureStateTo(*S);
        ((S.get()->*Fields = F.*Fields), ...);
        return S;
    }
    template <class T, class... M> static void SwapStateOf(T& F, TBitmapLayer& Other, M T::*... Fields) {
        auto& O = dynamic_cast<T&>(Other);
        F.SwapFigureState(O);
        (std::swap(F.*Fields, O.*Fields), ...);
    }
    // A refresh starts here: no outline means no outline width.
    void PrepareRefresh();

    bool FHelpLayer = false;
    int fX1 = 0, fY1 = 0, fX2 = 0, fY2 = 0;
    // The direction vector, normally (fX2 - fX1, fY2 - fY1).
    TFloatPoint fA;

private:
    // StartPoint of the last drawing: the gradient follows the figure, which sits at
    // StartPoint, even where the layer anchors itself on another point (the line).
    TPoint FGradientAnchor;
};

} // namespace zp
