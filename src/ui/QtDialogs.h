#pragma once

#include "document/UserDialogs.h"

#include <memory>

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
    QString AskTemplate(bool IsPicTemplates) override;
    std::unique_ptr<TProgress> StartProgress(const QString& Text) override;

    TDlgWhatToDo& WhatToDo() const { return *FWhatToDo; }
    TNewImageForm& NewImage() const { return *FNewImage; }

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
};

} // namespace zp
