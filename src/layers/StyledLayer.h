#pragma once

#include "gfx/GdipTypes.h"
#include "gfx/Matrix.h"
#include "gfx/Path.h"
#include "layers/Filters.h"
#include "layers/GeneralGraphicFunctions.h"
#include "layers/LayerStyle.h"
#include "raster/Layers.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

namespace zp {

class TGPBrush;
class TGPGraphics;
class TGPPen;

// What figure and text layers share: a style, an accumulated transformation and a list of
// effects, all of which end in a redraw of the whole bitmap. The layer keeps no pixels of its
// own making; the redraw moves it so that its anchor (StartPoint) stays at the same picture
// position however the bitmap changes size.
class TStyledLayer : public TBitmapLayer {
public:
    ~TStyledLayer() override;

    // Rebuilds the bitmap from the model, then runs the effects.
    virtual void Redraw() = 0;

    // A text layer's is its TFontLayerStyle.
    T2DLayerStyle& LayerStyle() { return *F2DLayerStyle; }
    const T2DLayerStyle& LayerStyle() const { return *F2DLayerStyle; }

    // Accumulated scale factors. SetScale multiplies them by Value, scales the transformation
    // and redraws.
    TFloatPoint ScaleFactor() const { return fScaleFactor; }
    void SetScale(TFloatPoint Value);

    // --- state of the last drawing
    // One effect object per entry of the style's EffectList, same order.
    std::vector<std::unique_ptr<TEffect>> EffectObjectList;
    // The anchor used by the last repositioning (bitmap pixels).
    TPoint PreviousStartPoint;
    // The anchor point in bitmap pixels.
    TPoint StartPoint;
    // Bounds of the transformed outline in bitmap pixels, from the last drawing.
    TGPRectF GPBoundingRect;
    // Centre of the untransformed outline's bounds: the pivot of flips and rotations.
    TFloatPoint TransformationPoint;
    // The drawing matrix, rebuilt from the style's matrix at every drawing.
    TGPMatrix Matrix;
    TGeneralGraphicFunctions GeneralGraphicFunction;

    // --- transformation, each followed by Redraw
    void FlipVertical();
    void FlipHorizontal();
    // Positive degrees turn counter-clockwise on screen.
    void Rotate(double Degree);

    // --- effects
    // The convolution kinds add an object bound to the bitmap, without a redraw; a motion blur
    // needs its parameters and comes through AddEffect(Effect).
    void AddingEffect(TEffectType EffectType);
    void AddEffect(TEffectType EffectType);
    // Only a motion blur is kept; any other object is dropped. Both redraw.
    void AddEffect(std::unique_ptr<TEffect> Effect);
    void RemoveLastEffect();
    // Five times the largest motion blur strength: room for the smear.
    int MotionBlurMargin() const;
    // The strongest motion blur a project file asked for beyond TMotionBlur::MaxStrength; the
    // layer got the maximum instead. 0 when nothing was capped.
    std::int32_t CappedBlurStrength = 0;

    // --- rectangles
    // The transformed outline's bounds in picture coordinates (one pixel more to the right and
    // bottom, as the selection frame wants it).
    TFloatRect BoundingRect() const;
    // The same in bitmap pixels, kept inside the bitmap.
    TFloatRect PictureRect() const;
    // A rectangle of picture coordinates in this layer's bitmap pixels.
    TFloatRect GetPictureCoord(const TFloatRect& ImgViewRect) const;
    // The drawn part of the bitmap as a new surface (or a new picture).
    std::unique_ptr<TBitmap32> ExtractBitmap32() const;
    QImage ExtractBitmap() const;

protected:
    explicit TStyledLayer(std::unique_ptr<T2DLayerStyle> Style);

    // Finds the drawing matrix: the style's matrix corrected so that the transformed outline's
    // bounds start where the untransformed ones do. Empties Path.
    void TransformationCalculations(TGPPath& Path);
    // The stroke with Pen, then Fill, then the style's gradient when it has one. A figure strokes
    // only with its outline on; a text also without (the pen then has the fill colour).
    void StrokeAndFill(TGPGraphics& G, const TGPPath& Path, const TGPPen& Pen, const TGPBrush* Fill,
                       bool StrokeWithoutOutline);
    // The brush that fills the outline: hatch, texture or solid. A figure's texture follows its
    // drawing matrix; a text's keeps its own placement.
    std::unique_ptr<TGPBrush> CreateFillBrush(bool TextureFollowsMatrix);
    // Binds Blur to the bitmap and appends it to the style's effects and the effect objects.
    void AppendMotionBlur(std::unique_ptr<TMotionBlur> Blur);
    // Replaces the effects by those of a project-file layer element.
    void ReadEffectsFromXML(pugi::xml_node aXMLNode);
    // A motion blur read from a file, its strength capped (CappedBlurStrength).
    void AppendReadMotionBlur(std::unique_ptr<TMotionBlur> Blur);
    // Moves the location so that bitmap point P lands where the previous anchor did.
    void MoveToAnchor(TPoint P);
    void ApplyEffects();
    // Effect objects like these for Target's bitmap: convolutions fresh, blurs with their values.
    void CopyEffectsTo(TStyledLayer& Target) const;
    // The shared part of SaveState and SwapState: picture, style, effects, drawing state.
    void CopyStyledStateTo(TStyledLayer& Target) const;
    void SwapStyledState(TStyledLayer& Other);
    // Blend, scaled, cropped: what every redraw starts with.
    void SetDrawingProps();
    // Runs Refresh inside one update of the bitmap and signals the change; a throwing Refresh
    // still ends the update.
    template <class FRefresh> void Refreshing(FRefresh&& Refresh);

    // A figure's T2DLayerStyle or a text layer's TFontLayerStyle; never null.
    std::unique_ptr<T2DLayerStyle> F2DLayerStyle;
    mutable TFloatRect fBoundingRect;
    TFloatPoint fScaleFactor{1, 1};
};

template <class FRefresh> void TStyledLayer::Refreshing(FRefresh&& Refresh) {
    TBitmap32& B = Bitmap();
    B.BeginUpdate();
    try {
        Refresh();
    } catch (...) {
        B.EndUpdate();
        throw;
    }
    B.Changed();
    B.EndUpdate();
}

// Rounds to the nearest integer, halves to even, kept within +-2^29 so that sizes derived from
// it can be doubled; NaN gives 0. Figures read from a damaged file may hold any value.
int RoundFigure(double Value);
// Truncates towards zero within the same bounds.
int TruncFigure(double Value);
// The same bounds for a sum of sizes.
int ClampFigure(std::int64_t Value);
// The three gradient shapes that make the picture transparent instead of colouring it.
bool IsTransparencyShape(TShapeType Shape);

} // namespace zp
