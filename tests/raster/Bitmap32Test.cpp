#include "raster/Bitmap32.h"
#include "raster/CompareBitmap.h"
#include "raster/Resamplers.h"

#include <gtest/gtest.h>

#include <vector>

namespace zp {
namespace {

// Pixel values 1, 2, 3, ... row by row, opaque.
void Number(TBitmap32& B) {
    TColor32 V = 0xFF000001;
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X) B.SetPixel(X, Y, V++);
}

std::vector<TColor32> Pixels(const TBitmap32& B) {
    return std::vector<TColor32>(B.Bits(), B.Bits() + static_cast<std::size_t>(B.Width()) * B.Height());
}

TEST(Bitmap32, SizeSemantics) {
    TBitmap32 B;
    EXPECT_TRUE(B.Empty());
    B.SetSize(-3, 5);
    EXPECT_EQ(B.Width(), 0);
    EXPECT_EQ(B.Height(), 5);
    EXPECT_TRUE(B.Empty());

    B.SetSize(3, 2);
    EXPECT_FALSE(B.Empty());
    EXPECT_EQ(Pixels(B), std::vector<TColor32>(6, 0));
    Number(B);
    B.SetClipRect({1, 0, 2, 2});
    B.SetSize(3, 2); // same size: content and clipping kept
    EXPECT_EQ(B.Pixel(2, 1), 0xFF000006u);
    EXPECT_EQ(B.ClipRect(), (TRect{1, 0, 2, 2}));
    B.SetWidth(4); // another size: cleared, clip reset
    EXPECT_EQ(Pixels(B), std::vector<TColor32>(8, 0));
    EXPECT_EQ(B.ClipRect(), (TRect{0, 0, 4, 2}));
}

TEST(Bitmap32, AllocationFailureLeavesSurfaceEmpty) {
    TBitmap32 B;
    B.SetSize(4, 4);
    try {
        B.SetSize(1 << 20, 1 << 20);
        FAIL() << "expected EBitmapError";
    } catch (const EBitmapError& E) {
        EXPECT_STREQ(E.what(), "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(B.Width(), 0);
    B.SetSize(2, 2); // still usable afterwards
    EXPECT_FALSE(B.Empty());
}

TEST(Bitmap32, ClearFillAndFrameRespectClipping) {
    TBitmap32 B;
    B.SetSize(4, 3);
    B.Clear();
    EXPECT_EQ(Pixels(B), std::vector<TColor32>(12, clBlack32));

    B.SetClipRect({1, 1, 3, 3});
    B.Clear(0x11111111);
    EXPECT_EQ(B.Pixel(0, 0), clBlack32);
    EXPECT_EQ(B.Pixel(1, 1), 0x11111111u);
    EXPECT_EQ(B.Pixel(2, 2), 0x11111111u);
    EXPECT_EQ(B.Pixel(3, 2), clBlack32);

    B.FillRectS(-5, -5, 10, 10, 0x22222222);
    EXPECT_EQ(B.Pixel(0, 0), clBlack32);
    EXPECT_EQ(B.Pixel(2, 1), 0x22222222u);
    B.FillRect(-5, -5, 10, 1, 0x33333333); // ignores the clip, stays inside the surface
    EXPECT_EQ(B.Pixel(0, 0), 0x33333333u);
    EXPECT_EQ(B.Pixel(3, 0), 0x33333333u);
    EXPECT_EQ(B.Pixel(0, 1), clBlack32);

    EXPECT_EQ(B.PixelS(0, 0), 0u); // outside the clip: OuterColor
    B.SetOuterColor(0x44444444);
    EXPECT_EQ(B.PixelS(-1, 99), 0x44444444u);
    EXPECT_EQ(B.PixelS(1, 1), 0x22222222u);

    TBitmap32 F;
    F.SetSize(5, 4);
    F.FrameRectS({0, 0, 5, 4}, 0xFF00FF00);
    const std::vector<TColor32> G = {0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, //
                                     0xFF00FF00, 0,          0,          0,          0xFF00FF00, //
                                     0xFF00FF00, 0,          0,          0,          0xFF00FF00, //
                                     0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00};
    EXPECT_EQ(Pixels(F), G);
    F.SetClipRect({0, 0, 2, 4});
    F.FrameRectS({1, 1, 4, 3}, 0xFF0000FF);
    EXPECT_EQ(F.Pixel(1, 1), 0xFF0000FFu);
    EXPECT_EQ(F.Pixel(2, 1), 0u);
    EXPECT_EQ(F.Pixel(3, 2), 0u); // right column lies outside the clip
}

TEST(Bitmap32, LineSetsEndPointOnlyWhenAsked) {
    TBitmap32 B;
    B.SetSize(5, 5);
    B.Line(0, 0, 4, 4, 0xFFFFFFFF, false);
    for (int I = 0; I < 4; ++I) EXPECT_EQ(B.Pixel(I, I), 0xFFFFFFFFu);
    EXPECT_EQ(B.Pixel(4, 4), 0u);
    B.Line(4, 0, 0, 0, 0xFF0000FF, true);
    for (int X = 0; X <= 4; ++X) EXPECT_EQ(B.Pixel(X, 0), 0xFF0000FFu);
    B.Line(-10, 2, 10, 2, 0xFF00FF00, true); // partly outside: clipped, no crash
    for (int X = 0; X < 5; ++X) EXPECT_EQ(B.Pixel(X, 2), 0xFF00FF00u);
}

TEST(Bitmap32, RotationsAndFlipsOfThreeByTwo) {
    TBitmap32 S;
    S.SetSize(3, 2); // 1 2 3 / 4 5 6
    Number(S);
    auto V = [](std::initializer_list<unsigned> L) {
        std::vector<TColor32> R;
        for (unsigned X : L) R.push_back(0xFF000000 | X);
        return R;
    };

    TBitmap32 D;
    S.Rotate90(&D);
    ASSERT_EQ(D.Width(), 2);
    ASSERT_EQ(D.Height(), 3);
    EXPECT_EQ(Pixels(D), V({4, 1, 5, 2, 6, 3}));
    EXPECT_EQ(D.Pixel(1, 0), S.Pixel(0, 0)); // top-right is the source's top-left

    S.Rotate270(&D);
    EXPECT_EQ(Pixels(D), V({3, 6, 2, 5, 1, 4}));
    S.Rotate180(&D);
    EXPECT_EQ(Pixels(D), V({6, 5, 4, 3, 2, 1}));
    S.FlipHorz(&D);
    EXPECT_EQ(Pixels(D), V({3, 2, 1, 6, 5, 4}));
    S.FlipVert(&D);
    EXPECT_EQ(Pixels(D), V({4, 5, 6, 1, 2, 3}));
    EXPECT_EQ(Pixels(S), V({1, 2, 3, 4, 5, 6})); // the source is untouched

    S.SetClipRect({1, 1, 2, 2});
    S.Rotate90();
    EXPECT_EQ(S.Width(), 2);
    EXPECT_EQ(S.Height(), 3);
    EXPECT_EQ(Pixels(S), V({4, 1, 5, 2, 6, 3}));
    EXPECT_EQ(S.ClipRect(), (TRect{0, 0, 2, 3}));
    S.Rotate270();
    EXPECT_EQ(Pixels(S), V({1, 2, 3, 4, 5, 6}));
    S.Rotate180();
    S.Rotate180();
    S.FlipHorz();
    S.FlipHorz();
    S.FlipVert();
    S.FlipVert();
    EXPECT_EQ(Pixels(S), V({1, 2, 3, 4, 5, 6}));
}

TEST(Bitmap32, ResetAlphaKeepsColour) {
    TBitmap32 B;
    B.SetSize(2, 1);
    B.SetPixel(0, 0, 0x12345678);
    B.ResetAlpha();
    EXPECT_EQ(B.Pixel(0, 0), 0xFF345678u);
    EXPECT_EQ(B.Pixel(1, 0), 0xFF000000u);
    B.ResetAlpha(0x180);
    EXPECT_EQ(B.Pixel(0, 0), 0x80345678u);
}

TEST(Bitmap32, AssignCopiesPixelsAndDrawingState) {
    TBitmap32 S;
    S.SetSize(3, 2);
    Number(S);
    S.SetDrawMode(dmBlend);
    S.SetCombineMode(cmMerge);
    S.SetWrapMode(wmMirror);
    S.SetMasterAlpha(77);
    S.SetOuterColor(0x01020304);
    S.SetResamplerClassName("TLinearResampler");

    TBitmap32 D;
    D.Assign(&S);
    EXPECT_EQ(Pixels(D), Pixels(S));
    EXPECT_EQ(D.DrawMode(), dmBlend);
    EXPECT_EQ(D.CombineMode(), cmMerge);
    EXPECT_EQ(D.WrapMode(), wmMirror);
    EXPECT_EQ(D.MasterAlpha(), 77u);
    EXPECT_EQ(D.OuterColor(), 0x01020304u);
    EXPECT_EQ(D.ResamplerClassName(), "TLinearResampler");
    EXPECT_NE(&D.Resampler(), &S.Resampler());

    D.Assign(nullptr);
    EXPECT_TRUE(D.Empty());
}

TEST(Bitmap32, ResamplersAreCreatedByClassName) {
    TBitmap32 B;
    EXPECT_EQ(B.ResamplerClassName(), "TNearestResampler");
    B.SetResamplerClassName("TLinearResampler");
    EXPECT_EQ(B.ResamplerClassName(), "TLinearResampler");
    EXPECT_THROW(B.SetResamplerClassName("TNoSuchResampler"), EBitmapError);
    EXPECT_EQ(B.ResamplerClassName(), "TLinearResampler");
    EXPECT_EQ(CreateResampler("TBicubic"), nullptr);
    B.SetMasterAlpha(1000);
    EXPECT_EQ(B.MasterAlpha(), 255u);
}

TEST(Bitmap32, ChangeNotificationsReportAreaAndNest) {
    TBitmap32 B;
    B.SetSize(10, 10);
    int Changes = 0;
    std::vector<TRect> Areas;
    B.OnChange.Add([&](TBitmap32&) { ++Changes; });
    const int Id = B.OnAreaChanged.Add([&](TBitmap32&, const TRect& R) { Areas.push_back(R); });

    B.FillRect(2, 3, 4, 5, clWhite32);
    EXPECT_EQ(Changes, 1);
    ASSERT_EQ(Areas.size(), 1u);
    EXPECT_EQ(Areas[0], (TRect{2, 3, 4, 5}));

    B.BeginUpdate();
    B.BeginUpdate();
    B.FillRect(0, 0, 1, 1, clWhite32);
    B.EndUpdate();
    B.FillRect(8, 8, 9, 9, clWhite32);
    EXPECT_EQ(Changes, 1); // nothing while updating
    B.EndUpdate();
    EXPECT_EQ(Changes, 2); // one notification for everything inside
    EXPECT_EQ(Areas.back(), (TRect{0, 0, 9, 9}));

    B.BeginUpdate();
    B.EndUpdate();
    EXPECT_EQ(Changes, 2); // nothing changed, nothing raised

    B.OnAreaChanged.Remove(Id);
    B.Clear();
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(Areas.size(), 2u);
}

} // namespace
} // namespace zp

namespace zp {
namespace {

TEST(CompareBitmap, ComparesColourBytesOnly) {
    TBitmap32 A, B;
    A.SetSize(3, 2);
    B.SetSize(3, 2);
    A.Clear(0xFF102030);
    B.Clear(0x00102030); // alpha differs only
    EXPECT_TRUE(CompareBitmap(RawView(A), RawView(B)));
    B.SetPixel(2, 1, 0xFF102031);
    EXPECT_FALSE(CompareBitmap(RawView(A), RawView(B)));
    B.SetSize(2, 3);
    EXPECT_FALSE(CompareBitmap(RawView(A), RawView(B)));

    // A 24-bit picture with padded rows against the 32-bit surface.
    std::vector<std::uint8_t> Rgb(2 * 12, 0xEE);
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 3; ++X) {
            Rgb[Y * 12 + X * 3 + 0] = 0x30;
            Rgb[Y * 12 + X * 3 + 1] = 0x20;
            Rgb[Y * 12 + X * 3 + 2] = 0x10;
        }
    const TRawBitmapView Packed{3, 2, 3, 12, Rgb.data()};
    EXPECT_TRUE(CompareBitmap(RawView(A), Packed));
    Rgb[12 + 6] = 0x31;
    EXPECT_FALSE(CompareBitmap(RawView(A), Packed));
}

} // namespace
} // namespace zp
