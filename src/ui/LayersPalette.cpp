#include "ui/LayersPalette.h"

#include "document/LayerKinds.h"
#include "shell/MainForm.h"
#include "shell/Settings.h"
#include "ui/Icons.h"
#include "ui/LayerDrag.h"
#include "ui/QtBridge.h"
#include "ui/StyleTweaks.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace zp {

// ---------------------------------------------------------------- panels

TLayerPanel::TLayerPanel(TfrmLayers& Palette, TBitmapLayer* Layer, QWidget* Parent)
    : QFrame(Parent), FPalette(Palette), FLayer(Layer), FIsBackground(Layer == nullptr),
      FImage(new QLabel(this)), FLbl(new QLabel(this)), FInfoLbl(new QLabel(this)) {
    setFixedHeight(TfrmLayers::PanelHeight);
    setAutoFillBackground(true);
    FImage->setGeometry(4, 4, 32, 32);
    QFont Bold = FLbl->font();
    Bold.setBold(true);
    Bold.setPointSize(9);
    FLbl->setFont(Bold);
    QFont Italic = FInfoLbl->font();
    Italic.setItalic(true);
    Italic.setPointSize(8);
    FInfoLbl->setFont(Italic);
    FLbl->move(48, 4);
    FInfoLbl->move(48, 21);
}

void TLayerPanel::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) return QFrame::mousePressEvent(Event);
    FPressed = true;
    FPressAt = Event->position().toPoint();
    FPalette.PanelClicked(*this);
}

