// Undo keeps a figure's whole state and puts it back: what it shows, and how it behaves after.
#include "FigureTestSupport.h"

#include "layers/Line.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"

#include <gtest/gtest.h>

#include <functional>

namespace zp {
namespace {

using TMaker = std::function<T2DFiguren*(TLayerCollection&)>;

std::vector<std::pair<const char*, TMaker>> Kinds() {
    return {
        {"rectangle", [](TLayerCollection& L) { return L.Add<T2DRectangle>(10, 20, 40, 36); }},
        {"ellipse", [](TLayerCollection& L) { return L.Add<T2DEllipse>(5, 5, 30, 50); }},
        {"polygon", [](TLayerCollection& L) { return L.Add<T2DPolygon>(40, 40, 55, 30, 6); }},
        {"line",
         [](TLayerCollection& L) {
             auto* Line = L.Add<T2DLine>(10, 10, 60, 30);
             Line->SetLineWidth(5);
             return Line;
         }},
    };
}

void Style(T2DFiguren& F) {
    F.LayerStyle().SetFillColor(0xFF2040C0);
    F.LayerStyle().SetOutline(true);
    F.LayerStyle().SetOutlineSize(2);
    F.LayerStyle().SetShadow(true);
    F.Paint();
}

TEST(FigureState, SwappingBackRestoresThePictureAndTheNextEditBehavesAsIfNothingHappened) {
    for (const auto& [Name, Make] : Kinds()) {
        SCOPED_TRACE(Name);
        TLayerCollection Layers;
        T2DFiguren* F = Make(Layers);
        T2DFiguren* Twin = Make(Layers);
        Style(*F);
        Style(*Twin);
        F->Rotate(20);
        Twin->Rotate(20);

        // An edit that changes size, place and effects, kept and then taken back.
        std::unique_ptr<TBitmapLayer> Before = F->SaveState();
        ASSERT_TRUE(SameImage(*F, *Before));
        F->Rotate(33);
        F->SetScale({1.5f, 0.5f});
        auto Blur = std::make_unique<TMotionBlur>();
        Blur->SetStrenght(2);
        F->AddEffect(std::move(Blur));
        ASSERT_FALSE(SameImage(*F, *Twin));
        F->SwapState(*Before);
        EXPECT_TRUE(SameImage(*F, *Twin));
        EXPECT_EQ(F->EffectObjectList.size(), 0u);

        // The same further edit on both lands on the same pixels at the same place.
        F->FlipHorizontal();
        Twin->FlipHorizontal();
        F->AddEffect(efEmboss);
        Twin->AddEffect(efEmboss);
        EXPECT_TRUE(SameImage(*F, *Twin));

        // Swapping again brings the edited state back (redo), blur included.
        F->SwapState(*Before);
        ASSERT_EQ(F->EffectObjectList.size(), 1u);
        EXPECT_EQ(dynamic_cast<TMotionBlur&>(*F->EffectObjectList[0]).Strenght(), 2);
        EXPECT_EQ(F->EffectObjectList[0]->EffectBitmap(), &F->Bitmap());
        EXPECT_EQ(F->ScaleFactor().X, 1.5f);
    }
}

} // namespace
} // namespace zp
