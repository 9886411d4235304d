#include "files/CodecSupport.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

namespace zp {

namespace {

using namespace codec;

constexpr const char* FormatName = "PNG";

// Everything the libpng callbacks touch. libpng reports errors by longjmp, so the functions
// that call into it (Protected...) hold only trivial locals, and C++ objects with destructors
// live in the callers.
struct TPngSession {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    std::span<const std::uint8_t> Data;
    std::size_t Pos = 0;
    bool Truncated = false;
    bool TooLarge = false;
    std::int64_t MaxPixels = 0;
    std::int64_t MaxSide = 0;
    char Message[200] = {};

    ~TPngSession() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }

    // Header facts, filled by ProtectedReadHeader.
    png_uint_32 Width = 0;
    png_uint_32 Height = 0;
    int ColorType = 0;
    int Passes = 1;
    bool HasTRNS = false;
};

void OnError(png_structp Png, png_const_charp Message) {
    auto* S = static_cast<TPngSession*>(png_get_error_ptr(Png));
    std::strncpy(S->Message, Message ? Message : "", sizeof(S->Message) - 1);
    png_longjmp(Png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp Png, png_bytep Out, png_size_t Count) {
    auto* S = static_cast<TPngSession*>(png_get_io_ptr(Png));
    if (Count > S->Data.size() - S->Pos) {
        S->Truncated = true;
        png_error(Png, "unexpected end of data");
    }
    std::memcpy(Out, S->Data.data() + S->Pos, Count);
    S->Pos += Count;
}

// Reads up to the first IDAT and sets the transformations that turn every colour type and
// bit depth into 8-bit blue, green, red, alpha: the byte order of TBitmap32.
bool ProtectedReadHeader(TPngSession& S) {
    if (setjmp(png_jmpbuf(S.Png))) return false;
    png_set_read_fn(S.Png, &S, OnRead);
    // Any side the format allows passes here, so that too large pictures are reported as such
    // by the size checks after the header, before libpng sizes anything by the width.
    png_set_user_limits(S.Png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_chunk_cache_max(S.Png, 128);
    png_set_chunk_malloc_max(S.Png, 8 * 1024 * 1024);
    // Only IHDR, PLTE, tRNS, IDAT and IEND matter; everything else is skipped unparsed, which
    // also keeps compressed text and colour profiles from being inflated.
    png_set_keep_unknown_chunks(S.Png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(S.Png, S.Info);
    S.Width = png_get_image_width(S.Png, S.Info);
    S.Height = png_get_image_height(S.Png, S.Info);
    S.ColorType = png_get_color_type(S.Png, S.Info);
    S.HasTRNS = png_get_valid(S.Png, S.Info, PNG_INFO_tRNS) != 0;
    // Refused before libpng sizes its row buffers from the width.
    if (std::int64_t{S.Width} * S.Height > S.MaxPixels || S.Width > S.MaxSide || S.Height > S.MaxSide) {
        S.TooLarge = true;
        return false;
    }
    png_set_expand(S.Png); // palette to RGB, small greys to 8 bits, tRNS to alpha
    png_set_scale_16(S.Png);
    png_set_gray_to_rgb(S.Png);
    png_set_add_alpha(S.Png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(S.Png);
    S.Passes = png_set_interlace_handling(S.Png);
    png_read_update_info(S.Png, S.Info);
    if (png_get_rowbytes(S.Png, S.Info) != static_cast<png_size_t>(S.Width) * 4)
        png_error(S.Png, "unexpected row layout");
    return true;
}

// Rows go straight into the surface; interlaced passes fill them in place.
bool ProtectedReadRows(TPngSession& S, TBitmap32* Bitmap) {
    if (setjmp(png_jmpbuf(S.Png))) return false;
    for (int Pass = 0; Pass < S.Passes; ++Pass)
        for (int Y = 0; Y < Bitmap->Height(); ++Y)
            png_read_row(S.Png, reinterpret_cast<png_bytep>(Bitmap->ScanLine(Y)), nullptr);
    return true;
}

[[noreturn]] void Fail(const TPngSession& S) {
    if (S.TooLarge) TooLarge(S.Width, S.Height);
    if (S.Truncated) Truncated(FormatName);
    if (std::strstr(S.Message, "Out of memory") || std::strstr(S.Message, "out of memory")) OutOfMemory();
    Malformed(FormatName, S.Message);
}

std::unique_ptr<TBitmap32> Decode(std::span<const std::uint8_t> Data, TPngTransparency& Transparency,
                                  const TDecodeLimits& Limits) {
    static constexpr std::uint8_t Signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    if (Data.size() < 8) {
        if (Data.empty()) RaiseFileError(fekMalformed, FileTexts::SNoData);
        Truncated(FormatName);
    }
    if (std::memcmp(Data.data(), Signature, 8) != 0) Malformed(FormatName, "keine PNG-Kennung");

    TPngSession S;
    S.Data = Data;
    S.MaxPixels = std::min(Limits.MaxPixels, TBitmap32::MaxPixels);
    S.MaxSide = Limits.MaxSide;
    S.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &S, OnError, OnWarning);
    if (!S.Png) OutOfMemory();
    S.Info = png_create_info_struct(S.Png);
    if (!S.Info) OutOfMemory();
    if (!ProtectedReadHeader(S)) Fail(S);

    auto Bitmap = NewSurface(FormatName, S.Width, S.Height, Limits);
    if (!ProtectedReadRows(S, Bitmap.get())) Fail(S);

    if (S.ColorType & PNG_COLOR_MASK_ALPHA)
        Transparency = ptAlpha;
    else if (S.HasTRNS)
        Transparency = S.ColorType == PNG_COLOR_TYPE_PALETTE ? ptPaletteAlpha : ptColorKey;
    else
        Transparency = ptNone;
    return Bitmap;
}

} // namespace

std::unique_ptr<TBitmap32> DecodePNGWithAlpha(std::span<const std::uint8_t> Data,
                                              TPngTransparency& Transparency, const TDecodeLimits& Limits) {
    return GuardMemory([&] { return Decode(Data, Transparency, Limits); });
}

std::unique_ptr<TBitmap32> DecodePNG(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits) {
    TPngTransparency Transparency;
    auto Bitmap = DecodePNGWithAlpha(Data, Transparency, Limits);
    ComposeOverBlack(*Bitmap);
    return Bitmap;
}

} // namespace zp
