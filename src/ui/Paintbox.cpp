#include "ui/Paintbox.h"

#include "shell/Settings.h"
#include "ui/ColorSwatch.h"
#include "ui/Icons.h"
#include "ui/LangCaptions.h"
#include "ui/QtBridge.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace zp {

namespace {

struct TToolButtonRow {
    TPaintTool Tool;
    const char* Component;
    int Left, Top, Tag;
    const char* Hint;
};

// clang-format off
constexpr TToolButtonRow ToolButtons[] = {
    {ptZeiger, "btnZeiger", 0, 0, 107, "Zeiger"},
    {ptMark, "btnMark", 24, 0, 161, "Mark"},
    {ptColorGradient, "btnColorGradient", 0, 24, 108, "linearer Farbverlauf"},
    {ptTransGradient, "btnTransGradient", 24, 24, 109, "linearer Transparenzverlauf"},
    {ptCircleGradient, "btnCircleGradient", 0, 48, 110, "kreisförmiger Farbverlauf"},
    {ptCircleTranspGradient, "btnCircleTranspGradient", 24, 48, 111, "kreisförmiger Transparenzverlauf"},
    {ptSqareGradient, "btnSqareGradient", 0, 72, 112, "quadratischer Farbverlauf"},
    {ptSqareTranspGradient, "btnSqareTranspGradient", 24, 72, 113, "quadratischer Transparenzverlauf"},
    {ptColorFiller, "btnColorFiller", 0, 96, 142, "Fülleimer"},
    {ptPipette, "btPipette", 24, 96, 119, "Pipette"},
    {ptPaintLine, "btnPaintLine", 0, 120, 119, "Linie zeichnen"},
    {ptPaintRectangle, "btnPaintRectangle", 24, 120, 122, "Rechteck zeichnen"},
    {ptPaintPolygon, "btnPaintPolygon", 0, 143, 124, "Polygon zeichnen"},
    {ptPaintEllipse, "btnPaintEllipse", 24, 143, 123, "Ellipse/Kreis zeichnen"},
};
// clang-format on

} // namespace

TfrmPaintbox::TfrmPaintbox(TPaletteModel& Model, QWidget* Parent)
    : TPaletteWindow(pkPaintBox, Parent), FGroup(new QButtonGroup(this)),
      FColor1(new TColorSwatch(Model.State().Color1, this)),
      FColor2(new TColorSwatch(Model.State().Color2, this)), FTimerColorPicker(new QTimer(this)),
      FModel(Model) {
    setWindowTitle(QStringLiteral("Paintbox"));
    // Everything fits in 49 x 206; the settings decide the actual size.
    setMinimumSize(49, 206);
    resize(108, 205);
    FGroup->setExclusive(true);
    for (const TToolButtonRow& R : ToolButtons) {
        auto* B = new QToolButton(this);
        B->setObjectName(QString::fromLatin1(R.Component));
        B->setCheckable(true);
        B->setAutoRaise(true);
        B->setGeometry(R.Left, R.Top, 23, 22);
        B->setIcon(CommandIcon(QString::fromLatin1(R.Component)));
        B->setIconSize(QSize(16, 16));
        B->setToolTip(QString::fromUtf8(R.Hint));
        SetTag(B, R.Tag, ckHint);
        FGroup->addButton(B, R.Tool);
    }
    FColor2->setGeometry(15, 181, 25, 25);
    FColor1->setGeometry(3, 169, 25, 25);
    FColor1->raise();
    FColor1->setToolTip(QStringLiteral("Farbe 1"));
    FColor2->setToolTip(QStringLiteral("Farbe 2"));
    SetTags({{FColor1, 114, ckHint}, {FColor2, 115, ckHint}});
    for (TColorSwatch* S : {FColor1, FColor2})
        S->AskColor = [this](TColor& C) { return AskColor && AskColor(C); };
    FColor1->OnChange = [this](TColor C) { FModel.SetColor1(C); };
    FColor2->OnChange = [this](TColor C) { FModel.SetColor2(C); };
    connect(FGroup, &QButtonGroup::idClicked, this, &TfrmPaintbox::BtnClick);
    FTimerColorPicker->setInterval(50);
    connect(FTimerColorPicker, &QTimer::timeout, this, &TfrmPaintbox::PickStep);
    FModelHandler = FModel.OnChange.Add([this](const TPaletteState& S) { ShowState(S); });
    ShowState(FModel.State());
}

TfrmPaintbox::~TfrmPaintbox() {
    FModel.OnChange.Remove(FModelHandler);
}

void TfrmPaintbox::ShowState(const TPaletteState& State) {
    if (QAbstractButton* B = Button(State.Tool); B && !B->isChecked()) B->setChecked(true);
    if (FColor1->Color() != State.Color1) FColor1->SetColor(State.Color1);
    if (FColor2->Color() != State.Color2) FColor2->SetColor(State.Color2);
}

QAbstractButton* TfrmPaintbox::Button(TPaintTool Tool) const {
    return FGroup->button(Tool);
}

TColor TfrmPaintbox::Color1() const {
    return FColor1->Color();
}
TColor TfrmPaintbox::Color2() const {
    return FColor2->Color();
}

void TfrmPaintbox::ActivateZeigerTool() {
    FModel.SetTool(ptZeiger);
    if (OnSetCursor) OnSetCursor(2);
}

void TfrmPaintbox::BtnClick(int Id) {
    const auto Tool = static_cast<TPaintTool>(Id);
    FModel.SetTool(Tool);
    if (Tool == ptPipette) {
        // The pick follows the pointer everywhere until the next button release.
        grabMouse(ToQCursor(110));
        FTimerColorPicker->start();
    }
    if (OnToolClick) OnToolClick(Tool);
}

bool TfrmPaintbox::Picking() const {
    return FTimerColorPicker->isActive();
}

void TfrmPaintbox::PickStep() {
    const QPoint At = QCursor::pos();
    QScreen* Screen = QGuiApplication::screenAt(At);
    if (!Screen) return;
    const QPoint Local = At - Screen->geometry().topLeft();
    const QImage Pixel = Screen->grabWindow(0, Local.x(), Local.y(), 1, 1).toImage();
    if (Pixel.isNull()) return;
    const QColor C = Pixel.pixelColor(0, 0);
    FModel.SetColor1(WinColor(Color32(static_cast<unsigned>(C.red()), static_cast<unsigned>(C.green()),
                                      static_cast<unsigned>(C.blue()))));
}

void TfrmPaintbox::mouseReleaseEvent(QMouseEvent* Event) {
    if (Picking()) {
        PickStep();
        EndPick();
        return;
    }
    QWidget::mouseReleaseEvent(Event);
}

void TfrmPaintbox::EndPick() {
    releaseMouse();
    FTimerColorPicker->stop();
    ActivateZeigerTool();
}

void TfrmPaintbox::Adjust(QWidget* MainWindow) {
    IsAdjusted = false;
    const TSettings& S = Settings();
    resize(std::max(S.PaintBoxWidth, minimumWidth()), std::max(S.PaintBoxHeight, minimumHeight()));
    int Left = S.PaintBoxLeft, Top = S.PaintBoxTop;
    if (MainWindow) {
        const QRect Frame = MainWindow->frameGeometry();
        const QRect Client = MainWindow->geometry();
        if (Left == 0) Left = Client.left() + Client.width() - width();
        if (Top == 0) Top = Frame.top() + 60;
    }
    move(Left, Top);
    setVisible(S.PaintBoxVisible);
    IsAdjusted = true;
}

} // namespace zp