void TLayerPanel::mouseMoveEvent(QMouseEvent* Event) {
    if (!FPressed || !(Event->buttons() & Qt::LeftButton)) return;
    if ((Event->position().toPoint() - FPressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    FPressed = false;
    FPalette.PanelDragged(*this);
}

void TLayerPanel::contextMenuEvent(QContextMenuEvent* Event) {
    // The menu acts on the panel it was opened on.
    FPalette.PanelClicked(*this);
    FPalette.PanelMenu(Event->globalPos());
}

// ---------------------------------------------------------------- the palette

TfrmLayers::TfrmLayers(TMainForm& Model, QWidget* Parent)
    : TPaletteWindow(pkLayerForm, Parent), FModel(Model), FCmbFrames(new QComboBox(this)),
      FGbarTransp(new QSlider(Qt::Horizontal, this)), FLblBitTransp(new QLabel(QStringLiteral("100"), this)),
      FLblDeckkraft(new QLabel(QStringLiteral("% Deckkraft"), this)), FLayerUp(new QToolButton(this)),
      FLayerDown(new QToolButton(this)), FPages(new QTabWidget(this)), FLayScrllBx(new QScrollArea),
      FPanelBox(new QWidget), FCmbDuration(new QComboBox), FCmbColorReduction(new QComboBox),
      FCmbDitherMode(new QComboBox), FCmbLoops(new QComboBox(this)), FDurationWarning(new QLabel),
      FGifFacts(new QLabel), FPopupMenu(new QMenu(this)), FTimer1(new QTimer(this)),
      FGifTimer(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Frames/Ebenen"));
    setObjectName(QStringLiteral("frmLayers"));
    resize(196, 353);

    FCmbFrames->setObjectName(QStringLiteral("CmbFrames"));
    FGbarTransp->setObjectName(QStringLiteral("gbarTransp"));
    FGbarTransp->setRange(0, 255);
    FGbarTransp->setValue(255);
    // One change (and one undo entry) per drag, when the gauge is let go.
    FGbarTransp->setTracking(false);
    FLayerUp->setObjectName(QStringLiteral("LayerUp"));
    FLayerDown->setObjectName(QStringLiteral("LayerDown"));
    FLayerUp->setArrowType(Qt::UpArrow);
    FLayerDown->setArrowType(Qt::DownArrow);
    FLayerUp->setToolTip(QStringLiteral("eine Ebene nach vor "));
    FLayerDown->setToolTip(QStringLiteral("eine Ebene nach zurück"));
    FLayerUp->setEnabled(false);
    FLayerDown->setEnabled(false);

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(3, 3, 3, 3);
    Layout->setSpacing(3);
    Layout->addWidget(FCmbFrames);
    auto* GaugeRow = new QHBoxLayout;
    GaugeRow->addWidget(FGbarTransp, 1);
    GaugeRow->addWidget(FLblBitTransp);
    GaugeRow->addWidget(FLblDeckkraft);
    Layout->addLayout(GaugeRow);
    auto* OrderRow = new QHBoxLayout;
    OrderRow->addWidget(FLayerUp);
    OrderRow->addWidget(FLayerDown);
    OrderRow->addStretch(1);
    Layout->addLayout(OrderRow);

    FLayScrllBx->setObjectName(QStringLiteral("LayScrllBx"));
    FLayScrllBx->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FLayScrllBx->setWidget(FPanelBox);
    FLayScrllBx->setWidgetResizable(false);
    FPanelBox->setAcceptDrops(true);
    FPanelBox->setFocusPolicy(Qt::ClickFocus);
    FPanelBox->installEventFilter(this);
    FLayScrllBx->installEventFilter(this);
    FPages->addTab(FLayScrllBx, QStringLiteral("Ebenen"));

    auto* GifPage = new QWidget;
    auto* Form = new QFormLayout(GifPage);
    // Labels above their fields: the palette stays as narrow as the settings make it.
    Form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    FCmbDuration->setObjectName(QStringLiteral("cmbDuration"));
    FCmbDuration->setEditable(true);
    FCmbDuration->setInsertPolicy(QComboBox::NoInsert);
    for (const char* D : {"100", "300", "500", "700", "1000", "1500", "2000", "3000", "5000", "7000", "10000",
                          "15000", "20000"})
        FCmbDuration->addItem(QString::fromLatin1(D));
    // Numbers are typed as meant: "15" must not complete to "1500".
    FCmbDuration->setCompleter(nullptr);
    FCmbDuration->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), FCmbDuration));
    FCmbColorReduction->setObjectName(QStringLiteral("cmbColorReduction"));
    for (const char* R : {"Keine", "Web", "Windows", "Monochrom", "Grau", "Quantifizierung"})
        FCmbColorReduction->addItem(QString::fromUtf8(R));
    FCmbDitherMode->setObjectName(QStringLiteral("cmbDitherMode"));
    for (const char* D : {"Ohne", "Floyd -Steinberg", "Stucki", "Sierra", "Jarvis", "SteveArche", "Burke"})
        FCmbDitherMode->addItem(QString::fromUtf8(D));
    FDurationWarning->setObjectName(QStringLiteral("lblDurationWarning"));
    FDurationWarning->setWordWrap(true);
    FDurationWarning->setStyleSheet(QStringLiteral("color: #b00000;"));
    FDurationWarning->setText(QStringLiteral("Unter 20 ms zeigen Browser den Frame 100 ms lang."));
    FDurationWarning->hide();
    FGifFacts->setObjectName(QStringLiteral("lblGifFacts"));
    FGifFacts->setWordWrap(true);
    Form->addRow(QStringLiteral("Anzeigedauer [ms]:"), FCmbDuration);
    Form->addRow(FDurationWarning);
    Form->addRow(QStringLiteral("Farbpalette:"), FCmbColorReduction);
    Form->addRow(QStringLiteral("Dithering:"), FCmbDitherMode);
    Form->addRow(FGifFacts);
    Form->setSizeConstraint(QLayout::SetMinAndMaxSize);
    // A narrow palette scrolls the settings rather than cutting their notes off.
    auto* GifScroll = new QScrollArea;
    GifScroll->setFrameShape(QFrame::NoFrame);
    GifScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GifScroll->setWidgetResizable(true);
    GifScroll->setWidget(GifPage);
    FPages->addTab(GifScroll, QStringLiteral("Gif-Einstellungen"));
    FPages->setUsesScrollButtons(false);
    FPages->setElideMode(Qt::ElideRight);
    // Both captions fit the default width unshortened.
    NarrowTabs(FPages->tabBar());
    Layout->addWidget(FPages, 1);

    FCmbLoops->setObjectName(QStringLiteral("cmbLoops"));
    FCmbLoops->setEditable(true);
    FCmbLoops->setInsertPolicy(QComboBox::NoInsert);
    FCmbLoops->addItem(QStringLiteral("unendlich"));
    for (const char* L : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "12", "15", "20", "30", "50"})
        FCmbLoops->addItem(QString::fromLatin1(L));
    FCmbLoops->setCompleter(nullptr);
    FCmbLoops->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,5}|u|un|unendlich|u[a-z]*")), FCmbLoops));
    auto* LoopRow = new QHBoxLayout;
    LoopRow->addWidget(new QLabel(QStringLiteral("Anzahl Loops:")));
    LoopRow->addWidget(FCmbLoops, 1);
    Layout->addLayout(LoopRow);

    for (const char* Item : {"Ebene ausschneiden", "Ebene kopieren", "Ebene einfügen", "", "Ebene löschen"}) {
        if (!*Item) {
            FPopupMenu->addSeparator();
            continue;
        }
        FPopupMenu->addAction(QString::fromUtf8(Item));
    }
    const QList<QAction*> Items = FPopupMenu->actions();
    connect(Items[0], &QAction::triggered, this, [this] { FModel.CutToClipBoard(); });
    connect(Items[1], &QAction::triggered, this, [this] {
        if (FDoc) FDoc->CopyToHiddenImgView(cptClipBoard);
    });
    connect(Items[2], &QAction::triggered, this, [this] { FModel.InsertFromClipBoard(); });
    connect(Items[4], &QAction::triggered, this, [this] { FModel.DeleteALayer(); });

    connect(FLayerUp, &QToolButton::clicked, this, [this] {
        if (FDoc) FDoc->Reorder(29);
    });
    connect(FLayerDown, &QToolButton::clicked, this, [this] {
        if (FDoc) FDoc->Reorder(30);
    });
    connect(FGbarTransp, &QSlider::sliderMoved, this,
            [this](int V) { FLblBitTransp->setText(QString::number(V * 100 / 255)); });
    connect(FGbarTransp, &QSlider::valueChanged, this, [this](int V) {
        FLblBitTransp->setText(QString::number(V * 100 / 255));
        if (FUpdating) return;
        FModel.Palettes.Change([V](TPaletteState& S) { S.Opacity = V; });
        if (FDoc)
            if (auto* L = dynamic_cast<TBitmapLayer*>(FDoc->Selection())) FDoc->SetLayerOpacity(*L, V);
    });
    connect(FCmbFrames, &QComboBox::activated, this, [this](int I) {
        if (!FDoc || I < 0 || I >= FDoc->FrameCount()) return;
        FModel.Palettes.Change([I](TPaletteState& S) { S.FrameIndex = I; });
        if (FDoc->ActivePage() != FDoc->TabSheetGif()) {
            FDoc->SetActivePage(FDoc->Frame(I).TabSheet);
            FDoc->PageControl1Change();
        }
        UpdateForm();
    });
    // The duration and loop count apply when typed in full (Enter or leaving the field) or
    // chosen from the list: one change, not one per digit.
    connect(FCmbDuration, &QComboBox::activated, this, [this] { ApplyFrameSettings(); });
    connect(FCmbDuration->lineEdit(), &QLineEdit::editingFinished, this, [this] { ApplyFrameSettings(); });
    connect(FCmbDuration, &QComboBox::editTextChanged, this, [this](const QString& T) {
        bool Ok = false;
        const int V = T.trimmed().toInt(&Ok);
        FDurationWarning->setVisible(Ok && V < ShortestPlayedDuration);
    });
    connect(FCmbColorReduction, &QComboBox::activated, this, [this] { ApplyFrameSettings(); });
    connect(FCmbDitherMode, &QComboBox::activated, this, [this] { ApplyFrameSettings(); });
    connect(FCmbLoops, &QComboBox::activated, this, [this] { ApplyLoops(); });
    connect(FCmbLoops->lineEdit(), &QLineEdit::editingFinished, this, [this] { ApplyLoops(); });

    FTimer1->setInterval(1000);
    connect(FTimer1, &QTimer::timeout, this, &TfrmLayers::RefreshPanels);
    FTimer1->start();
    FGifTimer->setSingleShot(true);
    FGifTimer->setInterval(300);
    connect(FGifTimer, &QTimer::timeout, this, [this] {
        if (!FDoc) return;
        try {
            FModel.AssembleGif(*FDoc);
        } catch (const std::exception&) {
            // The preview page says why when it is opened.
        }
    });
    installEventFilter(this);

    FSelectedHandler = FModel.OnSelectedDocForm.Add([this](TDocForm* Doc) { SelectedDocChanged(Doc); });
    SelectedDocChanged(FModel.SelectedDocForm());
}

