#pragma once

#include <QObject>

#include <initializer_list>

class QWidget;

namespace zp {

class TIniFile;

// How a tagged control takes its text from the language file.
enum TCaptionKind {
    ckAuto,           // by class: labels, buttons, check boxes, menus, actions, tab pages: caption;
                      // tool buttons: caption and hint; combo boxes 99 and 146: their items
    ckCaption,        // the visible text (a tab page's tab, a group box's title)
    ckCaptionAndHint, // caption and tool tip, for tool-bar actions and tool buttons
    ckHint,           // only the tool tip: icon buttons of a palette, colour swatches
};

// The tag is the control's key in the language file; 0 means untagged.
void SetTag(QObject* Control, int Tag, TCaptionKind Kind = ckAuto);
int Tag(const QObject* Control);

struct TTaggedControl {
    QObject* Control;
    int Tag;
    TCaptionKind Kind = ckAuto;
};

// A window registers all its tagged controls in one statement:
//   SetTags({{lblZoom, 162}, {btnZeiger, 107, ckHint}, {ShpColor1, 114, ckHint}});
void SetTags(std::initializer_list<TTaggedControl> Controls);

// Gives every tagged control below Window its text from the "Deutsch" section of lang.ini,
// whatever language the settings name; the window's own tag is not used. Keys the file lacks,
// or a missing file, give "Text-Error!".
void LoadCaptions(QWidget* Window);
// The same for every window of the application; run again whenever new windows exist.
void LoadCaptions();
// The same from an already opened language file.
void LoadCaptions(QWidget* Window, const TIniFile& LangFile);

} // namespace zp
