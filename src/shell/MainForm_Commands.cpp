// The command router of the main window and the commands longer than one call.
#include "shell/MainForm.h"

#include "document/UserDialogs.h"
#include "files/AnimGif.h"
#include "shell/Places.h"
#include "shell/Settings.h"
#include "shell/Version.h"

#include <QFileInfo>
#include <QProcess>

namespace zp {

bool TMainForm::IsHiddenCommand(TCmd Command) {
    return Command == TCmd::Print || Command == TCmd::NewCustomLayer || Command == TCmd::SimpleDrawing ||
           Command == TCmd::NewBitmapRGBA;
}

void TMainForm::Execute(TCmd Command) {
    TDocForm* Doc = FSelectedDocForm;
    switch (Command) {
    case TCmd::None: break;
    case TCmd::FileNew: ShowStartChoice(LangText(QStringLiteral("Caption02"))); break;
    case TCmd::OpenFile: OpenFile(); break;
    case TCmd::OpenTemplate: OpenTemplateProject(); break;
    case TCmd::Close: CloseProject(Doc); break;
    case TCmd::Save:
        if (Doc) SaveDocument(*Doc);
        break;
    case TCmd::SaveAs:
        if (Doc) SaveDocumentAs(*Doc, 1);
        break;
    case TCmd::SaveAsPng:
        if (Doc) SaveDocumentAs(*Doc, 4);
        break;
    case TCmd::SaveAsJpg:
        if (Doc) SaveDocumentAs(*Doc, 2);
        break;
    case TCmd::End: FView.CloseMainWindow(); break;

    // --- Bearbeiten
    case TCmd::Undo:
        if (Doc) Doc->Undo(), ShowSelectedStyle();
        break;
    case TCmd::Redo:
        if (Doc) Doc->Redo(), ShowSelectedStyle();
        break;
    case TCmd::Rotate270:
        if (Doc) Doc->Rotate270Click();
        break;
    case TCmd::Rotate90:
        if (Doc) Doc->Rotate90Click();
        break;
    case TCmd::RotateAngel: RotateByAngle(); break;
    case TCmd::FlipVert:
        if (Doc) Doc->FlipVertClick();
        break;
    case TCmd::FlipHorz:
        if (Doc) Doc->FlipHorzClick();
        break;
    case TCmd::Scale:
        if (Doc) {
            ActivateZeigerTool();
            Doc->SetMouseEvents(false);
            Doc->SetRubberbandLayer(Doc->Selection());
        }
        break;

    // --- Ebene
    case TCmd::PicLayer:
    case TCmd::PicFromTemplate:
        if (Doc) {
            // While the dialog is open the canvas takes no clicks of its own.
            Doc->SetMouseEvents(false);
            // Whatever happens, the canvas tools come back and the states follow the result.
            struct TBack {
                TMainForm& M;
                TDocForm& D;
                ~TBack() {
                    D.SetMouseEvents(true);
                    M.EnableSpecMenuItems();
                }
            } Back{*this, *Doc};
            if (Command == TCmd::PicLayer)
                InsertPictureFromFile();
            else
                InsertPictureFromTemplate();
        }
        break;
    case TCmd::ExtLayer: NewTextLayer(); break;
    case TCmd::Delete: DeleteALayer(); break;
    case TCmd::ResizeLayer:
        if (Doc) Doc->LayerResetScale();
        break;
    case TCmd::BringFront:
    case TCmd::SendBack:
    case TCmd::LevelUp:
    case TCmd::LevelDown:
        if (Doc) {
            static const std::map<TCmd, int> Tags{
                {TCmd::BringFront, 27}, {TCmd::SendBack, 28}, {TCmd::LevelUp, 29}, {TCmd::LevelDown, 30}};
            Doc->Reorder(Tags.at(Command));
            EnableSpecMenuItems();
        }
        break;
    case TCmd::Flatten: FlattenCurrentFrame(); break;

    // --- Frames
    case TCmd::NewFrame: NewFrameFromDialog(); break;
    case TCmd::DeleteFrame: DeleteFrame(); break;
    case TCmd::FrameLeft: MoveFrameLeft(); break;
    case TCmd::FrameRight: MoveFrameRight(); break;

    // --- Effects
    case TCmd::MotionBlur: AddMotionBlur(); break;
    case TCmd::Emboss:
    case TCmd::Soften:
    case TCmd::Sharpen:
    case TCmd::ColorAmboss:
    case TCmd::StrongSharpen:
    case TCmd::Relief:
    case TCmd::FineRelief:
        if (Doc) {
            static const std::map<TCmd, TEffectType> Effects{{TCmd::Emboss, efEmboss},
                                                             {TCmd::Soften, efSoften},
                                                             {TCmd::Sharpen, efSharpen},
                                                             {TCmd::ColorAmboss, efColorEmboss},
                                                             {TCmd::StrongSharpen, efEdgesEnhance},
                                                             {TCmd::Relief, efFindEdges},
                                                             {TCmd::FineRelief, efLaplace}};
            Doc->AddEffect(Effects.at(Command));
        }
        break;

    // --- Fenster, Gif, Hilfe
    case TCmd::GifPreview: CreateGifImgPreview(); break;
    case TCmd::GifExport: ExportGif(); break;
    case TCmd::TextTool: FView.TogglePalette(QStringLiteral("mnTextTool")), ChangeMenuPic(); break;
    case TCmd::LayerTool: FView.TogglePalette(QStringLiteral("mnLayerTool")), ChangeMenuPic(); break;
    case TCmd::Paintbox: FView.TogglePalette(QStringLiteral("mnPaintbox")), ChangeMenuPic(); break;
    case TCmd::ResetPalettePosition:
        Settings().ResetFormProps();
        FView.AdjustPalettes();
        break;
    case TCmd::Help: ShowHelp(); break;
    case TCmd::Info: UserDialogs().ShowAbout(); break;
    case TCmd::NewVersion: StartUpdater(); break;

    // The hidden items have no action.
    case TCmd::Print:
    case TCmd::NewCustomLayer:
    case TCmd::SimpleDrawing:
    case TCmd::NewBitmapRGBA: break;

    case TCmd::Cut: CutToClipBoard(); break;
    case TCmd::Copy:
        if (Doc) Doc->CopyToHiddenImgView(cptClipBoard);
        break;
    case TCmd::Paste: InsertFromClipBoard(); break;

    case TCmd::WorkingArea: mnuWorkingAreaClick(); break;
    case TCmd::PictureSize: mnuPictureSizeClick(); break;
    }
}

void TMainForm::mnuWorkingAreaClick() {
    Resize(QStringLiteral("Bild-Arbeitsflächengröße bearbeiten"), false);
}

void TMainForm::mnuPictureSizeClick() {
    Resize(QStringLiteral("Bildgröße ändern"), true);
}

void TMainForm::Resize(const QString& Caption, bool Image) {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc || !Doc->CurrentView()) return;
    const TBitmap32& B = Doc->CurrentView()->Bitmap();
    int Width = 0, Height = 0;
    if (!UserDialogs().AskResize(Caption, B.Width(), B.Height(), Width, Height)) return;
    try {
        if (Image)
            Doc->ResizeImage(Width, Height);
        else
            Doc->ResizeDocument(Width, Height);
    } catch (const EResizeError& E) {
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), QString::fromUtf8(E.what()),
                                  TMsgIcon::Error);
    }
    EnableSpecMenuItems();
}

