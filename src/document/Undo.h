#pragma once

#include "raster/Bitmap32.h"
#include "raster/ImgView32.h"

#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

namespace zp {

class TTabSheet;

// The first thirteen ordinals are fixed. The kinds after them make the remaining edits of a
// document undoable too.
enum TUndoType {
    undoInsertPicLayer,
    undoPaint,
    undoDelLayer,
    undoFontLayerStyle,
    undoInsertTextLayer,
    undoShiftLayer,
    undoTransp,
    undoMasterAlpha,
    undoFlattenLayer,
    undo2DLayerStyle,
    undoResize,
    undoResizeWorkingArea,
    undoEffect,
    // A flip or rotation of a layer.
    undoTransform,
    // A layer moved up or down its frame's stack.
    undoLayerOrder,
    // A layer's rectangle (a plain picture moved or stretched with the selection frame).
    undoLayerLocation,
    // A frame added, or deleted.
    undoInsertFrame,
    undoDelFrame,
    // A frame moved to another place in the animation.
    undoMoveFrame,
    // A frame's duration, colour reduction and dithering.
    undoFrameSettings,
    // The animation's loop count.
    undoNumLoops,
};

// A frame as it was before a resize: its background and the state of each of its layers, by
// id. Running the record exchanges them with the frame's present ones.
struct TResizedFrame {
    std::uint64_t PageId = 0;
    std::unique_ptr<TBitmap32> Background;
    std::vector<std::pair<std::uint64_t, std::unique_ptr<TBitmapLayer>>> Layers;
};

// One undo record. What changed is named by identity (a layer's or a frame page's id), never
// by a pointer, and is looked up when the record runs; a record whose target is gone is
// skipped. Running a record puts back the state it holds and keeps the state it replaced in
// its place, so the same record, run again, redoes the change.
struct TUndos {
    TUndoType fUndoType = undoInsertPicLayer;
    // The layer that changed, or 0.
    std::uint64_t fDstLayerId = 0;
    // The frame page that changed or that holds what changed, or 0.
    std::uint64_t fDstPageId = 0;

    // --- the state the record puts back (one of them, by kind)
    // A layer that is out of its frame (undoing an insertion, or a deletion not yet undone).
    std::unique_ptr<TCustomLayer> fUndoLayer;
    // A layer's whole state: styles, effects, transformations, transparency.
    std::unique_ptr<TBitmapLayer> fUndoState;
    // A surface painted on: a layer's picture or a frame's background.
    std::unique_ptr<TBitmap32> fUndoBitmap;
    // A frame's background and layers (flattening).
    std::unique_ptr<TImgView32> fUndoView;
    // A frame page out of the document, with its view and layers.
    std::unique_ptr<TTabSheet> fUndoPage;
    // Every frame of a resized document.
    std::vector<TResizedFrame> fResized;
    // A small value: "X;Y" of a move, a master alpha, an index, a loop count, a size.
    QVariant fUndoVar;
    // A frame's animation settings, or a layer's rectangle.
    int fDuration = 1000;
    int fColorReduction = 0;
    int fDitherMode = 0;
    TFloatRect fLocation;

    // The frame index at the time of the change; where a frame goes back.
    int fFrameIndex = -1;
    // Where a layer goes back in its frame's stack.
    int fLayerIndex = -1;
    // Tells records apart for the save point, unique in the process.
    std::uint64_t fSerial = 0;

    // While the record waits, the pixels of the surface it keeps may be packed as runs of equal
    // pixels: the pictures of figures are mostly transparent, so this keeps long histories small.
    void Pack();
    // Before the record runs.
    void Unpack();
    // The surface the record keeps: a layer state's picture, a painted surface, a background.
    TBitmap32* KeptSurface() const;
    std::vector<std::uint32_t> fPacked;
    int fPackedWidth = 0;
    int fPackedHeight = 0;

    TUndos();
    ~TUndos();
    TUndos(TUndos&&) noexcept;
    TUndos& operator=(TUndos&&) noexcept;
};

} // namespace zp
