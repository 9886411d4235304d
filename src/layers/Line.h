#pragma once

#include "layers/Figuren.h"

#include <vector>

namespace zp {

// A straight line of a given width, drawn as a filled band from the press point along the
// direction vector. The band is built in the positive quadrant of StartPoint; the anchor
// (the middle of the start edge) and the location restore the line's direction.
class T2DLine : public T2DFiguren {
public:
    T2DLine() = default;
    // From (CX1, CY1) to (CX2, CY2), picture coordinates; width 1.
    T2DLine(int CX1, int CY1, int CX2, int CY2);
    const char* ClassName() const override { return "T2DLine"; }

    using T2DFiguren::Paint;
    void Paint() override;
    void WriteXML(pugi::xml_node aXMLNode) const override;
    void ReadXML(pugi::xml_node aXMLNode, int Version) override;
    T2DLine* Clone(TLayerCollection& Layers) const override;
    std::unique_ptr<TBitmapLayer> SaveState() const override;
    void SwapState(TBitmapLayer& Other) override;

    int LineWidth() const { return fLineWidth; }
    void SetLineWidth(int Value) { fLineWidth = Value; }

    // Draws the figure (without effects) and keeps its anchor.
    void Line();
    // Draws the red help outline for the points fX1..fY2 and the width a tool has set.
    void HelpLine();
    // The four corners of the band and V, relative to StartPoint.
    void CalculateLinePolygon();

    // The anchor: middle of the start edge, bitmap pixels.
    TPoint StartPoint2;
    // Perpendicular to the line, of length LineWidth.
    TGPPointF V;
    std::vector<TGPPointF> PolygonPoints;
    std::vector<TGPPointF> PolygonShadowPoints;

protected:
    void AddOutline(TGPPath& Path) override;
    void AddShadowOutline(TGPPath& Path) override;

    int fLineWidth = 1;

private:
    // The bitmap size the band needs before StartPoint is chosen.
    void BandSize(int& W, int& H) const;
};

} // namespace zp
