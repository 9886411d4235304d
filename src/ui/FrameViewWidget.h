#pragma once

#include "raster/ImgView32.h"

#include <QAbstractScrollArea>

class QMimeData;

namespace zp {

// Shows a frame view model: owns the scroll bars, forwards mouse, wheel and focus to the
// model, repaints only the areas the model reports and blits the model's buffer.
class TFrameViewWidget : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TFrameViewWidget(TImgView32& View, QWidget* Parent = nullptr);
    ~TFrameViewWidget() override;

    TImgView32& View() const { return FView; }

    // Wheel input: true for a turn away from the user. The document decides what it does.
    std::function<void(bool Up)> OnWheel;
    // Arrow keys with their shift state; true when the document used the key (else the view
    // scrolls as usual).
    std::function<bool(int Key, TShiftState Shift)> OnArrowKey;
    std::function<void()> OnEscape;
    // Dragged data over the view: true to accept it; a drop at a view point.
    std::function<bool(const QMimeData&)> OnDragOver;
    std::function<bool(const QMimeData&, QPoint At)> OnDrop;
    // Ends a press whose release another party took (a drag to elsewhere), at the pointer.
    void EndPress();

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void scrollContentsBy(int DX, int DY) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dragMoveEvent(QDragMoveEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    void UpdateScrollBars();

    TImgView32& FView;
    int FInvalidateHandler = 0;
    int FLayoutHandler = 0;
    int FCursorHandler = 0;
    bool FUpdatingBars = false;
};

} // namespace zp
