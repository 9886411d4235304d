#include "FigureTestSupport.h"

#include "layers/Line.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/XmlValues.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zp {
namespace {

constexpr int Version = 3000;

pugi::xml_node Parse(pugi::xml_document& Doc, const char* Text) {
    EXPECT_TRUE(Doc.load_string(Text)) << Text;
    return Doc.document_element();
}

// The file as the writer leaves it, read back by the parser.
std::string Saved(const pugi::xml_document& Doc) {
    std::ostringstream Out;
    Doc.save(Out, "  ", pugi::format_default, pugi::encoding_utf8);
    return Out.str();
}

std::string ErrorOf(const std::function<void()>& Read) {
    try {
        Read();
    } catch (const EXMLReadError& E) {
        return E.what();
    }
    return "no error";
}

TEST(XmlValues, FloatsAreWrittenWithADecimalCommaAndReadWithEitherSeparator) {
    EXPECT_EQ(FormatXMLFloat(1), "1");
    EXPECT_EQ(FormatXMLFloat(0.5f), "0,5");
    EXPECT_EQ(FormatXMLFloat(-2.25f), "-2,25");
    EXPECT_EQ(FormatXMLFloat(0), "0");
    EXPECT_EQ(FormatXMLFloat(1234567), "1234567");
    EXPECT_EQ(FormatXMLFloat(0.1f), "0,100000001490116"); // the float widened, 15 digits
    EXPECT_EQ(FormatXMLFloat(0.00002f), "0,0000199999994947575");
    EXPECT_EQ(FormatXMLFloat(1.5e-7f), "1,50000005305628E-7"); // below 0,00001 with an exponent
    EXPECT_EQ(FormatXMLFloat(1e20f), "1,00000002004088E20");

    float V = 0;
    for (const char* Text : {"0,5", "0.5", " 0,5 ", "+0.5", "5E-1", "5e-1"}) {
        ASSERT_TRUE(ParseXMLFloat(Text, V)) << Text;
        EXPECT_EQ(V, 0.5f) << Text;
    }
    for (const char* Text : {"", "1,2,3", "1.2,3", "abc", "inf", "nan", "1e39", "0x10", "1 2", "--1", ","})
        EXPECT_FALSE(ParseXMLFloat(Text, V)) << Text;

    // Every float survives its text exactly.
    std::mt19937 Random(7);
    for (int I = 0; I < 20000; ++I) {
        const float X = std::bit_cast<float>(static_cast<std::uint32_t>(Random()));
        if (!std::isfinite(X)) continue;
        float Y = 0;
        ASSERT_TRUE(ParseXMLFloat(FormatXMLFloat(X), Y)) << FormatXMLFloat(X);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(Y), std::bit_cast<std::uint32_t>(X)) << FormatXMLFloat(X);
    }
}

