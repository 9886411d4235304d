#include "raster/Bitmap32.h"

#include <sys/mman.h>

#include "raster/Resamplers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace zp {

void TBitmap32::TFreeDeleter::operator()(TColor32* P) const {
    std::free(P);
}

TBitmap32::TBitmap32() : FResampler(std::make_unique<TNearestResampler>()) {}

TBitmap32::~TBitmap32() = default;

namespace {
thread_local std::int64_t SurfaceLimit = TBitmap32::MaxPixels;
} // namespace

TSurfaceLimit::TSurfaceLimit(std::int64_t Pixels) : FPrevious(SurfaceLimit) {
    SurfaceLimit = std::clamp<std::int64_t>(Pixels, 0, SurfaceLimit);
}

TSurfaceLimit::~TSurfaceLimit() {
    SurfaceLimit = FPrevious;
}

std::int64_t TSurfaceLimit::Current() {
    return SurfaceLimit;
}

std::unique_ptr<TColor32[], TBitmap32::TFreeDeleter> TBitmap32::Allocate(int W, int H) {
    const std::int64_t Count = std::int64_t{W} * H;
    if (Count > SurfaceLimit) throw EBitmapError(SCantAllocate);
    // calloc: large surfaces get zeroed pages from the system without touching them.
    const std::size_t Bytes = static_cast<std::size_t>(Count) * sizeof(TColor32);
    auto* P = static_cast<TColor32*>(std::calloc(static_cast<std::size_t>(Count), sizeof(TColor32)));
    if (!P) throw EBitmapError(SCantAllocate);
    // Large surfaces are drawn all over at once: huge pages take one fault where small ones take
    // hundreds. Only advice; where the system declines, nothing changes.
    constexpr std::uintptr_t Huge = std::uintptr_t{2} << 20;
    if (Bytes >= Huge) {
        const auto Begin = (reinterpret_cast<std::uintptr_t>(P) + Huge - 1) & ~(Huge - 1);
        const auto End = (reinterpret_cast<std::uintptr_t>(P) + Bytes) & ~(Huge - 1);
        if (End > Begin) madvise(reinterpret_cast<void*>(Begin), End - Begin, MADV_HUGEPAGE);
    }
    return std::unique_ptr<TColor32[], TFreeDeleter>(P);
}

void TBitmap32::Adopt(std::unique_ptr<TColor32[], TFreeDeleter> NewBits, int NewW, int NewH) {
    const bool SizeChanged = NewW != FWidth || NewH != FHeight;
    FBits = std::move(NewBits);
    FWidth = NewW;
    FHeight = NewH;
    if (SizeChanged) FClipRect = BoundsRect();
}

void TBitmap32::SetSize(int W, int H) {
    W = std::max(W, 0);
    H = std::max(H, 0);
    if (W == FWidth && H == FHeight) return;
    if (W == 0 || H == 0) {
        Adopt(nullptr, W, H);
    } else {
        try {
            Adopt(Allocate(W, H), W, H);
        } catch (const EBitmapError&) {
            Adopt(nullptr, 0, 0);
            Changed();
            throw;
        }
    }
    Changed();
}

TColor32 TBitmap32::PixelS(int X, int Y) const {
    if (!FClipRect.Contains(X, Y)) return FOuterColor;
    return Pixel(X, Y);
}

void TBitmap32::SetClipRect(const TRect& R) {
    FClipRect = IntersectRect(R, BoundsRect());
}

void TBitmap32::Clear(TColor32 FillColor) {
    if (Empty()) return;
    if (Clipping()) {
        FillRectS(FClipRect, FillColor);
        return;
    }
    std::fill_n(FBits.get(), static_cast<std::size_t>(FWidth) * FHeight, FillColor);
    Changed();
}

void TBitmap32::FillRect(int X1, int Y1, int X2, int Y2, TColor32 Value) {
    const TRect R = IntersectRect({X1, Y1, X2, Y2}, BoundsRect());
    if (R.IsEmpty()) return;
    for (int Y = R.Top; Y < R.Bottom; ++Y) std::fill_n(PixelPtr(R.Left, Y), R.Width(), Value);
    Changed(R);
}

