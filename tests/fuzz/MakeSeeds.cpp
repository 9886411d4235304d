// Writes a small starting corpus for each fuzz target: valid files of many layouts, made with
// the libraries themselves and with our writers.

#include "CodecTestSupport.h"

#include "document/DocForm.h"
#include "files/PictureCodecs.h"
#include "files/PictureStrings.h"
#include "gfx/Base64.h"
#include "layers/Line.h"
#include "layers/PicLayer.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/TextLayer.h"
#include "layers/XmlValues.h"

#include <QGuiApplication>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using namespace zp;
using namespace zp::test;

void Save(const std::filesystem::path& Folder, const std::string& Name, const TBytes& Data) {
    if (Data.empty()) return;
    std::filesystem::create_directories(Folder);
    std::ofstream(Folder / Name, std::ios::binary)
        .write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}

TBytes Noise(std::size_t N, std::uint32_t Seed) {
    TCodecNoise R(Seed);
    TBytes Out;
    for (std::size_t I = 0; I < N; ++I) Out.push_back(R.Byte());
    return Out;
}

TBytes Text(const std::string& S) {
    return TBytes(S.begin(), S.end());
}

std::unique_ptr<TBitmap32> Gradient(int W, int H) {
    auto B = std::make_unique<TBitmap32>();
    B->SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B->SetPixel(X, Y, Color32(X * 255 / W, Y * 255 / H, 90, 80 + X * 175 / W));
    return B;
}

// Every layer kind on one frame, with outlines, shadows, gradients, hatches, a pattern image,
// effects, a transformation and a master alpha.
std::string EveryLayerKind(TDocHost& Host) {
    TDocForm Doc(Host);
    Doc.NewImage(96, 64, TColor{0x00E0F0FF});
    Doc.CurrentView()->Bitmap().SetPixel(1, 1, 0x40FF0000u);

    auto R = std::make_unique<T2DRectangle>(8, 8, 50, 36);
    R->LayerStyle().SetFillGradient(true);
    R->LayerStyle().SetFillGradientShape(shpCircle);
    R->LayerStyle().SetFillGradientColor1(0xFFFF0000u);
    R->LayerStyle().SetFillGradientColor2(0x800000FFu);
    R->LayerStyle().SetOutline(true);
    R->LayerStyle().SetOutlineSize(3);
    R->LayerStyle().SetOutlineDashStyle(DashStyleDashDot);
    R->LayerStyle().SetOutlinePosition(posMid);
    R->LayerStyle().SetShadow(true);
    R->Paint();
    Doc.SelectLayer(Doc.InsertLayer(std::move(R)));
    Doc.RotateClick(20);
    Doc.AddEffect(efEmboss);
    Doc.AddEffect(efSoften);

    auto E = std::make_unique<T2DEllipse>(40, 20, 90, 60);
    E->LayerStyle().SetFillPattern(true);
    E->LayerStyle().SetNoOfHatchBrush(5);
    E->Paint();
    Doc.InsertLayer(std::move(E));
    Doc.AddMotionBlurEffect(3, bldTopRight);

    auto P = std::make_unique<T2DPolygon>(20, 40, 40, 60, 6);
    P->LayerStyle().SetFillImage(true);
    P->LayerStyle().SetFillPatternBitmap(TGPImage::FromBitmap32(*Gradient(5, 4)));
    P->LayerStyle().SetFillPatternWrapMode(WrapModeTileFlipXY);
    P->Paint();
    Doc.InsertLayer(std::move(P));
    Doc.FlipVertClick();

    auto L = std::make_unique<T2DLine>(2, 60, 90, 4);
    L->SetLineWidth(4);
    L->Paint();
    Doc.InsertLayer(std::move(L));

    Doc.InsertLayer(std::make_unique<TPicLayer>(*Gradient(12, 7)));
    Doc.MoveLayer(*Doc.Selection(), 60, 3);
    Doc.AddEffect(efSharpen);

    Doc.SetMasterAlpha(*Doc.CreateBitmapLayer(*Gradient(6, 5), {3, 50}, true), 150);

    TTextLayer* T = Doc.NewTextLayer();
    T->FontLayerStyle().SetFontSize(18);
    T->FontLayerStyle().SetFontBold(true);
    T->FontLayerStyle().SetShadow(true);
    T->FontLayerStyle().SetOutline(true);
    Doc.SetLayerText(*T, QStringLiteral("Zelk <&> \"ü\""));
    Doc.SelectLayer(nullptr);
    return Doc.ProjectToXMLText();
}

