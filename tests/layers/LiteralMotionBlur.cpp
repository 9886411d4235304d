#include "LiteralMotionBlur.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zp {

void LiteralMotionBlur(TBitmap32& Bitmap, TBlurDirection Direction, int Strength) {
    static constexpr int Steps[8][2] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    const int DX = Steps[Direction][0], DY = Steps[Direction][1];
    const int N = Strength * 10 / 2;
    const int W = Bitmap.Width(), H = Bitmap.Height();

    std::vector<std::unique_ptr<TBitmap32>> S;
    for (int I = 0; I < N; ++I) {
        auto Copy = std::make_unique<TBitmap32>();
        Copy->SetSize(W, H);
        Copy->SetDrawMode(dmBlend);
        Copy->SetCombineMode(cmBlend);
        Copy->SetMasterAlpha(255);
        Bitmap.DrawTo(*Copy, I * DX, I * DY);
        S.push_back(std::move(Copy));
    }
    for (int Q = N - 1; Q >= 1; --Q)
        for (int K = Q - 1; K >= 0; --K) S[K]->DrawTo(*S[Q], 0, 0);

    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            std::uint32_t Sum[4] = {0, 0, 0, 0};
            for (int I = 0; I < N; ++I)
                for (int C = 0; C < 4; ++C) Sum[C] += (S[I]->Pixel(X, Y) >> (8 * C)) & 0xFF;
            TColor32 Result = 0;
            for (int C = 0; C < 4; ++C) Result |= (Sum[C] / N) << (8 * C);
            Bitmap.SetPixel(X, Y, Result);
        }
}

} // namespace zp
