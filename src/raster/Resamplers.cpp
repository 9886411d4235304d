#include "raster/Resamplers.h"

#include "raster/Bitmap32.h"
#include "raster/Blend.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zp {

namespace {

// Sum of the integer weights of one filter tap list.
constexpr int WeightOne = 256;

struct TTap {
    int Index; // absolute source coordinate
    int Weight;
};

// The taps of one destination coordinate: a run of consecutive sources.
struct TTapRun {
    int First = 0; // offset into the shared tap vector
    int Count = 0;
};

// Tent-filter taps for destination indices [D0, D1) of a destination span Dn over source
// span [S0, S0 + Sn). When reducing, the tent widens to one destination pixel.
void BuildTentTaps(int S0, int Sn, int Dn, int D0, int D1, std::vector<TTap>& Taps,
                   std::vector<TTapRun>& Runs) {
    const double Scale = static_cast<double>(Dn) / Sn;
    const double Stretch = std::min(Scale, 1.0);
    const double Radius = 1.0 / Stretch;
    std::vector<double> Weights;
    for (int D = D0; D < D1; ++D) {
        const double Centre = (D + 0.5) * Sn / Dn - 0.5;
        const int K0 = std::max(0, static_cast<int>(std::floor(Centre - Radius)));
        const int K1 = std::min(Sn - 1, static_cast<int>(std::ceil(Centre + Radius)));
        Weights.clear();
        double Sum = 0;
        for (int K = K0; K <= K1; ++K) {
            const double W = std::max(0.0, 1.0 - std::fabs(K - Centre) * Stretch);
            Weights.push_back(W);
            Sum += W;
        }
        TTapRun Run{static_cast<int>(Taps.size()), 0};
        if (Sum <= 0) {
            // Cannot happen for a tent at least one source pixel wide; stay safe anyway.
            const int K = std::clamp(static_cast<int>(std::lround(Centre)), 0, Sn - 1);
            Taps.push_back({S0 + K, WeightOne});
            Run.Count = 1;
        } else {
            int Total = 0;
            int Largest = -1;
            for (int K = K0; K <= K1; ++K) {
                const int W = static_cast<int>(
                    std::lround(Weights[static_cast<std::size_t>(K - K0)] / Sum * WeightOne));
                if (W == 0) continue;
                Taps.push_back({S0 + K, W});
                Total += W;
                if (Largest < 0 || W > Taps[static_cast<std::size_t>(Largest)].Weight)
                    Largest = static_cast<int>(Taps.size()) - 1;
                ++Run.Count;
            }
            if (Largest < 0) {
                Taps.push_back(
                    {S0 + std::clamp(static_cast<int>(std::lround(Centre)), 0, Sn - 1), WeightOne});
                Run.Count = 1;
            } else {
                Taps[static_cast<std::size_t>(Largest)].Weight += WeightOne - Total;
            }
        }
        Runs.push_back(Run);
    }
}

// Bilinear sample position of destination index D: left/top source index and its weight.
struct TLinearPos {
    int I;
    unsigned W;
};

TLinearPos LinearPos(int D, int Sn, int Dn, int SLeft, int SRight, int SourceSize) {
    double X = (D + 0.5) * Sn / Dn + (SLeft - 0.5);
    X = std::clamp(X, 0.0, static_cast<double>(SourceSize - 1));
    int I = static_cast<int>(std::floor(X));
    const double Frac = X - I;
    unsigned W = 256 - static_cast<unsigned>(std::nearbyint(Frac * 256));
    if (I + 1 >= SRight) {
        I -= 1;
        W = 0;
    }
    return {I, W};
}

} // namespace

std::unique_ptr<TCustomResampler> TNearestResampler::Clone() const {
    return std::make_unique<TNearestResampler>();
}

void TNearestResampler::Resample(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect,
                                 const TRect& DstClip, TRowSink& Sink) const {
    const int Sw = SrcRect.Width();
    const int Sh = SrcRect.Height();
    const int Dw = DstRect.Width();
    const int Dh = DstRect.Height();
    // The ratio is a single-precision number; the product with the index is exact in double.
    const float RatioX = static_cast<float>(Sw) / static_cast<float>(Dw);
    const float RatioY = static_cast<float>(Sh) / static_cast<float>(Dh);
    auto SourceIndex = [](int D, int Dn, float Ratio, int S0, int S1) {
        if (Dn < 2) return (S0 + S1 - 1) / 2;
        const int I = S0 + static_cast<int>(static_cast<double>(D) * static_cast<double>(Ratio));
        return std::min(I, S1 - 1);
    };

    std::vector<int> Columns(static_cast<std::size_t>(DstClip.Width()));
    for (int X = DstClip.Left; X < DstClip.Right; ++X)
        Columns[static_cast<std::size_t>(X - DstClip.Left)] =
            SourceIndex(X - DstRect.Left, Dw, RatioX, SrcRect.Left, SrcRect.Right);

    std::vector<TColor32> Row(Columns.size());
    for (int Y = DstClip.Top; Y < DstClip.Bottom; ++Y) {
        const TColor32* Line =
            Src.ScanLine(SourceIndex(Y - DstRect.Top, Dh, RatioY, SrcRect.Top, SrcRect.Bottom));
        for (std::size_t I = 0; I < Columns.size(); ++I) Row[I] = Line[Columns[I]];
        Sink.Row(Y, DstClip.Left, Row.data(), DstClip.Width());
    }
}

