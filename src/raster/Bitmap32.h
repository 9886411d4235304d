#pragma once

#include "raster/Color32.h"
#include "raster/Events.h"
#include "raster/Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace zp {

class TCustomResampler;

enum TDrawMode { dmOpaque, dmBlend, dmCustom, dmTransparent };
enum TCombineMode { cmBlend, cmMerge };
enum TWrapMode { wmClamp, wmRepeat, wmMirror };

// Failures of surface operations ("Can't allocate the DIB handle", "Invalid SrcRect").
class EBitmapError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr const char* SCantAllocate = "Can't allocate the DIB handle";
constexpr const char* SInvalidSrcRect = "Invalid SrcRect";

// Per-pixel callback of dmCustom: computes B from F, B and the master alpha.
using TPixelCombineEvent = std::function<void(TColor32 F, TColor32& B, TColor32 M)>;

// While one lives, surfaces made on its thread may hold at most Pixels pixels (never more than
// TBitmap32::MaxPixels); larger ones are refused as if memory had run out. Readers of untrusted
// files use it to bound what one value from a file can make the program allocate.
class TSurfaceLimit {
public:
    explicit TSurfaceLimit(std::int64_t Pixels);
    ~TSurfaceLimit();
    TSurfaceLimit(const TSurfaceLimit&) = delete;
    TSurfaceLimit& operator=(const TSurfaceLimit&) = delete;
    // The limit on this thread now.
    static std::int64_t Current();

private:
    std::int64_t FPrevious;
};

// A rectangle of straight-alpha ARGB pixels. Owns its pixels and its resampler.
class TBitmap32 {
public:
    // Larger surfaces are refused as if memory had run out: a banner editor never needs
    // them, and refusing early keeps a corrupt size field from exhausting the machine.
    static constexpr std::int64_t MaxPixels = std::int64_t{1} << 28;

    TBitmap32();
    ~TBitmap32();
    TBitmap32(const TBitmap32&) = delete;
    TBitmap32& operator=(const TBitmap32&) = delete;

    // --- size and pixels
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Negative sizes count as 0; the current size keeps the pixels; any other size gives
    // W x H pixels of value 0. Throws EBitmapError (surface left empty) when memory fails.
    void SetSize(int W, int H);
    void SetWidth(int W) { SetSize(W, FHeight); }
    void SetHeight(int H) { SetSize(FWidth, H); }
    bool Empty() const { return FWidth == 0 || FHeight == 0 || !FBits; }
    TRect BoundsRect() const { return {0, 0, FWidth, FHeight}; }

    TColor32* Bits() { return FBits.get(); }
    const TColor32* Bits() const { return FBits.get(); }
    TColor32* ScanLine(int Y) { return FBits.get() + static_cast<std::ptrdiff_t>(Y) * FWidth; }
    const TColor32* ScanLine(int Y) const { return FBits.get() + static_cast<std::ptrdiff_t>(Y) * FWidth; }
    TColor32* PixelPtr(int X, int Y) { return ScanLine(Y) + X; }
    const TColor32* PixelPtr(int X, int Y) const { return ScanLine(Y) + X; }
    // Unchecked access: the caller guarantees 0 <= X < Width and 0 <= Y < Height.
    TColor32 Pixel(int X, int Y) const { return ScanLine(Y)[X]; }
    void SetPixel(int X, int Y, TColor32 Value) { ScanLine(Y)[X] = Value; }
    // Checked read: OuterColor outside ClipRect.
    TColor32 PixelS(int X, int Y) const;

    // --- clipping
    TRect ClipRect() const { return FClipRect; }
    // Limited to the bounds; reset to the bounds on every size change.
    void SetClipRect(const TRect& R);
    bool Clipping() const { return FClipRect != BoundsRect(); }

    // --- filling and pens (no blending)
    void Clear() { Clear(clBlack32); }
    // Fills every pixel, or only ClipRect while clipping is on.
    void Clear(TColor32 FillColor);
    // Ignores ClipRect, but never writes outside the surface.
    void FillRect(int X1, int Y1, int X2, int Y2, TColor32 Value);
    void FillRectS(int X1, int Y1, int X2, int Y2, TColor32 Value);
    void FillRectS(const TRect& R, TColor32 Value) { FillRectS(R.Left, R.Top, R.Right, R.Bottom, Value); }
    // One-pixel outline inside R, limited to ClipRect.
    void FrameRectS(const TRect& R, TColor32 Value);
    // One-pixel line; the end point is set only when L is true. Pixels outside the
    // surface are skipped.
    void Line(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L = false);
    void ResetAlpha(unsigned AlphaValue = 255);

