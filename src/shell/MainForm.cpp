// The main window's model: documents, start-up and the command states.
#include "shell/MainForm.h"

#include "document/UserDialogs.h"
#include "layers/StyledLayer.h"
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

constexpr const char* SBatchUsage =
    "Aufruf: zelk-pixaro /a QUELLE.dgm ZIEL, wobei ZIEL auf .gif (Animation), "
    ".png, .jpg, .bmp, .GIF (ein Bild) oder .dgm endet.";
constexpr const char* SBatchNoSource = "Die Projektdatei „%1“ gibt es nicht.";
constexpr const char* SBatchNotProject = "„%1“ ist keine Projektdatei: die Endung muss genau „.dgm“ lauten.";
constexpr const char* SBatchNoFolder = "Den Ordner für „%1“ gibt es nicht.";
constexpr const char* SBatchNoAnimation = "Aus dem Projekt lässt sich keine Animation für „%1“ bilden.";
constexpr const char* SBatchUnknownTarget =
    "„%1“ wurde nicht geschrieben: die Endung muss .gif, .png, .jpg, .bmp oder .dgm lauten.";

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
    if (FSelectedDocForm) OnSelectedDocForm.Notify(nullptr);
    FSelectedDocForm = nullptr;
    while (!DocFormList.empty()) RemoveDocument(*DocFormList.back());
}

// ---------------------------------------------------------------- host services

QString TMainForm::LangText(const QString& Key) {
    return zp::LangText(Key);
}

void TMainForm::DocumentChanged(TDocForm& Doc, const TDocEvent& Event) {
    switch (Event.Kind) {
    case TDocChange::PreviewRequested:
        // Opening the preview page assembles the animation.
        try {
            AssembleGif(Doc);
        } catch (const std::exception& E) {
            UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), QString::fromUtf8(E.what()),
                                      TMsgIcon::Error);
        }
        return;
    case TDocChange::FrameShown:
        Palettes.Change([&](TPaletteState& S) { S.FrameIndex = Doc.GetIndex(); });
        break;
    case TDocChange::Zoom:
        if (&Doc == FSelectedDocForm) FView.SetZoomText(Event.Text);
        return;
    case TDocChange::Selection:
        if (&Doc == FSelectedDocForm) SelectionChanged();
        return;
    case TDocChange::DragOut:
    case TDocChange::LayerChanged:
    case TDocChange::FrameSettings:
    case TDocChange::Caption:
    case TDocChange::PagesChanged:
        // Nothing the command states depend on.
        return;
    case TDocChange::FrameAdded:
    case TDocChange::FrameRemoved:
    case TDocChange::ActivePage:
    case TDocChange::LayerAdded:
    case TDocChange::LayerRemoved:
    case TDocChange::LayersReordered:
    case TDocChange::FrameContent:
    case TDocChange::Modified:
    case TDocChange::UndoRedo:
    case TDocChange::Gif: break;
    }
    if (&Doc == FSelectedDocForm) EnableSpecMenuItems();
}

// ---------------------------------------------------------------- documents

void TMainForm::SetSelectedDocForm(TDocForm* Doc) {
    const bool Changed = FSelectedDocForm != Doc;
    FSelectedDocForm = Doc;
    if (Changed) OnSelectedDocForm.Notify(Doc);
    if (!Doc) return;
    if (const TImgView32* View = Doc->CurrentView()) FView.SetZoomText(ZoomText(*View));
    SelectionChanged();
}

bool TMainForm::IsFileOpen(const QString& AFileName) const {
    for (const auto& Doc : DocFormList)
        if (Doc->FileName() == AFileName) return true;
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
    FSubscriptions.emplace(&Doc,
                           Doc.Subscribe([this, &Doc](const TDocEvent& E) { DocumentChanged(Doc, E); }));
    FView.DocumentCreated(Doc);
    return Doc;
}

void TMainForm::RemoveDocument(TDocForm& Doc) {
    const bool WasSelected = FSelectedDocForm == &Doc;
    if (WasSelected) {
        FSelectedDocForm = nullptr;
        OnSelectedDocForm.Notify(nullptr);
    }
    FSubscriptions.erase(&Doc);
    FView.DocumentClosing(Doc);
    std::erase_if(DocFormList, [&](const auto& P) { return P.get() == &Doc; });
    if (WasSelected) EnableSpecMenuItems();
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
    if (Arg == QLatin1String("--sample-layers")) {
        StartupHandled = true;
        NewSampleDocument();
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
    // A conversion that writes nothing says why (on standard error, where batch messages go).
    const auto Refused = [](const char* Text, const QString& Name = QString()) {
        const QString T = QString::fromUtf8(Text);
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), Name.isEmpty() ? T : T.arg(Name),
                                  TMsgIcon::Error);
        return false;
    };
    const QString Source = ParamStr(2), Target = ParamStr(3);
    if (Source.isEmpty() || Target.isEmpty()) return Refused(SBatchUsage);
    if (!QFileInfo(Source).isFile()) return Refused(SBatchNoSource, Source);
    if (!HasDgmExtension(Source, Qt::CaseSensitive)) return Refused(SBatchNotProject, Source);
    try {
        if (!OpenFile(Source, false)) return false;
        TDocForm* Doc = FSelectedDocForm;
        if (!Doc) return false;
        const QFileInfo TargetInfo(Target);
        const QString Name = TargetInfo.fileName();
        const int Dot = Name.lastIndexOf(QLatin1Char('.'));
        const QString Ext = Dot < 0 ? QString() : Name.mid(Dot);
        if (!TargetInfo.absoluteDir().exists()) return Refused(SBatchNoFolder, Target);
        if (Ext == QLatin1String(".gif")) {
            Doc->SetActivePage(Doc->TabSheetGif());
            if (!Doc->CreateGifImgPreview()) return Refused(SBatchNoAnimation, Target);
            Doc->SaveAnimGif(Target);
            return true;
        }
        return Doc->SelectSaveMethod(Target, Ext) || Refused(SBatchUnknownTarget, Target);
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
            ActivateZeigerTool();
            throw;
        }
        if (Doc.CurrentView()) {
            Palettes.Change([&](TPaletteState& S) { S.FrameIndex = Doc.GetIndex(); });
            UpdatePropertiesMode();
            FView.SetZoomText(QString::fromLatin1(ZoomItems[4]));
        }
        // The states were taken before the picture existed; short cuts need them current.
        EnableSpecMenuItems();
    }
    ActivateZeigerTool();
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
    // What a project asked for and did not get is said once, after reading; a conversion
    // goes on without the font note.
    const QString Fonts = Doc.ReportMissingFonts();
    if (!Fonts.isEmpty() && !IsBatchMode())
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), Fonts, TMsgIcon::Information);
    const QString Effects = Doc.ReportCappedEffects();
    if (!Effects.isEmpty())
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), Effects, TMsgIcon::Information);
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

    // Only a document with changes since it was saved (or created) has anything to lose.
    if (!IsBatchMode() && ADocForm->Modified()) {
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
    if (HasDgmExtension(ADocForm->FileName(), Qt::CaseInsensitive))
        History.WriteFileToHistory(ADocForm->FileName(), Settings().NumLastUsed);
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
    ShowSelectedStyle();
}

