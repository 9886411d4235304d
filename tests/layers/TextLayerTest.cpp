// Text layers: the glyph outline drawn like a figure around a fixed origin, and their file elements.
#include "FigureTestSupport.h"

#include "layers/TextLayer.h"
#include "layers/XmlValues.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zp {
namespace {

TTextLayer* MakeText(TLayerCollection& Layers, const QString& Text, int Size = 40) {
    auto* T = Layers.Add<TTextLayer>();
    T->FontLayerStyle().SetText(Text);
    T->FontLayerStyle().SetFontSize(Size);
    T->FontLayerStyle().SetFillColor(0xFF2040C0);
    T->WriteText(0, 0);
    return T;
}

unsigned MaxAlpha(const TBitmap32& B) {
    unsigned Max = 0;
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X) Max = std::max(Max, B.Pixel(X, Y) >> 24);
    return Max;
}

// Picture position of the text's origin.
TFloatPoint Origin(const TTextLayer& T) {
    return {T.Location().Left + static_cast<float>(T.StartPoint.X),
            T.Location().Top + static_cast<float>(T.StartPoint.Y)};
}

TEST(TextLayer, TheSquareIsTwiceTheLongerSideAndTheOriginStaysWhenTheFontGrows) {
    TLayerCollection Layers;
    TTextLayer* T = MakeText(Layers, QStringLiteral("Banner"));
    const int M = std::max(T->FontLayerStyle().PixelWidth(), T->FontLayerStyle().PixelHeight());
    EXPECT_EQ(T->Bitmap().Width(), 2 * M);
    EXPECT_EQ(T->Bitmap().Height(), 2 * M);
    EXPECT_EQ(T->StartPoint, (TPoint{M, M}));
    // The text starts at the origin and lies to its right and below.
    EXPECT_GE(T->GPBoundingRect.X, static_cast<float>(M));
    EXPECT_LT(T->GPBoundingRect.X, static_cast<float>(M) + 10);
    EXPECT_GT(T->GPBoundingRect.Width, 80);

    T->SetLocation({100, 50, 100 + static_cast<float>(T->Bitmap().Width()),
                    50 + static_cast<float>(T->Bitmap().Height())});
    const TFloatPoint Before = Origin(*T);
    const int OldWidth = T->FontLayerStyle().PixelWidth();
    T->FontLayerStyle().SetFontSize(80);
    T->WriteText(0, 0);
    EXPECT_GT(T->FontLayerStyle().PixelWidth(), OldWidth * 3 / 2);
    EXPECT_GT(T->Bitmap().Width(), 2 * M);
    EXPECT_EQ(Origin(*T).X, Before.X);
    EXPECT_EQ(Origin(*T).Y, Before.Y);
    EXPECT_EQ(T->Location().Width(), static_cast<float>(T->Bitmap().Width()));
}

TEST(TextLayer, ScalingMultipliesAndGrowsTheSquare) {
    TLayerCollection Layers;
    TTextLayer* T = MakeText(Layers, QStringLiteral("Wide text"), 20);
    const int W1 = T->Bitmap().Width();
    const float Text1 = T->GPBoundingRect.Width;
    T->SetScaleFactor({2, 2});
    T->SetScaleFactor({2, 2});
    EXPECT_EQ(T->ScaleFactor().X, 4.0f);
    EXPECT_EQ(T->ScaleFactor().Y, 4.0f);
    EXPECT_NEAR(T->Bitmap().Width(), 4 * W1, 4);
    EXPECT_NEAR(T->GPBoundingRect.Width, 4 * Text1, 2);
    // The scaled text still fits its square.
    EXPECT_LE(T->GPBoundingRect.X + T->GPBoundingRect.Width, static_cast<float>(T->Bitmap().Width()));
}

