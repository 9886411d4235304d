#pragma once

// Limits for reading hostile projects in tests and under the fuzzer: a hostile count or size
// costs little time and memory, yet several frames of banner size still fit.
#include "document/ProjectFile.h"

#include <cstdint>

namespace zp {

inline TProjectLimits SmallProjectLimits() {
    TProjectLimits L;
    L.MaxFrames = 200;
    L.MaxLayersPerFrame = 200;
    L.MaxTotalPixels = std::int64_t{1} << 22;
    L.MaxSurfacePixels = std::int64_t{1} << 20;
    return L;
}

} // namespace zp
