#pragma once

#include "layers/Figuren.h"

#include <vector>

namespace zp {

// A regular polygon: the press point is its centre, the drag end one of its vertices.
class T2DPolygon : public T2DFiguren {
public:
    // More edges than this in a file are refused: each needs its own vertex.
    static constexpr int MaxNumEdges = 100000;

    T2DPolygon() = default;
    // Centre (CX1, CY1), first vertex (CX2, CY2), picture coordinates.
    T2DPolygon(int CX1, int CY1, int CX2, int CY2, int CNumEdges);
    const char* ClassName() const override { return "T2DPolygon"; }

    using T2DFiguren::Paint;
    void Paint() override;
    void WriteXML(pugi::xml_node aXMLNode) const override;
    void ReadXML(pugi::xml_node aXMLNode, int Version) override;
    T2DPolygon* Clone(TLayerCollection& Layers) const override;
    std::unique_ptr<TBitmapLayer> SaveState() const override;
    void SwapState(TBitmapLayer& Other) override;

    int NumEdges() const { return fNumEdges; }
    void SetNumEdges(int Value) { fNumEdges = Value; }

    // Draws the figure (without effects) and keeps its anchor.
    void RegularPolygon();
    // Draws the red help outline for the points fX1..fY2 and fNumEdges a tool has set.
    void HelpLine();
    // Half the side of the bitmap: the diameter with outline, shadow, scale and blur margin.
    int PolygonExtent() const;
    // The vertices around the centre (StartPoint + Radius), vertex 0 in the drag direction.
    void CalculatePolygonPoints();

    // Distance from the centre to each vertex.
    double Radius = 0;
    // The vertices, untransformed, in bitmap pixels.
    std::vector<TGPPointF> PolygonPoints;
    // The vertices shifted by the shadow offset.
    std::vector<TGPPointF> PolygonShadowPoints;

protected:
    void AddOutline(TGPPath& Path) override;
    void AddShadowOutline(TGPPath& Path) override;

    int fNumEdges = 0;
};

} // namespace zp
