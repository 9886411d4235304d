#include "raster/CompareBitmap.h"

#include "raster/Bitmap32.h"

#include <cstring>

namespace zp {

TRawBitmapView RawView(const TBitmap32& Bitmap) {
    return {Bitmap.Width(), Bitmap.Height(), 4, static_cast<std::ptrdiff_t>(Bitmap.Width()) * 4,
            reinterpret_cast<const std::uint8_t*>(Bitmap.Bits())};
}

bool CompareBitmap(const TRawBitmapView& Bitmap1, const TRawBitmapView& Bitmap2) {
    if (Bitmap1.Width != Bitmap2.Width || Bitmap1.Height != Bitmap2.Height) return false;
    if (Bitmap1.Width <= 0 || Bitmap1.Height <= 0) return true;
    if (!Bitmap1.Data || !Bitmap2.Data) return Bitmap1.Data == Bitmap2.Data;
    for (int Y = 0; Y < Bitmap1.Height; ++Y) {
        const std::uint8_t* P = Bitmap1.Data + Y * Bitmap1.BytesPerLine;
        const std::uint8_t* Q = Bitmap2.Data + Y * Bitmap2.BytesPerLine;
        for (int X = 0; X < Bitmap1.Width; ++X, P += Bitmap1.BytesPerPixel, Q += Bitmap2.BytesPerPixel)
            if (std::memcmp(P, Q, 3) != 0) return false;
    }
    return true;
}

} // namespace zp
