#pragma once

#include "shell/MainForm.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

class QComboBox;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace zp {

class TDocumentWindow;
class TQtUserDialogs;
class TfrmFontProp;
class TfrmLayers;
class TPaletteWindow;
class TfrmPaintbox;
class TQtClipboard;

// The application's main window: menus and tool bar built from the command table, the zoom
// box, and one MDI child per open document. The document logic lives in its TMainForm.
class TMainWindow : public QMainWindow, public TMainFormView {
    Q_OBJECT
public:
    // Interactive: installs the Qt dialogs. Batch: no window, nothing is asked.
    explicit TMainWindow(bool Interactive = true, QWidget* Parent = nullptr);
    ~TMainWindow() override;

    TMainForm& Model() const { return *FModel; }
    QMdiArea* MdiArea() const { return FMdiArea; }
    QAction* Action(const QString& Component) const { return FActions.value(Component); }
    QComboBox* ZoomBox() const { return FZoom; }
    TDocumentWindow* DocumentWindow(const TDocForm* Doc) const;
    // The exit code of a batch run: 0 when the conversion succeeded.
    int BatchResult() const { return FBatchResult; }
    void RunBatch();

    // --- TMainFormView
    void DocumentCreated(TDocForm& Doc) override;
    void DocumentClosing(TDocForm& Doc) override;
    int DocumentWindowCount() const override;
    void PlaceDocument(TDocForm& Doc, int Left, int Top, int Width, int Height) override;
    void SetZoomText(const QString& Text) override;
    void ApplyCommandStates(const TCommandStates& States) override;
    void BringToFront() override;
    void CloseMainWindow() override;
    void SetCaption(const QString& Caption) override;
    void SetMenuCheck(const QString& MenuComponent, bool Checked) override;
    bool IsPaletteVisible(const QString& MenuComponent) const override;
    void TogglePalette(const QString& MenuComponent) override;
    void AdjustPalettes() override;
    void SavePalettePositions() override;
    void FocusPropertiesText() override;

    TfrmPaintbox* Paintbox() const { return FPaintbox; }
    TfrmLayers* LayersPalette() const { return FLayers; }
    TfrmFontProp* PropertiesPalette() const { return FProps; }
    // The Qt dialogs of an interactive window; null in batch mode.
    TQtUserDialogs* QtDialogs() const { return FDialogs.get(); }

protected:
    void closeEvent(QCloseEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    // Runs a command; an error it raises is reported and the program goes on.
    void Run(TCmd Command);
    void Report(const std::exception& E);
    // The palette window behind a "Fenster" menu command; null for palettes not built yet.
    TPaletteWindow* PaletteOf(const QString& MenuComponent) const;
    // What each activation does; runs after the event that caused it.
    void Activated();

    QMdiArea* FMdiArea;
    std::unique_ptr<TQtUserDialogs> FDialogs;
    // Copies and pastes go through the desktop's clipboard while the window exists.
    std::unique_ptr<TQtClipboard> FClipboard;
    std::unique_ptr<TMainForm> FModel;
    TfrmPaintbox* FPaintbox = nullptr;
    TfrmLayers* FLayers = nullptr;
    TfrmFontProp* FProps = nullptr;
    QHash<QString, QAction*> FActions;
    // The menu item of each command, and the tool buttons whose state follows theirs.
    QHash<int, QAction*> FCommandActions;
    QHash<int, QAction*> FToolStateActions;
    QHash<const TDocForm*, QMdiSubWindow*> FWindows;
    QComboBox* FZoom = nullptr;
    QMenu* FLastUsed = nullptr;
    bool FInteractive;
    bool FActivating = false;
    int FBatchResult = 1;
};

} // namespace zp
