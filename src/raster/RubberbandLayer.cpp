#include "raster/RubberbandLayer.h"

#include "raster/Blend.h"

#include <cmath>
#include <cstdlib>

namespace zp {

TRubberbandLayer::TRubberbandLayer()
    : FFrameStipplePattern{clWhite32, clWhite32, clBlack32, clBlack32},
      FHandles(RBHandle(rhCenter) | RBHandle(rhSides) | RBHandle(rhCorners) | RBHandle(rhFrame)) {
    TCustomLayer::SetLayerOptions(LOB_VISIBLE | LOB_MOUSE_EVENTS);
}

TRubberbandLayer::~TRubberbandLayer() {
    SetChildLayer(nullptr);
}

void TRubberbandLayer::SetChildLayer(TPositionedLayer* Value) {
    if (Value == FChildLayer) return;
    if (FChildLayer) FChildLayer->OnDestroy.Remove(FChildDestroyHandler);
    FChildLayer = Value;
    FChildDestroyHandler = 0;
    if (FChildLayer)
        FChildDestroyHandler = FChildLayer->OnDestroy.Add([this](TCustomLayer&) { FChildLayer = nullptr; });
}

void TRubberbandLayer::SetFrameStipplePattern(std::vector<TColor32> Value) {
    FFrameStipplePattern = std::move(Value);
    Update();
}

void TRubberbandLayer::SetFrameStippleStep(float Value) {
    FFrameStippleStep = Value;
    Update();
}

void TRubberbandLayer::SetFrameStippleCounter(float Value) {
    FFrameStippleCounter = Value;
    Update();
}

void TRubberbandLayer::SetHandleFrame(TColor32 Value) {
    FHandleFrame = Value;
    Update();
}

void TRubberbandLayer::SetHandleFill(TColor32 Value) {
    FHandleFill = Value;
    Update();
}

void TRubberbandLayer::SetHandles(TRBHandles Value) {
    FHandles = Value;
    Update();
}

void TRubberbandLayer::SetHandleSize(int Value) {
    Update();
    FHandleSize = Value < 0 ? 0 : Value;
    Update();
}

void TRubberbandLayer::SetLayerOptions(std::uint32_t Value) {
    TCustomLayer::SetLayerOptions(Value & ~LOB_NO_UPDATE);
}

// The adjusted location rounded, with right and bottom on the last pixel (inclusive).
TRect TRubberbandLayer::FrameRect() const {
    const TFloatRect L = GetAdjustedLocation();
    return {RoundHalfEven(L.Left), RoundHalfEven(L.Top), RoundHalfEven(L.Right) - 1,
            RoundHalfEven(L.Bottom) - 1};
}

TDragState TRubberbandLayer::GetDragState(int X, int Y) const {
    const TRect R = FrameRect();
    const int T = FHandleSize + 1;
    auto Near = [&](int PX, int PY) { return std::abs(X - PX) < T && std::abs(Y - PY) < T; };
    const int CX = (R.Left + R.Right) / 2;
    const int CY = (R.Top + R.Bottom) / 2;

    if (Has(rhCorners)) {
        if (!Has(rhNotBRCorner) && Near(R.Right, R.Bottom)) return dsSizeBR;
        if (!Has(rhNotBLCorner) && Near(R.Left, R.Bottom)) return dsSizeBL;
        if (!Has(rhNotTRCorner) && Near(R.Right, R.Top)) return dsSizeTR;
        if (!Has(rhNotTLCorner) && Near(R.Left, R.Top)) return dsSizeTL;
    }
    if (Has(rhSides)) {
        if (!Has(rhNotRightSide) && Near(R.Right, CY)) return dsSizeR;
        if (!Has(rhNotBottomSide) && Near(CX, R.Bottom)) return dsSizeB;
        if (!Has(rhNotLeftSide) && Near(R.Left, CY)) return dsSizeL;
        if (!Has(rhNotTopSide) && Near(CX, R.Top)) return dsSizeT;
    }
    if (Has(rhCenter) && X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom) return dsMove;
    return dsNone;
}

bool TRubberbandLayer::DoHitTest(int X, int Y) {
    return GetDragState(X, Y) != dsNone;
}

void TRubberbandLayer::DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // Only the left button drags, so a right click stays free for other uses.
    if (Button == mbLeft && !IsDragging) {
        DragState = GetDragState(X, Y);
        IsDragging = DragState != dsNone;
        if (IsDragging) {
            OldLocation = Location();
            MouseShift = {0, 0};
            if (DragState == dsMove) {
                const TFloatRect A = GetAdjustedLocation();
                MouseShift = {X - A.Left, Y - A.Top};
            }
        }
    }
    TPositionedLayer::DoMouseDown(Button, Shift, X, Y);
}

