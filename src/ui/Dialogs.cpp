#include "ui/Dialogs.h"

#include "ui/Icons.h"
#include "ui/LangCaptions.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace zp {

namespace {

QDialogButtonBox* OkCancel(QDialog* Dialog, const QString& Ok, const QString& Cancel, int OkTag = 0,
                           int CancelTag = 0) {
    auto* Box = new QDialogButtonBox(Dialog);
    QPushButton* OkButton = Box->addButton(Ok, QDialogButtonBox::AcceptRole);
    QPushButton* CancelButton = Box->addButton(Cancel, QDialogButtonBox::RejectRole);
    OkButton->setDefault(true);
    if (OkTag) SetTag(OkButton, OkTag);
    if (CancelTag) SetTag(CancelButton, CancelTag);
    QObject::connect(Box, &QDialogButtonBox::accepted, Dialog, &QDialog::accept);
    QObject::connect(Box, &QDialogButtonBox::rejected, Dialog, &QDialog::reject);
    return Box;
}

} // namespace

// ---------------------------------------------------------------- start choice

TDlgWhatToDo::TDlgWhatToDo(QWidget* Parent) : QDialog(Parent) {
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* Layout = new QVBoxLayout(this);
    auto* Group = new QGroupBox(QStringLiteral("Was möchten Sie tun?"), this);
    auto* GroupLayout = new QVBoxLayout(Group);
    const char* Texts[3] = {"Neues Bild erstellen", "Bild/Projektdatei öffnen", "aus Vorlage auswählen"};
    const QIcon Icons[3] = {CommandIcon(QStringLiteral("StartNew")), CommandIcon(QStringLiteral("StartOpen")),
                            CommandIcon(QStringLiteral("StartTemplate"))};
    for (int I = 0; I < 3; ++I) {
        FChoices[I] = new QRadioButton(QString::fromUtf8(Texts[I]), Group);
        FChoices[I]->setIcon(Icons[I]);
        FChoices[I]->setIconSize(QSize(24, 24));
        GroupLayout->addWidget(FChoices[I]);
    }
    Layout->addWidget(Group);
    Layout->addWidget(OkCancel(this, QStringLiteral("OK"), QStringLiteral("Abbrechen")));
    resize(289, 195);
}

int TDlgWhatToDo::Execute() {
    FChoices[0]->setChecked(true);
    FChoices[0]->setFocus();
    const int Result = exec();
    if (OnDone) OnDone();
    if (Result != QDialog::Accepted) return 0;
    if (FChoices[2]->isChecked()) return 3;
    if (FChoices[1]->isChecked()) return 2;
    return 1;
}

// ---------------------------------------------------------------- new image

const TNewImageForm::TStandardSize TNewImageForm::StandardSizes[14] = {
    {"andere Größe", 468, 60},
    {"468x60 Voll-Banner", 468, 60},
    {"234x60 Halb-Banner", 234, 60},
    {"392x72 Full Banner (vert.Nav)", 392, 72},
    {"156x60 Drittel-Banner", 156, 60},
    {"400x50 OMS-Banner", 400, 50},
    {"130x80 Großer Button", 130, 80},
    {"137x60 Kleiner Button", 137, 60},
    {"125x125 Großes Quadrat", 125, 125},
    {"120x240 Vertikal-Banner", 120, 240},
    {"120x90 Button I", 120, 90},
    {"120x60 Button II", 120, 60},
    {"75x75 Kleines Quadrat", 75, 75},
    {"88x31 Micro-Button", 88, 31},
};

