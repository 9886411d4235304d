#pragma once

#include "raster/Events.h"

#include <QString>

#include <functional>
#include <memory>

namespace zp {

class TCustomLayer;
class TTabSheet;

// What changed in a document. Windows and palettes follow a document through these alone.
enum class TDocChange {
    // Page: a frame page came (new, copied, or back by undo).
    FrameAdded,
    // Page: a frame page is about to leave (deleted, or taken back by undo); it is still intact.
    FrameRemoved,
    // Page order or page captions.
    PagesChanged,
    // The shown page.
    ActivePage,
    // A frame page was brought to the front by the user or by undo: palettes show that frame.
    FrameShown,
    // Page: duration, colour reduction or dithering of that frame; no page: the loop count.
    FrameSettings,
    // Page, Layer: a layer came into a frame.
    LayerAdded,
    // Page, Layer: a layer is about to leave its frame; it is still intact.
    LayerRemoved,
    // Page: the order of the frame's layers.
    LayersReordered,
    // Page, Layer: a layer's style, picture or place.
    LayerChanged,
    // Page: the frame's background and layers were replaced together (flattening and its undo).
    FrameContent,
    Selection,
    Caption,
    Modified,
    // What "Rückgängig" and "Wiederherstellen" can do.
    UndoRedo,
    // Text: the zoom of the shown frame, as the zoom box writes it.
    Zoom,
    // The assembled animation.
    Gif,
    // The preview page was opened: the animation is to be assembled and shown.
    PreviewRequested,
    // Page, Layer: the user dragged the selected layer out of the frame's view; a window may
    // start a drag to another document.
    DragOut,
};

struct TDocEvent {
    TDocChange Kind;
    TTabSheet* Page = nullptr;
    TCustomLayer* Layer = nullptr;
    QString Text;
};

using TDocEventList = TEventList<const TDocEvent&>;

// A subscription to a document's events; unsubscribes when destroyed, whichever of the two
// goes first.
class TDocSubscription {
public:
    TDocSubscription() = default;
    TDocSubscription(std::weak_ptr<TDocEventList> List, int Id) : FList(std::move(List)), FId(Id) {}
    TDocSubscription(TDocSubscription&& Other) noexcept { *this = std::move(Other); }
    TDocSubscription& operator=(TDocSubscription&& Other) noexcept {
        if (this != &Other) {
            Reset();
            FList = std::move(Other.FList);
            FId = Other.FId;
            Other.FList.reset();
        }
        return *this;
    }
    TDocSubscription(const TDocSubscription&) = delete;
    TDocSubscription& operator=(const TDocSubscription&) = delete;
    ~TDocSubscription() { Reset(); }

    void Reset() {
        if (auto List = FList.lock()) List->Remove(FId);
        FList.reset();
    }

private:
    std::weak_ptr<TDocEventList> FList;
    int FId = 0;
};

} // namespace zp
