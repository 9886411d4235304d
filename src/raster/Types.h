#pragma once

#include <algorithm>
#include <cstdint>

namespace zp {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TFloatPoint {
    float X = 0;
    float Y = 0;
    friend bool operator==(const TFloatPoint&, const TFloatPoint&) = default;
};

// Integer rectangle; Right and Bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int X, int Y) const { return X >= Left && X < Right && Y >= Top && Y < Bottom; }
    TRect Offset(int DX, int DY) const { return {Left + DX, Top + DY, Right + DX, Bottom + DY}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TFloatRect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;

    float Width() const { return Right - Left; }
    float Height() const { return Bottom - Top; }
    friend bool operator==(const TFloatRect&, const TFloatRect&) = default;
};

inline TRect MakeRect(int Left, int Top, int Right, int Bottom) {
    return {Left, Top, Right, Bottom};
}

// Intersection; an empty result is normalised to the zero rectangle.
inline TRect IntersectRect(const TRect& A, const TRect& B) {
    TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    if (R.IsEmpty()) return {};
    return R;
}

// Smallest rectangle holding both; an empty operand does not count.
inline TRect UnionRect(const TRect& A, const TRect& B) {
    if (A.IsEmpty()) return B;
    if (B.IsEmpty()) return A;
    return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
            std::max(A.Bottom, B.Bottom)};
}

} // namespace zp
