// The banner designs. Each design is laid out anew for every size from a few proportions, so
// that a new standard size gets its templates without a drawing of its own.
#include "Canvas.h"
#include "Templates.h"

#include "gfx/Brushes.h"
#include "gfx/Graphics.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace zp::tpl {

namespace {

enum TForm { fmWide, fmBox, fmTall, fmMicro };

// Where things go in one size.
struct TLayout {
    float W = 0, H = 0;
    TForm Form = fmWide;
    float M = 4;
    TBox Head, Head2, Sub; // Head2.W == 0: the headline is one line; Sub.W == 0: no sub line
    TGPPointF BadgeCentre;
    float BadgeRadius = 0;
    // Else the badge has the second frame to itself.
    bool BadgeAlways = true;
    TBox Button;
    // Else the button comes in the last frame, in the sub line's or the badge's place.
    bool ButtonAlways = false;
    // The badge makes way for the button in the last frame.
    bool ButtonHidesBadge = false;
};

TLayout MakeLayout(int Width, int Height) {
    TLayout L;
    const float W = static_cast<float>(Width), H = static_cast<float>(Height);
    L.W = W, L.H = H;
    if (H < 40) {
        L.Form = fmMicro;
        L.M = 3;
        L.Head = {4, 4, W - 8, H - 8};
        L.BadgeCentre = {W / 2, H / 2};
        L.BadgeRadius = H / 2 - 1;
        L.BadgeAlways = false;
        L.Button = {2, 2, W - 4, H - 5};
        return L;
    }
    if (H > 1.5f * W) {
        L.Form = fmTall;
        L.M = std::round(W * 0.08f);
        L.Head = {L.M, H * 0.05f, W - 2 * L.M, H * 0.1f};
        L.Head2 = {L.M, H * 0.17f, W - 2 * L.M, H * 0.1f};
        L.Sub = {L.M, H * 0.31f, W - 2 * L.M, H * 0.055f};
        L.BadgeCentre = {W / 2, H * 0.56f};
        L.BadgeRadius = std::min(W * 0.36f, H * 0.17f);
        L.Button = {W * 0.08f, H * 0.8f, W * 0.84f, H * 0.12f};
        L.ButtonAlways = true;
        return L;
    }
    if (W >= 2 * H) {
        L.Form = fmWide;
        L.M = std::round(H * 0.1f);
        L.BadgeRadius = H * (W < 160 ? 0.37f : 0.43f);
        L.BadgeCentre = {W - L.M - L.BadgeRadius, H / 2};
        float TextRight = L.BadgeCentre.X - L.BadgeRadius - L.M;
        const float Left = std::round(L.M * 1.5f);
        if (W >= 300) {
            const float BW = std::clamp(W * 0.3f, 100.0f, 128.0f), BH = std::min(H * 0.5f, 30.0f);
            L.Button = {TextRight - BW, std::round((H - BH) / 2), BW, BH};
            L.ButtonAlways = true;
            TextRight = L.Button.X - L.M;
        }
        L.Head = {Left, L.M, TextRight - Left, H * 0.5f - L.M};
        L.Sub = {Left, H * 0.6f, TextRight - Left, H * 0.24f};
        if (!L.ButtonAlways) L.Button = {Left, H * 0.56f, TextRight - Left, H * 0.36f};
        if (W < 200) {
            L.Button.W = W - Left - L.M * 1.5f;
            L.ButtonHidesBadge = true;
        }
        return L;
    }
    L.Form = fmBox;
    L.M = std::round(std::min(W, H) * 0.08f);
    L.Head = {L.M, L.M, W - 2 * L.M, H * 0.2f};
    if (H >= 90) L.Sub = {L.M, L.M + H * 0.24f, W - 2 * L.M, H * 0.1f};
    const float Top = (L.Sub.W > 0 ? L.Sub.Bottom() : L.Head.Bottom()) + L.M / 2;
    // Room for the badge grown in the middle frame.
    L.BadgeRadius = std::min((H - Top - L.M / 2) / 2, W * 0.32f) / 1.1f;
    L.BadgeCentre = {W / 2, Top + (H - Top) / 2};
    const float BH = std::min(H * 0.28f, 30.0f);
    L.Button = Centred(W / 2, L.BadgeCentre.Y, W * 0.84f, BH);
    return L;
}

// The words of a design: one headline (two lines in tall sizes), a sub line for each frame,
// the badge and the button. Each list holds variants, longest first.
struct TWords {
    QStringList Head, HeadTop, HeadBottom;
    QStringList Sub[3];
    QStringList Badge, Button;
};

class TDesign {
public:
    virtual ~TDesign() = default;
    virtual QString Name() const = 0;
    virtual const TWords& Words() const = 0;
    virtual TTextStyle HeadStyle() const = 0;
    virtual TTextStyle SubStyle() const = 0;
    // The picture behind everything, frame by frame: what moves there needs no layer of its
    // own, which keeps the projects small.
    virtual void Backdrop(TBitmap32& B, const TLayout& L, int Frame) = 0;
    // Frame 0 to 2: the badge may turn and grow (Grow).
    virtual void Badge(TCanvas& C, TGPPointF Centre, float Radius, int Frame) = 0;
    virtual void Button(TCanvas& C, const TBox& Box, bool Lit) = 0;
    // The badge's words alone in a box too small for the badge itself.
    virtual void BadgeWords(TCanvas& C, const TBox& Box) = 0;

