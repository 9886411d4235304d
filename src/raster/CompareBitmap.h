#pragma once

#include <cstddef>
#include <cstdint>

namespace zp {

class TBitmap32;

// The pixel memory of a platform picture: rows of 3- or 4-byte pixels whose first three bytes
// are the colour (B, G, R). Rows may carry padding.
struct TRawBitmapView {
    int Width = 0;
    int Height = 0;
    int BytesPerPixel = 4;
    std::ptrdiff_t BytesPerLine = 0;
    const std::uint8_t* Data = nullptr;
};

TRawBitmapView RawView(const TBitmap32& Bitmap);

// False when the sizes differ; otherwise true exactly when the three colour bytes of every
// pixel are equal. Alpha bytes and row padding are not compared.
bool CompareBitmap(const TRawBitmapView& Bitmap1, const TRawBitmapView& Bitmap2);

} // namespace zp
