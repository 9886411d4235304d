#include "layers/Filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zp {
namespace {

// Each convolution class with its run operation, so one test can walk all seven.
struct TNamedEffect {
    std::string Name;
    std::function<std::unique_ptr<TEffect>()> Make;
    std::function<void(TEffect&)> Run;
};

template <class T, void (T::*Op)()> TNamedEffect Named(const char* Name) {
    return {Name, [] { return std::make_unique<T>(); }, [](TEffect& E) { (static_cast<T&>(E).*Op)(); }};
}

std::vector<TNamedEffect> AllConvolutions() {
    return {Named<TEmboss, &TEmboss::Emboss>("Emboss"),
            Named<TLaplace, &TLaplace::Laplace>("Laplace"),
            Named<TFindEdges, &TFindEdges::FindEdges>("FindEdges"),
            Named<TSharpen, &TSharpen::Sharpen>("Sharpen"),
            Named<TEdgesEnhance, &TEdgesEnhance::EdgesEnhance>("EdgesEnhance"),
            Named<TColorEmboss, &TColorEmboss::ColorEmboss>("ColorEmboss"),
            Named<TSoften, &TSoften::Soften>("Soften")};
}

void RunOn(const TNamedEffect& Effect, TBitmap32& Bitmap) {
    auto E = Effect.Make();
    E->SetEffectBitmap(&Bitmap);
    Effect.Run(*E);
}

void FillRandom(TBitmap32& B, int W, int H, std::mt19937& Rng) {
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) B.SetPixel(X, Y, Rng());
}

std::vector<TColor32> Pixels(const TBitmap32& B) {
    return {B.Bits(), B.Bits() + static_cast<std::size_t>(B.Width()) * B.Height()};
}

// 5 x 5 of Background with Centre at (2, 2); returns the 3 x 3 around the centre after the
// effect, row by row, and checks that the outer ring is untouched.
std::vector<TColor32> AroundCentre(const TNamedEffect& Effect, TColor32 Background, TColor32 Centre) {
    TBitmap32 B;
    B.SetSize(5, 5);
    B.Clear(Background);
    B.SetPixel(2, 2, Centre);
    RunOn(Effect, B);
    std::vector<TColor32> Result;
    for (int Y = 0; Y < 5; ++Y)
        for (int X = 0; X < 5; ++X) {
            if (X >= 1 && X <= 3 && Y >= 1 && Y <= 3)
                Result.push_back(B.Pixel(X, Y));
            else
                EXPECT_EQ(B.Pixel(X, Y), Background) << Effect.Name << " ring " << X << "," << Y;
        }
    return Result;
}

TEST(Convolution, UniformSurfaces) {
    const TColor32 Uniform = Color32(100, 150, 200);
    const TColor32 Faint = Color32(100, 150, 200, 0x40);
    for (const TNamedEffect& Effect : AllConvolutions()) {
        const bool SumIsZero = Effect.Name == "FindEdges" || Effect.Name == "Laplace";
        for (const TColor32 Colour : {Uniform, Faint}) {
            TBitmap32 B;
            B.SetSize(6, 5);
            B.Clear(Colour);
            RunOn(Effect, B);
            for (int Y = 0; Y < 5; ++Y)
                for (int X = 0; X < 6; ++X) {
                    const bool Border = X == 0 || Y == 0 || X == 5 || Y == 4;
                    const TColor32 Expected = SumIsZero && !Border ? (Colour & 0xFF000000u) : Colour;
                    EXPECT_EQ(B.Pixel(X, Y), Expected) << Effect.Name << " " << X << "," << Y;
                }
        }
    }
}

TEST(Convolution, SinglePixelShowsEachKernel) {
    const TColor32 K = 0xFF000000, Wh = 0xFFFFFFFF;
    const auto Effects = AllConvolutions();
    const auto ByName = [&](const std::string& Name) {
        for (const auto& E : Effects)
            if (E.Name == Name) return E;
        throw std::runtime_error(Name);
    };
    // 510 div 16 = 31: weights 2 over a divisor of 16, not rounded up.
    const TColor32 S = 0xFF1F1F1F;
    EXPECT_EQ(AroundCentre(ByName("Soften"), K, Wh), (std::vector<TColor32>{S, S, S, S, K, S, S, S, S}));
    // 16 x 255 div 8 clamps to 255; -255 div 8 clamps to 0.
    EXPECT_EQ(AroundCentre(ByName("Sharpen"), K, Wh), (std::vector<TColor32>{K, K, K, K, Wh, K, K, K, K}));
    // The kernel is applied as written: the row below (-1) sees the white pixel from the pixels
    // above it, which therefore turn black.
    EXPECT_EQ(AroundCentre(ByName("FindEdges"), K, Wh),
              (std::vector<TColor32>{K, K, K, Wh, K, Wh, Wh, Wh, Wh}));
    EXPECT_EQ(AroundCentre(ByName("ColorEmboss"), K, Wh),
              (std::vector<TColor32>{K, K, Wh, K, K, K, Wh, K, Wh}));
    for (const char* Name : {"Emboss", "Laplace", "EdgesEnhance"})
        EXPECT_EQ(AroundCentre(ByName(Name), K, Wh), (std::vector<TColor32>{K, K, K, K, Wh, K, K, K, K}))
            << Name;

    // Transparent pixels take part with their colour; every alpha stays what it was.
    const TColor32 T = 0x001F1F1F;
    EXPECT_EQ(AroundCentre(ByName("Soften"), 0x00000000, 0x00FFFFFF),
              (std::vector<TColor32>{T, T, T, T, 0, T, T, T, T}));
    const TColor32 H = 0x801F1F1F;
    EXPECT_EQ(AroundCentre(ByName("Soften"), 0x80000000, 0xFFFFFFFF),
              (std::vector<TColor32>{H, H, H, H, 0xFF000000, H, H, H, H}));
}