    void Build(TCanvas& C);

protected:
    TTextStyle Style(const TTextStyle& Base, const QStringList& Variants, int MinSize) const {
        TTextStyle S = Base;
        S.Variants = Variants;
        S.MinSize = MinSize;
        S.MaxSize = 60;
        return S;
    }
    // Every frame's line in one size, the size the longest of them allows.
    void FitLines(TCanvas& C, const TLayout& L) {
        const int HeadMin = L.Form == fmMicro ? 11 : 13;
        FHead = {C.Fit(Style(HeadStyle(), Words().Head, HeadMin), L.Head)};
        if (L.Head2.W > 0) {
            FHead = {C.Fit(Style(HeadStyle(), Words().HeadTop, HeadMin), L.Head),
                     C.Fit(Style(HeadStyle(), Words().HeadBottom, HeadMin), L.Head2)};
        }
        Same(FHead);
        FSub.clear();
        std::vector<TCanvas::TFit> Shown;
        for (int F = 0; F < 3; ++F) {
            FSub.push_back(SubShown(L, F) ? C.Fit(Style(SubStyle(), Words().Sub[F], 10), L.Sub)
                                          : TCanvas::TFit{});
            if (SubShown(L, F)) Shown.push_back(FSub.back());
        }
        Same(Shown);
        for (TCanvas::TFit& F : FSub)
            if (!Shown.empty()) F.Size = Shown.front().Size;
    }
    static void Same(std::vector<TCanvas::TFit>& Fits) {
        int Size = 1000;
        for (const TCanvas::TFit& F : Fits) Size = std::min(Size, F.Size);
        for (TCanvas::TFit& F : Fits) F.Size = Size;
    }
    TTextStyle Fixed(const TTextStyle& Base, const TCanvas::TFit& Fit) const {
        TTextStyle S = Base;
        S.Variants = {Fit.Text};
        S.MinSize = S.MaxSize = Fit.Size;
        return S;
    }
    void Headline(TCanvas& C, const TLayout& L) {
        if (L.Head2.W > 0) {
            C.Text(Fixed(HeadStyle(), FHead[0]), L.Head);
            C.Text(Fixed(HeadStyle(), FHead[1]), L.Head2);
            return;
        }
        C.Text(Fixed(HeadStyle(), FHead[0]), L.Head, L.Form == fmWide ? alLeft : alCentre);
    }
    // A wide banner without room for its button shows it instead of the last sub line.
    static bool SubShown(const TLayout& L, int Frame) {
        return L.Sub.W > 0 && !(Frame == 2 && L.Form == fmWide && !L.ButtonAlways);
    }
    void SubLine(TCanvas& C, const TLayout& L, int Frame) {
        if (!SubShown(L, Frame)) return;
        C.Text(Fixed(SubStyle(), FSub[static_cast<std::size_t>(Frame)]), L.Sub,
               L.Form == fmWide ? alLeft : alCentre);
    }
    // The badge is larger in the middle frame.
    static float Grow(int Frame) { return Frame == 1 ? 1.1f : 1.0f; }
    // Text inside a button box, leaving room for its round ends.
    static TBox Label(const TBox& Box) {
        const float Pad = std::min(Box.H * 0.45f, 12.0f);
        return {Box.X + Pad, Box.Y + Box.H * 0.2f, Box.W - 2 * Pad, Box.H * 0.6f};
    }

private:
    std::vector<TCanvas::TFit> FHead, FSub;
};

void TDesign::Build(TCanvas& C) {
    const TLayout L = MakeLayout(C.Width(), C.Height());
    FitLines(C, L);
    // Shown long enough to read, the badge briefly, the call to act longest.
    const int Durations[3] = {1800, 900, 2400};
    for (int F = 0; F < 3; ++F) {
        C.Frame(Durations[F]);
        C.PaintBackground([&](TBitmap32& B) { Backdrop(B, L, F); });
        const bool BadgeFrame = F == 1 && !L.BadgeAlways;
        const bool ButtonFrame = F == 2 && !L.ButtonAlways;
        if (L.Form == fmMicro) {
            if (F == 0) Headline(C, L);
            if (BadgeFrame) BadgeWords(C, L.Head);
            if (ButtonFrame) Button(C, L.Button, true);
            continue;
        }
        Headline(C, L);
        SubLine(C, L, F);
        // The badge grows in the middle frame; in a box the button takes its place at the end.
        const bool ShowBadge = L.BadgeAlways && !(ButtonFrame && (L.Form == fmBox || L.ButtonHidesBadge));
        if (ShowBadge) Badge(C, L.BadgeCentre, L.BadgeRadius, F);
        if (L.ButtonAlways || ButtonFrame) Button(C, L.Button, F == 2);
    }
}

// Wedges of light from a point, over the whole picture.
void PaintRays(TBitmap32& B, TGPPointF Centre, int Count, TColor32 Color) {
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    const float Far = static_cast<float>(B.Width() + B.Height()) * 2;
    for (int I = 0; I < Count; I += 2) {
        const double A1 = 2 * std::numbers::pi * I / Count, A2 = 2 * std::numbers::pi * (I + 1) / Count;
        TGPPath P;
        P.AddPolygon({Centre,
                      {Centre.X + Far * static_cast<float>(std::cos(A1)),
                       Centre.Y + Far * static_cast<float>(std::sin(A1))},
                      {Centre.X + Far * static_cast<float>(std::cos(A2)),
                       Centre.Y + Far * static_cast<float>(std::sin(A2))}});
        G.FillPath(TGPSolidBrush(Color), P);
    }
}

void PaintPolygon(TBitmap32& B, const std::vector<TGPPointF>& Points, const TGPBrush& Brush) {
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    TGPPath P;
    P.AddPolygon(Points);
    G.FillPath(Brush, P);
}

void VerticalGradient(TBitmap32& B, TColor32 Top, TColor32 Bottom) {
    TGeneralGraphicFunctions::CreateGradient(shpLinear, Top, Bottom, {0, 0}, {0, B.Height() - 1}, B);
}

// ---------------------------------------------------------------- "Sommer-Sale"

class TSale final : public TDesign {
public:
    QString Name() const override { return QStringLiteral("Sommer-Sale"); }
    const TWords& Words() const override {
        static const TWords W{
            {QStringLiteral("SOMMER-SALE"), QStringLiteral("SALE")},
            {QStringLiteral("SOMMER")},
            {QStringLiteral("SALE")},
            {{QStringLiteral("Nur für kurze Zeit"), QStringLiteral("Nur kurz!")},
             {QStringLiteral("Auf alle Sommerartikel"), QStringLiteral("Auf alles!")},
             {QStringLiteral("Solange der Vorrat reicht"), QStringLiteral("Nur solange da")}},
            {QStringLiteral("-30%")},
            {QStringLiteral("Jetzt sparen »"), QStringLiteral("Jetzt sparen"), QStringLiteral("Sparen!")}};
        return W;
    }
    TTextStyle HeadStyle() const override {
        TTextStyle S;
        S.Look.Fill = Flat(0xFFFFFFFF);
        S.Look.ShadowAlpha = 150;
        S.Look.ShadowColor = 0xFF06224F;
        S.Look.ShadowX = 1;
        S.Look.ShadowY = 2;
        return S;
    }
    TTextStyle SubStyle() const override {
        TTextStyle S;
        S.Bold = false;
        S.Look.Fill = Flat(0xFFFFF59D);
        return S;
    }
    void Backdrop(TBitmap32& B, const TLayout& L, int) override {
        const TGPPointF Centre = L.BadgeAlways ? L.BadgeCentre : TGPPointF{L.W / 2, L.H / 2};
        VerticalGradient(B, 0xFF1E88E5, 0xFF0D3C8C);
        PaintRays(B, Centre, 24, 0x14FFFFFF);
    }
    void Badge(TCanvas& C, TGPPointF Centre, float Base, int Frame) override {
        const float R = Base * Grow(Frame);
        TLook Look;
        Look.Fill = {0xFFFFE57F, 0xFFFFA000};
        Look.Outline = R > 20 ? 2 : 1;
        Look.OutlineColor = 0xFFFFFFFF;
        Look.ShadowAlpha = 90;
        Look.ShadowX = 1;
        Look.ShadowY = 2;
        C.Shape(StarPolygon(Centre.X, Centre.Y, R, R * 0.8f, 14, static_cast<float>(Frame) * 9), Look);
        TTextStyle T;
        T.Variants = Words().Badge;
        T.MinSize = 9;
        T.MaxSize = 60;
        T.Look.Fill = Flat(0xFFC62828);
        C.Text(T, Centred(Centre.X, Centre.Y, R * 1.3f, R * 0.62f));
    }
    void Button(TCanvas& C, const TBox& Box, bool Lit) override {
        TLook Look;
        Look.Fill = Lit ? TFill{0xFFFFB74D, 0xFFF57C00} : TFill{0xFFFFA726, 0xFFE65100};
        Look.Outline = 1;
        Look.OutlineColor = 0xFFFFFFFF;
        Look.ShadowAlpha = 80;
        Look.ShadowX = 1;
        Look.ShadowY = 2;
        Look.Gloss = true;
        C.Shape(RoundedRectPolygon(Box, Box.H / 2), Look);
        TTextStyle T;
        T.Variants = Words().Button;
        T.MinSize = 10;
        T.MaxSize = 40;
        T.Look.Fill = Flat(0xFFFFFFFF);
        T.Look.ShadowAlpha = 110;
        T.Look.ShadowColor = 0xFFBF360C;
        T.Look.ShadowX = 1;
        T.Look.ShadowY = 1;
        C.Text(T, Label(Box));
    }
    void BadgeWords(TCanvas& C, const TBox& Box) override {
        TTextStyle T;
        T.Variants = Words().Badge;
        T.MinSize = 11;
        T.MaxSize = 60;
        T.Look.Fill = {0xFFFFF59D, 0xFFFFB300};
        T.Look.ShadowAlpha = 150;
        T.Look.ShadowColor = 0xFF06224F;
        T.Look.ShadowX = 1;
        T.Look.ShadowY = 1;
        C.Text(T, Box);
    }
};

// ---------------------------------------------------------------- "Neuheit"

class TNovelty final : public TDesign {
public:
    QString Name() const override { return QStringLiteral("Neuheit"); }
    const TWords& Words() const override {
        static const TWords W{
            {QStringLiteral("Die neue Kollektion"), QStringLiteral("Neue Kollektion"),
             QStringLiteral("Neu da")},
            {QStringLiteral("Die neue")},
            {QStringLiteral("Kollektion")},
            {{QStringLiteral("Frisch eingetroffen"), QStringLiteral("Frisch da")},
             {QStringLiteral("Leicht. Modern. Bequem."), QStringLiteral("Leicht & bequem"),
              QStringLiteral("Bequem")},
             {QStringLiteral("Versandkostenfrei bestellen"), QStringLiteral("Gratis-Versand"),
              QStringLiteral("Versandfrei")}},
            {QStringLiteral("NEU")},
            {QStringLiteral("Mehr erfahren ›"), QStringLiteral("Mehr erfahren"), QStringLiteral("Mehr ›")}};
        return W;
    }
    TTextStyle HeadStyle() const override {
        TTextStyle S;
        S.Font = QStringLiteral("DejaVu Sans");
        S.Look.Fill = Flat(0xFF263238);
        return S;
    }
    TTextStyle SubStyle() const override {
        TTextStyle S;
        S.Font = QStringLiteral("DejaVu Sans");
        S.Bold = false;
        S.Look.Fill = Flat(0xFF00796B);
        return S;
    }
    // The coloured side: the right end of wide banners, the lower part of the others.
    static std::vector<TGPPointF> Accent(const TLayout& L) {
        if (L.Form == fmWide) {
            // Clear of the words, behind the right end of a button.
            const float X = L.ButtonAlways ? L.Button.X + L.Button.W * 0.6f : L.Head.Right() + L.M / 2;
            return {{X + L.H * 0.7f, 0}, {L.W + 1, 0}, {L.W + 1, L.H + 1}, {X, L.H + 1}};
        }
        if (L.Form == fmMicro) return {{-1, L.H - 3}, {L.W + 1, L.H - 3}, {L.W + 1, L.H + 1}, {-1, L.H + 1}};
        const float Y = L.BadgeCentre.Y - L.BadgeRadius * 0.4f;
        return {{-1, Y + L.W * 0.12f}, {L.W + 1, Y - L.W * 0.12f}, {L.W + 1, L.H + 1}, {-1, L.H + 1}};
    }
    void Backdrop(TBitmap32& B, const TLayout& L, int Frame) override {
        VerticalGradient(B, 0xFFFFFFFF, 0xFFE4E9EC);
        const std::vector<TGPPointF> A = Accent(L);
        PaintPolygon(B, A, TGPLinearGradientBrush({0, -1}, {0, L.H + 1}, 0xFF26A69A, 0xFF00695C));
        if (L.Form == fmMicro) return;
        // A streak of light passes over the coloured side.
        float Left = A[0].X, Right = A[0].X;
        for (const TGPPointF& P : A) Left = std::min(Left, P.X), Right = std::max(Right, P.X);
        const float Band = std::max(4.0f, std::min(L.W, L.H) * 0.12f);
        const TGPSolidBrush Light(0x2EFFFFFF);
        if (L.Form == fmWide) {
            const float X = Left + (Right - Left) * (0.2f + 0.3f * static_cast<float>(Frame)),
                        Tilt = L.H * 0.3f;
            PaintPolygon(B, {{X + Tilt, 0}, {X + Tilt + Band, 0}, {X - Tilt + Band, L.H}, {X - Tilt, L.H}},
                         Light);
            return;
        }
        const float Y = A[0].Y + L.H * (0.05f + 0.08f * static_cast<float>(Frame));
        const float Drop = A[0].Y - A[1].Y;
        PaintPolygon(B, {{0, Y}, {L.W, Y - Drop}, {L.W, Y - Drop + Band}, {0, Y + Band}}, Light);
    }
    void Badge(TCanvas& C, TGPPointF Centre, float Base, int Frame) override {
        const float R = Base * Grow(Frame);
        TLook Look;
        Look.Fill = {0xFFEF5350, 0xFFC62828};
        Look.Outline = R > 20 ? 3 : 2;
        Look.OutlineColor = 0xFFFFFFFF;
        Look.ShadowAlpha = 70;
        Look.ShadowX = 1;
        Look.ShadowY = 2;
        const float D = R * 0.86f;
        C.Ellipse(Centred(Centre.X, Centre.Y, 2 * D, 2 * D), Look);
        TTextStyle T;
        T.Font = QStringLiteral("DejaVu Sans");
        T.Variants = Words().Badge;
        T.MinSize = 9;
        T.MaxSize = 60;
        T.Look.Fill = Flat(0xFFFFFFFF);
        C.Text(T, Centred(Centre.X, Centre.Y, D * 1.4f, D * 0.55f));
    }
    void Button(TCanvas& C, const TBox& Box, bool Lit) override {
        TLook Look;
        Look.Fill = Lit ? TFill{0xFF37474F, 0xFF263238} : TFill{0xFF455A64, 0xFF37474F};
        Look.ShadowAlpha = 60;
        Look.ShadowX = 1;
        Look.ShadowY = 1;
        C.Rect(Box, Look);
        TTextStyle T;
        T.Font = QStringLiteral("DejaVu Sans");
        T.Variants = Words().Button;
        T.MinSize = 9;
        T.MaxSize = 40;
        T.Look.Fill = Flat(0xFFFFFFFF);
        C.Text(T, {Box.X + 5, Box.Y + Box.H * 0.22f, Box.W - 10, Box.H * 0.56f});
    }
    void BadgeWords(TCanvas& C, const TBox& Box) override {
        // A red tag before the words.
        const TBox Tag{Box.X, Box.Y, std::round(Box.W * 0.4f), Box.H};
        TLook Look;
        Look.Fill = {0xFFEF5350, 0xFFC62828};
        C.Rect(Tag, Look);
        TTextStyle T;
        T.Font = QStringLiteral("DejaVu Sans");
        T.Variants = Words().Badge;
        T.MinSize = 9;
        T.MaxSize = 30;
        T.Look.Fill = Flat(0xFFFFFFFF);
        C.Text(T, Tag.Inset(4));
        T.Variants = {QStringLiteral("Jetzt da"), QStringLiteral("Da!")};
        T.Look.Fill = Flat(0xFF263238);
        C.Text(T, {Tag.Right() + 4, Box.Y + 3, Box.Right() - Tag.Right() - 4, Box.H - 6}, alLeft);
    }
};

// ---------------------------------------------------------------- "Einladung"

class TInvitation final : public TDesign {
public:
    QString Name() const override { return QStringLiteral("Einladung"); }
    const TWords& Words() const override {
        static const TWords W{
            {QStringLiteral("Einladung zum Sommerfest"), QStringLiteral("Sommerfest"),
             QStringLiteral("Feiern!")},
            {QStringLiteral("Einladung")},
            {QStringLiteral("Sommerfest")},
            {{QStringLiteral("Samstag ab 19 Uhr"), QStringLiteral("Sa. ab 19 Uhr"),
              QStringLiteral("Sa. 19 Uhr")},
             {QStringLiteral("Musik, Buffet & Feuerwerk"), QStringLiteral("Musik & Buffet"),
              QStringLiteral("Mit Musik")},
             {QStringLiteral("Wir freuen uns auf Sie!"), QStringLiteral("Wir freuen uns!")}},
            {QStringLiteral("Eintritt frei"), QStringLiteral("Gratis")},
            {QStringLiteral("Jetzt anmelden"), QStringLiteral("Anmelden")}};
        return W;
    }
    TTextStyle HeadStyle() const override {
        TTextStyle S;
        S.Font = QStringLiteral("Times New Roman");
        S.Italic = true;
        S.Look.Fill = {0xFFFFF3C4, 0xFFFFB300};
        S.Look.ShadowAlpha = 140;
        S.Look.ShadowColor = 0xFF000000;
        S.Look.ShadowX = 1;
        S.Look.ShadowY = 2;
        return S;
    }
    TTextStyle SubStyle() const override {
        TTextStyle S;
        S.Bold = false;
        S.Look.Fill = Flat(0xFFF3E5F5);
        return S;
    }
    void Backdrop(TBitmap32& B, const TLayout& L, int Frame) override {
        TGeneralGraphicFunctions::CreateGradient(
            shpCircle, 0xFF7B1FA2, 0xFF1A0033, {static_cast<int>(L.W * 0.3f), static_cast<int>(L.H * 0.25f)},
            {static_cast<int>(L.W * 1.05f), static_cast<int>(L.H * 1.1f)}, B);
        // Lights out of focus, rising slowly.
        struct TLight {
            float X, Y, R;
            TColor32 Color;
        };
        static constexpr TLight Lights[] = {{0.12f, 0.75f, 0.22f, 0x28FFD54F},
                                            {0.55f, 0.2f, 0.3f, 0x22CE93D8},
                                            {0.9f, 0.8f, 0.2f, 0x2CFFE082}};
        const float Unit = std::min(L.W, L.H);
        TGPGraphics G(B);
        G.SetSmoothingMode(SmoothingModeAntiAlias);
        for (const TLight& Light : Lights) {
            const float R = Light.R * Unit;
            const float Y = Light.Y * L.H - static_cast<float>(Frame) * Unit * 0.06f;
            TGPPath P;
            P.AddEllipse({Light.X * L.W - R, Y - R, 2 * R, 2 * R});
            G.FillPath(TGPSolidBrush(Light.Color), P);
        }
    }
    void Badge(TCanvas& C, TGPPointF Centre, float Base, int Frame) override {
        const float R = Base * Grow(Frame);
        TLook Look;
        Look.Fill = {0xFFFFE082, 0xFFFFA000};
        Look.Outline = R > 20 ? 2 : 1;
        Look.OutlineColor = 0xFF4A148C;
        Look.ShadowAlpha = 110;
        Look.ShadowX = 1;
        Look.ShadowY = 2;
        const float D = R * 0.9f;
        C.Ellipse(Centred(Centre.X, Centre.Y, 2 * D, 2 * D), Look);
        TTextStyle T;
        T.MinSize = 8;
        T.MaxSize = 40;
        T.Look.Fill = Flat(0xFF4A148C);
        if (Base * 0.9f < 28) {
            T.Variants = {Words().Badge.back()};
            C.Text(T, Centred(Centre.X, Centre.Y, D * 1.6f, D * 0.5f));
            return;
        }
        T.Variants = {QStringLiteral("Eintritt")};
        C.Text(T, Centred(Centre.X, Centre.Y - D * 0.24f, D * 1.3f, D * 0.32f));
        T.Variants = {QStringLiteral("frei")};
        C.Text(T, Centred(Centre.X, Centre.Y + D * 0.26f, D * 1.3f, D * 0.32f));
    }
    void Button(TCanvas& C, const TBox& Box, bool Lit) override {
        TLook Look;
        Look.Fill = Lit ? TFill{0xFF8E24AA, 0xFF5E1580} : TFill{0xFF6A1B9A, 0xFF4A148C};
        Look.Outline = 1;
        Look.OutlineColor = 0xFFFFD54F;
        Look.ShadowAlpha = 100;
        Look.ShadowX = 1;
        Look.ShadowY = 2;
        C.Shape(RoundedRectPolygon(Box, std::min(5.0f, Box.H / 4)), Look);
        TTextStyle T;
        T.Variants = Words().Button;
        T.MinSize = 10;
        T.MaxSize = 40;
        T.Look.Fill = Flat(0xFFFFE082);
        C.Text(T, {Box.X + 6, Box.Y + Box.H * 0.22f, Box.W - 12, Box.H * 0.56f});
    }
    void BadgeWords(TCanvas& C, const TBox& Box) override {
        TTextStyle T = HeadStyle();
        T.Variants = Words().Badge;
        T.MinSize = 11;
        T.MaxSize = 40;
        C.Text(T, Box);
    }
};

} // namespace

void MakeBanners(const QString& Folder, const std::vector<QSize>& Sizes) {
    std::vector<std::unique_ptr<TDesign>> Designs;
    Designs.push_back(std::make_unique<TSale>());
    Designs.push_back(std::make_unique<TNovelty>());
    Designs.push_back(std::make_unique<TInvitation>());
    for (const QSize& S : Sizes) {
        const QString Sub = Folder + QStringLiteral("/%1x%2").arg(S.width()).arg(S.height());
        QDir().mkpath(Sub);
        for (const auto& D : Designs) {
            TCanvas C(S.width(), S.height());
            try {
                D->Build(C);
            } catch (const std::exception& E) {
                throw std::runtime_error(D->Name().toStdString() + " " + std::to_string(S.width()) + "x" +
                                         std::to_string(S.height()) + ": " + E.what());
            }
            C.SaveProject(Sub + QLatin1Char('/') + D->Name() + QStringLiteral(".dgm"));
        }
    }
}

} // namespace zp::tpl
