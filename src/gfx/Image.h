#pragma once

#include "gfx/GdipTypes.h"
#include "raster/Bitmap32.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <memory>

namespace zp {

// A decoded picture, held as straight ARGB (QImage::Format_ARGB32). Images are shared by
// reference (std::shared_ptr) the way styles and layers hand them around.
class TGPImage {
public:
    // Takes any QImage; it is converted to straight ARGB.
    explicit TGPImage(QImage Image);

    // Decoding fails with EGdipError: FileNotFound for a missing file, UnknownImageFormat
    // for data no decoder accepts (corrupt data, metafiles). Only the first frame of an
    // animation is read; stored orientation tags are not applied.
    static std::shared_ptr<TGPImage> FromFile(const QString& FileName);
    static std::shared_ptr<TGPImage> FromStream(const QByteArray& Data);
    static std::shared_ptr<TGPImage> FromBitmap32(const TBitmap32& Bitmap);

    std::shared_ptr<TGPImage> Clone() const;
    // The rectangle (X, Y, Width, Height) in pixels; it must lie within the image.
    std::shared_ptr<TGPImage> CloneArea(int X, int Y, int Width, int Height) const;

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    // Unchecked: 0 <= X < Width, 0 <= Y < Height.
    TColor32 Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor32 Value);

    // PNG with its alpha channel.
    QByteArray SaveToPngStream() const;
    void AssignTo(TBitmap32& Bitmap) const;

    const QImage& QtImage() const { return FImage; }

private:
    QImage FImage;
};

// A 5 x 5 colour matrix on the row vector (r, g, b, a, 1) with channels from 0 to 1; the
// fifth row adds offsets.
struct TGPColorMatrix {
    std::array<std::array<float, 5>, 5> M{};
    static TGPColorMatrix Identity();
};

// How an image is adjusted when it is drawn or used as a texture.
class TGPImageAttributes {
public:
    void SetColorMatrix(const TGPColorMatrix& Matrix, TGPColorMatrixFlags Flags = ColorMatrixFlagsDefault,
                        TGPColorAdjustType Type = ColorAdjustTypeDefault);
    void ClearColorMatrix();
    bool HasColorMatrix() const { return FHasMatrix; }
    const TGPColorMatrix& ColorMatrix() const { return FMatrix; }

    // Used by texture brushes built from these attributes.
    void SetWrapMode(TGPWrapMode Mode) { FWrapMode = Mode; }
    TGPWrapMode WrapMode() const { return FWrapMode; }

    // The image with the colour matrix applied (results rounded, halves to even, and
    // clamped to 0..255); the image itself when there is no matrix.
    QImage Apply(const QImage& Source) const;

private:
    TGPColorMatrix FMatrix = TGPColorMatrix::Identity();
    bool FHasMatrix = false;
    TGPWrapMode FWrapMode = WrapModeClamp;
};

// Attributes whose colour matrix multiplies every pixel's alpha by Scale and keeps the
// colour; the matrix is zero but for the diagonal (1, 1, 1, Scale, 1).
TGPImageAttributes AlphaScaleImageAttributes(float Scale);

} // namespace zp
