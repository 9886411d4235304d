#include "layers/GeneralGraphicFunctions.h"

#include "gfx/Base64.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace zp {

namespace {

// Nearest integer, halves to even (the default floating-point rounding mode).
inline int RoundHalfEven(double V) {
    return static_cast<int>(std::nearbyint(V));
}

inline double ClampParameter(double T) {
    if (!(T > 0)) return 0; // also catches NaN
    if (T >= 1) return 1;
    return T;
}

// Position of a pixel's projection on the line from Start (0) to Stop (1).
struct TLinearParameter {
    std::int64_t SX, SY, DX, DY, DD;
    TLinearParameter(TPoint Start, TPoint Stop)
        : SX(Start.X), SY(Start.Y), DX(std::int64_t{Stop.X} - Start.X), DY(std::int64_t{Stop.Y} - Start.Y),
          DD(DX * DX + DY * DY) {}
    bool Valid() const { return DD > 0; }
    double operator()(int X, int Y) const {
        return static_cast<double>((X - SX) * DX + (Y - SY) * DY) / static_cast<double>(DD);
    }
};

// Distance from Start relative to |Stop - Start|.
struct TRadialParameter {
    std::int64_t SX, SY, DD;
    TRadialParameter(TPoint Start, TPoint Stop)
        : SX(Start.X), SY(Start.Y), DD((std::int64_t{Stop.X} - Start.X) * (std::int64_t{Stop.X} - Start.X) +
                                       (std::int64_t{Stop.Y} - Start.Y) * (std::int64_t{Stop.Y} - Start.Y)) {}
    bool Valid() const { return DD > 0; }
    double operator()(int X, int Y) const {
        const std::int64_t WX = X - SX, WY = Y - SY;
        return std::sqrt(static_cast<double>(WX * WX + WY * WY) / static_cast<double>(DD));
    }
};

// Squares centred on Start with a corner on Stop: the distance along the nearest of the four
// axes v, v turned by 90, 180 and 270 degrees, plus the distance across it, over |v|.
struct TSquareParameter {
    std::int64_t SX, SY, VX, VY, VV;
    double VLen;
    TSquareParameter(TPoint Start, TPoint Stop)
        : SX(Start.X), SY(Start.Y), VX(std::int64_t{Stop.X} - Start.X), VY(std::int64_t{Stop.Y} - Start.Y),
          VV(VX * VX + VY * VY), VLen(std::sqrt(static_cast<double>(VV))) {}
    bool Valid() const { return VV > 0; }
    double operator()(int X, int Y) const {
        const std::int64_t WX = X - SX, WY = Y - SY;
        const std::int64_t WW = WX * WX + WY * WY;
        if (WW < 1) return 0;
        const double Norms = std::sqrt(static_cast<double>(WW)) * VLen;
        // The axes come in opposite pairs, so their cosines are c0, c1, -c0, -c1 exactly, and
        // the smallest angle belongs to the largest cosine. Rounding can push a cosine on an
        // axis just past 1, where the arc cosine has no value; it is 1 there.
        const double C0 = static_cast<double>(VX * WX + VY * WY) / Norms;
        const double C1 = static_cast<double>(-VY * WX + VX * WY) / Norms;
        const double Theta = std::acos(std::min(1.0, std::max(std::fabs(C0), std::fabs(C1))));
        return std::sqrt(static_cast<double>(2 * WW)) * std::sin(3 * std::numbers::pi / 4 - Theta) / VLen;
    }
};

template <class TParameter, class TPixelOp>
void ApplyGradient(const TParameter& Parameter, TBitmap32& Bitmap, TPixelOp Op) {
    if (!Parameter.Valid() || Bitmap.Empty()) return;
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        TColor32* Row = Bitmap.ScanLine(Y);
        for (int X = 0; X < Bitmap.Width(); ++X) Row[X] = Op(Row[X], ClampParameter(Parameter(X, Y)));
    }
    Bitmap.Changed();
}

struct TColorInterpolation {
    TColor32 From, To;
    TColor32 operator()(TColor32, double T) const {
        TColor32 Result = 0;
        for (int Shift = 0; Shift < 32; Shift += 8) {
            const int F = static_cast<int>((From >> Shift) & 0xFF);
            const int D = static_cast<int>((To >> Shift) & 0xFF) - F;
            Result |= static_cast<TColor32>(RoundHalfEven(F + T * D)) << Shift;
        }
        return Result;
    }
};

struct TAlphaFade {
    TColor32 operator()(TColor32 C, double T) const {
        const double A = AlphaComponent(C);
        return SetColorAlpha(C, RoundHalfEven(A - A * T));
    }
};

} // namespace

void TGeneralGraphicFunctions::CreateColorGradient(TColor32 FromColor, TColor32 ToColor, TPoint Start,
                                                   TPoint Stop, TBitmap32& ABitmap32) {
    ApplyGradient(TLinearParameter(Start, Stop), ABitmap32, TColorInterpolation{FromColor, ToColor});
}

void TGeneralGraphicFunctions::CreateCircleColorGradient(TColor32 FromColor, TColor32 ToColor, TPoint Start,
                                                         TPoint Stop, TBitmap32& ABitmap32) {
    ApplyGradient(TRadialParameter(Start, Stop), ABitmap32, TColorInterpolation{FromColor, ToColor});
}

void TGeneralGraphicFunctions::CreateSqareColorGradient(TColor32 FromColor, TColor32 ToColor, TPoint Start,
                                                        TPoint Stop, TBitmap32& ABitmap32) {
    ApplyGradient(TSquareParameter(Start, Stop), ABitmap32, TColorInterpolation{FromColor, ToColor});
}

