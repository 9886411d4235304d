#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zp {

// Smallest n >= 1 with 2^n >= Colors.
int GifBitsPerPixel(int Colors);

// The table-based image data of one GIF image: the minimum code size byte (max(2, BitsPerPixel)),
// the LZW codes in sub-blocks of at most 255 bytes, and the zero-length block. A clear code
// comes first; when a new string would get code 4095 the table restarts with a clear code
// instead; the end-of-information code comes last. Throws EGIFError("Color not in color table")
// when a pixel is not below Colors.
std::vector<std::uint8_t> EncodeGifImageData(const std::uint8_t* Pixels, std::size_t Count, int BitsPerPixel,
                                             int Colors);

} // namespace zp
