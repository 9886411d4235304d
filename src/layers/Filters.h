#pragma once

#include "layers/LayerTypes.h"
#include "raster/Bitmap32.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zp {

// Step of one motion blur copy, x to the right and y downwards. False for a value that names
// no direction (possible from a damaged file).
bool BlurDirectionStep(TBlurDirection Direction, int& DX, int& DY);

// A 3 x 3 kernel in row order: row above (left, middle, right), own row, row below.
using TEffectArray = std::array<std::int32_t, 9>;

// An effect rewrites the layer bitmap it is bound to; it keeps only its parameters between
// runs. The bound bitmap belongs to the layer.
class TEffect {
public:
    TEffect();
    // Layers own their effects through base pointers and tell a motion blur apart by its type.
    virtual ~TEffect();
    TEffect(const TEffect&) = delete;
    TEffect& operator=(const TEffect&) = delete;

    TBitmap32* EffectBitmap() const { return fEffectBitmap; }
    void SetEffectBitmap(TBitmap32* Value) { fEffectBitmap = Value; }
    TBitmap32& OrigBitmap() const { return *fOrigBitmap; }
    // A null value gives a fresh empty scratch surface.
    void SetOrigBitmap(std::unique_ptr<TBitmap32> Value);
    TEffectArray EffectArray() const { return fEffectArray; }
    std::int32_t Divisor() const { return fDivisor; }
    void SetDivisor(std::int32_t Value) { fDivisor = Value; }

protected:
    // The shared 3 x 3 pass: colour channels convolved from a copy of the bitmap, divided,
    // clamped to 0..255; alpha and the one-pixel border kept. A divisor of 0 becomes 9.
    void Convolve();

    TBitmap32* fEffectBitmap = nullptr;
    TEffectArray fEffectArray{};
    std::int32_t fDivisor = 9;
    std::unique_ptr<TBitmap32> fOrigBitmap;
};

class TEmboss : public TEffect {
public:
    TEmboss();
    void Emboss() { Convolve(); }
};

class TLaplace : public TEffect {
public:
    TLaplace();
    void Laplace() { Convolve(); }
};

class TFindEdges : public TEffect {
public:
    TFindEdges();
    void FindEdges() { Convolve(); }
};

class TSharpen : public TEffect {
public:
    TSharpen();
    void Sharpen() { Convolve(); }
};

class TEdgesEnhance : public TEffect {
public:
    TEdgesEnhance();
    void EdgesEnhance() { Convolve(); }
};

class TColorEmboss : public TEffect {
public:
    TColorEmboss();
    void ColorEmboss() { Convolve(); }
};

class TSoften : public TEffect {
public:
    TSoften();
    void Soften() { Convolve(); }
};

// Smears the picture along a direction: 5 x strength copies, each shifted one step further
// and laid under the nearer ones, averaged channel by channel. Opaque pixels stay as they
// are; the smear fills the transparent surroundings. A strength below 1 changes nothing.
class TMotionBlur : public TEffect {
public:
    // The strongest blur the motion-blur dialog offers. Its cost grows with the cube of the
    // strength, so files asking for more get this one (see TStyledLayer::CappedBlurStrength).
    static constexpr std::int32_t MaxStrength = 10;

    TMotionBlur() = default;
    TBlurDirection Direction() const { return fDirection; }
    void SetDirection(TBlurDirection Value) { fDirection = Value; }
    std::int32_t Strenght() const { return fStrenght; }
    void SetStrenght(std::int32_t Value) { fStrenght = Value; }

    void MotionBlur();

private:
    TBlurDirection fDirection = bldTopRight;
    std::int32_t fStrenght = 3;
    // Scratch of a run, like the copy in OrigBitmap: how far each pixel's value repeats along
    // the line of copies.
    std::vector<std::int32_t> fRunLengths;
};

} // namespace zp
