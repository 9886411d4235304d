#include "document/UserDialogs.h"

#include <cstdio>

namespace zp {

namespace {

class TConsoleDialogs final : public TUserDialogs {
public:
    void ShowMessage(const QString& Caption, const QString& Text, TMsgIcon) override {
        std::fprintf(stderr, "%s: %s\n", Caption.toUtf8().constData(), Text.toUtf8().constData());
    }
    TModalResult AskYesNoCancel(const QString& Caption, const QString& Text) override {
        ShowMessage(Caption, Text, TMsgIcon::Question);
        return mrCancel;
    }
    TModalResult AskYesNo(const QString& Caption, const QString& Text) override {
        ShowMessage(Caption, Text, TMsgIcon::Question);
        return mrNo;
    }
};

TConsoleDialogs ConsoleDialogs;
TUserDialogs* Current = &ConsoleDialogs;

} // namespace

int TUserDialogs::AskWhatToDo(const QString&) {
    return 0;
}
bool TUserDialogs::AskNewImage(TNewImage&) {
    return false;
}
int TUserDialogs::AskNewFrame() {
    return 0;
}
TModalResult TUserDialogs::AskReplaceFile(const QString&) {
    return mrCancel;
}
bool TUserDialogs::AskAngle(QString&) {
    return false;
}
bool TUserDialogs::AskMotionBlur(int&, int&) {
    return false;
}
QString TUserDialogs::AskOpenFileName(const QString&, int&) {
    return {};
}
QString TUserDialogs::AskSaveFileName(const QString&, int&, const QString&) {
    return {};
}
bool TUserDialogs::AskResize(const QString&, int, int, int&, int&) {
    return false;
}
bool TUserDialogs::AskColor(TColor&) {
    return false;
}
QString TUserDialogs::AskTemplate(bool) {
    return {};
}
void TUserDialogs::ShowAbout() {}
void TUserDialogs::ShowHelpPage(const QString& Path) {
    ShowMessage(QStringLiteral("Hilfe"), QStringLiteral("Die Hilfe steht in %1").arg(Path),
                TMsgIcon::Information);
}

namespace {
class TSilentProgress final : public TProgress {
public:
    bool Step(int, int) override { return true; }
};
} // namespace

std::unique_ptr<TProgress> TUserDialogs::StartProgress(const QString&) {
    return std::make_unique<TSilentProgress>();
}

TUserDialogs& UserDialogs() {
    return *Current;
}

TUserDialogs* SetUserDialogs(TUserDialogs* Dialogs) {
    TUserDialogs* Previous = Current == &ConsoleDialogs ? nullptr : Current;
    Current = Dialogs ? Dialogs : &ConsoleDialogs;
    return Previous;
}

} // namespace zp