TEST(XmlValues, ReadersConvertOrStopWithTheConversionError) {
    pugi::xml_document Doc;
    const pugi::xml_node N = Parse(Doc, "<L><I> -42 </I><Big>2147483648</Big><T>TRUE</T><F>false</F><Z>0</Z>"
                                        "<One>1</One><C>4278190080</C><Neg>-1</Neg><Wide>4294967296</Wide>"
                                        "<Empty/><Word>abc</Word><S>a &lt; b &amp; c</S></L>");
    EXPECT_EQ(ReadXMLInteger(N, "I"), -42);
    EXPECT_TRUE(ReadXMLBoolean(N, "T"));
    EXPECT_FALSE(ReadXMLBoolean(N, "F"));
    EXPECT_FALSE(ReadXMLBoolean(N, "Z"));
    EXPECT_TRUE(ReadXMLBoolean(N, "One"));
    EXPECT_EQ(ReadXMLColor(N, "C"), 0xFF000000u);
    EXPECT_EQ(ReadXMLColor(N, "Neg"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadXMLColor(N, "Wide"), 0u); // the low 32 bits
    EXPECT_EQ(ReadXMLText(N, "S"), "a < b & c");
    EXPECT_EQ(ReadXMLText(N, "Missing"), "");

    EXPECT_EQ(ErrorOf([&] { ReadXMLInteger(N, "Missing"); }),
              "Variante des Typs (Null) konnte nicht in Typ (Integer) konvertiert werden");
    EXPECT_EQ(ErrorOf([&] { ReadXMLBoolean(N, "Empty"); }),
              "Variante des Typs (Null) konnte nicht in Typ (Boolean) konvertiert werden");
    EXPECT_NE(ErrorOf([&] { ReadXMLFloat(N, "Empty"); }), "no error");
    EXPECT_NE(ErrorOf([&] { ReadXMLColor(N, "Missing"); }), "no error");
    EXPECT_NE(ErrorOf([&] { ReadXMLInteger(N, "Big"); }), "no error");
    EXPECT_NE(ErrorOf([&] { ReadXMLInteger(N, "Word"); }), "no error");
    EXPECT_NE(ErrorOf([&] { ReadXMLBoolean(N, "Word"); }), "no error");
    EXPECT_NE(ErrorOf([&] { ReadXMLFloat(N, "Word"); }), "no error");
}

// A style with every field away from its default.
void FillStyle(T2DLayerStyle& S) {
    S.SetOutline(true);
    S.SetOutlineSize(4);
    S.SetOutlineColor(0x80102030);
    S.SetOutlineDashStyle(DashStyleDashDot);
    S.SetOutlinePosition(posMid);
    S.SetOutlineAlpha(200);
    S.SetFillColorAlpha(180);
    S.SetLineColorAlpha(170);
    S.SetFillColor(0xFF405060);
    S.SetLineColor(0xFF708090);
    S.SetNoOfHatchBrush(17);
    S.SetHatchBrushForeColor(0xFF0000AA);
    S.SetHatchBrushBackColor(0xFFAA0000);
    S.SetFillImage(true);
    QImage Pattern(3, 2, QImage::Format_ARGB32);
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 3; ++X) Pattern.setPixel(X, Y, qRgba(40 * X, 100 * Y, 7, 60 + 90 * X));
    S.SetFillPatternBitmap(std::make_shared<TGPImage>(Pattern));
    S.SetFillPatternWrapMode(WrapModeTileFlipY);
    S.SetFillGradientColor1(0xFF112233);
    S.SetFillGradientColor2(0xFF445566);
    S.SetFillGradientShape(shpSqareTransp);
    S.SetFillGradientPStart({-3, 4});
    S.SetFillGradientPEnd({50, 60});
    S.SetShadow(true);
    S.SetShadowXShift(-7);
    S.SetShadowYShift(9);
    S.SetShadowColor(0xFF010203);
    S.SetShadowAlpha(99);
    S.SetTransformMatrix({0.5f, -0.25f, 0.1f, 2, 12.5f, -3});
    S.SetShadowTransformMatrix({1, 2, 3, 4, 5.5f, -6.25f});
    S.EffectList = {efEmboss, efMotionBlur};
}

std::vector<std::string> ChildNames(pugi::xml_node N) {
    std::vector<std::string> Names;
    for (pugi::xml_node C : N.children())
        Names.push_back(C.type() == pugi::node_comment ? std::string("#") + C.value() : C.name());
    return Names;
}

