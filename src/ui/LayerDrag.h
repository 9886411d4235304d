#pragma once

#include <Qt>

#include <cstdint>
#include <functional>

class QDrag;
class QMimeData;
class QWidget;

namespace zp {

class TDocForm;

// A layer dragged from one document into another, from a frame view or from the layers
// palette. Drags never leave the program: the data names the layer, the source is kept here.

// Runs a drag of Doc's layer LayerId, started by Source, to its end.
Qt::DropAction RunLayerDrag(QWidget& Source, TDocForm& Doc, std::uint64_t LayerId);
// The document a running drag comes from, when Data is such a drag's; null otherwise.
TDocForm* LayerDragSource(const QMimeData& Data);
// The dragged layer's id in its document.
std::uint64_t DraggedLayerId(const QMimeData& Data);
// Runs a drag to its end: QDrag::exec unless replaced (tests drive the drop themselves).
extern std::function<Qt::DropAction(QDrag&)> LayerDragRunner;

} // namespace zp
