#pragma once

#include "gfx/GdipTypes.h"
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

// The modes of the properties palette.
enum TEnableType {
    enableDefault,
    enableText,
    enablePolygon,
    enableLine,
    enableEllipse,
    enableRectangle,
    enablePicture
};

// Everything the palettes hold that documents read: the tool palette's tool and colours, the
// frames/layers palette's opacity gauge and frame choice, and the properties palette's fields.
// Texts are kept as typed; whoever reads a number checks it. One owner edits it (the main
// window's palette model); documents read it through their host, tests fill it directly.
struct TPaletteState {
    // --- tool palette
    TPaintTool Tool = ptZeiger;
    // Platform colours ($00BBGGRR).
    TColor Color1 = 0x000000;
    TColor Color2 = 0xFFFFFF;

    // --- frames/layers palette
    // The opacity gauge, 0..255: the opacity of new figures.
    int Opacity = 255;
    // The frame chosen in the frame list; -1 for none.
    int FrameIndex = -1;

    // --- properties palette
    TEnableType PropertiesMode = enableDefault;
    // "Text hier eingeben:" and the text colour swatch.
    QString Text;
    TColor TextColor = 0x000000;
    QString LineWidth = QStringLiteral("1");
    QString EdgeCount = QStringLiteral("5");
    bool Outline = false;
    QString OutlineWidth = QStringLiteral("2");
    TColor OutlineColor = 0x00FFFF; // yellow
    int OutlineAlpha = 255;
    // The dash list's item, 0..4; -1 for none chosen.
    int DashIndex = 0;
    bool Shadow = false;
    QString ShadowXShift = QStringLiteral("3");
    QString ShadowYShift = QStringLiteral("3");
    TColor ShadowColor = 0x808080;
    int ShadowAlpha = 255;
    // "Muster", the hatch list's item (-1 for none) and the wrap-mode list's item.
    bool Pattern = false;
    int HatchIndex = -1;
    int WrapModeIndex = 0;
    // The selection's fill is a pattern picture: the wrap-mode list applies to it.
    bool PatternImage = false;
    QString FontName = QStringLiteral("Arial");
    QString FontSize = QStringLiteral("10");
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikeOut = false;
};

// The dash list's items.
TGPDashStyle DashStyleOfIndex(int Index, TGPDashStyle Unchanged);

} // namespace zp
