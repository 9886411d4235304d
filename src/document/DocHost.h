#pragma once

#include "document/Clipboard.h"
#include "document/PaletteState.h"

#include <QHash>
#include <QString>

#include <functional>

namespace zp {

// What a document needs from the main window that holds it. A document tells what changed
// through its events (DocEvents.h), never through its host.
class TDocHost {
public:
    virtual ~TDocHost() = default;

    // A text of the language file by key.
    virtual QString LangText(const QString& Key) = 0;
    // Numbers the unnamed documents ("TxtUnknown" followed by the counter).
    virtual int UnknownCounter() const = 0;
    virtual void SetUnknownCounter(int Value) = 0;
    // What the palettes hold now.
    virtual const TPaletteState& Palette() const = 0;
    // A canvas tool corrects what it read (a clamped line width, the pattern switched off
    // by a gradient); the palettes show the corrected state.
    virtual void ChangePalette(const std::function<void(TPaletteState&)>& Edit) = 0;
    // The program's clipboard, shared by all documents of the host.
    virtual TProgramClipboard& ProgramClipboard() = 0;
};

// A host for documents without a main window (tests, conversion without a display):
// texts from a table (the key itself when missing), its own counter and palette values.
class TPlainDocHost : public TDocHost {
public:
    QHash<QString, QString> Texts;
    int Counter = 0;
    TPaletteState PaletteValues;
    TProgramClipboard Clipboard;

    QString LangText(const QString& Key) override { return Texts.value(Key, Key); }
    int UnknownCounter() const override { return Counter; }
    void SetUnknownCounter(int Value) override { Counter = Value; }
    const TPaletteState& Palette() const override { return PaletteValues; }
    void ChangePalette(const std::function<void(TPaletteState&)>& Edit) override { Edit(PaletteValues); }
    TProgramClipboard& ProgramClipboard() override { return Clipboard; }
};

} // namespace zp
