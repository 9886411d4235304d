#include "files/ColorReduction.h"

#include "files/ColorQuantizer.h"
#include "files/Ditherers.h"
#include "raster/Bitmap32.h"

namespace zp {

namespace {

bool Cancelled(const std::atomic<bool>* Cancel) {
    return Cancel && Cancel->load(std::memory_order_relaxed);
}

// The picture's own colours in order of first occurrence.
TReducedBitmap FirstOccurrence(const TBitmap32& Bitmap) {
    TReducedBitmap Out;
    Out.Width = Bitmap.Width();
    Out.Height = Bitmap.Height();
    Out.Pixels.resize(static_cast<std::size_t>(Out.Width) * static_cast<std::size_t>(Out.Height));
    // 512 slots keep the probe chains short for at most 256 colours.
    constexpr std::uint32_t Slots = 512;
    std::uint32_t Keys[Slots];
    std::uint8_t Indices[Slots];
    std::fill(std::begin(Keys), std::end(Keys), 0xFFFFFFFFu);
    std::uint32_t LastRgb = 0xFFFFFFFFu;
    std::uint8_t LastIndex = 0;
    std::uint8_t* Dst = Out.Pixels.data();
    for (int Y = 0; Y < Out.Height; ++Y) {
        const TColor32* Row = Bitmap.ScanLine(Y);
        for (int X = 0; X < Out.Width; ++X) {
            const std::uint32_t Rgb = Row[X] & 0x00FFFFFFu;
            if (Rgb != LastRgb) {
                std::uint32_t Slot = (Rgb * 2654435761u) >> 23;
                while (Keys[Slot] != Rgb && Keys[Slot] != 0xFFFFFFFFu) Slot = (Slot + 1) & (Slots - 1);
                if (Keys[Slot] == 0xFFFFFFFFu) {
                    if (Out.Palette.size() == 256) throw EGIFError(SColorTableOverflow);
                    Keys[Slot] = Rgb;
                    Indices[Slot] = static_cast<std::uint8_t>(Out.Palette.size());
                    Out.Palette.push_back({static_cast<std::uint8_t>(Rgb >> 16),
                                           static_cast<std::uint8_t>(Rgb >> 8),
                                           static_cast<std::uint8_t>(Rgb)});
                }
                LastRgb = Rgb;
                LastIndex = Indices[Slot];
            }
            *Dst++ = LastIndex;
        }
    }
    return Out;
}

TGifColorMap QuantizedPalette(const TBitmap32& Bitmap, int MaxColors) {
    TColorQuantizer Quantizer(MaxColors);
    Quantizer.AddBitmap(Bitmap);
    return Quantizer.ColorTable(MaxColors);
}

} // namespace

std::unique_ptr<TColorLookup> CreateColorLookup(const TBitmap32& Bitmap, TColorReduction Reduction,
                                                int ReductionBits, const TGifColorMap* Palette) {
    if (ReductionBits < 1 || ReductionBits > 8) throw EGIFError(SUnknownColorReduction);
    switch (Reduction) {
    case rmNone: return nullptr;
    case rmWindows20: return std::make_unique<TSlowColorLookup>(Windows20Palette());
    case rmWindows256: return std::make_unique<TSlowColorLookup>(WindowsHalftonePalette());
    case rmWindowsGray: return std::make_unique<TSlowColorLookup>(WindowsGrayPalette());
    case rmMonochrome: return std::make_unique<TMonochromeLookup>();
    case rmGrayScale: return std::make_unique<TGrayScaleLookup>();
    case rmNetscape: return std::make_unique<TNetscapeColorLookup>();
    case rmQuantize: return std::make_unique<TFastColorLookup>(QuantizedPalette(Bitmap, 1 << ReductionBits));
    case rmQuantizeWindows: {
        const TGifColorMap& System = Windows20Palette();
        TGifColorMap Colors(System.begin(), System.begin() + 10);
        const TGifColorMap Tree = QuantizedPalette(Bitmap, 236);
        Colors.insert(Colors.end(), Tree.begin(), Tree.end());
        Colors.insert(Colors.end(), System.begin() + 10, System.end());
        return std::make_unique<TSlowColorLookup>(std::move(Colors));
    }
    case rmPalette:
        if (!Palette || Palette->empty()) return nullptr;
        if (Palette->size() > 256) throw EGIFError(SColorTableOverflow);
        return std::make_unique<TSlowColorLookup>(*Palette);
    }
    throw EGIFError(SUnknownColorReduction);
}

TReducedBitmap DitherBitmap(const TBitmap32& Bitmap, TColorLookup& Lookup, TDitherMode DitherMode,
                            const std::atomic<bool>* Cancel) {
    TReducedBitmap Out;
    const int W = Bitmap.Width(), H = Bitmap.Height();
    const std::unique_ptr<TDitherEngine> Ditherer = CreateDitherer(DitherMode, W, Lookup);
    Out.Width = W;
    Out.Height = H;
    Out.Palette = Lookup.Palette();
    Out.Pixels.resize(static_cast<std::size_t>(W) * static_cast<std::size_t>(H));
    for (int Y = 0; Y < H; ++Y) {
        if (Cancelled(Cancel)) return {};
        Ditherer->DitherRow(Bitmap.ScanLine(Y),
                            Out.Pixels.data() + static_cast<std::size_t>(Y) * static_cast<std::size_t>(W));
        Ditherer->NextLine();
    }
    return Out;
}

TReducedBitmap ReduceColors(const TBitmap32& Bitmap, TColorReduction Reduction, TDitherMode DitherMode,
                            int ReductionBits, const TGifColorMap* Palette, const std::atomic<bool>* Cancel) {
    if (Reduction == rmNone) return FirstOccurrence(Bitmap);
    const std::unique_ptr<TColorLookup> Lookup = CreateColorLookup(Bitmap, Reduction, ReductionBits, Palette);
    if (!Lookup || Cancelled(Cancel)) return {};
    return DitherBitmap(Bitmap, *Lookup, DitherMode, Cancel);
}

} // namespace zp
