#include "files/ColorReduction.h"
#include "files/ColorQuantizer.h"
#include "files/Ditherers.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace zp {
namespace {

using test::FillBitmap;

// Passes lookups on and remembers the colours asked for.
class TRecordingLookup final : public TColorLookup {
public:
    explicit TRecordingLookup(std::unique_ptr<TColorLookup> Inner)
        : TColorLookup(Inner->Palette()), FInner(std::move(Inner)) {}
    int Lookup(int R, int G, int B) override {
        Seen.push_back({R, G, B});
        return FInner->Lookup(R, G, B);
    }
    std::vector<std::array<int, 3>> Seen;

private:
    std::unique_ptr<TColorLookup> FInner;
};

std::vector<std::string> Rows(const TReducedBitmap& R) {
    std::vector<std::string> Out;
    for (int Y = 0; Y < R.Height; ++Y) {
        std::string Row;
        for (int X = 0; X < R.Width; ++X)
            Row += std::to_string(R.Pixels[static_cast<std::size_t>(Y * R.Width + X)]);
        Out.push_back(Row);
    }
    return Out;
}

// ---------------------------------------------------------------- octree

TEST(ColorQuantizer, LeavesInTreeOrderThenBlackUpTo256) {
    TBitmap32 B;
    FillBitmap(B, 6, 1, [](int X, int) {
        const TColor32 Colors[3] = {0xFFFF0000, 0x800000FF, 0xFF00FF00};
        return Colors[X % 3];
    });
    const TReducedBitmap R = ReduceColors(B, rmQuantize, dmNearest);
    ASSERT_EQ(R.Palette.size(), 256u);
    // Child numbers at the root: red 4, green 2, blue 1.
    EXPECT_EQ(R.Palette[0], (TGifColor{0, 0, 255}));
    EXPECT_EQ(R.Palette[1], (TGifColor{0, 255, 0}));
    EXPECT_EQ(R.Palette[2], (TGifColor{255, 0, 0}));
    for (std::size_t I = 3; I < 256; ++I) ASSERT_EQ(R.Palette[I], TGifColor{}) << I;
    EXPECT_EQ(R.Pixels, (std::vector<std::uint8_t>{2, 0, 1, 2, 0, 1}));
}

TEST(ColorQuantizer, The257thColourFoldsTheNewestDeepestNode) {
    // Blues 0..255 fill 128 level-7 nodes with two leaves each; (0,1,0) becomes a third leaf
    // of the first of them. The newest level-7 node (blues 254 and 255) is folded: average 254.
    TBitmap32 B;
    FillBitmap(B, 257, 1, [](int X, int) {
        return X < 256 ? Color32(0, 0, static_cast<unsigned>(X)) : Color32(0, 1, 0);
    });
    const TReducedBitmap R = ReduceColors(B, rmQuantize, dmNearest);
    ASSERT_EQ(R.Palette.size(), 256u);
    EXPECT_EQ(R.Palette[0], (TGifColor{0, 0, 0}));
    EXPECT_EQ(R.Palette[1], (TGifColor{0, 0, 1}));
    EXPECT_EQ(R.Palette[2], (TGifColor{0, 1, 0}));
    EXPECT_EQ(R.Palette[3], (TGifColor{0, 0, 2}));
    EXPECT_EQ(R.Palette[254], (TGifColor{0, 0, 253}));
    EXPECT_EQ(R.Palette[255], (TGifColor{0, 0, 254}));
    // The fast lookup's cells hold eight blues each; the first entry of a cell claims it, so
    // blues 1..7 and (0,1,0) take entry 0 and blues 248..255 entry 249 = (0,0,248).
    EXPECT_EQ(R.Pixels[1], 0);
    EXPECT_EQ(R.Pixels[7], 0);
    EXPECT_EQ(R.Pixels[256], 0);
    EXPECT_EQ(R.Pixels[8], 9);
    EXPECT_EQ(R.Pixels[254], 249);
    EXPECT_EQ(R.Pixels[255], 249);
}

TEST(ColorQuantizer, FoldsTheRootWhenNoDeeperNodeIsLeft) {
    TColorQuantizer Q(2);
    Q.AddColor(0, 0, 0);
    Q.AddColor(255, 255, 255);
    EXPECT_EQ(Q.LeafCount(), 2);
    // Three single-child chains: folding levels 7..1 never lowers the count, the root does.
    Q.AddColor(255, 0, 0);
    EXPECT_EQ(Q.LeafCount(), 1);
    EXPECT_EQ(Q.ColorTable(2), (TGifColorMap{{170, 85, 85}, {0, 0, 0}}));
}

// The octree as the rules read, node by node, for comparison with the pooled one and its
// shortcuts.
class TPlainOctree {
public:
    explicit TPlainOctree(int MaxColors) : FMax(MaxColors) { FRoot = Create(0); }
    void Add(int R, int G, int B) {
        TNode* N = FRoot.get();
        for (int Level = 0; !N->Leaf; ++Level) {
            const int Shift = 7 - Level;
            const int Child = (((R >> Shift) & 1) << 2) | (((G >> Shift) & 1) << 1) | ((B >> Shift) & 1);
            if (!N->Children[Child]) N->Children[Child] = Create(Level + 1);
            N = N->Children[Child].get();
        }
        N->Count += 1;
        N->R += R, N->G += G, N->B += B;
        while (FLeaves > FMax) {
            int Level = 7;
            while (Level > 0 && FReducible[Level].empty()) --Level;
            TNode* F = FReducible[Level].front();
            FReducible[Level].erase(FReducible[Level].begin());
            int Children = 0;
            for (auto& C : F->Children)
                if (C) {
                    F->R += C->R, F->G += C->G, F->B += C->B, F->Count += C->Count;
                    C.reset();
                    ++Children;
                }
            F->Leaf = true;
            FLeaves -= Children - 1;
        }
    }
    TGifColorMap Table(std::size_t PadTo) const {
        TGifColorMap Out;
        Collect(FRoot.get(), Out);
        Out.resize(std::max(Out.size(), PadTo));
        return Out;
    }

private:
    struct TNode {
        bool Leaf = false;
        std::int64_t R = 0, G = 0, B = 0, Count = 0;
        std::unique_ptr<TNode> Children[8];
    };
    std::unique_ptr<TNode> Create(int Level) {
        auto N = std::make_unique<TNode>();
        if (Level == 8) {
            N->Leaf = true;
            ++FLeaves;
        } else {
            FReducible[Level].insert(FReducible[Level].begin(), N.get());
        }
        return N;
    }
    void Collect(const TNode* N, TGifColorMap& Out) const {
        if (N->Leaf) {
            Out.push_back({static_cast<std::uint8_t>(N->R / N->Count),
                           static_cast<std::uint8_t>(N->G / N->Count),
                           static_cast<std::uint8_t>(N->B / N->Count)});
            return;
        }
        for (const auto& C : N->Children)
            if (C) Collect(C.get(), Out);
    }
    int FMax;
    int FLeaves = 0;
    std::vector<TNode*> FReducible[8];
    std::unique_ptr<TNode> FRoot;
};

TEST(ColorQuantizer, AgreesWithThePlainTreeOnNoisyPictures) {
    test::TNoise N(12);
    for (int MaxColors : {1, 2, 7, 64, 236, 256})
        for (int Spread : {4, 40, 255}) {
            TBitmap32 B;
            FillBitmap(B, 120, 50, [&](int X, int Y) {
                const int D = N.Range(0, Spread);
                return Color32(static_cast<unsigned>((X * 2 + D) % 256),
                               static_cast<unsigned>((Y * 5 + D / 2) % 256),
                               static_cast<unsigned>(N.Range(0, Spread)));
            });
            TColorQuantizer Q(MaxColors);
            Q.AddBitmap(B);
            TPlainOctree P(MaxColors);
            for (int Y = 0; Y < B.Height(); ++Y)
                for (int X = 0; X < B.Width(); ++X) {
                    const TColor32 C = B.Pixel(X, Y);
                    P.Add(static_cast<int>(RedComponent(C)), static_cast<int>(GreenComponent(C)),
                          static_cast<int>(BlueComponent(C)));
                }
            ASSERT_EQ(Q.ColorTable(MaxColors), P.Table(static_cast<std::size_t>(MaxColors)))
                << MaxColors << " colours, spread " << Spread;
        }
}

TEST(ColorQuantizer, WholePicturesGiveTheSameTreeAsPixelByPixel) {
    // Runs of equal colour enter at once.
    test::TNoise N(3);
    for (int MaxColors : {1, 5, 16, 236, 256}) {
        TBitmap32 B;
        FillBitmap(B, 97, 41, [&](int X, int Y) {
            if (N.Range(0, 3) == 0)
                return Color32(static_cast<unsigned>(X * 2), static_cast<unsigned>(Y * 5), 7);
            if (X % 13 < 6) return Color32(10, 20, 30, static_cast<unsigned>(X));
            return Color32(static_cast<unsigned>(N.Range(0, 255)), static_cast<unsigned>(N.Range(0, 255)),
                           static_cast<unsigned>(N.Range(0, 63) * 4));
        });
        TColorQuantizer Whole(MaxColors), Single(MaxColors);
        Whole.AddBitmap(B);
        for (int Y = 0; Y < B.Height(); ++Y)
            for (int X = 0; X < B.Width(); ++X) {
                const TColor32 C = B.Pixel(X, Y);
                Single.AddColor(RedComponent(C), GreenComponent(C), BlueComponent(C));
            }
        EXPECT_EQ(Whole.LeafCount(), Single.LeafCount()) << MaxColors;
        EXPECT_LE(Whole.LeafCount(), MaxColors);
        EXPECT_EQ(Whole.ColorTable(MaxColors), Single.ColorTable(MaxColors)) << MaxColors;
    }
}

// ---------------------------------------------------------------- error diffusion

TEST(Dither, FloydSteinbergCarriesTheErrorAlongTheRowAndScansBack) {
    TBitmap32 B;
    FillBitmap(B, 6, 2, [](int, int) { return Color32(128, 128, 128); });
    TRecordingLookup L(std::make_unique<TMonochromeLookup>());
    const TReducedBitmap R = DitherBitmap(B, L, dmFloydSteinberg);
    ASSERT_EQ(L.Seen.size(), 12u);
    const int FirstRow[6] = {128, 73, 160, 87, 166, 90};
    for (int I = 0; I < 6; ++I)
        EXPECT_EQ(L.Seen[static_cast<std::size_t>(I)],
                  (std::array<int, 3>{FirstRow[I], FirstRow[I], FirstRow[I]}));
    // The second row starts at its right end.
    const int SecondRow[6] = {128, 96, 165, 94, 160, 84};
    for (int I = 0; I < 6; ++I) EXPECT_EQ(L.Seen[static_cast<std::size_t>(6 + I)][0], SecondRow[I]);
    EXPECT_EQ(Rows(R), (std::vector<std::string>{"101010", "010101"}));
}

TEST(Dither, SerpentineOrderAlsoWithoutDiffusion) {
    // The fast lookup keeps the first answer of a cell, which shows the walking order: in the
    // second row (15,0,0) is met first and takes entry 1 for the whole cell.
    TBitmap32 B;
    FillBitmap(B, 2, 2,
               [](int X, int Y) { return Y == 0 ? Color32(0, 0, 0) : Color32(X == 0 ? 8 : 15, 0, 0); });
    TFastColorLookup L({{0, 0, 0}, {16, 0, 0}});
    EXPECT_EQ(Rows(DitherBitmap(B, L, dmNearest)), (std::vector<std::string>{"00", "11"}));
}

// A grey ramp through the monochrome lookup, and a colour picture through the web lookup.
struct TDitherCase {
    TDitherMode Mode;
    std::vector<std::string> GreyRows;
    std::vector<int> FirstValues; // grey values looked up first in row 0
    std::vector<int> WebIndices;
};

void PrintTo(const TDitherCase& C, std::ostream* Os) {
    *Os << "dither mode " << int(C.Mode);
}

class DitherKernels : public testing::TestWithParam<TDitherCase> {};

TEST_P(DitherKernels, MatchTheWrittenWeightsExactly) {
    const TDitherCase& C = GetParam();
    TBitmap32 Grey, Colour;
    FillBitmap(Grey, 7, 4, [](int X, int Y) {
        const unsigned V = static_cast<unsigned>(std::min(255, 20 + 34 * X + 9 * Y));
        return Color32(V, V, V);
    });
    FillBitmap(Colour, 7, 4, [](int X, int Y) {
        return Color32(static_cast<unsigned>((37 * X + 11 * Y) % 256),
                       static_cast<unsigned>((200 - 23 * X + 5 * Y) % 256),
                       static_cast<unsigned>((90 + 17 * X * Y) % 256));
    });
    TRecordingLookup L(std::make_unique<TMonochromeLookup>());
    EXPECT_EQ(Rows(DitherBitmap(Grey, L, C.Mode)), C.GreyRows);
    for (std::size_t I = 0; I < C.FirstValues.size(); ++I) EXPECT_EQ(L.Seen[I][0], C.FirstValues[I]) << I;
    const TReducedBitmap Web = ReduceColors(Colour, rmNetscape, C.Mode);
    EXPECT_EQ(std::vector<int>(Web.Pixels.begin(), Web.Pixels.end()), C.WebIndices);
}

INSTANTIATE_TEST_SUITE_P(
    AllModes, DitherKernels,
    testing::Values(TDitherCase{dmNearest,
                                {"0000111", "0001111", "0001111", "0001111"},
                                {20, 54, 88, 122, 156, 190},
                                {19, 19, 55, 85, 85,  115, 151, 25, 56, 56, 86, 123, 117, 153,
                                 25, 56, 57, 87, 124, 150, 150, 25, 56, 93, 88, 120, 157, 188}},
                    TDitherCase{dmFloydSteinberg,
                                {"0001011", "0010111", "0010111", "1001011"},
                                {20, 63, 116, 173, 121, 243},
                                {19, 20, 55, 86,  121, 116, 151, 26, 62, 92, 93,  123, 160, 153,
                                 25, 63, 93, 130, 124, 156, 187, 61, 63, 94, 131, 163, 158, 188}},
                    TDitherCase{dmStucki,
                                {"0001111", "0010011", "0011111", "0001011"},
                                {20, 58, 101, 147, 146, 160},
                                {19, 19, 56, 85,  121, 116, 151, 26, 56, 92, 93,  123, 159, 154,
                                 26, 62, 93, 130, 124, 156, 187, 62, 63, 94, 131, 121, 158, 188}},
                    TDitherCase{dmSierra,
                                {"0001111", "0010011", "0011111", "0000011"},
                                {20, 57, 99, 143, 149, 164},
                                {19, 19, 56, 85,  121, 116, 151, 26, 56, 92, 93,  123, 159, 154,
                                 26, 62, 93, 130, 124, 156, 187, 62, 63, 94, 131, 121, 158, 188}},
                    TDitherCase{dmJaJuNI,
                                {"0001111", "0010011", "0011111", "0001011"},
                                {20, 57, 98, 142, 151, 164},
                                {19, 19, 56, 85,  121, 116, 151, 26, 56, 92, 93,  123, 159, 154,
                                 26, 62, 93, 130, 124, 156, 187, 62, 63, 94, 131, 121, 158, 188}},
                    TDitherCase{dmSteveArche,
                                {"0001111", "0000111", "0010111", "0001111"},
                                {20, 54, 91, 131, 171, 171},
                                {19, 19, 55, 85,  121, 115, 151, 26, 56, 56, 87,  123, 117, 154,
                                 26, 56, 93, 130, 124, 156, 187, 62, 63, 94, 131, 121, 158, 188}},
                    TDitherCase{dmBurkes,
                                {"0001111", "0010011", "0011111", "0100011"},
                                {20, 59, 105, 156, 145, 151},
                                {19, 20, 55, 86,  121, 116, 151, 26, 62, 92, 93,  123, 159, 154,
                                 26, 56, 93, 130, 124, 156, 187, 61, 63, 94, 131, 163, 158, 188}}));

TEST(Dither, WholeRowsEqualPixelByPixel) {
    // The reduction dithers row by row with the lookup's own type; Dither goes pixel by pixel
    // through the base classes. Both must agree for every mode and lookup.
    TBitmap32 B;
    test::GradientNoisePicture(B, 53, 17, 21);
    const TGifColorMap Octree = [&] {
        TColorQuantizer Q(256);
        Q.AddBitmap(B);
        return Q.ColorTable(256);
    }();
    using TMake = std::function<std::unique_ptr<TColorLookup>()>;
    const std::vector<TMake> Lookups = {
        [] { return std::make_unique<TNetscapeColorLookup>(); },
        [] { return std::make_unique<TGrayScaleLookup>(); },
        [] { return std::make_unique<TMonochromeLookup>(); },
        [&] { return std::make_unique<TFastColorLookup>(Octree); },
        [] { return std::make_unique<TSlowColorLookup>(WindowsHalftonePalette()); },
        [] {
            return std::make_unique<TRecordingLookup>(std::make_unique<TSlowColorLookup>(Windows20Palette()));
        },
    };
    for (int Mode = dmNearest; Mode <= dmBurkes; ++Mode)
        for (std::size_t K = 0; K < Lookups.size(); ++K) {
            auto L1 = Lookups[K]();
            const TReducedBitmap Rowwise = DitherBitmap(B, *L1, TDitherMode(Mode));
            auto L2 = Lookups[K]();
            auto D = CreateDitherer(TDitherMode(Mode), B.Width(), *L2);
            std::vector<std::uint8_t> Pixelwise(Rowwise.Pixels.size());
            for (int Y = 0; Y < B.Height(); ++Y) {
                for (int I = 0; I < B.Width(); ++I) {
                    const int X = D->Column();
                    const TColor32 C = B.Pixel(X, Y);
                    Pixelwise[static_cast<std::size_t>(Y * B.Width() + X)] = static_cast<std::uint8_t>(
                        D->Dither(RedComponent(C), GreenComponent(C), BlueComponent(C)));
                }
                D->NextLine();
            }
            ASSERT_EQ(Rowwise.Pixels, Pixelwise) << "mode " << Mode << ", lookup " << K;
        }
}

// ---------------------------------------------------------------- whole reductions

TEST(ReduceColors, NoneKeepsColoursInOrderOfFirstOccurrence) {
    TBitmap32 B;
    // 200 colours; every colour appears twice, the second time with another alpha.
    FillBitmap(B, 40, 10, [](int X, int Y) {
        const int K = (Y * 40 + X) % 200;
        return Color32(static_cast<unsigned>(K), static_cast<unsigned>(255 - K), static_cast<unsigned>(K / 2),
                       Y < 5 ? 255u : 7u);
    });
    const TReducedBitmap R = ReduceColors(B, rmNone, dmFloydSteinberg);
    ASSERT_EQ(R.Palette.size(), 200u);
    for (int K = 0; K < 200; ++K)
        ASSERT_EQ(R.Palette[static_cast<std::size_t>(K)],
                  (TGifColor{static_cast<std::uint8_t>(K), static_cast<std::uint8_t>(255 - K),
                             static_cast<std::uint8_t>(K / 2)}));
    for (int I = 0; I < 400; ++I) ASSERT_EQ(R.Pixels[static_cast<std::size_t>(I)], I % 200);

    // The 257th colour overflows, however the rest of the picture looks.
    FillBitmap(B, 257, 2, [](int X, int Y) {
        return Y == 0 ? Color32(static_cast<unsigned>(X % 256), 0, X / 256 * 9) : clBlack32;
    });
    try {
        ReduceColors(B, rmNone, dmNearest);
        FAIL() << "no overflow";
    } catch (const EGIFError& E) {
        EXPECT_STREQ(E.what(), "Color table overflow");
    }
    FillBitmap(B, 256, 2, [](int X, int Y) {
        return Y == 0 ? Color32(static_cast<unsigned>(X), 0, 0) : Color32(255, 0, 0);
    });
    EXPECT_EQ(ReduceColors(B, rmNone, dmNearest).Palette.size(), 256u);
}

TEST(ReduceColors, FixedPalettesTakeTheNearestEntry) {
    TBitmap32 B;
    FillBitmap(B, 4, 1, [](int X, int) {
        const TColor32 C[4] = {Color32(100, 100, 100), Color32(170, 170, 170), Color32(255, 251, 240),
                               Color32(0, 0, 1)};
        return C[X];
    });
    EXPECT_EQ(ReduceColors(B, rmWindowsGray, dmNearest).Pixels, (std::vector<std::uint8_t>{1, 2, 3, 0}));
    const TReducedBitmap W20 = ReduceColors(B, rmWindows20, dmNearest);
    EXPECT_EQ(W20.Palette.size(), 20u);
    EXPECT_EQ(W20.Pixels, (std::vector<std::uint8_t>{12, 11, 10, 0}));
    const TReducedBitmap Half = ReduceColors(B, rmWindows256, dmNearest);
    ASSERT_EQ(Half.Palette.size(), 256u);
    // Blue comes in steps of 64: (96,96,128) is 816 away squared, (96,96,64) 1328.
    EXPECT_EQ(Half.Pixels[0], 155);
    EXPECT_EQ(Half.Palette[155], (TGifColor{96, 96, 128}));
    EXPECT_EQ(Half.Pixels[2], 246);
    EXPECT_EQ(ReduceColors(B, rmGrayScale, dmNearest).Pixels, (std::vector<std::uint8_t>{100, 170, 250, 0}));
    EXPECT_EQ(ReduceColors(B, rmMonochrome, dmNearest).Pixels, (std::vector<std::uint8_t>{0, 1, 1, 0}));
}

TEST(ReduceColors, QuantizeWindowsPutsTheTreeBetweenTheReservedColours) {
    TBitmap32 B;
    FillBitmap(B, 3, 1, [](int X, int) {
        return X == 0 ? Color32(1, 2, 3) : (X == 1 ? Color32(250, 6, 7) : Color32(0, 0, 0));
    });
    const TReducedBitmap R = ReduceColors(B, rmQuantizeWindows, dmNearest);
    ASSERT_EQ(R.Palette.size(), 256u);
    for (int I = 0; I < 10; ++I) {
        EXPECT_EQ(R.Palette[static_cast<std::size_t>(I)], Windows20Palette()[static_cast<std::size_t>(I)]);
        EXPECT_EQ(R.Palette[static_cast<std::size_t>(246 + I)],
                  Windows20Palette()[static_cast<std::size_t>(10 + I)]);
    }
    EXPECT_EQ(R.Palette[10], (TGifColor{0, 0, 0}));
    EXPECT_EQ(R.Palette[11], (TGifColor{1, 2, 3}));
    EXPECT_EQ(R.Palette[12], (TGifColor{250, 6, 7}));
    EXPECT_EQ(R.Palette[13], (TGifColor{0, 0, 0}));
    // Nearest entry: black is entry 0 already, (250,6,7) is nearer to the tree colour than to red.
    EXPECT_EQ(R.Pixels, (std::vector<std::uint8_t>{11, 12, 0}));
}

TEST(ReduceColors, CallerPaletteAndItsAbsence) {
    TBitmap32 B;
    FillBitmap(B, 2, 1, [](int X, int) { return X == 0 ? Color32(10, 10, 10) : Color32(200, 0, 0); });
    EXPECT_TRUE(ReduceColors(B, rmPalette, dmFloydSteinberg).Empty());
    const TGifColorMap Empty;
    EXPECT_TRUE(ReduceColors(B, rmPalette, dmNearest, 8, &Empty).Empty());
    const TGifColorMap Two = {{255, 0, 0}, {0, 0, 0}};
    const TReducedBitmap R = ReduceColors(B, rmPalette, dmNearest, 8, &Two);
    EXPECT_EQ(R.Palette, Two);
    EXPECT_EQ(R.Pixels, (std::vector<std::uint8_t>{1, 0}));
    const TGifColorMap TooMany(257);
    EXPECT_THROW(ReduceColors(B, rmPalette, dmNearest, 8, &TooMany), EGIFError);
}

TEST(ReduceColors, StoredOrdinalsOutsideTheEnumerationsAreRefused) {
    TBitmap32 B;
    FillBitmap(B, 2, 2, [](int, int) { return clWhite32; });
    EXPECT_THROW(ReduceColors(B, TColorReduction(10), dmNearest), EGIFError);
    EXPECT_THROW(ReduceColors(B, rmNetscape, TDitherMode(7)), EGIFError);
    EXPECT_THROW(ReduceColors(B, rmQuantize, dmNearest, 9), EGIFError);
    // Fewer reduction bits shrink the octree's palette.
    FillBitmap(B, 5, 1, [](int X, int) { return Color32(static_cast<unsigned>(X * 60), 0, 0); });
    const TReducedBitmap R = ReduceColors(B, rmQuantize, dmNearest, 2);
    EXPECT_EQ(R.Palette.size(), 4u);
}

TEST(ReduceColors, CancellingGivesAnEmptyResult) {
    TBitmap32 B;
    test::GradientNoisePicture(B, 30, 30, 1);
    std::atomic<bool> Cancel{true};
    EXPECT_TRUE(ReduceColors(B, rmQuantize, dmFloydSteinberg, 8, nullptr, &Cancel).Empty());
    Cancel = false;
    EXPECT_FALSE(ReduceColors(B, rmQuantize, dmFloydSteinberg, 8, nullptr, &Cancel).Empty());
}

} // namespace
} // namespace zp
