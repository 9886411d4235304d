// Project files written by hand, element by element, as other programs and older versions wrote
// them: every field lands where it belongs.
#include "document/DocForm.h"
#include "support/QtPrinters.h"
#include "support/ShownDocument.h"

#include "files/FileError.h"
#include "files/PictureStrings.h"
#include "layers/Filters.h"
#include "layers/Line.h"
#include "layers/PicLayer.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/TextLayer.h"
#include "layers/XmlValues.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zp {
namespace {

std::string Replace(std::string Text, const std::string& Key, const std::string& Value) {
    for (std::size_t At = Text.find(Key); At != std::string::npos; At = Text.find(Key, At + Value.size()))
        Text.replace(At, Key.size(), Value);
    return Text;
}

std::string PictureOf(int W, int H, TColor32 Colour) {
    TBitmap32 B;
    B.SetSize(W, H);
    B.Clear(Colour);
    return BitmapToString(B);
}

// A style block with every element; @FILL@ and @EFFECTS@ are filled in per layer.
const std::string SPlainStyle = R"(
<Outline>false</Outline><OutlineSize>1</OutlineSize><OutlineColor>4278190080</OutlineColor>
<OutlineDashStyle>0</OutlineDashStyle><OutlinePosition>0</OutlinePosition><OutlineAlpha>255</OutlineAlpha>
<FillColorAlpha>255</FillColorAlpha><LineColorAlpha>255</LineColorAlpha>
<FillColor>4294901760</FillColor><LineColor>4278190335</LineColor>
<FillPattern>false</FillPattern><NoOfHatchBrush>-1</NoOfHatchBrush>
<HatchBrushForeColor>4278190080</HatchBrushForeColor><HatchBrushBackColor>4294967295</HatchBrushBackColor>
<FillImage>false</FillImage><FillPatternWrapMode>0</FillPatternWrapMode>
<FillGradient>false</FillGradient><FillGradientColor1>4278190080</FillGradientColor1>
<FillGradientColor2>4294967295</FillGradientColor2><FillGradientShape>0</FillGradientShape>
<FillGradientPStartX>0</FillGradientPStartX><FillGradientPStartY>0</FillGradientPStartY>
<FillGradientPEndX>0</FillGradientPEndX><FillGradientPEndY>0</FillGradientPEndY>
<Shadow>false</Shadow><ShadowXShift>0</ShadowXShift><ShadowYShift>0</ShadowYShift>
<ShadowColor>4278190080</ShadowColor><ShadowAlpha>128</ShadowAlpha>
<TransformMatrix.M11>1</TransformMatrix.M11><TransformMatrix.M12>0</TransformMatrix.M12>
<TransformMatrix.M21>0</TransformMatrix.M21><TransformMatrix.M22>1</TransformMatrix.M22>
<TransformMatrix.DX>0</TransformMatrix.DX><TransformMatrix.DY>0</TransformMatrix.DY>
<ShadowTransformMatrix.M11>1</ShadowTransformMatrix.M11><ShadowTransformMatrix.M12>0</ShadowTransformMatrix.M12>
<ShadowTransformMatrix.M21>0</ShadowTransformMatrix.M21><ShadowTransformMatrix.M22>1</ShadowTransformMatrix.M22>
<ShadowTransformMatrix.DX>0</ShadowTransformMatrix.DX><ShadowTransformMatrix.DY>0</ShadowTransformMatrix.DY>
<NumEffects>0</NumEffects>)";

