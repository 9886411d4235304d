#include "raster/Blend.h"
#include "raster/BlendKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace zp {
namespace {

TEST(Blend, BlendColorShortcutExamples) {
    TColor32 B = 0xFF0000FF;
    BlendColorStore(0x80FF0000, B);
    EXPECT_EQ(B, 0xC0800080u); // onto an opaque background the alpha is not 255

    B = 0x12345678;
    BlendColorStore(0xFFABCDEF, B);
    EXPECT_EQ(B, 0xFFABCDEFu);
    BlendColorStore(0x00ABCDEF, B);
    EXPECT_EQ(B, 0xFFABCDEFu);
}

TEST(Blend, BlendColorRuleHasNoSpecialCases) {
    EXPECT_EQ(BlendColor(0xFFFFFFFF, 0xFF000000), 0xFFFEFEFEu);
    EXPECT_EQ(BlendColor(0x00FFFFFF, 0x80102030), 0x80102030u);
}

TEST(Blend, MixColorFollowsThePerChannelRule) {
    std::mt19937 Rng(11);
    for (int I = 0; I < 20000; ++I) {
        const TColor32 X = Rng(), Y = Rng();
        const unsigned W = I % 257;
        TColor32 Expected = 0;
        for (int S = 0; S < 32; S += 8) {
            const int Xc = (X >> S) & 0xFF, Yc = (Y >> S) & 0xFF;
            Expected |= static_cast<TColor32>((static_cast<int>(W) * (Xc - Yc) + 256 * Yc + 128) >> 8) << S;
        }
        ASSERT_EQ(MixColor(X, Y, W), Expected) << std::hex << X << " " << Y << " " << std::dec << W;
    }
}

TEST(Blend, MixColorAndItsStoringForm) {
    EXPECT_EQ(MixColor(0xFFFFFFFF, 0x00000000, 128), 0x80808080u);
    EXPECT_EQ(MixColor(0x11223344, 0x55667788, 256), 0x11223344u);
    EXPECT_EQ(MixColor(0x11223344, 0x55667788, 0), 0x55667788u);
    TColor32 B = 0x55667788;
    MixColorStore(0x11223344, B, 0);
    EXPECT_EQ(B, 0x55667788u);
    MixColorStore(0x11223344, B, 255);
    EXPECT_EQ(B, 0x11223344u);
    MixColorStore(0xFF000000, B, 64);
    EXPECT_EQ(B, MixColor(0xFF000000, 0x11223344, 64));
}

TEST(Blend, MasterAlphaPixelAndRowFormsDiffer) {
    // Pixel form: W = (129 * 1) >> 8 = 0 keeps B; row form: W = (2 * 128) >> 8 = 1.
    EXPECT_EQ(BlendColorMaster(0x01FF0000, 0xFF0000FF, 128), 0xFF0000FFu);
    EXPECT_EQ(BlendColorMasterRowPixel(0x01FF0000, 0xFF0000FF, 128), 0xFE0100FEu);
    EXPECT_EQ(BlendColorMaster(0x00FFFFFF, 0xFF000000, 254), 0xFF000000u);
    // W = (256 * 255) >> 8 = 255 in the pixel form with M = 255.
    EXPECT_EQ(BlendColorMaster(0xFFFFFFFF, 0xFF000000, 255), MixColor(0xFFFFFFFF, 0xFF000000, 255));
}

TEST(Blend, TablesRoundHalfToEvenAndKeepLowByte) {
    EXPECT_EQ(DivTable[128][128], 64);
    EXPECT_EQ(DivTable[255][255], 255);
    EXPECT_EQ(DivTable[128][255], 128);
    EXPECT_EQ(RcTable[192][128], 170);
    EXPECT_EQ(RcTable[192][64], 85);
    EXPECT_EQ(RcTable[6][1], 42);         // 42.5 rounds to even
    EXPECT_EQ(RcTable[2][1], 128);        // 127.5 rounds to even
    EXPECT_EQ(RcTable[1][2], 510 & 0xFF); // above 255: low 8 bits
    for (int B = 0; B < 256; ++B) EXPECT_EQ(RcTable[0][B], 0);

    // Every entry against double arithmetic with the default (half to even) rounding.
    for (int A = 0; A < 256; ++A) {
        for (int B = 0; B < 256; ++B) {
            ASSERT_EQ(DivTable[A][B], static_cast<int>(std::nearbyint(A * B / 255.0))) << A << "," << B;
            if (A > 0) {
                ASSERT_EQ(RcTable[A][B], static_cast<int>(std::nearbyint(B * 255.0 / A)) & 0xFF)
                    << A << "," << B;
            }
        }
    }
}

TEST(Blend, MergeColorExamples) {
    EXPECT_EQ(MergeColor(0x80FF0000, 0x800000FF), 0xC0AA0055u);
    EXPECT_EQ(MergeColor(0x00FF0000, 0x800000FF), 0x800000FFu);
    EXPECT_EQ(MergeColor(0xFFFF0000, 0x800000FF), 0xFFFF0000u);
    // Opaque over opaque goes through the blend rule first: 255 becomes 254.
    EXPECT_EQ(MergeColor(0xFFFFFFFF, 0xFF000000), 0xFFFEFEFEu);
}

TEST(Blend, MergeColorOverTransparentAndOpaqueBackgrounds) {
    std::mt19937 Rng(7);
    for (int I = 0; I < 200000; ++I) {
        const TColor32 F = Rng();
        const TColor32 B = Rng();
        const TColor32 Transparent = B & 0x00FFFFFF;
        const TColor32 Opaque = B | 0xFF000000;
        const TColor32 ExpectedOverTransparent = (F >> 24) == 0 ? Transparent : F;
        ASSERT_EQ(MergeColor(F, Transparent), ExpectedOverTransparent) << std::hex << F << " " << B;
        const TColor32 ExpectedOverOpaque = (F >> 24) == 0 ? Opaque : (BlendColor(F, Opaque) | 0xFF000000);
        ASSERT_EQ(MergeColor(F, Opaque), ExpectedOverOpaque) << std::hex << F << " " << B;
    }
}

TEST(Blend, MergeColorMasterScalesSourceAlpha) {
    EXPECT_EQ(MergeColorMaster(0x80FF0000, 0x800000FF, 255), MergeColor(0x80FF0000, 0x800000FF));
    EXPECT_EQ(MergeColorMaster(0xFFFF0000, 0x800000FF, 128), MergeColor(0x80FF0000, 0x800000FF));
    EXPECT_EQ(MergeColorMaster(0xFFFF0000, 0x800000FF, 0), 0x800000FFu);
}

// A literal per-pixel reading of the merge rule, independent of the library's tables.
TColor32 ReferenceMerge(TColor32 F, TColor32 B) {
    auto DT = [](int A, int V) { return static_cast<int>(std::nearbyint(A * V / 255.0)); };
    auto RT = [](int A, int V) {
        return A == 0 ? 0 : static_cast<int>(std::nearbyint(V * 255.0 / A)) & 0xFF;
    };
    const int Fa = static_cast<int>(F >> 24), Ba = static_cast<int>(B >> 24);
    if (Fa == 0) return B;
    if (Ba == 255) {
        TColor32 R = 0xFF000000;
        for (int S = 0; S < 24; S += 8) {
            const int Fc = (F >> S) & 0xFF, Bc = (B >> S) & 0xFF;
            R |= static_cast<TColor32>((Fa * (Fc - Bc) + 256 * Bc + 128) >> 8) << S;
        }
        return R;
    }
    if (Fa == 255 || Ba == 0) return F;
    const int Ra = Fa + Ba - DT(Ba, Fa);
    TColor32 R = static_cast<TColor32>(Ra) << 24;
    for (int S = 0; S < 24; S += 8) {
        const int Fc = (F >> S) & 0xFF, Bp = DT(Ba, (B >> S) & 0xFF), X = Fc - Bp;
        R |= static_cast<TColor32>(X >= 0 ? RT(Ra, DT(Fa, X) + Bp) : RT(Ra, Bp - DT(Fa, -X))) << S;
    }
    return R;
}

// Random colours whose alpha is often exactly 0 or 255, so every branch is taken.
TColor32 RandomColor(std::mt19937& Rng) {
    const TColor32 C = Rng();
    switch (Rng() % 4) {
    case 0: return C & 0x00FFFFFF;
    case 1: return C | 0xFF000000;
    default: return C;
    }
}

// Every row implementation this processor offers (plain, vector, AVX2) against the pixel
// rules, with odd lengths and unaligned starts.
TEST(Blend, RowFormsMatchPixelRulesOnRandomData) {
    std::mt19937 Rng(42);
    constexpr int N = 4099;
    std::vector<TColor32> Src(N), Dst(N), Out(N);
    ASSERT_GE(AvailableRowKernels().size(), 2u);
    for (const TRowKernels& K : AvailableRowKernels()) {
        SCOPED_TRACE(K.Name);
        for (int Round = 0; Round < 20; ++Round) {
            for (int I = 0; I < N; ++I) {
                Src[I] = RandomColor(Rng);
                Dst[I] = RandomColor(Rng);
            }
            // Runs of equal alpha so that whole vector groups take their shortcuts too.
            if (Round % 2) {
                for (int I = 0; I < N; ++I) {
                    if ((I / 16) % 3 == 0) Src[I] |= 0xFF000000;
                    if ((I / 16) % 3 == 1) Src[I] &= 0x00FFFFFF;
                    if ((I / 20) % 2 == 0) Dst[I] |= 0xFF000000;
                }
            }
            const unsigned M = Rng() % 256;
            const int Start = Round % 3, Count = N - Start - Round;

            Out = Dst;
            K.BlendLine(Src.data() + Start, Out.data() + Start, Count);
            for (int I = 0; I < N; ++I) {
                TColor32 E = Dst[I];
                if (I >= Start && I < Start + Count) BlendColorStore(Src[I], E);
                ASSERT_EQ(Out[I], E) << I;
            }

            Out = Dst;
            K.MergeLine(Src.data() + Start, Out.data() + Start, Count);
            for (int I = 0; I < N; ++I) {
                const TColor32 E = I >= Start && I < Start + Count ? ReferenceMerge(Src[I], Dst[I]) : Dst[I];
                ASSERT_EQ(Out[I], E) << std::hex << Src[I] << " " << Dst[I];
            }

            Out = Dst;
            K.BlendLineMaster(Src.data() + Start, Out.data() + Start, Count, M);
            for (int I = 0; I < N; ++I) {
                const unsigned W = (Src[I] >> 24) == 0 ? 0 : (((Src[I] >> 24) + 1) * M) >> 8;
                const bool In = I >= Start && I < Start + Count;
                ASSERT_EQ(Out[I], !In || W == 0 ? Dst[I] : MixColor(Src[I], Dst[I], W));
            }
        }
    }
}

TEST(Blend, MergeLineMasterMatchesPixelRule) {
    std::mt19937 Rng(5);
    constexpr int N = 700; // spans several internal chunks
    std::vector<TColor32> Src(N), Dst(N), Out(N);
    for (int I = 0; I < N; ++I) {
        Src[I] = RandomColor(Rng);
        Dst[I] = RandomColor(Rng);
    }
    for (unsigned M : {0u, 1u, 128u, 254u, 255u}) {
        Out = Dst;
        MergeLineMaster(Src.data(), Out.data(), N, M);
        for (int I = 0; I < N; ++I) {
            const TColor32 F = (Src[I] & 0xFFFFFF) |
                               (static_cast<TColor32>(std::nearbyint(M * (Src[I] >> 24) / 255.0)) << 24);
            ASSERT_EQ(Out[I], ReferenceMerge(F, Dst[I])) << M << " " << I;
        }
    }
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST(Color32, PlatformColourConversions) {
    EXPECT_EQ(Color32(TColor{0x00332211}), 0xFF112233u); // $00BBGGRR, always opaque
    EXPECT_EQ(WinColor(0x80112233u), TColor{0x00332211});
    EXPECT_EQ(Color32(static_cast<TColor>(0xFF00000F)), 0xFFF0F0F0u); // a system colour (button face)
    SetSysColorProvider([](int Index) { return Index == 15 ? TColor{0x000000FF} : TColor{0}; });
    EXPECT_EQ(Color32(static_cast<TColor>(0xFF00000F)), 0xFFFF0000u);
    SetSysColorProvider(nullptr);
    EXPECT_EQ(Color32(static_cast<TColor>(0xFF00000F)), 0xFFF0F0F0u);
    EXPECT_EQ(SetColorAlpha(0x12345678, 0x1AB), 0xAB345678u); // only the low 8 bits of alpha
    EXPECT_EQ(SetColorAlpha(0xFF345678, 0), 0x00345678u);
}

} // namespace
} // namespace zp