    // --- transfers (the source's draw mode, combine mode, master alpha and resampler apply)
    void Draw(int DstX, int DstY, const TBitmap32& Src) { Src.DrawTo(*this, DstX, DstY); }
    void Draw(const TRect& DstRect, const TRect& SrcRect, const TBitmap32& Src) {
        Src.DrawTo(*this, DstRect, SrcRect);
    }
    void DrawTo(TBitmap32& Dst) const { DrawTo(Dst, 0, 0); }
    void DrawTo(TBitmap32& Dst, int DstX, int DstY) const;
    void DrawTo(TBitmap32& Dst, const TRect& DstRect) const { DrawTo(Dst, DstRect, BoundsRect()); }
    // Throws EBitmapError("Invalid SrcRect") for a reversed source rectangle.
    void DrawTo(TBitmap32& Dst, const TRect& DstRect, const TRect& SrcRect) const;

    // --- geometry, in place (Dst null or this) or into Dst
    void FlipHorz(TBitmap32* Dst = nullptr);
    void FlipVert(TBitmap32* Dst = nullptr);
    // Clockwise: (x, y) goes to (Height - 1 - y, x) of a Height x Width result.
    void Rotate90(TBitmap32* Dst = nullptr);
    void Rotate180(TBitmap32* Dst = nullptr);
    // Counter-clockwise: (x, y) goes to (y, Width - 1 - x).
    void Rotate270(TBitmap32* Dst = nullptr);

    // Copies size, pixels, draw and combine mode, wrap mode, master alpha, outer colour and
    // the resampler. A null source empties the surface.
    void Assign(const TBitmap32* Source);
    // Exchanges what Assign copies with Other, without copying pixels; both report a change.
    void SwapContent(TBitmap32& Other);

    // --- drawing state
    TDrawMode DrawMode() const { return FDrawMode; }
    void SetDrawMode(TDrawMode Value);
    TCombineMode CombineMode() const { return FCombineMode; }
    void SetCombineMode(TCombineMode Value);
    unsigned MasterAlpha() const { return FMasterAlpha; }
    // Values above 255 are stored as 255.
    void SetMasterAlpha(unsigned Value);
    TColor32 OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor32 Value) { FOuterColor = Value; }
    TColor32 PenColor() const { return FPenColor; }
    void SetPenColor(TColor32 Value) { FPenColor = Value; }
    TWrapMode WrapMode() const { return FWrapMode; }
    void SetWrapMode(TWrapMode Value) { FWrapMode = Value; }
    const TPixelCombineEvent& OnPixelCombine() const { return FOnPixelCombine; }
    void SetOnPixelCombine(TPixelCombineEvent Handler);

    const TCustomResampler& Resampler() const { return *FResampler; }
    void SetResampler(std::unique_ptr<TCustomResampler> Value);
    std::string ResamplerClassName() const;
    // Throws EBitmapError for an unknown class name.
    void SetResamplerClassName(const std::string& Name);

    // --- change notification
    void BeginUpdate() { ++FUpdateCount; }
    // Leaving the outermost update raises one notification for everything changed inside it.
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    void Changed() { Changed(BoundsRect()); }
    void Changed(const TRect& Area);

    TEventList<TBitmap32&> OnChange;
    TEventList<TBitmap32&, const TRect&> OnAreaChanged;

private:
    struct TFreeDeleter {
        void operator()(TColor32* P) const;
    };

    // Replaces the pixel memory by NewBits of NewW x NewH; resets ClipRect when the size changes.
    void Adopt(std::unique_ptr<TColor32[], TFreeDeleter> NewBits, int NewW, int NewH);
    static std::unique_ptr<TColor32[], TFreeDeleter> Allocate(int W, int H);
    // Runs Fill(pixelsOfResult, resultWidth) into a new buffer of W x H and stores it in
    // Dst (or this when Dst is null or this).
    template <class FFill> void Remap(TBitmap32* Dst, int W, int H, FFill Fill);

    int FWidth = 0;
    int FHeight = 0;
    std::unique_ptr<TColor32[], TFreeDeleter> FBits;
    TRect FClipRect;
    TColor32 FOuterColor = 0;
    TColor32 FPenColor = clWhite32;
    TDrawMode FDrawMode = dmOpaque;
    TCombineMode FCombineMode = cmBlend;
    TWrapMode FWrapMode = wmClamp;
    unsigned FMasterAlpha = 255;
    std::unique_ptr<TCustomResampler> FResampler;
    TPixelCombineEvent FOnPixelCombine;
    int FUpdateCount = 0;
    TRect FPendingArea;
    bool FPendingChange = false;
};

} // namespace zp
