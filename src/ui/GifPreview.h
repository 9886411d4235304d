#pragma once

#include <QByteArray>
#include <QWidget>

class QBuffer;
class QMovie;

namespace zp {

// Plays an animated GIF on silver, with a one-pixel black outline around the picture, centred
// in the area while it has room (at least three pixels to spare), else one pixel from the edge.
class TGifPreview : public QWidget {
    Q_OBJECT
public:
    explicit TGifPreview(QWidget* Parent = nullptr);
    ~TGifPreview() override;

    // Shows the GIF stream in Bytes (an empty array shows nothing).
    void SetGif(const QByteArray& Bytes);
    bool IsPlaying() const;
    QSize PictureSize() const { return FPictureSize; }
    // Where the picture's top-left corner goes in an area of the given size.
    static QPoint Placement(QSize Area, QSize Picture);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    QByteArray FBytes;
    QBuffer* FBuffer = nullptr;
    QMovie* FMovie = nullptr;
    QSize FPictureSize;
};

} // namespace zp
