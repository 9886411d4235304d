// The properties palette's reactions to the user: each edit changes the palette model and is
// applied at once to the selection, with undo; and the sample pictures of its two lists.
#include "ui/PropertiesPalette.h"

#include "document/DocForm.h"
#include "document/LayerKinds.h"
#include "gfx/Brushes.h"
#include "gfx/Graphics.h"
#include "gfx/Hatch.h"
#include "gfx/Pen.h"
#include "shell/MainForm.h"
#include "shell/Version.h"
#include "ui/ColorSwatch.h"
#include "ui/FontCombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace zp {

namespace {

// The pattern files: what the program's decoders and metafile players read.
constexpr const char* OpenPatternFilter =
    "Alle "
    "(*.gif;*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.gif;*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "Gif (*.gif)|*.gif|PNG (*.png)|*.png|JPEG-Grafikdatei (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "Symbole (*.ico)|*.ico|Erweiterte Metadateien (*.emf)|*.emf|Metadateien (*.wmf)|*.wmf";

QImage ToImage(const TBitmap32& B) {
    return QImage(reinterpret_cast<const uchar*>(B.Bits()), B.Width(), B.Height(), B.Width() * 4,
                  QImage::Format_ARGB32)
        .copy();
}

// clang-format off
constexpr const char* HatchNames[] = {
    "Horizontal", "Vertikal", "Diagonal vorwärts", "Diagonal rückwärts", "Kreuz", "Diagonalkreuz",
    "5 %", "10 %", "20 %", "25 %", "30 %", "40 %", "50 %", "60 %", "70 %", "75 %", "80 %", "90 %",
    "Helle Abwärtsdiagonale", "Helle Aufwärtsdiagonale", "Dunkle Abwärtsdiagonale",
    "Dunkle Aufwärtsdiagonale", "Breite Abwärtsdiagonale", "Breite Aufwärtsdiagonale",
    "Helle Senkrechte", "Helle Waagerechte", "Schmale Senkrechte", "Schmale Waagerechte",
    "Dunkle Senkrechte", "Dunkle Waagerechte", "Gestrichelte Abwärtsdiagonale",
    "Gestrichelte Aufwärtsdiagonale", "Gestrichelte Waagerechte", "Gestrichelte Senkrechte",
    "Kleines Konfetti", "Großes Konfetti", "Zickzack", "Welle", "Diagonale Ziegel",
    "Waagerechte Ziegel", "Geflecht", "Schottenkaro", "Rasenstücke", "Gepunktetes Gitter",
    "Gepunktete Raute", "Schindeln", "Spalier", "Kugeln", "Kleines Gitter",
    "Kleines Schachbrett", "Großes Schachbrett", "Umrandete Raute", "Gefüllte Raute"};
constexpr const char* DashNames[] = {"Durchgezogen", "Gestrichelt", "Gepunktet", "Strich-Punkt",
                                     "Strich-Punkt-Punkt"};
// clang-format on
static_assert(std::size(HatchNames) == HatchStyleMax + 1);

} // namespace

QImage HatchSample(int Index) {
    TBitmap32 B;
    B.SetSize(40, 40);
    TGPGraphics G(B);
    const TGPHatchBrush Brush(Index, 0xFF000000u, 0xFFF5F5DCu);
    // Pixel centres: the rectangle around the 40 x 40 pixels.
    G.FillRectangle(Brush, TGPRectF{-0.5f, -0.5f, 40, 40});
    return ToImage(B);
}

QImage DashSample(int Index) {
    TBitmap32 B;
    B.SetSize(80, 20);
    B.Clear(0);
    TGPGraphics G(B);
    TGPPen Pen(0xFF000000u, 3);
    Pen.SetDashStyle(DashStyleOfIndex(Index, DashStyleSolid));
    G.DrawLine(Pen, 0, 10, 80, 10);
    return ToImage(B);
}

QString HatchStyleName(int Index) {
    return Index >= 0 && Index <= HatchStyleMax ? QString::fromUtf8(HatchNames[Index]) : QString();
}

QString DashStyleName(int Index) {
    return Index >= 0 && Index < 5 ? QString::fromUtf8(DashNames[Index]) : QString();
}

// ---------------------------------------------------------------- the user's edits

void TfrmFontProp::Connect() {
    connect(FEditText, &QLineEdit::textEdited, this, [this](const QString& T) {
        Edit([&T](TPaletteState& P) { P.Text = T; });
        ApplyToSelection(FEditText);
    });
    connect(FCmbBxFont, &TscFontComboBox::FontChosen, this, [this](const QString& Name) {
        if (FUpdating) return;
        Edit([&Name](TPaletteState& P) { P.FontName = Name; });
        ApplyToSelection();
    });
    connect(FFontSize, &QComboBox::currentTextChanged, this, [this](const QString& T) {
        if (FUpdating) return;
        Edit([&T](TPaletteState& P) { P.FontSize = T; });
        // An emptied field waits for the next digit.
        if (T.trimmed().toInt() > 0) ApplyToText(FFontSize);
    });
    const auto Flag = [this](QToolButton* B, bool TPaletteState::*Field) {
        connect(B, &QToolButton::clicked, this, [this, Field](bool On) {
            Edit([Field, On](TPaletteState& P) { P.*Field = On; });
            ApplyToText();
        });
    };
    Flag(FBold, &TPaletteState::FontBold);
    Flag(FItalic, &TPaletteState::FontItalic);
    Flag(FUnderline, &TPaletteState::FontUnderline);
    Flag(FStrikeOut, &TPaletteState::FontStrikeOut);
    for (TColorSwatch* S : {FShpColor, FShpBorderColor, FShpShadowColor})
        S->AskColor = [](TColor& C) { return UserDialogs().AskColor(C); };
    FShpColor->OnChange = [this](TColor) { TextColorClicked(); };
    connect(FShpColor, &QWidget::customContextMenuRequested, this, [this]() { TextColorMenu(); });

    connect(FCheckBoxBorder, &QCheckBox::clicked, this, [this](bool On) {
        Edit([On](TPaletteState& P) { P.Outline = On; });
        ApplyToSelection();
    });
    connect(FBorderWidth, &QComboBox::currentTextChanged, this, [this]() { WidthChanged(false); });
    connect(FBorderWidth->lineEdit(), &QLineEdit::editingFinished, this, [this]() { WidthChanged(true); });
    FShpBorderColor->OnChange = [this](TColor C) {
        if (!FModel.Palettes.State().Outline || C == FModel.Palettes.State().OutlineColor) return;
        Edit([C](TPaletteState& P) { P.OutlineColor = C; });
        ApplyToSelection();
    };
    connect(FDashStyle, &QComboBox::activated, this, [this](int I) {
        Edit([I](TPaletteState& P) { P.DashIndex = I; });
        if (FModel.Palettes.State().Outline) ApplyToSelection();
    });
    connect(FBorderAlpha, &QSlider::valueChanged, this, [this](int V) {
        if (FUpdating) return;
        Edit([V](TPaletteState& P) { P.OutlineAlpha = V; });
        ApplyToSelection(FBorderAlpha);
    });

    connect(FCheckBoxShadow, &QCheckBox::clicked, this, [this](bool On) {
        Edit([On](TPaletteState& P) { P.Shadow = On; });
        ApplyToSelection();
    });
    for (auto [Gauge, Field] : {std::pair{FGbXShift, FEdtXShift}, std::pair{FGbYShift, FEdtYShift}}) {
        // The gauge shows the value; its field holds the one applied.
        connect(Gauge, &QSlider::valueChanged, this, [this, Field](int V) {
            if (!FUpdating) Field->setText(QString::number(V));
        });
    }
    connect(FEdtXShift, &QLineEdit::textChanged, this,
            [this]() { ShiftChanged(FEdtXShift, FGbXShift, true); });
    connect(FEdtYShift, &QLineEdit::textChanged, this,
            [this]() { ShiftChanged(FEdtYShift, FGbYShift, false); });
    FShpShadowColor->OnChange = [this](TColor C) {
        if (C == FModel.Palettes.State().ShadowColor) return;
        Edit([C](TPaletteState& P) { P.ShadowColor = C; });
        if (FModel.Palettes.State().Shadow) ApplyToSelection();
    };
    connect(FShadowAlpha, &QSlider::valueChanged, this, [this](int V) {
        if (FUpdating) return;
        Edit([V](TPaletteState& P) { P.ShadowAlpha = V; });
        ApplyToSelection(FShadowAlpha);
    });

    // The drawing tools read these two fields, and check them, when they draw.
    connect(FEdges, &QLineEdit::textEdited, this,
            [this](const QString& T) { Edit([&T](TPaletteState& P) { P.EdgeCount = T; }); });
    connect(FLineWidth, &QLineEdit::textEdited, this,
            [this](const QString& T) { Edit([&T](TPaletteState& P) { P.LineWidth = T; }); });

    connect(FChkPattern, &QCheckBox::clicked, this, [this](bool On) {
        Edit([On](TPaletteState& P) {
            P.Pattern = On;
            if (!On) P.HatchIndex = -1;
        });
        if (!On || FModel.Palettes.State().HatchIndex >= 0) ApplyToSelection();
    });
    connect(FPattern, &QComboBox::activated, this, [this](int I) {
        // Choosing a hatch means using it.
        Edit([I](TPaletteState& P) {
            P.HatchIndex = I;
            P.Pattern = true;
        });
        ApplyToSelection();
    });
    connect(FWrapMode, &QComboBox::activated, this, [this](int I) {
        Edit([I](TPaletteState& P) { P.WrapModeIndex = I; });
        ApplyToSelection();
    });
    connect(FLoadPattern, &QPushButton::clicked, this, [this]() { LoadPattern(); });
}

void TfrmFontProp::Edit(const std::function<void(TPaletteState&)>& Change) {
    FModel.Palettes.Change(Change);
}

bool TfrmFontProp::Continues(QObject* Sender) {
    const TDocForm* Doc = FModel.SelectedDocForm();
    const TPositionedLayer* S = Doc ? Doc->Selection() : nullptr;
    const std::uint64_t Layer = S ? S->Id() : 0;
    const bool Continued = Sender && Sender == FBurstControl && Layer == FBurstLayer &&
                           FBurstClock.isValid() && FBurstClock.elapsed() < BurstPause;
    FBurstControl = Sender;
    FBurstLayer = Layer;
    FBurstClock.restart();
    return Continued;
}

void TfrmFontProp::Apply(const std::function<void(TDocForm&)>& Run) {
    TDocForm* Doc = FModel.SelectedDocForm();
    if (!Doc) return;
    try {
        Run(*Doc);
    } catch (const std::exception& E) {
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), QString::fromUtf8(E.what()),
                                  TMsgIcon::Error);
    }
}