void TMainForm::ShowSelectedStyle() {
    if (!FSelectedDocForm) return;
    const TCustomLayer* S = FSelectedDocForm->Selection();
    if (!dynamic_cast<const TStyledLayer*>(S)) return;
    Palettes.Change([S](TPaletteState& P) { TDocForm::LoadPaletteFromLayer(S, P); });
}

std::vector<TEnableType> TMainForm::PropertiesModes(const TCustomLayer& S) const {
    const QString Class = QString::fromLatin1(S.ClassName());
    std::vector<TEnableType> Modes;
    if (Class == QLatin1String("TTextLayer")) Modes.push_back(enableText);
    const TPaintTool Tool = Palettes.State().Tool;
    if (Class == QLatin1String("T2DPolygon") && Tool == ptPaintPolygon) Modes.push_back(enablePolygon);
    if (Class == QLatin1String("T2DLine") && Tool == ptPaintLine) Modes.push_back(enableLine);
    if (Class == QLatin1String("T2DRectangle") && Tool == ptPaintRectangle) Modes.push_back(enableRectangle);
    if (Class == QLatin1String("T2DEllipse") && Tool == ptPaintEllipse) Modes.push_back(enableEllipse);
    if (Class == QLatin1String("TPicLayer")) Modes.push_back(enablePicture);
    return Modes;
}

void TMainForm::UpdatePropertiesMode() {
    if (!FSelectedDocForm || !FSelectedDocForm->Selection()) return;
    // Every mode that holds is applied in turn; the palette ends in the last.
    for (TEnableType Mode : PropertiesModes(*FSelectedDocForm->Selection())) Palettes.SetPropertiesMode(Mode);
}

std::optional<TCommandStates> TMainForm::EnableSpecMenuItems() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) {
        // Nothing else changes without a document, but there is nothing to take back either.
        FView.ApplyCommandStates({{TCmd::Undo, false}, {TCmd::Redo, false}});
        return std::nullopt;
    }
    TImgView32* V = Doc->CurrentView();
    TPositionedLayer* S = Doc->Selection();
    TCommandStates St;

    const bool HasPicture = V && !V->Bitmap().Empty();
    for (TCmd C : {TCmd::Close, TCmd::Save, TCmd::SaveAs, TCmd::Print, TCmd::ExtLayer, TCmd::PicLayer})
        St[C] = HasPicture;
    St[TCmd::Flatten] = HasPicture && V->Layers().Count() >= 1;

    for (TCmd C : {TCmd::Rotate90, TCmd::Rotate270, TCmd::RotateAngel, TCmd::FlipVert, TCmd::FlipHorz,
                   TCmd::Scale, TCmd::MotionBlur, TCmd::Emboss, TCmd::Soften, TCmd::Sharpen,
                   TCmd::ColorAmboss, TCmd::StrongSharpen, TCmd::Relief, TCmd::FineRelief, TCmd::Delete})
        St[C] = S != nullptr;
    const bool Raise = S && CanRaiseLayer(*S);
    St[TCmd::BringFront] = Raise;
    St[TCmd::LevelUp] = Raise;
    const bool Lower = S && S->Index() > 0;
    St[TCmd::SendBack] = Lower;
    St[TCmd::LevelDown] = Lower;

    const bool HasFrames = Doc->FrameCount() > 0;
    for (TCmd C : {TCmd::GifPreview, TCmd::DeleteFrame, TCmd::FrameLeft, TCmd::FrameRight}) St[C] = HasFrames;
    St[TCmd::GifExport] = Doc->GifImg() != nullptr;
    St[TCmd::Undo] = Doc->CanUndo();
    St[TCmd::Redo] = Doc->CanRedo();
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
        for (int I = 0; I < Doc->FrameCount(); ++I) Doc->Frame(I).ImgView->SetCursor(Curs);
}

void TMainForm::ScaleComboChange(const QString& Text) {
    if (FSelectedDocForm) FSelectedDocForm->ScaleComboChange(Text);
}

} // namespace zp
