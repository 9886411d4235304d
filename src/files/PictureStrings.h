#pragma once

#include "files/PictureCodecs.h"

#include <memory>
#include <string>
#include <string_view>

namespace zp {

// A surface as text: the PNG with alpha (colour type 6) of the surface, Base64-encoded without
// line breaks. Throws EFileError for an empty surface.
std::string BitmapToString(const TBitmap32& aBitmap32);

// The surface a picture string holds: the PNG's own colours; alpha from its alpha channel
// (colour types 4 and 6), 0 for its tRNS colour (types 0 and 2), 255 everywhere else, palette
// images included. Text that is not valid Base64 decodes to nothing, which the PNG decoder
// rejects: every failure throws EFileError.
std::unique_ptr<TBitmap32> StringToBitmap(std::string_view BmpString, const TDecodeLimits& Limits = {});

} // namespace zp
