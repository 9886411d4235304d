#include "FuzzTarget.h"

#include <zlib.h>

#include <cstring>
#include <vector>

namespace {

// Mutated chunks nearly always fail their CRC first; with the CRCs repaired the fuzzer reaches
// the chunk contents and the image data.
std::vector<std::uint8_t> RepairChunkCRCs(const std::uint8_t* Data, std::size_t Size) {
    std::vector<std::uint8_t> Out(Data, Data + Size);
    std::size_t At = 8;
    while (At + 12 <= Out.size()) {
        const std::size_t Length = (std::size_t{Out[At]} << 24) | (std::size_t{Out[At + 1]} << 16) |
                                   (std::size_t{Out[At + 2]} << 8) | Out[At + 3];
        if (Length > Out.size() - At - 12) break;
        const uLong Crc = crc32(crc32(0, Z_NULL, 0), Out.data() + At + 4, static_cast<uInt>(Length + 4));
        for (int I = 0; I < 4; ++I) Out[At + 8 + Length + I] = static_cast<std::uint8_t>(Crc >> (24 - 8 * I));
        At += Length + 12;
    }
    return Out;
}

} // namespace

// Besides surviving every input, whatever the PNG decoder accepts must survive the writer and
// come back pixel for pixel.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::vector<std::uint8_t> Input = RepairChunkCRCs(Data, Size);
    zp::fuzz::RunDecoder(Input.data(), Input.size(),
                         [](auto Bytes, const auto& Limits) { return zp::DecodePNG(Bytes, Limits); });
    try {
        zp::TPngTransparency Transparency;
        const auto B = zp::DecodePNGWithAlpha(Input, Transparency, zp::fuzz::Limits());
        const auto Again = zp::DecodePNGWithAlpha(zp::EncodeTransparentPNG(*B), Transparency);
        if (Transparency != zp::ptAlpha) std::abort();
        if (Again->Width() != B->Width() || Again->Height() != B->Height() ||
            std::memcmp(Again->Bits(), B->Bits(), std::size_t{4} * B->Width() * B->Height()) != 0)
            std::abort();
    } catch (const zp::EFileError&) {}
    return 0;
}
