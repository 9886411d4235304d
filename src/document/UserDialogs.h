#pragma once

#include "raster/Color32.h"

#include <QString>

#include <memory>

namespace zp {

enum class TMsgIcon { None, Information, Warning, Error, Question };

enum TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

// Progress of a long piece of work, shown once it takes longer than about half a second.
class TProgress {
public:
    virtual ~TProgress() = default;
    // Done of Total steps are finished; false when the user asked to cancel.
    virtual bool Step(int Done, int Total) = 0;
};

// Every question or message to the user goes through this interface: the application installs
// the Qt dialogs, tests install a scripted implementation, batch mode one that only prints.
// Core code never opens a window itself. Add operations here as windows need them.
class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;

    // A modal message box with one OK button.
    virtual void ShowMessage(const QString& Caption, const QString& Text, TMsgIcon Icon) = 0;
    // Yes / No / Cancel; closing the box counts as Cancel.
    virtual TModalResult AskYesNoCancel(const QString& Caption, const QString& Text) = 0;
    // Yes / No; closing the box counts as No.
    virtual TModalResult AskYesNo(const QString& Caption, const QString& Text) = 0;

    // The modal dialogs of the program. Each default answers as if the user cancelled.

    // What to do at start or on "Neu": 0 cancelled, 1 new picture, 2 open a file, 3 template.
    virtual int AskWhatToDo(const QString& Caption);
    // The new-image dialog; on OK fills the size and background colour.
    struct TNewImage {
        int Width = 468;
        int Height = 60;
        TColor BackColor = 0x00FFFFFF;
    };
    virtual bool AskNewImage(TNewImage& Result);
    // The new-frame dialog: 0 cancelled, 1 background and all layers, 2 background only, 3 empty.
    virtual int AskNewFrame();
    // An existing file: mrYes to replace it, mrNo to choose another name, mrCancel to stop.
    virtual TModalResult AskReplaceFile(const QString& FileName);
    // The angle dialog; on OK the entered text.
    virtual bool AskAngle(QString& Text);
    // The motion-blur dialog; on OK the strength (1..10) and the direction's list position.
    virtual bool AskMotionBlur(int& Strength, int& Direction);
    // The size dialog of "Arbeitsfläche" and "Bildgröße" under Caption, starting from the
    // present size; on OK the size the user confirmed.
    virtual bool AskResize(const QString& Caption, int OldWidth, int OldHeight, int& NewWidth,
                           int& NewHeight);
    // File dialogs. Filter uses "Text|*.a;*.b|..." pairs; FilterIndex counts from 1 and is
    // updated to the entry the user chose. An empty result means cancelled.
    virtual QString AskOpenFileName(const QString& Filter, int& FilterIndex);
    virtual QString AskSaveFileName(const QString& Filter, int& FilterIndex, const QString& FileName);
    // The colour dialog at Color; false when cancelled.
    virtual bool AskColor(TColor& Color);
    // The template browser: a banner project, or a picture when IsPicTemplates; empty when none.
    virtual QString AskTemplate(bool IsPicTemplates);
    // The about box.
    virtual void ShowAbout();
    // The help page at Path (an existing HTML file) for the user to read. The default names
    // the file, so that a help request never goes unanswered.
    virtual void ShowHelpPage(const QString& Path);
    // Progress with a cancel button for work that may take a while; the default never cancels.
    virtual std::unique_ptr<TProgress> StartProgress(const QString& Text);
};

// The implementation in use. Until one is installed, messages go to standard error and every
// question is answered with Cancel (or No), so nothing is changed or lost unasked.
TUserDialogs& UserDialogs();
// Installs Dialogs (not owned; null restores the default). Returns the previous one.
TUserDialogs* SetUserDialogs(TUserDialogs* Dialogs);

} // namespace zp
