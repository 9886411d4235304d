#include "ui/MainWindow.h"

#include "shell/LangText.h"
#include "shell/Settings.h"
#include "shell/Version.h"
#include "ui/Dialogs.h"
#include "ui/DocumentWindow.h"
#include "ui/HistoryMenu.h"
#include "ui/Icons.h"
#include "ui/LangCaptions.h"
#include "ui/LayersPalette.h"
#include "ui/Paintbox.h"
#include "ui/PropertiesPalette.h"
#include "ui/QtClipboard.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace zp {

namespace {

// A document's MDI child: its close box asks the model, which decides.
class TDocSubWindow final : public QMdiSubWindow {
public:
    TDocSubWindow(TMainForm& Model, TDocForm& Doc) : FModel(Model), FDoc(Doc) {
        setAttribute(Qt::WA_DeleteOnClose, false);
    }

protected:
    void closeEvent(QCloseEvent* Event) override {
        Event->ignore();
        // The model removes the window itself when the document closes; one request at a time.
        if (FPending) return;
        FPending = true;
        TMainForm& Model = FModel;
        TDocForm* Doc = &FDoc;
        QTimer::singleShot(0, this, [this, &Model, Doc]() {
            FPending = false;
            try {
                Model.CloseProject(Doc);
            } catch (const std::exception& E) {
                UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), QString::fromUtf8(E.what()),
                                          TMsgIcon::Error);
            }
        });
    }

private:
    TMainForm& FModel;
    TDocForm& FDoc;
    bool FPending = false;
};

} // namespace

namespace {

// A menu item shows the picture of the tool button with the same command, if there is one.
QIcon MenuIcon(const QString& Component, TCmd Command) {
    static const QHash<QString, QString> Own{{"mnDelete", "Delete"}, {"mnHelp", "Help"}, {"Info1", "Info"}};
    if (Own.contains(Component)) return CommandIcon(Own.value(Component));
    for (const TToolRow& R : ToolRows())
        if (R.Command == Command) return CommandIcon(QString::fromLatin1(R.Component), R.ThemeIcon);
    return {};
}

} // namespace

TMainWindow::TMainWindow(bool Interactive, QWidget* Parent)
    : QMainWindow(Parent), FMdiArea(new QMdiArea(this)), FInteractive(Interactive) {
    setCentralWidget(FMdiArea);
    // The program's own picture; the document windows show it in their title bars too.
    setWindowIcon(QIcon(ProductPicture(64, 64, false)));
    resize(1200, 800);
    setWindowState(Qt::WindowMaximized);
    if (FInteractive) {
        FDialogs = std::make_unique<TQtUserDialogs>(this);
        SetUserDialogs(FDialogs.get());
    }
    FClipboard = std::make_unique<TQtClipboard>();
    FModel = std::make_unique<TMainForm>(*this);
    BuildMenus();
    BuildToolBar();
    FPaintbox = new TfrmPaintbox(FModel->Palettes, this);
    FProps = new TfrmFontProp(*FModel, this);
    FLayers = new TfrmLayers(*FModel, this);
    FPaintbox->OnToolClick = [this](TPaintTool Tool) { FModel->PaintboxToolClicked(Tool); };
    FPaintbox->OnSetCursor = [this](int Cursor) { FModel->SetNewCursor(Cursor); };
    FPaintbox->AskColor = [](TColor& C) { return UserDialogs().AskColor(C); };
    // Before the first document there is nothing to take back or redo.
    FModel->EnableSpecMenuItems();
    connect(FMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* Sub) {
        for (auto It = FWindows.begin(); It != FWindows.end(); ++It)
            if (It.value() == Sub) FModel->SetSelectedDocForm(const_cast<TDocForm*>(It.key()));
    });
}

TMainWindow::~TMainWindow() {
    // Closing the documents activates other sub-windows; nobody listens any more.
    disconnect(FMdiArea, nullptr, this, nullptr);
    // The palettes follow the model: they go first.
    delete FPaintbox;
    FPaintbox = nullptr;
    delete FLayers;
    FLayers = nullptr;
    delete FProps;
    FProps = nullptr;
    FModel.reset();
    if (FDialogs) SetUserDialogs(nullptr);
}

// ---------------------------------------------------------------- menus and tool bar

