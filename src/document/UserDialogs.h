#pragma once

#include <QString>

namespace zp {

enum class TMsgIcon { None, Information, Warning, Error, Question };

enum TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

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
};

// The implementation in use. Until one is installed, messages go to standard error and every
// question is answered with Cancel (or No), so nothing is changed or lost unasked.
TUserDialogs& UserDialogs();
// Installs Dialogs (not owned; null restores the default). Returns the previous one.
TUserDialogs* SetUserDialogs(TUserDialogs* Dialogs);

} // namespace zp
