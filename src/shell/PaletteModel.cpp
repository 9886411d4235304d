#include "shell/PaletteModel.h"

namespace zp {

void TPaletteModel::Change(const std::function<void(TPaletteState&)>& Edit) {
    Edit(FState);
    OnChange.Notify(FState);
}

void TPaletteModel::SetTool(TPaintTool Tool) {
    if (FState.Tool == Tool) return;
    Change([Tool](TPaletteState& S) { S.Tool = Tool; });
}

void TPaletteModel::SetColor1(TColor Color) {
    if (FState.Color1 == Color) return;
    Change([Color](TPaletteState& S) { S.Color1 = Color; });
}

void TPaletteModel::SetColor2(TColor Color) {
    if (FState.Color2 == Color) return;
    Change([Color](TPaletteState& S) { S.Color2 = Color; });
}

void TPaletteModel::SetPropertiesMode(TEnableType Mode) {
    if (FState.PropertiesMode == Mode) return;
    Change([Mode](TPaletteState& S) { S.PropertiesMode = Mode; });
}

} // namespace zp
