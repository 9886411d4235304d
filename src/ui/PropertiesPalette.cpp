// The properties palette's controls, pages and modes, and how it shows the palette model.
#include "ui/PropertiesPalette.h"

#include "gfx/Hatch.h"
#include "shell/MainForm.h"
#include "shell/Settings.h"
#include "ui/ColorSwatch.h"
#include "ui/FontCombo.h"
#include "ui/LangCaptions.h"
#include "ui/StyleTweaks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zp {

namespace {

QLabel* Label(const QString& Text, QWidget* Parent, int Tag = 0) {
    auto* L = new QLabel(Text, Parent);
    if (Tag) SetTag(L, Tag);
    return L;
}

QSlider* Gauge(const char* Name, int Min, int Max, QWidget* Parent) {
    auto* S = new QSlider(Qt::Horizontal, Parent);
    S->setObjectName(QString::fromLatin1(Name));
    S->setRange(Min, Max);
    return S;
}

// Digits only, at most Length of them; with Minus a leading minus sign too (within Length).
void Numeric(QLineEdit* Edit, int Length, bool Minus = false) {
    const QString Pattern = Minus ? QStringLiteral("-?\\d{0,%1}|\\d{0,%2}").arg(Length - 1).arg(Length)
                                  : QStringLiteral("\\d{0,%1}").arg(Length);
    Edit->setValidator(new QRegularExpressionValidator(QRegularExpression(Pattern), Edit));
    Edit->setMaxLength(Length);
}

QComboBox* NumberCombo(const char* Name, const QStringList& Items, int Length, QWidget* Parent) {
    auto* C = new QComboBox(Parent);
    C->setObjectName(QString::fromLatin1(Name));
    C->setEditable(true);
    C->setInsertPolicy(QComboBox::NoInsert);
    C->addItems(Items);
    Numeric(C->lineEdit(), Length);
    return C;
}

QToolButton* StyleButton(const char* Name, const QString& Glyph, int Tag, QWidget* Parent,
                         void (QFont::*Set)(bool)) {
    auto* B = new QToolButton(Parent);
    B->setObjectName(QString::fromLatin1(Name));
    B->setCheckable(true);
    B->setText(Glyph);
    QFont F = B->font();
    (F.*Set)(true);
    B->setFont(F);
    B->setFixedSize(23, 22);
    SetTag(B, Tag, ckHint);
    return B;
}

QWidget* NewPage(const char* Name, const QString& Caption, int Tag) {
    auto* P = new QWidget;
    P->setObjectName(QString::fromLatin1(Name));
    P->setWindowTitle(Caption);
    SetTag(P, Tag, ckCaption);
    return P;
}

int Percent(int Gauge) {
    return Gauge * 100 / 255;
}

} // namespace