void TBitmap32::FillRectS(int X1, int Y1, int X2, int Y2, TColor32 Value) {
    const TRect R = IntersectRect({X1, Y1, X2, Y2}, FClipRect);
    if (R.IsEmpty()) return;
    FillRect(R.Left, R.Top, R.Right, R.Bottom, Value);
}

void TBitmap32::FrameRectS(const TRect& R, TColor32 Value) {
    if (R.IsEmpty() || Empty()) return;
    BeginUpdate();
    FillRectS(R.Left, R.Top, R.Right, R.Top + 1, Value);
    FillRectS(R.Left, R.Bottom - 1, R.Right, R.Bottom, Value);
    FillRectS(R.Left, R.Top, R.Left + 1, R.Bottom, Value);
    FillRectS(R.Right - 1, R.Top, R.Right, R.Bottom, Value);
    EndUpdate();
}

void TBitmap32::Line(int X1, int Y1, int X2, int Y2, TColor32 Value, bool L) {
    if (Empty()) return;
    // Bresenham from the start point; the end point is drawn last and only when asked for.
    const int DX = std::abs(X2 - X1);
    const int DY = -std::abs(Y2 - Y1);
    const int SX = X1 < X2 ? 1 : -1;
    const int SY = Y1 < Y2 ? 1 : -1;
    int Err = DX + DY;
    int X = X1;
    int Y = Y1;
    const TRect Bounds = BoundsRect();
    while (X != X2 || Y != Y2) {
        if (Bounds.Contains(X, Y)) SetPixel(X, Y, Value);
        const int E2 = 2 * Err;
        if (E2 >= DY) {
            Err += DY;
            X += SX;
        }
        if (E2 <= DX) {
            Err += DX;
            Y += SY;
        }
    }
    if (L && Bounds.Contains(X2, Y2)) SetPixel(X2, Y2, Value);
    Changed(IntersectRect({std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2) + 1, std::max(Y1, Y2) + 1},
                          Bounds));
}

void TBitmap32::ResetAlpha(unsigned AlphaValue) {
    if (Empty()) return;
    const TColor32 A = (static_cast<TColor32>(AlphaValue) & 0xFF) << 24;
    TColor32* P = FBits.get();
    const std::size_t N = static_cast<std::size_t>(FWidth) * FHeight;
    for (std::size_t I = 0; I < N; ++I) P[I] = (P[I] & 0x00FFFFFFu) | A;
    Changed();
}

template <class FFill> void TBitmap32::Remap(TBitmap32* Dst, int W, int H, FFill Fill) {
    TBitmap32& Target = Dst ? *Dst : *this;
    if (Empty()) {
        if (&Target != this) Target.SetSize(W, H);
        return;
    }
    auto NewBits = Allocate(W, H);
    Fill(NewBits.get(), W);
    Target.Adopt(std::move(NewBits), W, H);
    Target.Changed();
}

void TBitmap32::FlipHorz(TBitmap32* Dst) {
    const int W = FWidth;
    Remap(Dst, FWidth, FHeight, [this, W](TColor32* Out, int) {
        for (int Y = 0; Y < FHeight; ++Y)
            std::reverse_copy(ScanLine(Y), ScanLine(Y) + W, Out + std::ptrdiff_t{Y} * W);
    });
}

void TBitmap32::FlipVert(TBitmap32* Dst) {
    const int W = FWidth;
    Remap(Dst, FWidth, FHeight, [this, W](TColor32* Out, int) {
        for (int Y = 0; Y < FHeight; ++Y)
            std::copy_n(ScanLine(FHeight - 1 - Y), W, Out + std::ptrdiff_t{Y} * W);
    });
}

void TBitmap32::Rotate90(TBitmap32* Dst) {
    Remap(Dst, FHeight, FWidth, [this](TColor32* Out, int OutW) {
        for (int Y = 0; Y < FHeight; ++Y)
            for (int X = 0; X < FWidth; ++X) Out[std::ptrdiff_t{X} * OutW + (FHeight - 1 - Y)] = Pixel(X, Y);
    });
}

