#include "raster/Blend.h"

#include "raster/BlendKernels.h"

#include <array>
#include <cstring>

namespace zp {

namespace {

struct TBlendTables {
    std::uint8_t DT[256][256];
    std::uint8_t RT[256][256];

    TBlendTables() {
        for (unsigned A = 0; A < 256; ++A) {
            for (unsigned B = 0; B < 256; ++B) {
                DT[A][B] = static_cast<std::uint8_t>(RoundHalfEvenDiv(A * B, 255));
                RT[A][B] = A == 0 ? 0 : static_cast<std::uint8_t>(RoundHalfEvenDiv(B * 255, A) & 0xFF);
            }
        }
    }

    static unsigned RoundHalfEvenDiv(unsigned Num, unsigned Den) {
        unsigned Q = Num / Den;
        const unsigned R2 = 2 * (Num % Den);
        if (R2 > Den || (R2 == Den && (Q & 1))) ++Q;
        return Q;
    }
};

// Filled during static initialisation of this file, before any merge can run.
const TBlendTables Tables;

// The table case of the merge rule (both alphas strictly between 0 and 255).
inline TColor32 MergeTablePath(TColor32 F, TColor32 B, unsigned Fa, unsigned Ba) {
    const std::uint8_t* DTBa = Tables.DT[Ba];
    const std::uint8_t* DTFa = Tables.DT[Fa];
    const unsigned Ra = Fa + Ba - DTBa[Fa];
    const std::uint8_t* RTRa = Tables.RT[Ra];
    TColor32 Result = Ra << 24;
    for (int Shift = 0; Shift < 24; Shift += 8) {
        const int Bp = DTBa[(B >> Shift) & 0xFF];
        const int X = static_cast<int>((F >> Shift) & 0xFF) - Bp;
        // Bp + DT[Fa][X] for X >= 0, Bp - DT[Fa][-X] otherwise, without a branch: the sign
        // of X is as good as random on real pictures.
        const int Sign = X >> 31;
        const int D = DTFa[(X ^ Sign) - Sign];
        Result |= static_cast<TColor32>(RTRa[Bp + ((D ^ Sign) - Sign)]) << Shift;
    }
    return Result;
}

inline TColor32 MergeColorInline(TColor32 F, TColor32 B) {
    const unsigned Fa = F >> 24;
    if (Fa == 0) return B;
    const unsigned Ba = B >> 24;
    if (Ba == 255) return BlendColor(F, B) | 0xFF000000u;
    if (Fa == 255 || Ba == 0) return F;
    return MergeTablePath(F, B, Fa, Ba);
}

inline TColor32 WithAlpha(TColor32 C, unsigned A) {
    return (C & 0x00FFFFFFu) | (A << 24);
}

// ---- plain per-pixel rows

void BlendLinePlain(const TColor32* Src, TColor32* Dst, int Count) {
    for (int I = 0; I < Count; ++I) BlendColorStore(Src[I], Dst[I]);
}

void BlendLineMasterPlain(const TColor32* Src, TColor32* Dst, int Count, unsigned M) {
    for (int I = 0; I < Count; ++I) Dst[I] = BlendColorMasterRowPixel(Src[I], Dst[I], M);
}

void MergeLinePlain(const TColor32* Src, TColor32* Dst, int Count) {
    for (int I = 0; I < Count; ++I) Dst[I] = MergeColorInline(Src[I], Dst[I]);
}

// ---- eight pixels at a time with the compiler's vector types; compiled once for the
// baseline instruction set and once for AVX2.

using TU8x32 = std::uint8_t __attribute__((vector_size(32)));
using TU16x32 = std::uint16_t __attribute__((vector_size(64)));
using TU32x8 = std::uint32_t __attribute__((vector_size(32)));

[[gnu::always_inline]] inline TU32x8 Load8(const TColor32* P) {
    TU32x8 V;
    std::memcpy(&V, P, sizeof V);
    return V;
}

[[gnu::always_inline]] inline void Store8(TColor32* P, TU32x8 V) {
    std::memcpy(P, &V, sizeof V);
}

// Per channel (W * (F - B) + 256 * B + 128) >> 8 with W <= 255 per pixel. In 16-bit lanes the
// terms wrap, but the exact result lies in 0..65535, so the wrapped sum is exact.
[[gnu::always_inline]] inline TU32x8 Mix8(TU32x8 F, TU32x8 B, TU32x8 W) {
    const TU16x32 F16 = __builtin_convertvector(__builtin_bit_cast(TU8x32, F), TU16x32);
    const TU16x32 B16 = __builtin_convertvector(__builtin_bit_cast(TU8x32, B), TU16x32);
    const TU16x32 W16 = __builtin_convertvector(__builtin_bit_cast(TU8x32, W * 0x01010101u), TU16x32);
    const TU16x32 R = (W16 * (F16 - B16) + (B16 << 8) + 128) >> 8;
    return __builtin_bit_cast(TU32x8, __builtin_convertvector(R, TU8x32));
}

[[gnu::always_inline]] inline TU32x8 Select8(TU32x8 Mask, TU32x8 IfSet, TU32x8 IfClear) {
    return (Mask & IfSet) | (~Mask & IfClear);
}

// Alpha bytes of eight pixels: all zero, all 255, or mixed.
[[gnu::always_inline]] inline bool AllAlpha(const TColor32* P, bool Opaque) {
    std::uint64_t Q[4];
    std::memcpy(Q, P, sizeof Q);
    constexpr std::uint64_t Mask = 0xFF000000FF000000ull;
    if (Opaque) return (Q[0] & Q[1] & Q[2] & Q[3] & Mask) == Mask;
    return ((Q[0] | Q[1] | Q[2] | Q[3]) & Mask) == 0;
}

[[gnu::always_inline]] inline bool AnySet(TU32x8 Mask) {
    std::uint64_t Q[4];
    std::memcpy(Q, &Mask, sizeof Q);
    return (Q[0] | Q[1] | Q[2] | Q[3]) != 0;
}

[[gnu::always_inline]] inline void BlendLineBody(const TColor32* Src, TColor32* Dst, int Count) {
    int I = 0;
    for (; I + 8 <= Count; I += 8) {
        if (AllAlpha(Src + I, false)) continue;
        const TU32x8 F = Load8(Src + I);
        if (AllAlpha(Src + I, true)) {
            Store8(Dst + I, F);
            continue;
        }
        const TU32x8 Fa = F >> 24;
        // Fa = 0 gives B exactly through the rule itself.
        const TU32x8 R = Mix8(F, Load8(Dst + I), Fa);
        Store8(Dst + I, Select8(__builtin_bit_cast(TU32x8, Fa == 255u), F, R));
    }
    BlendLinePlain(Src + I, Dst + I, Count - I);
}

[[gnu::always_inline]] inline void BlendLineMasterBody(const TColor32* Src, TColor32* Dst, int Count,
                                                       unsigned M) {
    int I = 0;
    // W = ((Fa + 1) * M) >> 8 is 0 for Fa = 0, and W = 0 gives B exactly: no special cases.
    for (; I + 8 <= Count; I += 8) {
        const TU32x8 F = Load8(Src + I);
        const TU32x8 W = (((F >> 24) + 1) * M) >> 8;
        Store8(Dst + I, Mix8(F, Load8(Dst + I), W));
    }
    BlendLineMasterPlain(Src + I, Dst + I, Count - I, M);
}

// Groups of eight use vector arithmetic unless one of them needs the tables.
[[gnu::always_inline]] inline void MergeLineBody(const TColor32* Src, TColor32* Dst, int Count) {
    int I = 0;
    for (; I + 8 <= Count; I += 8) {
        if (AllAlpha(Src + I, false)) continue;
        const TU32x8 F = Load8(Src + I);
        const TU32x8 B = Load8(Dst + I);
        const TU32x8 Fa = F >> 24;
        if (AllAlpha(Dst + I, true)) { // an opaque background: the blend rule with alpha 255
            Store8(Dst + I, Mix8(F, B, Fa) | 0xFF000000u);
            continue;
        }
        const TU32x8 Ba = B >> 24;
        const auto BaFull = __builtin_bit_cast(TU32x8, Ba == 255u);
        if (AllAlpha(Src + I, true) && !AnySet(BaFull)) { // opaque over a background that is not
            Store8(Dst + I, F);
            continue;
        }
        const auto FaZero = __builtin_bit_cast(TU32x8, Fa == 0u);
        const auto FOrB = __builtin_bit_cast(TU32x8, (Fa == 255u) | (Ba == 0u));
        const TU32x8 TakeF = ~(FaZero | BaFull) & FOrB;
        if (AnySet(~(FaZero | BaFull | FOrB))) {
            MergeLinePlain(Src + I, Dst + I, 8);
            continue;
        }
        // Ba = 255: the blend rule with alpha 255; Fa = 0 (and Ba < 255): B, which the rule
        // gives unchanged; Fa = 255 or Ba = 0: F.
        TU32x8 R = Mix8(F, B, Fa);
        R = Select8(BaFull, R | 0xFF000000u, R);
        Store8(Dst + I, Select8(TakeF, F, R));
    }
    MergeLinePlain(Src + I, Dst + I, Count - I);
}

void BlendLineVector(const TColor32* S, TColor32* D, int N) {
    BlendLineBody(S, D, N);
}
void BlendLineMasterVector(const TColor32* S, TColor32* D, int N, unsigned M) {
    BlendLineMasterBody(S, D, N, M);
}
void MergeLineVector(const TColor32* S, TColor32* D, int N) {
    MergeLineBody(S, D, N);
}

#if defined(__x86_64__) || defined(__i386__)
#define ZP_HAVE_AVX2_KERNELS 1
// The compiler leaves the upper halves of the vector registers dirty after these; clearing them
// keeps later SSE code elsewhere in the program from paying a transition penalty.
[[gnu::target("avx2")]] void BlendLineAvx2(const TColor32* S, TColor32* D, int N) {
    BlendLineBody(S, D, N);
    __builtin_ia32_vzeroupper();
}
[[gnu::target("avx2")]] void BlendLineMasterAvx2(const TColor32* S, TColor32* D, int N, unsigned M) {
    BlendLineMasterBody(S, D, N, M);
    __builtin_ia32_vzeroupper();
}
[[gnu::target("avx2")]] void MergeLineAvx2(const TColor32* S, TColor32* D, int N) {
    MergeLineBody(S, D, N);
    __builtin_ia32_vzeroupper();
}
#endif

struct TKernelChoice {
    std::array<TRowKernels, 3> All{};
    std::size_t Count = 0;