void TMainForm::NewTextLayer() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc || !Doc->NewTextLayer()) return;
    ActivateZeigerTool();
    if (FView.IsPaletteVisible(QStringLiteral("mnTextTool"))) {
        UpdatePropertiesMode();
        FView.FocusPropertiesText();
    }
    EnableSpecMenuItems();
}

void TMainForm::CutToClipBoard() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc || !Doc->Selection()) return;
    // A layer goes only once its copy is safe (a plain picture is not copied).
    const TStyledLayer* Before = FClipboard.Newest();
    Doc->CopyToHiddenImgView(cptClipBoard);
    if (FClipboard.Newest() != Before) DeleteALayer();
}

TBitmapLayer* TMainForm::InsertFromClipBoard() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) return nullptr;
    TBitmapLayer* Layer = Doc->InsertFromClipBoard();
    if (Layer) {
        ActivateZeigerTool();
        SelectionChanged();
    }
    return Layer;
}

void TMainForm::DeleteALayer() {
    if (FSelectedDocForm && FSelectedDocForm->Selection()) FSelectedDocForm->DeleteClick();
}

void TMainForm::InsertPictureFromFile() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc || !Doc->CurrentView()) return;
    int FilterIndex = 1;
    const QString Name = UserDialogs().AskOpenFileName(QString::fromUtf8(OpenPictureFilter), FilterIndex);
    if (Name.isEmpty()) return;
    if (Doc->OpenBitmapLayer(Name)) ActivateZeigerTool();
}

