#include "FuzzTarget.h"

#include "files/PictureStrings.h"
#include "gfx/Base64.h"

#include <cstring>
#include <string_view>

// Base64 decoding is all or nothing and undone by encoding; a picture string that decodes
// survives a round trip exactly.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    const auto Bytes = zp::Base64Decode(Text);
    if (!Bytes.empty()) {
        if (Size % 4 != 0 || Bytes.size() != Size / 4 * 3 - (Text[Size - 2] == '='   ? 2
                                                             : Text[Size - 1] == '=' ? 1
                                                                                     : 0))
            std::abort();
        if (zp::Base64Decode(zp::Base64Encode(Bytes)) != Bytes) std::abort();
    }
    try {
        const auto B = zp::StringToBitmap(Text, zp::fuzz::Limits());
        zp::fuzz::CheckSurface(*B);
        const auto Again = zp::StringToBitmap(zp::BitmapToString(*B));
        if (Again->Width() != B->Width() || Again->Height() != B->Height() ||
            std::memcmp(Again->Bits(), B->Bits(), std::size_t{4} * B->Width() * B->Height()) != 0)
            std::abort();
    } catch (const zp::EFileError&) {}
    return 0;
}
