#pragma once

#include "raster/Bitmap32.h"
#include "raster/Events.h"
#include "raster/Input.h"
#include "raster/Layers.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zp {

enum TScaleMode { smNormal, smStretch, smScale, smResize, smOptimal, smOptimalScaled };
enum TBitmapAlign { baTopLeft, baCenter, baTile, baCustom };
enum TRepaintMode { rmFull, rmDirect, rmOptimizer };

// Paint stage kinds (the numbers are what a stage stores).
constexpr unsigned PST_CUSTOM = 1;
constexpr unsigned PST_CLEAR_BUFFER = 2;
constexpr unsigned PST_CLEAR_BACKGND = 3;
constexpr unsigned PST_DRAW_BITMAP = 4;
constexpr unsigned PST_DRAW_LAYERS = 5;
constexpr unsigned PST_CONTROL_FRAME = 6;
constexpr unsigned PST_BITMAP_FRAME = 7;

struct TPaintStage {
    bool DsgnTime = false;
    bool RunTime = true;
    unsigned Stage = PST_CUSTOM;
    std::uint32_t Parameter = 0;
};

// The model of a scrollable, zoomable frame view: a background picture, a stack of layers,
// the mapping between control pixels and picture pixels, mouse dispatch to layers, and
// painting into an off-screen buffer of the control's size. A widget owns the scroll bars,
// forwards input, repaints the areas this model reports and shows the buffer.
class TImgView32 final : public TLayerCollectionOwner {
public:
    TImgView32();
    ~TImgView32();
    TImgView32(const TImgView32&) = delete;
    TImgView32& operator=(const TImgView32&) = delete;

    // --- content
    TBitmap32& Bitmap() { return *FBitmap; }
    const TBitmap32& Bitmap() const { return *FBitmap; }
    TLayerCollection& Layers() { return *FLayers; }
    const TLayerCollection& Layers() const { return *FLayers; }

    // --- geometry
    // The control's client area without the scroll bars; the widget keeps it current.
    void SetViewportSize(int Width, int Height);
    TRect GetViewportRect() const { return {0, 0, FViewportWidth, FViewportHeight}; }

    float Scale() const { return FScaleX; }
    float ScaleX() const { return FScaleX; }
    float ScaleY() const { return FScaleY; }
    // Below 0.001 becomes 0.001; an equal value changes nothing.
    void SetScale(float Value);
    TScaleMode ScaleMode() const { return FScaleMode; }
    void SetScaleMode(TScaleMode Value);
    TBitmapAlign BitmapAlign() const { return FBitmapAlign; }
    void SetBitmapAlign(TBitmapAlign Value);
    float OffsetHorz() const { return FOffsetHorz; }
    float OffsetVert() const { return FOffsetVert; }
    void SetOffsets(float Horz, float Vert);
    bool Centered() const { return FCentered; }
    void SetCentered(bool Value);
    int OverSize() const { return FOverSize; }
    void SetOverSize(int Value);
    TColor32 Color() const { return FColor; }
    void SetColor(TColor32 Value);

    // Scrolling (baCustom): the widget's scroll bars run from 0 to ScrollMax in each direction.
    int ScrollMaxHorz() const;
    int ScrollMaxVert() const;
    int ScrollPosHorz() const { return FScrollHorz; }
    int ScrollPosVert() const { return FScrollVert; }
    void SetScrollPos(int Horz, int Vert);

    // Where the picture is shown, in control pixels.
    TRect GetBitmapRect() const;
    TPoint BitmapToControl(TPoint P) const;
    TPoint ControlToBitmap(TPoint P) const;

    // --- painting
    std::vector<TPaintStage>& PaintStages() { return FPaintStages; }
    TRepaintMode RepaintMode = rmOptimizer;
    std::function<void(TImgView32& Sender, TBitmap32& Buffer, unsigned StageNum)> OnPaintStage;
    // The off-screen buffer, sized to the viewport.
    TBitmap32& Buffer() { return FBuffer; }
    // Runs the run-time paint stages into the buffer for one area (clipped to it).
    void PaintBuffer(const TRect& Area);
    // Paints the whole content into Dest with DestRect as the picture's rectangle.
    void PaintTo(TBitmap32& Dest, const TRect& DestRect);
    // Repaint requests (control pixels, within the viewport) for the widget.
    TEventList<const TRect&> OnInvalidate;
    void Invalidate();
    void InvalidateRect(const TRect& Area);
    // Raised after scale, offsets, scroll range or picture size changed (the widget updates its
    // scroll bars).
    TEventList<TImgView32&> OnLayoutChange;

    // --- input (control pixels)
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    bool MouseCaptured() const { return FMouseCaptured; }

    std::function<void(TImgView32&, TMouseButton, TShiftState, int X, int Y, TCustomLayer* Layer)>
        OnMouseDown;
    std::function<void(TImgView32&, TShiftState, int X, int Y, TCustomLayer* Layer)> OnMouseMove;
    std::function<void(TImgView32&, TMouseButton, TShiftState, int X, int Y, TCustomLayer* Layer)> OnMouseUp;
    // Asked for keyboard focus at a press.
    std::function<void(TImgView32&)> OnRequestFocus;

    // The view's own cursor, and the cursor currently on screen over it.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    TCursor ScreenCursor() const { return FScreenCursor; }
    TEventList<TCursor> OnScreenCursorChange;

    // --- TLayerCollectionOwner
    void GetViewportScale(float& ScaleX, float& ScaleY) const override;
    void GetViewportShift(float& ShiftX, float& ShiftY) const override;
    TRect PictureRect() const override { return GetBitmapRect(); }
    bool PaintingToSurface() const override { return FPaintingTo; }
    void LayerAreaChanged(const TRect& ControlArea) override;
    void SetScreenCursor(TCursor Value) override;

private:
    void Relayout();
    void UpdateCache() const;
    void RunStages(TBitmap32& Dest);
    void BitmapAreaChanged(const TRect& Area);
    TPoint PictureSizeOnScreen() const;

    std::unique_ptr<TBitmap32> FBitmap;
    std::unique_ptr<TLayerCollection> FLayers;
    TBitmap32 FBuffer;
    std::vector<TPaintStage> FPaintStages;
    int FViewportWidth = 0;
    int FViewportHeight = 0;
    float FScaleX = 1.0f;
    float FScaleY = 1.0f;
    TScaleMode FScaleMode = smNormal;
    TBitmapAlign FBitmapAlign = baCenter;
    float FOffsetHorz = 0;
    float FOffsetVert = 0;
    bool FCentered = true;
    int FOverSize = 0;
    int FScrollHorz = 0;
    int FScrollVert = 0;
    TColor32 FColor = clSilver32;
    TCursor FCursor = crDefault;
    TCursor FScreenCursor = crDefault;
    bool FMouseCaptured = false;
    bool FPaintingTo = false;
    int FPictureWidth = 0;
    int FPictureHeight = 0;

    // The picture rectangle and the 16.16 transform, kept until the layout changes.
    mutable bool FCacheValid = false;
    mutable TRect FCachedRect;
    mutable std::int64_t FSx = 65536, FSy = 65536, FRx = 65536, FRy = 65536;
    // While painting into an outside surface, its rectangle stands in for the cached one.
    bool FOverride = false;
    TRect FOverrideRect;
};

} // namespace zp
