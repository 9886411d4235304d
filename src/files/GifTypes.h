#pragma once

#include <cstdint>

namespace zp {

// The ordinals are stored in project files and palette settings: never reorder.
enum TColorReduction : std::uint8_t {
    rmNone,
    rmWindows20,
    rmWindows256,
    rmWindowsGray,
    rmMonochrome,
    rmGrayScale,
    rmNetscape,
    rmQuantize,
    rmQuantizeWindows,
    rmPalette
};

enum TDitherMode : std::uint8_t {
    dmNearest,
    dmFloydSteinberg,
    dmStucki,
    dmSierra,
    dmJaJuNI,
    dmSteveArche,
    dmBurkes
};

} // namespace zp
