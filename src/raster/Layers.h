#pragma once

#include "raster/Bitmap32.h"
#include "raster/Events.h"
#include "raster/Input.h"
#include "raster/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zp {

class TLayerCollection;

// Buttons currently held on a layer.
using TLayerStates = std::uint8_t;
constexpr TLayerStates lsMouseLeft = 1 << 0;
constexpr TLayerStates lsMouseRight = 1 << 1;
constexpr TLayerStates lsMouseMiddle = 1 << 2;

// LayerOptions bits.
constexpr std::uint32_t LOB_VISIBLE = 0x80000000u;
constexpr std::uint32_t LOB_GDI_OVERLAY = 0x40000000u;
constexpr std::uint32_t LOB_MOUSE_EVENTS = 0x20000000u;
constexpr std::uint32_t LOB_NO_UPDATE = 0x10000000u;
constexpr std::uint32_t LOB_NO_CAPTURE = 0x08000000u;

// What a layer collection asks of the view that owns it.
class TLayerCollectionOwner {
public:
    virtual void GetViewportScale(float& ScaleX, float& ScaleY) const = 0;
    virtual void GetViewportShift(float& ShiftX, float& ShiftY) const = 0;
    // The picture's rectangle in control pixels, and whether the view is painting into an
    // outside surface (PaintTo) rather than its own buffer.
    virtual TRect PictureRect() const = 0;
    virtual bool PaintingToSurface() const = 0;
    // A rectangle in control pixels needs repainting.
    virtual void LayerAreaChanged(const TRect& ControlArea) = 0;
    virtual void SetScreenCursor(TCursor Cursor) = 0;

protected:
    ~TLayerCollectionOwner() = default;
};

// Base of everything that lives in a layer collection.
class TCustomLayer {
public:
    TCustomLayer();
    virtual ~TCustomLayer();
    TCustomLayer(const TCustomLayer&) = delete;
    TCustomLayer& operator=(const TCustomLayer&) = delete;

    // The layer's class, as the program's windows tell layer kinds apart.
    virtual const char* ClassName() const { return "TCustomLayer"; }

    TLayerCollection* LayerCollection() const { return FLayerCollection; }
    // Unique for the process' lifetime; records that outlive a layer hold this, never a pointer.
    std::uint64_t Id() const { return FId; }

    // Position in the collection (0 = bottom); -1 outside a collection. Setting clamps.
    int Index() const;
    void SetIndex(int Value);
    void BringToFront();
    void SendToBack();

    std::uint32_t LayerOptions() const { return FLayerOptions; }
    virtual void SetLayerOptions(std::uint32_t Value);
    bool Visible() const { return FLayerOptions & LOB_VISIBLE; }
    void SetVisible(bool Value);
    bool MouseEvents() const { return FLayerOptions & LOB_MOUSE_EVENTS; }
    void SetMouseEvents(bool Value);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    TLayerStates LayerStates() const { return FLayerStates; }

    std::intptr_t Tag = 0;

    // The layer's own test, then OnHitTest may change the answer. X, Y in control pixels.
    bool HitTest(int X, int Y);

    // Repaints the layer's whole area, or one rectangle of it in control pixels.
    virtual void Update();
    void Update(const TRect& ControlArea);

    // Called by the view while it paints; Buffer's clip rectangle is the area being repainted.
    virtual void Paint(TBitmap32& Buffer);

    // Mouse input from the collection (control pixels).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

    std::function<void(TCustomLayer&, int X, int Y, bool& Passed)> OnHitTest;
    std::function<void(TCustomLayer&, TMouseButton, TShiftState, int X, int Y)> OnMouseDown;
    std::function<void(TCustomLayer&, TShiftState, int X, int Y)> OnMouseMove;
    std::function<void(TCustomLayer&, TMouseButton, TShiftState, int X, int Y)> OnMouseUp;
    std::function<void(TCustomLayer&, TBitmap32& Buffer)> OnPaint;
    // Raised once before the layer is destroyed, while it is intact (a layer destroyed outside
    // any collection raises it from its base destructor: handlers compare identity only).
    TEventList<TCustomLayer&> OnDestroy;

protected:
    virtual bool DoHitTest(int X, int Y);
    virtual void DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoMouseMove(TShiftState Shift, int X, int Y);
    virtual void DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    TLayerCollectionOwner* Owner() const;

private:
    friend class TLayerCollection;
    void NotifyDestroy();

    TLayerCollection* FLayerCollection = nullptr;
    bool FDestroyNotified = false;
    std::uint64_t FId;
    std::uint32_t FLayerOptions = LOB_VISIBLE;
    TCursor FCursor = crDefault;
    TLayerStates FLayerStates = 0;
};

// A layer with a rectangle in picture coordinates.
class TPositionedLayer : public TCustomLayer {
public:
    const char* ClassName() const override { return "TPositionedLayer"; }
    TFloatRect Location() const { return FLocation; }
    // Stores the rectangle and repaints the old and the new area.
    virtual void SetLocation(const TFloatRect& Value);
    // Whether the location follows the view's zoom and scroll.
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value);

    // A rectangle of picture coordinates in control pixels (unchanged for unscaled layers).
    TFloatRect GetAdjustedRect(const TFloatRect& R) const;
    TFloatRect GetAdjustedLocation() const { return GetAdjustedRect(FLocation); }
    // Control pixels back to location coordinates.
    TFloatPoint ControlToLocation(float X, float Y) const;

    void Update() override;

