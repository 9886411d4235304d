#include "files/ColorLookup.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

TEST(ColorLookup, WebRoundsEachChannelToMultiplesOf51) {
    TNetscapeColorLookup Web;
    ASSERT_EQ(Web.Colors(), 216);
    // 47 falls to 0, 48 rises to 51.
    const int I = Web.Lookup(47, 48, 255);
    EXPECT_EQ(I, 11);
    EXPECT_EQ(Web.Palette()[11], (TGifColor{0, 51, 255}));
    EXPECT_EQ(Web.Lookup(0, 0, 0), 0);
    EXPECT_EQ(Web.Lookup(255, 255, 255), 215);
    // Red varies slowest in the table.
    EXPECT_EQ(Web.Lookup(51, 0, 0), 36);
    EXPECT_EQ(Web.Palette()[36], (TGifColor{51, 0, 0}));
    EXPECT_EQ(Web.Lookup(0, 0, 101), 2);
    EXPECT_EQ(Web.Lookup(0, 0, 99), 2);
    EXPECT_EQ(Web.Lookup(0, 0, 98), 1);
}

TEST(ColorLookup, GrayAndMonochromeUseTheLuminanceWeights) {
    TGrayScaleLookup Gray;
    EXPECT_EQ(Gray.Lookup(255, 0, 0), 76);
    EXPECT_EQ(Gray.Palette()[76], (TGifColor{76, 76, 76}));
    EXPECT_EQ(Gray.Lookup(0, 255, 0), 149);
    EXPECT_EQ(Gray.Lookup(0, 0, 255), 28);
    EXPECT_EQ(Gray.Lookup(255, 255, 255), 255);

    TMonochromeLookup Mono;
    // 77 + 150 + 29 = 256: (128,128,128) sums to 32768, (127,127,127) to 32512.
    EXPECT_EQ(Mono.Lookup(128, 128, 128), 1);
    EXPECT_EQ(Mono.Lookup(127, 127, 127), 0);
    // Exactly at the threshold 32513 and one below it, with unequal channels.
    EXPECT_EQ(Mono.Lookup(101, 139, 134), 1);
    EXPECT_EQ(Mono.Lookup(101, 133, 165), 0);
    EXPECT_EQ(Mono.Palette()[1], (TGifColor{255, 255, 255}));
}

TEST(ColorLookup, FastLookupCellsAreClaimedAtCreationAndByTheFirstColourLookedUp) {
    // Entries 1 and 2 share the cell of red 16..23; entry 1 claims it at creation.
    TFastColorLookup L({{0, 0, 0}, {16, 0, 0}, {23, 0, 0}});
    EXPECT_EQ(L.Lookup(23, 0, 0), 1) << "the cell belongs to the first entry in it";
    EXPECT_EQ(L.Lookup(20, 0, 0), 1);
    // Red 8..15 is an empty cell: (8,0,0) is 8 away from entries 0 and 1; the first wins and
    // the cell keeps that answer even for (15,0,0), which is nearer to entry 1.
    EXPECT_EQ(L.Lookup(8, 0, 0), 0);
    EXPECT_EQ(L.Lookup(15, 0, 0), 0);

    // In a fresh lookup the order is the other way round.
    TFastColorLookup M({{0, 0, 0}, {16, 0, 0}, {23, 0, 0}});
    EXPECT_EQ(M.Lookup(15, 0, 0), 1);
    EXPECT_EQ(M.Lookup(8, 0, 0), 1);

    // The distance is the sum of channel differences, not the squared distance: from
    // (40,40,40), (62,40,40) is 22 away, (52,52,52) 36; squared the second would be nearer.
    TFastColorLookup N({{62, 40, 40}, {52, 52, 52}});
    EXPECT_EQ(N.Lookup(40, 40, 40), 0);
    // Cells are addressed by the top five bits of blue, green, red.
    TFastColorLookup P({{0, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}});
    EXPECT_EQ(P.Lookup(250, 3, 3), 3);
    EXPECT_EQ(P.Lookup(3, 250, 3), 2);
    EXPECT_EQ(P.Lookup(3, 3, 250), 1);
}

