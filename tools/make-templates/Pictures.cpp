// The picture templates: backgrounds, arrows, buttons, badges and bursts, each a transparent
// PNG drawn with the same figures and texts as the banners.
#include "Canvas.h"
#include "Templates.h"

#include "files/PictureCodecs.h"
#include "files/PictureFiles.h"
#include "gfx/Brushes.h"
#include "gfx/Graphics.h"

#include <QDir>

#include <functional>
#include <numbers>

namespace zp::tpl {

namespace {

struct TColours {
    TColor32 Light, Dark, Text;
};

void Save(TCanvas& C, const QString& Folder, const QString& Name) {
    QDir().mkpath(Folder);
    const std::unique_ptr<TBitmap32> Picture = C.Compose();
    WriteFileSafely(Folder + QLatin1Char('/') + Name + QStringLiteral(".png"),
                    EncodeTransparentPNG(*Picture));
}

TLook Raised(TFill Fill, int Outline, TColor32 OutlineColor) {
    TLook L;
    L.Fill = Fill;
    L.Outline = Outline;
    L.OutlineColor = OutlineColor;
    L.ShadowAlpha = 90;
    L.ShadowX = 2;
    L.ShadowY = 3;
    return L;
}

TTextStyle Label(const QString& Text, TColor32 Colour, int MaxSize) {
    TTextStyle T;
    T.Variants = {Text};
    T.MinSize = 10;
    T.MaxSize = MaxSize;
    T.Look.Fill = Flat(Colour);
    return T;
}

void Backgrounds(const QString& Folder) {
    struct TBackground {
        const char* Name;
        int W, H;
        std::function<void(TBitmap32&)> Paint;
    };
    const auto Rays = [](TBitmap32& B, float CX, float CY, TColor32 Colour) {
        TGPGraphics G(B);
        G.SetSmoothingMode(SmoothingModeAntiAlias);
        const float Far = static_cast<float>(B.Width() + B.Height()) * 2;
        for (int I = 0; I < 24; I += 2) {
            const double A1 = std::numbers::pi * I / 12, A2 = std::numbers::pi * (I + 1) / 12;
            TGPPath P;
            P.AddPolygon(
                {{CX, CY},
                 {CX + Far * static_cast<float>(std::cos(A1)), CY + Far * static_cast<float>(std::sin(A1))},
                 {CX + Far * static_cast<float>(std::cos(A2)), CY + Far * static_cast<float>(std::sin(A2))}});
            G.FillPath(TGPSolidBrush(Colour), P);
        }
    };
    const TBackground List[] = {
        {"Himmelblau-468x60", 468, 60,
         [&](TBitmap32& B) {
             TGeneralGraphicFunctions::CreateGradient(shpLinear, 0xFF4FC3F7, 0xFF01579B, {0, 0}, {0, 59}, B);
             Rays(B, 380, 30, 0x12FFFFFF);
         }},
        {"Abendrot-468x60", 468, 60,
         [](TBitmap32& B) {
             TGeneralGraphicFunctions::CreateGradient(shpLinear, 0xFFFFA726, 0xFFAD1457, {0, 0}, {467, 59},
                                                      B);
         }},
        {"Nacht-120x240", 120, 240,
         [](TBitmap32& B) {
             TGeneralGraphicFunctions::CreateGradient(shpCircle, 0xFF7B1FA2, 0xFF1A0033, {40, 60}, {130, 260},
                                                      B);
         }},
        {"Frisch-125x125", 125, 125,
         [](TBitmap32& B) {
             TGeneralGraphicFunctions::CreateGradient(shpLinear, 0xFFFFFFFF, 0xFFE4E9EC, {0, 0}, {0, 124}, B);
             TGPGraphics G(B);
             G.SetSmoothingMode(SmoothingModeAntiAlias);
             TGPPath P;
             P.AddPolygon({{-1, 95}, {126, 70}, {126, 126}, {-1, 126}});
             G.FillPath(TGPLinearGradientBrush({0, 69}, {0, 126}, 0xFF26A69A, 0xFF00695C), P);
         }},
        {"Sonne-234x60", 234, 60,
         [&](TBitmap32& B) {
             TGeneralGraphicFunctions::CreateGradient(shpCircle, 0xFFFFF176, 0xFFFB8C00, {190, 30}, {0, 0},
                                                      B);
             Rays(B, 190, 30, 0x18FFFFFF);
         }},
    };
    for (const TBackground& G : List) {
        TCanvas C(G.W, G.H);
        C.PaintBackground(G.Paint);
        Save(C, Folder, QString::fromUtf8(G.Name));
    }
}

void Arrows(const QString& Folder) {
    struct TArrow {
        const char* Name;
        float Turn;
        TColours C;
    };
    static constexpr TArrow List[] = {
        {"Pfeil-rechts-orange", 0, {0xFFFFB74D, 0xFFEF6C00, 0xFFFFFFFF}},
        {"Pfeil-links-blau", 180, {0xFF64B5F6, 0xFF1565C0, 0xFFFFFFFF}},
        {"Pfeil-oben-gruen", -90, {0xFF81C784, 0xFF2E7D32, 0xFFFFFFFF}},
        {"Pfeil-unten-rot", 90, {0xFFEF5350, 0xFFB71C1C, 0xFFFFFFFF}},
        {"Pfeil-rechts-weiss", 0, {0xFFFFFFFF, 0xFFE0E0E0, 0xFF424242}},
    };
    for (const TArrow& A : List) {
        TCanvas C(72, 72, false);
        TLook Look = Raised({A.C.Light, A.C.Dark}, 2, A.C.Text);
        Look.Gloss = true;
        C.Shape(ArrowPolygon(Centred(35, 35, 58, 38), A.Turn), Look);
        Save(C, Folder, QString::fromUtf8(A.Name));
    }
}

void Buttons(const QString& Folder) {
    struct TButton {
        const char* Name;
        const char* Text;
        TColours C;
    };
    static constexpr TButton List[] = {
        {"Jetzt-kaufen", "Jetzt kaufen", {0xFFFFB74D, 0xFFE65100, 0xFFFFFFFF}},
        {"Mehr-erfahren", "Mehr erfahren", {0xFF42A5F5, 0xFF0D47A1, 0xFFFFFFFF}},
        {"Bestellen", "Bestellen", {0xFF66BB6A, 0xFF1B5E20, 0xFFFFFFFF}},
        {"Hier-klicken", "Hier klicken", {0xFFEF5350, 0xFFB71C1C, 0xFFFFFFFF}},
        {"Anmelden", "Anmelden", {0xFFAB47BC, 0xFF4A148C, 0xFFFFE082}},
    };
    for (const TButton& B : List) {
        TCanvas C(150, 46, false);
        const TBox Box{4, 4, 138, 34};
        TLook Look = Raised({B.C.Light, B.C.Dark}, 1, 0xFFFFFFFF);
        Look.ShadowX = 1;
        Look.Gloss = true;
        C.Shape(RoundedRectPolygon(Box, Box.H / 2), Look);
        TTextStyle T = Label(QString::fromUtf8(B.Text), B.C.Text, 17);
        T.Look.ShadowAlpha = 100;
        T.Look.ShadowColor = B.C.Dark;
        T.Look.ShadowX = 1;
        T.Look.ShadowY = 1;
        C.Text(T, {Box.X + 16, Box.Y + 9, Box.W - 32, Box.H - 18});
        Save(C, Folder, QString::fromUtf8(B.Name));
    }
}

void Badges(const QString& Folder) {
    struct TBadge {
        const char* Name;
        const char* Text;
        TColours C;
    };
    static constexpr TBadge List[] = {
        {"Neu", "NEU", {0xFFEF5350, 0xFFC62828, 0xFFFFFFFF}},
        {"Top", "TOP", {0xFFFFE082, 0xFFFFA000, 0xFF5D4037}},
        {"Gratis", "GRATIS", {0xFF81C784, 0xFF2E7D32, 0xFFFFFFFF}},
        {"Tipp", "TIPP", {0xFF4FC3F7, 0xFF0277BD, 0xFFFFFFFF}},
        {"Prozent", "%", {0xFFFFB74D, 0xFFE65100, 0xFFFFFFFF}},
    };
    for (const TBadge& B : List) {
        TCanvas C(84, 84, false);
        C.Ellipse({5, 5, 70, 70}, Raised({B.C.Light, B.C.Dark}, 3, 0xFFFFFFFF));
        TLook Ring;
        Ring.Opacity = 0;
        Ring.Outline = 1;
        Ring.OutlineColor = B.C.Text;
        C.Ellipse({11, 11, 58, 58}, Ring);
        C.Text(Label(QString::fromUtf8(B.Text), B.C.Text, 30), {16, 28, 46, 18});
        Save(C, Folder, QString::fromUtf8(B.Name));
    }
}

void Bursts(const QString& Folder) {
    struct TBurst {
        const char* Name;
        const char* Text;
        int Points;
        TColours C;
    };
    static constexpr TBurst List[] = {
        {"Sale", "SALE", 16, {0xFFFFEE58, 0xFFFFA000, 0xFFC62828}},
        {"Minus-50", "-50%", 18, {0xFFEF5350, 0xFFB71C1C, 0xFFFFFFFF}},
        {"Neu", "NEU!", 12, {0xFF9CCC65, 0xFF33691E, 0xFFFFFFFF}},
        {"Aktion", "AKTION", 20, {0xFFFFB74D, 0xFFE65100, 0xFFFFFFFF}},
        {"Gratis", "GRATIS", 14, {0xFF4FC3F7, 0xFF01579B, 0xFFFFFFFF}},
    };
    for (const TBurst& B : List) {
        TCanvas C(110, 110, false);
        C.Shape(StarPolygon(53, 53, 48, 40, B.Points, 0), Raised({B.C.Light, B.C.Dark}, 2, 0xFFFFFFFF));
        TTextStyle T = Label(QString::fromUtf8(B.Text), B.C.Text, 32);
        if (B.C.Text == 0xFFFFFFFF) {
            T.Look.ShadowAlpha = 110;
            T.Look.ShadowColor = B.C.Dark;
            T.Look.ShadowX = 1;
            T.Look.ShadowY = 1;
        }
        C.Text(T, Centred(53, 53, 60, 22));
        Save(C, Folder, QString::fromUtf8(B.Name));
    }
}

} // namespace

void MakePictures(const QString& Folder) {
    Backgrounds(Folder + QStringLiteral("/Hintergrund"));
    Arrows(Folder + QStringLiteral("/Pfeile"));
    Buttons(Folder + QStringLiteral("/Buttons"));
    Badges(Folder + QStringLiteral("/Abzeichen"));
    Bursts(Folder + QStringLiteral("/Störer"));
}

} // namespace zp::tpl