TEST(StyleXml, BlockHoldsEveryElementInOrderWithItsComments) {
    T2DLayerStyle S;
    FillStyle(S);
    std::vector<std::unique_ptr<TEffect>> Objects;
    Objects.push_back(std::make_unique<TEmboss>());
    auto Blur = std::make_unique<TMotionBlur>();
    Blur->SetDirection(bldTop);
    Blur->SetStrenght(6);
    Objects.push_back(std::move(Blur));

    pugi::xml_document Doc;
    pugi::xml_node Layer = Doc.append_child("Layer");
    S.WriteXML(Layer, Objects);
    const std::vector<std::string> Expected{
        "Outline",
        "OutlineSize",
        "OutlineColor",
        "OutlineDashStyle",
        "#OutlinePosition/Rahmenausrichtung:  0=außen; 1=innen; 2=mittig;",
        "OutlinePosition",
        "OutlineAlpha",
        "FillColorAlpha",
        "LineColorAlpha",
        "FillColor",
        "LineColor",
        "FillPattern",
        "NoOfHatchBrush",
        "HatchBrushForeColor",
        "HatchBrushBackColor",
        "FillImage",
        "FillPatternData",
        "#FillPatternWrapMode:  0=Kacheln; 1=Kacheln vertikal gespiegelt; 2=Kacheln horizontal gespiegelt; "
        "3=Kacheln vertikal&horizontal gespiegelt; 4=Clamp WrapMode;",
        "FillPatternWrapMode",
        "FillGradient",
        "FillGradientColor1",
        "FillGradientColor2",
        "#Verlaufs-/Gradientenformen:  0=linear; 1=kreisförmig; 2=quadratisch; 3=linear-transparent; "
        "4=kreisförmig-transparent; 5=quadratisch-transparent;",
        "FillGradientShape",
        "FillGradientPStartX",
        "FillGradientPStartY",
        "FillGradientPEndX",
        "FillGradientPEndY",
        "Shadow",
        "ShadowXShift",
        "ShadowYShift",
        "ShadowColor",
        "ShadowAlpha",
        "TransformMatrix.M11",
        "TransformMatrix.M12",
        "TransformMatrix.M21",
        "TransformMatrix.M22",
        "TransformMatrix.DX",
        "TransformMatrix.DY",
        "ShadowTransformMatrix.M11",
        "ShadowTransformMatrix.M12",
        "ShadowTransformMatrix.M21",
        "ShadowTransformMatrix.M22",
        "ShadowTransformMatrix.DX",
        "ShadowTransformMatrix.DY",
        "NumEffects",
        "Effects",
        "Effects"};
    EXPECT_EQ(ChildNames(Layer), Expected);

    // Values as stored: colours unsigned with their own alpha byte, floats with a comma, the
    // figure's translation as 0.
    EXPECT_STREQ(Layer.child("OutlineColor").text().get(), "2148540464");
    EXPECT_STREQ(Layer.child("Outline").text().get(), "true");
    EXPECT_STREQ(Layer.child("FillPattern").text().get(), "false");
    EXPECT_STREQ(Layer.child("NoOfHatchBrush").text().get(), "-1"); // the image fill cleared it
    EXPECT_STREQ(Layer.child("TransformMatrix.M12").text().get(), "-0,25");
    EXPECT_STREQ(Layer.child("TransformMatrix.DX").text().get(), "0");
    EXPECT_STREQ(Layer.child("ShadowTransformMatrix.DY").text().get(), "-6,25");
    EXPECT_STREQ(Layer.child("NumEffects").text().get(), "2");

    const pugi::xml_node First = Layer.child("Effects");
    EXPECT_STREQ(First.attribute("ID").value(), "0");
    EXPECT_EQ(ChildNames(First), (std::vector<std::string>{"#" + EffectTypeComment(), "EffectType"}));
    const pugi::xml_node Second = NextXMLElement(First);
    EXPECT_STREQ(Second.attribute("ID").value(), "1");
    EXPECT_EQ(ChildNames(Second),
              (std::vector<std::string>{"#" + EffectTypeComment(), "EffectType", "#" + BlurDirectionComment(),
                                        "MotionBlurDirection", "MotionBlurStrength"}));
    EXPECT_STREQ(Second.child("MotionBlurDirection").text().get(), "2");
    EXPECT_STREQ(Second.child("MotionBlurStrength").text().get(), "6");
    EXPECT_EQ(EffectTypeComment(), "Effekttypen:  0=MotionBlur; 1=Amboss; 2=Laplace; 3=FindEdges; "
                                   "4=Scharfzeichnen; 5=EdgesEnhance; 6=ColorAmboss; 7=Weichzeichnen;");
    EXPECT_EQ(BlurDirectionComment(), "Schatten Blur-Richtung von:  0=rechts; 1=links; 2=oben; 3=unten; "
                                      "4=oben-links; 5=oben-rechts; 6=unten-links; 7=unten-rechts;");

    // Without the image fill there is no picture element.
    S.SetFillImage(false);
    pugi::xml_node Plain = Doc.append_child("Layer");
    S.WriteXML(Plain, Objects);
    EXPECT_FALSE(Plain.child("FillPatternData"));
}