void TMainForm::InsertPictureFromTemplate() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc || !Doc->CurrentView()) return;
    const QString Path = UserDialogs().AskTemplate(true);
    const bool Empty = Doc->CurrentView()->Bitmap().Empty();
    if (!Path.isEmpty() && QFileInfo(Path).isFile() && !Empty) {
        if (Doc->OpenBitmapLayer(Path)) ActivateZeigerTool();
    } else if (Empty) {
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                                  LangText(QStringLiteral("TxtMissProj")), TMsgIcon::Information);
    } else if (!Path.isEmpty()) {
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                                  LangText(QStringLiteral("TxtMissFile")), TMsgIcon::Information);
    }
}

void TMainForm::FlattenCurrentFrame() {
    if (FSelectedDocForm && FSelectedDocForm->CurrentView()) FSelectedDocForm->FlattenImage();
}

void TMainForm::RotateByAngle() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) return;
    QString Text;
    if (!UserDialogs().AskAngle(Text) || Text.trimmed().isEmpty()) return;
    bool Ok = false;
    const double Angle = Text.trimmed().toDouble(&Ok);
    if (!Ok) {
        UserDialogs().ShowMessage(
            QString::fromUtf8(ApplicationTitle),
            QStringLiteral("„%1“ ist kein Winkel. Bitte geben Sie eine Zahl in Grad ein.")
                .arg(Text.trimmed()),
            TMsgIcon::Error);
        return;
    }
    Doc->RotateClick(static_cast<float>(Angle));
}

void TMainForm::AddMotionBlur() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) return;
    int Strength = 3, Direction = 5;
    if (!UserDialogs().AskMotionBlur(Strength, Direction)) return;
    if (Direction < bldRight || Direction > bldBottomRight) return;
    Doc->AddMotionBlurEffect(Strength, static_cast<TBlurDirection>(Direction));
}

void TMainForm::NewFrameFromDialog() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) return;
    const int Choice = UserDialogs().AskNewFrame();
    if (Choice >= 1 && Choice <= 3)
        Doc->CreateNewFrame(Choice, Color32(Palettes.State().Color1) | 0xFF000000u);
    if (Doc->CurrentView()) {
        EnableSpecMenuItems();
        Palettes.Change([&](TPaletteState& S) { S.FrameIndex = Doc->GetIndex(); });
        UpdatePropertiesMode();
        FView.SetZoomText(QString::fromLatin1(ZoomItems[4]));
        ActivateZeigerTool();
    }
    Doc->SelectLayer(nullptr);
}

void TMainForm::DeleteFrame() {
    if (!FSelectedDocForm) return;
    FSelectedDocForm->DeleteTabSheet();
    SelectionChanged();
}

void TMainForm::MoveFrameLeft() {
    if (!FSelectedDocForm) return;
    FSelectedDocForm->ShiftTabSheetLeft();
    SelectionChanged();
}

void TMainForm::MoveFrameRight() {
    if (!FSelectedDocForm) return;
    FSelectedDocForm->ShiftTabSheetRight();
    SelectionChanged();
}

namespace {

// The extension of a file name: from the last dot of its name on, the dot included.
QString ExtensionOf(const QString& Path) {
    const QString Name = QFileInfo(Path).fileName();
    const int Dot = Name.lastIndexOf(QLatin1Char('.'));
    return Dot < 0 ? QString() : Name.mid(Dot);
}

constexpr const char* FilterExtensions[] = {".dgm", ".jpg", ".bmp", ".png", ".gif"};

} // namespace

bool TMainForm::SaveDocument(TDocForm& Doc) {
    const QString Ext = ExtensionOf(Doc.FileName());
    if (!Doc.FileName().isEmpty() && Ext.compare(QLatin1String(".dgm"), Qt::CaseInsensitive) == 0)
        return Doc.SelectSaveMethod(Doc.FileName(), Ext);
    return SaveDocumentAs(Doc, 1);
}