// Every field different from its default and from the others; floats with both separators.
const std::string SRichStyle = R"(
<Outline>TRUE</Outline><OutlineSize>3</OutlineSize><OutlineColor>4278255360</OutlineColor>
<OutlineDashStyle>2</OutlineDashStyle>
<!--OutlinePosition/Rahmenausrichtung:  0=außen; 1=innen; 2=mittig;-->
<OutlinePosition>2</OutlinePosition><OutlineAlpha>200</OutlineAlpha>
<FillColorAlpha>190</FillColorAlpha><LineColorAlpha>180</LineColorAlpha>
<FillColor>4278194211</FillColor><LineColor>4278203989</LineColor>
<FillPattern>true</FillPattern><NoOfHatchBrush>12</NoOfHatchBrush>
<HatchBrushForeColor>2164260863</HatchBrushForeColor><HatchBrushBackColor>16711935</HatchBrushBackColor>
<FillImage>true</FillImage><FillPatternData>@PATTERN@</FillPatternData>
<FillPatternWrapMode>3</FillPatternWrapMode>
<FillGradient>1</FillGradient><FillGradientColor1>4294934528</FillGradientColor1>
<FillGradientColor2>2147483903</FillGradientColor2><FillGradientShape>4</FillGradientShape>
<FillGradientPStartX>-4</FillGradientPStartX><FillGradientPStartY>5</FillGradientPStartY>
<FillGradientPEndX>60</FillGradientPEndX><FillGradientPEndY>31</FillGradientPEndY>
<Shadow>true</Shadow><ShadowXShift>6</ShadowXShift><ShadowYShift>-7</ShadowYShift>
<ShadowColor>4282664004</ShadowColor><ShadowAlpha>99</ShadowAlpha>
<TransformMatrix.M11>0,5</TransformMatrix.M11><TransformMatrix.M12>0.25</TransformMatrix.M12>
<TransformMatrix.M21>-0,125</TransformMatrix.M21><TransformMatrix.M22>1,5</TransformMatrix.M22>
<TransformMatrix.DX>0</TransformMatrix.DX><TransformMatrix.DY>0</TransformMatrix.DY>
<ShadowTransformMatrix.M11>2</ShadowTransformMatrix.M11><ShadowTransformMatrix.M12>0,75</ShadowTransformMatrix.M12>
<ShadowTransformMatrix.M21>0</ShadowTransformMatrix.M21><ShadowTransformMatrix.M22>3.5</ShadowTransformMatrix.M22>
<ShadowTransformMatrix.DX>1,5</ShadowTransformMatrix.DX><ShadowTransformMatrix.DY>-2</ShadowTransformMatrix.DY>
<NumEffects>2</NumEffects>
<Effects ID="0"><!--Effekttypen:  0=MotionBlur; 1=Amboss; 2=Laplace; 3=FindEdges; 4=Scharfzeichnen; 5=EdgesEnhance; 6=ColorAmboss; 7=Weichzeichnen;-->
  <EffectType>1</EffectType></Effects>
<Effects ID="1"><EffectType>0</EffectType><MotionBlurDirection>3</MotionBlurDirection>
  <MotionBlurStrength>5</MotionBlurStrength></Effects>)";

const std::string SFigure =
    R"(<DirectionVector.AX>@AX@</DirectionVector.AX><DirectionVector.AY>@AY@</DirectionVector.AY>
<ScaleFactor.X>@SX@</ScaleFactor.X><ScaleFactor.Y>1</ScaleFactor.Y>)";

std::string Position(int L, int T, int R, int B) {
    return "<PosLeftTopX>" + std::to_string(L) + "</PosLeftTopX><PosLeftTopY>" + std::to_string(T) +
           "</PosLeftTopY><PosRightBottomX>" + std::to_string(R) + "</PosRightBottomX><PosRightBottomY>" +
           std::to_string(B) + "</PosRightBottomY>";
}

std::string Figure(const char* AX, const char* AY, const char* SX = "1") {
    return Replace(Replace(Replace(SFigure, "@AX@", AX), "@AY@", AY), "@SX@", SX);
}

std::string HandWrittenProject() {
    std::string Text =
        R"(<?xml version="1.0" encoding="UTF-8"?>
<ProjectFile>
<ProgramVersion>2.0.0.1</ProgramVersion><NumLoops>7</NumLoops><NumFrames>2</NumFrames>
<Frame ID="0"><!--Save the Background-Bitmap as String--><Background>@BACK0@</Background>
<ShowDuration>120</ShowDuration><ColorReduction>5</ColorReduction><DitherMode>4</DitherMode>
<NumLayers>6</NumLayers>
<Layer ID="0">)" +
        Position(10, 12, 70, 52) + "<LayerType>4</LayerType>" + Figure("30", "20", "0,75") + SRichStyle +
        R"(</Layer>
<Layer ID="1">)" +
        Position(5, 60, 95, 90) +
        R"(<LayerType>1</LayerType><ScaleFactor.X>1,25</ScaleFactor.X><ScaleFactor.Y>0.5</ScaleFactor.Y>)" +
        SPlainStyle + R"(<Text>a &lt; b &amp; c</Text><FontName>dejavu sans</FontName><FontSize>24</FontSize>