protected:
    bool DoHitTest(int X, int Y) override;

private:
    TFloatRect FLocation;
    bool FScaled = false;
};

// A positioned layer that shows a surface of its own.
class TBitmapLayer : public TPositionedLayer {
public:
    TBitmapLayer();
    ~TBitmapLayer() override;
    const char* ClassName() const override { return "TBitmapLayer"; }

    TBitmap32& Bitmap() { return FBitmap; }
    const TBitmap32& Bitmap() const { return FBitmap; }
    // Only non-transparent pixels count for hit testing.
    bool AlphaHit() const { return FAlphaHit; }
    void SetAlphaHit(bool Value) { FAlphaHit = Value; }
    // Painting is limited to the view's picture area.
    bool Cropped() const { return FCropped; }
    void SetCropped(bool Value);
    // The layer carries a transparency gradient.
    bool TranspGradient() const { return FTranspGradient; }
    void SetTranspGradient(bool Value) { FTranspGradient = Value; }

    // A new plain bitmap layer in Layers with a copy of this picture drawn by its draw mode.
    // Layer kinds with a model of their own override it.
    virtual TBitmapLayer* Clone(TLayerCollection& Layers) const;

    // An exact, detached copy of everything this layer is and shows (undo keeps these).
    // Layer kinds with a model of their own override both.
    virtual std::unique_ptr<TBitmapLayer> SaveState() const;
    // Exchanges this layer's state with Other, a SaveState of the same class; the pixels
    // change hands without being copied.
    virtual void SwapState(TBitmapLayer& Other);

    void Paint(TBitmap32& Buffer) override;
    // Repaints where the layer shows pixels: a figure's transparent margin is left alone.
    void Update() override;

protected:
    bool DoHitTest(int X, int Y) override;

protected:
    // The part of SaveState and SwapState every bitmap layer shares.
    void CopyBitmapLayerState(TBitmapLayer& Target) const;
    void SwapBitmapLayerState(TBitmapLayer& Other);

private:
    void BitmapAreaChanged(const TRect& Area);
    // The pixels of the picture that are not fully transparent (empty when none), kept until the
    // picture reports a change.
    const TRect& ContentRect() const;
    // A rectangle of picture pixels in control pixels, with a margin for resampled edges.
    TRect PictureToControl(const TRect& Area) const;

    TBitmap32 FBitmap;
    mutable TRect FContent;
    mutable TPoint FContentSize;
    mutable bool FContentValid = false;
    bool FAlphaHit = false;
    bool FCropped = false;
    bool FTranspGradient = false;
};

// The ordered layers of a view; index 0 is the bottom. Owns its layers.
class TLayerCollection {
public:
    explicit TLayerCollection(TLayerCollectionOwner* Owner = nullptr);
    ~TLayerCollection();
    TLayerCollection(const TLayerCollection&) = delete;
    TLayerCollection& operator=(const TLayerCollection&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    TCustomLayer* Items(int Index) const;
    int IndexOf(const TCustomLayer* Layer) const;

    // Creates a layer on top of the collection.
    template <class T, class... TArgs> T* Add(TArgs&&... Args) {
        auto Layer = std::make_unique<T>(std::forward<TArgs>(Args)...);
        T* Raw = Layer.get();
        Insert(Count(), std::move(Layer));
        return Raw;
    }
    // Takes a layer in at Index (clamped).
    void Insert(int Index, std::unique_ptr<TCustomLayer> Layer);
    // Removes a layer without destroying it; null when it is not in this collection.
    std::unique_ptr<TCustomLayer> Extract(TCustomLayer* Layer);
    // Destroys a layer of this collection and repaints its area.
    void Delete(TCustomLayer* Layer);
    // Destroys every layer.
    void Clear();

    // No layer gets mouse input while false; the view's own handlers still do.
    bool MouseEvents = true;
    TCustomLayer* MouseListener() const { return FMouseListener; }
    void SetMouseListener(TCustomLayer* Layer) { FMouseListener = Layer; }

    // The topmost layer sharing a bit with OptionsMask whose hit test succeeds.
    TCustomLayer* FindLayerAtPos(int X, int Y, std::uint32_t OptionsMask) const;

    // Mouse dispatch; each returns the layer that received the event, or null.
    TCustomLayer* MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    TCustomLayer* MouseMove(TShiftState Shift, int X, int Y);
    TCustomLayer* MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

    // Answered by the owning view: scale (1, 1) and shift (0, 0) without one.
    void GetViewportScale(float& ScaleX, float& ScaleY) const;
    void GetViewportShift(float& ShiftX, float& ShiftY) const;
    TLayerCollectionOwner* Owner() const { return FOwner; }

    // Paints every layer sharing a bit with Mask, bottom to top.
    void PaintLayers(TBitmap32& Buffer, std::uint32_t Mask);

    TEventList<TLayerCollection&> OnListChange;

private:
    friend class TCustomLayer;
    void MoveLayer(TCustomLayer* Layer, int NewIndex);
    void Forget(TCustomLayer* Layer);

    TLayerCollectionOwner* FOwner;
    std::vector<std::unique_ptr<TCustomLayer>> FItems;
    TCustomLayer* FMouseListener = nullptr;
};

// Rounds to the nearest integer, halves to even.
int RoundHalfEven(double Value);
// The smallest integer rectangle covering R.
TRect RoundOut(const TFloatRect& R);

} // namespace zp
