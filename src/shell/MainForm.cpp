// The main window's model: documents, start-up and the command states.
#include "shell/MainForm.h"

#include "document/UserDialogs.h"
#include "raster/RubberbandLayer.h"
#include "shell/FileVersionInfo.h"
#include "shell/LangText.h"
#include "shell/Places.h"
#include "shell/Settings.h"
#include "shell/Version.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <set>

namespace zp {

namespace {

bool HasDgmExtension(const QString& Path, Qt::CaseSensitivity Case) {
    return Path.endsWith(QStringLiteral(".dgm"), Case);
}

QString ZoomText(const TImgView32& View) {
    return QString::number(static_cast<int>(std::nearbyint(View.Scale() * 100.0))) + QLatin1Char('%');
}

} // namespace

bool CanRaiseLayer(const TCustomLayer& Layer) {
    const TLayerCollection* Layers = Layer.LayerCollection();
    if (!Layers) return false;
    int Real = 0, Position = -1;
    for (int I = 0; I < Layers->Count(); ++I) {
        const TCustomLayer* L = Layers->Items(I);
        if (dynamic_cast<const TRubberbandLayer*>(L)) continue;
        if (L == &Layer) Position = Real;
        ++Real;
    }
    return Position >= 0 && Position < Real - 1;
}

TMainForm::TMainForm(TMainFormView& View) : FView(View) {
    Settings();
    History.CreateIfMissing();
    const TFileVersionInfo Info = ReadFileVersionInfo(ProgramFilePath());
    StandardCpt = Info.ProductName.isEmpty() ? QString::fromUtf8(ProductName) : Info.ProductName;
    iVersion =
        VersionNumber(Info.FileVersion.isEmpty() ? QString::fromUtf8(ProductVersion) : Info.FileVersion);
    FView.SetCaption(StandardCpt);
}

TMainForm::~TMainForm() {
    FSelectedDocForm = nullptr;
    while (!DocFormList.empty()) RemoveDocument(*DocFormList.back());
}

// ---------------------------------------------------------------- host services

QString TMainForm::LangText(const QString& Key) {
    return zp::LangText(Key);
}

void TMainForm::SelectionChanged(TDocForm&) {
    SelectionChanged();
}

void TMainForm::SetZoomText(const QString& Text) {
    FView.SetZoomText(Text);
}

void TMainForm::FrameShown(TDocForm& Doc, int FrameIndex) {
    FView.PaletteFrameShown(Doc, FrameIndex);
}

// ---------------------------------------------------------------- documents

void TMainForm::SetSelectedDocForm(TDocForm* Doc) {
    FSelectedDocForm = Doc;
    if (!Doc) return;
    if (const TImgView32* View = Doc->CurrentView()) FView.SetZoomText(ZoomText(*View));
    SelectionChanged();
}

bool TMainForm::IsFileOpen(const QString& AFileName) const {
    for (const auto& Doc : DocFormList)
        if (Doc->FileName == AFileName) return true;
    return false;
}

int TMainForm::GetIndex() const {
    return FSelectedDocForm ? FSelectedDocForm->GetIndex() : -1;
}

int TMainForm::GetIndex(const TImgView32* AImgView) const {
    return FSelectedDocForm ? FSelectedDocForm->GetIndex(AImgView) : -1;
}

TDocForm& TMainForm::CreateDocument() {
    // Every new document window reads the settings anew.
    RecreateSettings();
    DocFormList.push_back(std::make_unique<TDocForm>(*this));
    TDocForm& Doc = *DocFormList.back();
    // Opening the preview page assembles the animation.
    Doc.OnPreviewRequested.Add([this](TDocForm& D) {
        try {
            AssembleGif(D);
        } catch (const std::exception& E) {
            UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), QString::fromUtf8(E.what()),
                                      TMsgIcon::Error);
        }
    });
    FView.DocumentCreated(Doc);
    return Doc;
}

void TMainForm::RemoveDocument(TDocForm& Doc) {
    if (FSelectedDocForm == &Doc) FSelectedDocForm = nullptr;
    FView.DocumentClosing(Doc);
    std::erase_if(DocFormList, [&](const auto& P) { return P.get() == &Doc; });
}

