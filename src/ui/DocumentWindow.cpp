#include "ui/DocumentWindow.h"

#include "ui/FrameViewWidget.h"
#include "ui/GifPreview.h"
#include "ui/LayerDrag.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace zp {

TDocumentWindow::TDocumentWindow(TDocForm& Doc, QWidget* Parent)
    : QWidget(Parent), FDoc(Doc), FTabs(new QTabWidget(this)), FPreviewArea(new QScrollArea),
      FPreview(new TGifPreview) {
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(FTabs);
    FTabs->setDocumentMode(true);
    FPreviewArea->setWidget(FPreview);
    FPreviewArea->setWidgetResizable(true);
    FWidgets.insert(Doc.TabSheetGif(), FPreviewArea);

    FSubscription = Doc.Subscribe([this](const TDocEvent& E) { DocumentChanged(E); });
    connect(FTabs, &QTabWidget::currentChanged, this, &TDocumentWindow::TabChanged);
    Sync();
}

TDocumentWindow::~TDocumentWindow() {
    Detach();
}

void TDocumentWindow::DocumentChanged(const TDocEvent& E) {
    switch (E.Kind) {
    case TDocChange::FrameRemoved:
        // The page's view is about to go (or to wait in the undo list): its widget goes first.
        if (QWidget* W = FWidgets.take(E.Page)) {
            const bool Was = FSyncing;
            FSyncing = true;
            FTabs->removeTab(FTabs->indexOf(W));
            FSyncing = Was;
            delete W;
        }
        return;
    case TDocChange::Gif: {
        const std::vector<std::uint8_t> Bytes =
            FDoc.GifImg() ? FDoc.GifImg()->SaveToBytes() : std::vector<std::uint8_t>();
        FPreview->SetGif(
            QByteArray(reinterpret_cast<const char*>(Bytes.data()), static_cast<qsizetype>(Bytes.size())));
        return;
    }
    case TDocChange::Modified: setWindowModified(FDoc.Modified()); return;
    case TDocChange::DragOut: {
        // Started once the model's mouse handling is over, while the button is still held.
        const std::uint64_t Id = E.Layer ? E.Layer->Id() : 0;
        QTimer::singleShot(0, this, [this, Id] { StartLayerDrag(Id); });
        return;
    }
    case TDocChange::FrameAdded:
    case TDocChange::PagesChanged:
    case TDocChange::ActivePage:
    case TDocChange::Caption: Sync(); return;
    default: return;
    }
}

void TDocumentWindow::Detach() {
    if (FDetached) return;
    FDetached = true;
    FSubscription.Reset();
    // Frame widgets show the document's views: they go with it.
    FSyncing = true;
    for (auto It = FWidgets.begin(); It != FWidgets.end(); ++It)
        if (It.value() != FPreviewArea) delete It.value();
    FWidgets.clear();
}

TFrameViewWidget* TDocumentWindow::FrameWidget(const TTabSheet* Sheet) const {
    return qobject_cast<TFrameViewWidget*>(FWidgets.value(Sheet));
}

QWidget* TDocumentWindow::WidgetFor(TTabSheet& Sheet) {
    if (QWidget* W = FWidgets.value(&Sheet)) return W;
    auto* W = new TFrameViewWidget(*Sheet.ImgView());
    W->OnWheel = [this](bool Up) {
        if (Up)
            FDoc.ImgViewMouseWheelUp();
        else
            FDoc.ImgViewMouseWheelDown();
    };
    W->OnArrowKey = [this](int Key, TShiftState Shift) { return FDoc.ImgViewKeyDown(Key, Shift); };
    W->OnEscape = [this] { FDoc.CancelSelection(); };
    W->OnDragOver = [this](const QMimeData& Data) { return AcceptsLayer(Data); };
    W->OnDrop = [this, W](const QMimeData& Data, QPoint At) { return DropLayer(*W, Data, At); };
    FWidgets.insert(&Sheet, W);
    return W;
}

void TDocumentWindow::StartLayerDrag(std::uint64_t LayerId) {
    TFrameViewWidget* From = FrameWidget(FDoc.ActivePage());
    const bool Held = QGuiApplication::mouseButtons() & Qt::LeftButton;
    if (FDetached || !FDoc.Dragging() || !From || !FDoc.FindLayer(LayerId) || (!Held && !LayerDragRunner)) {
        FDoc.FinishDragDrop();
        return;
    }
    const QPointer<TFrameViewWidget> Source = From;
    RunLayerDrag(*this, FDoc, LayerId);
    // A drag that found no taker is cancelled: the layer goes back as after a drop.
    if (!FDetached && FDoc.Dragging()) FDoc.FinishDragDrop();
    // The drag took the release: the press ends here.
    if (Source) Source->EndPress();
}

bool TDocumentWindow::AcceptsLayer(const QMimeData& Data) const {
    const TDocForm* Source = LayerDragSource(Data);
    return !FDetached && Source && FDoc.ImgViewDragOver(*Source);
}

bool TDocumentWindow::DropLayer(TFrameViewWidget& Widget, const QMimeData& Data, QPoint At) {
    TDocForm* Source = LayerDragSource(Data);
    if (FDetached || !Source || !FDoc.ImgViewDragOver(*Source)) return false;
    return FDoc.ImgViewDragDrop(Widget.View(), *Source, DraggedLayerId(Data), At.x(), At.y());
}

void TDocumentWindow::Sync() {
    FSyncing = true;
    for (int I = 0; I < FDoc.PageCount(); ++I) {
        TTabSheet* Sheet = FDoc.Pages(I);
        QWidget* W = WidgetFor(*Sheet);
        const int At = FTabs->indexOf(W);
        if (At != I) {
            if (At >= 0) FTabs->removeTab(At);
            FTabs->insertTab(I, W, Sheet->Caption());
        }
        FTabs->setTabText(I, Sheet->Caption());
    }
    if (QWidget* Active = FWidgets.value(FDoc.ActivePage())) FTabs->setCurrentWidget(Active);
    // The title marks changes not yet saved.
    setWindowTitle(FDoc.Caption() + QStringLiteral("[*]"));
    setWindowModified(FDoc.Modified());
    FSyncing = false;
}

void TDocumentWindow::TabChanged(int Index) {
    if (FSyncing || FDetached || Index < 0) return;
    QWidget* W = FTabs->widget(Index);
    const TTabSheet* Sheet = FWidgets.key(W, nullptr);
    if (!Sheet || Sheet == FDoc.ActivePage()) return;
    FDoc.SetActivePage(const_cast<TTabSheet*>(Sheet));
    FDoc.PageControl1Change();
}

} // namespace zp