    TKernelChoice() {
        All[Count++] = {"plain", BlendLinePlain, BlendLineMasterPlain, MergeLinePlain};
        All[Count++] = {"vector", BlendLineVector, BlendLineMasterVector, MergeLineVector};
#if defined(ZP_HAVE_AVX2_KERNELS)
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2"))
            All[Count++] = {"avx2", BlendLineAvx2, BlendLineMasterAvx2, MergeLineAvx2};
#endif
    }
    const TRowKernels& Active() const {
        return All[Count - 1];
    }
};

const TKernelChoice Kernels;

} // namespace

std::span<const TRowKernels> AvailableRowKernels() {
    return {Kernels.All.data(), Kernels.Count};
}

const std::uint8_t (&DivTable)[256][256] = Tables.DT;
const std::uint8_t (&RcTable)[256][256] = Tables.RT;

TColor32 MergeColor(TColor32 F, TColor32 B) {
    return MergeColorInline(F, B);
}

TColor32 MergeColorMaster(TColor32 F, TColor32 B, unsigned M) {
    return MergeColorInline(WithAlpha(F, Tables.DT[M & 0xFF][F >> 24]), B);
}

void BlendLine(const TColor32* Src, TColor32* Dst, int Count) {
    Kernels.Active().BlendLine(Src, Dst, Count);
}

void BlendLineMaster(const TColor32* Src, TColor32* Dst, int Count, unsigned M) {
    Kernels.Active().BlendLineMaster(Src, Dst, Count, M);
}

void MergeLine(const TColor32* Src, TColor32* Dst, int Count) {
    Kernels.Active().MergeLine(Src, Dst, Count);
}

void MergeLineMaster(const TColor32* Src, TColor32* Dst, int Count, unsigned M) {
    const std::uint8_t* DTM = Tables.DT[M & 0xFF];
    constexpr int Chunk = 256;
    TColor32 Scaled[Chunk];
    for (int I = 0; I < Count; I += Chunk) {
        const int N = Count - I < Chunk ? Count - I : Chunk;
        for (int K = 0; K < N; ++K) Scaled[K] = WithAlpha(Src[I + K], DTM[Src[I + K] >> 24]);
        MergeLine(Scaled, Dst + I, N);
    }
}

} // namespace zp