TfrmLayers::~TfrmLayers() {
    FModel.OnSelectedDocForm.Remove(FSelectedHandler);
    FSubscription.Reset();
}

void TfrmLayers::SelectedDocChanged(TDocForm* Doc) {
    if (Doc == FDoc && Doc) return;
    FSubscription.Reset();
    FDoc = Doc;
    if (FDoc) FSubscription = FDoc->Subscribe([this](const TDocEvent& E) { DocumentChanged(E); });
    for (TLayerPanel* P : FPanels) delete P;
    FPanels.clear();
    FCurrent = nullptr;
    InsertToCmbBox();
    RebuildPanels();
    GifChanged();
    UpdateForm();
}

void TfrmLayers::DocumentChanged(const TDocEvent& E) {
    switch (E.Kind) {
    case TDocChange::FrameAdded:
    case TDocChange::FrameRemoved:
    case TDocChange::PagesChanged:
    case TDocChange::ActivePage:
    case TDocChange::FrameShown:
        InsertToCmbBox();
        RebuildPanels();
        UpdateForm();
        return;
    case TDocChange::LayerRemoved:
        // The layer is still in its frame: its panel goes now.
        for (TLayerPanel* P : FPanels)
            if (P->BitmapLayer() == E.Layer) {
                FPanels.removeOne(P);
                if (FCurrent == P) FCurrent = nullptr;
                delete P;
                break;
            }
        Restack();
        SelPanel();
        EnableSpeedButtons();
        return;
    case TDocChange::LayerAdded:
    case TDocChange::LayersReordered:
    case TDocChange::FrameContent: RebuildPanels(); return;
    case TDocChange::LayerChanged:
        if (TLayerPanel* P = PanelOf(E.Layer)) {
            P->Signature.clear();
            DrawPanel(*P, static_cast<int>(FPanels.indexOf(P)));
        }
        if (E.Layer && E.Layer == FDoc->Selection()) UpdateGauge();
        return;
    case TDocChange::Selection:
        SelPanel();
        EnableSpeedButtons();
        UpdateGauge();
        return;
    case TDocChange::FrameSettings: UpdateForm(); return;
    case TDocChange::Gif: GifChanged(); return;
    case TDocChange::Caption:
    case TDocChange::Modified:
    case TDocChange::UndoRedo:
    case TDocChange::Zoom:
    case TDocChange::PreviewRequested:
    case TDocChange::DragOut: return;
    }
}