void TfrmFontProp::ApplyToText(QObject* Sender) {
    const bool Continue = Continues(Sender);
    Apply([Continue](TDocForm& Doc) { Doc.ApplyToText(QString(), Continue); });
}

void TfrmFontProp::ApplyToSelection(QObject* Sender, const QString& PatternFileName) {
    const bool Continue = Continues(Sender);
    Apply([&PatternFileName, Continue](TDocForm& Doc) { Doc.ApplyToSelection(PatternFileName, Continue); });
}

void TfrmFontProp::WidthChanged(bool Finished) {
    if (FUpdating) return;
    const QString T = FBorderWidth->currentText().trimmed();
    if (!FModel.Palettes.State().Outline) {
        Edit([&T](TPaletteState& P) { P.OutlineWidth = T; });
        return;
    }
    // A field emptied to type a new number is checked when the typing ends.
    if (T.isEmpty() && !Finished) return;
    if (Finished && T == FModel.Palettes.State().OutlineWidth) return;
    const int V = T.toInt();
    QString Width = T;
    if (T.isEmpty() || V < 1 || V > 99) {
        UserDialogs().ShowMessage(FModel.LangText(QStringLiteral("TxtProblem")),
                                  FModel.LangText(QStringLiteral("TxtBorderWidthProblem1")), TMsgIcon::Error);
        Width = QStringLiteral("2");
    }
    Edit([&Width](TPaletteState& P) { P.OutlineWidth = Width; });
    // The field shows what was taken, also when it was corrected.
    FUpdating = true;
    FBorderWidth->setEditText(Width);
    FUpdating = false;
    ApplyToSelection(Width == T ? FBorderWidth : nullptr);
}