TfrmFontProp::TfrmFontProp(TMainForm& Model, QWidget* Parent)
    : TPaletteWindow(pkTextForm, Parent), FModel(Model), FPages(new QTabWidget(this)) {
    setObjectName(QStringLiteral("frmFontProp"));
    setWindowTitle(QStringLiteral("Eigenschaften"));
    FPages->setObjectName(QStringLiteral("PageControl1"));
    FFontPage = BuildFontPage();
    FBorderPage = BuildBorderPage();
    FShadowPage = BuildShadowPage();
    FPolygonPage = BuildNumberPage("TabSheetPolygon", 135, "Kantenanzahl:", FEdges);
    FPolygonPage->setWindowTitle(QStringLiteral("Polygon"));
    SetTag(FPolygonPage, 134, ckCaption);
    FEdges->setObjectName(QStringLiteral("edtNumPolygonEdges"));
    FLinePage = BuildNumberPage("TabSheetLine", 137, "Linienbreite", FLineWidth);
    FLinePage->setWindowTitle(QStringLiteral("Linie"));
    SetTag(FLinePage, 136, ckCaption);
    FLineWidth->setObjectName(QStringLiteral("edtLineWidth"));
    FPatternPage = BuildPatternPage();

    FLblText = Label(QStringLiteral("Text hier eingeben:"), this, 87);
    FEditText = new QLineEdit(this);
    FEditText->setObjectName(QStringLiteral("EditText"));
    FEditText->installEventFilter(this);

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(4, 4, 4, 4);
    Layout->setSpacing(3);
    Layout->addWidget(FPages, 1);
    Layout->addWidget(FLblText);
    Layout->addWidget(FEditText);
    // Wide enough for the tabs of every mode: none is cut off or hidden behind scroll arrows.
    int Widest = 0;
    for (TEnableType M : {enableDefault, enableText, enablePolygon, enableLine, enableEllipse,
                          enableRectangle, enablePicture}) {
        ChangeControlEnable(M);
        Widest = std::max(Widest, FPages->tabBar()->sizeHint().width());
    }
    FModeShown = false;
    setMinimumSize(
        std::max(196, Widest + Layout->contentsMargins().left() + Layout->contentsMargins().right() + 4),
        293);
    resize(minimumSize());

    Connect();
    FModelHandler = FModel.Palettes.OnChange.Add([this](const TPaletteState& S) { ShowState(S); });
    ShowState(FModel.Palettes.State());
}

TfrmFontProp::~TfrmFontProp() {
    FModel.Palettes.OnChange.Remove(FModelHandler);
}

