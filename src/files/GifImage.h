#pragma once

#include "files/GifPalettes.h"
#include "files/GifTypes.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zp {

class TBitmap32;

// A block written between the images of a GIF stream, in front of the image it belongs to.
class TGIFExtension {
public:
    virtual ~TGIFExtension() = default;
    // Introducer, label and body.
    virtual void SaveToStream(std::vector<std::uint8_t>& Out) const = 0;
    virtual std::unique_ptr<TGIFExtension> Clone() const = 0;
};

// Display time, disposal and transparency of the image that follows.
class TGIFGraphicControlExtension final : public TGIFExtension {
public:
    // Reserved 3 bits, disposal method 3 bits, user-input flag, transparency flag.
    std::uint8_t PackedFields = 0;
    // Hundredths of a second.
    std::uint16_t Delay = 0;
    std::uint8_t TransparentColorIndex = 0;

    int Disposal() const { return (PackedFields >> 2) & 7; }
    bool Transparent() const { return (PackedFields & 1) != 0; }

    void SaveToStream(std::vector<std::uint8_t>& Out) const override;
    std::unique_ptr<TGIFExtension> Clone() const override;
};

// The "NETSCAPE2.0" application extension: how often the animation repeats (0 = endlessly).
class TGIFAppExtNSLoop final : public TGIFExtension {
public:
    std::uint16_t Loops = 0;

    void SaveToStream(std::vector<std::uint8_t>& Out) const override;
    std::unique_ptr<TGIFExtension> Clone() const override;
};

// One image of a GIF: position, size, local colour table, one colour index per pixel (row by
// row from the top) and its extensions.
class TGIFSubImage {
public:
    // Throws EGIFError when the size exceeds 16 bits or the colour table has more than 256
    // entries, std::invalid_argument when the pixel count does not match the size.
    TGIFSubImage(int Width, int Height, std::vector<std::uint8_t> Pixels, TGifColorMap ColorMap);
    TGIFSubImage(const TGIFSubImage&) = delete;
    TGIFSubImage& operator=(const TGIFSubImage&) = delete;

    int Left = 0;
    int Top = 0;
    std::vector<std::unique_ptr<TGIFExtension>> Extensions;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    const std::vector<std::uint8_t>& Pixels() const { return FPixels; }
    const TGifColorMap& ColorMap() const { return FColorMap; }
    // Of the colour table as written: the smallest n >= 1 with 2^n >= its entries.
    int BitsPerPixel() const;

    // The compressed image data (minimum code size, sub-blocks, terminator). Encoded on first
    // use and kept, so the images of an animation can be encoded in parallel beforehand.
    // Throws EGIFError("Color not in color table").
    const std::vector<std::uint8_t>& EncodedData() const;

    // Same position, size, pixels and colour table, no extensions.
    std::unique_ptr<TGIFSubImage> CopyPicture() const;

private:
    int FWidth;
    int FHeight;
    std::vector<std::uint8_t> FPixels;
    TGifColorMap FColorMap;
    mutable std::shared_ptr<const std::vector<std::uint8_t>> FEncoded;
};

// A GIF picture: logical screen, images and the settings used when a picture is converted.
class TGIFImage {
public:
    TGIFImage() = default;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    // Conversion settings.
    TColorReduction ColorReduction = rmNetscape;
    TDitherMode DitherMode = dmNearest;
    int ReductionBits = 8;
    // The palette of rmPalette.
    TGifColorMap Palette;

    // Header.
    std::uint8_t BackgroundColorIndex = 0;
    std::uint8_t AspectRatio = 0;
    // Logical screen: the largest right and bottom edge of the images.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    int Count() const { return static_cast<int>(FImages.size()); }
    TGIFSubImage& Images(int Index) { return *FImages.at(static_cast<std::size_t>(Index)); }
    const TGIFSubImage& Images(int Index) const { return *FImages.at(static_cast<std::size_t>(Index)); }
    // Appends an image, grows the logical screen and returns the image's index.
    int Add(std::unique_ptr<TGIFSubImage> Image);
    // Removes the image and hands it over; the logical screen keeps its size.
    std::unique_ptr<TGIFSubImage> Extract(int Index);
    void Clear();

    // Replaces the images by one image converted from the picture with the settings above.
    // Returns false, with the object unchanged, when Cancel became true. Throws EGIFError
    // ("Color table overflow" for rmNone with more than 256 colours, a missing palette for
    // rmPalette, a picture larger than 65535 in either direction).
    bool Assign(const TBitmap32& Bitmap, const std::atomic<bool>* Cancel = nullptr);

    // "89a" when any image has an extension, else "87a".
    const char* Version() const;
    // The GIF stream. Everything is encoded before the first byte is written, so a failure
    // leaves Out unchanged. Throws EGIFError.
    void SaveToStream(std::vector<std::uint8_t>& Out) const;
    // The same stream in pieces, each passed to Write(Data, Size) in order.
    void SaveToStream(const std::function<void(const std::uint8_t* Data, std::size_t Size)>& Write) const;
    std::vector<std::uint8_t> SaveToBytes() const;
    // Writes the stream to a temporary file next to FileName and renames it over FileName only
    // when everything was written, so a failure leaves any older file in place.
    // Throws EGIFError with the reason.
    void SaveToFile(const QString& FileName) const;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::unique_ptr<TGIFSubImage>> FImages;
};

// Appends Source's first image (pixels and colour table unchanged) to GIF at (0, 0); the first
// image of GIF also gets a loop extension with NumberOfLoop, every image a graphic control
// extension with AnimDuration div 10 hundredths. Returns the new image's index, or -1 when
// Source has no image.
int AddBitmapToGif(TGIFImage& GIF, const TGIFImage& Source, int AnimDuration, int NumberOfLoop);
// The same, moving Source's first image instead of copying it (Source is left without it).
int AddBitmapToGif(TGIFImage& GIF, TGIFImage&& Source, int AnimDuration, int NumberOfLoop);

} // namespace zp