TEST(TextLayer, TextIsStrokedWithoutAnOutlineAndItsShadowToo) {
    TLayerCollection Layers;
    auto* T = Layers.Add<TTextLayer>();
    TFontLayerStyle& S = T->FontLayerStyle();
    S.SetText(QStringLiteral("HI"));
    S.SetFontSize(40);
    S.SetFillColorAlpha(128);
    T->WriteText(0, 0);
    // A fill alone never exceeds its alpha; the stroke over the fill's edge does.
    EXPECT_GT(MaxAlpha(T->Bitmap()), 160u);

    // An invisible fill and pen leave only the shadow: filled alone it would stay at 128.
    S.SetFillColorAlpha(0);
    S.SetShadow(true);
    S.SetShadowAlpha(128);
    T->WriteText(0, 0);
    EXPECT_GT(MaxAlpha(T->Bitmap()), 160u);
    EXPECT_EQ(S.ShadowTransformMatrix().M11, T->Matrix.GetElements().M11);
}

TEST(TextLayer, FlipsTurnsAndEffectsRedrawAndComeBack) {
    TLayerCollection Layers;
    TTextLayer* T = MakeText(Layers, QStringLiteral("Fb"));
    auto Plain = T->SaveState();
    T->FlipHorizontal();
    EXPECT_FALSE(SameImage(*T, *Plain));
    T->FlipHorizontal();
    EXPECT_TRUE(SameImage(*T, *Plain));

    T->Rotate(90);
    // Turned a quarter, the text is taller than wide.
    EXPECT_GT(T->GPBoundingRect.Height, T->GPBoundingRect.Width);
    T->Rotate(-90);
    T->AddEffect(efSoften);
    EXPECT_EQ(T->EffectObjectList.size(), 1u);
    EXPECT_FALSE(SameImage(*T, *Plain));
    T->RemoveLastEffect();
    T->WriteText(0, 0);
    EXPECT_TRUE(T->FontLayerStyle().EffectList.empty());

    // A motion blur widens the square by its margin.
    const int Before = T->Bitmap().Width();
    auto Blur = std::make_unique<TMotionBlur>();
    Blur->SetStrenght(4);
    T->AddEffect(std::move(Blur));
    EXPECT_EQ(T->Bitmap().Width(), Before + 2 * 20);
}

TEST(TextLayer, ARedrawInTheSameSquareLeavesNothingOfTheLastOne) {
    TLayerCollection Layers;
    TTextLayer* T = MakeText(Layers, QStringLiteral("Quer"));
    T->FontLayerStyle().SetShadow(true);
    T->WriteText(0, 0);
    const int Side = T->Bitmap().Width();
    T->Rotate(30);
    T->FlipVertical();
    T->FontLayerStyle().SetShadowXShift(-3);
    T->WriteText(0, 0);
    ASSERT_EQ(T->Bitmap().Width(), Side);
    // A fresh layer draws the same state into a new, wholly cleared square.
    TTextLayer* Fresh = T->Clone(Layers);
    Fresh->SetLocation(T->Location());
    EXPECT_TRUE(SameImage(*T, *Fresh));
    // A change made to the bitmap from outside is cleared away too.
    T->Bitmap().FillRect(0, 0, 5, 5, 0xFFFF0000);
    T->WriteText(0, 0);
    EXPECT_TRUE(SameImage(*T, *Fresh));
}

TEST(TextLayer, CloneAndSavedStateDrawTheSameText) {
    TLayerCollection Layers;
    TTextLayer* T = MakeText(Layers, QStringLiteral("Copy me"));
    T->FontLayerStyle().SetOutline(true);
    T->FontLayerStyle().SetOutlineSize(3);
    T->SetScaleFactor({1.5f, 1.5f});
    T->AddEffect(efEmboss);

    TTextLayer* C = T->Clone(Layers);
    C->SetLocation(T->Location());
    EXPECT_EQ(C->FontLayerStyle().Text(), QStringLiteral("Copy me"));
    EXPECT_TRUE(SameImage(*T, *C));

    auto Saved = T->SaveState();
    T->FontLayerStyle().SetText(QStringLiteral("Changed"));
    T->WriteText(0, 0);
    T->SwapState(*Saved);
    EXPECT_EQ(T->FontLayerStyle().Text(), QStringLiteral("Copy me"));
    EXPECT_TRUE(SameImage(*T, *C));
}

