#pragma once

#include "layers/Figuren.h"
#include "raster/Bitmap32.h"

#include <QImage>
#include <QString>

#include <cmath>
#include <cstring>

namespace zp {

// The pixel a figure shows at picture point (X, Y): its bitmap read through its location,
// which the figures keep at whole pixels unless a polygon's radius is fractional.
inline TColor32 ImagePixel(const TBitmapLayer& Layer, int X, int Y) {
    const TFloatRect L = Layer.Location();
    const int BX = X - static_cast<int>(std::lround(L.Left));
    const int BY = Y - static_cast<int>(std::lround(L.Top));
    const TBitmap32& B = Layer.Bitmap();
    if (BX < 0 || BY < 0 || BX >= B.Width() || BY >= B.Height()) return 0;
    return B.Pixel(BX, BY);
}

inline unsigned ImageAlpha(const TBitmapLayer& Layer, int X, int Y) {
    return ImagePixel(Layer, X, Y) >> 24;
}

// Whether two layers show the same pixels at the same place.
inline bool SameImage(const TBitmapLayer& A, const TBitmapLayer& B) {
    if (A.Location() != B.Location()) return false;
    const TBitmap32& P = A.Bitmap();
    const TBitmap32& Q = B.Bitmap();
    if (P.Width() != Q.Width() || P.Height() != Q.Height()) return false;
    return P.Empty() ||
           std::memcmp(P.Bits(), Q.Bits(), static_cast<std::size_t>(P.Width()) * P.Height() * 4) == 0;
}

inline QImage ToQImage(const TBitmap32& B) {
    QImage Image(B.Width(), B.Height(), QImage::Format_ARGB32);
    for (int Y = 0; Y < B.Height(); ++Y)
        std::memcpy(Image.scanLine(Y), B.ScanLine(Y), static_cast<std::size_t>(B.Width()) * 4);
    return Image;
}

} // namespace zp