namespace {
TCursor CursorOf(TDragState State, TCursor Own) {
    switch (State) {
    case dsMove: return Own;
    case dsSizeL:
    case dsSizeR: return crSizeWE;
    case dsSizeT:
    case dsSizeB: return crSizeNS;
    case dsSizeTL:
    case dsSizeBR: return crSizeNWSE;
    case dsSizeTR:
    case dsSizeBL: return crSizeNESW;
    case dsNone: break;
    }
    return crDefault;
}
} // namespace

void TRubberbandLayer::DoMouseMove(TShiftState Shift, int X, int Y) {
    if (!IsDragging) {
        if (TLayerCollectionOwner* O = Owner()) O->SetScreenCursor(CursorOf(GetDragState(X, Y), Cursor()));
        TPositionedLayer::DoMouseMove(Shift, X, Y);
        return;
    }

    const TFloatPoint P = ControlToLocation(X - MouseShift.X, Y - MouseShift.Y);
    TFloatRect N = OldLocation;
    const bool Left = DragState == dsSizeL || DragState == dsSizeTL || DragState == dsSizeBL;
    const bool Right = DragState == dsSizeR || DragState == dsSizeTR || DragState == dsSizeBR;
    const bool Top = DragState == dsSizeT || DragState == dsSizeTL || DragState == dsSizeTR;
    const bool Bottom = DragState == dsSizeB || DragState == dsSizeBL || DragState == dsSizeBR;
    const bool LimitW = FMaxWidth > FMinWidth;
    const bool LimitH = FMaxHeight > FMinHeight;

    if (DragState == dsMove) {
        N = {P.X, P.Y, P.X + OldLocation.Width(), P.Y + OldLocation.Height()};
    }
    if (Left) {
        N.Left = P.X;
        if (N.Right - N.Left < FMinWidth) N.Left = N.Right - FMinWidth;
        if (LimitW && N.Right - N.Left > FMaxWidth) N.Left = N.Right - FMaxWidth;
    }
    if (Right) {
        N.Right = P.X;
        if (N.Right - N.Left < FMinWidth) N.Right = N.Left + FMinWidth;
        if (LimitW && N.Right - N.Left > FMaxWidth) N.Right = N.Left + FMaxWidth;
    }
    if (Top) {
        N.Top = P.Y;
        if (N.Bottom - N.Top < FMinHeight) N.Top = N.Bottom - FMinHeight;
        if (LimitH && N.Bottom - N.Top > FMaxHeight) N.Top = N.Bottom - FMaxHeight;
    }
    if (Bottom) {
        N.Bottom = P.Y;
        if (N.Bottom - N.Top < FMinHeight) N.Bottom = N.Top + FMinHeight;
        if (LimitH && N.Bottom - N.Top > FMaxHeight) N.Bottom = N.Top + FMaxHeight;
    }

    if (OnResizing) OnResizing(*this, OldLocation, N, DragState, Shift);
    if (N != Location()) {
        SetLocation(N);
        if (OnUserChange) OnUserChange(*this);
    }
    TPositionedLayer::DoMouseMove(Shift, X, Y);
}

