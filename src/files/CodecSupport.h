#pragma once

// Helpers shared by the picture codecs; not part of the module's interface.

#include "files/FileError.h"
#include "files/PictureCodecs.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace zp::codec {

// The decoders and encoders write TBitmap32 memory as bytes B, G, R, A.
static_assert(std::endian::native == std::endian::little, "the codecs assume little-endian pixel memory");

[[noreturn]] void Truncated(const char* FormatName);
[[noreturn]] void Malformed(const char* FormatName, const std::string& Detail);
[[noreturn]] void Unsupported(const char* FormatName, const std::string& Detail);
[[noreturn]] void TooLarge(std::int64_t Width, std::int64_t Height);
[[noreturn]] void OutOfMemory();

// Throws unless Width x Height is a size a surface may have within Limits.
void CheckPictureSize(const char* FormatName, std::int64_t Width, std::int64_t Height,
                      const TDecodeLimits& Limits);

// A new surface of Width x Height pixels, all 0, after checking the size against Limits and
// the surface's own maximum. Sizes below 1 are malformed.
std::unique_ptr<TBitmap32> NewSurface(const char* FormatName, std::int64_t Width, std::int64_t Height,
                                      const TDecodeLimits& Limits);

// What drawing the picture onto transparent black and then making it opaque gives.
void ComposeOverBlack(TBitmap32& Bitmap);

void RequireNonEmpty(const TBitmap32& Bitmap);

// Runs Body and turns the memory failures of surfaces and containers into EFileError, so that
// callers meet one kind of exception only.
template <class FBody> auto GuardMemory(FBody Body) -> decltype(Body()) {
    try {
        return Body();
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    } catch (const EBitmapError&) {
        OutOfMemory();
    }
}

inline void PutU16LE(std::vector<std::uint8_t>& Out, std::uint32_t V) {
    Out.push_back(static_cast<std::uint8_t>(V));
    Out.push_back(static_cast<std::uint8_t>(V >> 8));
}
inline void PutU32LE(std::vector<std::uint8_t>& Out, std::uint32_t V) {
    PutU16LE(Out, V & 0xFFFF);
    PutU16LE(Out, V >> 16);
}
inline void PutU32BE(std::vector<std::uint8_t>& Out, std::uint32_t V) {
    Out.push_back(static_cast<std::uint8_t>(V >> 24));
    Out.push_back(static_cast<std::uint8_t>(V >> 16));
    Out.push_back(static_cast<std::uint8_t>(V >> 8));
    Out.push_back(static_cast<std::uint8_t>(V));
}

} // namespace zp::codec