TEST(ColorLookup, FastLookupSearchAgreesWithAPlainScan) {
    // Palettes of every size up to 256 with duplicate entries, looked up in cells nobody
    // claimed: the vectorised search must give the first entry of least distance.
    test::TNoise N(5);
    for (int Size : {1, 2, 7, 8, 9, 100, 255, 256}) {
        TGifColorMap Palette;
        for (int I = 0; I < Size; ++I)
            Palette.push_back({static_cast<std::uint8_t>(N.Range(0, 6) * 40),
                               static_cast<std::uint8_t>(N.Range(0, 6) * 40),
                               static_cast<std::uint8_t>(N.Range(0, 6) * 40)});
        for (int K = 0; K < 300; ++K) {
            TFastColorLookup L(Palette);
            const int R = N.Range(0, 255), G = N.Range(0, 255), B = N.Range(0, 255);
            const int Cell = ((B >> 3) << 10) | ((G >> 3) << 5) | (R >> 3);
            bool Claimed = false;
            for (const TGifColor& C : Palette)
                Claimed = Claimed || (((C.B >> 3) << 10) | ((C.G >> 3) << 5) | (C.R >> 3)) == Cell;
            if (Claimed) continue;
            int Best = 0, BestDistance = 1 << 30;
            for (int I = 0; I < Size; ++I) {
                const int D =
                    std::abs(R - Palette[I].R) + std::abs(G - Palette[I].G) + std::abs(B - Palette[I].B);
                if (D < BestDistance) BestDistance = D, Best = I;
            }
            ASSERT_EQ(L.Lookup(R, G, B), Best) << Size << ": " << R << "," << G << "," << B;
        }
    }
}

TEST(ColorLookup, NearestEntryUsesSquaredDistanceAndTheFirstOfEqualEntries) {
    // From (40,40,40): (62,40,40) is 484 away squared, (52,52,52) 432.
    TSlowColorLookup L({{62, 40, 40}, {52, 52, 52}});
    EXPECT_EQ(L.Lookup(40, 40, 40), 1);
    TSlowColorLookup Tie({{0, 0, 0}, {20, 0, 0}, {10, 0, 0}, {10, 0, 0}});
    EXPECT_EQ(Tie.Lookup(5, 0, 0), 0);
    EXPECT_EQ(Tie.Lookup(10, 0, 0), 2);
    EXPECT_EQ(Tie.Lookup(15, 0, 0), 1) << "as near as entry 2, and earlier";

    // The remembered answers are the computed ones, also for colours that share a cache slot.
    TSlowColorLookup H(WindowsHalftonePalette());
    test::TNoise N(9);
    for (int K = 0; K < 200000; ++K) {
        const int R = N.Range(0, 255), G = N.Range(0, 255), B = N.Range(0, 255);
        ASSERT_EQ(H.Lookup(R, G, B), H.Nearest(R, G, B));
    }
}

TEST(ColorLookup, FixedPalettes) {
    const TGifColorMap& W20 = Windows20Palette();
    ASSERT_EQ(W20.size(), 20u);
    EXPECT_EQ(W20[8], (TGifColor{192, 220, 192}));
    EXPECT_EQ(W20[9], (TGifColor{166, 202, 240}));
    EXPECT_EQ(W20[10], (TGifColor{255, 251, 240}));
    EXPECT_EQ(W20[11], (TGifColor{160, 160, 164}));
    EXPECT_EQ(W20[19], (TGifColor{255, 255, 255}));

    const TGifColorMap& Half = WindowsHalftonePalette();
    ASSERT_EQ(Half.size(), 256u);
    for (int I = 0; I < 10; ++I) {
        EXPECT_EQ(Half[I], W20[I]);
        EXPECT_EQ(Half[246 + I], W20[10 + I]);
    }
    EXPECT_EQ(Half[10], (TGifColor{64, 32, 0}));
    EXPECT_EQ(Half[16], (TGifColor{0, 64, 0}));
    EXPECT_EQ(Half[64], (TGifColor{0, 0, 64}));
    EXPECT_EQ(Half[245], (TGifColor{160, 192, 192}));

    EXPECT_EQ(WindowsGrayPalette(),
              (TGifColorMap{{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}}));
    EXPECT_EQ(MonochromePalette(), (TGifColorMap{{0, 0, 0}, {255, 255, 255}}));
    EXPECT_EQ(GrayScalePalette()[200], (TGifColor{200, 200, 200}));
    EXPECT_EQ(NetscapePalette()[215], (TGifColor{255, 255, 255}));
    EXPECT_EQ(NetscapePalette()[43], (TGifColor{51, 51, 51}));
}

} // namespace
} // namespace zp
