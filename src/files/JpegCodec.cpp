#include "files/CodecSupport.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace zp {

namespace {

using namespace codec;

constexpr const char* FormatName = "JPEG";
constexpr int JpegQuality = 90;

// libjpeg reports errors through error_exit, which must not return: it longjmps back into the
// function that called the library. Those functions (Protected...) hold only trivial locals;
// objects with destructors live in their callers.
struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
    bool Truncated;
};

void OnErrorExit(j_common_ptr Info) {
    auto* E = reinterpret_cast<TJpegError*>(Info->err);
    (*Info->err->format_message)(Info, E->Message);
    std::longjmp(E->Jump, 1);
}

// Corrupt-data warnings are tolerated, as every viewer does; running out of data is not (the
// source manager below makes that an error).
void OnEmitMessage(j_common_ptr, int) {}

void InitError(TJpegError& E) {
    std::memset(&E, 0, sizeof(E));
    jpeg_std_error(&E.Manager);
    E.Manager.error_exit = OnErrorExit;
    E.Manager.emit_message = OnEmitMessage;
}

// --- decoding

void SourceInit(j_decompress_ptr) {}
void SourceTerm(j_decompress_ptr) {}

// Asked for more data when all of it has been used: the file ends too early.
boolean SourceFill(j_decompress_ptr Info) {
    reinterpret_cast<TJpegError*>(Info->err)->Truncated = true;
    Info->err->msg_code = JERR_INPUT_EOF;
    (*Info->err->error_exit)(reinterpret_cast<j_common_ptr>(Info));
    return FALSE;
}

void SourceSkip(j_decompress_ptr Info, long Count) {
    if (Count <= 0) return;
    jpeg_source_mgr* Src = Info->src;
    if (static_cast<unsigned long>(Count) > Src->bytes_in_buffer) SourceFill(Info);
    Src->next_input_byte += Count;
    Src->bytes_in_buffer -= static_cast<std::size_t>(Count);
}

struct TJpegProgress {
    jpeg_progress_mgr Manager;
    int MaxScans;
};

void OnProgress(j_common_ptr Info) {
    if (!Info->is_decompressor) return;
    auto* D = reinterpret_cast<j_decompress_ptr>(Info);
    auto* P = reinterpret_cast<TJpegProgress*>(Info->progress);
    if (D->input_scan_number > P->MaxScans) {
        std::strcpy(reinterpret_cast<TJpegError*>(Info->err)->Message, "too many scans");
        std::longjmp(reinterpret_cast<TJpegError*>(Info->err)->Jump, 1);
    }
}

struct TJpegDecoder {
    jpeg_decompress_struct Info;
    TJpegError Error;
    jpeg_source_mgr Source;
    TJpegProgress Progress;
    bool Created = false;
    long MaxMemory = 0;

    ~TJpegDecoder() {
        if (Created) jpeg_destroy_decompress(&Info);
    }
};

bool ProtectedReadHeader(TJpegDecoder& D, std::span<const std::uint8_t> Data) {
    if (setjmp(D.Error.Jump)) return false;
    jpeg_create_decompress(&D.Info);
    D.Created = true;
    D.Source.init_source = SourceInit;
    D.Source.fill_input_buffer = SourceFill;
    D.Source.skip_input_data = SourceSkip;
    D.Source.resync_to_restart = jpeg_resync_to_restart;
    D.Source.term_source = SourceTerm;
    D.Source.next_input_byte = Data.data();
    D.Source.bytes_in_buffer = Data.size();
    D.Info.src = &D.Source;
    D.Info.mem->max_memory_to_use = D.MaxMemory;
    D.Info.progress = &D.Progress.Manager;
    jpeg_read_header(&D.Info, TRUE);
    const bool Cmyk = D.Info.jpeg_color_space == JCS_CMYK || D.Info.jpeg_color_space == JCS_YCCK;
    D.Info.out_color_space = Cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    return true;
}

