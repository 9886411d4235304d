#pragma once

#include "document/DocForm.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>

class QMimeData;
class QTabWidget;
class QScrollArea;

namespace zp {

class TFrameViewWidget;
class TGifPreview;

// The window of one document: a tab per frame, then the "Gif Vorschau" tab. It mirrors the
// document model's pages and forwards the user's page switches to it.
class TDocumentWindow : public QWidget {
    Q_OBJECT
public:
    explicit TDocumentWindow(TDocForm& Doc, QWidget* Parent = nullptr);
    ~TDocumentWindow() override;

    TDocForm& Doc() const { return FDoc; }
    // The document is about to go: let go of it now (the window itself may go later).
    void Detach();
    QTabWidget* Tabs() const { return FTabs; }
    TFrameViewWidget* FrameWidget(const TTabSheet* Sheet) const;
    // The animation on the "Gif Vorschau" page.
    TGifPreview* Preview() const { return FPreview; }

private:
    void Sync();
    QWidget* WidgetFor(TTabSheet& Sheet);
    void TabChanged(int Index);
    void DocumentChanged(const TDocEvent& Event);
    void StartLayerDrag(std::uint64_t LayerId);
    bool AcceptsLayer(const QMimeData& Data) const;
    bool DropLayer(TFrameViewWidget& Widget, const QMimeData& Data, QPoint At);

    TDocForm& FDoc;
    QTabWidget* FTabs;
    QScrollArea* FPreviewArea;
    TGifPreview* FPreview;
    QHash<const TTabSheet*, QWidget*> FWidgets;
    TDocSubscription FSubscription;
    bool FSyncing = false;
    bool FDetached = false;
};

} // namespace zp
