#include "files/Metafile.h"

#include "files/CodecSupport.h"
#include "files/MetafilePlayers.h"

namespace zp {

namespace {

using namespace codec;
using namespace metafile;

enum TKind { kEmf, kWmf };

// One playing onto Background; false when no record drew anything.
bool Play(std::span<const std::uint8_t> Data, TKind Kind, const TSetup& Setup, QImage& Target,
          QColor Background, const TDecodeLimits& Limits) {
    Target.fill(Background);
    TCanvas Canvas(Target, Setup.Mapping);
    if (Kind == kEmf)
        PlayEmf(Data, Canvas, Limits);
    else
        PlayWmf(Data, Canvas, Limits);
    return Canvas.Drew();
}

std::unique_ptr<TBitmap32> Decode(std::span<const std::uint8_t> Data, TKind Named,
                                  const TDecodeLimits& Limits) {
    const TKind Kind = LooksLikeEmf(Data) ? kEmf : LooksLikeWmf(Data) ? kWmf : Named;
    const char* Name = Kind == kEmf ? "EMF" : "WMF";
    const TSetup Setup = Kind == kEmf ? ReadEmfSetup(Data) : ReadWmfSetup(Data);
    CheckPictureSize(Name, Setup.Width, Setup.Height, Limits);
    const int W = static_cast<int>(Setup.Width), H = static_cast<int>(Setup.Height);
    return GuardMemory([&] {
        QImage OnWhite(W, H, QImage::Format_RGB32), OnRed(W, H, QImage::Format_RGB32);
        if (OnWhite.isNull() || OnRed.isNull()) OutOfMemory();
        const bool Drew = Play(Data, Kind, Setup, OnWhite, Qt::white, Limits);
        if (Drew) Play(Data, Kind, Setup, OnRed, Qt::red, Limits);
        auto Picture = std::make_unique<TBitmap32>();
        Picture->SetSize(W, H);
        bool Opaque = false;
        for (int Y = 0; Drew && Y < H; ++Y) {
            const auto* A = reinterpret_cast<const QRgb*>(OnWhite.constScanLine(Y));
            const auto* B = reinterpret_cast<const QRgb*>(OnRed.constScanLine(Y));
            TColor32* Out = Picture->ScanLine(Y);
            for (int X = 0; X < W; ++X) {
                const bool Same = (A[X] & 0xFFFFFF) == (B[X] & 0xFFFFFF);
                Out[X] = Same ? (A[X] | 0xFF000000u) : (A[X] & 0xFFFFFFu);
                Opaque |= Same;
            }
        }
        if (!Opaque) RaiseFileError(fekMalformed, FileTexts::SNoData);
        return Picture;
    });
}

} // namespace

std::unique_ptr<TBitmap32> DecodeEMF(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits) {
    return Decode(Data, kEmf, Limits);
}

std::unique_ptr<TBitmap32> DecodeWMF(std::span<const std::uint8_t> Data, const TDecodeLimits& Limits) {
    return Decode(Data, kWmf, Limits);
}

} // namespace zp
