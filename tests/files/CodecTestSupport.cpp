#include "CodecTestSupport.h"

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace zp::test {

std::unique_ptr<TBitmap32> MakeBitmap(int W, int H, const std::function<TColor32(int X, int Y)>& Pixel) {
    auto B = std::make_unique<TBitmap32>();
    B->SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) B->SetPixel(X, Y, Pixel(X, Y));
    return B;
}

std::unique_ptr<TBitmap32> NoiseBitmap(int W, int H, std::uint32_t Seed) {
    TCodecNoise N(Seed);
    return MakeBitmap(W, H, [&](int, int) { return N.Next(); });
}

std::vector<TColor32> Pixels(const TBitmap32& B) {
    return std::vector<TColor32>(B.Bits(), B.Bits() + static_cast<std::size_t>(B.Width()) * B.Height());
}

// --- PNG

namespace {

struct TPngWriteState {
    TBytes* Out;
};

void PngWriteData(png_structp Png, png_bytep Data, png_size_t Size) {
    auto* S = static_cast<TPngWriteState*>(png_get_io_ptr(Png));
    S->Out->insert(S->Out->end(), Data, Data + Size);
}
void PngFlush(png_structp) {}

bool ProtectedPngWrite(png_structp Png, png_infop Info, const TPngLayout* Layout, png_bytepp RowPointers,
                       TPngWriteState* State) {
    if (setjmp(png_jmpbuf(Png))) return false;
    png_set_write_fn(Png, State, PngWriteData, PngFlush);
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(Layout->Width), static_cast<png_uint_32>(Layout->Height),
                 Layout->BitDepth, Layout->ColorType,
                 Layout->Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!Layout->PaletteRGB.empty())
        png_set_PLTE(Png, Info, reinterpret_cast<png_const_colorp>(Layout->PaletteRGB.data()),
                     static_cast<int>(Layout->PaletteRGB.size() / 3));
    png_color_16 Key{};
    if (Layout->TransGray) Key.gray = *Layout->TransGray;
    if (Layout->TransRGB)
        Key.red = (*Layout->TransRGB)[0], Key.green = (*Layout->TransRGB)[1],
        Key.blue = (*Layout->TransRGB)[2];
    if (!Layout->TransAlpha.empty())
        png_set_tRNS(Png, Info, Layout->TransAlpha.data(), static_cast<int>(Layout->TransAlpha.size()),
                     nullptr);
    else if (Layout->TransGray || Layout->TransRGB)
        png_set_tRNS(Png, Info, nullptr, 0, &Key);
    png_set_rows(Png, Info, RowPointers);
    png_write_png(Png, Info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

} // namespace

TBytes WritePngWithLibpng(const TPngLayout& Layout) {
    TBytes Out;
    TPngWriteState State{&Out};
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = png_create_info_struct(Png);
    const std::size_t RowBytes = Layout.Rows.size() / static_cast<std::size_t>(Layout.Height);
    std::vector<png_bytep> Rows(static_cast<std::size_t>(Layout.Height));
    for (int Y = 0; Y < Layout.Height; ++Y)
        Rows[Y] = const_cast<png_bytep>(Layout.Rows.data()) + RowBytes * Y;
    const bool Ok = ProtectedPngWrite(Png, Info, &Layout, Rows.data(), &State);
    png_destroy_write_struct(&Png, &Info);
    if (!Ok) Out.clear();
    return Out;
}

TColor32 TLibpngImage::Pixel(int X, int Y) const {
    const std::uint8_t* P = RGBA.data() + (static_cast<std::size_t>(Y) * Width + X) * 4;
    return Color32(P[0], P[1], P[2], P[3]);
}

TLibpngImage ReadPngWithLibpng(std::span<const std::uint8_t> Data) {
    TLibpngImage Result;
    png_image Image;
    std::memset(&Image, 0, sizeof(Image));
    Image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&Image, Data.data(), Data.size())) {
        Result.Message = Image.message;
        return Result;
    }
    Image.format = PNG_FORMAT_RGBA;
    Result.RGBA.resize(PNG_IMAGE_SIZE(Image));
    if (!png_image_finish_read(&Image, nullptr, Result.RGBA.data(), 0, nullptr)) {
        Result.Message = Image.message;
        png_image_free(&Image);
        return Result;
    }
    Result.Ok = true;
    Result.Width = static_cast<int>(Image.width);
    Result.Height = static_cast<int>(Image.height);
    return Result;
}

