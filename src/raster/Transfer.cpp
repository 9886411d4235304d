// Transfers of one surface onto another: clipping, the block path for equal sizes and the
// resampled path otherwise, and the per-row combine of the source's draw mode.
#include "raster/Bitmap32.h"

#include "raster/Blend.h"
#include "raster/Resamplers.h"

#include <cstring>

namespace zp {

namespace {

// Combines source colours into destination pixels by the source surface's settings.
class TRowCombiner final : public TRowSink {
public:
    TRowCombiner(const TBitmap32& Src, TBitmap32& Dst, bool Block)
        : Dst(Dst), Mode(Src.DrawMode()), Combine(Src.CombineMode()), Master(Src.MasterAlpha()),
          Outer(Src.OuterColor()), Custom(Src.OnPixelCombine()), Block(Block) {
        if (Mode == dmCustom && !Custom) Mode = dmOpaque;
    }

    void Row(int Y, int X, const TColor32* S, int N) override { Combine1(S, Dst.PixelPtr(X, Y), N); }

    void Combine1(const TColor32* S, TColor32* D, int N) const {
        switch (Mode) {
        case dmOpaque: std::memmove(D, S, static_cast<std::size_t>(N) * sizeof(TColor32)); break;
        case dmBlend:
            if (Master >= 255) {
                if (Combine == cmBlend)
                    BlendLine(S, D, N);
                else
                    MergeLine(S, D, N);
            } else if (Combine == cmMerge) {
                MergeLineMaster(S, D, N, Master);
            } else if (Block) {
                BlendLineMaster(S, D, N, Master);
            } else {
                for (int I = 0; I < N; ++I) D[I] = BlendColorMaster(S[I], D[I], Master);
            }
            break;
        case dmTransparent:
            for (int I = 0; I < N; ++I)
                if (S[I] != Outer) D[I] = S[I];
            break;
        case dmCustom:
            for (int I = 0; I < N; ++I) Custom(S[I], D[I], Master);
            break;
        }
    }

private:
    TBitmap32& Dst;
    TDrawMode Mode;
    TCombineMode Combine;
    unsigned Master;
    TColor32 Outer;
    const TPixelCombineEvent& Custom;
    bool Block;
};

} // namespace

void TBitmap32::DrawTo(TBitmap32& Dst, int DstX, int DstY) const {
    DrawTo(Dst, TRect{DstX, DstY, DstX + FWidth, DstY + FHeight}, BoundsRect());
}

void TBitmap32::DrawTo(TBitmap32& Dst, const TRect& DstRect, const TRect& SrcRect) const {
    if (SrcRect.Right < SrcRect.Left || SrcRect.Bottom < SrcRect.Top) throw EBitmapError(SInvalidSrcRect);
    if (Empty() || Dst.Empty()) return;
    if (FDrawMode == dmBlend && FMasterAlpha == 0) return;

    if (&Dst == this) {
        // Overlapping rows would read pixels this transfer already wrote.
        TBitmap32 Copy;
        Copy.Assign(this);
        Copy.FOnPixelCombine = FOnPixelCombine;
        Copy.DrawTo(Dst, DstRect, SrcRect);
        return;
    }

    const TRect DstArea = IntersectRect(DstRect, Dst.FClipRect);
    if (DstArea.IsEmpty()) return;

    if (SrcRect.Width() == DstRect.Width() && SrcRect.Height() == DstRect.Height()) {
        const int DX = DstRect.Left - SrcRect.Left;
        const int DY = DstRect.Top - SrcRect.Top;
        const TRect Area = IntersectRect(DstArea, IntersectRect(SrcRect, BoundsRect()).Offset(DX, DY));
        if (Area.IsEmpty()) return;
        TRowCombiner Combiner(*this, Dst, true);
        for (int Y = Area.Top; Y < Area.Bottom; ++Y)
            Combiner.Combine1(PixelPtr(Area.Left - DX, Y - DY), Dst.PixelPtr(Area.Left, Y), Area.Width());
        Dst.Changed(Area);
        return;
    }

    const TRect Src = IntersectRect(SrcRect, BoundsRect());
    if (Src.IsEmpty()) return;
    TRowCombiner Combiner(*this, Dst, false);
    FResampler->Resample(*this, Src, DstRect, DstArea, Combiner);
    Dst.Changed(DstArea);
}

} // namespace zp