QList<TLayerPanel*> TfrmLayers::Panels() const {
    QList<TLayerPanel*> Top;
    for (auto It = FPanels.rbegin(); It != FPanels.rend(); ++It) Top.append(*It);
    return Top;
}

TLayerPanel* TfrmLayers::PanelOf(const TCustomLayer* Layer) const {
    for (TLayerPanel* P : FPanels)
        if (Layer ? P->BitmapLayer() == Layer : P->IsBackground()) return P;
    return nullptr;
}

void TfrmLayers::RebuildPanels() {
    TImgView32* V = FDoc ? FDoc->CurrentView() : nullptr;
    QList<TLayerPanel*> Old = FPanels;
    QList<TLayerPanel*> New;
    auto Take = [&](TBitmapLayer* Layer) {
        for (TLayerPanel* P : Old)
            if ((Layer && P->BitmapLayer() == Layer) || (!Layer && P->IsBackground())) {
                Old.removeOne(P);
                return P;
            }
        auto* P = new TLayerPanel(*this, Layer, FPanelBox);
        P->show();
        return P;
    };
    if (V) {
        New.append(Take(nullptr));
        const TLayerCollection& Layers = V->Layers();
        for (int I = 0; I < Layers.Count(); ++I) {
            auto* L = dynamic_cast<TBitmapLayer*>(Layers.Items(I));
            if (L && !IsFrameLayer(L)) New.append(Take(L));
        }
    }
    for (TLayerPanel* P : Old) {
        if (FCurrent == P) FCurrent = nullptr;
        delete P;
    }
    FPanels = New;
    Restack();
    SelPanel();
    EnableSpeedButtons();
}

