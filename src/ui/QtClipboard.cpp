#include "ui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zp {

TQtClipboard::TQtClipboard() : FPrevious(SetSystemClipboard(this)) {}

TQtClipboard::~TQtClipboard() {
    SetSystemClipboard(FPrevious);
}

bool TQtClipboard::HasPicture() const {
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
    return Data && Data->hasImage();
}

QImage TQtClipboard::Picture() const {
    return QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_ARGB32);
}

void TQtClipboard::SetPicture(const QImage& Picture) {
    QGuiApplication::clipboard()->setImage(Picture);
}

} // namespace zp
