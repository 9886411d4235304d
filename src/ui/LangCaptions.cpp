#include "ui/LangCaptions.h"

#include "shell/IniFile.h"
#include "shell/LangText.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

namespace zp {

namespace {

constexpr const char* TagProperty = "zpTag";
constexpr const char* KindProperty = "zpCaptionKind";

constexpr int DirectionListTag = 99;
constexpr int WrapModeListTag = 146;
const char* const DirectionKeys[] = {"right",   "left",     "top",        "bottom",
                                     "topleft", "topright", "bottomleft", "bottomright"};
const char* const WrapModeKeys[] = {"Tile", "TileFlipX", "TileFlipY", "TileFlipXY", "Clamp"};

// A page of a tab widget sits in the tab widget's private stack.
QTabWidget* TabWidgetOfPage(QObject* Control) {
    auto* Page = qobject_cast<QWidget*>(Control);
    if (!Page || !qobject_cast<QStackedWidget*>(Page->parentWidget())) return nullptr;
    return qobject_cast<QTabWidget*>(Page->parentWidget()->parentWidget());
}

TCaptionKind KindByClass(QObject* Control) {
    if (qobject_cast<QToolButton*>(Control)) return ckCaptionAndHint;
    if (qobject_cast<QAbstractButton*>(Control) || qobject_cast<QLabel*>(Control) ||
        qobject_cast<QMenu*>(Control) || qobject_cast<QAction*>(Control) || TabWidgetOfPage(Control))
        return ckCaption;
    // Any other class keeps its text, like the page controls and windows that carry tags.
    return ckAuto;
}

void SetCaption(QObject* Control, const QString& Text) {
    if (auto* Menu = qobject_cast<QMenu*>(Control)) {
        Menu->setTitle(Text);
    } else if (auto* Action = qobject_cast<QAction*>(Control)) {
        Action->setText(Text);
    } else if (auto* Button = qobject_cast<QAbstractButton*>(Control)) {
        Button->setText(Text);
    } else if (auto* Label = qobject_cast<QLabel*>(Control)) {
        Label->setText(Text);
    } else if (auto* Group = qobject_cast<QGroupBox*>(Control)) {
        Group->setTitle(Text);
    } else if (QTabWidget* Tabs = TabWidgetOfPage(Control)) {
        auto* Page = static_cast<QWidget*>(Control);
        // A page taken out of its tab widget keeps its caption for when it comes back.
        Page->setWindowTitle(Text);
        const int Index = Tabs->indexOf(Page);
        if (Index >= 0) Tabs->setTabText(Index, Text);
    }
}

void SetHint(QObject* Control, const QString& Text) {
    if (auto* Action = qobject_cast<QAction*>(Control))
        Action->setToolTip(Text);
    else if (auto* Widget = qobject_cast<QWidget*>(Control))
        Widget->setToolTip(Text);
}

template <size_t N>
void SetItems(QComboBox* Combo, const TIniFile& Lang, const QString& Section, const char* const (&Keys)[N]) {
    const QString Missing = QString::fromUtf8(TextError);
    for (size_t I = 0; I < N; ++I) {
        const QString Text = Lang.ReadString(Section, QString::fromLatin1(Keys[I]), Missing);
        // Replacing in place keeps the current choice and any item data.
        if (int(I) < Combo->count())
            Combo->setItemText(int(I), Text);
        else
            Combo->addItem(Text);
    }
}

void ApplyToControl(QObject* Control, int TagValue, const TIniFile& Lang, const QString& Section) {
    if (auto* Combo = qobject_cast<QComboBox*>(Control)) {
        if (TagValue == DirectionListTag) SetItems(Combo, Lang, Section, DirectionKeys);
        if (TagValue == WrapModeListTag) SetItems(Combo, Lang, Section, WrapModeKeys);
        return;
    }
    TCaptionKind Kind = static_cast<TCaptionKind>(Control->property(KindProperty).toInt());
    if (Kind == ckAuto) Kind = KindByClass(Control);
    if (Kind == ckAuto) return;
    const QString Text = Lang.ReadString(Section, QString::number(TagValue), QString::fromUtf8(TextError));
    if (Kind == ckCaption || Kind == ckCaptionAndHint) SetCaption(Control, Text);
    if (Kind == ckHint || Kind == ckCaptionAndHint) SetHint(Control, Text);
}

void ApplyToControls(const QList<QObject*>& Controls, const TIniFile& Lang) {
    const QString Section = QString::fromUtf8(DefaultLanguage);
    for (QObject* Control : Controls) {
        const int TagValue = Tag(Control);
        if (TagValue != 0) ApplyToControl(Control, TagValue, Lang, Section);
    }
}

} // namespace

void SetTag(QObject* Control, int TagValue, TCaptionKind Kind) {
    Control->setProperty(TagProperty, TagValue);
    Control->setProperty(KindProperty, int(Kind));
}

int Tag(const QObject* Control) {
    return Control->property(TagProperty).toInt();
}

void SetTags(std::initializer_list<TTaggedControl> Controls) {
    for (const TTaggedControl& Tagged : Controls) SetTag(Tagged.Control, Tagged.Tag, Tagged.Kind);
}

void LoadCaptions(QWidget* Window, const TIniFile& LangFile) {
    ApplyToControls(Window->findChildren<QObject*>(), LangFile);
}

void LoadCaptions(QWidget* Window) {
    LoadCaptions(Window, TIniFile(LangFileName()));
}

void LoadCaptions() {
    const TIniFile Lang(LangFileName());
    // Menus are windows of their own and children of their main window; visit each control once.
    QSet<QObject*> Seen;
    QList<QObject*> Controls;
    for (QWidget* Window : QApplication::topLevelWidgets()) {
        for (QObject* Control : Window->findChildren<QObject*>()) {
            if (Seen.contains(Control)) continue;
            Seen.insert(Control);
            Controls.push_back(Control);
        }
    }
    ApplyToControls(Controls, Lang);
}

} // namespace zp
