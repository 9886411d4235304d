#pragma once

#include "gfx/Brushes.h"
#include "gfx/Fonts.h"
#include "gfx/GdipTypes.h"
#include "gfx/Image.h"
#include "gfx/MatrixElements.h"
#include "gfx/Pen.h"
#include "layers/Filters.h"
#include "layers/GeneralGraphicFunctions.h"
#include "layers/LayerTypes.h"
#include "raster/Color32.h"
#include "raster/Types.h"

#include <QString>
#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zp {

// Every drawing attribute of a figure or picture layer, and the pens and brushes built
// from them. Colours keep their RGB in the colour fields and their opacity in the alpha
// fields; the reading accessors put the two together. Only the low byte of an alpha field
// counts. At most one of hatch, pattern-image and gradient fill is on (the fill-kind rule
// in the three fill setters keeps it so).
class T2DLayerStyle {
public:
    T2DLayerStyle() = default;
    virtual ~T2DLayerStyle() = default;
    T2DLayerStyle(const T2DLayerStyle&) = delete;
    T2DLayerStyle& operator=(const T2DLayerStyle&) = delete;

    // The colour and matrix routines; they keep no state.
    TGeneralGraphicFunctions GeneralGraphicFunct;

    bool Outline() const { return fOutline; }
    void SetOutline(bool Value) { fOutline = Value; }
    int OutlineSize() const { return fOutlineSize; }
    void SetOutlineSize(int Value) { fOutlineSize = Value; }
    TColor32 OutlineColor() const { return SetColorAlpha(fOutlineColor, fOutlineAlpha); }
    void SetOutlineColor(TColor32 Value) { fOutlineColor = Value; }
    TGPDashStyle OutlineDashStyle() const { return fOutlineDashStyle; }
    void SetOutlineDashStyle(TGPDashStyle Value) { fOutlineDashStyle = Value; }
    TOutlinePosition OutlinePosition() const { return fOutlinePosition; }
    void SetOutlinePosition(TOutlinePosition Value) { fOutlinePosition = Value; }
    int OutlineAlpha() const { return fOutlineAlpha; }
    void SetOutlineAlpha(int Value) { fOutlineAlpha = Value; }
    // Also the opacity of both hatch colours, both gradient colours and the pattern image.
    int FillColorAlpha() const { return fFillColorAlpha; }
    void SetFillColorAlpha(int Value) { fFillColorAlpha = Value; }
    int LineColorAlpha() const { return fLineColorAlpha; }
    void SetLineColorAlpha(int Value) { fLineColorAlpha = Value; }
    TColor32 FillColor() const { return SetColorAlpha(fFillColor, fFillColorAlpha); }
    void SetFillColor(TColor32 Value) { fFillColor = Value; }
    TColor32 LineColor() const { return SetColorAlpha(fLineColor, fLineColorAlpha); }
    void SetLineColor(TColor32 Value) { fLineColor = Value; }

    bool FillPattern() const { return fFillPattern; }
    void SetFillPattern(bool Value);
    // Hatch style 0..52; -1 is none.
    std::int16_t NoOfHatchBrush() const { return fNoOfHatchBrush; }
    void SetNoOfHatchBrush(std::int16_t Value) { fNoOfHatchBrush = Value; }
    TColor32 HatchBrushForeColor() const { return fHatchBrushForeColor; }
    void SetHatchBrushForeColor(TColor32 Value) { fHatchBrushForeColor = Value; }
    TColor32 HatchBrushBackColor() const { return fHatchBrushBackColor; }
    void SetHatchBrushBackColor(TColor32 Value) { fHatchBrushBackColor = Value; }

    bool FillImage() const { return fFillImage; }
    // Turning the image fill off releases the pattern image.
    void SetFillImage(bool Value);
    const std::shared_ptr<TGPImage>& FillPatternBitmap() const { return fFillPatternBitmap; }
    void SetFillPatternBitmap(std::shared_ptr<TGPImage> Value) { fFillPatternBitmap = std::move(Value); }
    TGPWrapMode FillPatternWrapMode() const { return fFillPatternWrapMode; }
    void SetFillPatternWrapMode(TGPWrapMode Value) { fFillPatternWrapMode = Value; }

