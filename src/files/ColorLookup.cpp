#include "files/ColorLookup.h"

#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zp {

TFastColorLookup::TFastColorLookup(TGifColorMap Palette)
    : TColorLookup(std::move(Palette)), FCache(32768, Empty) {
    if (FPalette.empty() || FPalette.size() > 256) throw EGIFError(SColorTableOverflow);
    for (std::size_t I = 0; I < 256; ++I) {
        const bool Real = I < FPalette.size();
        FRed[I] = Real ? FPalette[I].R : 2000;
        FGreen[I] = Real ? FPalette[I].G : 2000;
        FBlue[I] = Real ? FPalette[I].B : 2000;
    }
    for (std::size_t I = 0; I < FPalette.size(); ++I) {
        const TGifColor& C = FPalette[I];
        std::uint16_t& Slot = FCache[((C.B >> 3) << 10) | ((C.G >> 3) << 5) | (C.R >> 3)];
        if (Slot == Empty) Slot = static_cast<std::uint16_t>(I);
    }
}

int TFastColorLookup::Fill(int Cell, int R, int G, int B) {
    // The smallest distance first, then the first entry that has it: the same answer as one
    // pass keeping the first best.
    int Best = 0;
#if defined(__SSE2__)
    const __m128i VR = _mm_set1_epi16(static_cast<short>(R)), VG = _mm_set1_epi16(static_cast<short>(G)),
                  VB = _mm_set1_epi16(static_cast<short>(B)), Zero = _mm_setzero_si128();
    auto Abs = [&](__m128i D) { return _mm_max_epi16(D, _mm_sub_epi16(Zero, D)); };
    __m128i Distance[32];
    __m128i Least = _mm_set1_epi16(0x7FFF);
    for (int I = 0; I < 32; ++I) {
        const __m128i D = _mm_add_epi16(
            _mm_add_epi16(
                Abs(_mm_sub_epi16(VR, _mm_load_si128(reinterpret_cast<const __m128i*>(FRed) + I))),
                Abs(_mm_sub_epi16(VG, _mm_load_si128(reinterpret_cast<const __m128i*>(FGreen) + I)))),
            Abs(_mm_sub_epi16(VB, _mm_load_si128(reinterpret_cast<const __m128i*>(FBlue) + I))));
        Distance[I] = D;
        Least = _mm_min_epi16(Least, D);
    }
    Least = _mm_min_epi16(Least, _mm_shuffle_epi32(Least, _MM_SHUFFLE(1, 0, 3, 2)));
    Least = _mm_min_epi16(Least, _mm_shuffle_epi32(Least, _MM_SHUFFLE(2, 3, 0, 1)));
    Least = _mm_min_epi16(Least, _mm_shufflelo_epi16(_mm_shufflehi_epi16(Least, _MM_SHUFFLE(2, 3, 0, 1)),
                                                     _MM_SHUFFLE(2, 3, 0, 1)));
    for (int I = 0; I < 32; ++I) {
        const int Mask = _mm_movemask_epi8(_mm_cmpeq_epi16(Distance[I], Least));
        if (Mask != 0) {
            Best = I * 8 + __builtin_ctz(static_cast<unsigned>(Mask)) / 2;
            break;
        }
    }
#else
    int Least = 0x7FFF;
    for (int I = 0; I < 256; ++I) {
        const int D = std::abs(R - FRed[I]) + std::abs(G - FGreen[I]) + std::abs(B - FBlue[I]);
        if (D < Least) {
            Least = D;
            Best = I;
        }
    }
#endif
    FCache[Cell] = static_cast<std::uint16_t>(Best);
    return Best;
}

TSlowColorLookup::TSlowColorLookup(TGifColorMap Palette)
    : TColorLookup(std::move(Palette)), FCache(std::size_t{1} << CacheBits, 0xFFFFFFFFu) {}

int TSlowColorLookup::Nearest(int R, int G, int B) const {
    int Best = 0;
    int BestDistance = 0x7FFFFFFF;
    for (std::size_t I = 0; I < FPalette.size() && BestDistance != 0; ++I) {
        const TGifColor& C = FPalette[I];
        const int DR = R - C.R, DG = G - C.G, DB = B - C.B;
        const int Distance = DR * DR + DG * DG + DB * DB;
        if (Distance < BestDistance) {
            BestDistance = Distance;
            Best = static_cast<int>(I);
        }
    }
    return Best;
}

int TSlowColorLookup::Lookup(int R, int G, int B) {
    const std::uint32_t Rgb = (static_cast<std::uint32_t>(R) << 16) | (G << 8) | B;
    const std::uint32_t Slot = (Rgb * 2654435761u) >> (32 - CacheBits);
    const std::uint32_t Cached = FCache[Slot];
    if (Cached != 0xFFFFFFFFu && (Cached >> 8) == Rgb) return static_cast<int>(Cached & 0xFF);
    const int Index = Nearest(R, G, B);
    FCache[Slot] = (Rgb << 8) | static_cast<std::uint32_t>(Index);
    return Index;
}

} // namespace zp