// Several frames with their own settings and a loop count.
std::string Animation(TDocHost& Host) {
    TDocForm Doc(Host);
    Doc.NewImage(40, 24, TColor{0x00FFFFFF});
    auto R = std::make_unique<T2DRectangle>(2, 2, 14, 12);
    R->Paint();
    Doc.InsertLayer(std::move(R));
    const TColorReduction Reductions[] = {rmNetscape, rmWindows256, rmQuantize};
    const TDitherMode Dithers[] = {dmStucki, dmNearest, dmBurkes};
    for (int I = 0; I < 3; ++I) {
        Doc.CreateNewFrame(1);
        Doc.MoveLayer(*dynamic_cast<TPositionedLayer*>(Doc.CurrentView()->Layers().Items(0)), 4.0f + 8 * I,
                      6);
        Doc.SetFrameSettings(I + 1, 50 + 10 * I, Reductions[I], Dithers[I]);
    }
    Doc.CreateNewFrame(2);
    Doc.SetFrameSettings(0, 250, rmPalette, dmFloydSteinberg);
    Doc.SetNumLoops(7);
    Doc.SelectLayer(nullptr);
    return Doc.ProjectToXMLText();
}

// The layout before the style block (ProgramVersion below 2.0.0.1): pictures and texts only, each
// with its own element names, and the font size in points.
std::string OlderLayout() {
    pugi::xml_document Doc;
    pugi::xml_node Root = Doc.append_child("ProjectFile");
    WriteXMLText(Root, "ProgramVersion", "2.0.0.0");
    WriteXMLInteger(Root, "NumLoops", 0);
    WriteXMLInteger(Root, "NumFrames", 2);
    for (int I = 0; I < 2; ++I) {
        pugi::xml_node F = Root.append_child("Frame");
        F.append_attribute("ID") = I;
        WriteXMLText(F, "Background", BitmapToString(*Gradient(32 + I, 20)));
        WriteXMLInteger(F, "ShowDuration", 100);
        WriteXMLInteger(F, "ColorReduction", I);
        WriteXMLInteger(F, "DitherMode", I);
        WriteXMLInteger(F, "NumLayers", 2);

        pugi::xml_node P = F.append_child("Layer");
        P.append_attribute("ID") = 0;
        WriteXMLInteger(P, "PosLeftTopX", 16);
        WriteXMLInteger(P, "PosLeftTopY", 10);
        WriteXMLInteger(P, "PosRightBottomX", 24);
        WriteXMLInteger(P, "PosRightBottomY", 15);
        WriteXMLInteger(P, "LayerType", 0);
        WriteXMLText(P, "LayerBitmap", BitmapToString(*Gradient(8, 5)));
        WriteXMLInteger(P, "BitTransp", 200);

        pugi::xml_node T = F.append_child("Layer");
        T.append_attribute("ID") = 1;
        WriteXMLInteger(T, "PosLeftTopX", -10);
        WriteXMLInteger(T, "PosLeftTopY", -5);
        WriteXMLInteger(T, "PosRightBottomX", 10);
        WriteXMLInteger(T, "PosRightBottomY", 5);
        WriteXMLInteger(T, "LayerType", 1);
        WriteXMLBoolean(T, "BlurFont", I == 1);
        WriteXMLInteger(T, "BlurFoDirect", 3);
        WriteXMLInteger(T, "BlurFoStrength", 2);
        WriteXMLColor(T, "FontColor", 0xFF2040A0u);
        WriteXMLInteger(T, "FontTransp", 255);
        WriteXMLBoolean(T, "Border", true);
        WriteXMLInteger(T, "BorderSize", 1);
        WriteXMLColor(T, "BorderColor", 0xFF000000u);
        WriteXMLInteger(T, "BorderTransp", 128);
        WriteXMLBoolean(T, "Shadow", true);
        WriteXMLInteger(T, "ShadowXShift", 2);
        WriteXMLInteger(T, "ShadowYShift", -1);
        WriteXMLColor(T, "ShadowColor", 0xFF808080u);
        WriteXMLInteger(T, "ShadowTransp", 100);
        WriteXMLText(T, "Text", "Alt");
        WriteXMLText(T, "FontName", "Liberation Sans");
        WriteXMLInteger(T, "FontSize", 9);
        WriteXMLBoolean(T, "Bold", false);
        WriteXMLBoolean(T, "Italic", true);
    }
    std::ostringstream Out;
    Doc.save(Out, "  ");
    return std::move(Out).str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path Root = argv[1];
    // The text layers need fonts, which need an application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    TPlainDocHost Host;
    const std::pair<const char*, std::string> Projects[] = {{"every-layer-kind.dgm", EveryLayerKind(Host)},
                                                            {"animation.dgm", Animation(Host)},
                                                            {"older-layout.dgm", OlderLayout()}};
    for (const auto& [Name, Project] : Projects) {
        // A seed the reader refuses would start the fuzzer off at the first error.
        TDocForm Check(Host);
        Check.LoadProjectFromXMLText(Project);
        if (Check.FrameCount() < 2 && Check.Frame(0).ImgView->Layers().Count() < 2) return 1;
        Save(Root / "project", Name, Text(Project));
    }
    const auto Picture = NoiseBitmap(9, 7, 1);

    struct TPng {
        int Type, Depth;
    };
    for (const TPng P : {TPng{0, 1}, TPng{0, 16}, TPng{2, 8}, TPng{3, 4}, TPng{4, 8}, TPng{6, 16}})
        for (const bool Interlaced : {false, true}) {
            TPngLayout Layout(6, 5, P.Type, P.Depth, Interlaced);
            const int Channels = P.Type == 2 ? 3 : P.Type == 4 ? 2 : P.Type == 6 ? 4 : 1;
            Layout.Rows = Noise(static_cast<std::size_t>(5 * ((6 * Channels * P.Depth + 7) / 8)), 3);
            if (P.Type == 3) {
                Layout.PaletteRGB = Noise(48, 4);
                Layout.TransAlpha = {0, 128, 255};
            }
            if (P.Type == 0) Layout.TransGray = 1;
            Save(Root / "png",
                 "t" + std::to_string(P.Type) + "d" + std::to_string(P.Depth) + (Interlaced ? "i" : ""),
                 WritePngWithLibpng(Layout));
        }
    Save(Root / "png", "ours", EncodePNG(*Picture));
    Save(Root / "string", "ours", [&] {
        const std::string S = Base64Encode(EncodeTransparentPNG(*Picture));
        return TBytes(S.begin(), S.end());
    }());

    for (const int Components : {1, 3, 4})
        for (const bool Progressive : {false, true}) {
            TJpegLayout Layout(17, 9, Components);
            Layout.Samples = Noise(static_cast<std::size_t>(17 * 9 * Components), 5);
            Layout.Quality = 75;
            Layout.Progressive = Progressive;
            Save(Root / "jpeg", "c" + std::to_string(Components) + (Progressive ? "p" : ""),
                 WriteJpegWithLibjpeg(Layout));
        }
    Save(Root / "jpeg", "ours", EncodeJPG(*Picture));

    const std::vector<TColor32> Colors = {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    for (const bool Interlaced : {false, true}) {
        TGifLayout Layout{8, 8, Colors, {{1, 2, 6, 5, Interlaced, {}, Interlaced ? 2 : -1, {}}}};
        for (int I = 0; I < 30; ++I) Layout.Images[0].Indices.push_back(static_cast<std::uint8_t>(I % 4));
        Save(Root / "gif", Interlaced ? "interlaced" : "plain", WriteGifWithGiflib(Layout));
    }

    Save(Root / "bmp", "ours32", EncodeBitmap(*Picture));
    Save(Root / "bmp", "rgb24", BuildBmp({3, -2, 24, 0, 40, {}, {}, Noise(24, 6)}));
    Save(Root / "bmp", "pal4", BuildBmp({5, 2, 4, 0, 40, Colors, {}, Noise(8, 7)}));
    Save(Root / "bmp", "bits16", BuildBmp({2, 1, 16, 3, 40, {}, {0xF800, 0x07E0, 0x001F}, Noise(4, 8)}));
    Save(Root / "bmp", "v5",
         BuildBmp({2, 1, 32, 3, 124, {}, {0xFF00, 0xFF0000, 0xFF000000, 0xFF}, Noise(8, 9)}));
    Save(Root / "bmp", "rle8", BuildBmp({4, 3, 8, 1, 40, Colors, {}, {3, 1, 0, 0, 0, 3, 2, 3, 0, 0,
                                                                      0, 0, 0, 2, 1, 0, 2, 2, 0, 1}}));
    Save(Root / "bmp", "rle4",
         BuildBmp({5, 2, 4, 2, 40, Colors, {}, {5, 0x12, 0, 0, 0, 3, 0x30, 0x20, 0, 1}}));
    Save(Root / "bmp", "core", BuildBmp({2, 1, 8, 0, 12, Colors, {}, {2, 1, 0, 0}}));
    return 0;
}