void TfrmFontProp::ShiftChanged(QLineEdit* Field, QSlider* Gauge, bool X) {
    if (FUpdating) return;
    QString T = Field->text().trimmed();
    const bool Was = FUpdating;
    FUpdating = true;
    if (T.isEmpty() || T == QLatin1String("-")) {
        T = QStringLiteral("2");
        Field->setText(T);
    }
    // Beyond the gauge the gauge stops at its end; the field keeps the value that is applied.
    Gauge->setValue(std::clamp(T.toInt(), Gauge->minimum(), Gauge->maximum()));
    FUpdating = Was;
    Edit([X, &T](TPaletteState& P) { (X ? P.ShadowXShift : P.ShadowYShift) = T; });
    if (FModel.Palettes.State().Shadow) ApplyToSelection(Field);
}

void TfrmFontProp::TextColorClicked() {
    const TColor C = FShpColor->Color();
    TDocForm* Doc = FModel.SelectedDocForm();
    if (C == FModel.Palettes.State().TextColor || !Doc || !IsTextLayer(Doc->Selection())) {
        // The swatch keeps showing the colour in use.
        FShpColor->SetColor(FModel.Palettes.State().TextColor);
        return;
    }
    // A plain colour replaces the text's gradient or pattern; "Muster" goes off with it.
    Edit([C](TPaletteState& P) {
        P.TextColor = C;
        P.Pattern = false;
        P.HatchIndex = -1;
    });
    Continues(nullptr);
    Apply([](TDocForm& D) { D.ApplyTextColor(); });
}

void TfrmFontProp::TextColorMenu() {
    TColor C = FModel.Palettes.State().TextColor;
    if (!UserDialogs().AskColor(C)) return;
    Edit([C](TPaletteState& P) { P.TextColor = C; });
    ApplyToText();
}

void TfrmFontProp::LoadPattern() {
    TDocForm* Doc = FModel.SelectedDocForm();
    if (!Doc || !Doc->CurrentView()) return;
    int FilterIndex = 1;
    const QString File = UserDialogs().AskOpenFileName(QString::fromUtf8(OpenPatternFilter), FilterIndex);
    if (File.isEmpty()) return;
    // A pattern picture is used as soon as it is chosen.
    Edit([](TPaletteState& P) { P.Pattern = true; });
    ApplyToSelection(nullptr, File);
}

bool TfrmFontProp::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::FocusOut && Watched == FEditText) FBurstControl = nullptr;
    if (Event->type() == QEvent::KeyPress && Watched != FEditText) {
        // Enter in a number field is swallowed; the field applies as it is typed.
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if (Key == Qt::Key_Return || Key == Qt::Key_Enter) return true;
    }
    return TPaletteWindow::eventFilter(Watched, Event);
}

} // namespace zp