void TGeneralGraphicFunctions::CreateTranspGradient(TPoint Start, TPoint Stop, TBitmap32& ABitmap32) {
    ApplyGradient(TLinearParameter(Start, Stop), ABitmap32, TAlphaFade{});
}

void TGeneralGraphicFunctions::CreateCircleTranspGradient(TPoint Start, TPoint Stop, TBitmap32& ABitmap32) {
    ApplyGradient(TRadialParameter(Start, Stop), ABitmap32, TAlphaFade{});
}

void TGeneralGraphicFunctions::CreateSqareTranspGradient(TPoint Start, TPoint Stop, TBitmap32& ABitmap32) {
    ApplyGradient(TSquareParameter(Start, Stop), ABitmap32, TAlphaFade{});
}

void TGeneralGraphicFunctions::CreateGradient(TShapeType Shape, TColor32 FromColor, TColor32 ToColor,
                                              TPoint Start, TPoint Stop, TBitmap32& ABitmap32) {
    switch (Shape) {
    case shpLinear: CreateColorGradient(FromColor, ToColor, Start, Stop, ABitmap32); break;
    case shpCircle: CreateCircleColorGradient(FromColor, ToColor, Start, Stop, ABitmap32); break;
    case shpSqare: CreateSqareColorGradient(FromColor, ToColor, Start, Stop, ABitmap32); break;
    case shpLinearTransp: CreateTranspGradient(Start, Stop, ABitmap32); break;
    case shpCircleTransp: CreateCircleTranspGradient(Start, Stop, ABitmap32); break;
    case shpSqareTransp: CreateSqareTranspGradient(Start, Stop, ABitmap32); break;
    }
}

namespace {

// A then B: the transform that applies A first and B second. Each element is computed in
// double and stored as a 32-bit float.
TGPMatrixElements Then(const TGPMatrixElements& A, const TGPMatrixElements& B) {
    const auto F = [](double V) { return static_cast<float>(V); };
    const double A11 = A.M11, A12 = A.M12, A21 = A.M21, A22 = A.M22, ADX = A.DX, ADY = A.DY;
    const double B11 = B.M11, B12 = B.M12, B21 = B.M21, B22 = B.M22, BDX = B.DX, BDY = B.DY;
    return {F(A11 * B11 + A12 * B21), F(A11 * B12 + A12 * B22),       F(A21 * B11 + A22 * B21),
            F(A21 * B12 + A22 * B22), F(ADX * B11 + ADY * B21 + BDX), F(ADX * B12 + ADY * B22 + BDY)};
}

TGPMatrixElements Translation(float X, float Y) {
    return {1, 0, 0, 1, X, Y};
}

// Pivot move, then R, then the move back, then AMatrix; built by prepending to AMatrix one step
// at a time, the way the drawing matrices compose.
TGPMatrixElements AboutPoint(const TGPMatrixElements& R, const TGPMatrixElements& AMatrix, TFloatPoint P) {
    TGPMatrixElements M = Then(Translation(P.X, P.Y), AMatrix);
    M = Then(R, M);
    return Then(Translation(-P.X, -P.Y), M);
}

} // namespace

TGPMatrixElements TGeneralGraphicFunctions::MatrixRotate(float Degree, TGPMatrixElements AMatrix,
                                                         TFloatPoint APoint) {
    const long double A = -static_cast<long double>(Degree) * std::numbers::pi_v<long double> / 180;
    const float C = static_cast<float>(std::cos(A));
    const float S = static_cast<float>(std::sin(A));
    return AboutPoint({C, S, -S, C, 0, 0}, AMatrix, APoint);
}

TGPMatrixElements TGeneralGraphicFunctions::MatrixFlipVertical(TGPMatrixElements AMatrix,
                                                               TFloatPoint APoint) {
    return AboutPoint({1, 0, 0, -1, 0, 0}, AMatrix, APoint);
}

TGPMatrixElements TGeneralGraphicFunctions::MatrixFlipHotizontal(TGPMatrixElements AMatrix,
                                                                 TFloatPoint APoint) {
    return AboutPoint({-1, 0, 0, 1, 0, 0}, AMatrix, APoint);
}

TGPMatrixElements TGeneralGraphicFunctions::MatrixTranslate(TGPMatrixElements AMatrix,
                                                            TFloatPoint TranslatePoint) {
    return Then(AMatrix, Translation(TranslatePoint.X, TranslatePoint.Y));
}

TGPMatrixElements TGeneralGraphicFunctions::MatrixScale(TGPMatrixElements AMatrix, TFloatPoint ScalePoint) {
    return Then(AMatrix, {ScalePoint.X, 0, 0, ScalePoint.Y, 0, 0});
}

std::string TGeneralGraphicFunctions::BitmapToString(const TGPImage& aBitmap) {
    const QByteArray Png = aBitmap.SaveToPngStream();
    return Base64Encode(
        {reinterpret_cast<const std::uint8_t*>(Png.constData()), static_cast<std::size_t>(Png.size())});
}

std::shared_ptr<TGPImage> TGeneralGraphicFunctions::StringToTGPImage(std::string_view BmpString) {
    if (BmpString.empty()) return nullptr;
    const std::vector<std::uint8_t> Bytes = Base64Decode(BmpString);
    return TGPImage::FromStream(
        QByteArray(reinterpret_cast<const char*>(Bytes.data()), static_cast<qsizetype>(Bytes.size())));
}

} // namespace zp
