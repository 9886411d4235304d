#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    zp::fuzz::RunDecoder(Data, Size,
                         [](auto Bytes, const auto& Limits) { return zp::DecodeGIF(Bytes, Limits); });
    return 0;
}