// --- JPEG

namespace {

struct TTestJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void TestJpegErrorExit(j_common_ptr Info) {
    auto* E = reinterpret_cast<TTestJpegError*>(Info->err);
    (*Info->err->format_message)(Info, E->Message);
    std::longjmp(E->Jump, 1);
}

bool ProtectedJpegWrite(jpeg_compress_struct* C, TTestJpegError* E, const TJpegLayout* Layout,
                        unsigned char** Buffer, unsigned long* Size) {
    if (setjmp(E->Jump)) return false;
    jpeg_create_compress(C);
    jpeg_mem_dest(C, Buffer, Size);
    C->image_width = static_cast<JDIMENSION>(Layout->Width);
    C->image_height = static_cast<JDIMENSION>(Layout->Height);
    C->input_components = Layout->Components;
    C->in_color_space = Layout->Components == 1   ? JCS_GRAYSCALE
                        : Layout->Components == 4 ? JCS_CMYK
                                                  : JCS_RGB;
    jpeg_set_defaults(C);
    jpeg_set_quality(C, Layout->Quality, TRUE);
    if (Layout->Progressive) jpeg_simple_progression(C);
    jpeg_start_compress(C, TRUE);
    const std::size_t RowBytes = static_cast<std::size_t>(Layout->Width) * Layout->Components;
    while (C->next_scanline < C->image_height) {
        JSAMPROW Row = const_cast<JSAMPROW>(Layout->Samples.data()) + RowBytes * C->next_scanline;
        jpeg_write_scanlines(C, &Row, 1);
    }
    jpeg_finish_compress(C);
    return true;
}

std::vector<std::uint16_t> Table(const JQUANT_TBL* T) {
    if (!T) return {};
    return std::vector<std::uint16_t>(T->quantval, T->quantval + DCTSIZE2);
}

bool ProtectedJpegRead(jpeg_decompress_struct* D, TTestJpegError* E, std::span<const std::uint8_t> Data,
                       TLibjpegImage* Out, JSAMPROW Row) {
    if (setjmp(E->Jump)) return false;
    jpeg_create_decompress(D);
    jpeg_mem_src(D, Data.data(), static_cast<unsigned long>(Data.size()));
    jpeg_read_header(D, TRUE);
    Out->Width = static_cast<int>(D->image_width);
    Out->Height = static_cast<int>(D->image_height);
    Out->Components = D->num_components;
    Out->ColorSpace = D->jpeg_color_space;
    Out->Progressive = D->progressive_mode;
    Out->JFIF = D->saw_JFIF_marker;
    Out->LumaTable = Table(D->quant_tbl_ptrs[0]);
    Out->ChromaTable = Table(D->quant_tbl_ptrs[1]);
    if (!Row) return true; // only the header was asked for
    D->out_color_space = JCS_RGB;
    jpeg_start_decompress(D);
    while (D->output_scanline < D->output_height) {
        JSAMPROW Target = Row;
        jpeg_read_scanlines(D, &Target, 1);
        Out->RGB.insert(Out->RGB.end(), Row, Row + static_cast<std::size_t>(D->output_width) * 3);
    }
    jpeg_finish_decompress(D);
    return true;
}

} // namespace

TBytes WriteJpegWithLibjpeg(const TJpegLayout& Layout) {
    jpeg_compress_struct C;
    TTestJpegError E;
    C.err = jpeg_std_error(&E.Manager);
    E.Manager.error_exit = TestJpegErrorExit;
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    const bool Ok = ProtectedJpegWrite(&C, &E, &Layout, &Buffer, &Size);
    jpeg_destroy_compress(&C);
    TBytes Out;
    if (Ok) Out.assign(Buffer, Buffer + Size);
    std::free(Buffer);
    return Out;
}

