#pragma once

#include <QComboBox>
#include <QStringList>

namespace zp {

class TFontPreview;

// The font picker of the properties palette: every installed family (the metric-compatible
// stand-ins such as "Arial" included), each shown in its own face, the five fonts used last on
// top, typing to jump, and a sample of the highlighted font beside the open list.
class TscFontComboBox final : public QComboBox {
    Q_OBJECT
public:
    enum TFontType { ftTrueTypeAnsi = 1, ftTrueTypeSymbol = 2, ftRaster = 4 };
    static constexpr int MaxUsed = 5;

    explicit TscFontComboBox(QWidget* Parent = nullptr, int FontTypes = ftTrueTypeAnsi | ftTrueTypeSymbol);
    ~TscFontComboBox() override;

    // Lists these families (default: the installed ones) with their type codes ("Name=TA").
    void Fill(const QStringList& Families);
    // The committed font's name.
    QString FontName() const;
    // Selects and commits the first item of that name; nothing happens for an unknown name.
    void SetFontName(const QString& Name);
    // The fonts used last, newest first.
    QStringList UsedFonts() const;
    // The item's stored text, "Name=TA" for a TrueType face, "=TS" for a symbol face.
    QString ItemCode(int Index) const;
    // The sample window shown beside the open list.
    QWidget* Preview() const;

    void showPopup() override;
    void hidePopup() override;

signals:
    // A font was chosen from the list (not set from code).
    void FontChosen(const QString& Name);

private:
    void Commit(int Index);
    void ShowPreview(int Index);

    int FFontTypes;
    int FUsed = 0;
    TFontPreview* FPreview;
};

} // namespace zp