TNewImageForm::TNewImageForm(QWidget* Parent)
    : QDialog(Parent), FSizes(new QComboBox(this)), FWidth(new QSpinBox(this)), FHeight(new QSpinBox(this)),
      FSwatch(new QToolButton(this)) {
    setWindowTitle(QStringLiteral("Neues Bild"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    for (const TStandardSize& S : StandardSizes) FSizes->addItem(QString::fromUtf8(S.Text));

    auto* Form = new QFormLayout;
    Form->addRow(QStringLiteral("Standardgrößen:"), FSizes);
    for (QSpinBox* Edit : {FWidth, FHeight}) {
        Edit->setRange(1, 10000);
        Edit->setSuffix(QString());
        Edit->installEventFilter(this);
        Edit->findChild<QLineEdit*>()->installEventFilter(this);
    }
    auto Row = [this](QSpinBox* Edit) {
        auto* Box = new QHBoxLayout;
        Box->addWidget(Edit);
        Box->addWidget(new QLabel(QStringLiteral("Pixel"), this));
        Box->addStretch();
        return Box;
    };
    Form->addRow(QStringLiteral("Breite:"), Row(FWidth));
    Form->addRow(QStringLiteral("Höhe:"), Row(FHeight));
    auto* ColorRow = new QHBoxLayout;
    FSwatch->setFixedSize(40, 22);
    auto* Choose = new QPushButton(QStringLiteral("wählen"), this);
    ColorRow->addWidget(FSwatch);
    ColorRow->addWidget(Choose);
    ColorRow->addStretch();
    Form->addRow(QStringLiteral("Hintergrundfarbe:"), ColorRow);
    connect(FSwatch, &QToolButton::clicked, this, &TNewImageForm::ChooseColor);
    connect(Choose, &QPushButton::clicked, this, &TNewImageForm::ChooseColor);

    auto* Layout = new QVBoxLayout(this);
    Layout->addLayout(Form);
    Layout->addWidget(OkCancel(this, QStringLiteral("OK"), QStringLiteral("Abrechen"), 0, 149));
    setFixedSize(sizeHint());

    connect(FSizes, qOverload<int>(&QComboBox::activated), this, &TNewImageForm::SelectSize);
    FSizes->setCurrentIndex(1);
    SelectSize(1);
    SetBackColor(0x00FFFFFF);
}

int TNewImageForm::ImageWidth() const {
    return FWidth->value();
}
int TNewImageForm::ImageHeight() const {
    return FHeight->value();
}

void TNewImageForm::SetBackColor(TColor Color) {
    FColor = Color;
    const TColor32 C = Color32(Color);
    QPixmap Pix(32, 16);
    Pix.fill(QColor(RedComponent(C), GreenComponent(C), BlueComponent(C)));
    FSwatch->setIcon(QIcon(Pix));
    FSwatch->setIconSize(Pix.size());
}

void TNewImageForm::SelectSize(int Index) {
    if (Index < 0 || Index >= 14) return;
    FSizes->setCurrentIndex(Index);
    FWidth->setValue(StandardSizes[Index].Width);
    FHeight->setValue(StandardSizes[Index].Height);
    const bool Custom = Index == 0;
    FWidth->setEnabled(Custom);
    FHeight->setEnabled(Custom);
    if (Custom) {
        FWidth->setFocus();
        FWidth->selectAll();
    } else if (auto* Box = findChild<QDialogButtonBox*>()) {
        Box->buttons().first()->setFocus();
    }
}

void TNewImageForm::showEvent(QShowEvent* Event) {
    // A picture on the clipboard proposes its own size.
    const QImage Clip = QGuiApplication::clipboard()->image();
    if (!Clip.isNull()) {
        SelectSize(0);
        FWidth->setValue(Clip.width());
        FHeight->setValue(Clip.height());
    }
    QDialog::showEvent(Event);
}

bool TNewImageForm::eventFilter(QObject* Object, QEvent* Event) {
    // Enter in the size edits must not close the dialog half-typed.
    if (Event->type() == QEvent::KeyPress) {
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if (Key == Qt::Key_Return || Key == Qt::Key_Enter) return true;
    }
    return QDialog::eventFilter(Object, Event);
}

void TNewImageForm::ChooseColor() {
    TColor C = FColor;
    if (AskColor && AskColor(C)) SetBackColor(C);
}

// ---------------------------------------------------------------- new frame

TfrmNewFrame::TfrmNewFrame(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(QStringLiteral("Neues Frame erzeugen"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* Layout = new QVBoxLayout(this);
    auto* Group = new QGroupBox(QStringLiteral("Was möchten Sie tun?"), this);
    auto* GroupLayout = new QVBoxLayout(Group);
    auto* Note =
        new QLabel(QStringLiteral("Wählen Sie hier, welche Elemente Sie aus der aktuellen Ansicht in das "
                                  "neue Frame übernehmen möchten."),
                   Group);
    Note->setWordWrap(true);
    GroupLayout->addWidget(Note);
    const char* Texts[3] = {"Hintergrund sowie alle Text- und Bildelemente übernehmen",
                            "nur Hintergrundbild übernehmen", "neues leeres Frame erzeugen"};
    for (int I = 0; I < 3; ++I) {
        FChoices[I] = new QRadioButton(QString::fromUtf8(Texts[I]), Group);
        GroupLayout->addWidget(FChoices[I]);
    }
    FChoices[0]->setChecked(true);
    Layout->addWidget(Group);
    Layout->addWidget(OkCancel(this, QStringLiteral("Ok"), QStringLiteral("Abbrechen")));
    resize(366, 237);
}

int TfrmNewFrame::Execute() {
    if (exec() != QDialog::Accepted) return 0;
    if (FChoices[2]->isChecked()) return 3;
    if (FChoices[1]->isChecked()) return 2;
    return 1;
}

// ---------------------------------------------------------------- replace file

TfrmDlgReplaceFile::TfrmDlgReplaceFile(TLangTextFn LangText, QWidget* Parent)
    : QDialog(Parent), FLangText(std::move(LangText)), FText(new QLabel(this)),
      FReplace(new QRadioButton(QStringLiteral("Vorhandene Datei ersetzen"), this)),
      FOther(new QRadioButton(QStringLiteral("Änderungen unter anderem Namen speichern"), this)) {
    setWindowTitle(QStringLiteral("Zelk - Animoro"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    FText->setWordWrap(true);
    FText->setFixedWidth(297);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(FText);
    Layout->addWidget(new QLabel(QStringLiteral("Möchten Sie:"), this));
    Layout->addWidget(FReplace);
    Layout->addWidget(FOther);
    Layout->addWidget(OkCancel(this, QStringLiteral("Ok"), QStringLiteral("Abbrechen")));
}

TModalResult TfrmDlgReplaceFile::Ask(const QString& FileName) {
    const QString Name = FileName.mid(FileName.lastIndexOf(QLatin1Char('/')) + 1);
    FText->setText(FLangText(QStringLiteral("TextPart1")) + QLatin1Char(' ') + Name + QLatin1Char(' ') +
                   FLangText(QStringLiteral("TextPart2")));
    FReplace->setChecked(true);
    adjustSize();
    if (exec() != QDialog::Accepted) return mrCancel;
    return FReplace->isChecked() ? mrYes : mrNo;
}

// ---------------------------------------------------------------- angle

TfrmAngel::TfrmAngel(QWidget* Parent) : QDialog(Parent), FEdit(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Angel"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* Label = new QLabel(QStringLiteral("Angel"), this);
    SetTag(Label, 147);
    FEdit->setMaxLength(4);
    // Digits, and a minus sign only at the first position.
    FEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), FEdit));
    auto* Row = new QHBoxLayout;
    Row->addWidget(Label);
    Row->addWidget(FEdit);
    auto* Layout = new QVBoxLayout(this);
    Layout->addLayout(Row);
    Layout->addWidget(OkCancel(this, QStringLiteral("okay"), QStringLiteral("cancel"), 148, 149));
    resize(213, 73);
}

// ---------------------------------------------------------------- motion blur

TfrmMotionBlur::TfrmMotionBlur(QWidget* Parent)
    : QDialog(Parent), FStrength(new QComboBox(this)), FDirection(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("MotionBlur"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    for (int I = 1; I <= 10; ++I) FStrength->addItem(QString::number(I));
    for (const char* Text :
         {"rechts", "links", "oben", "unten", "oben-links", "oben-rechts", "unten-links", "unten-rechts"})
        FDirection->addItem(QString::fromUtf8(Text));
    SetTag(FDirection, 99);
    auto* StrengthLabel = new QLabel(QStringLiteral("Stärke"), this);
    auto* DirectionLabel = new QLabel(QStringLiteral("Richtung"), this);
    SetTag(StrengthLabel, 97);
    SetTag(DirectionLabel, 98);
    auto* Form = new QFormLayout;
    Form->addRow(StrengthLabel, FStrength);
    Form->addRow(DirectionLabel, FDirection);
    auto* Layout = new QVBoxLayout(this);
    Layout->addLayout(Form);
    Layout->addWidget(OkCancel(this, QStringLiteral("okay"), QStringLiteral("cancel"), 148, 149));
    resize(212, 120);
    Reset();
}

void TfrmMotionBlur::Reset() {
    FStrength->setCurrentIndex(2);  // "3"
    FDirection->setCurrentIndex(5); // top-right
}

int TfrmMotionBlur::Strength() const {
    return FStrength->currentText().toInt();
}
int TfrmMotionBlur::Direction() const {
    return FDirection->currentIndex();
}

void TfrmMotionBlur::showEvent(QShowEvent* Event) {
    Reset();
    QDialog::showEvent(Event);
}

// ---------------------------------------------------------------- splash and product picture

QPixmap ProductPicture(int Width, int Height, bool WithTexts) {
    QPixmap Pix(Width, Height);
    QPainter P(&Pix);
    P.setRenderHint(QPainter::Antialiasing);
    QLinearGradient Sky(0, 0, 0, Height);
    Sky.setColorAt(0, QColor(0x1d, 0x3b, 0x6e));
    Sky.setColorAt(1, QColor(0x4f, 0x9d, 0xd9));
    P.fillRect(Pix.rect(), Sky);

    // Three frames of a film strip, each a little further along: an animation in one picture.
    const double S = std::min(Width, Height) / 300.0;
    const QRectF Strip(20 * S, Height * 0.18, Width - 40 * S, 110 * S);
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(0x22, 0x22, 0x22));
    P.drawRoundedRect(Strip, 6 * S, 6 * S);
    P.setBrush(QColor(0xee, 0xee, 0xee));
    for (double X = Strip.left() + 8 * S; X < Strip.right() - 8 * S; X += 18 * S) {
        P.drawRect(QRectF(X, Strip.top() + 5 * S, 9 * S, 7 * S));
        P.drawRect(QRectF(X, Strip.bottom() - 12 * S, 9 * S, 7 * S));
    }
    const double FrameW = (Strip.width() - 16 * S) / 3;
    const QColor Colors[3] = {QColor(0xf5, 0xa6, 0x23), QColor(0xe9, 0x4e, 0x3c), QColor(0x7e, 0xd3, 0x21)};
    for (int I = 0; I < 3; ++I) {
        const QRectF F(Strip.left() + 8 * S + I * FrameW + 2 * S, Strip.top() + 17 * S, FrameW - 4 * S,
                       76 * S);
        P.setBrush(Qt::white);
        P.drawRect(F);
        P.setBrush(Colors[I]);
        const double R = 14 * S + I * 5 * S;
        P.drawEllipse(QPointF(F.left() + F.width() * (0.3 + 0.2 * I), F.center().y()), R, R);
    }
    if (WithTexts) {
        P.setPen(Qt::white);
        QFont Title(QStringLiteral("Arial"));
        Title.setPixelSize(static_cast<int>(30 * S));
        Title.setBold(true);
        P.setFont(Title);
        P.drawText(QRectF(0, Height * 0.6, Width, 40 * S), Qt::AlignCenter, QStringLiteral("Zelk - Pixaro"));
        QFont Sub(QStringLiteral("Arial"));
        Sub.setPixelSize(static_cast<int>(13 * S));
        P.setFont(Sub);
        P.drawText(QRectF(0, Height * 0.6 + 42 * S, Width, 24 * S), Qt::AlignCenter,
                   QStringLiteral("Animierte Web-Banner gestalten"));
    }
    return Pix;
}

TSplash::TSplash(QWidget* Parent) : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(301, 296);
    if (const QScreen* Screen = QGuiApplication::primaryScreen())
        move(Screen->geometry().center() - rect().center());
}

void TSplash::paintEvent(QPaintEvent*) {
    QPainter P(this);
    P.drawPixmap(0, 0, ProductPicture(width(), height(), true));
}

} // namespace zp