TLibjpegImage ReadJpegWithLibjpeg(std::span<const std::uint8_t> Data) {
    TLibjpegImage Out;
    jpeg_decompress_struct D;
    TTestJpegError E;
    D.err = jpeg_std_error(&E.Manager);
    E.Manager.error_exit = TestJpegErrorExit;
    // Pictures in these tests are small; a generous row buffer avoids a second pass.
    std::vector<JSAMPLE> Row(65536 * 3);
    Out.Ok = ProtectedJpegRead(&D, &E, Data, &Out, Row.data());
    if (!Out.Ok) Out.Message = E.Message;
    jpeg_destroy_decompress(&D);
    return Out;
}

std::pair<std::vector<std::uint16_t>, std::vector<std::uint16_t>> LibjpegTables(int Quality) {
    jpeg_compress_struct C;
    jpeg_error_mgr E;
    C.err = jpeg_std_error(&E);
    jpeg_create_compress(&C);
    C.in_color_space = JCS_RGB;
    C.input_components = 3;
    jpeg_set_defaults(&C);
    jpeg_set_quality(&C, Quality, TRUE);
    auto Result = std::make_pair(Table(C.quant_tbl_ptrs[0]), Table(C.quant_tbl_ptrs[1]));
    jpeg_destroy_compress(&C);
    return Result;
}

// --- GIF

namespace {

int GifWrite(GifFileType* Gif, const GifByteType* Data, int Size) {
    auto* Out = static_cast<TBytes*>(Gif->UserData);
    Out->insert(Out->end(), Data, Data + Size);
    return Size;
}

ColorMapObject* MakeMap(const std::vector<TColor32>& Colors) {
    if (Colors.empty()) return nullptr;
    int Count = 2;
    while (Count < static_cast<int>(Colors.size())) Count *= 2;
    std::vector<GifColorType> Entries(static_cast<std::size_t>(Count), GifColorType{0, 0, 0});
    for (std::size_t I = 0; I < Colors.size(); ++I)
        Entries[I] = GifColorType{static_cast<GifByteType>(RedComponent(Colors[I])),
                                  static_cast<GifByteType>(GreenComponent(Colors[I])),
                                  static_cast<GifByteType>(BlueComponent(Colors[I]))};
    return GifMakeMapObject(Count, Entries.data());
}

} // namespace

TBytes WriteGifWithGiflib(const TGifLayout& Layout) {
    TBytes Out;
    int Error = 0;
    GifFileType* Gif = EGifOpen(&Out, GifWrite, &Error);
    if (!Gif) return {};
    EGifSetGifVersion(Gif, true);
    ColorMapObject* Global = MakeMap(Layout.GlobalColors);
    bool Ok = EGifPutScreenDesc(Gif, Layout.ScreenWidth, Layout.ScreenHeight, 8, 0, Global) == GIF_OK;
    for (const TGifImageLayout& I : Layout.Images) {
        if (!Ok) break;
        if (I.TransparentIndex >= 0) {
            GraphicsControlBlock Control{};
            Control.DisposalMode = DISPOSAL_UNSPECIFIED;
            Control.TransparentColor = I.TransparentIndex;
            GifByteType Block[4];
            const size_t Length = EGifGCBToExtension(&Control, Block);
            Ok = EGifPutExtension(Gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(Length), Block) == GIF_OK;
        }
        ColorMapObject* Local = MakeMap(I.LocalColors);
        Ok = Ok && EGifPutImageDesc(Gif, I.Left, I.Top, I.Width, I.Height, I.Interlaced, Local) == GIF_OK;
        GifFreeMapObject(Local);
        // giflib writes lines in the order given: interlaced images take them pass by pass.
        std::vector<int> Order;
        if (I.Interlaced) {
            const int Start[4] = {0, 4, 2, 1}, Step[4] = {8, 8, 4, 2};
            for (int P = 0; P < 4; ++P)
                for (int Y = Start[P]; Y < I.Height; Y += Step[P]) Order.push_back(Y);
        } else {
            for (int Y = 0; Y < I.Height; ++Y) Order.push_back(Y);
        }
        for (int Y : Order) {
            if (!Ok) break;
            TBytes Line(I.Indices.begin() + static_cast<std::ptrdiff_t>(Y) * I.Width,
                        I.Indices.begin() + static_cast<std::ptrdiff_t>(Y + 1) * I.Width);
            Ok = EGifPutLine(Gif, Line.data(), I.Width) == GIF_OK;
        }
    }
    GifFreeMapObject(Global);
    if (EGifCloseFile(Gif, &Error) != GIF_OK) Ok = false;
    return Ok ? Out : TBytes{};
}

