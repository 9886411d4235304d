#include "ui/GifPreview.h"

#include <QBuffer>
#include <QMovie>
#include <QPainter>

namespace zp {

TGifPreview::TGifPreview(QWidget* Parent) : QWidget(Parent) {
    setAutoFillBackground(true);
    QPalette P = palette();
    P.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(P);
}

TGifPreview::~TGifPreview() = default;

QPoint TGifPreview::Placement(QSize Area, QSize Picture) {
    const int DX = Area.width() - Picture.width();
    const int DY = Area.height() - Picture.height();
    return {DX >= 3 ? DX / 2 : 1, DY >= 3 ? DY / 2 : 1};
}

void TGifPreview::SetGif(const QByteArray& Bytes) {
    delete FMovie;
    FMovie = nullptr;
    delete FBuffer;
    FBuffer = nullptr;
    FBytes = Bytes;
    FPictureSize = QSize();
    if (!FBytes.isEmpty()) {
        FBuffer = new QBuffer(&FBytes, this);
        FBuffer->open(QIODevice::ReadOnly);
        FMovie = new QMovie(FBuffer, "gif", this);
        // Frames are decoded as they play: a long animation does not sit in memory as pixmaps.
        FMovie->setCacheMode(QMovie::CacheNone);
        connect(FMovie, &QMovie::frameChanged, this, [this]() { update(); });
        FMovie->jumpToFrame(0);
        FPictureSize = FMovie->frameRect().size();
        FMovie->start();
    }
    // Room for the picture and its outline, so the scroll area can scroll to all of it.
    setMinimumSize(FPictureSize.isValid() ? FPictureSize + QSize(2, 2) : QSize(0, 0));
    update();
}

bool TGifPreview::IsPlaying() const {
    return FMovie && FMovie->state() == QMovie::Running;
}

void TGifPreview::paintEvent(QPaintEvent*) {
    if (!FMovie || !FPictureSize.isValid()) return;
    QPainter P(this);
    const QPoint At = Placement(size(), FPictureSize);
    P.setPen(Qt::black);
    P.drawRect(QRect(At - QPoint(1, 1), FPictureSize + QSize(1, 1)));
    P.drawPixmap(At, FMovie->currentPixmap());
}

} // namespace zp
