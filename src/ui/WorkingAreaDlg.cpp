#include "ui/WorkingAreaDlg.h"

#include "document/UserDialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace zp {

TfrmWorkingAreaDlg::TfrmWorkingAreaDlg(QWidget* Parent)
    : QDialog(Parent), FLblWidth(new QLabel(this)), FLblHeight(new QLabel(this)),
      FEdtNewWidth(new QLineEdit(this)), FEdtNewHeight(new QLineEdit(this)),
      FChkProp(new QCheckBox(QStringLiteral("Proportionen beibehalten"), this)),
      FBtOK(new QPushButton(QStringLiteral("OK"), this)),
      FBtCancel(new QPushButton(QStringLiteral("Abbrechen"), this)) {
    setWindowTitle(QStringLiteral("Bild-Arbeitsflächengröße bearbeiten"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    FLblWidth->setObjectName(QStringLiteral("lblWidth"));
    FLblHeight->setObjectName(QStringLiteral("lblHeight"));
    FEdtNewWidth->setObjectName(QStringLiteral("edtNewWidth"));
    FEdtNewHeight->setObjectName(QStringLiteral("edtNewHeight"));
    FChkProp->setObjectName(QStringLiteral("chkProp"));
    FBtOK->setObjectName(QStringLiteral("btOK"));
    FBtCancel->setObjectName(QStringLiteral("btCancel"));
    FChkProp->setChecked(true);
    // Enter belongs to the size boxes: neither button is the default.
    for (QPushButton* B : {FBtOK, FBtCancel}) {
        B->setAutoDefault(false);
        B->setDefault(false);
    }
    for (QLineEdit* E : {FEdtNewWidth, FEdtNewHeight}) E->installEventFilter(this);

    auto* Old = new QGroupBox(QStringLiteral("Bisherige Größe"), this);
    Old->setObjectName(QStringLiteral("GroupBox1"));
    auto* OldGrid = new QGridLayout(Old);
    OldGrid->addWidget(new QLabel(QStringLiteral("Breite:"), Old), 0, 0);
    OldGrid->addWidget(FLblWidth, 0, 1, Qt::AlignRight);
    OldGrid->addWidget(new QLabel(QStringLiteral("Pixel"), Old), 0, 2);
    OldGrid->addWidget(new QLabel(QStringLiteral("Höhe:"), Old), 1, 0);
    OldGrid->addWidget(FLblHeight, 1, 1, Qt::AlignRight);
    OldGrid->addWidget(new QLabel(QStringLiteral("Pixel"), Old), 1, 2);
    OldGrid->setColumnStretch(3, 1);

    auto* New = new QGroupBox(QStringLiteral("Neue Größe"), this);
    New->setObjectName(QStringLiteral("GroupBox2"));
    auto* NewGrid = new QGridLayout(New);
    NewGrid->addWidget(new QLabel(QStringLiteral("Breite:"), New), 0, 0);
    NewGrid->addWidget(FEdtNewWidth, 0, 1);
    NewGrid->addWidget(new QLabel(QStringLiteral("Pixel"), New), 0, 2);
    NewGrid->addWidget(new QLabel(QStringLiteral("Höhe:"), New), 1, 0);
    NewGrid->addWidget(FEdtNewHeight, 1, 1);
    NewGrid->addWidget(new QLabel(QStringLiteral("Pixel"), New), 1, 2);
    NewGrid->addWidget(FChkProp, 2, 0, 1, 4);
    NewGrid->setColumnStretch(3, 1);
    for (QLineEdit* E : {FEdtNewWidth, FEdtNewHeight}) E->setParent(New), E->setFixedWidth(90);
    FChkProp->setParent(New);

    auto* Groups = new QHBoxLayout;
    Groups->addWidget(Old);
    Groups->addWidget(New);
    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch(1);
    Buttons->addWidget(FBtCancel);
    Buttons->addWidget(FBtOK);
    auto* Layout = new QVBoxLayout(this);
    Layout->addLayout(Groups);
    Layout->addStretch(1);
    Layout->addLayout(Buttons);
    setTabOrder(FEdtNewWidth, FEdtNewHeight);
    setTabOrder(FEdtNewHeight, FChkProp);
    setTabOrder(FChkProp, FBtCancel);
    setTabOrder(FBtCancel, FBtOK);
    connect(FBtOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(FBtCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(QSize(414, 217).expandedTo(sizeHint()));
}

void TfrmWorkingAreaDlg::showEvent(QShowEvent* Event) {
    FLblWidth->setText(QString::number(OldWidth));
    FEdtNewWidth->setText(QString::number(OldWidth));
    FLblHeight->setText(QString::number(OldHeight));
    FEdtNewHeight->setText(QString::number(OldHeight));
    FEdtNewWidth->setFocus();
    FEdtNewWidth->selectAll();
    QDialog::showEvent(Event);
}

double TfrmWorkingAreaDlg::GetSideRatio() const {
    return OldHeight != 0 ? static_cast<double>(OldWidth) / OldHeight : 0.0;
}

bool TfrmWorkingAreaDlg::ToInteger(const QString& Text, int& Value) {
    int I = 0;
    while (I < Text.size() && Text[I] == QLatin1Char(' ')) ++I;
    bool Negative = false;
    if (I < Text.size() && (Text[I] == QLatin1Char('-') || Text[I] == QLatin1Char('+')))
        Negative = Text[I++] == QLatin1Char('-');
    int Base = 10;
    if (I < Text.size() && Text[I] == QLatin1Char('$')) Base = 16, ++I;
    if (I >= Text.size()) return false;
    long long V = 0;
    for (; I < Text.size(); ++I) {
        const int D = Text[I].isDigit() ? Text[I].digitValue()
                      : Base == 16 && QStringLiteral("abcdef").contains(Text[I].toLower())
                          ? 10 + (Text[I].toLower().unicode() - 'a')
                          : -1;
        if (D < 0 || D >= Base) return false;
        V = V * Base + D;
        if (V > std::numeric_limits<unsigned>::max()) return false;
    }
    if (Negative) V = -V;
    if (V < std::numeric_limits<int>::min() || V > std::numeric_limits<int>::max()) return false;
    Value = static_cast<int>(V);
    return true;
}

bool TfrmWorkingAreaDlg::CheckSizeInput() {
    bool Ok = true;
    const auto Check = [&](QLineEdit* Box, const char* NotANumber, const char* TooSmall) {
        int V = 0;
        const bool Number = ToInteger(Box->text(), V);
        // A picture needs at least one pixel each way; nothing smaller reaches the document.
        if (Number && V >= 1) return;
        UserDialogs().ShowMessage(QStringLiteral("Fehler"), QString::fromUtf8(Number ? TooSmall : NotANumber),
                                  TMsgIcon::Error);
        Box->setFocus();
        Ok = false;
    };
    Check(FEdtNewWidth, "Bitte einen numerischen Wert für die Breite eingeben.",
          "Bitte für die Breite mindestens 1 Pixel eingeben.");
    Check(FEdtNewHeight, "Bitte einen numerischen Wert für die Höhe eingeben.",
          "Bitte für die Höhe mindestens 1 Pixel eingeben.");
    return Ok;
}

void TfrmWorkingAreaDlg::done(int Result) {
    if (Result != QDialog::Accepted) {
        QDialog::done(Result);
        return;
    }
    if (!CheckSizeInput()) return;
    ToInteger(FEdtNewWidth->text(), NewWidth);
    ToInteger(FEdtNewHeight->text(), NewHeight);
    QDialog::done(Result);
}

void TfrmWorkingAreaDlg::keyPressEvent(QKeyEvent* Event) {
    // Enter and Escape have no meaning of their own here: Enter is the size boxes' key.
    if (Event->key() == Qt::Key_Escape || Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
        Event->accept();
        return;
    }
    QDialog::keyPressEvent(Event);
}

bool TfrmWorkingAreaDlg::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::KeyRelease && (Watched == FEdtNewWidth || Watched == FEdtNewHeight))
        SizeKeyUp(static_cast<QLineEdit*>(Watched), static_cast<QKeyEvent*>(Event)->key());
    return QDialog::eventFilter(Watched, Event);
}

void TfrmWorkingAreaDlg::SizeKeyUp(QLineEdit* Box, int Key) {
    if (!FChkProp->isChecked()) return;
    // Keys that type nothing (the Tab that brought the focus here, arrows, modifiers) leave the
    // other box as the user made it.
    switch (Key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End: return;
    default: break;
    }
    const double R = GetSideRatio();
    int V = 0;
    if (ToInteger(Box->text(), V)) {
        if (Box == FEdtNewWidth)
            FEdtNewHeight->setText(QString::number(R != 0 ? static_cast<long long>(std::trunc(V / R)) : 1));
        else
            FEdtNewWidth->setText(QString::number(static_cast<long long>(std::trunc(R * V))));
    }
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter) done(QDialog::Accepted);
}

} // namespace zp