// Inverted CMYK (written by Adobe programs, marked by their APP14 segment) stores 255 - value.
void CmykToBGRA(const std::uint8_t* Src, TColor32* Dst, int Width, bool Inverted) {
    for (int X = 0; X < Width; ++X, Src += 4) {
        unsigned C = Src[0], M = Src[1], Y = Src[2], K = Src[3];
        if (!Inverted) C = 255 - C, M = 255 - M, Y = 255 - Y, K = 255 - K;
        Dst[X] = Color32((C * K + 127) / 255, (M * K + 127) / 255, (Y * K + 127) / 255);
    }
}

bool ProtectedReadRows(TJpegDecoder& D, TBitmap32* Bitmap, std::uint8_t* CmykRow) {
    if (setjmp(D.Error.Jump)) return false;
    jpeg_start_decompress(&D.Info);
    if (static_cast<int>(D.Info.output_width) != Bitmap->Width() ||
        static_cast<int>(D.Info.output_height) != Bitmap->Height()) {
        std::strcpy(D.Error.Message, "unexpected output size");
        return false;
    }
    const bool Inverted = D.Info.saw_Adobe_marker;
    while (D.Info.output_scanline < D.Info.output_height) {
        const int Y = static_cast<int>(D.Info.output_scanline);
        JSAMPROW Row = CmykRow ? CmykRow : reinterpret_cast<JSAMPROW>(Bitmap->ScanLine(Y));
        if (jpeg_read_scanlines(&D.Info, &Row, 1) != 1) {
            std::strcpy(D.Error.Message, "no scanline");
            return false;
        }
        if (CmykRow) CmykToBGRA(CmykRow, Bitmap->ScanLine(Y), Bitmap->Width(), Inverted);
    }
    return true;
}

[[noreturn]] void Fail(const TJpegDecoder& D) {
    if (D.Error.Truncated) Truncated(FormatName);
    if (D.Error.Manager.msg_code == JERR_OUT_OF_MEMORY) OutOfMemory();
    Malformed(FormatName, D.Error.Message);
}

// --- encoding

struct TJpegDestination {
    jpeg_destination_mgr Manager;
    std::vector<std::uint8_t>* Out;
    std::uint8_t Buffer[65536];
};

void DestInit(j_compress_ptr Info) {
    auto* D = reinterpret_cast<TJpegDestination*>(Info->dest);
    D->Manager.next_output_byte = D->Buffer;
    D->Manager.free_in_buffer = sizeof(D->Buffer);
}

// Called from inside libjpeg, so nothing may be thrown through it: a failed allocation
// becomes a libjpeg error, raised after the exception has been handled.
bool Append(std::vector<std::uint8_t>& Out, const std::uint8_t* Data, std::size_t Size) {
    try {
        Out.insert(Out.end(), Data, Data + Size);
        return true;
    } catch (...) {
        return false;
    }
}

boolean DestEmpty(j_compress_ptr Info) {
    auto* D = reinterpret_cast<TJpegDestination*>(Info->dest);
    if (!Append(*D->Out, D->Buffer, sizeof(D->Buffer))) {
        Info->err->msg_code = JERR_OUT_OF_MEMORY;
        (*Info->err->error_exit)(reinterpret_cast<j_common_ptr>(Info));
    }
    DestInit(Info);
    return TRUE;
}

void DestTerm(j_compress_ptr Info) {
    auto* D = reinterpret_cast<TJpegDestination*>(Info->dest);
    if (!Append(*D->Out, D->Buffer, sizeof(D->Buffer) - D->Manager.free_in_buffer)) {
        Info->err->msg_code = JERR_OUT_OF_MEMORY;
        (*Info->err->error_exit)(reinterpret_cast<j_common_ptr>(Info));
    }
}

struct TJpegEncoder {
    jpeg_compress_struct Info;
    TJpegError Error;
    TJpegDestination Destination;
    bool Created = false;

    ~TJpegEncoder() {
        if (Created) jpeg_destroy_compress(&Info);
    }
};

