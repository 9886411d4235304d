#include "FigureTestSupport.h"

#include "layers/Rectangle.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

std::unique_ptr<TMotionBlur> Blur(int Strength, TBlurDirection Direction = bldRight) {
    auto B = std::make_unique<TMotionBlur>();
    B->SetStrenght(Strength);
    B->SetDirection(Direction);
    return B;
}

TEST(Figure, NewFigureDrawsBlendedScaledAndCropped) {
    TLayerCollection Layers;
    auto* F = Layers.Add<T2DRectangle>();
    EXPECT_STREQ(F->ClassName(), "T2DRectangle");
    EXPECT_EQ(F->Bitmap().DrawMode(), dmBlend);
    EXPECT_EQ(F->Bitmap().CombineMode(), cmMerge);
    EXPECT_TRUE(F->Scaled());
    EXPECT_TRUE(F->Cropped());
    EXPECT_FALSE(F->HelpLayer());
    EXPECT_TRUE(F->FirstPaint);
    EXPECT_EQ(F->ScaleFactor(), (TFloatPoint{1, 1}));
    EXPECT_TRUE(F->Bitmap().Empty());
    EXPECT_TRUE(F->EffectObjectList.empty());
}

TEST(Figure, SizesCountOutlineShadowScaleAndBlurMargin) {
    TLayerCollection Layers;
    auto* F = Layers.Add<T2DRectangle>();
    EXPECT_EQ(F->GetWidth(), 2); // nothing to show still needs a bitmap
    EXPECT_EQ(F->GetHeight(), 2);

    F->SetAX(10.5f); // rounds to even
    F->SetAY(-7);
    T2DLayerStyle& S = F->LayerStyle();
    S.SetOutline(true);
    S.SetOutlineSize(3);
    S.SetShadow(true);
    S.SetShadowXShift(-4);
    S.SetShadowYShift(1);
    EXPECT_EQ(F->GetWidth(), 10 + 6 + 4);
    EXPECT_EQ(F->GetHeight(), 7 + 6 + 1);

    F->AddEffect(Blur(3));
    F->AddEffect(Blur(8));
    EXPECT_EQ(F->MotionBlurMargin(), 40);
    EXPECT_EQ(F->GetWidth(), 20 + 40);
    F->SetScale({1.5f, 0.5f});
    EXPECT_EQ(F->GetWidth(), 30 + 40);
    EXPECT_EQ(F->GetHeight(), 7 + 40);
    // A strength below 1 from a damaged file smears nothing and takes no room.
    F->RemoveLastEffect();
    F->RemoveLastEffect();
    F->AddEffect(Blur(-9));
    EXPECT_EQ(F->MotionBlurMargin(), 0);
}

TEST(Figure, DirectionVectorPointsFromTheFirstToTheSecondPoint) {
    TLayerCollection Layers;
    auto* F = Layers.Add<T2DRectangle>();
    F->SetX1(50);
    F->SetY1(10);
    F->SetX2(20);
    F->SetY2(40);
    F->SetAX(-30);
    F->SetAY(30);
    F->ChangeDirectionVector();
    EXPECT_EQ((std::array{F->X1(), F->Y1(), F->X2(), F->Y2()}), (std::array{20, 10, 50, 40}));
    EXPECT_EQ(F->AX(), 30);
    EXPECT_EQ(F->AY(), 30);
}

TEST(Figure, RectanglesInPictureAndBitmapPixels) {
    TLayerCollection Layers;
    auto* F = Layers.Add<T2DRectangle>();
    F->Bitmap().SetSize(30, 40);
    F->SetLocation({10, 10, 40, 50});
    F->GPBoundingRect = {5, 6, 20, 30};
    EXPECT_EQ(F->BoundingRect(), (TFloatRect{15, 16, 36, 47}));
    EXPECT_EQ(F->PictureRect(), (TFloatRect{5, 6, 26, 37}));
    F->GPBoundingRect = {5, 6, 40, 50}; // reaches past the bitmap
    EXPECT_EQ(F->PictureRect(), (TFloatRect{5, 6, 29, 39}));
    EXPECT_EQ(F->GetPictureCoord({12, 5, 20, 9}), (TFloatRect{2, 5, 10, 9}));
}

TEST(Figure, ExtractedPictureIsTheFigureStretchedOneSmaller) {
    TLayerCollection Layers;
    auto* R = Layers.Add<T2DRectangle>(0, 0, 20, 10);
    R->LayerStyle().SetFillColor(0xFF204060);
    R->Paint();
    // Bounds (x, y, 20, 10) give the source (x, y)-(x + 21, y + 11): a 20 x 10 picture.
    const std::unique_ptr<TBitmap32> B = R->ExtractBitmap32();
    ASSERT_EQ(B->Width(), 20);
    ASSERT_EQ(B->Height(), 10);
    EXPECT_EQ(B->Pixel(10, 5), 0xFF204060u);
    const QImage Q = R->ExtractBitmap();
    ASSERT_EQ(Q.size(), QSize(20, 10));
    EXPECT_EQ(Q.pixel(10, 5), 0xFF204060u);
    EXPECT_EQ(Q.pixel(0, 0), B->Pixel(0, 0));

    auto* Blank = Layers.Add<T2DRectangle>();
    EXPECT_TRUE(Blank->ExtractBitmap32()->Empty());
    EXPECT_TRUE(Blank->ExtractBitmap().isNull());
}

