#pragma once

// Telling the layers of a frame apart, for the document's operations.
#include "layers/Figuren.h"
#include "layers/TextLayer.h"
#include "raster/RubberbandLayer.h"

#include <typeinfo>

namespace zp {

inline T2DFiguren* AsFigure(TCustomLayer* Layer) {
    return dynamic_cast<T2DFiguren*>(Layer);
}

// A layer of pixels only: no style, no geometry.
inline bool IsPlainBitmapLayer(const TCustomLayer* Layer) {
    return Layer && typeid(*Layer) == typeid(TBitmapLayer);
}

inline TStyledLayer* AsStyled(TCustomLayer* Layer) {
    return dynamic_cast<TStyledLayer*>(Layer);
}

inline TTextLayer* AsText(TCustomLayer* Layer) {
    return dynamic_cast<TTextLayer*>(Layer);
}

inline bool IsTextLayer(const TCustomLayer* Layer) {
    return dynamic_cast<const TTextLayer*>(Layer) != nullptr;
}

// The selection frame, the marked rectangle and the help figures of the drawing tools: they
// belong to the editing, not to the picture.
inline bool IsFrameLayer(const TCustomLayer* Layer) {
    if (dynamic_cast<const TRubberbandLayer*>(Layer)) return true;
    const auto* F = dynamic_cast<const T2DFiguren*>(Layer);
    return F && F->HelpLayer();
}

} // namespace zp