TEST(StyleXml, EveryFieldSurvivesAFile) {
    T2DLayerStyle S;
    FillStyle(S);
    S.EffectList.clear();
    pugi::xml_document Doc;
    S.WriteXML(Doc.append_child("Layer"), {});
    const std::string Text = Saved(Doc);
    pugi::xml_document Back;
    const pugi::xml_node Layer = Parse(Back, Text.c_str());

    // Every field is written, so writing what was read gives the same file.
    T2DLayerStyle R;
    R.ReadXML(Layer, Version);
    pugi::xml_document Again;
    R.WriteXML(Again.append_child("Layer"), {});
    EXPECT_EQ(Saved(Again), Text);
    ASSERT_NE(R.FillPatternBitmap(), nullptr);
    EXPECT_EQ(R.FillPatternBitmap()->QtImage(), S.FillPatternBitmap()->QtImage());
    EXPECT_EQ(R.OutlineColor(), 0xC8102030u); // the colour with the outline alpha
    EXPECT_EQ(R.TransformMatrix(), (TGPMatrixElements{0.5f, -0.25f, 0.1f, 2, 0, 0}));
    EXPECT_EQ(R.ShadowTransformMatrix(), S.ShadowTransformMatrix());
}

TEST(StyleXml, HandWrittenBlockReadsEitherDecimalSeparator) {
    // As a file from the field holds it, German floats and a point where an English one slipped in.
    pugi::xml_document Doc;
    const pugi::xml_node Layer = Parse(Doc, R"(<Layer ID="0">
      <Outline>False</Outline><OutlineSize>0</OutlineSize><OutlineColor>4278190335</OutlineColor>
      <OutlineDashStyle>0</OutlineDashStyle><!--OutlinePosition/Rahmenausrichtung:  0=außen; 1=innen; 2=mittig;-->
      <OutlinePosition>0</OutlinePosition><OutlineAlpha>255</OutlineAlpha><FillColorAlpha>300</FillColorAlpha>
      <LineColorAlpha>255</LineColorAlpha><FillColor>4294901760</FillColor><LineColor>4294901760</LineColor>
      <FillPattern>true</FillPattern><NoOfHatchBrush>65541</NoOfHatchBrush>
      <HatchBrushForeColor>4278190080</HatchBrushForeColor><HatchBrushBackColor>4294967295</HatchBrushBackColor>
      <FillImage>false</FillImage><FillPatternWrapMode>4</FillPatternWrapMode><FillGradient>false</FillGradient>
      <FillGradientColor1>0</FillGradientColor1><FillGradientColor2>0</FillGradientColor2>
      <FillGradientShape>2</FillGradientShape><FillGradientPStartX>1</FillGradientPStartX>
      <FillGradientPStartY>2</FillGradientPStartY><FillGradientPEndX>3</FillGradientPEndX>
      <FillGradientPEndY>4</FillGradientPEndY><Shadow>true</Shadow><ShadowXShift>-3</ShadowXShift>
      <ShadowYShift>5</ShadowYShift><ShadowColor>4286545791</ShadowColor><ShadowAlpha>128</ShadowAlpha>
      <TransformMatrix.M11>0,5</TransformMatrix.M11><TransformMatrix.M12>0</TransformMatrix.M12>
      <TransformMatrix.M21>0</TransformMatrix.M21><TransformMatrix.M22>1.25</TransformMatrix.M22>
      <TransformMatrix.DX>0</TransformMatrix.DX><TransformMatrix.DY>0</TransformMatrix.DY>
      <ShadowTransformMatrix.M11>1</ShadowTransformMatrix.M11><ShadowTransformMatrix.M12>0</ShadowTransformMatrix.M12>
      <ShadowTransformMatrix.M21>0</ShadowTransformMatrix.M21><ShadowTransformMatrix.M22>1</ShadowTransformMatrix.M22>
      <ShadowTransformMatrix.DX>-7,5</ShadowTransformMatrix.DX><ShadowTransformMatrix.DY>1E-6</ShadowTransformMatrix.DY>
      <NumEffects>0</NumEffects></Layer>)");
    T2DLayerStyle S;
    S.ReadXML(Layer, 2001);
    EXPECT_FALSE(S.Outline());
    EXPECT_EQ(S.FillColorAlpha(), 300);
    EXPECT_EQ(S.FillColor(), 0x2CFF0000u); // only the low byte of an alpha counts
    EXPECT_TRUE(S.FillPattern());
    EXPECT_EQ(S.NoOfHatchBrush(), 5); // a 16-bit field
    EXPECT_EQ(S.FillPatternWrapMode(), WrapModeClamp);
    EXPECT_EQ(S.FillGradientShape(), shpSqare);
    EXPECT_EQ(S.FillGradientPEnd(), (TPoint{3, 4}));
    EXPECT_EQ(S.ShadowXShift(), -3);
    EXPECT_EQ(S.ShadowColor(), 0x807F7F7Fu);
    EXPECT_EQ(S.TransformMatrix(), (TGPMatrixElements{0.5f, 0, 0, 1.25f, 0, 0}));
    EXPECT_EQ(S.ShadowTransformMatrix(), (TGPMatrixElements{1, 0, 0, 1, -7.5f, 1e-6f}));
}