TEST(Effects, ListAndObjectsStayInStep) {
    TLayerCollection Layers;
    auto* F = Layers.Add<T2DRectangle>(0, 0, 10, 10);
    F->AddingEffect(efEmboss);
    F->AddingEffect(efSharpen);
    F->AddingEffect(efEmboss);
    F->AddingEffect(efMotionBlur); // needs its parameters: comes as an object
    F->AddingEffect(static_cast<TEffectType>(9));
    F->RemoveLastEffect();
    EXPECT_EQ(F->LayerStyle().EffectList, (std::vector<TEffectType>{efEmboss, efSharpen}));
    ASSERT_EQ(F->EffectObjectList.size(), 2u);
    EXPECT_NE(dynamic_cast<TEmboss*>(F->EffectObjectList[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<TSharpen*>(F->EffectObjectList[1].get()), nullptr);
    EXPECT_EQ(F->EffectObjectList[1]->EffectBitmap(), &F->Bitmap());

    // Only a motion blur object is taken; any object repaints.
    F->Paint();
    F->Bitmap().SetPixel(0, 0, 0xFF123456);
    F->AddEffect(std::make_unique<TSoften>());
    EXPECT_EQ(F->LayerStyle().EffectList.size(), 2u);
    EXPECT_EQ(F->Bitmap().Pixel(0, 0), 0u);
    F->AddEffect(Blur(1));
    EXPECT_EQ(F->LayerStyle().EffectList.back(), efMotionBlur);
    EXPECT_EQ(F->EffectObjectList.size(), 3u);

    // Drawing drops objects whose kinds the style no longer lists.
    F->LayerStyle().EffectList.resize(1);
    F->Paint();
    EXPECT_EQ(F->EffectObjectList.size(), 1u);
}

TEST(Effects, RunAfterEveryDrawingOnTheFreshPicture) {
    TLayerCollection Layers;
    auto* R = Layers.Add<T2DRectangle>(10, 10, 40, 30);
    R->LayerStyle().SetFillColor(0xFF3080C0);
    R->Paint();
    EXPECT_EQ(ImagePixel(*R, 25, 20), 0xFF3080C0u);
    // Edge finding blackens a uniform inside and keeps its alpha; redrawing does not repeat it.
    R->AddEffect(efFindEdges);
    EXPECT_EQ(ImagePixel(*R, 25, 20), 0xFF000000u);
    R->Paint();
    EXPECT_EQ(ImagePixel(*R, 25, 20), 0xFF000000u);
    R->RemoveLastEffect();
    R->Paint();
    EXPECT_EQ(ImagePixel(*R, 25, 20), 0xFF3080C0u);

    // A motion blur widens the bitmap by its margin and smears to the right of the figure,
    // which stays where it was.
    EXPECT_EQ(R->Bitmap().Width(), 2 * 36); // the diagonal of 30 x 20
    R->AddEffect(Blur(1, bldRight));
    EXPECT_EQ(R->Bitmap().Width(), 2 * 43); // ... of 35 x 25
    EXPECT_EQ(ImagePixel(*R, 25, 20), 0xFF3080C0u);
    EXPECT_EQ(ImageAlpha(*R, 9, 20), 0u);
    // The half-covered edge column 40 reaches four pixels further.
    EXPECT_GT(ImageAlpha(*R, 42, 20), 0u);
    EXPECT_LT(ImageAlpha(*R, 42, 20), 255u);
    EXPECT_GT(ImageAlpha(*R, 44, 20), 0u);
    EXPECT_EQ(ImageAlpha(*R, 45, 20), 0u);
    EXPECT_EQ(R->BoundingRect().Left, 10);
}

TEST(Figure, HelpStyleIsARedOutlineWithoutFill) {
    TLayerCollection Layers;
    auto* F = Layers.Add<T2DRectangle>();
    F->SetHelpLineStyle();
    const T2DLayerStyle& S = F->LayerStyle();
    EXPECT_EQ(S.FillColor(), 0u);
    EXPECT_EQ(S.LineColor(), 0xFFFF0000u);
    EXPECT_EQ(S.OutlineColor(), 0xFFFF0000u);
    EXPECT_TRUE(S.Outline());
    EXPECT_EQ(S.OutlineSize(), 1);
    EXPECT_TRUE(F->HelpLayer());
    EXPECT_TRUE(F->Scaled());
    EXPECT_FALSE(F->Cropped());
}

TEST(Figure, OutlineWidthIsDroppedWhenTheOutlineIsOff) {
    TLayerCollection Layers;
    auto* R = Layers.Add<T2DRectangle>(0, 0, 10, 10);
    R->LayerStyle().SetOutlineSize(7);
    R->Paint();
    EXPECT_EQ(R->LayerStyle().OutlineSize(), 0);
}

} // namespace
} // namespace zp
