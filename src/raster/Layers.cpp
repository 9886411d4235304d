#include "raster/Layers.h"

#include "raster/Resamplers.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace zp {

namespace {
std::atomic<std::uint64_t> NextLayerId{1};
}

int RoundHalfEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

TRect RoundOut(const TFloatRect& R) {
    return {static_cast<int>(std::floor(R.Left)), static_cast<int>(std::floor(R.Top)),
            static_cast<int>(std::ceil(R.Right)), static_cast<int>(std::ceil(R.Bottom))};
}

// ---------------------------------------------------------------- TCustomLayer

TCustomLayer::TCustomLayer() : FId(NextLayerId++) {}

TCustomLayer::~TCustomLayer() {
    NotifyDestroy();
}

void TCustomLayer::NotifyDestroy() {
    if (FDestroyNotified) return;
    FDestroyNotified = true;
    OnDestroy.Notify(*this);
}

int TCustomLayer::Index() const {
    return FLayerCollection ? FLayerCollection->IndexOf(this) : -1;
}

void TCustomLayer::SetIndex(int Value) {
    if (FLayerCollection) FLayerCollection->MoveLayer(this, Value);
}

void TCustomLayer::BringToFront() {
    if (FLayerCollection) SetIndex(FLayerCollection->Count());
}

void TCustomLayer::SendToBack() {
    SetIndex(0);
}

void TCustomLayer::SetLayerOptions(std::uint32_t Value) {
    if (Value == FLayerOptions) return;
    // Repaint both the area it covered and the one it covers now; the visible bit may change.
    Update();
    FLayerOptions = Value;
    Update();
}

void TCustomLayer::SetVisible(bool Value) {
    SetLayerOptions(Value ? FLayerOptions | LOB_VISIBLE : FLayerOptions & ~LOB_VISIBLE);
}

void TCustomLayer::SetMouseEvents(bool Value) {
    SetLayerOptions(Value ? FLayerOptions | LOB_MOUSE_EVENTS : FLayerOptions & ~LOB_MOUSE_EVENTS);
}

bool TCustomLayer::HitTest(int X, int Y) {
    bool Passed = DoHitTest(X, Y);
    if (OnHitTest) OnHitTest(*this, X, Y, Passed);
    return Passed;
}

bool TCustomLayer::DoHitTest(int, int) {
    return true;
}

TLayerCollectionOwner* TCustomLayer::Owner() const {
    return FLayerCollection ? FLayerCollection->Owner() : nullptr;
}

void TCustomLayer::Update() {
    // A layer without an area of its own may have painted anywhere.
    if (TLayerCollectionOwner* O = Owner())
        O->LayerAreaChanged({INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2});
}

void TCustomLayer::Update(const TRect& ControlArea) {
    if (FLayerOptions & LOB_NO_UPDATE) return;
    if (TLayerCollectionOwner* O = Owner(); O && !ControlArea.IsEmpty()) O->LayerAreaChanged(ControlArea);
}

void TCustomLayer::Paint(TBitmap32&) {}

namespace {
TLayerStates StateOf(TMouseButton Button) {
    switch (Button) {
    case mbLeft: return lsMouseLeft;
    case mbRight: return lsMouseRight;
    case mbMiddle: return lsMouseMiddle;
    }
    return 0;
}
} // namespace

void TCustomLayer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FLayerStates |= StateOf(Button);
    DoMouseDown(Button, Shift, X, Y);
}

void TCustomLayer::MouseMove(TShiftState Shift, int X, int Y) {
    DoMouseMove(Shift, X, Y);
}

void TCustomLayer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FLayerStates &= static_cast<TLayerStates>(~StateOf(Button));
    DoMouseUp(Button, Shift, X, Y);
}

void TCustomLayer::DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(*this, Button, Shift, X, Y);
}

void TCustomLayer::DoMouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(*this, Shift, X, Y);
}