TEST(StyleXml, OlderFilesKeepTheStyleAmongTheLayersOwnElements) {
    // A text layer as version 2.0.0.0 wrote it.
    pugi::xml_document Doc;
    pugi::xml_node Text = Parse(Doc, R"(<Layer ID="1"><LayerType>1</LayerType>
      <PosLeftTopX>10</PosLeftTopX><PosLeftTopY>10</PosLeftTopY><PosRightBottomX>90</PosRightBottomX>
      <PosRightBottomY>30</PosRightBottomY><Text>Hallo</Text><FontName>Arial</FontName><FontSize>12</FontSize>
      <FontColor>4278255360</FontColor><Bold>true</Bold><Italic>false</Italic><FontTransp>200</FontTransp>
      <Border>true</Border><BorderSize>2</BorderSize><BorderColor>4278190335</BorderColor>
      <BorderTransp>150</BorderTransp><Shadow>true</Shadow><ShadowXShift>4</ShadowXShift>
      <ShadowYShift>-2</ShadowYShift><ShadowColor>4282400832</ShadowColor><ShadowTransp>90</ShadowTransp>
      <BlurFont>false</BlurFont><BlurFoDirect>0</BlurFoDirect><BlurFoStrength>3</BlurFoStrength>
      <NumTrans>0</NumTrans></Layer>)");
    T2DLayerStyle S;
    S.ReadXML(Text, 2000);
    EXPECT_EQ(S.FillColor(), 0xC800FF00u);
    EXPECT_EQ(S.FillColorAlpha(), 200);
    EXPECT_TRUE(S.Outline());
    EXPECT_EQ(S.OutlineSize(), 2);
    EXPECT_EQ(S.OutlineColor(), 0x960000FFu);
    EXPECT_TRUE(S.Shadow());
    EXPECT_EQ(S.ShadowXShift(), 4);
    EXPECT_EQ(S.ShadowYShift(), -2);
    EXPECT_EQ(S.ShadowColor(), 0x5A404040u);

    pugi::xml_document PictureDoc;
    const pugi::xml_node Picture =
        Parse(PictureDoc, "<Layer ID=\"0\"><LayerType>0</LayerType>"
                          "<LayerBitmap></LayerBitmap><BitTransp>77</BitTransp></Layer>");
    T2DLayerStyle P;
    P.SetFillGradient(true);
    P.ReadXML(Picture, 2000);
    EXPECT_EQ(P.FillColorAlpha(), 77);
    EXPECT_FALSE(P.FillGradient());
    EXPECT_FALSE(P.Outline());

    // A text layer without its colour stops with the conversion error.
    Text.remove_child("FontColor");
    EXPECT_EQ(ErrorOf([&] { T2DLayerStyle().ReadXML(Text, 2000); }),
              "Variante des Typs (Null) konnte nicht in Typ (Int64) konvertiert werden");
}

