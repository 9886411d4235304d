#include "layers/Filters.h"

#include <algorithm>

namespace zp {

bool BlurDirectionStep(TBlurDirection Direction, int& DX, int& DY) {
    switch (Direction) {
    case bldRight: DX = 1, DY = 0; return true;
    case bldLeft: DX = -1, DY = 0; return true;
    case bldTop: DX = 0, DY = -1; return true;
    case bldBottom: DX = 0, DY = 1; return true;
    case bldTopLeft: DX = -1, DY = -1; return true;
    case bldTopRight: DX = 1, DY = -1; return true;
    case bldBottomLeft: DX = -1, DY = 1; return true;
    case bldBottomRight: DX = 1, DY = 1; return true;
    }
    DX = DY = 0;
    return false;
}

TEffect::TEffect() : fOrigBitmap(std::make_unique<TBitmap32>()) {}

TEffect::~TEffect() = default;

void TEffect::SetOrigBitmap(std::unique_ptr<TBitmap32> Value) {
    fOrigBitmap = Value ? std::move(Value) : std::make_unique<TBitmap32>();
}

namespace {

// One output row of the pass, reading only the copy.
void ConvolveRow(const TColor32* Above, const TColor32* Own, const TColor32* Below, TColor32* Out, int W,
                 const TEffectArray& K, std::int32_t Divisor) {
    for (int X = 1; X < W - 1; ++X) {
        TColor32 Result = Own[X] & 0xFF000000u;
        for (int Shift = 0; Shift < 24; Shift += 8) {
            const auto Ch = [Shift](TColor32 P) { return static_cast<std::int32_t>((P >> Shift) & 0xFF); };
            const std::int32_t S = K[0] * Ch(Above[X - 1]) + K[1] * Ch(Above[X]) + K[2] * Ch(Above[X + 1]) +
                                   K[3] * Ch(Own[X - 1]) + K[4] * Ch(Own[X]) + K[5] * Ch(Own[X + 1]) +
                                   K[6] * Ch(Below[X - 1]) + K[7] * Ch(Below[X]) + K[8] * Ch(Below[X + 1]);
            const std::int32_t V = std::clamp<std::int32_t>(S / Divisor, 0, 255);
            Result |= static_cast<TColor32>(V) << Shift;
        }
        Out[X] = Result;
    }
}

} // namespace

void TEffect::Convolve() {
    if (!fEffectBitmap) return;
    fOrigBitmap->Assign(fEffectBitmap);
    if (fDivisor == 0) fDivisor = 9;
    const int W = fEffectBitmap->Width();
    const int H = fEffectBitmap->Height();
    if (W < 3 || H < 3) return;
    const TBitmap32& Orig = *fOrigBitmap;
    for (int Y = 1; Y < H - 1; ++Y)
        ConvolveRow(Orig.ScanLine(Y - 1), Orig.ScanLine(Y), Orig.ScanLine(Y + 1), fEffectBitmap->ScanLine(Y),
                    W, fEffectArray, fDivisor);
    fEffectBitmap->Changed();
}

TEmboss::TEmboss() {
    fEffectArray = {-1, -1, -1, -1, 9, -1, -1, -1, -1};
    fDivisor = 1;
}

TLaplace::TLaplace() {
    fEffectArray = {-1, -1, -1, -1, 8, -1, -1, -1, -1};
    fDivisor = 1;
}

TFindEdges::TFindEdges() {
    fEffectArray = {1, 1, 1, 1, -2, 1, -1, -1, -1};
    fDivisor = 1;
}

TSharpen::TSharpen() {
    fEffectArray = {-1, -1, -1, -1, 16, -1, -1, -1, -1};
    fDivisor = 8;
}

TEdgesEnhance::TEdgesEnhance() {
    fEffectArray = {0, -1, 0, -1, 5, -1, 0, -1, 0};
    fDivisor = 1;
}

TColorEmboss::TColorEmboss() {
    fEffectArray = {1, 0, 1, 0, 0, 0, 1, 0, -2};
    fDivisor = 1;
}

TSoften::TSoften() {
    fEffectArray = {2, 2, 2, 2, 0, 2, 2, 2, 2};
    fDivisor = 16;
}

} // namespace zp