void TMainForm::PlaceDocumentWindow(TDocForm& Doc) {
    const TSettings& S = Settings();
    const int C = FView.DocumentWindowCount();
    FView.PlaceDocument(Doc, C * S.LeftOffset + S.TextFormWidth + 5, C * S.TopOffset, S.DocFormWidth,
                        S.DocFormHeight);
}

// ---------------------------------------------------------------- start-up

void TMainForm::FormActivate() {
    FView.AdjustPalettes();
    RunStartupAction();
}

void TMainForm::RunStartupAction() {
    if (StartupHandled) return;
    const QString Arg = ParamStr(1);
    if (Arg == QLatin1String("/a")) {
        RunBatchConversion();
        return;
    }
    if (Arg.trimmed().isEmpty()) {
        ShowStartChoice(LangText(QStringLiteral("Caption01")));
        return;
    }
    if (QFileInfo(Arg).isFile() && HasDgmExtension(Arg, Qt::CaseInsensitive)) {
        // Counted as done first: a file that fails to open must not fail again at every activation.
        StartupHandled = true;
        OpenFile(Arg, false);
    }
}

void TMainForm::HandleInstanceMessage(const QStringList& Texts) {
    const QString Arg = Texts.value(1);
    if (!Arg.isEmpty() && Arg != QLatin1String("/a") && QFileInfo(Arg).isFile() &&
        HasDgmExtension(Arg, Qt::CaseInsensitive) && !IsFileOpen(Arg))
        OpenFile(Arg, false);
    FView.BringToFront();
}

bool TMainForm::RunBatchConversion() {
    // Whatever happens, the run ends with the main window closed.
    struct TCloser {
        TMainFormView& View;
        ~TCloser() { View.CloseMainWindow(); }
    } Closer{FView};
    StartupHandled = true;
    if (ParamStr(1) != QLatin1String("/a")) return false;
    const QString Source = ParamStr(2), Target = ParamStr(3);
    if (Source.isEmpty() || Target.isEmpty() || !QFileInfo(Source).isFile() ||
        !HasDgmExtension(Source, Qt::CaseSensitive))
        return false;
    try {
        if (!OpenFile(Source, false)) return false;
        TDocForm* Doc = FSelectedDocForm;
        const QFileInfo TargetInfo(Target);
        const QString Name = TargetInfo.fileName();
        const int Dot = Name.lastIndexOf(QLatin1Char('.'));
        const QString Ext = Dot < 0 ? QString() : Name.mid(Dot);
        if (Ext == QLatin1String(".gif") && Doc) {
            Doc->SetActivePage(Doc->TabSheetGif());
            if (!Doc->CreateGifImgPreview()) return false;
            if (!TargetInfo.absoluteDir().exists()) return false;
            Doc->SaveAnimGif(Target);
            return true;
        }
        return Doc && Doc->SelectSaveMethod(Target, Ext);
    } catch (const std::exception& E) {
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), QString::fromUtf8(E.what()),
                                  TMsgIcon::Error);
        return false;
    }
}

// ---------------------------------------------------------------- life cycle

void TMainForm::ShowStartChoice(const QString& ACaption) {
    const int Choice = UserDialogs().AskWhatToDo(ACaption);
    StartupHandled = true;
    switch (Choice) {
    case 1: NewImageFromDialog(); break;
    case 2: OpenFile(); break;
    case 3: OpenTemplateProject(); break;
    default: break;
    }
}

void TMainForm::NewImageFromDialog() {
    TUserDialogs::TNewImage Choice;
    if (UserDialogs().AskNewImage(Choice)) {
        TDocForm& Doc = CreateDocument();
        SetSelectedDocForm(&Doc);
        FUnknownCounter += 1;
        PlaceDocumentWindow(Doc);
        try {
            Doc.NewImage(Choice.Width, Choice.Height, Choice.BackColor);
        } catch (...) {
            // A size that cannot be had leaves no empty window behind.
            FUnknownCounter -= 1;
            RemoveDocument(Doc);
            FView.ActivatePointerTool();
            throw;
        }
        if (Doc.CurrentView()) {
            FView.PaletteFrameShown(Doc, Doc.GetIndex());
            UpdatePropertiesMode();
            FView.SetZoomText(QString::fromLatin1(ZoomItems[4]));
        }
        // The states were taken before the picture existed; short cuts need them current.
        EnableSpecMenuItems();
    }
    FView.ActivatePointerTool();
}

