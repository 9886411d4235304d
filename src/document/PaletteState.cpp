#include "document/PaletteState.h"

namespace zp {

namespace {
TPlainPaletteState PlainState;
TPaletteState* Current = &PlainState;
} // namespace

TPaletteState& Palettes() {
    return *Current;
}

TPaletteState* SetPaletteState(TPaletteState* State) {
    TPaletteState* Previous = Current == &PlainState ? nullptr : Current;
    Current = State ? State : &PlainState;
    return Previous;
}

} // namespace zp
