#pragma once

#include "document/PaletteState.h"
#include "ui/PaletteWindow.h"

#include <QElapsedTimer>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QToolButton;

namespace zp {

class TColorSwatch;
class TDocForm;
class TMainForm;
class TscFontComboBox;

// The properties palette ("Eigenschaften"): text and font, outline, drop shadow and fill
// pattern of the selected text or figure, and the line width and edge count of the drawing
// tools. It shows what the palette model holds (the main window loads a selected layer's style
// into it) and applies every change of the user at once to the selection, with undo. Its pages
// follow the model's mode. A floating, always-on-top tool window.
class TfrmFontProp final : public TPaletteWindow {
    Q_OBJECT
public:
    explicit TfrmFontProp(TMainForm& Model, QWidget* Parent = nullptr);
    ~TfrmFontProp() override;

    // Places and shows the window from the settings, relative to the main window.
    void Adjust(QWidget* MainWindow);
    // Shows the pages of a mode.
    void ChangeControlEnable(TEnableType Enabled);

    // --- the controls (tests look here)
    QTabWidget* Pages() const { return FPages; }
    QWidget* Page(const char* Name) const;
    QLineEdit* EditText() const { return FEditText; }
    TscFontComboBox* CmbBxFont() const { return FCmbBxFont; }
    QComboBox* FontSize() const { return FFontSize; }
    TColorSwatch* ShpColor() const { return FShpColor; }
    QToolButton* TlbtnBold() const { return FBold; }
    QToolButton* TlbtnItalic() const { return FItalic; }
    QToolButton* TlbtnUnderline() const { return FUnderline; }
    QToolButton* TlbtnStrikeOut() const { return FStrikeOut; }
    QCheckBox* CheckBoxBorder() const { return FCheckBoxBorder; }
    QComboBox* ComboBoxBorderWidth() const { return FBorderWidth; }
    TColorSwatch* ShpBorderColor() const { return FShpBorderColor; }
    QComboBox* ImgCmbDashStyle() const { return FDashStyle; }
    QSlider* GbarBorderTransparenz() const { return FBorderAlpha; }
    QLabel* LblBorderPercent() const { return FBorderPercent; }
    QCheckBox* CheckBoxShadow() const { return FCheckBoxShadow; }
    QSlider* GbXShift() const { return FGbXShift; }
    QSlider* GbYShift() const { return FGbYShift; }
    QLineEdit* EdtXShift() const { return FEdtXShift; }
    QLineEdit* EdtYShift() const { return FEdtYShift; }
    TColorSwatch* ShpShadowColor() const { return FShpShadowColor; }
    QSlider* GbarShadowTransparenz() const { return FShadowAlpha; }
    QLabel* LblShadowPercent() const { return FShadowPercent; }
    QLineEdit* EdtNumPolygonEdges() const { return FEdges; }
    QLineEdit* EdtLineWidth() const { return FLineWidth; }
    QCheckBox* ChkPattern() const { return FChkPattern; }
    QComboBox* ImgCmbPattern() const { return FPattern; }
    QComboBox* CmbPatternWrapMode() const { return FWrapMode; }
    QPushButton* BtnLoadPattern() const { return FLoadPattern; }

    // A typing or dragging burst ends after this long without an edit.
    static constexpr int BurstPause = 2000;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QWidget* BuildFontPage();
    QWidget* BuildBorderPage();
    QWidget* BuildShadowPage();
    QWidget* BuildPatternPage();
    QWidget* BuildNumberPage(const char* Name, int LabelTag, const char* Label, QLineEdit*& Edit);
    void Connect();

    // Shows the model's state; nothing is applied meanwhile.
    void ShowState(const TPaletteState& State);
    void EnableByChecks(const TPaletteState& State);
    // A user's edit: changes the model, then applies as the edit asks.
    void Edit(const std::function<void(TPaletteState&)>& Change);
    // Sender continues its burst while it is the control edited last, on the same layer, and
    // the pause was short; other controls start one.
    bool Continues(QObject* Sender);
    void ApplyToText(QObject* Sender = nullptr);
    void ApplyToSelection(QObject* Sender = nullptr, const QString& PatternFileName = QString());
    // Runs an apply; what it raises (a pattern file that cannot be read) is reported.
    void Apply(const std::function<void(TDocForm&)>& Run);

    void WidthChanged(bool Finished);
    void ShiftChanged(QLineEdit* Edit, QSlider* Gauge, bool X);
    void TextColorClicked();
    void TextColorMenu();
    void LoadPattern();

    TMainForm& FModel;
    int FModelHandler = 0;
    bool FUpdating = false;
    TEnableType FShownMode = enableDefault;
    bool FModeShown = false;
    // The burst: the control edited last, on which layer, and when.
    QPointer<QObject> FBurstControl;
    std::uint64_t FBurstLayer = 0;
    QElapsedTimer FBurstClock;

    QTabWidget* FPages;
    QWidget* FFontPage;
    QWidget* FBorderPage;
    QWidget* FShadowPage;
    QWidget* FPolygonPage;
    QWidget* FLinePage;
    QWidget* FPatternPage;
    QLabel* FLblText;
    QLineEdit* FEditText;
    TscFontComboBox* FCmbBxFont;
    QComboBox* FFontSize;
    TColorSwatch* FShpColor;
    QToolButton* FBold;
    QToolButton* FItalic;
    QToolButton* FUnderline;
    QToolButton* FStrikeOut;
    QCheckBox* FCheckBoxBorder;
    QLabel* FLblBorderWidth;
    QComboBox* FBorderWidth;
    QLabel* FLblBorderColor;
    TColorSwatch* FShpBorderColor;
    QComboBox* FDashStyle;
    QSlider* FBorderAlpha;
    QLabel* FBorderPercent;
    QLabel* FLblBorderDeckkraft;
    QCheckBox* FCheckBoxShadow;
    QSlider* FGbXShift;
    QSlider* FGbYShift;
    QLineEdit* FEdtXShift;
    QLineEdit* FEdtYShift;
    TColorSwatch* FShpShadowColor;
    QSlider* FShadowAlpha;
    QLabel* FShadowPercent;
    QLineEdit* FEdges;
    QLineEdit* FLineWidth;
    QCheckBox* FChkPattern;
    QComboBox* FPattern;
    QLabel* FLblWrapMode;
    QComboBox* FWrapMode;
    QPushButton* FLoadPattern;
    QList<QWidget*> FShadowControls;
};

// The sample pictures of the two image lists, drawn by the program's drawing binding: a
// 40 x 40 tile of hatch style Index (black on beige), an 80 x 20 line in dash style Index.
QImage HatchSample(int Index);
QImage DashSample(int Index);
// The hints of the list items.
QString HatchStyleName(int Index);
QString DashStyleName(int Index);

} // namespace zp
