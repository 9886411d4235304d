#pragma once

#include "files/PictureCodecs.h"

#include <cstdint>
#include <memory>
#include <span>

namespace zp {

// Windows metafiles (EMF, WMF) played onto a surface of the picture's own size: an EMF's frame
// and a placeable WMF's bounding box at 96 dpi, a WMF without that header at one pixel a unit
// of its window. The drawing is made once on opaque white and once on opaque red; where both
// agree the pixel is opaque, elsewhere it is the white drawing's colour with alpha 0.
//
// The file's own signature decides between EMF and WMF, so a misnamed file still opens.
// Records that are not drawn are skipped. Throws EFileError for a damaged file, one larger
// than Limits, or one that draws nothing.
std::unique_ptr<TBitmap32> DecodeEMF(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits = {});
std::unique_ptr<TBitmap32> DecodeWMF(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits = {});

} // namespace zp
