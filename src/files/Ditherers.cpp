#include "files/Ditherers.h"

#include <algorithm>

namespace zp {

namespace {

int Clamp255(int V) {
    return V < 0 ? 0 : (V > 255 ? 255 : V);
}

} // namespace

// Runs Fn with the lookup as its concrete type, so the per-pixel lookups of a row are direct
// (mostly inlined) calls.
template <class FFn> void WithLookup(TColorLookup& Lookup, FFn&& Fn) {
    if (auto* L = dynamic_cast<TFastColorLookup*>(&Lookup))
        Fn(*L);
    else if (auto* L = dynamic_cast<TSlowColorLookup*>(&Lookup))
        Fn(*L);
    else if (auto* L = dynamic_cast<TNetscapeColorLookup*>(&Lookup))
        Fn(*L);
    else if (auto* L = dynamic_cast<TGrayScaleLookup*>(&Lookup))
        Fn(*L);
    else if (auto* L = dynamic_cast<TMonochromeLookup*>(&Lookup))
        Fn(*L);
    else
        Fn(Lookup);
}

// ---------------------------------------------------------------- no diffusion

int TDitherEngine::Dither(int R, int G, int B) {
    const int Index = FLookup.Lookup(R, G, B);
    Advance();
    return Index;
}

void TDitherEngine::NextLine() {
    FDirection = -FDirection;
    FColumn = FDirection > 0 ? 0 : FWidth - 1;
}

void TDitherEngine::DitherRow(const std::uint32_t* Row, std::uint8_t* Out) {
    WithLookup(FLookup, [&](auto& L) {
        for (int I = 0; I < FWidth; ++I) {
            const std::uint32_t C = Row[FColumn];
            Out[FColumn] = static_cast<std::uint8_t>(L.Lookup((C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF));
            Advance();
        }
    });
}

// ---------------------------------------------------------------- Floyd-Steinberg

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int Width, TColorLookup& Lookup)
    : TDitherEngine(Width, Lookup), FErrors(3 * (static_cast<std::size_t>(Width) + 2), 0) {}

template <class TLookup> inline int TFloydSteinbergDitherer::Step(TLookup& Lookup, int R, int G, int B) {
    int* E = &FErrors[3 * static_cast<std::size_t>(FDirection > 0 ? FColumn : FColumn + 2)];
    const int Value[3] = {Clamp255(R + (FCarried[0] + E[0] + 8) / 16),
                          Clamp255(G + (FCarried[1] + E[1] + 8) / 16),
                          Clamp255(B + (FCarried[2] + E[2] + 8) / 16)};
    const int Index = Lookup.Lookup(Value[0], Value[1], Value[2]);
    const TGifColor& Chosen = Lookup.Palette()[static_cast<std::size_t>(Index)];
    const int Err[3] = {Value[0] - Chosen.R, Value[1] - Chosen.G, Value[2] - Chosen.B};
    for (int C = 0; C < 3; ++C) {
        if (Err[C] == 0) continue;
        E[C] = FBelow[C] + 3 * Err[C];
        FBelow[C] = FPrevious[C] + 5 * Err[C];
        FPrevious[C] = Err[C];
        FCarried[C] = 7 * Err[C];
    }
    Advance();
    return Index;
}

// Step for a whole row with the running values held in locals.
template <class TLookup>
void TFloydSteinbergDitherer::Row(TLookup& Lookup, const std::uint32_t* Row, std::uint8_t* Out) {
    const TGifColor* Palette = Lookup.Palette().data();
    int C0 = FCarried[0], C1 = FCarried[1], C2 = FCarried[2];
    int B0 = FBelow[0], B1 = FBelow[1], B2 = FBelow[2];
    int P0 = FPrevious[0], P1 = FPrevious[1], P2 = FPrevious[2];
    const int Direction = FDirection;
    int* E = FErrors.data() + 3 * (Direction > 0 ? FColumn : FColumn + 2);
    int X = FColumn;
    for (int I = 0; I < FWidth; ++I, X += Direction, E += 3 * Direction) {
        const std::uint32_t C = Row[X];
        const int V0 = Clamp255(static_cast<int>((C >> 16) & 0xFF) + (C0 + E[0] + 8) / 16);
        const int V1 = Clamp255(static_cast<int>((C >> 8) & 0xFF) + (C1 + E[1] + 8) / 16);
        const int V2 = Clamp255(static_cast<int>(C & 0xFF) + (C2 + E[2] + 8) / 16);
        const int Index = Lookup.Lookup(V0, V1, V2);
        Out[X] = static_cast<std::uint8_t>(Index);
        const TGifColor& Chosen = Palette[Index];
        const int D0 = V0 - Chosen.R, D1 = V1 - Chosen.G, D2 = V2 - Chosen.B;
        if (D0 != 0) {
            E[0] = B0 + 3 * D0;
            B0 = P0 + 5 * D0;
            P0 = D0;
            C0 = 7 * D0;
        }
        if (D1 != 0) {
            E[1] = B1 + 3 * D1;
            B1 = P1 + 5 * D1;
            P1 = D1;
            C1 = 7 * D1;
        }
        if (D2 != 0) {
            E[2] = B2 + 3 * D2;
            B2 = P2 + 5 * D2;
            P2 = D2;
            C2 = 7 * D2;
        }
    }
    FColumn = X;
    FCarried[0] = C0, FCarried[1] = C1, FCarried[2] = C2;
    FBelow[0] = B0, FBelow[1] = B1, FBelow[2] = B2;
    FPrevious[0] = P0, FPrevious[1] = P1, FPrevious[2] = P2;
}

int TFloydSteinbergDitherer::Dither(int R, int G, int B) {
    return Step(FLookup, R, G, B);
}

void TFloydSteinbergDitherer::DitherRow(const std::uint32_t* Row, std::uint8_t* Out) {
    WithLookup(FLookup, [&](auto& L) { this->Row(L, Row, Out); });
}

void TFloydSteinbergDitherer::NextLine() {
    const std::size_t After = FDirection > 0 ? static_cast<std::size_t>(FWidth) : 1;
    for (int C = 0; C < 3; ++C) {
        FErrors[3 * After + static_cast<std::size_t>(C)] = FBelow[C];
        FCarried[C] = FBelow[C] = FPrevious[C] = 0;
    }
    TDitherEngine::NextLine();
}

// ---------------------------------------------------------------- kernels

TKernelDitherer::TKernelDitherer(int Width, TColorLookup& Lookup, int Rows, int Reach, int Divisor,
                                 std::vector<TWeight> Weights)
    : TDitherEngine(Width, Lookup), FReach(Reach), FDivisor(Divisor), FWeights(std::move(Weights)),
      FErrors(static_cast<std::size_t>(Rows),
              std::vector<int>(3 * static_cast<std::size_t>(Width + 2 * Reach), 0)) {}

template <class TLookup> inline int TKernelDitherer::Step(TLookup& Lookup, int R, int G, int B) {
    const std::size_t Entry = static_cast<std::size_t>(FColumn + FReach);
    const int* E = &FErrors[0][3 * Entry];
    const int Half = FDivisor / 2;
    const int Value[3] = {Clamp255(R + (E[0] + Half) / FDivisor), Clamp255(G + (E[1] + Half) / FDivisor),
                          Clamp255(B + (E[2] + Half) / FDivisor)};
    const int Index = Lookup.Lookup(Value[0], Value[1], Value[2]);
    const TGifColor& Chosen = Lookup.Palette()[static_cast<std::size_t>(Index)];
    const int Err[3] = {Value[0] - Chosen.R, Value[1] - Chosen.G, Value[2] - Chosen.B};
    if (Err[0] != 0 || Err[1] != 0 || Err[2] != 0) {
        for (const TWeight& W : FWeights) {
            int* Target = &FErrors[static_cast<std::size_t>(W.Row)]
                                  [3 * static_cast<std::size_t>(FColumn + FReach + W.Offset * FDirection)];
            Target[0] += Err[0] * W.Weight;
            Target[1] += Err[1] * W.Weight;
            Target[2] += Err[2] * W.Weight;
        }
    }
    Advance();
    return Index;
}

template <class TLookup>
void TKernelDitherer::Row(TLookup& Lookup, const std::uint32_t* Row, std::uint8_t* Out) {
    for (int I = 0; I < FWidth; ++I) {
        const int X = FColumn;
        const std::uint32_t C = Row[X];
        Out[X] = static_cast<std::uint8_t>(Step(Lookup, (C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF));
    }
}

int TKernelDitherer::Dither(int R, int G, int B) {
    return Step(FLookup, R, G, B);
}

void TKernelDitherer::DitherRow(const std::uint32_t* Row, std::uint8_t* Out) {
    WithLookup(FLookup, [&](auto& L) { this->Row(L, Row, Out); });
}

void TKernelDitherer::NextLine() {
    std::rotate(FErrors.begin(), FErrors.begin() + 1, FErrors.end());
    std::fill(FErrors.back().begin(), FErrors.back().end(), 0);
    TDitherEngine::NextLine();
}

T5by3Ditherer::T5by3Ditherer(int Width, TColorLookup& Lookup, int Divisor, const std::array<int, 12>& K)
    : TKernelDitherer(Width, Lookup, 3, 2, Divisor,
                      {{0, 1, K[0]},
                       {0, 2, K[1]},
                       {1, -2, K[2]},
                       {1, -1, K[3]},
                       {1, 0, K[4]},
                       {1, 1, K[5]},
                       {1, 2, K[6]},
                       {2, -2, K[7]},
                       {2, -1, K[8]},
                       {2, 0, K[9]},
                       {2, 1, K[10]},
                       {2, 2, K[11]}}) {}

TStuckiDitherer::TStuckiDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup, 42, {8, 4, 2, 4, 8, 4, 2, 1, 2, 4, 2, 1}) {}

TSierraDitherer::TSierraDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup, 32, {5, 3, 2, 4, 5, 4, 2, 0, 2, 3, 2, 0}) {}