// A figure of each kind with everything a file keeps.
template <class T> T* Styled(TLayerCollection& Layers, T* F) {
    F->Paint();
    T2DLayerStyle& S = F->LayerStyle();
    S.SetFillColor(0xFF30A050);
    S.SetOutline(true);
    S.SetOutlineSize(3);
    S.SetShadow(true);
    S.SetShadowYShift(-4);
    S.SetFillGradient(true);
    S.SetFillGradientColor1(0xFFFFFF00);
    S.SetFillGradientColor2(0xFF0000FF);
    S.SetFillGradientPStart(F->StartPoint);
    S.SetFillGradientPEnd({F->StartPoint.X + 25, F->StartPoint.Y + 10});
    F->AddingEffect(efSoften);
    auto Blur = std::make_unique<TMotionBlur>();
    Blur->SetDirection(bldBottom);
    Blur->SetStrenght(1);
    F->AddEffect(std::move(Blur));
    F->FlipHorizontal();
    F->Rotate(20);
    F->SetScale({1.25f, 0.75f});
    (void)Layers;
    return F;
}

template <class T> void ExpectRoundTrip(T* F, int LayerType) {
    pugi::xml_document Doc;
    F->WriteXML(Doc.append_child("Layer"));
    pugi::xml_document Back;
    const pugi::xml_node Layer = Parse(Back, Saved(Doc).c_str());
    EXPECT_EQ(ReadXMLInteger(Layer, "LayerType"), LayerType);

    TLayerCollection Layers;
    auto* R = Layers.Add<T>();
    R->ReadXML(Layer, Version);
    R->Paint();
    R->SetLocation(F->Location()); // the frame's position elements place it
    EXPECT_EQ(R->AX(), F->AX());
    EXPECT_EQ(R->AY(), F->AY());
    EXPECT_EQ(R->ScaleFactor(), F->ScaleFactor());
    EXPECT_EQ(R->LayerStyle().EffectList, F->LayerStyle().EffectList);
    ASSERT_EQ(R->EffectObjectList.size(), 2u);
    const auto* Blur = dynamic_cast<const TMotionBlur*>(R->EffectObjectList[1].get());
    ASSERT_NE(Blur, nullptr);
    EXPECT_EQ(Blur->Direction(), bldBottom);
    EXPECT_EQ(Blur->Strenght(), 1);
    EXPECT_EQ(Blur->EffectBitmap(), &R->Bitmap());
    EXPECT_EQ(R->LayerStyle().FillGradientPStart(), F->LayerStyle().FillGradientPStart());
    EXPECT_TRUE(SameImage(*R, *F)) << F->ClassName();
}

TEST(FigureXml, EveryKindReadsBackToTheSamePicture) {
    TLayerCollection Layers;
    auto* L = Layers.Add<T2DLine>(10, 60, 70, 20);
    L->SetLineWidth(7);
    ExpectRoundTrip(Styled(Layers, L), 2);
    ExpectRoundTrip(Styled(Layers, Layers.Add<T2DPolygon>(50, 50, 70, 35, 6)), 3);
    ExpectRoundTrip(Styled(Layers, Layers.Add<T2DRectangle>(10, 10, 50, 30)), 4);
    ExpectRoundTrip(Styled(Layers, Layers.Add<T2DEllipse>(10, 10, 50, 30)), 5);

    pugi::xml_document Doc;
    const pugi::xml_node Node = Doc.append_child("Layer");
    L->WriteXML(Node);
    EXPECT_EQ(ChildNames(Node)[0], "LayerType");
    EXPECT_EQ(ChildNames(Node)[1], "DirectionVector.AX");
    EXPECT_EQ(ChildNames(Node)[5], "LineWidth");
    EXPECT_EQ(ChildNames(Node)[6], "Outline");
    EXPECT_STREQ(Node.child("ScaleFactor.Y").text().get(), "0,75");
    EXPECT_STREQ(Node.child("LineWidth").text().get(), "7");
    auto* P = Layers.Add<T2DPolygon>(0, 0, 10, 0, 9);
    pugi::xml_node PolygonNode = Doc.append_child("Layer");
    P->WriteXML(PolygonNode);
    EXPECT_EQ(ChildNames(PolygonNode)[5], "NumEdges");
    EXPECT_STREQ(PolygonNode.child("NumEdges").text().get(), "9");
}

