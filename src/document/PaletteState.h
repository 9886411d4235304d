#pragma once

#include "raster/Color32.h"

#include <QString>

namespace zp {

// The tools of the tool palette; exactly one is down at a time.
enum TPaintTool {
    ptZeiger,
    ptMark,
    ptColorGradient,
    ptTransGradient,
    ptCircleGradient,
    ptCircleTranspGradient,
    ptSqareGradient,
    ptSqareTranspGradient,
    ptColorFiller,
    ptPipette,
    ptPaintLine,
    ptPaintRectangle,
    ptPaintPolygon,
    ptPaintEllipse
};

// What documents read from the palettes while the user draws: the tool palette's tool and two
// colours, the layers palette's opacity gauge, the properties palette's line width and edge
// count fields. The palettes implement it; without them (tests, conversion) a plain record
// answers.
class TPaletteState {
public:
    virtual ~TPaletteState() = default;
    virtual TPaintTool Tool() const = 0;
    // The swatches' colours as platform colours ($00BBGGRR).
    virtual TColor Color1() const = 0;
    virtual TColor Color2() const = 0;
    // Opacity of new figures in per cent.
    virtual int OpacityPercent() const = 0;
    // The texts of the line-width and edge-count fields, as typed.
    virtual QString LineWidthText() const = 0;
    virtual QString EdgeCountText() const = 0;
};

// Fixed values, for tests and for working without windows.
class TPlainPaletteState : public TPaletteState {
public:
    TPaintTool FTool = ptZeiger;
    TColor FColor1 = 0x000000;
    TColor FColor2 = 0xFFFFFF;
    int FOpacity = 100;
    QString FLineWidth = QStringLiteral("2");
    QString FEdgeCount = QStringLiteral("5");

    TPaintTool Tool() const override { return FTool; }
    TColor Color1() const override { return FColor1; }
    TColor Color2() const override { return FColor2; }
    int OpacityPercent() const override { return FOpacity; }
    QString LineWidthText() const override { return FLineWidth; }
    QString EdgeCountText() const override { return FEdgeCount; }
};

// The palettes in use; a plain record until the application installs its palettes.
TPaletteState& Palettes();
// Installs State (not owned; null restores the plain record). Returns the previous one.
TPaletteState* SetPaletteState(TPaletteState* State);

} // namespace zp