// --- BMP

namespace {

void Put16(TBytes& Out, std::uint32_t V) {
    Out.push_back(static_cast<std::uint8_t>(V));
    Out.push_back(static_cast<std::uint8_t>(V >> 8));
}
void Put32(TBytes& Out, std::uint32_t V) {
    Put16(Out, V & 0xFFFF);
    Put16(Out, V >> 16);
}

} // namespace

TBytes BuildBmp(const TBmpLayout& Layout) {
    TBytes Info;
    if (Layout.InfoSize == 12) {
        Put32(Info, 12);
        Put16(Info, static_cast<std::uint32_t>(Layout.Width));
        Put16(Info, static_cast<std::uint32_t>(Layout.Height));
        Put16(Info, 1);
        Put16(Info, static_cast<std::uint32_t>(Layout.BitCount));
    } else {
        Put32(Info, static_cast<std::uint32_t>(Layout.InfoSize));
        Put32(Info, static_cast<std::uint32_t>(Layout.Width));
        Put32(Info, static_cast<std::uint32_t>(Layout.Height));
        Put16(Info, 1);
        Put16(Info, static_cast<std::uint32_t>(Layout.BitCount));
        Put32(Info, Layout.Compression);
        Put32(Info, static_cast<std::uint32_t>(Layout.PixelData.size()));
        Put32(Info, 2835);
        Put32(Info, 2835);
        Put32(Info, static_cast<std::uint32_t>(Layout.Palette.size()));
        Put32(Info, 0);
        if (Layout.InfoSize > 40) {
            for (std::size_t I = 0; I < 4; ++I) Put32(Info, I < Layout.Masks.size() ? Layout.Masks[I] : 0);
            Info.resize(static_cast<std::size_t>(Layout.InfoSize), 0);
        } else {
            for (std::uint32_t M : Layout.Masks) Put32(Info, M);
        }
    }
    TBytes Palette;
    for (TColor32 C : Layout.Palette) {
        Palette.push_back(static_cast<std::uint8_t>(BlueComponent(C)));
        Palette.push_back(static_cast<std::uint8_t>(GreenComponent(C)));
        Palette.push_back(static_cast<std::uint8_t>(RedComponent(C)));
        if (Layout.InfoSize != 12) Palette.push_back(0);
    }
    const std::uint32_t Offset = static_cast<std::uint32_t>(14 + Info.size() + Palette.size());
    TBytes Out{'B', 'M'};
    Put32(Out, static_cast<std::uint32_t>(Offset + Layout.PixelData.size()));
    Put32(Out, 0);
    Put32(Out, Offset);
    Out.insert(Out.end(), Info.begin(), Info.end());
    Out.insert(Out.end(), Palette.begin(), Palette.end());
    Out.insert(Out.end(), Layout.PixelData.begin(), Layout.PixelData.end());
    return Out;
}

std::uint32_t U16At(std::span<const std::uint8_t> Data, std::size_t At) {
    return Data[At] | (std::uint32_t{Data[At + 1]} << 8);
}
std::uint32_t U32At(std::span<const std::uint8_t> Data, std::size_t At) {
    return U16At(Data, At) | (U16At(Data, At + 2) << 16);
}
std::uint32_t U32BEAt(std::span<const std::uint8_t> Data, std::size_t At) {
    return (std::uint32_t{Data[At]} << 24) | (std::uint32_t{Data[At + 1]} << 16) |
           (std::uint32_t{Data[At + 2]} << 8) | Data[At + 3];
}

TBytes ReadFileBytes(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

} // namespace zp::test
