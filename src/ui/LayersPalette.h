#pragma once

#include "document/DocForm.h"
#include "raster/LayerRef.h"
#include "ui/PaletteWindow.h"

#include <QFrame>
#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QMenu;
class QMimeData;
class QScrollArea;
class QSlider;
class QTabWidget;
class QTimer;
class QToolButton;

namespace zp {

class TMainForm;
class TfrmLayers;

// One panel of the layers list: thumbnail, caption and the transparency-gradient notice. A
// press selects its layer, a drag moves it in the list or into another document.
class TLayerPanel final : public QFrame {
    Q_OBJECT
public:
    TLayerPanel(TfrmLayers& Palette, TBitmapLayer* Layer, QWidget* Parent);

    bool IsBackground() const { return FIsBackground; }
    // Null for the background panel (and once the layer is gone).
    TBitmapLayer* BitmapLayer() const { return FLayer.Get(); }
    QLabel* Image() const { return FImage; }
    QLabel* Lbl() const { return FLbl; }
    QLabel* InfoLbl() const { return FInfoLbl; }

    // What the panel showed last, to redraw only panels whose layer changed.
    QString Signature;

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    TfrmLayers& FPalette;
    TLayerRef<TBitmapLayer> FLayer;
    bool FIsBackground;
    QLabel* FImage;
    QLabel* FLbl;
    QLabel* FInfoLbl;
    QPoint FPressAt;
    bool FPressed = false;
};

// The frames and layers palette ("Frames/Ebenen"): the layers of the selected document's
// shown frame with selection, order and drag and drop; the opacity gauge; the frame box; the
// animation settings of each frame and the loop count. A floating, always-on-top tool window
// that follows the selected document through its events.
class TfrmLayers final : public TPaletteWindow {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 137, PanelHeight = 41;
    // Browsers play shorter frames at 100 ms: the duration field warns below this.
    static constexpr int ShortestPlayedDuration = 20;

    explicit TfrmLayers(TMainForm& Model, QWidget* Parent = nullptr);
    ~TfrmLayers() override;

    // Places and shows the window from the settings, relative to the main window.
    void Adjust(QWidget* MainWindow);

    // --- what the palette shows (tests look here)
    // The panels from top (the newest layer) to bottom (the background).
    QList<TLayerPanel*> Panels() const;
    TLayerPanel* PanelOf(const TCustomLayer* Layer) const;
    TLayerPanel* CurrentLayer() const { return FCurrent; }
    QComboBox* CmbFrames() const { return FCmbFrames; }
    QSlider* GbarTransp() const { return FGbarTransp; }
    QLabel* LblBitTransp() const { return FLblBitTransp; }
    QToolButton* LayerUp() const { return FLayerUp; }
    QToolButton* LayerDown() const { return FLayerDown; }
    QTabWidget* Pages() const { return FPages; }
    QComboBox* CmbDuration() const { return FCmbDuration; }
    QComboBox* CmbColorReduction() const { return FCmbColorReduction; }
    QComboBox* CmbDitherMode() const { return FCmbDitherMode; }
    QComboBox* CmbLoops() const { return FCmbLoops; }
    QLabel* DurationWarning() const { return FDurationWarning; }
    QLabel* GifFacts() const { return FGifFacts; }
    QWidget* PanelBox() const { return FPanelBox; }
    QMenu* PopupMenu() const { return FPopupMenu; }

    // --- called by the panels
    void PanelClicked(TLayerPanel& Panel);
    void PanelDragged(TLayerPanel& Panel);
    void PanelMenu(const QPoint& GlobalAt);

    // The periodic refresh: redraws the panels whose layer changed since they were drawn.
    void RefreshPanels();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void SelectedDocChanged(TDocForm* Doc);
    void DocumentChanged(const TDocEvent& Event);
    // The panels of the shown frame, in layer order; existing panels are kept.
    void RebuildPanels();
    void Restack();
    void DrawPanel(TLayerPanel& Panel, int Position);
    QImage Thumbnail(const TBitmapLayer* Layer) const;
    void SelPanel();
    void EnableSpeedButtons();
    void UpdateForm();
    void InsertToCmbBox();
    void UpdateGauge();
    void ShowGifFacts();
    void GifChanged();
    // The frame whose settings the page edits: the shown one, or the one chosen in the frame box
    // while the preview is shown; -1 for none.
    int SettingsFrame() const;
    void ApplyFrameSettings();
    void ApplyLoops();
    void ScheduleGif();
    bool DropOnList(const QMimeData& Data, QPoint At);

    TMainForm& FModel;
    int FSelectedHandler = 0;
    TDocForm* FDoc = nullptr;
    TDocSubscription FSubscription;
    QList<TLayerPanel*> FPanels; // bottom (background) first
    TLayerPanel* FCurrent = nullptr;
    QComboBox* FCmbFrames;
    QSlider* FGbarTransp;
    QLabel* FLblBitTransp;
    QLabel* FLblDeckkraft;
    QToolButton* FLayerUp;
    QToolButton* FLayerDown;
    QTabWidget* FPages;
    QScrollArea* FLayScrllBx;
    QWidget* FPanelBox;
    QComboBox* FCmbDuration;
    QComboBox* FCmbColorReduction;
    QComboBox* FCmbDitherMode;
    QComboBox* FCmbLoops;
    QLabel* FDurationWarning;
    QLabel* FGifFacts;
    QMenu* FPopupMenu;
    QTimer* FTimer1;
    QTimer* FGifTimer;
    int LabelWidth = 85;
    // While the controls are filled from the document, their changes are not edits.
    bool FUpdating = false;
    // Size of the document's assembled animation in bytes; -1 for none.
    qint64 FGifBytes = -1;
};

} // namespace zp
