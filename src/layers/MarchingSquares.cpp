#include "layers/MarchingSquares.h"

#include <algorithm>
#include <array>

namespace zp {

namespace {

// Step by square state (bit 1 upper left, 2 upper right, 4 lower left, 8 lower right solid),
// chosen so that the solid pixels stay on the same side of the walk. The two diagonal states
// 6 and 9 also depend on the step that led into the square.
constexpr std::array<TStepDirection, 16> StepByState{
    sdNone,  // 0
    sdUp,    // 1
    sdRight, // 2
    sdRight, // 3
    sdLeft,  // 4
    sdUp,    // 5
    sdRight, // 6, sdLeft after sdUp
    sdRight, // 7
    sdDown,  // 8
    sdDown,  // 9, sdUp after sdRight
    sdDown,  // 10
    sdDown,  // 11
    sdLeft,  // 12
    sdUp,    // 13
    sdLeft,  // 14
    sdNone,  // 15
};

std::uint8_t Alpha(TColor32 C) {
    return static_cast<std::uint8_t>(C >> 24);
}

} // namespace

TMarchingSqare::TMarchingSqare(const TBitmap32& ABitmap)
    : TMarchingSqare(ABitmap, {0, 0, ABitmap.Width() - 1, ABitmap.Height() - 1}, 0) {}

TMarchingSqare::TMarchingSqare(const TBitmap32& ABitmap, const TRect& ARect)
    : TMarchingSqare(ABitmap, ARect, 0) {}

TMarchingSqare::TMarchingSqare(const TBitmap32& ABitmap, const TRect& ARect, std::uint8_t AAlphaLevel)
    : fAlphaLevel(AAlphaLevel), fBitmap(&ABitmap), fRect(ARect) {}

inline bool TMarchingSqare::IsSolid(int X, int Y) const {
    // One unsigned comparison per axis also refuses negative coordinates.
    if (static_cast<unsigned>(X) >= static_cast<unsigned>(fBitmap->Width()) ||
        static_cast<unsigned>(Y) >= static_cast<unsigned>(fBitmap->Height()))
        return false;
    return Alpha(fBitmap->Pixel(X, Y)) > fAlphaLevel;
}

TPoint TMarchingSqare::FindStartPoint() const {
    // The search rectangle is trusted no further than the surface.
    const int Left = std::max(fRect.Left, 0);
    const int Top = std::max(fRect.Top, 0);
    const int Right = std::min(fRect.Right, fBitmap->Width() - 1);
    const int Bottom = std::min(fRect.Bottom, fBitmap->Height() - 1);
    for (int Y = Top; Y <= Bottom; ++Y) {
        const TColor32* Row = fBitmap->ScanLine(Y);
        for (int X = Left; X <= Right; ++X)
            if (Alpha(Row[X]) > fAlphaLevel) return {X, Y};
    }
    return {-1, -1};
}

void TMarchingSqare::Step(int X, int Y) {
    fPreviousStep = fNextStep;
    const int State = (IsSolid(X - 1, Y - 1) ? 1 : 0) | (IsSolid(X, Y - 1) ? 2 : 0) |
                      (IsSolid(X - 1, Y) ? 4 : 0) | (IsSolid(X, Y) ? 8 : 0);
    if (State == 6 && fPreviousStep == sdUp)
        fNextStep = sdLeft;
    else if (State == 9 && fPreviousStep == sdRight)
        fNextStep = sdUp;
    else
        fNextStep = StepByState[State];
}

const std::vector<TPoint>& TMarchingSqare::March() {
    fPerimeterList.clear();
    fPreviousStep = sdNone;
    fNextStep = sdNone;
    if (fBitmap->Empty()) return fPerimeterList;

    const int Width = fBitmap->Width();
    const int Height = fBitmap->Height();
    const TPoint Start = FindStartPoint();
    if (Start.X < 0) {
        // Nothing solid in the search rectangle. Walking from (0, 0) would trace whatever
        // region holds pixel (0, 0), even one outside the rectangle; the transparent result is
        // that corner alone.
        fPerimeterList.push_back({0, 0});
        return fPerimeterList;
    }

    // Each step crosses one side of a solid pixel and no side twice, so a longer walk means
    // the rule went wrong; stopping keeps a bad surface from hanging the program.
    const std::int64_t MaxSteps = 4 * std::int64_t{Width + 1} * (Height + 1);
    TPoint P = Start;
    for (std::int64_t N = 0; N < MaxSteps; ++N) {
        Step(P.X, P.Y);
        if (P.X >= 0 && P.Y >= 0 && P.X < Width && P.Y < Height) fPerimeterList.push_back(P);
        switch (fNextStep) {
        case sdUp: --P.Y; break;
        case sdLeft: --P.X; break;
        case sdDown: ++P.Y; break;
        case sdRight: ++P.X; break;
        case sdNone: return fPerimeterList; // no move: the walk is over wherever it stands
        }
        if (P == Start) break;
    }
    return fPerimeterList;
}

} // namespace zp
