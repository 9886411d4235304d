#include "document/PaletteState.h"

namespace zp {

TGPDashStyle DashStyleOfIndex(int Index, TGPDashStyle Unchanged) {
    switch (Index) {
    case 0: return DashStyleSolid;
    case 1: return DashStyleDash;
    case 2: return DashStyleDot;
    case 3: return DashStyleDashDot;
    case 4: return DashStyleDashDotDot;
    default: return Unchanged;
    }
}

} // namespace zp
