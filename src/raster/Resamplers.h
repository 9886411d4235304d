#pragma once

#include "raster/Color32.h"
#include "raster/Types.h"

#include <memory>
#include <string_view>

namespace zp {

class TBitmap32;

// Receives the resampled colours of one destination row segment.
class TRowSink {
public:
    virtual void Row(int Y, int X, const TColor32* Colors, int Count) = 0;

protected:
    ~TRowSink() = default;
};

// Produces one colour per destination pixel when a transfer changes size.
class TCustomResampler {
public:
    virtual ~TCustomResampler() = default;
    virtual const char* ClassName() const = 0;
    virtual std::unique_ptr<TCustomResampler> Clone() const = 0;
    // Samples SrcRect (already within the source) as if stretched over DstRect and hands the
    // rows of DstClip (within DstRect) to Sink, top to bottom.
    virtual void Resample(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect,
                          const TRect& DstClip, TRowSink& Sink) const = 0;
};

class TNearestResampler final : public TCustomResampler {
public:
    const char* ClassName() const override { return "TNearestResampler"; }
    std::unique_ptr<TCustomResampler> Clone() const override;
    void Resample(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect, const TRect& DstClip,
                  TRowSink& Sink) const override;
};

// Bilinear when enlarging in both directions; a normalised tent filter otherwise.
class TLinearResampler final : public TCustomResampler {
public:
    const char* ClassName() const override { return "TLinearResampler"; }
    std::unique_ptr<TCustomResampler> Clone() const override;
    void Resample(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect, const TRect& DstClip,
                  TRowSink& Sink) const override;

private:
    void Enlarge(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect, const TRect& DstClip,
                 TRowSink& Sink) const;
    void Filter(const TBitmap32& Src, const TRect& SrcRect, const TRect& DstRect, const TRect& DstClip,
                TRowSink& Sink) const;
};

// Null for an unknown class name.
std::unique_ptr<TCustomResampler> CreateResampler(std::string_view ClassName);

} // namespace zp
