// The command router of the main window and the commands longer than one call.
#include "shell/MainForm.h"

#include "document/UserDialogs.h"
#include "shell/Places.h"
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
    case TCmd::End: FView.CloseMainWindow(); break;
    case TCmd::ResizeLayer:
        if (Doc) Doc->LayerResetScale();
        break;
    case TCmd::NewFrame: NewFrameFromDialog(); break;
    case TCmd::DeleteFrame: DeleteFrame(); break;
    case TCmd::FrameLeft: MoveFrameLeft(); break;
    case TCmd::FrameRight: MoveFrameRight(); break;
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