bool ProtectedCompress(TJpegEncoder& E, const TBitmap32* Bitmap, std::uint8_t* RgbRow) {
    if (setjmp(E.Error.Jump)) return false;
    jpeg_create_compress(&E.Info);
    E.Created = true;
    E.Destination.Manager.init_destination = DestInit;
    E.Destination.Manager.empty_output_buffer = DestEmpty;
    E.Destination.Manager.term_destination = DestTerm;
    E.Info.dest = &E.Destination.Manager;
    E.Info.image_width = static_cast<JDIMENSION>(Bitmap->Width());
    E.Info.image_height = static_cast<JDIMENSION>(Bitmap->Height());
    E.Info.input_components = 3;
    E.Info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&E.Info);
    jpeg_set_quality(&E.Info, JpegQuality, TRUE);
    jpeg_start_compress(&E.Info, TRUE);
    while (E.Info.next_scanline < E.Info.image_height) {
        const TColor32* Src = Bitmap->ScanLine(static_cast<int>(E.Info.next_scanline));
        for (int X = 0; X < Bitmap->Width(); ++X) {
            RgbRow[3 * X] = static_cast<std::uint8_t>(RedComponent(Src[X]));
            RgbRow[3 * X + 1] = static_cast<std::uint8_t>(GreenComponent(Src[X]));
            RgbRow[3 * X + 2] = static_cast<std::uint8_t>(BlueComponent(Src[X]));
        }
        JSAMPROW Row = RgbRow;
        jpeg_write_scanlines(&E.Info, &Row, 1);
    }
    jpeg_finish_compress(&E.Info);
    return true;
}

} // namespace

std::unique_ptr<TBitmap32> DecodeJPEG(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits) {
    return GuardMemory([&] {
        if (Data.empty()) RaiseFileError(fekMalformed, FileTexts::SNoData);
        auto D = std::make_unique<TJpegDecoder>();
        InitError(D->Error);
        D->Info.err = &D->Error.Manager;
        std::memset(&D->Progress, 0, sizeof(D->Progress));
        D->Progress.Manager.progress_monitor = OnProgress;
        D->Progress.MaxScans = Limits.MaxJpegScans;
        D->MaxMemory = Limits.MaxJpegMemory;
        if (!ProtectedReadHeader(*D, Data)) Fail(*D);
        // Checked before jpeg_start_decompress, which sizes its buffers from the header.
        auto Bitmap = NewSurface(FormatName, D->Info.image_width, D->Info.image_height, Limits);
        std::vector<std::uint8_t> CmykRow;
        if (D->Info.out_color_space == JCS_CMYK)
            CmykRow.resize(static_cast<std::size_t>(Bitmap->Width()) * 4);
        if (!ProtectedReadRows(*D, Bitmap.get(), CmykRow.empty() ? nullptr : CmykRow.data())) Fail(*D);
        return Bitmap;
    });
}

std::vector<std::uint8_t> EncodeJPG(const TBitmap32& ABitmap32) {
    RequireNonEmpty(ABitmap32);
    if (ABitmap32.Width() > JPEG_MAX_DIMENSION || ABitmap32.Height() > JPEG_MAX_DIMENSION)
        RaiseFileError(fekWrite, FileTexts::SEncodeFailed, FormatName,
                       "höchstens " + std::to_string(JPEG_MAX_DIMENSION) + " Pixel je Seite");
    return GuardMemory([&] {
        std::vector<std::uint8_t> Out;
        auto E = std::make_unique<TJpegEncoder>();
        InitError(E->Error);
        E->Info.err = &E->Error.Manager;
        E->Destination.Out = &Out;
        std::vector<std::uint8_t> RgbRow(static_cast<std::size_t>(ABitmap32.Width()) * 3);
        if (!ProtectedCompress(*E, &ABitmap32, RgbRow.data()))
            RaiseFileError(fekWrite, FileTexts::SEncodeFailed, FormatName, E->Error.Message);
        return Out;
    });
}

} // namespace zp
