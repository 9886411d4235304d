#include "Canvas.h"

#include "gfx/Brushes.h"
#include "gfx/Graphics.h"
#include "gfx/Pen.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace zp::tpl {

namespace {

constexpr double Rad = std::numbers::pi / 180;

int Round(float V) {
    return static_cast<int>(std::lround(V));
}

TColor32 Rgb(TColor32 C) {
    return C | 0xFF000000u;
}

bool HasGradient(const TLook& Look) {
    return Look.Fill.Top != Look.Fill.Bottom;
}

std::unique_ptr<TGPBrush> FillBrush(const TFill& Fill, int Opacity, float Top, float Bottom) {
    const TColor32 A = SetColorAlpha(Fill.Top, Opacity), B = SetColorAlpha(Fill.Bottom, Opacity);
    if (A == B) return std::make_unique<TGPSolidBrush>(A);
    // The gradient repeats beyond its ends, so they lie just outside the shape.
    return std::make_unique<TGPLinearGradientBrush>(TGPPointF{0, Top - 1}, TGPPointF{0, Bottom + 1}, A, B);
}

// Where the text's origin lies in the picture.
TFloatPoint TextOrigin(const TTextLayer& T) {
    const TFloatRect L = T.Location();
    return {L.Left + static_cast<float>(T.StartPoint.X), L.Top + static_cast<float>(T.StartPoint.Y)};
}

// The drawn bounds of Text at Size relative to its origin; the layer keeps that text.
TFloatRect TextBounds(TTextLayer& T, const QString& Text, int Size) {
    T.FontLayerStyle().SetText(Text);
    T.FontLayerStyle().SetFontSize(Size);
    T.WriteText(0, 0);
    const TFloatPoint O = TextOrigin(T);
    const TFloatRect B = T.BoundingRect();
    return {B.Left - O.X, B.Top - O.Y, B.Right - O.X, B.Bottom - O.Y};
}

} // namespace

// ---------------------------------------------------------------- outlines

std::vector<TGPPointF> StarPolygon(float CX, float CY, float Outer, float Inner, int Points,
                                   float TurnDegrees) {
    std::vector<TGPPointF> P;
    for (int I = 0; I < 2 * Points; ++I) {
        const double A = (TurnDegrees - 90) * Rad + I * std::numbers::pi / Points;
        const double R = I % 2 == 0 ? Outer : Inner;
        P.push_back({static_cast<float>(CX + R * std::cos(A)), static_cast<float>(CY + R * std::sin(A))});
    }
    return P;
}

std::vector<TGPPointF> RoundedRectPolygon(const TBox& Box, float Radius) {
    const float R = std::min({Radius, Box.W / 2, Box.H / 2});
    // Corners clockwise from the top right, each a quarter circle.
    const TGPPointF Centres[4] = {{Box.Right() - R, Box.Y + R},
                                  {Box.Right() - R, Box.Bottom() - R},
                                  {Box.X + R, Box.Bottom() - R},
                                  {Box.X + R, Box.Y + R}};
    const int Steps = std::max(4, Round(R));
    std::vector<TGPPointF> P;
    for (int C = 0; C < 4; ++C) {
        for (int S = 0; S <= Steps; ++S) {
            const double A = (-90 + 90 * C + 90.0 * S / Steps) * Rad;
            P.push_back({static_cast<float>(Centres[C].X + R * std::cos(A)),
                         static_cast<float>(Centres[C].Y + R * std::sin(A))});
        }
    }
    return P;
}

std::vector<TGPPointF> ArrowPolygon(const TBox& Box, float TurnDegrees) {
    // Drawn pointing right in a box of W x H centred on the origin, then turned.
    const float W = Box.W, H = Box.H;
    const float Head = std::min(W * 0.45f, H * 0.9f), Shaft = H * 0.22f;
    const TGPPointF Right[7] = {{-W / 2, -Shaft}, {W / 2 - Head, -Shaft}, {W / 2 - Head, -H / 2},
                                {W / 2, 0},       {W / 2 - Head, H / 2},  {W / 2 - Head, Shaft},
                                {-W / 2, Shaft}};
    const double C = std::cos(TurnDegrees * Rad), S = std::sin(TurnDegrees * Rad);
    std::vector<TGPPointF> P;
    for (const TGPPointF& Q : Right)
        P.push_back({static_cast<float>(Box.CX() + Q.X * C - Q.Y * S),
                     static_cast<float>(Box.CY() + Q.X * S + Q.Y * C)});
    return P;
}