<FontBold>true</FontBold><FontItalic>FALSE</FontItalic><FontUnderline>True</FontUnderline><FontStrikeOut>0</FontStrikeOut>
</Layer>
<Layer ID="2">)" +
        Position(40, 2, 49, 9) + "<LayerType>0</LayerType>" + Figure("9", "7") +
        "<PictureData>@PICTURE@</PictureData>" + SPlainStyle + R"(</Layer>
<Layer ID="3">)" +
        Position(0, 0, 50, 30) + "<LayerType>2</LayerType>" + Figure("50", "30") +
        "<LineWidth>4</LineWidth>" + SPlainStyle +
        R"(</Layer>
<Layer ID="4">)" +
        Position(60, 40, 100, 80) + "<LayerType>3</LayerType>" + Figure("3", "4") + "<NumEdges>6</NumEdges>" +
        SPlainStyle +
        R"(</Layer>
<Layer ID="5">)" +
        Position(1, 2, 31, 22) + "<LayerType>5</LayerType>" + Figure("30", "20") + SPlainStyle + R"(</Layer>
</Frame>
<Frame ID="1"><Background>@BACK1@</Background><ShowDuration>40</ShowDuration>
<ColorReduction>0</ColorReduction><DitherMode>0</DitherMode><NumLayers>0</NumLayers></Frame>
</ProjectFile>)";
    Text = Replace(Text, "@BACK0@", PictureOf(120, 90, 0x80FF0000));
    Text = Replace(Text, "@BACK1@", PictureOf(120, 90, 0xFF00FF00));
    Text = Replace(Text, "@PATTERN@", PictureOf(4, 4, 0xFF0000FF));
    return Replace(Text, "@PICTURE@", PictureOf(9, 7, 0xFF102030));
}

struct TProjectFormat : ::testing::Test {
    TPlainDocHost Host;
    TProjectFormat() {
        Host.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
        Host.Texts.insert(QStringLiteral("TxtMissFont1"), QStringLiteral("Es fehlen:"));
        Host.Texts.insert(QStringLiteral("TxtMissFont2"), QStringLiteral("Ersatz: Arial."));
    }
    std::unique_ptr<TDocForm> Read(std::string_view Text) {
        auto Doc = std::make_unique<TDocForm>(Host);
        Doc->LoadProjectFromXMLText(Text);
        return Doc;
    }
    template <class T> T& LayerAt(TDocForm& Doc, int Index) {
        auto* L = dynamic_cast<T*>(Doc.CurrentView()->Layers().Items(Index));
        if (!L) throw std::runtime_error("layer " + std::to_string(Index) + " has another kind");
        return *L;
    }
};

void ExpectLocation(const TPositionedLayer& L, float Left, float Top, float Right, float Bottom) {
    const TFloatRect R = L.Location();
    EXPECT_EQ(R.Left, Left);
    EXPECT_EQ(R.Top, Top);
    EXPECT_EQ(R.Right, Right);
    EXPECT_EQ(R.Bottom, Bottom);
}

