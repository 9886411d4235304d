#pragma once

#include "document/UserDialogs.h"
#include "raster/Color32.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace zp {

using TLangTextFn = std::function<QString(const QString& Key)>;

// Start choice: a new picture, a file, or a template.
class TDlgWhatToDo : public QDialog {
    Q_OBJECT
public:
    explicit TDlgWhatToDo(QWidget* Parent = nullptr);
    // 0 cancelled, 1 new picture, 2 open picture or project, 3 from template.
    int Execute();
    // Called when the dialog closes, whatever the answer (the start-up action counts as done).
    std::function<void()> OnDone;

    QRadioButton* Choice(int Index) const { return FChoices[Index]; }

private:
    QRadioButton* FChoices[3];
};

// New picture: a standard banner size or another size, and a background colour.
class TNewImageForm : public QDialog {
    Q_OBJECT
public:
    struct TStandardSize {
        const char* Text;
        int Width;
        int Height;
    };
    static const TStandardSize StandardSizes[14];

    explicit TNewImageForm(QWidget* Parent = nullptr);

    int ImageWidth() const;
    int ImageHeight() const;
    TColor BackColor() const { return FColor; }
    void SetBackColor(TColor Color);
    void SelectSize(int Index);
    QComboBox* SizeList() const { return FSizes; }
    QSpinBox* WidthEdit() const { return FWidth; }
    QSpinBox* HeightEdit() const { return FHeight; }

    // Chooses the background colour; the application installs the colour dialog.
    std::function<bool(TColor&)> AskColor;

protected:
    void showEvent(QShowEvent* Event) override;
    bool eventFilter(QObject* Object, QEvent* Event) override;

private:
    void ChooseColor();

    QComboBox* FSizes;
    QSpinBox* FWidth;
    QSpinBox* FHeight;
    QToolButton* FSwatch;
    TColor FColor = 0x00FFFFFF;
};

// New frame: copy everything, the background only, or an empty frame.
class TfrmNewFrame : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNewFrame(QWidget* Parent = nullptr);
    // 0 cancelled, 1 background and all layers, 2 background only, 3 empty frame.
    int Execute();
    QRadioButton* Choice(int Index) const { return FChoices[Index]; }

private:
    QRadioButton* FChoices[3];
};

// Whether to replace an existing file or save under another name.
class TfrmDlgReplaceFile : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDlgReplaceFile(TLangTextFn LangText, QWidget* Parent = nullptr);
    // True only when "replace" is chosen and OK pressed.
    bool Execute(const QString& FileName) { return Ask(FileName) == mrYes; }
    // mrYes: replace; mrNo: save under another name; mrCancel: cancelled.
    TModalResult Ask(const QString& FileName);
    QLabel* Text() const { return FText; }
    QRadioButton* Replace() const { return FReplace; }
    QRadioButton* SaveOther() const { return FOther; }

private:
    TLangTextFn FLangText;
    QLabel* FText;
    QRadioButton* FReplace;
    QRadioButton* FOther;
};

// Rotation angle in degrees.
class TfrmAngel : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAngel(QWidget* Parent = nullptr);
    QLineEdit* Edit() const { return FEdit; }

private:
    QLineEdit* FEdit;
};

// Motion blur strength and direction.
class TfrmMotionBlur : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMotionBlur(QWidget* Parent = nullptr);
    int Strength() const;
    // Position in the direction list (right, left, top, bottom, top-left, top-right,
    // bottom-left, bottom-right).
    int Direction() const;
    void Reset();
    QComboBox* StrengthList() const { return FStrength; }
    QComboBox* DirectionList() const { return FDirection; }

protected:
    void showEvent(QShowEvent* Event) override;

private:
    QComboBox* FStrength;
    QComboBox* FDirection;
};

// The borderless picture shown while the program starts.
class TSplash : public QWidget {
    Q_OBJECT
public:
    explicit TSplash(QWidget* Parent = nullptr);

protected:
    void paintEvent(QPaintEvent* Event) override;
};

// The product picture of the splash window and the about box.
QPixmap ProductPicture(int Width, int Height, bool WithTexts);

} // namespace zp