void TBitmap32::Rotate180(TBitmap32* Dst) {
    Remap(Dst, FWidth, FHeight, [this](TColor32* Out, int) {
        const std::size_t N = static_cast<std::size_t>(FWidth) * FHeight;
        std::reverse_copy(FBits.get(), FBits.get() + N, Out);
    });
}

void TBitmap32::Rotate270(TBitmap32* Dst) {
    Remap(Dst, FHeight, FWidth, [this](TColor32* Out, int OutW) {
        for (int Y = 0; Y < FHeight; ++Y)
            for (int X = 0; X < FWidth; ++X) Out[std::ptrdiff_t{FWidth - 1 - X} * OutW + Y] = Pixel(X, Y);
    });
}

void TBitmap32::SwapContent(TBitmap32& Other) {
    if (&Other == this) return;
    std::swap(FWidth, Other.FWidth);
    std::swap(FHeight, Other.FHeight);
    std::swap(FBits, Other.FBits);
    std::swap(FDrawMode, Other.FDrawMode);
    std::swap(FCombineMode, Other.FCombineMode);
    std::swap(FWrapMode, Other.FWrapMode);
    std::swap(FMasterAlpha, Other.FMasterAlpha);
    std::swap(FOuterColor, Other.FOuterColor);
    std::swap(FResampler, Other.FResampler);
    FClipRect = BoundsRect();
    Other.FClipRect = Other.BoundsRect();
    Changed();
    Other.Changed();
}

void TBitmap32::Assign(const TBitmap32* Source) {
    if (Source == this) return;
    BeginUpdate();
    try {
        if (!Source) {
            SetSize(0, 0);
        } else {
            SetSize(Source->FWidth, Source->FHeight);
            if (!Source->Empty())
                std::memcpy(FBits.get(), Source->FBits.get(),
                            static_cast<std::size_t>(FWidth) * FHeight * sizeof(TColor32));
            FDrawMode = Source->FDrawMode;
            FCombineMode = Source->FCombineMode;
            FWrapMode = Source->FWrapMode;
            FMasterAlpha = Source->FMasterAlpha;
            FOuterColor = Source->FOuterColor;
            FResampler = Source->FResampler->Clone();
        }
        Changed();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TBitmap32::SetDrawMode(TDrawMode Value) {
    if (FDrawMode == Value) return;
    FDrawMode = Value;
    Changed();
}

void TBitmap32::SetCombineMode(TCombineMode Value) {
    if (FCombineMode == Value) return;
    FCombineMode = Value;
    Changed();
}

void TBitmap32::SetMasterAlpha(unsigned Value) {
    Value = std::min(Value, 255u);
    if (FMasterAlpha == Value) return;
    FMasterAlpha = Value;
    Changed();
}

void TBitmap32::SetOnPixelCombine(TPixelCombineEvent Handler) {
    FOnPixelCombine = std::move(Handler);
    Changed();
}

void TBitmap32::SetResampler(std::unique_ptr<TCustomResampler> Value) {
    FResampler = Value ? std::move(Value) : std::make_unique<TNearestResampler>();
    Changed();
}

std::string TBitmap32::ResamplerClassName() const {
    return FResampler->ClassName();
}

void TBitmap32::SetResamplerClassName(const std::string& Name) {
    if (Name == FResampler->ClassName()) return;
    auto R = CreateResampler(Name);
    if (!R) throw EBitmapError("Unknown resampler class: " + Name);
    SetResampler(std::move(R));
}

void TBitmap32::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount > 0 || !FPendingChange) return;
    FPendingChange = false;
    const TRect Area = std::exchange(FPendingArea, TRect{});
    OnAreaChanged.Notify(*this, Area);
    OnChange.Notify(*this);
}

void TBitmap32::Changed(const TRect& Area) {
    if (FUpdateCount > 0) {
        FPendingChange = true;
        FPendingArea = UnionRect(FPendingArea, Area);
        return;
    }
    OnAreaChanged.Notify(*this, Area);
    OnChange.Notify(*this);
}

} // namespace zp