void TfrmLayers::Restack() {
    FLayScrllBx->verticalScrollBar()->setValue(0);
    const int N = static_cast<int>(FPanels.size());
    const int W = std::max(PanelWidth, FLayScrllBx->viewport()->width());
    FPanelBox->resize(W, N * PanelHeight + 4);
    LabelWidth = static_cast<int>(std::lround(W * 0.62));
    for (int J = 0; J < N; ++J) {
        TLayerPanel* P = FPanels[J];
        P->setGeometry(0, (N - 1 - J) * PanelHeight + 2, W, PanelHeight);
        DrawPanel(*P, J);
    }
}

QImage TfrmLayers::Thumbnail(const TBitmapLayer* Layer) const {
    const auto* Figure = dynamic_cast<const T2DFiguren*>(Layer);
    if (!Figure || Layer->Bitmap().Empty()) return {};
    const TFloatRect R = Figure->PictureRect();
    const int X = static_cast<int>(R.Left), Y = static_cast<int>(R.Top);
    const int W = static_cast<int>(R.Width()), H = static_cast<int>(R.Height());
    if (W <= 0 || H <= 0) return {};
    TRect Dest;
    if (W > 32 || H > 32) {
        if (W >= H) {
            const int DH = std::max(5, static_cast<int>(std::lround(H * 32.0 / W)));
            Dest = {0, (32 - DH) / 2, 32, (32 - DH) / 2 + DH};
        } else {
            const int DW = std::max(5, static_cast<int>(std::lround(W * 32.0 / H)));
            Dest = {(32 - DW) / 2, 0, (32 - DW) / 2 + DW, 32};
        }
    } else {
        Dest = {(32 - W) / 2, (32 - H) / 2, (32 - W) / 2 + W, (32 - H) / 2 + H};
    }
    TBitmap32 Thumb;
    Thumb.SetSize(32, 32);
    Thumb.Clear(0x00FFFFFF);
    Layer->Bitmap().DrawTo(Thumb, Dest, {X, Y, X + W, Y + H});
    return QImage(reinterpret_cast<const uchar*>(Thumb.Bits()), 32, 32, 32 * 4, QImage::Format_ARGB32).copy();
}

void TfrmLayers::DrawPanel(TLayerPanel& Panel, int Position) {
    const TBitmapLayer* L = Panel.BitmapLayer();
    const TTextLayer* Text = dynamic_cast<const TTextLayer*>(L);
    QString Signature = QString::number(Position) + QLatin1Char(' ') + QString::number(LabelWidth);
    if (L)
        Signature += QStringLiteral(" %1 %2 %3 %4")
                         .arg(L->Bitmap().Width())
                         .arg(L->Bitmap().Height())
                         .arg(L->TranspGradient())
                         .arg(Text ? Text->FontLayerStyle().Text() : QString());
    if (Signature == Panel.Signature) return;
    Panel.Signature = Signature;

    if (Text)
        Panel.Image()->setPixmap(CommandIcon(QStringLiteral("TlBtnInsertText")).pixmap(32, 32));
    else if (const QImage T = Thumbnail(L); !T.isNull())
        Panel.Image()->setPixmap(QPixmap::fromImage(T));
    else
        Panel.Image()->clear();

    const QString Prefix = QLatin1Char('(') + QString::number(Position) + QStringLiteral(") ");
    QString Caption;
    QString Info;
    if (Panel.IsBackground()) {
        Caption = Prefix + FModel.LangText(QStringLiteral("Hintergrund"));
    } else if (Text && !Text->FontLayerStyle().Text().isEmpty()) {
        Caption = Prefix + Text->FontLayerStyle().Text();
        const QFontMetrics M(Panel.Lbl()->font());
        if (M.horizontalAdvance(Caption) > LabelWidth) {
            while (!Caption.isEmpty() && M.horizontalAdvance(Caption + QStringLiteral("...")) > LabelWidth)
                Caption.chop(1);
            Caption += QStringLiteral("...");
        }
    } else if (Text) {
        Caption = Prefix + FModel.LangText(QStringLiteral("Textebene"));
    } else {
        Caption = Prefix + FModel.LangText(QStringLiteral("Bildebene"));
        if (L && L->TranspGradient()) Info = FModel.LangText(QStringLiteral("InfoTransp"));
    }
    Panel.Lbl()->setText(Caption);
    Panel.Lbl()->setFixedWidth(LabelWidth);
    Panel.InfoLbl()->setText(Info);
    Panel.InfoLbl()->setFixedWidth(LabelWidth);
}