void TCustomLayer::DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(*this, Button, Shift, X, Y);
}

// ---------------------------------------------------------------- TPositionedLayer

void TPositionedLayer::SetLocation(const TFloatRect& Value) {
    if (Value == FLocation) return;
    Update();
    FLocation = Value;
    Update();
}

void TPositionedLayer::SetScaled(bool Value) {
    if (Value == FScaled) return;
    Update();
    FScaled = Value;
    Update();
}

TFloatRect TPositionedLayer::GetAdjustedRect(const TFloatRect& R) const {
    if (!FScaled || !LayerCollection()) return R;
    float SX, SY, TX, TY;
    LayerCollection()->GetViewportScale(SX, SY);
    LayerCollection()->GetViewportShift(TX, TY);
    return {R.Left * SX + TX, R.Top * SY + TY, R.Right * SX + TX, R.Bottom * SY + TY};
}

TFloatPoint TPositionedLayer::ControlToLocation(float X, float Y) const {
    if (!FScaled || !LayerCollection()) return {X, Y};
    float SX, SY, TX, TY;
    LayerCollection()->GetViewportScale(SX, SY);
    LayerCollection()->GetViewportShift(TX, TY);
    return {SX != 0 ? (X - TX) / SX : X, SY != 0 ? (Y - TY) / SY : Y};
}

void TPositionedLayer::Update() {
    // One pixel of margin: resampled edges and frame handles reach past the rounded rectangle.
    const TRect R = RoundOut(GetAdjustedLocation());
    TCustomLayer::Update({R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1});
}

