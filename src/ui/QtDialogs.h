#pragma once

#include "document/UserDialogs.h"

#include <functional>
#include <memory>

class QTranslator;
class QUrl;
class QWidget;

namespace zp {

class TDlgWhatToDo;
class TNewImageForm;
class TfrmNewFrame;
class TfrmDlgReplaceFile;
class TfrmAngel;
class TfrmMotionBlur;
class TAboutBox;
class TfrmTemplate;
class THelpWindow;

// The user dialogs as Qt windows. The program's own dialogs are created once and reused.
class TQtUserDialogs final : public TUserDialogs {
public:
    explicit TQtUserDialogs(QWidget* MainWindow);
    ~TQtUserDialogs() override;

    void ShowMessage(const QString& Caption, const QString& Text, TMsgIcon Icon) override;
    TModalResult AskYesNoCancel(const QString& Caption, const QString& Text) override;
    TModalResult AskYesNo(const QString& Caption, const QString& Text) override;
    int AskWhatToDo(const QString& Caption) override;
    bool AskNewImage(TNewImage& Result) override;
    int AskNewFrame() override;
    TModalResult AskReplaceFile(const QString& FileName) override;
    bool AskAngle(QString& Text) override;
    bool AskMotionBlur(int& Strength, int& Direction) override;
    bool AskResize(const QString& Caption, int OldWidth, int OldHeight, int& NewWidth,
                   int& NewHeight) override;
    QString AskOpenFileName(const QString& Filter, int& FilterIndex) override;
    QString AskSaveFileName(const QString& Filter, int& FilterIndex, const QString& FileName) override;
    bool AskColor(TColor& Color) override;
    void ShowAbout() override;
    // In the desktop's browser; where it has none, in the program's help window.
    void ShowHelpPage(const QString& Path) override;
    QString AskTemplate(bool IsPicTemplates) override;
    std::unique_ptr<TProgress> StartProgress(const QString& Text) override;

    TDlgWhatToDo& WhatToDo() const { return *FWhatToDo; }
    TNewImageForm& NewImage() const { return *FNewImage; }
    // The help window once a page was shown in it; null before.
    THelpWindow* HelpWindow() const { return FHelp; }

    // Hands a page to the desktop; false when the desktop has no program for it.
    std::function<bool(const QUrl&)> OpenUrl;

    // "Text|*.a;*.b|..." as Qt name filters.
    static QStringList QtFilters(const QString& Filter);

private:
    // Created in this order, once, at start-up.
    QWidget* FMainWindow;
    TNewImageForm* FNewImage;
    TDlgWhatToDo* FWhatToDo;
    TfrmDlgReplaceFile* FReplaceFile;
    TfrmNewFrame* FNewFrame;
    TfrmTemplate* FTemplate;
    TAboutBox* FAbout;
    TfrmAngel* FAngel;
    TfrmMotionBlur* FMotionBlur;
    // Made when first needed: most desktops show the help themselves.
    THelpWindow* FHelp = nullptr;
};

// Qt's own texts (file and colour dialogs, standard buttons) in German. Translator has to live
// as long as the windows.
void UseGermanQt(QTranslator& Translator);

} // namespace zp
