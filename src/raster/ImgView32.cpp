#include "raster/ImgView32.h"

#include <algorithm>
#include <cmath>

namespace zp {

TImgView32::TImgView32()
    : FBitmap(std::make_unique<TBitmap32>()), FLayers(std::make_unique<TLayerCollection>(this)) {
    FPaintStages = {
        {false, true, PST_CLEAR_BACKGND, 0},         {true, false, PST_CONTROL_FRAME, 0},
        {false, true, PST_DRAW_BITMAP, 0},           {true, false, PST_BITMAP_FRAME, 0},
        {false, true, PST_DRAW_LAYERS, LOB_VISIBLE},
    };
    FBitmap->OnAreaChanged.Add([this](TBitmap32&, const TRect& Area) { BitmapAreaChanged(Area); });
}

TImgView32::~TImgView32() {
    // Layers first: they ask their owner (this view) for geometry while they go.
    FLayers.reset();
}

// ---------------------------------------------------------------- geometry

void TImgView32::SetViewportSize(int Width, int Height) {
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    if (Width == FViewportWidth && Height == FViewportHeight) return;
    FViewportWidth = Width;
    FViewportHeight = Height;
    FBuffer.SetSize(Width, Height);
    Relayout();
}

void TImgView32::SetScale(float Value) {
    Value = std::max(Value, 0.001f);
    if (Value == FScaleX && Value == FScaleY) return;
    FScaleX = Value;
    FScaleY = Value;
    Relayout();
}

void TImgView32::SetScaleMode(TScaleMode Value) {
    if (Value == FScaleMode) return;
    FScaleMode = Value;
    Relayout();
}

void TImgView32::SetBitmapAlign(TBitmapAlign Value) {
    if (Value == FBitmapAlign) return;
    FBitmapAlign = Value;
    Relayout();
}

void TImgView32::SetOffsets(float Horz, float Vert) {
    if (Horz == FOffsetHorz && Vert == FOffsetVert) return;
    FOffsetHorz = Horz;
    FOffsetVert = Vert;
    FCacheValid = false;
    OnLayoutChange.Notify(*this);
    Invalidate();
}

void TImgView32::SetCentered(bool Value) {
    if (Value == FCentered) return;
    FCentered = Value;
    Relayout();
}

void TImgView32::SetOverSize(int Value) {
    Value = std::max(Value, 0);
    if (Value == FOverSize) return;
    FOverSize = Value;
    Relayout();
}

void TImgView32::SetColor(TColor32 Value) {
    if (Value == FColor) return;
    FColor = Value;
    Invalidate();
}

TPoint TImgView32::PictureSizeOnScreen() const {
    const int W = FBitmap->Width(), H = FBitmap->Height();
    const int VW = FViewportWidth, VH = FViewportHeight;
    auto Fit = [&]() -> TPoint {
        if (W == 0 || H == 0) return {0, 0};
        const double F = std::min(static_cast<double>(VW) / W, static_cast<double>(VH) / H);
        return {RoundHalfEven(W * F), RoundHalfEven(H * F)};
    };
    TPoint S;
    switch (FScaleMode) {
    case smNormal: S = {W, H}; break;
    case smStretch: S = {VW, VH}; break;
    case smScale: S = {RoundHalfEven(W * FScaleX), RoundHalfEven(H * FScaleY)}; break;
    case smResize: S = Fit(); break;
    case smOptimal: S = (W > VW || H > VH) ? Fit() : TPoint{W, H}; break;
    case smOptimalScaled: {
        const TPoint Scaled{RoundHalfEven(W * FScaleX), RoundHalfEven(H * FScaleY)};
        S = (Scaled.X > VW || Scaled.Y > VH) ? Fit() : Scaled;
        break;
    }
    }
    return {std::max(S.X, 0), std::max(S.Y, 0)};
}

int TImgView32::ScrollMaxHorz() const {
    const TPoint S = PictureSizeOnScreen();
    const int Over = RoundHalfEven(FOverSize * FScaleX);
    return std::max(0, S.X + 2 * Over - FViewportWidth);
}

int TImgView32::ScrollMaxVert() const {
    const TPoint S = PictureSizeOnScreen();
    const int Over = RoundHalfEven(FOverSize * FScaleY);
    return std::max(0, S.Y + 2 * Over - FViewportHeight);
}

void TImgView32::SetScrollPos(int Horz, int Vert) {
    Horz = std::clamp(Horz, 0, ScrollMaxHorz());
    Vert = std::clamp(Vert, 0, ScrollMaxVert());
    if (Horz == FScrollHorz && Vert == FScrollVert) return;
    FScrollHorz = Horz;
    FScrollVert = Vert;
    Relayout();
}

void TImgView32::Relayout() {
    FScrollHorz = std::clamp(FScrollHorz, 0, ScrollMaxHorz());
    FScrollVert = std::clamp(FScrollVert, 0, ScrollMaxVert());
    if (FBitmapAlign == baCustom) {
        // In each direction: centred while the picture fits, else placed by the scroll position.
        const TPoint S = PictureSizeOnScreen();
        const float OverX = FOverSize * FScaleX, OverY = FOverSize * FScaleY;
        FOffsetHorz = FCentered && FViewportWidth > S.X + 2 * OverX ? (FViewportWidth - S.X) / 2.0f
                                                                    : OverX - static_cast<float>(FScrollHorz);
        FOffsetVert = FCentered && FViewportHeight > S.Y + 2 * OverY
                          ? (FViewportHeight - S.Y) / 2.0f
                          : OverY - static_cast<float>(FScrollVert);
    }
    FCacheValid = false;
    OnLayoutChange.Notify(*this);
    Invalidate();
}

TRect TImgView32::GetBitmapRect() const {
    if (FOverride) return FOverrideRect;
    UpdateCache();
    return FCachedRect;
}

void TImgView32::UpdateCache() const {
    if (FCacheValid && !FOverride) return;
    TRect R;
    if (FOverride) {
        R = FOverrideRect;
    } else {
        const TPoint S = PictureSizeOnScreen();
        TPoint P;
        switch (FBitmapAlign) {
        case baTopLeft:
        case baTile: P = {0, 0}; break;
        case baCenter: P = {(FViewportWidth - S.X) / 2, (FViewportHeight - S.Y) / 2}; break;
        case baCustom: P = {RoundHalfEven(FOffsetHorz), RoundHalfEven(FOffsetVert)}; break;
        }
        R = {P.X, P.Y, P.X + S.X, P.Y + S.Y};
        FCachedRect = R;
    }
    const std::int64_t W = FBitmap->Width(), H = FBitmap->Height();
    if (W == 0 || H == 0 || R.Width() <= 0 || R.Height() <= 0) {
        FSx = FSy = FRx = FRy = 65536;
    } else {
        FSx = std::int64_t{R.Width()} * 65536 / W;
        FSy = std::int64_t{R.Height()} * 65536 / H;
        FRx = W * 65536 / R.Width();
        FRy = H * 65536 / R.Height();
    }
    FCacheValid = !FOverride;
}

TPoint TImgView32::BitmapToControl(TPoint P) const {
    if (FBitmap->Empty()) return P;
    UpdateCache();
    const TRect R = GetBitmapRect();
    return {static_cast<int>(P.X * FSx / 65536) + R.Left, static_cast<int>(P.Y * FSy / 65536) + R.Top};
}

TPoint TImgView32::ControlToBitmap(TPoint P) const {
    if (FBitmap->Empty()) return P;
    UpdateCache();
    const TRect R = GetBitmapRect();
    return {static_cast<int>((P.X - R.Left) * FRx / 65536), static_cast<int>((P.Y - R.Top) * FRy / 65536)};
}

void TImgView32::GetViewportScale(float& ScaleX, float& ScaleY) const {
    UpdateCache();
    ScaleX = static_cast<float>(FSx) / 65536.0f;
    ScaleY = static_cast<float>(FSy) / 65536.0f;
}

void TImgView32::GetViewportShift(float& ShiftX, float& ShiftY) const {
    if (FBitmap->Empty()) {
        ShiftX = ShiftY = 0;
        return;
    }
    const TRect R = GetBitmapRect();
    ShiftX = static_cast<float>(R.Left);
    ShiftY = static_cast<float>(R.Top);
}

// ---------------------------------------------------------------- painting

void TImgView32::Invalidate() {
    InvalidateRect(GetViewportRect());
}

void TImgView32::InvalidateRect(const TRect& Area) {
    const TRect R = IntersectRect(Area, GetViewportRect());
    if (!R.IsEmpty()) OnInvalidate.Notify(R);
}

void TImgView32::LayerAreaChanged(const TRect& ControlArea) {
    InvalidateRect(ControlArea);
}

void TImgView32::BitmapAreaChanged(const TRect& Area) {
    if (FBitmap->Width() != FPictureWidth || FBitmap->Height() != FPictureHeight) {
        FPictureWidth = FBitmap->Width();
        FPictureHeight = FBitmap->Height();
        Relayout();
        return;
    }
    if (FBitmap->Empty()) return;
    const TRect R = GetBitmapRect();
    const double FX = static_cast<double>(R.Width()) / FBitmap->Width();
    const double FY = static_cast<double>(R.Height()) / FBitmap->Height();
    InvalidateRect({R.Left + static_cast<int>(std::floor(Area.Left * FX)) - 1,
                    R.Top + static_cast<int>(std::floor(Area.Top * FY)) - 1,
                    R.Left + static_cast<int>(std::ceil(Area.Right * FX)) + 1,
                    R.Top + static_cast<int>(std::ceil(Area.Bottom * FY)) + 1});
}

void TImgView32::RunStages(TBitmap32& Dest) {
    for (std::size_t I = 0; I < FPaintStages.size(); ++I) {
        const TPaintStage Stage = FPaintStages[I];
        if (!Stage.RunTime) continue;
        const TRect R = GetBitmapRect();
        switch (Stage.Stage) {
        case PST_CUSTOM:
            if (OnPaintStage) OnPaintStage(*this, Dest, static_cast<unsigned>(I));
            break;
        case PST_CLEAR_BUFFER: Dest.Clear(FColor); break;
        case PST_CLEAR_BACKGND:
            if (FBitmap->Empty() || FBitmap->DrawMode() != dmOpaque || FBitmapAlign == baTile) {
                Dest.Clear(FColor);
            } else {
                const TRect B = Dest.BoundsRect();
                Dest.FillRectS(B.Left, B.Top, B.Right, R.Top, FColor);
                Dest.FillRectS(B.Left, R.Bottom, B.Right, B.Bottom, FColor);
                Dest.FillRectS(B.Left, R.Top, R.Left, R.Bottom, FColor);
                Dest.FillRectS(R.Right, R.Top, B.Right, R.Bottom, FColor);
            }
            break;
        case PST_DRAW_BITMAP:
            if (FBitmap->Empty() || R.IsEmpty()) break;
            if (FBitmapAlign == baTile) {
                const TRect Clip = Dest.ClipRect();
                for (int Y = R.Top + (Clip.Top - R.Top) / R.Height() * R.Height(); Y < Clip.Bottom;
                     Y += R.Height())
                    for (int X = R.Left + (Clip.Left - R.Left) / R.Width() * R.Width(); X < Clip.Right;
                         X += R.Width())
                        FBitmap->DrawTo(Dest, TRect{X, Y, X + R.Width(), Y + R.Height()});
            } else {
                FBitmap->DrawTo(Dest, R);
            }
            break;
        case PST_DRAW_LAYERS: FLayers->PaintLayers(Dest, Stage.Parameter); break;
        case PST_CONTROL_FRAME: Dest.FrameRectS(Dest.BoundsRect(), clBlack32); break;
        case PST_BITMAP_FRAME:
            Dest.FrameRectS({R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1}, clBlack32);
            break;
        default: break;
        }
    }
}

void TImgView32::PaintBuffer(const TRect& Area) {
    if (FBuffer.Width() != FViewportWidth || FBuffer.Height() != FViewportHeight)
        FBuffer.SetSize(FViewportWidth, FViewportHeight);
    const TRect Clip = IntersectRect(Area, FBuffer.BoundsRect());
    if (Clip.IsEmpty()) return;
    FBuffer.SetClipRect(Clip);
    RunStages(FBuffer);
    FBuffer.SetClipRect(FBuffer.BoundsRect());
}

void TImgView32::PaintTo(TBitmap32& Dest, const TRect& DestRect) {
    const bool WasPaintingTo = FPaintingTo, WasOverride = FOverride;
    const TRect WasRect = FOverrideRect;
    FPaintingTo = true;
    FOverride = true;
    FOverrideRect = DestRect;
    FCacheValid = false;
    try {
        RunStages(Dest);
    } catch (...) {
        FPaintingTo = WasPaintingTo;
        FOverride = WasOverride;
        FOverrideRect = WasRect;
        FCacheValid = false;
        throw;
    }
    FPaintingTo = WasPaintingTo;
    FOverride = WasOverride;
    FOverrideRect = WasRect;
    FCacheValid = false;
    Invalidate();
}

// ---------------------------------------------------------------- input

void TImgView32::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnRequestFocus) OnRequestFocus(*this);
    TCustomLayer* Layer = FLayers->MouseEvents ? FLayers->MouseDown(Button, Shift, X, Y) : nullptr;
    if (Button == mbLeft || FLayers->MouseListener()) FMouseCaptured = true;
    if (OnMouseDown) OnMouseDown(*this, Button, Shift, X, Y, Layer);
}

void TImgView32::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomLayer* Layer = FLayers->MouseEvents ? FLayers->MouseMove(Shift, X, Y) : nullptr;
    if (!Layer) SetScreenCursor(FCursor);
    if (OnMouseMove) OnMouseMove(*this, Shift, X, Y, Layer);
}

void TImgView32::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomLayer* Layer = FLayers->MouseEvents ? FLayers->MouseUp(Button, Shift, X, Y) : nullptr;
    if (Button == mbLeft && !FLayers->MouseListener()) FMouseCaptured = false;
    if (OnMouseUp) OnMouseUp(*this, Button, Shift, X, Y, Layer);
}

void TImgView32::SetCursor(TCursor Value) {
    FCursor = Value;
    SetScreenCursor(Value);
}

void TImgView32::SetScreenCursor(TCursor Value) {
    if (Value == FScreenCursor) return;
    FScreenCursor = Value;
    OnScreenCursorChange.Notify(Value);
}

} // namespace zp