bool TPositionedLayer::DoHitTest(int X, int Y) {
    const TFloatRect R = GetAdjustedLocation();
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

// ---------------------------------------------------------------- TBitmapLayer

TBitmapLayer::TBitmapLayer() {
    FBitmap.OnAreaChanged.Add([this](TBitmap32&, const TRect& Area) { BitmapAreaChanged(Area); });
}

TBitmapLayer::~TBitmapLayer() = default;

void TBitmapLayer::SetCropped(bool Value) {
    if (Value == FCropped) return;
    FCropped = Value;
    Update();
}

void TBitmapLayer::BitmapAreaChanged(const TRect& Area) {
    if (FBitmap.Empty() || Area == FBitmap.BoundsRect()) {
        // What showed before goes, what shows now comes.
        if (FContentValid)
            Update();
        else
            TPositionedLayer::Update();
        FContentValid = false;
        Update();
        return;
    }
    FContentValid = false;
    // Map the changed pixels through the location, as painting stretches them.
    const TFloatRect L = GetAdjustedLocation();
    const float FX = L.Width() / static_cast<float>(FBitmap.Width());
    const float FY = L.Height() / static_cast<float>(FBitmap.Height());
    const TRect R = RoundOut(
        {L.Left + Area.Left * FX, L.Top + Area.Top * FY, L.Left + Area.Right * FX, L.Top + Area.Bottom * FY});
    TCustomLayer::Update({R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1});
}

const TRect& TBitmapLayer::ContentRect() const {
    if (FContentValid) return FContent;
    const int W = FBitmap.Width(), H = FBitmap.Height();
    int Left = W, Right = -1, Top = -1, Bottom = -1;
    for (int Y = 0; Y < H; ++Y) {
        const TColor32* Row = FBitmap.PixelPtr(0, Y);
        int First = 0;
        while (First < W && (Row[First] >> 24) == 0) ++First;
        if (First == W) continue;
        int Last = W - 1;
        while ((Row[Last] >> 24) == 0) --Last;
        if (Top < 0) Top = Y;
        Bottom = Y;
        Left = std::min(Left, First);
        Right = std::max(Right, Last);
    }
    FContent = Top < 0 ? TRect{} : TRect{Left, Top, Right + 1, Bottom + 1};
    FContentSize = {W, H};
    FContentValid = true;
    return FContent;
}

TRect TBitmapLayer::PictureToControl(const TRect& Area) const {
    const TFloatRect L = GetAdjustedLocation();
    const float FX = L.Width() / static_cast<float>(FBitmap.Width());
    const float FY = L.Height() / static_cast<float>(FBitmap.Height());
    // A resampled picture blends each edge pixel with its neighbour: one picture pixel more.
    const TRect R = RoundOut({L.Left + (Area.Left - 1) * FX, L.Top + (Area.Top - 1) * FY,
                              L.Left + (Area.Right + 1) * FX, L.Top + (Area.Bottom + 1) * FY});
    return {R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
}

void TBitmapLayer::Update() {
    // Only blending leaves the pixels under transparent ones as they are.
    if (FBitmap.Empty() || FBitmap.DrawMode() != dmBlend || FBitmap.MasterAlpha() == 0 ||
        GetAdjustedLocation().Width() <= 0 || GetAdjustedLocation().Height() <= 0) {
        TPositionedLayer::Update();
        return;
    }
    // While the picture is being redrawn its pixels, size and content rectangle do not match:
    // the whole place is repainted.
    if (FBitmap.UpdateCount() > 0 ||
        (FContentValid && FContentSize != TPoint{FBitmap.Width(), FBitmap.Height()})) {
        TPositionedLayer::Update();
        return;
    }
    const TRect& C = ContentRect();
    if (C.IsEmpty()) return;
    const TRect R = PictureToControl(C);
    const TRect Whole = RoundOut(GetAdjustedLocation());
    TCustomLayer::Update(
        IntersectRect(R, {Whole.Left - 1, Whole.Top - 1, Whole.Right + 1, Whole.Bottom + 1}));
}

bool TBitmapLayer::DoHitTest(int X, int Y) {
    if (!TPositionedLayer::DoHitTest(X, Y)) return false;
    if (!FAlphaHit) return true;
    const TFloatRect L = GetAdjustedLocation();
    const int W = RoundHalfEven(L.Right - L.Left);
    const int H = RoundHalfEven(L.Bottom - L.Top);
    if (W < 1 || H < 1) return true;
    const int PX = RoundHalfEven((X - L.Left) * FBitmap.Width() / static_cast<double>(W));
    const int PY = RoundHalfEven((Y - L.Top) * FBitmap.Height() / static_cast<double>(H));
    return AlphaComponent(FBitmap.PixelS(PX, PY)) > 0;
}

TBitmapLayer* TBitmapLayer::Clone(TLayerCollection& Layers) const {
    auto* Copy = Layers.Add<TBitmapLayer>();
    TBitmap32& B = Copy->Bitmap();
    B.SetSize(FBitmap.Width(), FBitmap.Height());
    B.SetDrawMode(FBitmap.DrawMode());
    B.SetResampler(std::make_unique<TLinearResampler>());
    Copy->SetScaled(Scaled());
    Copy->SetCropped(FCropped);
    Copy->SetTranspGradient(FTranspGradient);
    FBitmap.DrawTo(B);
    return Copy;
}

void TBitmapLayer::CopyBitmapLayerState(TBitmapLayer& Target) const {
    Target.FBitmap.Assign(&FBitmap);
    Target.SetLocation(Location());
    Target.SetScaled(Scaled());
    Target.FCropped = FCropped;
    Target.FAlphaHit = FAlphaHit;
    Target.FTranspGradient = FTranspGradient;
}

void TBitmapLayer::SwapBitmapLayerState(TBitmapLayer& Other) {
    const TFloatRect Mine = Location();
    const bool Scaled = this->Scaled(), Cropped = FCropped;
    // The old area is repainted before the picture changes size.
    Update();
    FBitmap.SwapContent(Other.FBitmap);
    SetScaled(Other.Scaled());
    SetCropped(Other.FCropped);
    SetLocation(Other.Location());
    Other.SetScaled(Scaled);
    Other.FCropped = Cropped;
    Other.SetLocation(Mine);
    std::swap(FAlphaHit, Other.FAlphaHit);
    std::swap(FTranspGradient, Other.FTranspGradient);
    Update();
}

std::unique_ptr<TBitmapLayer> TBitmapLayer::SaveState() const {
    auto State = std::make_unique<TBitmapLayer>();
    CopyBitmapLayerState(*State);
    return State;
}

void TBitmapLayer::SwapState(TBitmapLayer& Other) {
    SwapBitmapLayerState(Other);
}

void TBitmapLayer::Paint(TBitmap32& Buffer) {
    if (FBitmap.Empty()) return;
    const TFloatRect L = GetAdjustedLocation();
    const TRect Dst{RoundHalfEven(L.Left), RoundHalfEven(L.Top), RoundHalfEven(L.Right),
                    RoundHalfEven(L.Bottom)};
    if (IntersectRect(Dst, Buffer.ClipRect()).IsEmpty()) return;

    TLayerCollectionOwner* O = Owner();
    if (FCropped && O && !O->PaintingToSurface()) {
        if (L.Width() < 0.5f || L.Height() < 0.5f) return;
        const TRect Saved = Buffer.ClipRect();
        Buffer.SetClipRect(IntersectRect(Saved, O->PictureRect()));
        if (!Buffer.ClipRect().IsEmpty()) FBitmap.DrawTo(Buffer, Dst);
        Buffer.SetClipRect(Saved);
        return;
    }
    FBitmap.DrawTo(Buffer, Dst);
}

// ---------------------------------------------------------------- TLayerCollection

TLayerCollection::TLayerCollection(TLayerCollectionOwner* Owner) : FOwner(Owner) {}

TLayerCollection::~TLayerCollection() {
    // The owner may be half destroyed by now: no repaint requests from here on.
    FOwner = nullptr;
    Clear();
}

TCustomLayer* TLayerCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count()) return nullptr;
    return FItems[static_cast<std::size_t>(Index)].get();
}

