#include "ui/LayerDrag.h"

#include <QDrag>
#include <QMimeData>
#include <QWidget>

namespace zp {

std::function<Qt::DropAction(QDrag&)> LayerDragRunner;

namespace {
const QString MimeType = QStringLiteral("application/x-zelk-pixaro-layer");
TDocForm* Source = nullptr;
} // namespace

Qt::DropAction RunLayerDrag(QWidget& From, TDocForm& Doc, std::uint64_t LayerId) {
    auto* Data = new QMimeData;
    Data->setData(MimeType, QByteArray::number(static_cast<qulonglong>(LayerId)));
    QDrag Drag(&From);
    Drag.setMimeData(Data);
    Source = &Doc;
    struct TEnd {
        ~TEnd() { Source = nullptr; }
    } End;
    return LayerDragRunner ? LayerDragRunner(Drag) : Drag.exec(Qt::CopyAction, Qt::CopyAction);
}

TDocForm* LayerDragSource(const QMimeData& Data) {
    return Data.hasFormat(MimeType) ? Source : nullptr;
}

std::uint64_t DraggedLayerId(const QMimeData& Data) {
    return Data.data(MimeType).toULongLong();
}

} // namespace zp