void TfrmLayers::RefreshPanels() {
    if (!FDoc || !FDoc->CurrentView() || FPanels.isEmpty()) return;
    for (int J = 0; J < FPanels.size(); ++J) DrawPanel(*FPanels[J], J);
    SelPanel();
    UpdateGauge();
}

void TfrmLayers::SelPanel() {
    const TPositionedLayer* S = FDoc ? FDoc->Selection() : nullptr;
    FCurrent = nullptr;
    for (TLayerPanel* P : FPanels) {
        const bool Mine = S ? P->BitmapLayer() == S : P->IsBackground();
        P->setFrameStyle(Mine ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        P->setLineWidth(1);
        P->setBackgroundRole(Mine ? QPalette::Highlight : QPalette::Window);
        P->Lbl()->setForegroundRole(Mine ? QPalette::HighlightedText : QPalette::WindowText);
        P->InfoLbl()->setForegroundRole(Mine ? QPalette::HighlightedText : QPalette::WindowText);
        if (Mine) FCurrent = P;
    }
}

void TfrmLayers::EnableSpeedButtons() {
    const TPositionedLayer* S = FDoc ? FDoc->Selection() : nullptr;
    const TLayerCollection* Layers = S ? S->LayerCollection() : nullptr;
    if (!S || !Layers) {
        FLayerUp->setEnabled(false);
        FLayerDown->setEnabled(false);
        return;
    }
    // Counted among the real layers, so that the topmost one really is at the top.
    FLayerUp->setEnabled(S->Index() < TDocForm::TopLayerIndex(*Layers));
    FLayerDown->setEnabled(S->Index() > 0);
}

void TfrmLayers::PanelClicked(TLayerPanel& Panel) {
    if (FDoc && FDoc->CurrentView()) {
        FDoc->SelectLayer(Panel.IsBackground() ? nullptr : Panel.BitmapLayer());
        FDoc->ResetRubberbandLayer();
        SelPanel();
    }
    FModel.EnableSpecMenuItems();
}

void TfrmLayers::PanelDragged(TLayerPanel& Panel) {
    TBitmapLayer* L = Panel.BitmapLayer();
    if (!FDoc || !L) return;
    // The palette owns the drag: a panel may go while it runs.
    RunLayerDrag(*this, *FDoc, L->Id());
}

void TfrmLayers::PanelMenu(const QPoint& GlobalAt) {
    FPopupMenu->popup(GlobalAt);
}

bool TfrmLayers::DropOnList(const QMimeData& Data, QPoint At) {
    if (!FDoc || LayerDragSource(Data) != FDoc) return false;
    auto* Dragged = dynamic_cast<TPositionedLayer*>(FDoc->FindLayer(DraggedLayerId(Data)));
    if (!Dragged || Dragged->LayerCollection() != &FDoc->CurrentView()->Layers()) return false;
    // Dropped on a panel: the layer takes that panel's place; below every panel: the bottom.
    int Index = 0;
    for (TLayerPanel* P : FPanels)
        if (P->geometry().contains(At) && P->BitmapLayer()) Index = P->BitmapLayer()->Index();
    FDoc->MoveLayerTo(*Dragged, Index);
    return true;
}

bool TfrmLayers::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == FPanelBox) {
        switch (Event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* E = static_cast<QDragMoveEvent*>(Event);
            if (E->mimeData() && FDoc && LayerDragSource(*E->mimeData()) == FDoc)
                E->acceptProposedAction();
            else
                E->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* E = static_cast<QDropEvent*>(Event);
            if (E->mimeData() && DropOnList(*E->mimeData(), E->position().toPoint()))
                E->acceptProposedAction();
            else
                E->ignore();
            return true;
        }
        default: break;
        }
    }
    if (Event->type() == QEvent::KeyPress &&
        (Watched == this || Watched == FPanelBox || Watched == FLayScrllBx)) {
        auto* K = static_cast<QKeyEvent*>(Event);
        if (const int Key = ToArrowKey(K->key()); Key && FDoc) {
            FDoc->ImgViewKeyDown(Key, ToShiftState(K->modifiers(), Qt::NoButton));
            return true;
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

} // namespace zp