    bool FillGradient() const { return fFillGradient; }
    void SetFillGradient(bool Value);
    TColor32 FillGradientColor1() const { return fFillGradientColor1; }
    void SetFillGradientColor1(TColor32 Value) { fFillGradientColor1 = Value; }
    TColor32 FillGradientColor2() const { return fFillGradientColor2; }
    void SetFillGradientColor2(TColor32 Value) { fFillGradientColor2 = Value; }
    TShapeType FillGradientShape() const { return fFillGradientShape; }
    void SetFillGradientShape(TShapeType Value) { fFillGradientShape = Value; }
    // Gradient points in the pixel coordinates of the layer's bitmap.
    TPoint FillGradientPStart() const { return fFillGradientPStart; }
    void SetFillGradientPStart(TPoint Value) { fFillGradientPStart = Value; }
    TPoint FillGradientPEnd() const { return fFillGradientPEnd; }
    void SetFillGradientPEnd(TPoint Value) { fFillGradientPEnd = Value; }

    bool Shadow() const { return fShadow; }
    void SetShadow(bool Value) { fShadow = Value; }
    int ShadowXShift() const { return fShadowXShift; }
    void SetShadowXShift(int Value) { fShadowXShift = Value; }
    int ShadowYShift() const { return fShadowYShift; }
    void SetShadowYShift(int Value) { fShadowYShift = Value; }
    TColor32 ShadowColor() const { return SetColorAlpha(fShadowColor, fShadowAlpha); }
    void SetShadowColor(TColor32 Value) { fShadowColor = Value; }
    int ShadowAlpha() const { return fShadowAlpha; }
    void SetShadowAlpha(int Value) { fShadowAlpha = Value; }

    TGPMatrixElements TransformMatrix() const { return fTransformMatrix; }
    void SetTransformMatrix(const TGPMatrixElements& Value) { fTransformMatrix = Value; }
    TGPMatrixElements ShadowTransformMatrix() const { return fShadowTransformMatrix; }
    void SetShadowTransformMatrix(const TGPMatrixElements& Value) { fShadowTransformMatrix = Value; }

    // Effect kinds run after each drawing, in order.
    std::vector<TEffectType> EffectList;
    void AddEffect(TEffectType EffectType) { EffectList.push_back(EffectType); }

    // Copies every attribute but the effect list; a pattern image of an active image fill
    // is cloned, never shared.
    void Assign(const T2DLayerStyle& A2DLayerStyle);

    // Pens and brushes are built for one drawing; "none" is a null pointer.
    std::unique_ptr<TGPPen> CreatePen() const;
    std::unique_ptr<TGPBrush> CreateBrush() const;
    std::unique_ptr<TGPPen> CreateShadowPen() const;
    std::unique_ptr<TGPBrush> CreateShadowBrush() const;
    // None unless the hatch fill is on with a style from 0 to 52.
    std::unique_ptr<TGPBrush> CreateHatchBrush() const;
    // None unless the image fill is on with a pattern image. Replaces the pattern image by
    // a copy decoded from its PNG encoding.
    std::unique_ptr<TGPTextureBrush> CreateTextureBrush();
    // None unless the gradient fill is on. Coinciding points give a brush that paints
    // nothing; a square whose drag is vertical is turned by 45 degrees.
    std::unique_ptr<TGPBrush> CreateGradientBrush() const;