void TMainWindow::BuildMenus() {
    QMenu* Top = nullptr;
    QMenu* Sub = nullptr;
    const auto Rows = MenuRows();
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        const TMenuRow& R = Rows[I];
        const QString Component = QString::fromLatin1(R.Component);
        const QString Caption = QString::fromUtf8(R.Caption);
        if (R.Level == 0) {
            Top = menuBar()->addMenu(Caption);
            Top->menuAction()->setObjectName(Component);
            if (R.Tag) SetTag(Top->menuAction(), R.Tag, ckCaption);
            Sub = nullptr;
            if (R.RefreshesStates)
                connect(Top, &QMenu::aboutToShow, this, [this]() { FModel->EnableSpecMenuItems(); });
            if (Component == QLatin1String("Ansicht1"))
                connect(Top, &QMenu::aboutToShow, this, [this]() { FModel->ChangeMenuPic(); });
            continue;
        }
        QMenu* Parent = R.Level == 2 && Sub ? Sub : Top;
        if (R.Level == 1) Sub = nullptr;
        if (Caption == QLatin1String("-")) {
            QAction* Separator = Parent->addSeparator();
            Separator->setObjectName(Component);
            Separator->setVisible(!R.Hidden);
            continue;
        }
        const bool OpensSubmenu = R.Command == TCmd::None && I + 1 < Rows.size() && Rows[I + 1].Level == 2;
        QAction* Action = nullptr;
        if (OpensSubmenu || Component == QLatin1String("mnLastUsed")) {
            Sub = Parent->addMenu(Caption);
            Action = Sub->menuAction();
            if (Component == QLatin1String("mnLastUsed")) FLastUsed = Sub;
        } else {
            Action = Parent->addAction(MenuIcon(Component, R.Command), Caption);
            const TCmd Command = R.Command;
            connect(Action, &QAction::triggered, this, [this, Command]() { Run(Command); });
        }
        Action->setObjectName(Component);
        QList<QKeySequence> Keys;
        for (const char* Key : {R.ShortCut, R.AltShortCut})
            if (Key[0]) Keys << QKeySequence(QString::fromLatin1(Key));
        Action->setShortcuts(Keys);
        if (R.Command != TCmd::None) FCommandActions.insert(static_cast<int>(R.Command), Action);
        if (R.Hidden) {
            Action->setVisible(false);
            Action->setEnabled(false);
        }
        if (R.Tag) SetTag(Action, R.Tag, ckCaption);
        FActions.insert(Component, Action);
    }
    // The recently used projects are read again whenever "Datei" opens.
    if (QAction* File = menuBar()->actions().value(0))
        connect(File->menu(), &QMenu::aboutToShow, this, [this]() {
            ShowHistoryItemsInMenu(FLastUsed, FModel->History.HistoryItems(), [this](const QString& Path) {
                try {
                    FModel->OpenFile(Path, false);
                } catch (const std::exception& E) {
                    Report(E);
                }
            });
        });
}

void TMainWindow::BuildToolBar() {
    QToolBar* Bar = addToolBar(QStringLiteral("ToolBar1"));
    Bar->setObjectName(QStringLiteral("ToolBar1"));
    Bar->setIconSize(QSize(16, 16));
    Bar->setMovable(false);
    for (const TToolRow& R : ToolRows()) {
        const QString Hint = QString::fromUtf8(R.Hint);
        QAction* Action = Bar->addAction(CommandIcon(QString::fromLatin1(R.Component), R.ThemeIcon), Hint);
        Action->setObjectName(QString::fromLatin1(R.Component));
        Action->setToolTip(Hint);
        SetTag(Action, R.Tag, ckCaptionAndHint);
        const TCmd Command = R.Command;
        connect(Action, &QAction::triggered, this, [this, Command]() { Run(Command); });
        // Beside the tool bar the program was first made with, undo and redo follow their state.
        if (Command == TCmd::Undo || Command == TCmd::Redo)
            FToolStateActions.insert(static_cast<int>(Command), Action);
        if (R.SeparatorAfter) Bar->addSeparator();
    }
    auto* Spacer = new QWidget(Bar);
    Spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    Bar->addWidget(Spacer);
    auto* Label = new QLabel(QStringLiteral("Zoom"), Bar);
    Label->setObjectName(QStringLiteral("lblZoom"));
    SetTag(Label, 162);
    Bar->addWidget(Label);
    FZoom = new QComboBox(Bar);
    FZoom->setObjectName(QStringLiteral("ScaleCombo"));
    FZoom->setEditable(true);
    FZoom->setMaxVisibleItems(9);
    for (const char* Item : ZoomItems) FZoom->addItem(QString::fromLatin1(Item));
    FZoom->setCurrentIndex(4);
    FZoom->setInsertPolicy(QComboBox::NoInsert);
    connect(FZoom, &QComboBox::currentTextChanged, this,
            [this](const QString& Text) { FModel->ScaleComboChange(Text); });
    Bar->addWidget(FZoom);
}

void TMainWindow::Run(TCmd Command) {
    try {
        FModel->Execute(Command);
    } catch (const std::exception& E) {
        Report(E);
    }
}

void TMainWindow::Report(const std::exception& E) {
    UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle), QString::fromUtf8(E.what()),
                              TMsgIcon::Error);
}

// ---------------------------------------------------------------- TMainFormView

TDocumentWindow* TMainWindow::DocumentWindow(const TDocForm* Doc) const {
    QMdiSubWindow* Sub = FWindows.value(Doc);
    return Sub ? qobject_cast<TDocumentWindow*>(Sub->widget()) : nullptr;
}

void TMainWindow::DocumentCreated(TDocForm& Doc) {
    auto* Sub = new TDocSubWindow(*FModel, Doc);
    Sub->setWidget(new TDocumentWindow(Doc));
    Sub->setWindowIcon(windowIcon());
    Sub->setAttribute(Qt::WA_DeleteOnClose, false);
    FWindows.insert(&Doc, Sub);
    FMdiArea->addSubWindow(Sub);
    Sub->show();
}

