#include "files/GifImage.h"

#include "files/ColorReduction.h"
#include "files/GifLZW.h"
#include "raster/Bitmap32.h"

#include <QSaveFile>

#include <algorithm>
#include <stdexcept>

namespace zp {

namespace {

void PutWord(std::vector<std::uint8_t>& Out, int Value) {
    Out.push_back(static_cast<std::uint8_t>(Value & 0xFF));
    Out.push_back(static_cast<std::uint8_t>((Value >> 8) & 0xFF));
}

constexpr int MaxGifSize = 0xFFFF;

} // namespace

// ---------------------------------------------------------------- extensions

void TGIFGraphicControlExtension::SaveToStream(std::vector<std::uint8_t>& Out) const {
    Out.insert(Out.end(), {0x21, 0xF9, 4, PackedFields});
    PutWord(Out, Delay);
    Out.push_back(TransparentColorIndex);
    Out.push_back(0);
}

std::unique_ptr<TGIFExtension> TGIFGraphicControlExtension::Clone() const {
    return std::make_unique<TGIFGraphicControlExtension>(*this);
}

void TGIFAppExtNSLoop::SaveToStream(std::vector<std::uint8_t>& Out) const {
    static constexpr char Identifier[] = "NETSCAPE2.0";
    Out.insert(Out.end(), {0x21, 0xFF, 11});
    Out.insert(Out.end(), Identifier, Identifier + 11);
    Out.insert(Out.end(), {3, 1});
    PutWord(Out, Loops);
    Out.push_back(0);
}

std::unique_ptr<TGIFExtension> TGIFAppExtNSLoop::Clone() const {
    return std::make_unique<TGIFAppExtNSLoop>(*this);
}

// ---------------------------------------------------------------- one image

TGIFSubImage::TGIFSubImage(int Width, int Height, std::vector<std::uint8_t> Pixels, TGifColorMap ColorMap)
    : FWidth(Width), FHeight(Height), FPixels(std::move(Pixels)), FColorMap(std::move(ColorMap)) {
    if (Width < 0 || Height < 0 || Width > MaxGifSize || Height > MaxGifSize)
        throw EGIFError(SImageTooLargeForGif);
    if (FPixels.size() != static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height))
        throw std::invalid_argument("TGIFSubImage: pixel count does not match the size");
    if (FColorMap.size() > 256) throw EGIFError(SColorTableOverflow);
}

int TGIFSubImage::BitsPerPixel() const {
    return GifBitsPerPixel(static_cast<int>(FColorMap.size()));
}

const std::vector<std::uint8_t>& TGIFSubImage::EncodedData() const {
    if (!FEncoded)
        FEncoded = std::make_shared<const std::vector<std::uint8_t>>(EncodeGifImageData(
            FPixels.data(), FPixels.size(), BitsPerPixel(), static_cast<int>(FColorMap.size())));
    return *FEncoded;
}

std::unique_ptr<TGIFSubImage> TGIFSubImage::CopyPicture() const {
    auto Copy = std::make_unique<TGIFSubImage>(FWidth, FHeight, FPixels, FColorMap);
    Copy->Left = Left;
    Copy->Top = Top;
    Copy->FEncoded = FEncoded; // same pixels, same data
    return Copy;
}

// ---------------------------------------------------------------- the picture

int TGIFImage::Add(std::unique_ptr<TGIFSubImage> Image) {
    FWidth = std::max(FWidth, Image->Left + Image->Width());
    FHeight = std::max(FHeight, Image->Top + Image->Height());
    FImages.push_back(std::move(Image));
    return Count() - 1;
}

std::unique_ptr<TGIFSubImage> TGIFImage::Extract(int Index) {
    std::unique_ptr<TGIFSubImage> Image = std::move(FImages.at(static_cast<std::size_t>(Index)));
    FImages.erase(FImages.begin() + Index);
    return Image;
}

void TGIFImage::Clear() {
    FImages.clear();
    FWidth = 0;
    FHeight = 0;
}

bool TGIFImage::Assign(const TBitmap32& Bitmap, const std::atomic<bool>* Cancel) {
    if (ColorReduction == rmPalette && Palette.empty()) throw EGIFError(SNoPaletteForReduction);
    if (Bitmap.Width() > MaxGifSize || Bitmap.Height() > MaxGifSize) throw EGIFError(SImageTooLargeForGif);
    TReducedBitmap Reduced =
        ReduceColors(Bitmap, ColorReduction, DitherMode, ReductionBits, &Palette, Cancel);
    if (Cancel && Cancel->load()) return false;
    auto Image = std::make_unique<TGIFSubImage>(Reduced.Width, Reduced.Height, std::move(Reduced.Pixels),
                                                std::move(Reduced.Palette));
    Clear();
    Add(std::move(Image));
    return true;
}

const char* TGIFImage::Version() const {
    for (const auto& Image : FImages)
        if (!Image->Extensions.empty()) return "89a";
    return "87a";
}

