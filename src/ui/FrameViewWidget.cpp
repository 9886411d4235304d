#include "ui/FrameViewWidget.h"

#include "ui/QtBridge.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace zp {

TFrameViewWidget::TFrameViewWidget(TImgView32& View, QWidget* Parent)
    : QAbstractScrollArea(Parent), FView(View) {
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAcceptDrops(true);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);

    FInvalidateHandler = FView.OnInvalidate.Add([this](const TRect& R) { viewport()->update(ToQRect(R)); });
    FLayoutHandler = FView.OnLayoutChange.Add([this](TImgView32&) { UpdateScrollBars(); });
    FCursorHandler =
        FView.OnScreenCursorChange.Add([this](TCursor C) { viewport()->setCursor(ToQCursor(C)); });
    FView.OnRequestFocus = [this](TImgView32&) { setFocus(Qt::MouseFocusReason); };
}

TFrameViewWidget::~TFrameViewWidget() {
    FView.OnInvalidate.Remove(FInvalidateHandler);
    FView.OnLayoutChange.Remove(FLayoutHandler);
    FView.OnScreenCursorChange.Remove(FCursorHandler);
    FView.OnRequestFocus = nullptr;
}

void TFrameViewWidget::UpdateScrollBars() {
    if (FUpdatingBars) return;
    FUpdatingBars = true;
    QScrollBar* H = horizontalScrollBar();
    QScrollBar* V = verticalScrollBar();
    H->setRange(0, FView.ScrollMaxHorz());
    H->setPageStep(std::max(1, viewport()->width()));
    H->setValue(FView.ScrollPosHorz());
    V->setRange(0, FView.ScrollMaxVert());
    V->setPageStep(std::max(1, viewport()->height()));
    V->setValue(FView.ScrollPosVert());
    FUpdatingBars = false;
}

void TFrameViewWidget::resizeEvent(QResizeEvent* Event) {
    QAbstractScrollArea::resizeEvent(Event);
    FView.SetViewportSize(viewport()->width(), viewport()->height());
    UpdateScrollBars();
}

void TFrameViewWidget::scrollContentsBy(int, int) {
    if (FUpdatingBars) return;
    FView.SetScrollPos(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TFrameViewWidget::paintEvent(QPaintEvent* Event) {
    FView.SetViewportSize(viewport()->width(), viewport()->height());
    TBitmap32& Buffer = FView.Buffer();
    if (Buffer.Empty()) return;
    for (const QRect& R : Event->region()) FView.PaintBuffer(FromQRect(R));
    // The buffer is opaque where it is shown; its bytes are those of a 32-bit RGB image.
    const QImage Image(reinterpret_cast<const uchar*>(Buffer.Bits()), Buffer.Width(), Buffer.Height(),
                       Buffer.Width() * 4, QImage::Format_RGB32);
    QPainter Painter(viewport());
    for (const QRect& R : Event->region()) Painter.drawImage(R, Image, R);
}

void TFrameViewWidget::mousePressEvent(QMouseEvent* Event) {
    const QPoint P = Event->position().toPoint();
    FView.MouseDown(ToMouseButton(Event->button()), ToShiftState(Event->modifiers(), Event->buttons()), P.x(),
                    P.y());
}

void TFrameViewWidget::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint P = Event->position().toPoint();
    FView.MouseMove(ToShiftState(Event->modifiers(), Event->buttons()), P.x(), P.y());
}

void TFrameViewWidget::mouseReleaseEvent(QMouseEvent* Event) {
    const QPoint P = Event->position().toPoint();
    FView.MouseUp(ToMouseButton(Event->button()), ToShiftState(Event->modifiers(), Event->buttons()), P.x(),
                  P.y());
}

void TFrameViewWidget::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Escape && OnEscape && Event->modifiers() == Qt::NoModifier) {
        OnEscape();
        Event->accept();
        return;
    }
    const int Key = ToArrowKey(Event->key());
    if (Key && OnArrowKey && OnArrowKey(Key, ToShiftState(Event->modifiers(), Qt::NoButton))) {
        Event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(Event);
}

void TFrameViewWidget::dragEnterEvent(QDragEnterEvent* Event) {
    if (OnDragOver && Event->mimeData() && OnDragOver(*Event->mimeData()))
        Event->acceptProposedAction();
    else
        Event->ignore();
}

void TFrameViewWidget::dragMoveEvent(QDragMoveEvent* Event) {
    if (OnDragOver && Event->mimeData() && OnDragOver(*Event->mimeData()))
        Event->acceptProposedAction();
    else
        Event->ignore();
}

void TFrameViewWidget::dropEvent(QDropEvent* Event) {
    if (OnDrop && Event->mimeData() && OnDrop(*Event->mimeData(), Event->position().toPoint()))
        Event->acceptProposedAction();
    else
        Event->ignore();
}

void TFrameViewWidget::EndPress() {
    if (!FView.MouseCaptured()) return;
    const QPoint P = viewport()->mapFromGlobal(QCursor::pos());
    FView.MouseUp(mbLeft, 0, P.x(), P.y());
}

void TFrameViewWidget::wheelEvent(QWheelEvent* Event) {
    const int Delta = Event->angleDelta().y();
    if (Delta == 0 || !OnWheel) {
        QAbstractScrollArea::wheelEvent(Event);
        return;
    }
    OnWheel(Delta > 0);
    Event->accept();
}

} // namespace zp
