#pragma once

#include "gfx/Image.h"
#include "gfx/MatrixElements.h"
#include "layers/LayerTypes.h"
#include "raster/Bitmap32.h"
#include "raster/CompareBitmap.h"
#include "raster/Types.h"

#include <memory>
#include <string>
#include <string_view>

namespace zp {

// Stateless raster and geometry routines. Documents and layers each hold an instance, so the
// routines are members; none of them keeps state. The picture writers, the picture strings of
// surfaces and GIF assembly belong to the file codecs and live with them.
class TGeneralGraphicFunctions {
public:
    // --- colours
    static TColor32 SetColorAlpha(TColor32 AColor, int Alpha) { return zp::SetColorAlpha(AColor, Alpha); }
    static bool CompareBitmap(const TRawBitmapView& Bitmap1, const TRawBitmapView& Bitmap2) {
        return zp::CompareBitmap(Bitmap1, Bitmap2);
    }

    // --- gradients over the whole surface, in place. Start = Stop leaves every pixel as it is.
    // The colour gradients give every pixel (alpha included) FromColor on Start's side, ToColor
    // at and beyond Stop; the fades scale each alpha from unchanged at Start to 0 at Stop.
    static void CreateColorGradient(TColor32 FromColor, TColor32 ToColor, TPoint Start, TPoint Stop,
                                    TBitmap32& ABitmap32);
    static void CreateCircleColorGradient(TColor32 FromColor, TColor32 ToColor, TPoint Start, TPoint Stop,
                                          TBitmap32& ABitmap32);
    // Iso-lines are squares centred on Start with a corner on Stop.
    static void CreateSqareColorGradient(TColor32 FromColor, TColor32 ToColor, TPoint Start, TPoint Stop,
                                         TBitmap32& ABitmap32);
    static void CreateTranspGradient(TPoint Start, TPoint Stop, TBitmap32& ABitmap32);
    static void CreateCircleTranspGradient(TPoint Start, TPoint Stop, TBitmap32& ABitmap32);
    static void CreateSqareTranspGradient(TPoint Start, TPoint Stop, TBitmap32& ABitmap32);
    // The gradient of the given kind: colour kinds paint FromColor to ToColor, fades ignore them.
    static void CreateGradient(TShapeType Shape, TColor32 FromColor, TColor32 ToColor, TPoint Start,
                               TPoint Stop, TBitmap32& ABitmap32);

    // --- matrices. Rotation and mirroring act in the layer's own coordinates, before AMatrix;
    // moving and scaling act on the result, after it.
    // Turns by Degree about APoint; positive degrees turn counter-clockwise on screen (y down).
    static TGPMatrixElements MatrixRotate(float Degree, TGPMatrixElements AMatrix, TFloatPoint APoint);
    static TGPMatrixElements MatrixFlipVertical(TGPMatrixElements AMatrix, TFloatPoint APoint);
    static TGPMatrixElements MatrixFlipHotizontal(TGPMatrixElements AMatrix, TFloatPoint APoint);
    static TGPMatrixElements MatrixTranslate(TGPMatrixElements AMatrix, TFloatPoint TranslatePoint);
    static TGPMatrixElements MatrixScale(TGPMatrixElements AMatrix, TFloatPoint ScalePoint);

    // --- image attributes
    // Image attributes that scale an image's alpha by AlphaVal / 255.
    static TGPImageAttributes GetImgAttributesByAlphaValue(int AlphaVal) {
        return AlphaScaleImageAttributes(static_cast<float>(AlphaVal) / 255.0f);
    }

    // --- pictures of the drawing binding as text: the PNG (alpha kept), Base64-encoded
    static std::string BitmapToString(const TGPImage& aBitmap);
    // Null for empty text; otherwise any format the binding decodes. Text that is not Base64
    // gives no bytes, which the decoder rejects with EGdipError.
    static std::shared_ptr<TGPImage> StringToTGPImage(std::string_view BmpString);
    static std::shared_ptr<TGPImage> StringToTGPBitmap(std::string_view BmpString) {
        return StringToTGPImage(BmpString);
    }
};

} // namespace zp
