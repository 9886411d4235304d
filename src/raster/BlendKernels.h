#pragma once

#include "raster/Color32.h"

#include <span>

namespace zp {

// One implementation of the row blend operations. The fastest one the processor offers is
// chosen once at start; all must give identical results (tests run every variant here).
struct TRowKernels {
    const char* Name;
    void (*BlendLine)(const TColor32* Src, TColor32* Dst, int Count);
    void (*BlendLineMaster)(const TColor32* Src, TColor32* Dst, int Count, unsigned M);
    void (*MergeLine)(const TColor32* Src, TColor32* Dst, int Count);
};

// The variants this processor can run, plain per-pixel code first; the last is in use.
std::span<const TRowKernels> AvailableRowKernels();

} // namespace zp