void TRubberbandLayer::DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) IsDragging = false;
    TPositionedLayer::DoMouseUp(Button, Shift, X, Y);
}

void TRubberbandLayer::Update() {
    // Handles reach past the rectangle.
    const TRect R = RoundOut(GetAdjustedLocation());
    const int M = FHandleSize + 2;
    TCustomLayer::Update({R.Left - M, R.Top - M, R.Right + M, R.Bottom + M});
}

namespace {

void BlendPixel(TBitmap32& B, int X, int Y, TColor32 C) {
    if (B.ClipRect().Contains(X, Y)) BlendColorStore(C, *B.PixelPtr(X, Y));
}

// Square of edge 2 * Size around (CX, CY): blended fill, then blended outline.
void PaintHandle(TBitmap32& B, int CX, int CY, int Size, TColor32 Fill, TColor32 Frame) {
    const int L = CX - Size, T = CY - Size, R = CX + Size, Bo = CY + Size;
    for (int Y = T + 1; Y < Bo - 1; ++Y)
        for (int X = L + 1; X < R - 1; ++X) BlendPixel(B, X, Y, Fill);
    for (int X = L; X < R; ++X) {
        BlendPixel(B, X, T, Frame);
        if (Bo - 1 > T) BlendPixel(B, X, Bo - 1, Frame);
    }
    for (int Y = T + 1; Y < Bo - 1; ++Y) {
        BlendPixel(B, L, Y, Frame);
        if (R - 1 > L) BlendPixel(B, R - 1, Y, Frame);
    }
}

} // namespace

void TRubberbandLayer::Paint(TBitmap32& Buffer) {
    const TRect R = FrameRect();
    if (R.Right < R.Left || R.Bottom < R.Top) return;

    if (Has(rhFrame) && !FFrameStipplePattern.empty()) {
        // Clockwise from the top-left corner, one pattern colour per pixel step.
        const auto N = static_cast<long long>(FFrameStipplePattern.size());
        float Counter = FFrameStippleCounter;
        auto Stipple = [&](int X, int Y) {
            long long I = static_cast<long long>(std::floor(Counter)) % N;
            if (I < 0) I += N;
            BlendPixel(Buffer, X, Y, FFrameStipplePattern[static_cast<std::size_t>(I)]);
            Counter += FFrameStippleStep;
        };
        for (int X = R.Left; X <= R.Right; ++X) Stipple(X, R.Top);
        for (int Y = R.Top + 1; Y <= R.Bottom; ++Y) Stipple(R.Right, Y);
        if (R.Bottom > R.Top)
            for (int X = R.Right - 1; X >= R.Left; --X) Stipple(X, R.Bottom);
        if (R.Right > R.Left)
            for (int Y = R.Bottom - 1; Y > R.Top; --Y) Stipple(R.Left, Y);
    }

    const int CX = (R.Left + R.Right) / 2;
    const int CY = (R.Top + R.Bottom) / 2;
    auto Handle = [&](int X, int Y) { PaintHandle(Buffer, X, Y, FHandleSize, FHandleFill, FHandleFrame); };
    if (Has(rhCorners)) {
        if (!Has(rhNotTLCorner)) Handle(R.Left, R.Top);
        if (!Has(rhNotTRCorner)) Handle(R.Right, R.Top);
        if (!Has(rhNotBLCorner)) Handle(R.Left, R.Bottom);
        if (!Has(rhNotBRCorner)) Handle(R.Right, R.Bottom);
    }
    if (Has(rhSides)) {
        if (!Has(rhNotLeftSide)) Handle(R.Left, CY);
        if (!Has(rhNotRightSide)) Handle(R.Right, CY);
        if (!Has(rhNotTopSide)) Handle(CX, R.Top);
        if (!Has(rhNotBottomSide)) Handle(CX, R.Bottom);
    }
}

} // namespace zp