TEST(TextLayer, ProjectElementsReadBackToTheSameText) {
    TLayerCollection Layers;
    TTextLayer* T = MakeText(Layers, QStringLiteral("Grüße"));
    TFontLayerStyle& S = T->FontLayerStyle();
    S.SetFontItalic(true);
    S.SetFontUnderline(true);
    S.SetFillGradient(true);
    S.SetFillGradientColor1(0xFFFF0000);
    S.SetFillGradientColor2(0xFF0000FF);
    S.SetFillGradientPStart(T->StartPoint);
    S.SetFillGradientPEnd({T->StartPoint.X + 100, T->StartPoint.Y + 40});
    T->SetScaleFactor({1.25f, 1.0f});
    auto Blur = std::make_unique<TMotionBlur>();
    Blur->SetStrenght(2);
    Blur->SetDirection(bldTopLeft);
    T->AddEffect(std::move(Blur));

    pugi::xml_document Doc;
    pugi::xml_node Node = Doc.append_child("Layer");
    T->SaveToXML(Node);
    EXPECT_EQ(ReadXMLInteger(Node, "LayerType"), 1);
    EXPECT_EQ(ReadXMLText(Node, "Text"), "Grüße");
    EXPECT_EQ(Node.last_child().type(), pugi::node_comment);

    auto* R = Layers.Add<TTextLayer>();
    R->LoadFromXML(Node, 3000);
    R->WriteText(0, 0);
    R->SetLocation(T->Location());
    EXPECT_TRUE(R->FontLayerStyle().FontItalic());
    EXPECT_EQ(R->ScaleFactor().X, 1.25f);
    ASSERT_EQ(R->EffectObjectList.size(), 1u);
    EXPECT_TRUE(SameImage(*T, *R));
}

TEST(TextLayer, AFontThatIsNotInstalledBecomesArialAndIsRemembered) {
    EXPECT_TRUE(IsFontInstalled(QStringLiteral("arial")));
    EXPECT_TRUE(IsFontInstalled(QStringLiteral("LIBERATION SANS")));
    EXPECT_FALSE(IsFontInstalled(QStringLiteral("No Such Font Pro")));

    const auto Read = [](const char* Font, int Version) {
        pugi::xml_document Doc;
        pugi::xml_node Node = Doc.append_child("Layer");
        TLayerCollection Layers;
        TTextLayer* T = MakeText(Layers, QStringLiteral("x"));
        T->SaveToXML(Node);
        Node.child("FontName").text().set(Font);
        if (Version <= 2000) {
            // The older elements: a size in points and two style flags.
            Node.child("FontSize").text().set(15);
            Node.append_child("Bold").text().set("True");
            Node.append_child("Italic").text().set("False");
            Node.append_child("BlurFont").text().set("True");
            Node.append_child("BlurFoDirect").text().set(3);
            Node.append_child("BlurFoStrength").text().set(2);
            for (const char* N : {"FontColor", "FontTransp", "Border", "BorderSize", "BorderColor",
                                  "BorderTransp", "ShadowTransp"})
                Node.append_child(N).text().set(N == std::string("Border") ? "False" : "255");
        }
        auto Style = std::make_unique<TTextLayer>();
        Style->LoadFromXML(Node, Version);
        return Style;
    };
    const auto Missing = Read("No Such Font Pro", 3000);
    EXPECT_EQ(Missing->FontLayerStyle().FontName(), QStringLiteral("Arial"));
    EXPECT_EQ(Missing->FontLayerStyle().MissingFont(), QStringLiteral("No Such Font Pro"));
    const auto OtherCase = Read("liberation sans", 3000);
    EXPECT_TRUE(OtherCase->FontLayerStyle().MissingFont().isEmpty());
    EXPECT_EQ(OtherCase->FontLayerStyle().FontFamily().Name(), QStringLiteral("Liberation Sans"));

    const auto Old = Read("Arial", 2000);
    EXPECT_EQ(Old->FontLayerStyle().FontSize(), 20);
    EXPECT_TRUE(Old->FontLayerStyle().FontBold());
    ASSERT_EQ(Old->EffectObjectList.size(), 1u);
    EXPECT_EQ(Old->FontLayerStyle().EffectList.at(0), efMotionBlur);
}

} // namespace
} // namespace zp
