#pragma once

// The EMF and WMF record players behind DecodeEMF and DecodeWMF; not part of the module's
// interface. Each throws EFileError for a damaged file and skips records it does not draw.

#include "files/MetafileCanvas.h"

#include <span>

namespace zp::metafile {

// The picture size a metafile asks for and how its device space lies on that picture.
struct TSetup {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    TMapping Mapping;
};

bool LooksLikeEmf(std::span<const std::uint8_t> Data);
bool LooksLikeWmf(std::span<const std::uint8_t> Data);

TSetup ReadEmfSetup(std::span<const std::uint8_t> Data);
void PlayEmf(std::span<const std::uint8_t> Data, TCanvas& Canvas, const TDecodeLimits& Limits);

TSetup ReadWmfSetup(std::span<const std::uint8_t> Data);
void PlayWmf(std::span<const std::uint8_t> Data, TCanvas& Canvas, const TDecodeLimits& Limits);

} // namespace zp::metafile