int TLayerCollection::IndexOf(const TCustomLayer* Layer) const {
    for (std::size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I].get() == Layer) return static_cast<int>(I);
    return -1;
}

void TLayerCollection::Insert(int Index, std::unique_ptr<TCustomLayer> Layer) {
    if (!Layer) return;
    if (Layer->FLayerCollection) Layer->FLayerCollection->Forget(Layer.get());
    Index = std::clamp(Index, 0, Count());
    Layer->FLayerCollection = this;
    TCustomLayer* Raw = Layer.get();
    FItems.insert(FItems.begin() + Index, std::move(Layer));
    Raw->Update();
    OnListChange.Notify(*this);
}

void TLayerCollection::Forget(TCustomLayer* Layer) {
    if (FMouseListener == Layer) FMouseListener = nullptr;
}

std::unique_ptr<TCustomLayer> TLayerCollection::Extract(TCustomLayer* Layer) {
    const int I = IndexOf(Layer);
    if (I < 0) return nullptr;
    Layer->Update();
    Forget(Layer);
    auto Owned = std::move(FItems[static_cast<std::size_t>(I)]);
    FItems.erase(FItems.begin() + I);
    Owned->FLayerCollection = nullptr;
    OnListChange.Notify(*this);
    return Owned;
}

void TLayerCollection::Delete(TCustomLayer* Layer) {
    const int I = IndexOf(Layer);
    if (I < 0) return;
    Layer->Update();
    Forget(Layer);
    Layer->NotifyDestroy();
    // Handlers may have changed the list: look the layer up again.
    const int Now = IndexOf(Layer);
    if (Now < 0) return;
    std::unique_ptr<TCustomLayer> Owned = std::move(FItems[static_cast<std::size_t>(Now)]);
    FItems.erase(FItems.begin() + Now);
    Owned.reset();
    OnListChange.Notify(*this);
}

