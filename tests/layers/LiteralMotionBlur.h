#pragma once

#include "layers/Filters.h"

namespace zp {

// The motion blur done the long way, surface by surface: n shifted copies, each stack laid
// together copy over copy, then the average. Strength must be at least 1.
void LiteralMotionBlur(TBitmap32& Bitmap, TBlurDirection Direction, int Strength);

} // namespace zp
