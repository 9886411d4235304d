#pragma once

// Shared by the fuzz targets: the decoders may only ever throw EFileError; anything else (another
// exception, a crash, a sanitizer report, a hang) is a finding.

#include "files/FileError.h"
#include "files/PictureCodecs.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace zp::fuzz {

// Small enough that a hostile size costs little memory, large enough for every interesting
// layout.
inline TDecodeLimits Limits() {
    TDecodeLimits L;
    L.MaxPixels = std::int64_t{1} << 22;
    return L;
}

// A decoded picture must be sane; reading every pixel lets the sanitizers see its memory.
inline void CheckSurface(const TBitmap32& B) {
    if (B.Empty() || std::int64_t{B.Width()} * B.Height() > Limits().MaxPixels) std::abort();
    std::uint32_t Sum = 0;
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X) Sum += B.Pixel(X, Y);
    volatile std::uint32_t Sink = Sum;
    (void)Sink;
}

template <class FDecode> void RunDecoder(const std::uint8_t* Data, std::size_t Size, FDecode Decode) {
    try {
        CheckSurface(*Decode(std::span<const std::uint8_t>(Data, Size), Limits()));
    } catch (const EFileError&) {}
}

} // namespace zp::fuzz
