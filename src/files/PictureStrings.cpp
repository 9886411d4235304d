#include "files/PictureStrings.h"

#include "files/PictureCodecs.h"
#include "gfx/Base64.h"

namespace zp {

std::string BitmapToString(const TBitmap32& aBitmap32) {
    return Base64Encode(EncodeTransparentPNG(aBitmap32));
}

std::unique_ptr<TBitmap32> StringToBitmap(std::string_view BmpString, const TDecodeLimits& Limits) {
    const std::vector<std::uint8_t> Data = Base64Decode(BmpString);
    TPngTransparency Transparency = ptNone;
    auto Bitmap = DecodePNGWithAlpha(Data, Transparency, Limits);
    if (Transparency == ptPaletteAlpha) Bitmap->ResetAlpha(255);
    return Bitmap;
}

} // namespace zp
