#pragma once

#include "document/PaletteState.h"
#include "raster/Events.h"

namespace zp {

// The one owner of the palettes' state. The palette windows edit it and follow it; documents
// read it through their host. It works without any window (tests, conversion).
class TPaletteModel {
public:
    const TPaletteState& State() const { return FState; }

    // Changes the state; the palettes hear of it after the change.
    void Change(const std::function<void(TPaletteState&)>& Edit);
    void SetTool(TPaintTool Tool);
    void SetColor1(TColor Color);
    void SetColor2(TColor Color);
    void SetPropertiesMode(TEnableType Mode);

    // After every change.
    TEventList<const TPaletteState&> OnChange;

private:
    TPaletteState FState;
};

} // namespace zp
