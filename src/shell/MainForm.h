#pragma once

#include "document/DocForm.h"
#include "document/DocHost.h"
#include "document/PaletteState.h"
#include "document/UserDialogs.h"
#include "shell/CommandTable.h"
#include "shell/History.h"
#include "shell/PaletteModel.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace zp {

// Which menu commands are enabled.
using TCommandStates = std::map<TCmd, bool>;

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
    // Visibility of the properties, frames/layers and tool palettes, by their menu command.
    virtual bool IsPaletteVisible(const QString& MenuComponent) const = 0;
    // Marks a menu command with the check picture, or with none.
    virtual void SetMenuCheck(const QString& MenuComponent, bool Checked) = 0;
    // Shows or hides a palette (by its menu command) and stores that in the settings.
    virtual void TogglePalette(const QString& MenuComponent) = 0;
    // Places every palette from the settings.
    virtual void AdjustPalettes() = 0;
    // The properties palette's text field takes the keyboard focus.
    virtual void FocusPropertiesText() = 0;
    virtual void SavePalettePositions() = 0;
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
    const TPaletteState& Palette() const override { return Palettes.State(); }
    void ChangePalette(const std::function<void(TPaletteState&)>& Edit) override { Palettes.Change(Edit); }
    TProgramClipboard& ProgramClipboard() override { return FClipboard; }

    // --- the palettes' state
    TPaletteModel Palettes;

    // --- documents
    std::vector<std::unique_ptr<TDocForm>> DocFormList;
    TDocForm* SelectedDocForm() const { return FSelectedDocForm; }
    void SetSelectedDocForm(TDocForm* Doc);
    // After the selected document changed (null: none), and before a selected document goes.
    TEventList<TDocForm*> OnSelectedDocForm;
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
    // The properties palette shows the selected layer's style (nothing is applied).
    void ShowSelectedStyle();
    // The properties palette modes for a selected layer, in the order they are applied.
    std::vector<TEnableType> PropertiesModes(const TCustomLayer& S) const;
    // The states for the selected document; nothing when none is selected. Tool buttons stay
    // enabled; these are the menu commands' states.
    std::optional<TCommandStates> EnableSpecMenuItems();
    void ChangeMenuPic();
    void SetNewCursor(int Curs);
    // The zoom box's text changed.
    void ScaleComboChange(const QString& Text);

    // --- commands
    void Execute(TCmd Command);
    // The commands the menus hide, which do nothing.
    static bool IsHiddenCommand(TCmd Command);
    // "Arbeitsfläche" and "Bildgröße": the size dialog, then every frame resized.
    void mnuWorkingAreaClick();
    void mnuPictureSizeClick();
    void DeleteALayer();
    void NewTextLayer();
    // "Ausschneiden": the selected layer (or the marked area of it) is copied, then the whole
    // layer deleted.
    void CutToClipBoard();
    // "Einfügen"; the pasted layer, or null.
    TBitmapLayer* InsertFromClipBoard();
    void InsertPictureFromFile();
    void InsertPictureFromTemplate();
    void FlattenCurrentFrame();
    void RotateByAngle();
    void AddMotionBlur();
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
    // The pointer tool is down again (without a click's reaction); the canvas cursor is 2.
    void ActivateZeigerTool();

    // A developer's start: a new picture with one layer of each figure kind, the last selected.
    TDocForm& NewSampleDocument();

    // "Speichern": a project saves under its name, anything else asks for one. False when
    // nothing was written.
    bool SaveDocument(TDocForm& Doc);
    // "Speichern unter...": the save dialog starts on filter entry FilterIndex (1 project,
    // 2 JPEG, 3 BMP, 4 PNG, 5 GIF).
    bool SaveDocumentAs(TDocForm& Doc, int FilterIndex = 1);

private:
    void Resize(const QString& Caption, bool Image);
    TDocForm& CreateDocument();
    void DocumentChanged(TDocForm& Doc, const TDocEvent& Event);
    bool IsOpenDocument(const TDocForm* Doc) const;
    void RemoveDocument(TDocForm& Doc);

    TMainFormView& FView;
    // Copies of every document's copied layers, until the program ends.
    TProgramClipboard FClipboard;
    TDocForm* FSelectedDocForm = nullptr;
    // Documents whose closing waits for the user's answer.
    std::set<const TDocForm*> FClosing;
    std::map<const TDocForm*, TDocSubscription> FSubscriptions;
    int FUnknownCounter = 0;
};

// The rule behind "nach vorn" and "eine Ebene vor": the layer is not the topmost real layer.
// Selection frames do not count, so two plain layers can change places too.
bool CanRaiseLayer(const TCustomLayer& Layer);

} // namespace zp
