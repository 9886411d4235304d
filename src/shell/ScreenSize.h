#pragma once

#include <functional>

namespace zp {

struct TScreenSize {
    int Width = 0;
    int Height = 0;
};

// The size of the primary screen in pixels. Palette positions are stored relative to it.
TScreenSize ScreenSize();
// Replaces the source (tests fix the size); an empty function restores the real screen.
void SetScreenSizeSource(std::function<TScreenSize()> Source);

} // namespace zp