TJaJuNiDitherer::TJaJuNiDitherer(int Width, TColorLookup& Lookup)
    : T5by3Ditherer(Width, Lookup, 48, {7, 5, 3, 5, 7, 5, 3, 1, 3, 5, 3, 1}) {}

TSteveArcheDitherer::TSteveArcheDitherer(int Width, TColorLookup& Lookup)
    : TKernelDitherer(Width, Lookup, 4, 3, 200,
                      {{0, 2, 32},
                       {1, -3, 12},
                       {1, -1, 26},
                       {1, 1, 30},
                       {1, 3, 16},
                       {2, -2, 12},
                       {2, 0, 26},
                       {2, 2, 12},
                       {3, -3, 5},
                       {3, -1, 12},
                       {3, 1, 12},
                       {3, 3, 5}}) {}

TBurkesDitherer::TBurkesDitherer(int Width, TColorLookup& Lookup)
    : TKernelDitherer(Width, Lookup, 2, 2, 32,
                      {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}}) {}

std::unique_ptr<TDitherEngine> CreateDitherer(TDitherMode Mode, int Width, TColorLookup& Lookup) {
    switch (Mode) {
    case dmNearest: return std::make_unique<TDitherEngine>(Width, Lookup);
    case dmFloydSteinberg: return std::make_unique<TFloydSteinbergDitherer>(Width, Lookup);
    case dmStucki: return std::make_unique<TStuckiDitherer>(Width, Lookup);
    case dmSierra: return std::make_unique<TSierraDitherer>(Width, Lookup);
    case dmJaJuNI: return std::make_unique<TJaJuNiDitherer>(Width, Lookup);
    case dmSteveArche: return std::make_unique<TSteveArcheDitherer>(Width, Lookup);
    case dmBurkes: return std::make_unique<TBurkesDitherer>(Width, Lookup);
    }
    throw EGIFError(SUnknownDitherMode);
}

} // namespace zp
