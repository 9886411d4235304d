#pragma once

namespace zp {

// A 2D affine transform: (x, y) maps to (x * M11 + y * M21 + DX, x * M12 + y * M22 + DY).
struct TGPMatrixElements {
    float M11 = 1;
    float M12 = 0;
    float M21 = 0;
    float M22 = 1;
    float DX = 0;
    float DY = 0;
    friend bool operator==(const TGPMatrixElements&, const TGPMatrixElements&) = default;
};

} // namespace zp
