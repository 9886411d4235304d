#include "layers/Filters.h"

#include <algorithm>
#include <cstdint>
#include <vector>

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

// The pass works on 16-bit channel planes so that the nine products of a row vectorise: sums are
// taken in blocks of Block pixels over rows padded to whole blocks, and one table does the
// division and the clamping for every sum the kernel can produce. The weights of every kernel
// here add up to at most 24 in magnitude, so a sum stays within +-6120, well inside 16 bits.
class TConvolution {
public:
    static constexpr int Block = 16;

    TConvolution(const TEffectArray& K, std::int32_t Divisor, int W)
        : K(K), W(W), Inner(W - 2), Padded((Inner + Block - 1) / Block * Block) {
        std::int32_t Lowest = 0, Highest = 0;
        for (const std::int32_t Weight : K) (Weight < 0 ? Lowest : Highest) += 255 * Weight;
        Offset = -Lowest;
        Quotient.resize(static_cast<std::size_t>(Highest - Lowest) + 1);
        for (std::int32_t S = Lowest; S <= Highest; ++S)
            Quotient[static_cast<std::size_t>(S - Lowest)] =
                static_cast<std::uint8_t>(std::clamp<std::int32_t>(S / Divisor, 0, 255));
        for (auto& Plane : Planes) Plane.assign(static_cast<std::size_t>(Padded) + 2, 0);
        for (auto& Sum : Sums) Sum.resize(static_cast<std::size_t>(Padded));
    }

    void Run(const TBitmap32& Orig, TBitmap32& Out) {
        const int H = Orig.Height();
        Unpack(Orig.ScanLine(0), 0);
        Unpack(Orig.ScanLine(1), 1);
        for (int Y = 1; Y < H - 1; ++Y) {
            // Row slots rotate: the row above, the pixel's own row and the row below.
            const int Above = (Y - 1) % 3, Own = Y % 3, Below = (Y + 1) % 3;
            Unpack(Orig.ScanLine(Y + 1), Below);
            for (int C = 0; C < 3; ++C)
                Accumulate(Sums[C].data(), Plane(Above, C), Plane(Own, C), Plane(Below, C));
            const TColor32* Source = Orig.ScanLine(Y);
            TColor32* Target = Out.ScanLine(Y);
            for (int I = 0; I < Inner; ++I)
                Target[I + 1] = (Source[I + 1] & 0xFF000000u) | Divided(Sums[2][I]) << 16 |
                                Divided(Sums[1][I]) << 8 | Divided(Sums[0][I]);
        }
    }

private:
    // Planes: channel 0 blue, 1 green, 2 red.
    const std::int16_t* Plane(int Slot, int C) const { return Planes[Slot * 3 + C].data(); }

    void Unpack(const TColor32* Row, int Slot) {
        std::int16_t* B = Planes[Slot * 3].data();
        std::int16_t* G = Planes[Slot * 3 + 1].data();
        std::int16_t* R = Planes[Slot * 3 + 2].data();
        for (int X = 0; X < W; ++X) {
            B[X] = static_cast<std::int16_t>(Row[X] & 0xFF);
            G[X] = static_cast<std::int16_t>((Row[X] >> 8) & 0xFF);
            R[X] = static_cast<std::int16_t>((Row[X] >> 16) & 0xFF);
        }
    }

    // Sum[I] belongs to the pixel at X = I + 1; the kernel is applied as written.
    void Accumulate(std::int16_t* __restrict Sum, const std::int16_t* __restrict P0,
                    const std::int16_t* __restrict P1, const std::int16_t* __restrict P2) const {
        const std::int16_t K0 = static_cast<std::int16_t>(K[0]), K1 = static_cast<std::int16_t>(K[1]),
                           K2 = static_cast<std::int16_t>(K[2]), K3 = static_cast<std::int16_t>(K[3]),
                           K4 = static_cast<std::int16_t>(K[4]), K5 = static_cast<std::int16_t>(K[5]),
                           K6 = static_cast<std::int16_t>(K[6]), K7 = static_cast<std::int16_t>(K[7]),
                           K8 = static_cast<std::int16_t>(K[8]);
        for (int Start = 0; Start < Padded; Start += Block)
            for (int J = 0; J < Block; ++J) {
                const int I = Start + J;
                Sum[I] = static_cast<std::int16_t>(K0 * P0[I] + K1 * P0[I + 1] + K2 * P0[I + 2] + K3 * P1[I] +
                                                   K4 * P1[I + 1] + K5 * P1[I + 2] + K6 * P2[I] +
                                                   K7 * P2[I + 1] + K8 * P2[I + 2]);
            }
    }

    TColor32 Divided(std::int16_t S) const { return Quotient[static_cast<std::size_t>(S + Offset)]; }

    const TEffectArray& K;
    const int W, Inner, Padded;
    std::int32_t Offset = 0;
    std::vector<std::uint8_t> Quotient;
    std::vector<std::int16_t> Planes[9];
    std::vector<std::int16_t> Sums[3];
};

} // namespace

void TEffect::Convolve() {
    if (!fEffectBitmap) return;
    fOrigBitmap->Assign(fEffectBitmap);
    if (fDivisor == 0) fDivisor = 9;
    const int W = fEffectBitmap->Width();
    const int H = fEffectBitmap->Height();
    if (W < 3 || H < 3) return;
    TConvolution(fEffectArray, fDivisor, W).Run(*fOrigBitmap, *fEffectBitmap);
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
