#pragma once

#include "raster/Layers.h"

#include <vector>

namespace zp {

enum TRBHandle {
    rhCenter,
    rhSides,
    rhCorners,
    rhFrame,
    rhNotLeftSide,
    rhNotRightSide,
    rhNotTopSide,
    rhNotBottomSide,
    rhNotTLCorner,
    rhNotTRCorner,
    rhNotBLCorner,
    rhNotBRCorner
};
// A set of TRBHandle flags, bit n for value n.
using TRBHandles = std::uint16_t;
constexpr TRBHandles RBHandle(TRBHandle H) {
    return static_cast<TRBHandles>(1u << H);
}

enum TDragState {
    dsNone,
    dsMove,
    dsSizeL,
    dsSizeT,
    dsSizeR,
    dsSizeB,
    dsSizeTL,
    dsSizeTR,
    dsSizeBL,
    dsSizeBR
};

// The selection frame: a stippled outline with handles that the user drags to move or resize.
// It never changes its child layer itself; its owner applies the change.
class TRubberbandLayer : public TPositionedLayer {
public:
    TRubberbandLayer();
    ~TRubberbandLayer() override;
    const char* ClassName() const override { return "TRubberbandLayer"; }

    // The layer it frames; not owned, forgotten when that layer is destroyed.
    TPositionedLayer* ChildLayer() const { return FChildLayer; }
    void SetChildLayer(TPositionedLayer* Value);
    const std::vector<TColor32>& FrameStipplePattern() const { return FFrameStipplePattern; }
    void SetFrameStipplePattern(std::vector<TColor32> Value);
    float FrameStippleStep() const { return FFrameStippleStep; }
    void SetFrameStippleStep(float Value);
    float FrameStippleCounter() const { return FFrameStippleCounter; }
    void SetFrameStippleCounter(float Value);
    TColor32 HandleFrame() const { return FHandleFrame; }
    void SetHandleFrame(TColor32 Value);
    TColor32 HandleFill() const { return FHandleFill; }
    void SetHandleFill(TColor32 Value);
    TRBHandles Handles() const { return FHandles; }
    void SetHandles(TRBHandles Value);
    // Half the edge of a handle square.
    int HandleSize() const { return FHandleSize; }
    void SetHandleSize(int Value);
    float MinWidth() const { return FMinWidth; }
    void SetMinWidth(float Value) { FMinWidth = Value; }
    float MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(float Value) { FMaxHeight = Value; }
    float MinHeight() const { return FMinHeight; }
    void SetMinHeight(float Value) { FMinHeight = Value; }
    float MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(float Value) { FMaxWidth = Value; }

    // Raised after a drag changed the location.
    std::function<void(TRubberbandLayer&)> OnUserChange;
    // May change the proposed rectangle of a drag.
    std::function<void(TRubberbandLayer&, const TFloatRect& OldLocation, TFloatRect& NewLocation,
                       TDragState DragState, TShiftState Shift)>
        OnResizing;

    // The frame can never carry LOB_NO_UPDATE.
    void SetLayerOptions(std::uint32_t Value) override;

    // Which handle (or the inside) lies under a control point.
    TDragState GetDragState(int X, int Y) const;

    bool IsDragging = false;
    TDragState DragState = dsNone;
    TFloatRect OldLocation;
    TFloatPoint MouseShift;

    void Paint(TBitmap32& Buffer) override;
    void Update() override;

protected:
    bool DoHitTest(int X, int Y) override;
    void DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoMouseMove(TShiftState Shift, int X, int Y) override;
    void DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool Has(TRBHandle H) const { return FHandles & RBHandle(H); }
    TRect FrameRect() const;

    TPositionedLayer* FChildLayer = nullptr;
    int FChildDestroyHandler = 0;
    std::vector<TColor32> FFrameStipplePattern;
    float FFrameStippleStep = 1.0f;
    float FFrameStippleCounter = 0.0f;
    TColor32 FHandleFrame = clBlack32;
    TColor32 FHandleFill = clWhite32;
    TRBHandles FHandles;
    int FHandleSize = 3;
    float FMinWidth = 10.0f;
    float FMaxHeight = 0.0f;
    float FMinHeight = 10.0f;
    float FMaxWidth = 0.0f;
};

} // namespace zp