void TMainWindow::DocumentClosing(TDocForm& Doc) {
    QMdiSubWindow* Sub = FWindows.take(&Doc);
    if (!Sub) return;
    if (auto* W = qobject_cast<TDocumentWindow*>(Sub->widget())) W->Detach();
    FMdiArea->removeSubWindow(Sub);
    Sub->deleteLater();
}

int TMainWindow::DocumentWindowCount() const {
    return static_cast<int>(FWindows.size());
}

void TMainWindow::PlaceDocument(TDocForm& Doc, int Left, int Top, int Width, int Height) {
    QMdiSubWindow* Sub = FWindows.value(&Doc);
    if (!Sub) return;
    // Within the work area: a window reaching beyond it would hide its own edge and buttons.
    // It gets narrower first, down to a usable size, and only then moves.
    const QSize Area = FMdiArea->viewport()->size();
    if (FMdiArea->isVisible() && !Area.isEmpty()) {
        const auto Fit = [](int& Start, int& Extent, int Available, int Usable) {
            if (Start + Extent <= Available) return;
            Extent = std::min(std::max(Available - Start, std::min(Extent, Usable)), Available);
            Start = std::max(0, std::min(Start, Available - Extent));
        };
        Fit(Left, Width, Area.width(), 320);
        Fit(Top, Height, Area.height(), 240);
    }
    Sub->setGeometry(Left, Top, Width, Height);
}

void TMainWindow::SetZoomText(const QString& Text) {
    if (!FZoom) return;
    const QSignalBlocker Block(FZoom);
    FZoom->setEditText(Text);
}

void TMainWindow::ApplyCommandStates(const TCommandStates& States) {
    for (const auto& [Command, Enabled] : States) {
        for (QAction* A : {FCommandActions.value(static_cast<int>(Command)),
                           FToolStateActions.value(static_cast<int>(Command))})
            if (A) A->setEnabled(Enabled);
    }
}

void TMainWindow::BringToFront() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void TMainWindow::CloseMainWindow() {
    if (!FInteractive) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return;
    }
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TMainWindow::SetCaption(const QString& Caption) {
    setWindowTitle(Caption);
}

TPaletteWindow* TMainWindow::PaletteOf(const QString& MenuComponent) const {
    if (MenuComponent == QLatin1String("mnPaintbox")) return FPaintbox;
    if (MenuComponent == QLatin1String("mnLayerTool")) return FLayers;
    if (MenuComponent == QLatin1String("mnTextTool")) return FProps;
    return nullptr;
}

bool TMainWindow::IsPaletteVisible(const QString& MenuComponent) const {
    const QWidget* P = PaletteOf(MenuComponent);
    return P && P->isVisible();
}

void TMainWindow::TogglePalette(const QString& MenuComponent) {
    TPaletteWindow* P = PaletteOf(MenuComponent);
    if (!P) return;
    P->setVisible(!P->isVisible());
    P->SaveProps(P->isVisible());
}

void TMainWindow::AdjustPalettes() {
    if (!FInteractive) return;
    FProps->Adjust(this);
    FPaintbox->Adjust(this);
    FLayers->Adjust(this);
}

void TMainWindow::SavePalettePositions() {
    for (TPaletteWindow* P : {static_cast<TPaletteWindow*>(FProps), static_cast<TPaletteWindow*>(FPaintbox),
                              static_cast<TPaletteWindow*>(FLayers)})
        P->SaveProps(P->isVisible());
}

void TMainWindow::FocusPropertiesText() {
    if (!FProps->EditText()->isEnabled()) return;
    FProps->activateWindow();
    FProps->EditText()->setFocus(Qt::OtherFocusReason);
}

void TMainWindow::SetMenuCheck(const QString& MenuComponent, bool Checked) {
    if (QAction* A = FActions.value(MenuComponent))
        A->setIcon(Checked ? CommandIcon(QStringLiteral("Check")) : QIcon());
}

void TMainWindow::RunBatch() {
    FBatchResult = FModel->RunBatchConversion() ? 0 : 1;
}

// ---------------------------------------------------------------- window events

void TMainWindow::closeEvent(QCloseEvent* Event) {
    bool Close = false;
    try {
        Close = FModel->FormClose();
    } catch (const std::exception& E) {
        Report(E);
    }
    if (Close)
        Event->accept();
    else
        Event->ignore();
}

void TMainWindow::changeEvent(QEvent* Event) {
    QMainWindow::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow()) Activated();
}

void TMainWindow::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    // Some desktops never activate a window that was just shown: start-up must not wait for it.
    Activated();
}

void TMainWindow::Activated() {
    // After the event: the start choice opens a modal dialog, which changes activation again.
    QTimer::singleShot(0, this, [this]() {
        if (FActivating) return;
        FActivating = true;
        try {
            FModel->FormActivate();
        } catch (const std::exception& E) {
            Report(E);
        }
        FActivating = false;
    });
}

} // namespace zp
