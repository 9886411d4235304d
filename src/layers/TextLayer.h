#pragma once

#include "gfx/Fonts.h"
#include "layers/StyledLayer.h"

#include <pugixml.hpp>

#include <memory>

namespace zp {

// One line of text in one font, drawn as its glyph outline: stroked and filled like a figure, so
// every fill, the outline, the shadow, the transformation and the effects apply to it. The
// bitmap is a transparent square around the text; the text's origin (StartPoint) stays at the
// same picture position however the square grows.
class TTextLayer : public TStyledLayer {
public:
    // Needs the "Arial" family (see gfx/Fonts.h). Nothing is drawn before the first WriteText.
    TTextLayer();
    const char* ClassName() const override { return "TTextLayer"; }

    TFontLayerStyle& FontLayerStyle() { return static_cast<TFontLayerStyle&>(*F2DLayerStyle); }
    const TFontLayerStyle& FontLayerStyle() const {
        return static_cast<const TFontLayerStyle&>(*F2DLayerStyle);
    }

    // Rebuilds the bitmap from the style and runs the effects. X and Y are not used.
    void WriteText(int X, int Y);
    void Redraw() override { WriteText(0, 0); }
    // Multiplies the accumulated scale by Value and redraws.
    void SetScaleFactor(TFloatPoint Value) { SetScale(Value); }

    // The text's box: the measured text (with outline and shadow margins) scaled, plus the
    // room of the strongest motion blur.
    int TextWidth() const;
    int TextHeight() const;

    TTextLayer* Clone(TLayerCollection& Layers) const override;
    std::unique_ptr<TBitmapLayer> SaveState() const override;
    void SwapState(TBitmapLayer& Other) override;

    // The layer's content of a project file: kind, scale, style block and text block.
    void SaveToXML(pugi::xml_node aXMLNode) const;
    // Files up to version 2000 keep the older text elements; they draw the same text.
    void LoadFromXML(pugi::xml_node aXMLNode, int Version);

    // The layout of the glyph outline: top-left origin, no flags.
    TGPStringFormat strformat;

private:
    // Draws into the cleared bitmap; returns the area the drawing may have changed.
    TRect DrawTextLayer();
    void DrawTextShadow(TGPGraphics& G);
    void AddText(TGPPath& Path, TPoint Origin) const;

    // Outside FDrawn the bitmap is all zeros, as long as FDrawnKnown: a redraw of the same
    // square then clears only that area instead of the whole, mostly empty, square. Effects
    // and any change of the bitmap from outside make it unknown.
    TRect FDrawn;
    bool FDrawnKnown = false;
    bool FRedrawing = false;
};

} // namespace zp