TEST(FigureXml, DamagedLayersStopReadingWithAnError) {
    TLayerCollection Layers;
    auto* Source = Styled(Layers, Layers.Add<T2DPolygon>(50, 50, 70, 35, 6));
    const auto Damaged = [&](const std::function<void(pugi::xml_node)>& Damage) {
        pugi::xml_document Doc;
        pugi::xml_node Node = Doc.append_child("Layer");
        Source->WriteXML(Node);
        Damage(Node);
        auto* R = Layers.Add<T2DPolygon>();
        try {
            R->ReadXML(Node, Version);
            R->Paint();
        } catch (const EXMLReadError& E) {
            return std::string(E.what());
        } catch (const EGdipError&) {
            return std::string("EGdipError");
        } catch (const EBitmapError&) {
            return std::string("EBitmapError");
        }
        return std::string("no error");
    };
    const auto Set = [](const char* Name, const char* Value) {
        return [=](pugi::xml_node N) { N.child(Name).text().set(Value); };
    };
    EXPECT_EQ(Damaged([](pugi::xml_node) {}), "no error");
    EXPECT_EQ(Damaged([](pugi::xml_node N) { N.remove_child("ShadowAlpha"); }),
              "Variante des Typs (Null) konnte nicht in Typ (Integer) konvertiert werden");
    EXPECT_EQ(Damaged(Set("DirectionVector.AX", "")),
              "Variante des Typs (Null) konnte nicht in Typ (Double) konvertiert werden");
    // More effects counted than stored: the first missing one stops the reader.
    EXPECT_NE(Damaged(Set("NumEffects", "3")), "no error");
    EXPECT_NE(Damaged(Set("DirectionVector.AX", "1e39")), "no error");
    EXPECT_NE(Damaged(Set("OutlineDashStyle", "9")), "no error");
    EXPECT_NE(Damaged(Set("FillPatternWrapMode", "5")), "no error");
    EXPECT_NE(Damaged(Set("NumEdges", "2000000000")), "no error");
    EXPECT_NE(Damaged(Set("Outline", "ja")), "no error");
    // A pattern picture that is not Base64, or not a picture.
    const auto Picture = [](const char* Text) {
        return [=](pugi::xml_node N) {
            N.child("FillImage").text().set("true");
            N.insert_child_after("FillPatternData", N.child("FillImage")).text().set(Text);
        };
    };
    EXPECT_EQ(Damaged(Picture("iVBO Rw0K")), "EGdipError");
    EXPECT_EQ(Damaged(Picture("AAAAAAAA")), "EGdipError");
    EXPECT_EQ(Damaged(Picture("")), "no error"); // an empty picture is no picture
    // Absurd sizes are refused by the surface, not attempted.
    EXPECT_EQ(Damaged(Set("ScaleFactor.X", "1E30")), "EBitmapError");
    EXPECT_EQ(Damaged(Set("DirectionVector.AX", "-3E38")), "EBitmapError");
    // A matrix that throws the outline out of reach of any number.
    EXPECT_EQ(Damaged(Set("TransformMatrix.M11", "3E38")), "EGdipError");
    EXPECT_EQ(Damaged(Set("TransformMatrix.M22", "0")), "no error"); // flat, but drawable
    // Unknown effect kinds are skipped; a strength below 1 blurs nothing.
    EXPECT_EQ(Damaged([](pugi::xml_node N) { N.child("Effects").child("EffectType").text().set("42"); }),
              "no error");
    EXPECT_EQ(Damaged([](pugi::xml_node N) {
                  NextXMLElement(N.child("Effects")).child("MotionBlurStrength").text().set("-5");
              }),
              "no error");
}

} // namespace
} // namespace zp
