#include "gfx/Matrix.h"

#include <cmath>
#include <numbers>

namespace zp {

QTransform TGPMatrix::ToQTransform() const {
    const auto& E = FElements;
    return QTransform(E.M11, E.M12, E.M21, E.M22, E.DX, E.DY);
}

TGPMatrix TGPMatrix::FromQTransform(const QTransform& T) {
    TGPMatrixElements E;
    E.M11 = static_cast<float>(T.m11());
    E.M12 = static_cast<float>(T.m12());
    E.M21 = static_cast<float>(T.m21());
    E.M22 = static_cast<float>(T.m22());
    E.DX = static_cast<float>(T.dx());
    E.DY = static_cast<float>(T.dy());
    return TGPMatrix(E);
}

// QTransform multiplies row vectors: A * B applies A first.
void TGPMatrix::Combine(const QTransform& Op, TGPMatrixOrder Order) {
    const QTransform Current = ToQTransform();
    *this = FromQTransform(Order == MatrixOrderPrepend ? Op * Current : Current * Op);
}

void TGPMatrix::Translate(float DX, float DY, TGPMatrixOrder Order) {
    Combine(QTransform::fromTranslate(DX, DY), Order);
}

void TGPMatrix::Rotate(float Angle, TGPMatrixOrder Order) {
    double C;
    double S;
    // Quarter turns are exact, so repeated turns do not drift off the pixel grid.
    const double Quarter = Angle / 90.0;
    if (Quarter == std::floor(Quarter)) {
        static const int Cos[] = {1, 0, -1, 0};
        static const int Sin[] = {0, 1, 0, -1};
        const int Q = static_cast<int>(std::fmod(std::fmod(Quarter, 4.0) + 4.0, 4.0));
        C = Cos[Q];
        S = Sin[Q];
    } else {
        const double Radians = Angle * std::numbers::pi / 180.0;
        C = std::cos(Radians);
        S = std::sin(Radians);
    }
    Combine(QTransform(C, S, -S, C, 0, 0), Order);
}

void TGPMatrix::Scale(float SX, float SY, TGPMatrixOrder Order) {
    Combine(QTransform::fromScale(SX, SY), Order);
}

void TGPMatrix::Multiply(const TGPMatrix& Other, TGPMatrixOrder Order) {
    Combine(Other.ToQTransform(), Order);
}

void TGPMatrix::Invert() {
    bool Invertible = false;
    const QTransform Inverse = ToQTransform().inverted(&Invertible);
    if (!Invertible) throw EGdipError(InvalidParameter, "matrix cannot be inverted");
    *this = FromQTransform(Inverse);
}

TGPPointF TGPMatrix::TransformPoint(TGPPointF P) const {
    const QPointF R = ToQTransform().map(QPointF(P.X, P.Y));
    return {static_cast<float>(R.x()), static_cast<float>(R.y())};
}

} // namespace zp