TEST_F(TProjectFormat, EveryElementOfAHandWrittenFileLandsInItsField) {
    auto Doc = Read(HandWrittenProject());
    EXPECT_EQ(Doc->NumLoops(), 7);
    ASSERT_EQ(Doc->FrameCount(), 2);
    EXPECT_EQ(Doc->Frame(0).Duration, 120);
    EXPECT_EQ(Doc->Frame(0).ColorReduction, static_cast<TColorReduction>(5));
    EXPECT_EQ(Doc->Frame(0).DitherMode, static_cast<TDitherMode>(4));
    EXPECT_EQ(Doc->Frame(1).Duration, 40);
    EXPECT_EQ(Doc->Frame(0).ImgView->Bitmap().Pixel(119, 89), 0x80FF0000u); // alpha kept
    EXPECT_EQ(Doc->Frame(1).ImgView->Bitmap().Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(Doc->Frame(1).ImgView->Layers().Count(), 0);
    ASSERT_EQ(Doc->CurrentView(), Doc->Frame(0).ImgView);
    ASSERT_EQ(Doc->CurrentView()->Layers().Count(), 6);

    const auto& Rect = LayerAt<T2DRectangle>(*Doc, 0);
    ExpectLocation(Rect, 10, 12, 70, 52);
    EXPECT_EQ(Rect.AX(), 30.0f);
    EXPECT_EQ(Rect.AY(), 20.0f);
    EXPECT_EQ(Rect.ScaleFactor().X, 0.75f);
    const T2DLayerStyle& S = Rect.LayerStyle();
    EXPECT_TRUE(S.Outline());
    EXPECT_EQ(S.OutlineSize(), 3);
    EXPECT_EQ(S.OutlineColor(), 0xC800FF00u); // the colour with the outline alpha
    EXPECT_EQ(static_cast<int>(S.OutlineDashStyle()), 2);
    EXPECT_EQ(S.OutlinePosition(), posMid);
    EXPECT_EQ(S.OutlineAlpha(), 200);
    EXPECT_EQ(S.FillColorAlpha(), 190);
    EXPECT_EQ(S.LineColorAlpha(), 180);
    EXPECT_EQ(S.FillColor(), 0xBE001023u);
    EXPECT_EQ(S.LineColor(), 0xB4003655u);
    EXPECT_TRUE(S.FillPattern());
    EXPECT_EQ(S.NoOfHatchBrush(), 12);
    EXPECT_EQ(S.HatchBrushForeColor(), 0x80FFFFFFu);
    EXPECT_EQ(S.HatchBrushBackColor(), 0x00FF00FFu);
    EXPECT_TRUE(S.FillImage());
    ASSERT_TRUE(S.FillPatternBitmap());
    EXPECT_EQ(S.FillPatternBitmap()->Width(), 4);
    EXPECT_EQ(static_cast<int>(S.FillPatternWrapMode()), 3);
    EXPECT_TRUE(S.FillGradient());
    EXPECT_EQ(S.FillGradientColor1(), 0xFFFF8000u);
    EXPECT_EQ(S.FillGradientColor2(), 0x800000FFu);
    EXPECT_EQ(static_cast<int>(S.FillGradientShape()), 4);
    EXPECT_EQ(S.FillGradientPStart(), (TPoint{-4, 5}));
    EXPECT_EQ(S.FillGradientPEnd(), (TPoint{60, 31}));
    EXPECT_TRUE(S.Shadow());
    EXPECT_EQ(S.ShadowXShift(), 6);
    EXPECT_EQ(S.ShadowYShift(), -7);
    EXPECT_EQ(S.ShadowColor(), 0x63444444u);
    // The shadow's matrix is the one the shadow was last drawn with, so drawing sets it anew.
    const TGPMatrixElements M = S.TransformMatrix();
    EXPECT_EQ(M.M11, 0.5f);
    EXPECT_EQ(M.M12, 0.25f);
    EXPECT_EQ(M.M21, -0.125f);
    EXPECT_EQ(M.M22, 1.5f);
    ASSERT_EQ(S.EffectList, (std::vector<TEffectType>{efEmboss, efMotionBlur}));
    ASSERT_EQ(Rect.EffectObjectList.size(), 2u);
    const auto* Blur = dynamic_cast<const TMotionBlur*>(Rect.EffectObjectList[1].get());
    ASSERT_NE(Blur, nullptr);
    EXPECT_EQ(Blur->Direction(), bldBottom);
    EXPECT_EQ(Blur->Strenght(), 5);

    const auto& Text = LayerAt<TTextLayer>(*Doc, 1);
    ExpectLocation(Text, 5, 60, 95, 90);
    EXPECT_EQ(Text.ScaleFactor().X, 1.25f);
    EXPECT_EQ(Text.ScaleFactor().Y, 0.5f);
    const TFontLayerStyle& F = Text.FontLayerStyle();
    EXPECT_EQ(F.Text(), QStringLiteral("a < b & c"));
    EXPECT_EQ(F.FontName().toLower(), QStringLiteral("dejavu sans"));
    EXPECT_TRUE(F.MissingFont().isEmpty());
    EXPECT_EQ(F.FontSize(), 24);
    EXPECT_TRUE(F.FontBold());
    EXPECT_FALSE(F.FontItalic());
    EXPECT_TRUE(F.FontUnderline());
    EXPECT_FALSE(F.FontStrikeOut());

    const auto& Picture = LayerAt<TPicLayer>(*Doc, 2);
    ExpectLocation(Picture, 40, 2, 49, 9);
    EXPECT_EQ(Picture.gdiBitmap().Width(), 9);
    EXPECT_EQ(Picture.gdiBitmap().Height(), 7);
    EXPECT_EQ(LayerAt<T2DLine>(*Doc, 3).LineWidth(), 4);
    const auto& Polygon = LayerAt<T2DPolygon>(*Doc, 4);
    EXPECT_EQ(Polygon.NumEdges(), 6);
    EXPECT_EQ(Polygon.Radius, 5.0); // the length of the direction vector (3, 4)
    ExpectLocation(LayerAt<T2DEllipse>(*Doc, 5), 1, 2, 31, 22);
}

TEST_F(TProjectFormat, TheWriterUsesTheCommaAndDropsTheTranslation) {
    auto Doc = std::make_unique<TDocForm>(Host);
    Doc->NewImage(80, 60, TColor{0x00FFFFFF});
    auto R = std::make_unique<T2DRectangle>(10, 10, 50, 40);
    R->LayerStyle().SetTransformMatrix({0.5f, 0, 0, 1, 7, -3});
    R->Paint();
    Doc->InsertLayer(std::move(R));
    const std::string Text = Doc->ProjectToXMLText();
    EXPECT_NE(Text.find("<TransformMatrix.M11>0,5</TransformMatrix.M11>"), std::string::npos);
    EXPECT_NE(Text.find("<TransformMatrix.DX>0</TransformMatrix.DX>"), std::string::npos);
    EXPECT_EQ(Text.find("0.5"), std::string::npos);
    // The place comes from the position elements alone.
    auto Back = Read(Text);
    EXPECT_EQ(LayerAt<T2DRectangle>(*Back, 0).LayerStyle().TransformMatrix().M11, 0.5f);
    EXPECT_TRUE(TShown(*Back) == TShown(*Doc));
    // The same file with points reads the same.
    auto Points = Read(Replace(Text, "0,5<", "0.5<"));
    EXPECT_TRUE(TShown(*Points) == TShown(*Back));
    // Neither separator twice, nor a thousands group.
    EXPECT_THROW(Read(Replace(Text, "0,5<", "0,5,0<")), EXMLReadError);
    EXPECT_THROW(Read(Replace(Text, "0,5<", "1.000,5<")), EXMLReadError);
}

TEST_F(TProjectFormat, MissingFontsAreListedOnceEach) {
    std::string Layers;
    const char* Fonts[] = {"Gibtsnicht Grotesk", "gibtsnicht grotesk", "Andere Fehlende", "DejaVu Sans"};
    for (int I = 0; I < 4; ++I)
        Layers += "<Layer ID=\"" + std::to_string(I) + "\">" + Position(0, 0, 40, 20) +
                  "<LayerType>1</LayerType><ScaleFactor.X>1</ScaleFactor.X><ScaleFactor.Y>1</ScaleFactor.Y>" +
                  SPlainStyle + "<Text>x</Text><FontName>" + Fonts[I] +
                  "</FontName><FontSize>12</FontSize><FontBold>false</FontBold><FontItalic>false</FontItalic>"
                  "<FontUnderline>false</FontUnderline><FontStrikeOut>false</FontStrikeOut></Layer>";
    const std::string Text = "<ProjectFile><ProgramVersion>3.0.0.0</ProgramVersion><NumLoops>0</NumLoops>"
                             "<NumFrames>1</NumFrames><Frame ID=\"0\"><Background>" +
                             PictureOf(50, 30, 0xFFFFFFFF) +
                             "</Background><ShowDuration>100</ShowDuration><ColorReduction>0</ColorReduction>"
                             "<DitherMode>0</DitherMode><NumLayers>4</NumLayers>" +
                             Layers + "</Frame></ProjectFile>";
    auto Doc = Read(Text);
    EXPECT_EQ(Doc->ReportMissingFonts(),
              QStringLiteral("Es fehlen:\n\nAndere Fehlende\nGibtsnicht Grotesk\n\nErsatz: Arial."));
    EXPECT_EQ(LayerAt<TTextLayer>(*Doc, 1).FontLayerStyle().FontName(), QStringLiteral("Arial"));
    EXPECT_TRUE(LayerAt<TTextLayer>(*Doc, 3).FontLayerStyle().MissingFont().isEmpty());
}

// The older layout: a picture stored at its centre, and text moved by two and a half frames.
TEST_F(TProjectFormat, OlderLayoutPicturesAndTexts) {
    const auto Project = [](int W, int H, const std::string& Layer) {
        return "<ProjectFile><ProgramVersion>2.0.0.0</ProgramVersion><NumLoops>1</NumLoops>"
               "<NumFrames>1</NumFrames><Frame ID=\"0\"><Background>" +
               PictureOf(W, H, 0xFFFFFFFF) +
               "</Background><ShowDuration>100</ShowDuration><ColorReduction>0</ColorReduction>"
               "<DitherMode>0</DitherMode><NumLayers>1</NumLayers><Layer ID=\"0\">" +
               Layer + "</Layer></Frame></ProjectFile>";
    };
    auto Pictured =
        Read(Project(200, 100,
                     Position(100, 80, 0, 0) + "<LayerType>0</LayerType><LayerBitmap>" +
                         PictureOf(40, 20, 0xFF0000FF) + "</LayerBitmap><BitTransp>128</BitTransp>"));
    const auto& Picture = LayerAt<TPicLayer>(*Pictured, 0);
    EXPECT_EQ(Picture.LayerStyle().FillColorAlpha(), 128);
    EXPECT_FALSE(Picture.LayerStyle().FillGradient());
    const TFloatRect L = Picture.Location();
    const float X = static_cast<float>(Picture.StartPoint.X), Y = static_cast<float>(Picture.StartPoint.Y);
    EXPECT_EQ(L.Left + X, 80.0f);
    EXPECT_EQ(L.Top + Y, 70.0f);
    EXPECT_EQ(L.Left + X + 40, 120.0f);
    EXPECT_EQ(L.Top + Y + 20, 90.0f);
    // Its pixels are the picture's, at half opacity.
    const auto Shown = TDocForm::ComposeFrame(*Pictured->CurrentView());
    for (const auto& [PX, PY] : {std::pair{80, 70}, std::pair{119, 89}}) {
        const unsigned Red = (Shown->Pixel(PX, PY) >> 16) & 0xFFu;
        EXPECT_TRUE(Red > 0x70 && Red < 0x90) << PX << "," << PY << ": " << Red;
    }
    EXPECT_EQ(Shown->Pixel(79, 69), 0xFFFFFFFFu);
    EXPECT_EQ(Shown->Pixel(120, 90), 0xFFFFFFFFu);

    const std::string Text =
        Position(10, 20, 110, 60) +
        "<LayerType>1</LayerType><Text>Hallo &amp; tschüs</Text><FontName>DejaVu Sans</FontName>"
        "<FontSize>12</FontSize><FontColor>4294901760</FontColor><Bold>true</Bold>"
        "<Italic>false</Italic><FontTransp>255</FontTransp><Border>false</Border>"
        "<BorderSize>1</BorderSize><BorderColor>4278190080</BorderColor>"
        "<BorderTransp>255</BorderTransp><Shadow>false</Shadow><ShadowXShift>2</ShadowXShift>"
        "<ShadowYShift>2</ShadowYShift><ShadowColor>4278190080</ShadowColor>"
        "<ShadowTransp>128</ShadowTransp><BlurFont>false</BlurFont>"
        "<BlurFoDirect>0</BlurFoDirect><BlurFoStrength>0</BlurFoStrength>"
        "<NumTrans>2</NumTrans><Transf>1</Transf><Transf>2</Transf>";
    auto Wide = Read(Project(200, 100, Text));
    auto Small = Read(Project(3, 3, Text));
    const auto& A = LayerAt<TTextLayer>(*Wide, 0);
    const auto& B = LayerAt<TTextLayer>(*Small, 0);
    EXPECT_EQ(A.FontLayerStyle().Text(), QStringLiteral("Hallo & tschüs"));
    EXPECT_TRUE(A.FontLayerStyle().FontBold());
    EXPECT_EQ(A.FontLayerStyle().FillColor(), 0xFFFF0000u);
    // (5 * 200) div 2 = 500 against (5 * 3) div 2 = 7.
    EXPECT_EQ(A.Location().Left - B.Location().Left, 493.0f);
    EXPECT_EQ(A.Location().Top - B.Location().Top, 243.0f);
    EXPECT_EQ(A.Location().Right - A.Location().Left, static_cast<float>(A.Bitmap().Width()));
}

// A frame with ID 0 after the first paints over the current frame instead of adding one.
TEST_F(TProjectFormat, AFrameWithIDZeroLaterReplacesTheCurrentBackground) {
    std::string Frames;
    const std::pair<int, TColor32> List[] = {{0, 0xFFFF0000}, {1, 0xFF00FF00}, {0, 0xFF0000FF}};
    for (const auto& [ID, Colour] : List)
        Frames += "<Frame ID=\"" + std::to_string(ID) + "\"><Background>" + PictureOf(8, 6, Colour) +
                  "</Background><ShowDuration>" + std::to_string(100 + ID) +
                  "</ShowDuration><ColorReduction>0</ColorReduction><DitherMode>0</DitherMode>"
                  "<NumLayers>0</NumLayers></Frame>";
    auto Doc = Read("<ProjectFile><ProgramVersion>3.0.0.0</ProgramVersion><NumLoops>0</NumLoops>"
                    "<NumFrames>3</NumFrames>" +
                    Frames + "</ProjectFile>");
    ASSERT_EQ(Doc->FrameCount(), 2);
    EXPECT_EQ(Doc->Frame(0).ImgView->Bitmap().Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(Doc->Frame(1).ImgView->Bitmap().Pixel(0, 0), 0xFF0000FFu);
}

// Saving over an existing project: a folder that turned read-only, and a disk that fills up half
// way, both leave the old file as it was and no temporary file behind.
TEST_F(TProjectFormat, AFailedSaveKeepsThePreviousProject) {
    QTemporaryDir Dir;
    ASSERT_EQ(chmod(QFile::encodeName(Dir.path()).constData(), 0755), 0);
    const QString Name = Dir.filePath(QStringLiteral("banner.dgm"));
    auto Doc = std::make_unique<TDocForm>(Host);
    Doc->NewImage(300, 200, TColor{0x00FFFFFF});
    for (int I = 0; I < 300; ++I) Doc->CurrentView()->Bitmap().SetPixel(I, I % 200, Color32(I, 7 * I, 3 * I));
    ASSERT_TRUE(Doc->SelectSaveMethod(Name, QStringLiteral(".dgm")));
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    const QByteArray Saved = F.readAll();
    F.close();
    Doc->CreateNewFrame(1);
    const auto Unchanged = [&] {
        QFile G(Name);
        return G.open(QIODevice::ReadOnly) && G.readAll() == Saved &&
               QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden) ==
                   QStringList{QStringLiteral("banner.dgm")};
    };

    // The superuser writes into any folder, so the save runs as nobody for this part.
    ASSERT_EQ(chmod(QFile::encodeName(Dir.path()).constData(), 0555), 0);
    const bool Root = geteuid() == 0;
    if (Root) {
        ASSERT_EQ(seteuid(65534), 0);
    }
    EXPECT_THROW(Doc->SelectSaveMethod(Name, QStringLiteral(".dgm")), EFileError);
    if (Root) {
        ASSERT_EQ(seteuid(0), 0);
    }
    ASSERT_EQ(chmod(QFile::encodeName(Dir.path()).constData(), 0755), 0);
    EXPECT_TRUE(Unchanged());

    struct rlimit Old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Old), 0);
    const auto OldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit Small = Old;
    Small.rlim_cur = static_cast<rlim_t>(Saved.size() / 2);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);
    EXPECT_THROW(Doc->SelectSaveMethod(Name, QStringLiteral(".dgm")), EFileError);
    setrlimit(RLIMIT_FSIZE, &Old);
    std::signal(SIGXFSZ, OldSignal);
    EXPECT_TRUE(Unchanged());

    ASSERT_TRUE(Doc->SelectSaveMethod(Name, QStringLiteral(".dgm")));
    auto Back = std::make_unique<TDocForm>(Host);
    Back->LoadProjectFromXML(Name);
    EXPECT_EQ(Back->FrameCount(), 2);
}

} // namespace
} // namespace zp