std::unique_ptr<TCustomResampler> TLinearResampler::Clone() const {
    return std::make_unique<TLinearResampler>();
}

void TLinearResampler::Resample(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect,
                                const TRect& DstClip, TRowSink& Sink) const {
    const int Sw = SrcRect.Width();
    const int Sh = SrcRect.Height();
    if (DstRect.Width() > Sw && DstRect.Height() > Sh && Sw > 1 && Sh > 1)
        Enlarge(Src, SrcRect, DstRect, DstClip, Sink);
    else
        Filter(Src, SrcRect, DstRect, DstClip, Sink);
}

void TLinearResampler::Enlarge(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect,
                               const TRect& DstClip, TRowSink& Sink) const {
    std::vector<TLinearPos> Columns;
    Columns.reserve(static_cast<std::size_t>(DstClip.Width()));
    for (int X = DstClip.Left; X < DstClip.Right; ++X)
        Columns.push_back(LinearPos(X - DstRect.Left, SrcRect.Width(), DstRect.Width(), SrcRect.Left,
                                    SrcRect.Right, Src.Width()));

    std::vector<TColor32> Row(Columns.size());
    for (int Y = DstClip.Top; Y < DstClip.Bottom; ++Y) {
        const TLinearPos P = LinearPos(Y - DstRect.Top, SrcRect.Height(), DstRect.Height(), SrcRect.Top,
                                       SrcRect.Bottom, Src.Height());
        const TColor32* Upper = Src.ScanLine(P.I);
        const TColor32* Lower = Src.ScanLine(P.I + 1);
        for (std::size_t I = 0; I < Columns.size(); ++I) {
            const TLinearPos C = Columns[I];
            Row[I] = MixColor(MixColor(Upper[C.I], Upper[C.I + 1], C.W),
                              MixColor(Lower[C.I], Lower[C.I + 1], C.W), P.W);
        }
        Sink.Row(Y, DstClip.Left, Row.data(), DstClip.Width());
    }
}

void TLinearResampler::Filter(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect,
                              const TRect& DstClip, TRowSink& Sink) const {
    std::vector<TTap> XTaps, YTaps;
    std::vector<TTapRun> XRuns, YRuns;
    BuildTentTaps(SrcRect.Left, SrcRect.Width(), DstRect.Width(), DstClip.Left - DstRect.Left,
                  DstClip.Right - DstRect.Left, XTaps, XRuns);
    BuildTentTaps(SrcRect.Top, SrcRect.Height(), DstRect.Height(), DstClip.Top - DstRect.Top,
                  DstClip.Bottom - DstRect.Top, YTaps, YRuns);

    int ColMin = SrcRect.Right, ColMax = SrcRect.Left;
    for (const TTap& T : XTaps) {
        ColMin = std::min(ColMin, T.Index);
        ColMax = std::max(ColMax, T.Index);
    }
    const int Cols = ColMax - ColMin + 1;
    // Vertical pass first: per source column the four channel sums weighted to 256.
    std::vector<int> Column(static_cast<std::size_t>(Cols) * 4);
    std::vector<TColor32> Row(XRuns.size());

    for (int Y = DstClip.Top; Y < DstClip.Bottom; ++Y) {
        std::fill(Column.begin(), Column.end(), 0);
        const TTapRun& YR = YRuns[static_cast<std::size_t>(Y - DstClip.Top)];
        for (int T = YR.First; T < YR.First + YR.Count; ++T) {
            const TTap& Tap = YTaps[static_cast<std::size_t>(T)];
            const TColor32* Line = Src.ScanLine(Tap.Index) + ColMin;
            int* Acc = Column.data();
            for (int C = 0; C < Cols; ++C, Acc += 4) {
                const TColor32 P = Line[C];
                Acc[0] += Tap.Weight * static_cast<int>(P & 0xFF);
                Acc[1] += Tap.Weight * static_cast<int>((P >> 8) & 0xFF);
                Acc[2] += Tap.Weight * static_cast<int>((P >> 16) & 0xFF);
                Acc[3] += Tap.Weight * static_cast<int>(P >> 24);
            }
        }
        for (std::size_t X = 0; X < XRuns.size(); ++X) {
            int Sum[4] = {0, 0, 0, 0};
            const TTapRun& XR = XRuns[X];
            for (int T = XR.First; T < XR.First + XR.Count; ++T) {
                const TTap& Tap = XTaps[static_cast<std::size_t>(T)];
                const int* Acc = Column.data() + static_cast<std::ptrdiff_t>(Tap.Index - ColMin) * 4;
                for (int Ch = 0; Ch < 4; ++Ch) Sum[Ch] += Tap.Weight * Acc[Ch];
            }
            TColor32 C = 0;
            for (int Ch = 0; Ch < 4; ++Ch)
                C |= static_cast<TColor32>(std::clamp((Sum[Ch] + 32768) >> 16, 0, 255)) << (8 * Ch);
            Row[X] = C;
        }
        Sink.Row(Y, DstClip.Left, Row.data(), DstClip.Width());
    }
}

std::unique_ptr<TCustomResampler> CreateResampler(std::string_view ClassName) {
    if (ClassName == "TNearestResampler") return std::make_unique<TNearestResampler>();
    if (ClassName == "TLinearResampler") return std::make_unique<TLinearResampler>();
    return nullptr;
}

} // namespace zp