    // The style block of a project file, appended to the layer's element. A motion blur's
    // direction and strength come from the layer's effect object at the same index.
    virtual void WriteXML(pugi::xml_node aXMLNode,
                          const std::vector<std::unique_ptr<TEffect>>& EffectObjectList) const;
    // Every element of the style block but the effects, which the layer reads (it owns their
    // objects). Version 2000 and older: the few style values that those files keep among the
    // layer's own elements. Throws EXMLReadError, or EGdipError for a pattern picture that
    // cannot be decoded.
    virtual void ReadXML(pugi::xml_node aXMLNode, int Version);

protected:
    bool fOutline = false;
    int fOutlineSize = 0;
    TColor32 fOutlineColor = 0xFF0000FF;
    TGPDashStyle fOutlineDashStyle = DashStyleSolid;
    TOutlinePosition fOutlinePosition = posOutside;
    int fOutlineAlpha = 255;
    int fFillColorAlpha = 255;
    int fLineColorAlpha = 255;
    TColor32 fFillColor = 0xFF000000;
    TColor32 fLineColor = 0xFF000000;
    bool fFillPattern = false;
    std::int16_t fNoOfHatchBrush = -1;
    TColor32 fHatchBrushForeColor = 0xFF000000;
    TColor32 fHatchBrushBackColor = 0xFFFFFFFF;
    bool fFillImage = false;
    std::shared_ptr<TGPImage> fFillPatternBitmap;
    TGPWrapMode fFillPatternWrapMode = WrapModeTile;
    bool fFillGradient = false;
    TColor32 fFillGradientColor1 = 0;
    TColor32 fFillGradientColor2 = 0;
    TShapeType fFillGradientShape = shpLinear;
    TPoint fFillGradientPStart;
    TPoint fFillGradientPEnd;
    bool fShadow = false;
    int fShadowXShift = 3;
    int fShadowYShift = 3;
    TColor32 fShadowColor = 0xFF7F7F7F;
    int fShadowAlpha = 255;
    TGPMatrixElements fTransformMatrix;
    TGPMatrixElements fShadowTransformMatrix;
};

// The first program version whose project files hold the style block; older files keep
// their own picture and text elements.
constexpr int FirstStyleBlockVersion = 2001;

// The effects of a style block: NumEffects, then as many elements from the first "Effects" on.
// A convolution kind goes to AddKind; a motion blur, with its stored direction and strength, to
// AddMotionBlur; kinds above 7 are skipped. Throws EXMLReadError.
void ReadXMLEffects(pugi::xml_node aXMLNode, const std::function<void(TEffectType)>& AddKind,
                    const std::function<void(std::unique_ptr<TMotionBlur>)>& AddMotionBlur);

// The style of a text layer: a layer style plus the text and its font.
class TFontLayerStyle : public T2DLayerStyle {
public:
    // Needs the "Arial" family (see gfx/Fonts.h).
    TFontLayerStyle();

    TGeneralGraphicFunctions GeneralGraphicFunction;

    const QString& Text() const { return fText; }
    void SetText(const QString& Value) { fText = Value; }
    const TGPFontFamily& FontFamily() const { return ffontFamily; }
    int FontStyle() const { return ffontStyle; }
    const QString& FontName() const { return fFontName; }
    // Stores the name, then replaces the family. A family that is not installed throws
    // EGdipError and leaves the name set while the family stays the previous one.
    void SetFontName(const QString& Value);
    // Pixels when the glyph outline is built, points when the text is measured.
    int FontSize() const { return fFontSize; }
    void SetFontSize(int Value) { fFontSize = Value; }
    bool FontBold() const { return fFontBold; }
    void SetFontBold(bool Value);
    bool FontItalic() const { return fFontItalic; }
    void SetFontItalic(bool Value);
    bool FontUnderline() const { return fFontUnderline; }
    void SetFontUnderline(bool Value);
    bool FontStrikeOut() const { return fFontStrikeOut; }
    void SetFontStrikeOut(bool Value);
    // A font a loaded project asked for that is not installed here.
    const QString& MissingFont() const { return fMissingFont; }
    void SetMissingFont(const QString& Value) { fMissingFont = Value; }

    using T2DLayerStyle::Assign;
    void Assign(const TFontLayerStyle& AFontLayerStyle);

    // The style block, then the text block.
    void WriteXML(pugi::xml_node aXMLNode,
                  const std::vector<std::unique_ptr<TEffect>>& EffectObjectList) const override;
    // A font that is not installed here becomes "Arial"; its name is kept in MissingFont.
    void ReadXML(pugi::xml_node aXMLNode, int Version) override;

    // The measured box of the text (font size in points, generic sans when the font is
    // missing) rounded, plus the larger of the outline and the shadow shift; 0 becomes 2.
    int PixelWidth() const;
    int PixelHeight() const;

private:
    void UpdateFontStyle();
    TGPRectF MeasureText() const;

    QString fText;
    TGPFontFamily ffontFamily;
    int ffontStyle = FontStyleRegular;
    QString fFontName = QStringLiteral("Arial");
    int fFontSize = 20;
    bool fFontBold = false;
    bool fFontItalic = false;
    bool fFontUnderline = false;
    bool fFontStrikeOut = false;
    QString fMissingFont;
};

} // namespace zp
