// The motion blur, computed per pixel instead of by stacking whole surfaces.
//
// Copy i is the layer bitmap drawn onto transparent black and shifted by i steps, so at a pixel
// p it holds C(p - i * step), where C is the bitmap drawn once onto transparent black (0 where
// p - i * step leaves the surface). Stack q lays copies q - 1, ..., 0 over copy q with the
// shortcut blend, and the result is the channel-wise average of stacks 0 to n - 1. At one pixel:
//   - a copy with alpha 0 leaves the stack below it unchanged;
//   - an opaque copy replaces it, so every stack reaching below the first opaque copy j equals
//     stack j, and the copies beyond j never matter;
//   - only the partly transparent copies above the base of a stack have to be blended, and
//     repeated layers of one value stop changing anything after a few;
//   - a copy laid over an equal copy leaves it as it is.
// Walking the line from copy 0 outwards over runs of equal values, a pixel costs a few steps for
// the usual figure (transparent, opaque, a thin anti-aliased edge, or all of it partly
// transparent when the layer's opacity is lowered) instead of n * n / 2 blends.
#include "layers/Filters.h"

#include "raster/Blend.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zp {

namespace {

struct TChannelSums {
    std::int64_t A = 0, R = 0, G = 0, B = 0;
    // Most pixels see one stack value only (inside the figure, far from it); their average is
    // that value and needs no division.
    TColor32 Only = 0;
    bool Any = false, Uniform = true;

    void Add(TColor32 C, std::int64_t Count) {
        if (!Any) {
            Only = C;
            Any = true;
        } else if (C != Only) {
            Uniform = false;
        }
        A += Count * AlphaComponent(C);
        R += Count * RedComponent(C);
        G += Count * GreenComponent(C);
        B += Count * BlueComponent(C);
    }
    TColor32 Average(std::int64_t N) const {
        if (Uniform) return Only;
        return Color32(static_cast<unsigned>(R / N), static_cast<unsigned>(G / N),
                       static_cast<unsigned>(B / N), static_cast<unsigned>(A / N));
    }
};

// Run[p] = how many pixels p, p - step, p - 2 * step, ... in a row inside the surface hold the
// value of p.
void RunLengths(const TBitmap32& C, int DX, int DY, std::vector<std::int32_t>& Run) {
    const int W = C.Width(), H = C.Height();
    Run.resize(static_cast<std::size_t>(W) * H);
    // Visit p - step before p.
    const int Y0 = DY >= 0 ? 0 : H - 1, YStep = DY >= 0 ? 1 : -1;
    const int X0 = DX >= 0 ? 0 : W - 1, XStep = DX >= 0 ? 1 : -1;
    for (int Y = Y0; Y >= 0 && Y < H; Y += YStep) {
        const int PY = Y - DY;
        const bool RowInside = PY >= 0 && PY < H;
        for (int X = X0; X >= 0 && X < W; X += XStep) {
            const int PX = X - DX;
            std::int32_t N = 1;
            if (RowInside && PX >= 0 && PX < W && C.Pixel(PX, PY) == C.Pixel(X, Y))
                N += Run[static_cast<std::size_t>(PY) * W + PX];
            Run[static_cast<std::size_t>(Y) * W + X] = N;
        }
    }
}

// Partly transparent copies of one value, next to each other in the stack.
struct TPartialRun {
    TColor32 V;
    std::int64_t Count;
};

// V laid Count times over Y. The blend converges: once a layer changes nothing, no further
// layer of the same value will.
TColor32 Repeat(TColor32 V, std::int64_t Count, TColor32 Y) {
    for (; Count > 0; --Count) {
        const TColor32 Next = BlendColor(V, Y);
        if (Next == Y) break;
        Y = Next;
    }
    return Y;
}

class TBlurPixel {
public:
    TBlurPixel(const TBitmap32& C, const std::vector<std::int32_t>& Run, int DX, int DY, std::int64_t N)
        : C(C), Run(Run), DX(DX), DY(DY), N(N), W(C.Width()), H(C.Height()) {}

    TColor32 Compute(int X, int Y) {
        Partials.clear();
        TChannelSums Sums;
        std::int64_t Q = 0, PX = X, PY = Y;
        while (Q < N) {
            TColor32 V = 0;
            std::int64_t Len = N - Q;
            if (PX >= 0 && PX < W && PY >= 0 && PY < H) {
                const std::size_t I = static_cast<std::size_t>(PY) * W + static_cast<std::size_t>(PX);
                V = C.Bits()[I];
                Len = std::min<std::int64_t>(Run[I], Len);
            }
            // Copies of V over a copy of V leave it as it is, so the Len stacks based in this
            // run are all the same.
            const TColor32 Stacked = Stack(V);
            const unsigned A = AlphaComponent(V);
            if (A == 255) {
                Sums.Add(Stacked, N - Q);
                break;
            }
            Sums.Add(Stacked, Len);
            if (A != 0) AddPartial(V, Len);
            Q += Len;
            PX -= Len * DX;
            PY -= Len * DY;
        }
        return Sums.Average(N);
    }

private:
    void AddPartial(TColor32 V, std::int64_t Count) {
        if (!Partials.empty() && Partials.back().V == V)
            Partials.back().Count += Count;
        else
            Partials.push_back({V, Count});
    }

    // The partly transparent copies seen so far laid over Base, the newest first.
    TColor32 Stack(TColor32 Base) const {
        TColor32 Acc = Base;
        for (auto It = Partials.rbegin(); It != Partials.rend(); ++It) Acc = Repeat(It->V, It->Count, Acc);
        return Acc;
    }

    const TBitmap32& C;
    const std::vector<std::int32_t>& Run;
    const int DX, DY;
    const std::int64_t N;
    const int W, H;
    std::vector<TPartialRun> Partials;
};

} // namespace

void TMotionBlur::MotionBlur() {
    // A strength below 1 (only possible from a file) leaves no copy to average.
    if (!fEffectBitmap || fEffectBitmap->Empty() || fStrenght < 1) return;
    int DX = 0, DY = 0;
    if (!BlurDirectionStep(fDirection, DX, DY)) return;
    const std::int64_t N = std::int64_t{fStrenght} * 10 / 2;
    TBitmap32& E = *fEffectBitmap;

    // Every copy is this one shifted: the bitmap's own draw mode, combine mode and master alpha
    // applied once onto transparent black. The scratch surfaces persist between runs, so a
    // redraw does not fetch fresh memory each time.
    TBitmap32& Copy = *fOrigBitmap;
    Copy.SetSize(E.Width(), E.Height());
    Copy.SetClipRect(Copy.BoundsRect());
    Copy.Clear(0);
    E.DrawTo(Copy, 0, 0);
    RunLengths(Copy, DX, DY, fRunLengths);

    TBlurPixel Pixel(Copy, fRunLengths, DX, DY, N);
    for (int Y = 0; Y < E.Height(); ++Y) {
        TColor32* Row = E.ScanLine(Y);
        for (int X = 0; X < E.Width(); ++X) Row[X] = Pixel.Compute(X, Y);
    }
    E.Changed();
}

} // namespace zp
