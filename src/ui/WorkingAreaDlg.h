#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zp {

// The size dialog of "Arbeitsfläche" and "Bildgröße": the present size, and the new one, which
// can keep the width-to-height proportion while it is typed. Enter in a size box confirms while
// the proportion is kept; OK checks both boxes first.
class TfrmWorkingAreaDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWorkingAreaDlg(QWidget* Parent = nullptr);

    // Set by the caller before the dialog is shown.
    int OldWidth = 0;
    int OldHeight = 0;
    // What the user confirmed; valid after the dialog closed with OK.
    int NewWidth = 0;
    int NewHeight = 0;

    QLineEdit* EdtNewWidth() const { return FEdtNewWidth; }
    QLineEdit* EdtNewHeight() const { return FEdtNewHeight; }
    QCheckBox* ChkProp() const { return FChkProp; }
    QLabel* LblWidth() const { return FLblWidth; }
    QLabel* LblHeight() const { return FLblHeight; }
    QPushButton* BtOK() const { return FBtOK; }
    QPushButton* BtCancel() const { return FBtCancel; }

    // Both boxes, width first; a failing box gets its message and the focus.
    bool CheckSizeInput();
    // Width to height of the present size; 0 for a height of 0.
    double GetSideRatio() const;
    // A whole 32-bit number as the boxes take it: blanks, a sign, decimal or "$" hexadecimal.
    static bool ToInteger(const QString& Text, int& Value);

    void done(int Result) override;

protected:
    void showEvent(QShowEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void SizeKeyUp(QLineEdit* Box, int Key);

    QLabel* FLblWidth;
    QLabel* FLblHeight;
    QLineEdit* FEdtNewWidth;
    QLineEdit* FEdtNewHeight;
    QCheckBox* FChkProp;
    QPushButton* FBtOK;
    QPushButton* FBtCancel;
};

} // namespace zp
