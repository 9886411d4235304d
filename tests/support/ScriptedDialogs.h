#pragma once

#include "document/UserDialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <tuple>
#include <utility>

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
        ++Questions;
        Shown.push_back({Caption, Text, Icon});
    }
    TModalResult AskYesNoCancel(const QString& Caption, const QString& Text) override {
        return Answer(Caption, Text, mrCancel);
    }
    TModalResult AskYesNo(const QString& Caption, const QString& Text) override {
        return Answer(Caption, Text, mrNo);
    }

    int AskWhatToDo(const QString& Caption) override {
        ++Questions;
        Shown.push_back({Caption, QStringLiteral("WhatToDo"), TMsgIcon::Question});
        return Pop(WhatToDo, 0);
    }
    bool AskNewImage(TNewImage& Result) override {
        ++Questions;
        if (NewImages.empty()) return false;
        Result = NewImages.front();
        NewImages.pop_front();
        return true;
    }
    int AskNewFrame() override { return ++Questions, Pop(NewFrames, 0); }
    QString AskOpenFileName(const QString&, int&) override { return ++Questions, Pop(FileNames, QString()); }
    bool AskAngle(QString& Text) override {
        ++Questions;
        if (Angles.empty()) return false;
        Text = Pop(Angles, QString());
        return true;
    }
    bool AskMotionBlur(int& Strength, int& Direction) override {
        ++Questions;
        if (MotionBlurs.empty()) return false;
        std::tie(Strength, Direction) = Pop(MotionBlurs, std::pair{0, 0});
        return true;
    }
    void ShowAbout() override { ++Questions; }
    void ShowHelpPage(const QString& Path) override { ++Questions, HelpPages.push_back(Path); }
    // Records the preset name and filter entry, answers the next name and filter entry.
    QString AskSaveFileName(const QString&, int& FilterIndex, const QString& FileName) override {
        ++Questions;
        SavePresets.push_back({FileName, FilterIndex});
        if (SaveNames.empty()) return {};
        const auto [Name, Index] = SaveNames.front();
        SaveNames.pop_front();
        if (Index > 0) FilterIndex = Index;
        return Name;
    }
    TModalResult AskReplaceFile(const QString& FileName) override {
        ++Questions;
        Shown.push_back({QStringLiteral("Replace"), FileName, TMsgIcon::Question});
        return Pop(ReplaceAnswers, mrCancel);
    }
    std::unique_ptr<TProgress> StartProgress(const QString&) override {
        struct TCountingProgress : TProgress {
            TScriptedDialogs& Owner;
            explicit TCountingProgress(TScriptedDialogs& O) : Owner(O) {}
            bool Step(int, int) override { return !Owner.CancelProgress; }
        };
        return std::make_unique<TCountingProgress>(*this);
    }
    QString AskTemplate(bool) override { return ++Questions, Pop(Templates, QString()); }
    bool AskResize(const QString& Caption, int OldWidth, int OldHeight, int& NewWidth,
                   int& NewHeight) override {
        ++Questions;
        ResizesAsked.push_back({Caption, OldWidth, OldHeight});
        if (Resizes.empty()) return false;
        std::tie(NewWidth, NewHeight) = Pop(Resizes, std::pair{0, 0});
        return true;
    }
    // The colour dialog: the next colour, or Cancel when none is queued.
    bool AskColor(TColor& Color) override {
        ++Questions;
        if (Colors.empty()) return false;
        Color = Pop(Colors, Color);
        return true;
    }

    std::deque<TModalResult> Answers;
    std::deque<TEntry> Shown;
    std::deque<int> WhatToDo;
    std::deque<TNewImage> NewImages;
    std::deque<int> NewFrames;
    std::deque<QString> Angles;
    // Strength and the direction list's position.
    std::deque<std::pair<int, int>> MotionBlurs;
    // Every dialog shown, messages and questions alike.
    int Questions = 0;
    std::deque<QString> FileNames;
    std::deque<QString> Templates;
    // Save dialog answers: a name and the filter entry chosen (0 keeps the preset entry).
    std::deque<std::pair<QString, int>> SaveNames;
    std::deque<std::pair<QString, int>> SavePresets;
    std::deque<TModalResult> ReplaceAnswers;
    std::deque<TColor> Colors;
    // Size dialog answers, and what each showing was given.
    std::deque<std::pair<int, int>> Resizes;
    struct TResizeAsked {
        QString Caption;
        int OldWidth, OldHeight;
    };
    std::deque<TResizeAsked> ResizesAsked;
    // The help pages asked to be shown.
    std::deque<QString> HelpPages;
    bool CancelProgress = false;

private:
    template <class T> static T Pop(std::deque<T>& Queue, T WhenDry) {
        if (Queue.empty()) return WhenDry;
        T V = Queue.front();
        Queue.pop_front();
        return V;
    }

    TModalResult Answer(const QString& Caption, const QString& Text, TModalResult WhenDry) {
        ++Questions;
        Shown.push_back({Caption, Text, TMsgIcon::Question});
        if (Answers.empty()) return WhenDry;
        const TModalResult R = Answers.front();
        Answers.pop_front();
        return R;
    }

    TUserDialogs* Previous;
};

} // namespace zp