void TLayerCollection::Clear() {
    if (FItems.empty()) return;
    FMouseListener = nullptr;
    // Destroy from the top, one by one, so a destroyed layer's handlers never see a layer that
    // is already gone.
    while (!FItems.empty()) {
        TCustomLayer* Top = FItems.back().get();
        Top->Update();
        Top->NotifyDestroy();
        const int Now = IndexOf(Top);
        if (Now < 0) continue;
        std::unique_ptr<TCustomLayer> Owned = std::move(FItems[static_cast<std::size_t>(Now)]);
        FItems.erase(FItems.begin() + Now);
        Owned.reset();
    }
    OnListChange.Notify(*this);
}

void TLayerCollection::MoveLayer(TCustomLayer* Layer, int NewIndex) {
    const int Old = IndexOf(Layer);
    if (Old < 0) return;
    NewIndex = std::clamp(NewIndex, 0, Count() - 1);
    if (NewIndex == Old) return;
    auto Owned = std::move(FItems[static_cast<std::size_t>(Old)]);
    FItems.erase(FItems.begin() + Old);
    FItems.insert(FItems.begin() + NewIndex, std::move(Owned));
    Layer->Update();
    OnListChange.Notify(*this);
}

TCustomLayer* TLayerCollection::FindLayerAtPos(int X, int Y, std::uint32_t OptionsMask) const {
    for (int I = Count() - 1; I >= 0; --I) {
        TCustomLayer* L = FItems[static_cast<std::size_t>(I)].get();
        if ((L->LayerOptions() & OptionsMask) && L->HitTest(X, Y)) return L;
    }
    return nullptr;
}

TCustomLayer* TLayerCollection::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomLayer* Target = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
    if (!Target) return nullptr;
    if (!(Target->LayerOptions() & LOB_NO_CAPTURE)) FMouseListener = Target;
    Target->MouseDown(Button, Shift, X, Y);
    // The layer's handler may have destroyed it.
    return IndexOf(Target) >= 0 ? Target : nullptr;
}

TCustomLayer* TLayerCollection::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomLayer* Target = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
    if (Target) {
        if (FOwner) FOwner->SetScreenCursor(Target->Cursor());
        Target->MouseMove(Shift, X, Y);
    }
    return Target && IndexOf(Target) >= 0 ? Target : nullptr;
}

TCustomLayer* TLayerCollection::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomLayer* Target = FMouseListener ? FMouseListener : FindLayerAtPos(X, Y, LOB_MOUSE_EVENTS);
    if (!Target) return nullptr;
    Target->MouseUp(Button, Shift, X, Y);
    // The handler may have destroyed the listener; Forget cleared it then.
    if (FMouseListener && FMouseListener->LayerStates() == 0) FMouseListener = nullptr;
    return IndexOf(Target) >= 0 ? Target : nullptr;
}

void TLayerCollection::GetViewportScale(float& ScaleX, float& ScaleY) const {
    if (FOwner) {
        FOwner->GetViewportScale(ScaleX, ScaleY);
    } else {
        ScaleX = 1;
        ScaleY = 1;
    }
}

void TLayerCollection::GetViewportShift(float& ShiftX, float& ShiftY) const {
    if (FOwner) {
        FOwner->GetViewportShift(ShiftX, ShiftY);
    } else {
        ShiftX = 0;
        ShiftY = 0;
    }
}

void TLayerCollection::PaintLayers(TBitmap32& Buffer, std::uint32_t Mask) {
    // By index: a paint handler could in theory change the list.
    for (int I = 0; I < Count(); ++I) {
        TCustomLayer* L = FItems[static_cast<std::size_t>(I)].get();
        if (!(L->LayerOptions() & Mask)) continue;
        L->Paint(Buffer);
        if (L->OnPaint) L->OnPaint(*L, Buffer);
    }
}

} // namespace zp
