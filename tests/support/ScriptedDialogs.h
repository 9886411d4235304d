#pragma once

#include "document/UserDialogs.h"

#include <QString>
#include <QStringList>

#include <deque>

namespace zp {

// Records every message and answers questions from a queue (Cancel when it runs dry).
// Installs itself for its lifetime.
class TScriptedDialogs final : public TUserDialogs {
public:
    struct TEntry {
        QString Caption;
        QString Text;
        TMsgIcon Icon;
    };

    TScriptedDialogs() : Previous(SetUserDialogs(this)) {}
    ~TScriptedDialogs() override { SetUserDialogs(Previous); }
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    void ShowMessage(const QString& Caption, const QString& Text, TMsgIcon Icon) override {
        Shown.push_back({Caption, Text, Icon});
    }
    TModalResult AskYesNoCancel(const QString& Caption, const QString& Text) override {
        return Answer(Caption, Text, mrCancel);
    }
    TModalResult AskYesNo(const QString& Caption, const QString& Text) override {
        return Answer(Caption, Text, mrNo);
    }

    std::deque<TModalResult> Answers;
    std::deque<TEntry> Shown;

private:
    TModalResult Answer(const QString& Caption, const QString& Text, TModalResult WhenDry) {
        Shown.push_back({Caption, Text, TMsgIcon::Question});
        if (Answers.empty()) return WhenDry;
        const TModalResult R = Answers.front();
        Answers.pop_front();
        return R;
    }

    TUserDialogs* Previous;
};

} // namespace zp
