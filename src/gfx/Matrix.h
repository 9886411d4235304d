#pragma once

#include "gfx/GdipTypes.h"
#include "gfx/MatrixElements.h"

#include <QTransform>

namespace zp {

// An affine matrix whose elements are kept in single precision, as the layers store them.
// Operations compute in double precision and store the result as floats.
class TGPMatrix {
public:
    TGPMatrix() = default;
    explicit TGPMatrix(const TGPMatrixElements& Elements) : FElements(Elements) {}

    void SetElements(const TGPMatrixElements& Elements) { FElements = Elements; }
    TGPMatrixElements GetElements() const { return FElements; }
    void Reset() { FElements = TGPMatrixElements{}; }
    bool IsIdentity() const { return FElements == TGPMatrixElements{}; }

    // Prepend: the new operation is applied to a point before the existing matrix.
    void Translate(float DX, float DY, TGPMatrixOrder Order = MatrixOrderPrepend);
    // Degrees; positive turns clockwise on screen (y grows downwards).
    void Rotate(float Angle, TGPMatrixOrder Order = MatrixOrderPrepend);
    void Scale(float SX, float SY, TGPMatrixOrder Order = MatrixOrderPrepend);
    void Multiply(const TGPMatrix& Other, TGPMatrixOrder Order = MatrixOrderPrepend);
    // Throws EGdipError(InvalidParameter) when the matrix cannot be inverted.
    void Invert();
    TGPPointF TransformPoint(TGPPointF P) const;

    QTransform ToQTransform() const;
    static TGPMatrix FromQTransform(const QTransform& T);

private:
    void Combine(const QTransform& Op, TGPMatrixOrder Order);

    TGPMatrixElements FElements;
};

} // namespace zp