TDocForm* TMainForm::OpenFile(const QString& AFileName, bool Template) {
    if (IsFileOpen(AFileName)) return nullptr;
    TDocForm& Doc = CreateDocument();
    SetSelectedDocForm(&Doc);
    PlaceDocumentWindow(Doc);
    try {
        Doc.OpenFile(AFileName, Template);
    } catch (...) {
        // A file that cannot be read leaves no half-opened document behind.
        RemoveDocument(Doc);
        throw;
    }
    if (Doc.CurrentView()) SelectionChanged();
    return &Doc;
}

void TMainForm::OpenFile() {
    int FilterIndex = 1;
    const QString Name = UserDialogs().AskOpenFileName(QString::fromUtf8(OpenDialogFilter), FilterIndex);
    if (!Name.isEmpty()) OpenFile(Name, false);
}

void TMainForm::OpenTemplateProject() {
    const QString Path = UserDialogs().AskTemplate(false);
    if (Path.isEmpty()) return;
    if (QFileInfo(Path).isFile()) {
        FUnknownCounter += 1;
        OpenFile(Path, true);
    } else if (!IsBatchMode()) {
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                                  LangText(QStringLiteral("TxtMissFile")), TMsgIcon::Information);
    }
}

TModalResult TMainForm::AskSaveChanges(TDocForm& Doc) {
    return UserDialogs().AskYesNoCancel(QString::fromUtf8(ApplicationTitle),
                                        LangText(QStringLiteral("TxtSaveChanges1")) + QLatin1Char(' ') +
                                            Doc.Caption() + QLatin1Char(' ') +
                                            LangText(QStringLiteral("TxtSaveChanges2")));
}

bool TMainForm::IsOpenDocument(const TDocForm* Doc) const {
    return std::any_of(DocFormList.begin(), DocFormList.end(), [&](const auto& P) { return P.get() == Doc; });
}

bool TMainForm::CloseProject(TDocForm* ADocForm) {
    // A document that is being assembled, or whose closing already waits for an answer, stays.
    if (!ADocForm || !IsOpenDocument(ADocForm) || ADocForm->Assembling() || FClosing.contains(ADocForm))
        return false;
    FClosing.insert(ADocForm);
    struct TDone {
        std::set<const TDocForm*>& Closing;
        const TDocForm* Doc;
        ~TDone() { Closing.erase(Doc); }
    } Done{FClosing, ADocForm};

    if (!IsBatchMode()) {
        // The questions run event loops: the document is looked up again after each.
        switch (AskSaveChanges(*ADocForm)) {
        case mrYes:
            if (!IsOpenDocument(ADocForm)) return false;
            // Work that was not saved is not thrown away: the document stays open.
            try {
                if (!SaveDocument(*ADocForm)) return false;
            } catch (const std::exception& E) {
                UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), QString::fromUtf8(E.what()),
                                          TMsgIcon::Error);
                return false;
            }
            break;
        case mrNo: break;
        default: return false;
        }
        if (!IsOpenDocument(ADocForm)) return false;
    }
    if (HasDgmExtension(ADocForm->FileName, Qt::CaseInsensitive))
        History.WriteFileToHistory(ADocForm->FileName, Settings().NumLastUsed);
    RemoveDocument(*ADocForm);
    return true;
}

bool TMainForm::FormClose() {
    const std::size_t Open = DocFormList.size();
    for (std::size_t I = 0; I < Open && !DocFormList.empty(); ++I) {
        TDocForm* First = DocFormList.front().get();
        SetSelectedDocForm(First);
        if (!CloseProject(First)) return false;
    }
    FView.SavePalettePositions();
    return true;
}

// ---------------------------------------------------------------- command states