std::unique_ptr<TBitmap32> BakeShape(const std::vector<TGPPointF>& Polygon, const TLook& Look,
                                     TPoint& Origin) {
    float MinX = Polygon.front().X, MaxX = MinX, MinY = Polygon.front().Y, MaxY = MinY;
    for (const TGPPointF& P : Polygon) {
        MinX = std::min(MinX, P.X), MaxX = std::max(MaxX, P.X);
        MinY = std::min(MinY, P.Y), MaxY = std::max(MaxY, P.Y);
    }
    const int Margin = Look.Outline + 2 +
                       (Look.ShadowAlpha > 0 ? std::max(std::abs(Look.ShadowX), std::abs(Look.ShadowY)) : 0);
    Origin = {static_cast<int>(std::floor(MinX)) - Margin, static_cast<int>(std::floor(MinY)) - Margin};
    auto B = std::make_unique<TBitmap32>();
    B->SetSize(static_cast<int>(std::ceil(MaxX)) + Margin + 1 - Origin.X,
               static_cast<int>(std::ceil(MaxY)) + Margin + 1 - Origin.Y);
    B->Clear(0);

    const auto Shifted = [&](float DX, float DY) {
        std::vector<TGPPointF> Local = Polygon;
        for (TGPPointF& P : Local) P = {P.X - Origin.X + DX, P.Y - Origin.Y + DY};
        TGPPath Path(FillModeWinding);
        Path.AddPolygon(Local);
        return Path;
    };
    const float Top = MinY - Origin.Y, Bottom = MaxY - Origin.Y;
    TGPGraphics G(*B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    if (Look.ShadowAlpha > 0)
        G.FillPath(TGPSolidBrush(SetColorAlpha(Look.ShadowColor, Look.ShadowAlpha)),
                   Shifted(static_cast<float>(Look.ShadowX), static_cast<float>(Look.ShadowY)));
    const TGPPath Path = Shifted(0, 0);
    if (Look.Outline > 0) {
        TGPPen Pen(Rgb(Look.OutlineColor), 2.0f * static_cast<float>(Look.Outline));
        Pen.SetLineJoin(LineJoinRound);
        G.DrawPath(Pen, Path);
    }
    G.FillPath(*FillBrush(Look.Fill, Look.Opacity, Top, Bottom), Path);
    if (Look.Gloss) {
        // Light from above that fades out towards the middle and is gone below it.
        const float Middle = Top + (Bottom - Top) * 0.55f;
        TGPPath Upper(FillModeWinding);
        std::vector<TGPPointF> Clipped;
        for (const TGPPointF& P : Polygon)
            Clipped.push_back({P.X - Origin.X, std::min(P.Y - Origin.Y, Middle)});
        Upper.AddPolygon(Clipped);
        G.FillPath(TGPLinearGradientBrush({0, Top - 1}, {0, Middle + 1}, 0x70FFFFFF, 0x08FFFFFF), Upper);
    }
    return B;
}

// ---------------------------------------------------------------- styles

void ApplyLook(T2DLayerStyle& Style, const TLook& Look) {
    Style.SetFillColor(Rgb(Look.Fill.Top));
    Style.SetLineColor(Rgb(Look.Fill.Top));
    Style.SetFillColorAlpha(Look.Opacity);
    Style.SetLineColorAlpha(Look.Opacity);
    Style.SetOutline(Look.Outline > 0);
    Style.SetOutlineSize(Look.Outline);
    Style.SetOutlineColor(Rgb(Look.OutlineColor));
    Style.SetShadow(Look.ShadowAlpha > 0);
    Style.SetShadowXShift(Look.ShadowX);
    Style.SetShadowYShift(Look.ShadowY);
    Style.SetShadowColor(Rgb(Look.ShadowColor));
    Style.SetShadowAlpha(Look.ShadowAlpha);
}

void ApplyGradient(TStyledLayer& Layer, const TLook& Look, const TBox& Box) {
    if (!HasGradient(Look)) return;
    const TFloatRect L = Layer.Location();
    const float SX = L.Width() > 0 ? static_cast<float>(Layer.Bitmap().Width()) / L.Width() : 1;
    const float SY = L.Height() > 0 ? static_cast<float>(Layer.Bitmap().Height()) / L.Height() : 1;
    const auto Pixel = [&](float X, float Y) {
        return TPoint{Round((X - L.Left) * SX), Round((Y - L.Top) * SY)};
    };
    T2DLayerStyle& S = Layer.LayerStyle();
    S.SetFillGradient(true);
    S.SetFillGradientShape(shpLinear);
    S.SetFillGradientColor1(Rgb(Look.Fill.Top));
    S.SetFillGradientColor2(Rgb(Look.Fill.Bottom));
    S.SetFillGradientPStart(Pixel(Box.CX(), Box.Y - 1));
    S.SetFillGradientPEnd(Pixel(Box.CX(), Box.Bottom() + 1));
}

// ---------------------------------------------------------------- the document

TCanvas::TCanvas(int Width, int Height, bool Opaque) : FWidth(Width), FHeight(Height) {
    FHost.Texts.insert(QStringLiteral("FrameCpt"), QStringLiteral("Frame"));
    FDoc = std::make_unique<TDocForm>(FHost);
    if (Opaque)
        FDoc->NewImage(Width, Height, 0xFFFFFF);
    else
        FDoc->CreateNewImage(Width, Height, 0, FDoc->CurrentView());
}

TCanvas::~TCanvas() = default;

int TCanvas::Frame(int DurationMs) {
    if (FFramesMade > 0) FDoc->CreateNewFrame(2);
    ++FFramesMade;
    const int Index = FDoc->FrameCount() - 1;
    // Flat colours and soft gradients: the frame's own palette needs no dithering, which would
    // only make the preview larger.
    FDoc->SetFrameSettings(Index, DurationMs, rmQuantize, dmNearest);
    return Index;
}

void TCanvas::PaintBackground(const std::function<void(TBitmap32&)>& Paint) {
    FDoc->PaintSurface(nullptr, Paint);
}

TBitmapLayer* TCanvas::Insert(std::unique_ptr<TBitmapLayer> Layer) {
    TBitmapLayer* Raw = FDoc->InsertLayer(std::move(Layer));
    if (!Raw) throw std::runtime_error("no frame to draw on");
    return Raw;
}

void TCanvas::Finish(T2DFiguren& Figure, const TLook& Look, const TBox& GradientBox) {
    ApplyLook(Figure.LayerStyle(), Look);
    Figure.Paint();
    if (!HasGradient(Look)) return;
    ApplyGradient(Figure, Look, GradientBox);
    Figure.Paint();
}

T2DRectangle* TCanvas::Rect(const TBox& Box, const TLook& Look) {
    auto R =
        std::make_unique<T2DRectangle>(Round(Box.X), Round(Box.Y), Round(Box.Right()), Round(Box.Bottom()));
    Finish(*R, Look, Box);
    return static_cast<T2DRectangle*>(Insert(std::move(R)));
}

T2DEllipse* TCanvas::Ellipse(const TBox& Box, const TLook& Look) {
    auto E =
        std::make_unique<T2DEllipse>(Round(Box.X), Round(Box.Y), Round(Box.Right()), Round(Box.Bottom()));
    Finish(*E, Look, Box);
    return static_cast<T2DEllipse*>(Insert(std::move(E)));
}

TPicLayer* TCanvas::Shape(const std::vector<TGPPointF>& Polygon, const TLook& Look) {
    TPoint Origin;
    const std::unique_ptr<TBitmap32> Picture = BakeShape(Polygon, Look, Origin);
    auto P = std::make_unique<TPicLayer>(*Picture);
    // The picture sits at the layer's anchor; put it where the shape belongs.
    const TFloatRect L = P->Location();
    const float DX = static_cast<float>(Origin.X) - (L.Left + static_cast<float>(P->StartPoint.X));
    const float DY = static_cast<float>(Origin.Y) - (L.Top + static_cast<float>(P->StartPoint.Y));
    P->SetLocation({L.Left + DX, L.Top + DY, L.Right + DX, L.Bottom + DY});
    return static_cast<TPicLayer*>(Insert(std::move(P)));
}

TCanvas::TMeasure TCanvas::Measure(TTextLayer& T, const QString& Text, int Size) {
    const TFloatRect Caps = TextBounds(T, QStringLiteral("H"), Size);
    // The layer keeps the text measured last.
    return {TextBounds(T, Text, Size), Caps};
}

namespace {

void SetFont(TTextLayer& T, const TTextStyle& Style) {
    TFontLayerStyle& S = T.FontLayerStyle();
    S.SetFontName(Style.Font);
    S.SetFontBold(Style.Bold);
    S.SetFontItalic(Style.Italic);
    ApplyLook(S, Style.Look);
}

} // namespace

TCanvas::TFit TCanvas::Fit(TTextLayer& T, const TTextStyle& Style, const TBox& Box) {
    const float Edge = static_cast<float>(Style.Look.Outline);
    const float Shade = Style.Look.ShadowAlpha > 0 ? static_cast<float>(std::abs(Style.Look.ShadowX)) : 0;
    // Capitals are about seven tenths of the size: nothing larger can fit the box.
    const int Largest = std::min(Style.MaxSize, static_cast<int>(Box.H / 0.65f) + 1);
    const auto Fits = [&](const QString& V, int Size) {
        const TMeasure M = Measure(T, V, Size);
        return M.Bounds.Width() + 2 * Edge + Shade <= Box.W && M.Caps.Height() + 2 * Edge <= Box.H;
    };
    // A shorter variant in a good size reads better than a long one in a small size.
    const int Comfortable =
        std::max(Style.MinSize, static_cast<int>(static_cast<float>(Largest) * Style.Comfort));
    for (const int Least : {Comfortable, Style.MinSize})
        for (const QString& V : Style.Variants)
            for (int Size = Largest; Size >= Least; --Size)
                if (Fits(V, Size)) return {V, Size};
    throw std::runtime_error("no text of \"" + Style.Variants.join(QStringLiteral("|")).toStdString() +
                             "\" fits " + std::to_string(Round(Box.W)) + " x " +
                             std::to_string(Round(Box.H)));
}

TCanvas::TFit TCanvas::Fit(const TTextStyle& Style, const TBox& Box) {
    TTextLayer T;
    SetFont(T, Style);
    return Fit(T, Style, Box);
}

TTextLayer* TCanvas::Text(const TTextStyle& Style, const TBox& Box, TAlign Align) {
    TTextLayer* T = FDoc->NewTextLayer();
    if (!T) throw std::runtime_error("no frame to write on");
    SetFont(*T, Style);
    const TLook& Look = Style.Look;
    const float Edge = static_cast<float>(Look.Outline);
    const float Shade = Look.ShadowAlpha > 0 ? static_cast<float>(std::abs(Look.ShadowX)) : 0;
    const TFit Chosen = Fit(*T, Style, Box);
    const TMeasure M = Measure(*T, Chosen.Text, Chosen.Size);

    // Capitals are centred in the box whatever hangs below the line.
    float X = Box.CX() - (M.Bounds.Left + M.Bounds.Right) / 2;
    if (Align == alLeft) X = Box.X + Edge - M.Bounds.Left;
    const float Y = Box.CY() - (M.Caps.Top + M.Caps.Bottom) / 2;
    const TFloatPoint O = TextOrigin(*T);
    const TFloatRect L = T->Location();
    FDoc->MoveLayer(*T, L.Left + std::round(X) - O.X, L.Top + std::round(Y) - O.Y);

    const TFloatRect Drawn = T->BoundingRect();
    if (HasGradient(Look)) {
        ApplyGradient(*T, Look, {Drawn.Left, std::round(Y) + M.Caps.Top, Drawn.Width(), M.Caps.Height()});
        T->WriteText(0, 0);
    }
    const float Below = Look.ShadowAlpha > 0 ? static_cast<float>(std::max(Look.ShadowY, 0)) : 0;
    if (Drawn.Left - Edge < 0 || Drawn.Top - Edge < 0 ||
        Drawn.Right + Edge + Shade > static_cast<float>(FWidth) + 1 ||
        Drawn.Bottom + Edge + Below > static_cast<float>(FHeight) + 1)
        throw std::runtime_error("\"" + Chosen.Text.toStdString() + "\" leaves the picture");
    return T;
}

// ---------------------------------------------------------------- results

void TCanvas::SaveProject(const QString& FileName) {
    FDoc->CancelSelection();
    FDoc->SetActivePage(FDoc->Frame1());
    FDoc->ClearUndo();
    if (!FDoc->SelectSaveMethod(FileName, QStringLiteral(".dgm")))
        throw std::runtime_error("could not write " + FileName.toStdString());
}

std::unique_ptr<TBitmap32> TCanvas::Compose() {
    FDoc->CancelSelection();
    return TDocForm::ComposeFrame(*FDoc->CurrentView());
}

} // namespace zp::tpl
