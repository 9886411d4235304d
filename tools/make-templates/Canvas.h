#pragma once

// Building documents in code: the shipped templates are made of the same layers a user draws,
// placed by measure instead of by mouse.
#include "document/DocForm.h"
#include "gfx/GdipTypes.h"
#include "layers/PicLayer.h"
#include "layers/TextLayer.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zp::tpl {

// A vertical colour run from Top to Bottom; both the same for a flat colour.
struct TFill {
    TColor32 Top = 0xFF000000;
    TColor32 Bottom = 0xFF000000;
};
inline TFill Flat(TColor32 C) {
    return {C, C};
}

// How a figure, a baked shape or a text is painted. No shadow while ShadowAlpha is 0.
struct TLook {
    TFill Fill;
    int Opacity = 255;
    int Outline = 0;
    TColor32 OutlineColor = 0xFF000000;
    int ShadowX = 2, ShadowY = 2;
    TColor32 ShadowColor = 0xFF000000;
    int ShadowAlpha = 0;
    // Baked shapes only: a soft light over the upper half.
    bool Gloss = false;
};

struct TBox {
    float X = 0, Y = 0, W = 0, H = 0;
    float Right() const { return X + W; }
    float Bottom() const { return Y + H; }
    float CX() const { return X + W / 2; }
    float CY() const { return Y + H / 2; }
    TBox Inset(float D) const { return {X + D, Y + D, W - 2 * D, H - 2 * D}; }
};
inline TBox Centred(float CX, float CY, float W, float H) {
    return {CX - W / 2, CY - H / 2, W, H};
}

enum TAlign { alLeft, alCentre };

// A one-line text: the first variant that fills its box well is taken, at the largest size
// that fits; when none does, the first that fits at MinSize or more.
struct TTextStyle {
    QStringList Variants;
    QString Font = QStringLiteral("Arial");
    bool Bold = true;
    bool Italic = false;
    int MaxSize = 24;
    int MinSize = 10;
    // What fills the box well: this part of the largest size its height allows.
    float Comfort = 0.4f;
    TLook Look;
};

// Outlines for baked shapes, as one closed polygon each.
std::vector<TGPPointF> StarPolygon(float CX, float CY, float Outer, float Inner, int Points,
                                   float TurnDegrees);
std::vector<TGPPointF> RoundedRectPolygon(const TBox& Box, float Radius);
// Points right; Turn rotates it about the box centre (90: down).
std::vector<TGPPointF> ArrowPolygon(const TBox& Box, float TurnDegrees);

// A shape painted with its look into a surface of its own: shadow, outline, fill, gloss.
// Origin receives the surface position of the polygon's coordinate origin.
std::unique_ptr<TBitmap32> BakeShape(const std::vector<TGPPointF>& Polygon, const TLook& Look,
                                     TPoint& Origin);

// One document under construction. Layers go onto the frame made last.
class TCanvas {
public:
    // Background Opaque: a white picture, else a transparent one.
    TCanvas(int Width, int Height, bool Opaque = true);
    ~TCanvas();

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // The first frame exists from the start; each call after it adds one with a copy of the
    // first frame's background. Returns the frame's index.
    int Frame(int DurationMs);
    // Picture pixels painted on the current background (its own code, not a layer).
    void PaintBackground(const std::function<void(TBitmap32&)>& Paint);

    T2DRectangle* Rect(const TBox& Box, const TLook& Look);
    T2DEllipse* Ellipse(const TBox& Box, const TLook& Look);
    // A baked shape as a picture layer: what a user gets by inserting a picture template.
    TPicLayer* Shape(const std::vector<TGPPointF>& Polygon, const TLook& Look);
    // The variant and size Text would take.
    struct TFit {
        QString Text;
        int Size = 0;
    };
    TFit Fit(const TTextStyle& Style, const TBox& Box);
    // The text set in Box; throws when no variant fits or the text would leave the picture.
    TTextLayer* Text(const TTextStyle& Style, const TBox& Box, TAlign Align = alCentre);

    // The project file, with the frames as they are and nothing to undo.
    void SaveProject(const QString& FileName);
    // The current frame composed, transparency kept.
    std::unique_ptr<TBitmap32> Compose();

private:
    void Finish(T2DFiguren& Figure, const TLook& Look, const TBox& GradientBox);
    // The measures of one variant: its bounds and those of a capital, relative to its origin.
    struct TMeasure {
        TFloatRect Bounds, Caps;
    };
    static TMeasure Measure(TTextLayer& T, const QString& Text, int Size);
    TFit Fit(TTextLayer& T, const TTextStyle& Style, const TBox& Box);
    TBitmapLayer* Insert(std::unique_ptr<TBitmapLayer> Layer);

    int FWidth, FHeight;
    int FFramesMade = 0;
    TPlainDocHost FHost;
    std::unique_ptr<TDocForm> FDoc;
};

// Looks a layer style can hold; shared by figures and texts.
void ApplyLook(T2DLayerStyle& Style, const TLook& Look);
// The vertical gradient of Look over Box (picture pixels) in Layer's own pixels; nothing for a
// flat fill.
void ApplyGradient(TStyledLayer& Layer, const TLook& Look, const TBox& Box);

} // namespace zp::tpl
