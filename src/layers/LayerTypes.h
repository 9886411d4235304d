#pragma once

#include <cstdint>

namespace zp {

// Enumerations of the layer styles; their ordinals are stored in project files.

// The kind of a gradient fill: three colour gradients, then three alpha fades.
enum TShapeType : std::uint8_t {
    shpLinear,
    shpCircle,
    shpSqare,
    shpLinearTransp,
    shpCircleTransp,
    shpSqareTransp,
};

enum TOutlinePosition : std::uint8_t {
    posOutside = 0,
    posInside = 1,
    posMid = 2,
};

enum TEffectType : std::uint8_t {
    efMotionBlur = 0,
    efEmboss = 1,
    efLaplace = 2,
    efFindEdges = 3,
    efSharpen = 4,
    efEdgesEnhance = 5,
    efColorEmboss = 6,
    efSoften = 7,
};

// Direction of a motion blur.
enum TBlurDirection : std::uint8_t {
    bldRight,
    bldLeft,
    bldTop,
    bldBottom,
    bldTopLeft,
    bldTopRight,
    bldBottomLeft,
    bldBottomRight
};

} // namespace zp