TEST(Convolution, ChannelsAreIndependent) {
    // A red centre on blue: only the red and blue channels see a difference, each on its own.
    const auto Effects = AllConvolutions();
    const auto Soften = Effects.back();
    ASSERT_EQ(Soften.Name, "Soften");
    const TColor32 N = Color32(31, 0, 223);
    EXPECT_EQ(AroundCentre(Soften, Color32(0, 0, 255), Color32(255, 0, 0)),
              (std::vector<TColor32>{N, N, N, N, Color32(0, 0, 255), N, N, N, N}));
}

TEST(Convolution, NarrowSurfacesAndUnboundEffectsAreLeftAlone) {
    std::mt19937 Rng(7);
    for (const TNamedEffect& Effect : AllConvolutions()) {
        for (const auto& [W, H] : {std::pair{2, 6}, std::pair{6, 2}, std::pair{1, 1}, std::pair{0, 0}}) {
            TBitmap32 B;
            FillRandom(B, W, H, Rng);
            const auto Before = Pixels(B);
            RunOn(Effect, B);
            EXPECT_EQ(Pixels(B), Before) << Effect.Name << " " << W << "x" << H;
        }
        auto E = Effect.Make();
        Effect.Run(*E); // no bitmap bound: nothing to do, nothing to crash
    }
}

TEST(Convolution, RandomSurfacesFollowTheKernelDefinition) {
    // Every effect on random surfaces of several widths against the convolution evaluated
    // directly from an untouched copy with the object's own kernel and divisor: a pass that read
    // its own output, mirrored the kernel or lost pixels at the ends of a row would differ.
    std::mt19937 Rng(11);
    for (const TNamedEffect& Effect : AllConvolutions())
        for (const auto& [W, H] : {std::pair{3, 3}, std::pair{18, 4}, std::pair{37, 5}, std::pair{4, 9}}) {
            TBitmap32 B, Orig;
            FillRandom(B, W, H, Rng);
            Orig.Assign(&B);
            auto E = Effect.Make();
            const TEffectArray K = E->EffectArray();
            const int Divisor = E->Divisor();
            E->SetEffectBitmap(&B);
            Effect.Run(*E);
            for (int Y = 0; Y < H; ++Y)
                for (int X = 0; X < W; ++X) {
                    if (X == 0 || Y == 0 || X == W - 1 || Y == H - 1) {
                        ASSERT_EQ(B.Pixel(X, Y), Orig.Pixel(X, Y))
                            << Effect.Name << " border " << X << "," << Y;
                        continue;
                    }
                    TColor32 Expected = Orig.Pixel(X, Y) & 0xFF000000u;
                    for (int Shift = 0; Shift < 24; Shift += 8) {
                        long long Sum = 0;
                        for (int I = 0; I < 9; ++I)
                            Sum += K[I] * static_cast<long long>(
                                              (Orig.Pixel(X + I % 3 - 1, Y + I / 3 - 1) >> Shift) & 0xFF);
                        Expected |= static_cast<TColor32>(std::clamp<long long>(Sum / Divisor, 0, 255))
                                    << Shift;
                    }
                    ASSERT_EQ(B.Pixel(X, Y), Expected)
                        << Effect.Name << " " << W << "x" << H << " at " << X << "," << Y;
                }
        }
}

TEST(Convolution, DivisorZeroBecomesNine) {
    TSoften Soften;
    TBitmap32 B;
    B.SetSize(3, 3);
    B.Clear(0xFF000000);
    B.SetPixel(0, 0, 0xFFFFFFFF);
    Soften.SetEffectBitmap(&B);
    Soften.SetDivisor(0);
    Soften.Soften();
    EXPECT_EQ(Soften.Divisor(), 9);
    EXPECT_EQ(B.Pixel(1, 1), 0xFF383838u); // 510 div 9 = 56
    // The scratch copy holds the picture as it was before the run.
    EXPECT_EQ(Soften.OrigBitmap().Pixel(1, 1), 0xFF000000u);
}

} // namespace
} // namespace zp
