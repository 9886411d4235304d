#include "ui/QtDialogs.h"

#include "shell/LangText.h"
#include "ui/AboutBox.h"
#include "ui/Dialogs.h"
#include "ui/HelpWindow.h"
#include "ui/TemplateBrowser.h"
#include "ui/WorkingAreaDlg.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTranslator>
#include <QUrl>

namespace zp {

TQtUserDialogs::TQtUserDialogs(QWidget* MainWindow)
    : FMainWindow(MainWindow), FNewImage(new TNewImageForm(MainWindow)),
      FWhatToDo(new TDlgWhatToDo(MainWindow)),
      FReplaceFile(new TfrmDlgReplaceFile([](const QString& Key) { return LangText(Key); }, MainWindow)),
      FNewFrame(new TfrmNewFrame(MainWindow)), FTemplate(new TfrmTemplate(MainWindow)),
      FAbout(new TAboutBox(MainWindow)), FAngel(new TfrmAngel(MainWindow)),
      FMotionBlur(new TfrmMotionBlur(MainWindow)) {
    OpenUrl = [](const QUrl& Url) { return QDesktopServices::openUrl(Url); };
    FNewImage->AskColor = [this](TColor& C) { return AskColor(C); };
}

// The dialogs are children of the main window and go with it.
TQtUserDialogs::~TQtUserDialogs() = default;

void TQtUserDialogs::ShowMessage(const QString& Caption, const QString& Text, TMsgIcon Icon) {
    QMessageBox::Icon I = QMessageBox::Information;
    switch (Icon) {
    case TMsgIcon::None: I = QMessageBox::NoIcon; break;
    case TMsgIcon::Information: I = QMessageBox::Information; break;
    case TMsgIcon::Warning: I = QMessageBox::Warning; break;
    case TMsgIcon::Error: I = QMessageBox::Critical; break;
    case TMsgIcon::Question: I = QMessageBox::Question; break;
    }
    QMessageBox Box(I, Caption, Text, QMessageBox::Ok, FMainWindow);
    Box.exec();
}

TModalResult TQtUserDialogs::AskYesNoCancel(const QString& Caption, const QString& Text) {
    QMessageBox Box(QMessageBox::Warning, Caption, Text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, FMainWindow);
    Box.setDefaultButton(QMessageBox::Yes);
    Box.setEscapeButton(QMessageBox::Cancel);
    switch (Box.exec()) {
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    default: return mrCancel;
    }
}

TModalResult TQtUserDialogs::AskYesNo(const QString& Caption, const QString& Text) {
    QMessageBox Box(QMessageBox::Question, Caption, Text, QMessageBox::Yes | QMessageBox::No, FMainWindow);
    Box.setEscapeButton(QMessageBox::No);
    return Box.exec() == QMessageBox::Yes ? mrYes : mrNo;
}

int TQtUserDialogs::AskWhatToDo(const QString& Caption) {
    FWhatToDo->setWindowTitle(Caption);
    return FWhatToDo->Execute();
}

bool TQtUserDialogs::AskNewImage(TNewImage& Result) {
    if (FNewImage->exec() != QDialog::Accepted) return false;
    Result.Width = FNewImage->ImageWidth();
    Result.Height = FNewImage->ImageHeight();
    Result.BackColor = FNewImage->BackColor();
    return true;
}

int TQtUserDialogs::AskNewFrame() {
    return FNewFrame->Execute();
}

TModalResult TQtUserDialogs::AskReplaceFile(const QString& FileName) {
    return FReplaceFile->Ask(FileName);
}

bool TQtUserDialogs::AskAngle(QString& Text) {
    FAngel->Edit()->clear();
    if (FAngel->exec() != QDialog::Accepted) return false;
    Text = FAngel->Edit()->text();
    return true;
}

bool TQtUserDialogs::AskMotionBlur(int& Strength, int& Direction) {
    if (FMotionBlur->exec() != QDialog::Accepted) return false;
    Strength = FMotionBlur->Strength();
    Direction = FMotionBlur->Direction();
    return true;
}

bool TQtUserDialogs::AskResize(const QString& Caption, int OldWidth, int OldHeight, int& NewWidth,
                               int& NewHeight) {
    // A fresh dialog each time, with the proportion kept.
    TfrmWorkingAreaDlg Dialog(FMainWindow);
    Dialog.setWindowTitle(Caption);
    Dialog.OldWidth = OldWidth;
    Dialog.OldHeight = OldHeight;
    if (Dialog.exec() != QDialog::Accepted) return false;
    NewWidth = Dialog.NewWidth;
    NewHeight = Dialog.NewHeight;
    return true;
}

QStringList TQtUserDialogs::QtFilters(const QString& Filter) {
    const QStringList Parts = Filter.split(QLatin1Char('|'));
    QStringList Result;
    for (int I = 0; I + 1 < Parts.size(); I += 2) {
        QString Name = Parts[I];
        // The pattern list in the text is shown by Qt from the patterns themselves.
        const int Paren = Name.indexOf(QLatin1Char('('));
        if (Paren > 0) Name = Name.left(Paren).trimmed();
        QString Patterns = Parts[I + 1];
        Patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        Result << QStringLiteral("%1 (%2)").arg(Name, Patterns);
    }
    return Result;
}

QString TQtUserDialogs::AskOpenFileName(const QString& Filter, int& FilterIndex) {
    QFileDialog Dialog(FMainWindow);
    Dialog.setAcceptMode(QFileDialog::AcceptOpen);
    Dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList Filters = QtFilters(Filter);
    Dialog.setNameFilters(Filters);
    if (FilterIndex >= 1 && FilterIndex <= Filters.size()) Dialog.selectNameFilter(Filters[FilterIndex - 1]);
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return {};
    FilterIndex = static_cast<int>(Filters.indexOf(Dialog.selectedNameFilter())) + 1;
    return Dialog.selectedFiles().first();
}

QString TQtUserDialogs::AskSaveFileName(const QString& Filter, int& FilterIndex, const QString& FileName) {
    QFileDialog Dialog(FMainWindow);
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The program asks its own replace question.
    Dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList Filters = QtFilters(Filter);
    Dialog.setNameFilters(Filters);
    if (FilterIndex >= 1 && FilterIndex <= Filters.size()) Dialog.selectNameFilter(Filters[FilterIndex - 1]);
    if (!FileName.isEmpty()) Dialog.selectFile(FileName);
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return {};
    FilterIndex = static_cast<int>(Filters.indexOf(Dialog.selectedNameFilter())) + 1;
    return Dialog.selectedFiles().first();
}

bool TQtUserDialogs::AskColor(TColor& Color) {
    const TColor32 C = Color32(Color);
    const QColor Chosen =
        QColorDialog::getColor(QColor(RedComponent(C), GreenComponent(C), BlueComponent(C)), FMainWindow);
    if (!Chosen.isValid()) return false;
    Color = WinColor(Color32(static_cast<unsigned>(Chosen.red()), static_cast<unsigned>(Chosen.green()),
                             static_cast<unsigned>(Chosen.blue())));
    return true;
}

void TQtUserDialogs::ShowAbout() {
    FAbout->exec();
}

void TQtUserDialogs::ShowHelpPage(const QString& Path) {
    if (OpenUrl && OpenUrl(QUrl::fromLocalFile(Path))) return;
    if (!FHelp) FHelp = new THelpWindow(FMainWindow);
    FHelp->ShowPage(Path);
}

namespace {

// Appears only when the work takes longer than half a second.
class TQtProgress final : public TProgress {
public:
    TQtProgress(const QString& Text, QWidget* Parent)
        : FDialog(Text, QStringLiteral("Abbrechen"), 0, 1, Parent) {
        FDialog.setWindowModality(Qt::WindowModal);
        FDialog.setMinimumDuration(500);
        FDialog.setAutoClose(false);
        FDialog.setAutoReset(false);
        FDialog.setValue(0);
    }
    bool Step(int Done, int Total) override {
        FDialog.setMaximum(std::max(Total, 1));
        FDialog.setValue(std::min(Done, FDialog.maximum()));
        // Until the dialog shows, it blocks no input: keep the user's clicks for later then.
        QCoreApplication::processEvents(FDialog.isVisible() ? QEventLoop::AllEvents
                                                            : QEventLoop::ExcludeUserInputEvents);
        return !FDialog.wasCanceled();
    }

private:
    QProgressDialog FDialog;
};

} // namespace

std::unique_ptr<TProgress> TQtUserDialogs::StartProgress(const QString& Text) {
    return std::make_unique<TQtProgress>(Text, FMainWindow);
}

} // namespace zp

namespace zp {

QString TQtUserDialogs::AskTemplate(bool IsPicTemplates) {
    return FTemplate->Choose(IsPicTemplates);
}

} // namespace zp

namespace zp {

void UseGermanQt(QTranslator& Translator) {
    if (Translator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&Translator);
}

} // namespace zp
