#pragma once

#include "document/DocForm.h"
#include "document/DocHost.h"
#include "document/PaletteState.h"
#include "document/UserDialogs.h"
#include "shell/CommandTable.h"
#include "shell/History.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace zp {

// The modes of the properties palette.
enum TEnableType {
    enableDefault,
    enableText,
    enablePolygon,
    enableLine,
    enableEllipse,
    enableRectangle,
    enablePicture
};

// The figure tools of the tool palette whose state the properties palette follows.
enum class TFigureTool { Polygon, Line, Rectangle, Ellipse };

// Which menu commands are enabled, by component name.
using TCommandStates = QHash<QString, bool>;

// What the main window model asks of the window that shows it.
class TMainFormView {
public:
    virtual ~TMainFormView() = default;
    // A document was created: show a window for it.
    virtual void DocumentCreated(TDocForm& Doc) = 0;
    // A document is about to be destroyed: its window goes now.
    virtual void DocumentClosing(TDocForm& Doc) = 0;
    // Number of document windows shown.
    virtual int DocumentWindowCount() const = 0;
    virtual void PlaceDocument(TDocForm& Doc, int Left, int Top, int Width, int Height) = 0;
    virtual void SetZoomText(const QString& Text) = 0;
    virtual void ApplyCommandStates(const TCommandStates& States) = 0;
    virtual void BringToFront() = 0;
    virtual void CloseMainWindow() = 0;
    virtual void SetCaption(const QString& Caption) = 0;
    // The cursor of every frame view of every document.
    virtual void SetViewCursor(int Cursor) { (void)Cursor; }
    // The palettes: defaults do nothing until the palettes exist.
    virtual void ActivatePointerTool() {}
    virtual void PalettesSelectionChanged(TDocForm& Doc) { (void)Doc; }
    virtual void PaletteFrameShown(TDocForm& Doc, int FrameIndex) { (void)Doc, (void)FrameIndex; }
    virtual void SavePalettePositions() {}
    virtual bool IsToolDown(TFigureTool Tool) const { return (void)Tool, false; }
    virtual void ChangeControlEnable(TEnableType Mode) { (void)Mode; }
    // Visibility of the properties, frames/layers and tool palettes.
    virtual bool IsPaletteVisible(const QString& MenuComponent) const { return (void)MenuComponent, false; }
    // Marks a menu command with the check picture, or with none.
    virtual void SetMenuCheck(const QString& MenuComponent, bool Checked) {
        (void)MenuComponent, (void)Checked;
    }
    // Shows or hides a palette (by its menu command) and stores that in the settings.
    virtual void TogglePalette(const QString& MenuComponent) { (void)MenuComponent; }
    // Places every palette from the settings.
    virtual void AdjustPalettes() {}
};

// The main window's model: the open documents and the selected one, start-up, the command
// states, opening and closing documents, and the command router.
class TMainForm : public TDocHost {
public:
    explicit TMainForm(TMainFormView& View);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // --- TDocHost
    QString LangText(const QString& Key) override;
    int UnknownCounter() const override { return FUnknownCounter; }
    void SetUnknownCounter(int Value) override { FUnknownCounter = Value; }
    void SelectionChanged(TDocForm& Doc) override;
    void SetZoomText(const QString& Text) override;
    void FrameShown(TDocForm& Doc, int FrameIndex) override;

    // --- documents
    std::vector<std::unique_ptr<TDocForm>> DocFormList;
    TDocForm* SelectedDocForm() const { return FSelectedDocForm; }
    void SetSelectedDocForm(TDocForm* Doc);
    bool IsFileOpen(const QString& AFileName) const;
    int GetIndex() const;
    int GetIndex(const TImgView32* AImgView) const;

    // --- start-up
    bool StartupHandled = false;
    QString StandardCpt;
    int iVersion = 0;
    THistory History;
    // Each activation of the main window.
    void FormActivate();
    void RunStartupAction();
    // The second start's program path and arguments arrived.
    void HandleInstanceMessage(const QStringList& Texts);
    // "/a SRC DST": converts and closes the main window. False when the conversion failed.
    bool RunBatchConversion();

    // --- document life cycle
    void ShowStartChoice(const QString& ACaption);
    void NewImageFromDialog();
    void PlaceDocumentWindow(TDocForm& Doc);
    // Opens a file as a new document; null when it was open already.
    TDocForm* OpenFile(const QString& AFileName, bool Template);
    void OpenFile();
    void OpenTemplateProject();
    bool CloseProject(TDocForm* ADocForm);
    TModalResult AskSaveChanges(TDocForm& Doc);
    // Closes every document; false when one of them stayed open.
    bool FormClose();

    // --- command states
    void SelectionChanged();
    void UpdatePropertiesMode();
    // The properties palette modes for a selected layer, in the order they are applied.
    std::vector<TEnableType> PropertiesModes(const TCustomLayer& S) const;
    // The states for the selected document; nothing when none is selected.
    std::optional<TCommandStates> EnableSpecMenuItems();
    void ChangeMenuPic();
    void SetNewCursor(int Curs);
    // The zoom box's text changed.
    void ScaleComboChange(const QString& Text);

    // --- commands
    void Execute(TCmd Command);
    void NewFrameFromDialog();
    void DeleteFrame();
    void MoveFrameLeft();
    void MoveFrameRight();
    void ShowHelp();
    void StartUpdater();
    // "Gif Vorschau": assembles the animation and shows the preview page.
    void CreateGifImgPreview();
    // "Gif exportieren/speichern": assembles, then asks where to save it.
    void ExportGif();
    // Assembles the animation of a document with a progress display; false when cancelled.
    bool AssembleGif(TDocForm& Doc);

    // --- tool palette
    // A tool button was clicked (it is down now).
    void PaintboxToolClicked(TPaintTool Tool);
    // Every open document goes to tool mode.
    void ManageZeigerTool();

    // "Speichern": a project saves under its name, anything else asks for one. False when
    // nothing was written.
    bool SaveDocument(TDocForm& Doc);
    // "Speichern unter...": the save dialog starts on filter entry FilterIndex (1 project,
    // 2 JPEG, 3 BMP, 4 PNG, 5 GIF).
    bool SaveDocumentAs(TDocForm& Doc, int FilterIndex = 1);

private:
    TDocForm& CreateDocument();
    bool IsOpenDocument(const TDocForm* Doc) const;
    void RemoveDocument(TDocForm& Doc);

    TMainFormView& FView;
    TDocForm* FSelectedDocForm = nullptr;
    // Documents whose closing waits for the user's answer.
    std::set<const TDocForm*> FClosing;
    int FUnknownCounter = 0;
};

// The rule behind "nach vorn" and "eine Ebene vor": the layer is not the topmost real layer.
// Selection frames do not count, so two plain layers can change places too.
bool CanRaiseLayer(const TCustomLayer& Layer);

} // namespace zp