QWidget* TfrmFontProp::BuildFontPage() {
    QWidget* P = NewPage("TabSheetFont", QStringLiteral("Schrift"), 83);
    FCmbBxFont = new TscFontComboBox(P);
    FCmbBxFont->setObjectName(QStringLiteral("CmbBxFont"));
    FCmbBxFont->SetFontName(QStringLiteral("Arial"));
    FFontSize = NumberCombo(
        "FontSize",
        {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"}, 3, P);
    FFontSize->setEditText(QStringLiteral("10"));
    FFontSize->lineEdit()->installEventFilter(this);
    FShpColor = new TColorSwatch(0x000000, P);
    FShpColor->setObjectName(QStringLiteral("ShpColor"));
    FShpColor->setFixedSize(25, 25);
    FShpColor->setToolTip(QStringLiteral("Textfarbe (rechte Maustaste: Farbe ohne Musterwechsel)"));
    FShpColor->setContextMenuPolicy(Qt::CustomContextMenu);
    // Fett, Kursiv, Unterstrichen, Durchgestrichen.
    FBold = StyleButton("tlbtnBold", QStringLiteral("F"), 84, P, &QFont::setBold);
    FItalic = StyleButton("tlbtnItalic", QStringLiteral("K"), 85, P, &QFont::setItalic);
    FUnderline = StyleButton("tlbtnUnderline", QStringLiteral("U"), 143, P, &QFont::setUnderline);
    FStrikeOut = StyleButton("tlbtnStrikeOut", QStringLiteral("S"), 144, P, &QFont::setStrikeOut);

    auto* G = new QGridLayout(P);
    G->setContentsMargins(4, 6, 4, 4);
    G->addWidget(FCmbBxFont, 0, 0, 1, 6);
    G->addWidget(FFontSize, 1, 0, 1, 2);
    G->addWidget(FShpColor, 1, 2);
    auto* Buttons = new QHBoxLayout;
    Buttons->setSpacing(1);
    for (QToolButton* B : {FBold, FItalic, FUnderline, FStrikeOut}) Buttons->addWidget(B);
    Buttons->addStretch(1);
    G->addLayout(Buttons, 2, 0, 1, 6);
    G->setRowStretch(3, 1);
    G->setColumnStretch(5, 1);
    return P;
}

QWidget* TfrmFontProp::BuildBorderPage() {
    QWidget* P = NewPage("TabSheetBorder", QStringLiteral("Rahmen"), 88);
    FCheckBoxBorder = new QCheckBox(QStringLiteral("Umrandung"), P);
    FCheckBoxBorder->setObjectName(QStringLiteral("CheckBoxBorder"));
    SetTag(FCheckBoxBorder, 89);
    QStringList Widths;
    for (int I = 1; I <= 30; ++I) Widths << QString::number(I);
    FBorderWidth = NumberCombo("ComboBoxBorderWidth", Widths, 2, P);
    FBorderWidth->setEditText(QStringLiteral("2"));
    FBorderWidth->lineEdit()->installEventFilter(this);
    FBorderWidth->setMaximumWidth(60);
    FLblBorderWidth = Label(QStringLiteral("Breite"), P, 91);
    FLblBorderColor = Label(QStringLiteral("Farbe"), P, 90);
    FShpBorderColor = new TColorSwatch(0x00FFFF, P);
    FShpBorderColor->setObjectName(QStringLiteral("ShpBorderColor"));
    FShpBorderColor->setFixedSize(25, 25);
    FDashStyle = new QComboBox(P);
    FDashStyle->setObjectName(QStringLiteral("ImgCmbDashStyle"));
    FDashStyle->setIconSize(QSize(80, 20));
    for (int I = 0; I < 5; ++I) {
        FDashStyle->addItem(QIcon(QPixmap::fromImage(DashSample(I))), QString());
        FDashStyle->setItemData(I, DashStyleName(I), Qt::ToolTipRole);
    }
    FDashStyle->setCurrentIndex(0);
    FBorderAlpha = Gauge("gbarBorderTransparenz", 0, 255, P);
    FBorderPercent = Label(QStringLiteral("100"), P);
    FBorderPercent->setObjectName(QStringLiteral("lblBorderTransparenz"));
    FLblBorderDeckkraft = Label(QStringLiteral("% Deckkraft"), P, 86);

    auto* G = new QGridLayout(P);
    G->setContentsMargins(4, 6, 4, 4);
    G->addWidget(FCheckBoxBorder, 0, 0, 1, 4);
    G->addWidget(FLblBorderWidth, 1, 0);
    G->addWidget(FBorderWidth, 1, 1);
    G->addWidget(FLblBorderColor, 1, 2, Qt::AlignRight);
    G->addWidget(FShpBorderColor, 1, 3);
    G->addWidget(Label(QStringLiteral("Linienart:"), P, 160), 2, 0, 1, 4);
    G->addWidget(FDashStyle, 3, 0, 1, 4);
    G->addWidget(FBorderAlpha, 4, 0, 1, 4);
    auto* Row = new QHBoxLayout;
    Row->setSpacing(3);
    Row->addWidget(FBorderPercent);
    Row->addWidget(FLblBorderDeckkraft);
    Row->addStretch(1);
    G->addLayout(Row, 5, 0, 1, 4);
    G->setRowStretch(6, 1);
    return P;
}

QWidget* TfrmFontProp::BuildShadowPage() {
    QWidget* P = NewPage("TabSheetShadow", QStringLiteral("Schatten"), 92);
    FCheckBoxShadow = new QCheckBox(QStringLiteral("Schatten"), P);
    FCheckBoxShadow->setObjectName(QStringLiteral("CheckBoxShadow"));
    SetTag(FCheckBoxShadow, 92);
    FGbXShift = Gauge("gbXShift", -50, 50, P);
    FGbYShift = Gauge("gbYShift", -50, 50, P);
    FEdtXShift = new QLineEdit(P);
    FEdtYShift = new QLineEdit(P);
    FEdtXShift->setObjectName(QStringLiteral("EdtXShift"));
    FEdtYShift->setObjectName(QStringLiteral("EdtYShift"));
    for (QLineEdit* E : {FEdtXShift, FEdtYShift}) {
        Numeric(E, 4, true);
        E->setFixedWidth(40);
        E->installEventFilter(this);
    }
    FShpShadowColor = new TColorSwatch(0x808080, P);
    FShpShadowColor->setObjectName(QStringLiteral("shpShadowColor"));
    FShpShadowColor->setFixedSize(25, 25);
    FShadowAlpha = Gauge("gbarShadowTransparenz", 0, 255, P);
    FShadowPercent = Label(QStringLiteral("100"), P);
    FShadowPercent->setObjectName(QStringLiteral("lblShadowTransparenz"));
    QLabel* X = Label(QStringLiteral("horizontale Versatz"), P, 93);
    QLabel* Y = Label(QStringLiteral("vertikaler Versatz"), P, 94);
    QLabel* ColorLabel = Label(QStringLiteral("Schattenfarbe"), P, 95);
    QLabel* Deckkraft = Label(QStringLiteral("% Deckkraft"), P, 86);
    QLabel* PxX = Label(QStringLiteral("Px"), P);
    QLabel* PxY = Label(QStringLiteral("Px"), P);

    auto* G = new QGridLayout(P);
    G->setContentsMargins(4, 6, 4, 4);
    G->setVerticalSpacing(2);
    G->addWidget(FCheckBoxShadow, 0, 0, 1, 3);
    G->addWidget(X, 1, 0, 1, 3);
    G->addWidget(FGbXShift, 2, 0);
    G->addWidget(FEdtXShift, 2, 1);
    G->addWidget(PxX, 2, 2);
    G->addWidget(Y, 3, 0, 1, 3);
    G->addWidget(FGbYShift, 4, 0);
    G->addWidget(FEdtYShift, 4, 1);
    G->addWidget(PxY, 4, 2);
    auto* ColorRow = new QHBoxLayout;
    ColorRow->setSpacing(6);
    ColorRow->addWidget(ColorLabel);
    ColorRow->addWidget(FShpShadowColor);
    ColorRow->addStretch(1);
    G->addLayout(ColorRow, 5, 0, 1, 3);
    G->addWidget(FShadowAlpha, 6, 0, 1, 3);
    auto* Row = new QHBoxLayout;
    Row->setSpacing(3);
    Row->addWidget(FShadowPercent);
    Row->addWidget(Deckkraft);
    Row->addStretch(1);
    G->addLayout(Row, 7, 0, 1, 3);
    G->setRowStretch(8, 1);
    FShadowControls = {FGbXShift,  FGbYShift,       FEdtXShift,   FEdtYShift,     X,        Y, PxX, PxY,
                       ColorLabel, FShpShadowColor, FShadowAlpha, FShadowPercent, Deckkraft};
    return P;
}

QWidget* TfrmFontProp::BuildNumberPage(const char* Name, int LabelTag, const char* Text, QLineEdit*& Edit) {
    QWidget* P = NewPage(Name, QString(), 0);
    Edit = new QLineEdit(P);
    Numeric(Edit, 4);
    Edit->setMaximumWidth(60);
    Edit->installEventFilter(this);
    auto* G = new QGridLayout(P);
    G->setContentsMargins(4, 6, 4, 4);
    G->addWidget(Label(QString::fromUtf8(Text), P, LabelTag), 0, 0);
    G->addWidget(Edit, 1, 0);
    G->setRowStretch(2, 1);
    G->setColumnStretch(1, 1);
    return P;
}

QWidget* TfrmFontProp::BuildPatternPage() {
    QWidget* P = NewPage("TabSheetPattern", QStringLiteral("Muster"), 140);
    FChkPattern = new QCheckBox(QStringLiteral("Muster"), P);
    FChkPattern->setObjectName(QStringLiteral("chkPattern"));
    SetTag(FChkPattern, 140);
    FPattern = new QComboBox(P);
    FPattern->setObjectName(QStringLiteral("ImgCmbPattern"));
    FPattern->setIconSize(QSize(40, 40));
    FPattern->setMaxVisibleItems(8);
    // A list of a few rows below the field, not a column over the whole screen.
    KeepListBelow(FPattern);
    for (int I = 0; I <= HatchStyleMax; ++I) {
        FPattern->addItem(QIcon(QPixmap::fromImage(HatchSample(I))), QString());
        FPattern->setItemData(I, HatchStyleName(I), Qt::ToolTipRole);
    }
    FPattern->setCurrentIndex(-1);
    FLblWrapMode = Label(QStringLiteral("Darstellung:"), P, 145);
    FWrapMode = new QComboBox(P);
    FWrapMode->setObjectName(QStringLiteral("cmbPatternWrapMode"));
    FWrapMode->addItems({"Tile", "TileFlipX", "TileFlipY", "TileFlipXY", "Clamp"});
    // Its items come from the language file, in German.
    SetTag(FWrapMode, 146);
    FLoadPattern = new QPushButton(QStringLiteral("Muster laden..."), P);
    FLoadPattern->setObjectName(QStringLiteral("btnLoadPattern"));
    SetTag(FLoadPattern, 141);

    auto* G = new QGridLayout(P);
    G->setContentsMargins(4, 6, 4, 4);
    G->addWidget(FChkPattern, 0, 0, 1, 2);
    G->addWidget(FPattern, 1, 0, 1, 2, Qt::AlignLeft);
    G->addWidget(FLblWrapMode, 2, 0, 1, 2);
    G->addWidget(FWrapMode, 3, 0, 1, 2);
    G->addWidget(FLoadPattern, 4, 0, 1, 2);
    G->setRowStretch(5, 1);
    return P;
}

QWidget* TfrmFontProp::Page(const char* Name) const {
    for (QWidget* P : {FFontPage, FBorderPage, FShadowPage, FPolygonPage, FLinePage, FPatternPage})
        if (P->objectName() == QLatin1String(Name)) return P;
    return nullptr;
}

// ---------------------------------------------------------------- modes

void TfrmFontProp::ChangeControlEnable(TEnableType Enabled) {
    QList<QWidget*> Shown;
    QWidget* First = nullptr;
    switch (Enabled) {
    case enableDefault:
    case enableText:
        Shown = {FFontPage, FBorderPage, FPatternPage, FShadowPage};
        if (Enabled == enableDefault) Shown.removeOne(FPatternPage);
        First = FFontPage;
        break;
    case enablePolygon:
        Shown = {FBorderPage, FPatternPage, FShadowPage, FPolygonPage};
        First = FPolygonPage;
        break;
    case enableLine:
        Shown = {FBorderPage, FPatternPage, FShadowPage, FLinePage};
        First = FLinePage;
        break;
    case enableEllipse:
    case enableRectangle:
        Shown = {FBorderPage, FPatternPage, FShadowPage};
        First = FBorderPage;
        break;
    case enablePicture:
        Shown = {FBorderPage, FShadowPage};
        First = FBorderPage;
        break;
    }
    Shown.removeOne(First);
    Shown.prepend(First);
    FPages->clear();
    for (QWidget* P : Shown) {
        FPages->addTab(P, P->windowTitle());
        P->setEnabled(Enabled != enableDefault);
    }
    for (int I = 0; I < FPages->count(); ++I) FPages->setTabEnabled(I, Enabled != enableDefault);
    FPages->setCurrentIndex(0);
    const bool TextShown = Enabled == enableDefault || Enabled == enableText;
    FLblText->setVisible(TextShown);
    FEditText->setVisible(TextShown);
    FLblText->setEnabled(Enabled == enableText);
    FEditText->setEnabled(Enabled == enableText);
    FShownMode = Enabled;
    FModeShown = true;
}

// ---------------------------------------------------------------- showing the model

void TfrmFontProp::ShowState(const TPaletteState& S) {
    const bool Was = FUpdating;
    FUpdating = true;
    if (!FModeShown || FShownMode != S.PropertiesMode) ChangeControlEnable(S.PropertiesMode);
    // Texts are set only when they differ, so that the caret of a field being typed in stays.
    const auto SetText = [](QLineEdit* E, const QString& T) {
        if (E->text() != T) E->setText(T);
    };
    SetText(FEditText, S.Text);
    if (FCmbBxFont->FontName() != S.FontName) FCmbBxFont->SetFontName(S.FontName);
    SetText(FFontSize->lineEdit(), S.FontSize);
    if (FShpColor->Color() != S.TextColor) FShpColor->SetColor(S.TextColor);
    FBold->setChecked(S.FontBold);
    FItalic->setChecked(S.FontItalic);
    FUnderline->setChecked(S.FontUnderline);
    FStrikeOut->setChecked(S.FontStrikeOut);

    FCheckBoxBorder->setChecked(S.Outline);
    SetText(FBorderWidth->lineEdit(), S.OutlineWidth);
    if (FShpBorderColor->Color() != S.OutlineColor) FShpBorderColor->SetColor(S.OutlineColor);
    FDashStyle->setCurrentIndex(S.DashIndex);
    FBorderAlpha->setValue(S.OutlineAlpha);

    FCheckBoxShadow->setChecked(S.Shadow);
    SetText(FEdtXShift, S.ShadowXShift);
    SetText(FEdtYShift, S.ShadowYShift);
    FGbXShift->setValue(S.ShadowXShift.toInt());
    FGbYShift->setValue(S.ShadowYShift.toInt());
    if (FShpShadowColor->Color() != S.ShadowColor) FShpShadowColor->SetColor(S.ShadowColor);
    FShadowAlpha->setValue(S.ShadowAlpha);
    FBorderPercent->setText(QString::number(Percent(FBorderAlpha->value())));
    FShadowPercent->setText(QString::number(Percent(FShadowAlpha->value())));

    SetText(FEdges, S.EdgeCount);
    SetText(FLineWidth, S.LineWidth);
    FChkPattern->setChecked(S.Pattern);
    FPattern->setCurrentIndex(S.HatchIndex);
    FWrapMode->setCurrentIndex(S.WrapModeIndex);
    EnableByChecks(S);
    FUpdating = Was;
}

void TfrmFontProp::EnableByChecks(const TPaletteState& S) {
    // The fields of a switched-off outline or shadow are not in use and say so.
    for (QWidget* W : {static_cast<QWidget*>(FBorderWidth), static_cast<QWidget*>(FLblBorderWidth),
                       static_cast<QWidget*>(FShpBorderColor), static_cast<QWidget*>(FLblBorderColor),
                       static_cast<QWidget*>(FBorderAlpha), static_cast<QWidget*>(FBorderPercent),
                       static_cast<QWidget*>(FLblBorderDeckkraft)})
        W->setEnabled(S.Outline);
    for (QWidget* W : FShadowControls) W->setEnabled(S.Shadow);
    FLblWrapMode->setEnabled(S.PatternImage);
    FWrapMode->setEnabled(S.PatternImage);
}

// ---------------------------------------------------------------- placement

void TfrmFontProp::Adjust(QWidget* MainWindow) {
    IsAdjusted = false;
    const TSettings& S = Settings();
    resize(std::max(S.TextFormWidth, minimumWidth()), std::max(S.TextFormHeight, minimumHeight()));
    // Documents open beside the palette as it really is: a palette wider than stored (its tabs
    // need the room) is stored so, since every new document reads the settings file anew.
    // Its place stays as stored, the default place included.
    if (width() != S.TextFormWidth || height() != S.TextFormHeight)
        Settings().SaveFormProps(
            TFormProps{pkTextForm, S.TextFormLeft, S.TextFormTop, width(), height(), S.TextFormVisible});
    int Left = S.TextFormLeft, Top = S.TextFormTop;
    if (MainWindow) {
        if (Left == 2) Left = MainWindow->x() + (MainWindow->frameGeometry().width() - MainWindow->width());
        if (Top == 0) Top = PaletteTopBelowToolBar(MainWindow);
    }
    move(Left, Top);
    setVisible(S.TextFormVisible);
    IsAdjusted = true;
}

} // namespace zp
