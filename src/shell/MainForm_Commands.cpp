// The command router of the main window and the commands longer than one call.
#include "shell/MainForm.h"

#include "document/UserDialogs.h"
#include "files/AnimGif.h"
#include "shell/Places.h"
#include "shell/Settings.h"
#include "shell/Version.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace zp {

void TMainForm::Execute(TCmd Command) {
    TDocForm* Doc = FSelectedDocForm;
    switch (Command) {
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
    case TCmd::ResizeLayer:
        if (Doc) Doc->LayerResetScale();
        break;
    case TCmd::NewFrame: NewFrameFromDialog(); break;
    case TCmd::DeleteFrame: DeleteFrame(); break;
    case TCmd::FrameLeft: MoveFrameLeft(); break;
    case TCmd::FrameRight: MoveFrameRight(); break;
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
    default:
        // The remaining commands belong to parts of the program that are not there yet, or
        // have no action at all (the hidden items).
        break;
    }
}

void TMainForm::NewFrameFromDialog() {
    TDocForm* Doc = FSelectedDocForm;
    if (!Doc) return;
    const int Choice = UserDialogs().AskNewFrame();
    switch (Choice) {
    case 1:
    case 2: Doc->CreateNewFrame(Choice); break;
    case 3: {
        TImgView32* Old = Doc->CurrentView();
        const int W = Old ? Old->Bitmap().Width() : 0, H = Old ? Old->Bitmap().Height() : 0;
        Doc->CreateNewFrame(3);
        // Colour 1 of the tool palette; black until the palette exists.
        Doc->NewImage(W, H, 0);
        break;
    }
    default: break;
    }
    if (Doc->CurrentView()) {
        EnableSpecMenuItems();
        FView.PaletteFrameShown(*Doc, Doc->GetIndex());
        UpdatePropertiesMode();
        FView.SetZoomText(QString::fromLatin1(ZoomItems[4]));
        FView.ActivatePointerTool();
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
    const QString Ext = ExtensionOf(Doc.FileName);
    if (!Doc.FileName.isEmpty() && Ext.compare(QLatin1String(".dgm"), Qt::CaseInsensitive) == 0)
        return Doc.SelectSaveMethod(Doc.FileName, Ext);
    return SaveDocumentAs(Doc, 1);
}

bool TMainForm::SaveDocumentAs(TDocForm& Doc, int FilterIndex) {
    for (;;) {
        int Index = FilterIndex;
        QString Name =
            UserDialogs().AskSaveFileName(QString::fromUtf8(SaveImgViewFilter), Index, Doc.FileName);
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
            if (Ext == QLatin1String(".dgm")) Doc.FileName = Name;
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
    if (!AssembleGif(*Doc) || !Doc->GifImg) return;
    QString Preset = Doc->AnimGifFileName;
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
    switch (Tool) {
    case ptPaintPolygon: FView.ChangeControlEnable(enablePolygon); break;
    case ptPaintLine: FView.ChangeControlEnable(enableLine); break;
    case ptPaintRectangle: FView.ChangeControlEnable(enableRectangle); break;
    case ptPaintEllipse: FView.ChangeControlEnable(enableEllipse); break;
    default: break;
    }
    ManageZeigerTool();
}

void TMainForm::ManageZeigerTool() {
    for (const auto& Doc : DocFormList) Doc->SetMouseEvents(true);
}

void TMainForm::ShowHelp() {
    const QString Help = ProgramFolder() + QStringLiteral("/help/index.html");
    if (QFileInfo(Help).isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(Help));
    else
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                                  QStringLiteral("Die Hilfe wurde nicht gefunden:\n%1").arg(Help),
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