void TGIFImage::SaveToStream(const std::function<void(const std::uint8_t*, std::size_t)>& Write) const {
    if (FWidth > MaxGifSize || FHeight > MaxGifSize) throw EGIFError(SImageTooLargeForGif);
    int Bits = 1;
    for (const auto& Image : FImages) {
        Image->EncodedData(); // fails here, before anything is written
        Bits = std::max(Bits, Image->BitsPerPixel());
    }

    // Headers, extensions and colour tables are gathered here; image data goes out as it is.
    std::vector<std::uint8_t> S;
    S.insert(S.end(), {'G', 'I', 'F'});
    const char* V = Version();
    S.insert(S.end(), V, V + 3);
    PutWord(S, FWidth);
    PutWord(S, FHeight);
    S.push_back(static_cast<std::uint8_t>(((Bits - 1) << 4) | (Bits - 1)));
    S.push_back(BackgroundColorIndex);
    S.push_back(AspectRatio);

    for (const auto& Image : FImages) {
        for (const auto& Extension : Image->Extensions) Extension->SaveToStream(S);
        const int ImageBits = Image->BitsPerPixel();
        S.push_back(0x2C);
        PutWord(S, Image->Left);
        PutWord(S, Image->Top);
        PutWord(S, Image->Width());
        PutWord(S, Image->Height());
        S.push_back(static_cast<std::uint8_t>(0x80 | (ImageBits - 1)));
        for (const TGifColor& C : Image->ColorMap()) S.insert(S.end(), {C.R, C.G, C.B});
        S.resize(S.size() + 3 * ((std::size_t{1} << ImageBits) - Image->ColorMap().size()), 0);
        Write(S.data(), S.size());
        S.clear();
        const std::vector<std::uint8_t>& Data = Image->EncodedData();
        Write(Data.data(), Data.size());
    }
    S.push_back(0x3B);
    Write(S.data(), S.size());
}

void TGIFImage::SaveToStream(std::vector<std::uint8_t>& Out) const {
    std::vector<std::uint8_t> Stream;
    SaveToStream(
        [&](const std::uint8_t* Data, std::size_t Size) { Stream.insert(Stream.end(), Data, Data + Size); });
    Out.insert(Out.end(), Stream.begin(), Stream.end());
}

std::vector<std::uint8_t> TGIFImage::SaveToBytes() const {
    std::vector<std::uint8_t> Out;
    SaveToStream(
        [&](const std::uint8_t* Data, std::size_t Size) { Out.insert(Out.end(), Data, Data + Size); });
    return Out;
}

void TGIFImage::SaveToFile(const QString& FileName) const {
    for (const auto& Image : FImages) Image->EncodedData(); // an encoding failure creates no file
    QSaveFile File(FileName);
    auto Fail = [&](const QString& Reason) {
        File.cancelWriting();
        throw EGIFError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, Reason).toStdString());
    };
    if (!File.open(QIODevice::WriteOnly)) Fail(File.errorString());
    try {
        SaveToStream([&](const std::uint8_t* Data, std::size_t Size) {
            if (File.write(reinterpret_cast<const char*>(Data), static_cast<qint64>(Size)) !=
                static_cast<qint64>(Size))
                Fail(File.errorString());
        });
    } catch (...) {
        File.cancelWriting();
        throw;
    }
    if (!File.commit()) Fail(File.errorString());
}

// ---------------------------------------------------------------- appending a frame

namespace {

int AppendFrame(TGIFImage& GIF, std::unique_ptr<TGIFSubImage> Image, int AnimDuration, int NumberOfLoop) {
    Image->Left = 0;
    Image->Top = 0;
    Image->Extensions.clear();
    if (GIF.Count() == 0) {
        auto Loop = std::make_unique<TGIFAppExtNSLoop>();
        Loop->Loops = static_cast<std::uint16_t>(NumberOfLoop & 0xFFFF);
        Image->Extensions.push_back(std::move(Loop));
    }
    auto Control = std::make_unique<TGIFGraphicControlExtension>();
    Control->Delay = static_cast<std::uint16_t>((AnimDuration / 10) & 0xFFFF);
    Image->Extensions.push_back(std::move(Control));
    return GIF.Add(std::move(Image));
}

} // namespace

int AddBitmapToGif(TGIFImage& GIF, const TGIFImage& Source, int AnimDuration, int NumberOfLoop) {
    if (Source.Count() == 0) return -1;
    return AppendFrame(GIF, Source.Images(0).CopyPicture(), AnimDuration, NumberOfLoop);
}

int AddBitmapToGif(TGIFImage& GIF, TGIFImage&& Source, int AnimDuration, int NumberOfLoop) {
    if (Source.Count() == 0) return -1;
    return AppendFrame(GIF, Source.Extract(0), AnimDuration, NumberOfLoop);
}

} // namespace zp
