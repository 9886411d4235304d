#pragma once

#include "layers/Figuren.h"

namespace zp {

struct TBoxFigure;

// The rectangle and the ellipse are one family: axis-aligned before transformation, anchored
// at their top-left corner, alike in everything but their outline.

class T2DRectangle : public T2DFiguren {
public:
    T2DRectangle() = default;
    // Corners in picture coordinates, in any order.
    T2DRectangle(int CX1, int CY1, int CX2, int CY2);
    const char* ClassName() const override { return "T2DRectangle"; }

    using T2DFiguren::Paint;
    void Paint() override;
    void WriteXML(pugi::xml_node aXMLNode) const override;
    void ReadXML(pugi::xml_node aXMLNode, int Version) override;
    T2DRectangle* Clone(TLayerCollection& Layers) const override;
    std::unique_ptr<TBitmapLayer> SaveState() const override;
    void SwapState(TBitmapLayer& Other) override;

    // Draws the figure (without effects) and keeps its anchor.
    void Rectangle();
    // Draws the red help outline for the corners fX1..fY2 a tool has set; nothing when the
    // rectangle has no width or no height.
    void HelpLine();

    TGPRectF TheShadowRectF;
    TGPRectF TheRectF;

protected:
    void AddOutline(TGPPath& Path) override;
    void AddShadowOutline(TGPPath& Path) override;

private:
    friend struct TBoxFigure;
};

class T2DEllipse : public T2DFiguren {
public:
    T2DEllipse() = default;
    // Corners of the bounding rectangle in picture coordinates, in any order.
    T2DEllipse(int CX1, int CY1, int CX2, int CY2);
    const char* ClassName() const override { return "T2DEllipse"; }

    using T2DFiguren::Paint;
    void Paint() override;
    void WriteXML(pugi::xml_node aXMLNode) const override;
    void ReadXML(pugi::xml_node aXMLNode, int Version) override;
    T2DEllipse* Clone(TLayerCollection& Layers) const override;
    std::unique_ptr<TBitmapLayer> SaveState() const override;
    void SwapState(TBitmapLayer& Other) override;

    void Ellipse();
    void HelpLine();

    TGPRectF TheRectF;
    TGPRectF TheShadowRectF;

protected:
    void AddOutline(TGPPath& Path) override;
    void AddShadowOutline(TGPPath& Path) override;

private:
    friend struct TBoxFigure;
};

} // namespace zp
