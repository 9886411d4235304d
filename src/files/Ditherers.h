#pragma once

#include "files/ColorLookup.h"
#include "files/GifTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zp {

// Walks a picture in serpentine order: left to right on the first row, then alternating.
// Dither takes the colour of the pixel at the current column and returns its palette index;
// NextLine ends a row. This base diffuses nothing.
class TDitherEngine {
public:
    TDitherEngine(int Width, TColorLookup& Lookup) : FWidth(Width), FLookup(Lookup) {}
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    virtual int Dither(int R, int G, int B);
    virtual void NextLine();
    // Dithers a whole row in the current direction: Out[x] for Row[x] (alpha ignored). The
    // same as Dither for every pixel in walking order; NextLine still ends the row.
    virtual void DitherRow(const std::uint32_t* Row, std::uint8_t* Out);

    // +1 while walking left to right, -1 otherwise.
    int Direction() const { return FDirection; }
    // The column the next Dither call is for.
    int Column() const { return FColumn; }
    TColorLookup& Lookup() const { return FLookup; }

protected:
    void Advance() { FColumn += FDirection; }

    int FWidth;
    TColorLookup& FLookup;
    int FDirection = 1;
    int FColumn = 0;
};

// Floyd-Steinberg with a carried value for the next pixel and one error row of Width + 2
// entries that the row below reads (divisor 16).
class TFloydSteinbergDitherer : public TDitherEngine {
public:
    TFloydSteinbergDitherer(int Width, TColorLookup& Lookup);
    int Dither(int R, int G, int B) override;
    void NextLine() override;
    void DitherRow(const std::uint32_t* Row, std::uint8_t* Out) override;

private:
    template <class TLookup> int Step(TLookup& Lookup, int R, int G, int B);
    template <class TLookup> void Row(TLookup& Lookup, const std::uint32_t* Row, std::uint8_t* Out);

    // Per channel: the value carried to the next pixel (C), the running values B and P.
    int FCarried[3] = {};
    int FBelow[3] = {};
    int FPrevious[3] = {};
    // The error row, Width + 2 entries of three channels each.
    std::vector<int> FErrors;
};

// Error diffusion over a fixed kernel: the current row and Rows - 1 rows below, columns
// -Reach..+Reach in the walking direction.
class TKernelDitherer : public TDitherEngine {
public:
    struct TWeight {
        int Row;    // 0 = current row
        int Offset; // +1 = next pixel in the walking direction
        int Weight;
    };
    TKernelDitherer(int Width, TColorLookup& Lookup, int Rows, int Reach, int Divisor,
                    std::vector<TWeight> Weights);
    int Dither(int R, int G, int B) override;
    void NextLine() override;
    void DitherRow(const std::uint32_t* Row, std::uint8_t* Out) override;

private:
    template <class TLookup> int Step(TLookup& Lookup, int R, int G, int B);
    template <class TLookup> void Row(TLookup& Lookup, const std::uint32_t* Row, std::uint8_t* Out);

    int FReach;
    int FDivisor;
    std::vector<TWeight> FWeights;
    // FErrors[Row] has Width + 2 Reach entries of three channels; column x is entry x + Reach.
    std::vector<std::vector<int>> FErrors;
};

// The kernels spanning the current row and the two below, five columns wide.
class T5by3Ditherer : public TKernelDitherer {
public:
    // Current row +1, +2; next row -2..+2; the row after -2..+2.
    T5by3Ditherer(int Width, TColorLookup& Lookup, int Divisor, const std::array<int, 12>& Kernel);
};

class TStuckiDitherer final : public T5by3Ditherer {
public:
    TStuckiDitherer(int Width, TColorLookup& Lookup);
};

class TSierraDitherer final : public T5by3Ditherer {
public:
    TSierraDitherer(int Width, TColorLookup& Lookup);
};

class TJaJuNiDitherer final : public T5by3Ditherer {
public:
    TJaJuNiDitherer(int Width, TColorLookup& Lookup);
};

class TSteveArcheDitherer final : public TKernelDitherer {
public:
    TSteveArcheDitherer(int Width, TColorLookup& Lookup);
};

class TBurkesDitherer final : public TKernelDitherer {
public:
    TBurkesDitherer(int Width, TColorLookup& Lookup);
};

// The ditherer of a mode; throws EGIFError for an unknown mode.
std::unique_ptr<TDitherEngine> CreateDitherer(TDitherMode Mode, int Width, TColorLookup& Lookup);

} // namespace zp
