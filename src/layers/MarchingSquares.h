#pragma once

#include "raster/Bitmap32.h"
#include "raster/Types.h"

#include <cstdint>
#include <vector>

namespace zp {

enum TStepDirection : std::uint8_t { sdNone = 0, sdUp = 1, sdLeft = 2, sdDown = 3, sdRight = 4 };

// Traces the outer boundary of the first solid region of a surface (scanning rows from the
// top, each from the left) and lists its corner points in walking order. Points are lattice
// points between pixels: (x, y) is the top-left corner of pixel (x, y). The walk starts at the
// top-left corner of the first solid pixel, goes down first and runs counter-clockwise on
// screen back to the start. Pixels touching only at a corner belong to different regions;
// other regions and holes are not traced. Points with x = width or y = height are walked
// through but not listed.
//
// The surface is read, never changed, and must outlive the tracer.
class TMarchingSqare {
public:
    // Searches the whole surface; a pixel is solid when its alpha is above 0.
    explicit TMarchingSqare(const TBitmap32& ABitmap);
    // ARect has inclusive bounds: Right and Bottom are the last column and row searched for
    // the start pixel. Parts outside the surface are ignored, so BoundsRect() also means the
    // whole surface. The region found is traced in full, even where it leaves ARect.
    TMarchingSqare(const TBitmap32& ABitmap, const TRect& ARect);
    TMarchingSqare(const TBitmap32& ABitmap, const TRect& ARect, std::uint8_t AAlphaLevel);

    // A pixel is solid when its alpha is greater than this level.
    std::uint8_t AlphaLevel() const { return fAlphaLevel; }
    void SetAlphaLevel(std::uint8_t Value) { fAlphaLevel = Value; }

    // The points of the last March; the list belongs to the tracer.
    const std::vector<TPoint>& PerimeterList() const { return fPerimeterList; }

    // Traces and returns PerimeterList. With no solid pixel in the search rectangle the list
    // is the single point (0, 0); on an empty surface it is empty. Tracing again starts afresh.
    const std::vector<TPoint>& March();

private:
    bool IsSolid(int X, int Y) const;
    // Top-left corner of the first solid pixel of the search rectangle, or (-1, -1).
    TPoint FindStartPoint() const;
    // Chooses fNextStep for the square whose lower-right pixel is (X, Y).
    void Step(int X, int Y);

    std::uint8_t fAlphaLevel = 0;
    const TBitmap32* fBitmap;
    TRect fRect;
    std::vector<TPoint> fPerimeterList;
    TStepDirection fPreviousStep = sdNone;
    TStepDirection fNextStep = sdNone;
};

} // namespace zp