bool TMainForm::SaveDocumentAs(TDocForm& Doc, int FilterIndex) {
    for (;;) {
        int Index = FilterIndex;
        QString Name =
            UserDialogs().AskSaveFileName(QString::fromUtf8(SaveImgViewFilter), Index, Doc.FileName());
        if (Name.isEmpty()) return false;
        QString Ext = ExtensionOf(Name);
        bool Known = false;
        for (const char* E : FilterExtensions)
            Known = Known || Ext.compare(QLatin1String(E), Qt::CaseInsensitive) == 0;
        if (Ext.trimmed().isEmpty() || !Known) {
            Ext = QString::fromLatin1(FilterExtensions[std::clamp(Index, 1, 5) - 1]);
            Name += Ext;
        }
        if (!QFileInfo::exists(Name)) return Doc.SelectSaveMethod(Name, Ext);
        switch (UserDialogs().AskReplaceFile(Name)) {
        case mrYes:
            if (Ext == QLatin1String(".dgm")) Doc.SetFileName(Name);
            return Doc.SelectSaveMethod(Name, Ext);
        case mrNo: continue;
        default: return false;
        }
    }
}

bool TMainForm::AssembleGif(TDocForm& Doc) {
    const auto Progress = UserDialogs().StartProgress(QStringLiteral("Die Animation wird erstellt ..."));
    const bool Done = Doc.CreateGifImgPreview(Progress.get());
    if (&Doc == FSelectedDocForm) EnableSpecMenuItems();
    return Done;
}

void TMainForm::CreateGifImgPreview() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) return;
    AssembleGif(*Doc);
    Doc->SetActivePage(Doc->TabSheetGif());
}

void TMainForm::ExportGif() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) return;
    Doc->SetActivePage(Doc->TabSheetGif());
    // A cancelled assembly must not save an older animation instead.
    if (!AssembleGif(*Doc) || !Doc->GifImg()) return;
    QString Preset = Doc->AnimGifFileName();
    for (;;) {
        int FilterIndex = 1;
        QString Name = UserDialogs().AskSaveFileName(QString::fromUtf8(SaveGifFilter), FilterIndex, Preset);
        if (Name.isEmpty()) return;
        Name = AnimGifFileNameWithExt(Name);
        Preset = Name;
        if (!QFileInfo::exists(Name)) {
            Doc->SaveAnimGif(Name);
            return;
        }
        switch (UserDialogs().AskReplaceFile(Name)) {
        case mrYes: Doc->SaveAnimGif(Name); return;
        case mrNo: continue;
        default: return;
        }
    }
}

void TMainForm::PaintboxToolClicked(TPaintTool Tool) {
    switch (Tool) {
    case ptZeiger: SetNewCursor(2); break;
    case ptColorFiller: SetNewCursor(117); break;
    case ptPipette: break;
    default: SetNewCursor(1); break;
    }
    // Only the mark tool keeps the marked rectangle.
    if (Tool != ptMark && FSelectedDocForm) FSelectedDocForm->DeleteMarkLayer();
    Palettes.SetTool(Tool);
    switch (Tool) {
    case ptPaintPolygon: Palettes.SetPropertiesMode(enablePolygon); break;
    case ptPaintLine: Palettes.SetPropertiesMode(enableLine); break;
    case ptPaintRectangle: Palettes.SetPropertiesMode(enableRectangle); break;
    case ptPaintEllipse: Palettes.SetPropertiesMode(enableEllipse); break;
    default: break;
    }
    ManageZeigerTool();
}

void TMainForm::ManageZeigerTool() {
    // Back to tool mode; a selection frame left from layer mode would only be in the way.
    for (const auto& Doc : DocFormList) Doc->ResetRubberbandLayer();
}

void TMainForm::ActivateZeigerTool() {
    Palettes.SetTool(ptZeiger);
    SetNewCursor(2);
}

void TMainForm::ShowHelp() {
    const QString Help = ProgramFolder() + QStringLiteral("/help/index.html");
    if (QFileInfo(Help).isFile())
        UserDialogs().ShowHelpPage(Help);
    else
        UserDialogs().ShowMessage(
            QString::fromUtf8(ApplicationTitle),
            QStringLiteral("Die Hilfe wurde nicht gefunden:\n%1\nBitte prüfen Sie, ob das "
                           "Programm vollständig installiert ist.")
                .arg(Help),
            TMsgIcon::Warning);
}

void TMainForm::StartUpdater() {
    for (const char* Name : {"updater", "updater.exe"}) {
        const QString Updater = ProgramFolder() + QLatin1Char('/') + QString::fromLatin1(Name);
        if (QFileInfo(Updater).isExecutable()) {
            QProcess::startDetached(Updater, {});
            return;
        }
    }
    UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                              QStringLiteral("Neue Versionen von Zelk - Pixaro erhalten Sie über die "
                                             "Paketverwaltung Ihres Systems."),
                              TMsgIcon::Information);
}

} // namespace zp