void TMainForm::SelectionChanged() {
    if (!FSelectedDocForm) return;
    EnableSpecMenuItems();
    UpdatePropertiesMode();
    FView.PalettesSelectionChanged(*FSelectedDocForm);
}

std::vector<TEnableType> TMainForm::PropertiesModes(const TCustomLayer& S) const {
    const QString Class = QString::fromLatin1(S.ClassName());
    std::vector<TEnableType> Modes;
    if (Class == QLatin1String("TTextLayer")) Modes.push_back(enableText);
    if (Class == QLatin1String("T2DPolygon") && FView.IsToolDown(TFigureTool::Polygon))
        Modes.push_back(enablePolygon);
    if (Class == QLatin1String("T2DLine") && FView.IsToolDown(TFigureTool::Line)) Modes.push_back(enableLine);
    if (Class == QLatin1String("T2DRectangle") && FView.IsToolDown(TFigureTool::Rectangle))
        Modes.push_back(enableRectangle);
    if (Class == QLatin1String("T2DEllipse") && FView.IsToolDown(TFigureTool::Ellipse))
        Modes.push_back(enableEllipse);
    if (Class == QLatin1String("TPicLayer")) Modes.push_back(enablePicture);
    return Modes;
}

void TMainForm::UpdatePropertiesMode() {
    if (!FSelectedDocForm || !FSelectedDocForm->Selection()) return;
    for (TEnableType Mode : PropertiesModes(*FSelectedDocForm->Selection())) FView.ChangeControlEnable(Mode);
}

std::optional<TCommandStates> TMainForm::EnableSpecMenuItems() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) return std::nullopt;
    TImgView32* V = Doc->CurrentView();
    TPositionedLayer* S = Doc->Selection();
    TCommandStates St;

    const bool HasPicture = V && !V->Bitmap().Empty();
    for (const char* C : {"mnClose", "mnSave", "mnSaveAs", "mnPrint", "mnExtLayer", "mnPicLayer"})
        St[QString::fromLatin1(C)] = HasPicture;
    St[QStringLiteral("mnFlatten")] = HasPicture && V->Layers().Count() >= 1;

    for (const char* C : {"mnRotate90", "mnRotate270", "mnRotateAngel", "mnFlipVert", "mnFlipHorz", "mnScale",
                          "mnMotionBlur", "mnEmboss", "mnSoften", "mnSharpen", "mnColorAmboss",
                          "mnStrongSharpen", "mnRelief", "mnFineRelief", "mnDelete"})
        St[QString::fromLatin1(C)] = S != nullptr;
    const bool Raise = S && CanRaiseLayer(*S);
    St[QStringLiteral("mnBringFront")] = Raise;
    St[QStringLiteral("mnLevelUp")] = Raise;
    const bool Lower = S && S->Index() > 0;
    St[QStringLiteral("mnSendBack")] = Lower;
    St[QStringLiteral("mnLevelDown")] = Lower;

    const bool HasFrames = !Doc->ArrayGifFrame.empty();
    for (const char* C :
         {"mnGifErzeugen", "mnFrameloeschen", "mnNachLinksVerschieben", "mnNachRechtsVerschieben"})
        St[QString::fromLatin1(C)] = HasFrames;
    St[QStringLiteral("mnGifExportieren")] = Doc->GifImg != nullptr;
    St[QStringLiteral("mnUndo")] = false; // until the document keeps undo records
    FView.ApplyCommandStates(St);
    return St;
}

void TMainForm::ChangeMenuPic() {
    for (const char* Component : {"mnTextTool", "mnLayerTool", "mnPaintbox"}) {
        const QString C = QString::fromLatin1(Component);
        FView.SetMenuCheck(C, FView.IsPaletteVisible(C));
    }
}

void TMainForm::SetNewCursor(int Curs) {
    for (const auto& Doc : DocFormList)
        for (const TGifFrames& R : Doc->ArrayGifFrame) R.ImgView->SetCursor(Curs);
    FView.SetViewCursor(Curs);
}

void TMainForm::ScaleComboChange(const QString& Text) {
    if (FSelectedDocForm) FSelectedDocForm->ScaleComboChange(Text);
}

} // namespace zp
