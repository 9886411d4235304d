#pragma once

#include <QHash>
#include <QString>

namespace zp {

class TDocForm;

// What a document needs from the main window that holds it.
class TDocHost {
public:
    virtual ~TDocHost() = default;

    // A text of the language file by key.
    virtual QString LangText(const QString& Key) = 0;
    // Numbers the unnamed documents ("TxtUnknown" followed by the counter).
    virtual int UnknownCounter() const = 0;
    virtual void SetUnknownCounter(int Value) = 0;
    // The selected layer of a document changed.
    virtual void SelectionChanged(TDocForm& Doc) = 0;
    // The zoom box shows the current frame's zoom.
    virtual void SetZoomText(const QString& Text) = 0;
    // The user switched to a frame page: the frames palette shows that frame.
    virtual void FrameShown(TDocForm& Doc, int FrameIndex) = 0;
};

// A host for documents without a main window (tests, conversion without a display):
// texts from a table (the key itself when missing), its own counter, nothing to refresh.
class TPlainDocHost : public TDocHost {
public:
    QHash<QString, QString> Texts;
    int Counter = 0;
    QString ZoomText;
    int SelectionChanges = 0;

    QString LangText(const QString& Key) override { return Texts.value(Key, Key); }
    int UnknownCounter() const override { return Counter; }
    void SetUnknownCounter(int Value) override { Counter = Value; }
    void SelectionChanged(TDocForm&) override { ++SelectionChanges; }
    void SetZoomText(const QString& Text) override { ZoomText = Text; }
    void FrameShown(TDocForm&, int) override {}
};

} // namespace zp
