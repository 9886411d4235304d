// Picture layers: the picture drawn as a figure, its silhouette traced for outline and shadow.
#include "FigureTestSupport.h"

#include "layers/PicLayer.h"
#include "layers/XmlValues.h"

#include <sstream>

#include <gtest/gtest.h>

namespace zp {
namespace {

std::unique_ptr<TBitmap32> Opaque(int W, int H, TColor32 Colour) {
    auto B = std::make_unique<TBitmap32>();
    B->SetSize(W, H);
    B->Clear(Colour);
    return B;
}

TEST(PicLayer, APictureSitsAtTheOriginOfASquareAboutItsDiagonal) {
    TLayerCollection Layers;
    auto* P = Layers.Add<TPicLayer>(*Opaque(100, 50, 0xFF3366CC));
    EXPECT_EQ(P->GetWidth(), 100);
    EXPECT_EQ(P->GetHeight(), 50);
    EXPECT_EQ(P->Bitmap().Width(), 246);
    EXPECT_EQ(P->StartPoint, (TPoint{123, 123}));
    EXPECT_EQ(ImagePixel(*P, 0, 0), 0xFF3366CCu);
    EXPECT_EQ(ImagePixel(*P, 99, 49), 0xFF3366CCu);
    EXPECT_EQ(ImageAlpha(*P, 100, 20), 0u);
    EXPECT_EQ(ImageAlpha(*P, -1, 20), 0u);
    // The silhouette runs round the picture.
    ASSERT_GE(P->PathPoints.size(), 4u);
    for (const TGPPointF& Q : P->PathPoints) {
        EXPECT_GE(Q.X, 123.0f);
        EXPECT_LE(Q.X, 223.0f);
    }
}

TEST(PicLayer, HalfOpacityAndAShadowOfItsOwnOpacity) {
    TLayerCollection Layers;
    auto* P = Layers.Add<TPicLayer>(*Opaque(20, 10, 0xFFFF0000));
    P->LayerStyle().SetFillColorAlpha(128);
    P->LayerStyle().SetShadow(true);
    P->LayerStyle().SetShadowXShift(5);
    P->LayerStyle().SetShadowYShift(0);
    P->Paint();
    EXPECT_NEAR(static_cast<int>(ImageAlpha(*P, 2, 5)), 128, 1);
    // Right of the picture only the shadow shows, opaque grey.
    EXPECT_EQ(ImagePixel(*P, 22, 5), 0xFF7F7F7Fu);
}

TEST(PicLayer, OnlyTheFirstIslandIsOutlined) {
    auto Two = Opaque(40, 10, 0);
    Two->FillRect(0, 0, 10, 10, 0xFF00FF00);
    Two->FillRect(30, 0, 40, 10, 0xFF00FF00);
    TLayerCollection Layers;
    auto* P = Layers.Add<TPicLayer>(*Two);
    P->LayerStyle().SetOutline(true);
    P->LayerStyle().SetOutlineSize(2);
    P->LayerStyle().SetOutlineColor(0xFF0000FF);
    P->Paint();
    float Right = 0;
    for (const TGPPointF& Q : P->PathPoints) Right = std::max(Right, Q.X - P->StartPoint.X);
    EXPECT_LT(Right, 15.0f);
    // The outline is stroked round the left island, not the right one.
    EXPECT_EQ(ImagePixel(*P, 10, 5) & 0xFF0000FFu, 0xFF0000FFu);
    EXPECT_EQ(ImagePixel(*P, 29, 5), 0u);
}

TEST(PicLayer, ClonesAndSavedStatesShowTheSame) {
    TLayerCollection Layers;
    auto* P = Layers.Add<TPicLayer>(*Opaque(30, 20, 0xFF808000));
    P->Rotate(25);
    P->SetLocation(
        {5, 6, 5 + static_cast<float>(P->Bitmap().Width()), 6 + static_cast<float>(P->Bitmap().Height())});
    TPicLayer* C = P->Clone(Layers);
    C->SetLocation(P->Location());
    EXPECT_TRUE(SameImage(*P, *C));
    auto Saved = P->SaveState();
    P->FlipHorizontal();
    P->SwapState(*Saved);
    EXPECT_TRUE(SameImage(*P, *C));
    P->FlipHorizontal();
    C->FlipHorizontal();
    EXPECT_TRUE(SameImage(*P, *C));
}

TEST(PicLayer, AKeptSilhouetteDrawsWhatAFreshTraceDraws) {
    auto Picture = Opaque(40, 30, 0);
    Picture->FillRect(5, 5, 35, 25, 0xFF2080F0);
    Picture->FillRect(15, 0, 25, 30, 0x90F08020);
    TLayerCollection Layers;
    auto* Kept = Layers.Add<TPicLayer>(*Picture);
    auto* Fresh = Layers.Add<TPicLayer>(*Picture);
    for (TPicLayer* P : {Kept, Fresh}) {
        P->LayerStyle().SetOutline(true);
        P->LayerStyle().SetOutlineSize(3);
        P->LayerStyle().SetShadow(true);
    }
    auto Step = [&](auto&& Edit) {
        Edit(*Kept);
        Fresh->ForgetSilhouette();
        Edit(*Fresh);
        EXPECT_TRUE(SameImage(*Kept, *Fresh));
        EXPECT_EQ(Kept->PathPoints.size(), Fresh->PathPoints.size());
    };
    Step([](TPicLayer& P) { P.Paint(); });
    Step([](TPicLayer& P) { P.Rotate(30); });
    Step([](TPicLayer& P) { P.FlipVertical(); });
    Step([](TPicLayer& P) { P.SetScale({1.5f, 1.0f}); });
    Step([](TPicLayer& P) { P.LayerStyle().SetOutlineSize(6), P.Paint(); });
}

TEST(PicLayer, ReadsBackFromItsElementsToTheSamePicture) {
    auto Picture = Opaque(24, 16, 0x00000000);
    Picture->FillRect(2, 2, 22, 14, 0xC0F04000);
    TLayerCollection Layers;
    auto* P = Layers.Add<TPicLayer>(*Picture);
    P->LayerStyle().SetShadow(true);
    P->LayerStyle().SetOutline(true);
    P->LayerStyle().SetOutlineSize(2);
    P->AddEffect(efSharpen);
    P->Rotate(15);
    P->SetScale({1.25f, 1.0f});

    pugi::xml_document Doc;
    P->WriteXML(Doc.append_child("Layer"));
    std::ostringstream Out;
    Doc.save(Out);
    pugi::xml_document Back;
    ASSERT_TRUE(Back.load_string(Out.str().c_str()));
    const pugi::xml_node Layer = Back.document_element();
    EXPECT_EQ(ReadXMLInteger(Layer, "LayerType"), 0);

    // A reader makes the layer from its picture, then reads the rest.
    const auto Stored = TGeneralGraphicFunctions::StringToTGPImage(ReadXMLText(Layer, "PictureData"));
    ASSERT_TRUE(Stored);
    auto* R = Layers.Add<TPicLayer>(*Stored);
    R->ReadXML(Layer, 3000);
    R->Paint();
    R->SetLocation(P->Location());
    EXPECT_EQ(R->ScaleFactor(), P->ScaleFactor());
    EXPECT_EQ(R->LayerStyle().EffectList, P->LayerStyle().EffectList);
    EXPECT_TRUE(SameImage(*R, *P));
}

} // namespace
} // namespace zp
