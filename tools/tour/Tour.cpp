#include "Tour.h"

#include "ui/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <cstdio>

namespace zp {

namespace {

QString ShownTitle(const QWidget* W) {
    QString T = W->windowTitle();
    return T.replace(QStringLiteral("[*]"), W->isWindowModified() ? QStringLiteral("*") : QString());
}

// Windows that get a title bar on a desktop; menus, lists and tool tips do not.
bool HasCaption(const QWidget* W) {
    const Qt::WindowType Type = W->windowType();
    return Type == Qt::Window || Type == Qt::Dialog || Type == Qt::Tool || Type == Qt::Sheet;
}

// The window a popup belongs to: menus and lists open from a control of it.
const QWidget* OwnerOf(const QWidget* W) {
    while (W && !HasCaption(W) && W->parentWidget()) W = W->parentWidget()->window();
    return W;
}

// A desktop puts a window's title bar where the window's position says and its content below.
// This platform has no title bars, so the content moves down by one title bar; popups move with the
// window they open from. The main window alone is placed so that its title bar fits above it:
// where other windows go is worked out from its content, as on a desktop.
QPoint Shift(const QWidget* W) {
    const QWidget* O = OwnerOf(W);
    if (!O || !HasCaption(O) || qobject_cast<const TMainWindow*>(O)) return {};
    return O->frameGeometry().topLeft() + QPoint(0, CaptionHeight) - O->geometry().topLeft();
}

QRect Outline(const QWidget* W) {
    QRect R = W->geometry().translated(Shift(W));
    if (HasCaption(W)) R.setTop(R.top() - CaptionHeight);
    return R;
}

// Main window first, then the other windows, then popups from left to right (a submenu after
// the menu it opens from).
int StackRank(const QWidget* W) {
    if (qobject_cast<const TMainWindow*>(W)) return 0;
    if (W->windowType() == Qt::Popup || W->windowType() == Qt::ToolTip) return 3;
    return W->isModal() ? 2 : 1;
}

} // namespace

void Settle(int Ms) {
    QElapsedTimer Clock;
    Clock.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (Clock.elapsed() < Ms);
}

QImage SideBySide(const QList<QImage>& Pictures) {
    int Width = 0, Height = 0;
    for (const QImage& I : Pictures) Width += I.width() + 8, Height = std::max(Height, I.height());
    QImage Sheet(std::max(Width - 8, 1), std::max(Height, 1), QImage::Format_ARGB32);
    Sheet.fill(Qt::white);
    QPainter P(&Sheet);
    int X = 0;
    for (const QImage& I : Pictures) P.drawImage(X, 0, I), X += I.width() + 8;
    return Sheet;
}

TTour::TTour(QString OutDir, QString HelpDir) : FOut(std::move(OutDir)), FHelpDir(std::move(HelpDir)) {
    QDir().mkpath(FOut);
    for (const QString& Old : QDir(FOut).entryList({QStringLiteral("*.png")}, QDir::Files))
        QFile::remove(FOut + QLatin1Char('/') + Old);
}

QImage TTour::Scene(const QList<QWidget*>& Focus, int Margin, bool Alone) {
    QList<QWidget*> Windows;
    for (QWidget* W : Alone ? Focus : QApplication::topLevelWidgets())
        if (W->isVisible() && !W->isMinimized()) Windows << W;
    std::stable_sort(Windows.begin(), Windows.end(), [](const QWidget* A, const QWidget* B) {
        const int RA = StackRank(A), RB = StackRank(B);
        return RA != RB ? RA < RB : (RA == 3 && A->x() < B->x());
    });
    QRect Area;
    for (QWidget* W : Focus) Area |= Outline(W);
    Area.adjust(-Margin, -Margin, Margin, Margin);
    QImage Image(Area.size(), QImage::Format_ARGB32);
    Image.fill(QColor(0x5a, 0x6e, 0x84));
    QPainter P(&Image);
    P.translate(-Area.topLeft());
    for (QWidget* W : Windows) {
        const QRect Frame = Outline(W);
        if (!Frame.intersects(Area)) continue;
        if (HasCaption(W)) {
            P.fillRect(Frame, QColor(0x2f, 0x3d, 0x4f));
            QFont F = QApplication::font();
            F.setBold(true);
            P.setFont(F);
            P.setPen(Qt::white);
            P.drawText(QRect(Frame.left() + 8, Frame.top(), Frame.width() - 16, CaptionHeight),
                       Qt::AlignVCenter | Qt::AlignLeft, ShownTitle(W));
        }
        P.drawPixmap(W->geometry().topLeft() + Shift(W), W->grab());
    }
    return Image;
}

void TTour::Shot(const QString& Name, const QList<QWidget*>& Focus, const QString& HelpName, int Margin,
                 bool Alone) {
    Settle();
    QList<QWidget*> Shown;
    for (QWidget* W : Focus)
        if (W && W->isVisible()) Shown << W;
    if (Shown.isEmpty()) return Broken(Name, QStringLiteral("nichts zu sehen"));
    Save(Name, Scene(Shown, Margin, Alone), HelpName);
    for (QWidget* W : Shown) Inspect(Name, W);
}

void TTour::SaveHelp(const QString& Shot, const QImage& Image, const QString& HelpName) {
    if (!FHelpDir.isEmpty() && !Image.save(FHelpDir + QLatin1Char('/') + HelpName))
        Broken(Shot, QStringLiteral("Hilfebild %1 konnte nicht gespeichert werden").arg(HelpName));
}

void TTour::Save(const QString& Name, const QImage& Image, const QString& HelpName) {
    const QString File =
        QStringLiteral("%1/%2-%3.png").arg(FOut).arg(++FNumber, 2, 10, QLatin1Char('0')).arg(Name);
    if (!Image.save(File)) Broken(Name, QStringLiteral("konnte nicht gespeichert werden"));
    if (!HelpName.isEmpty()) SaveHelp(Name, Image, HelpName);
    std::printf("%s\n", qPrintable(File));
}

void TTour::Modal(std::vector<TExpect> Expected, const std::function<void()>& Trigger) {
    std::size_t Next = 0;
    QPointer<QWidget> Handled;
    QElapsedTimer SinceHandled;
    bool Busy = false;
    QTimer Poll;
    Poll.setInterval(25);
    QObject::connect(&Poll, &QTimer::timeout, [&]() {
        QWidget* M = QApplication::activeModalWidget();
        if (Busy || !M || !M->isVisible()) return;
        if (M == Handled) {
            // A window that would not close as asked is cancelled, so the tour goes on.
            if (SinceHandled.elapsed() < 1500) return;
            Broken(QStringLiteral("nach %1").arg(Next),
                   QStringLiteral("„%1“ ließ sich nicht schließen").arg(ShownTitle(M)));
            if (auto* D = qobject_cast<QDialog*>(M))
                D->reject();
            else
                M->close();
            return;
        }
        Busy = true;
        Handled = M;
        TExpect E =
            Next < Expected.size()
                ? Expected[Next++]
                : TExpect{QStringLiteral("unerwartet-%1").arg(M->metaObject()->className()), {}, {}, {}};
        if (E.Name.startsWith(QLatin1String("unerwartet")))
            Broken(E.Name, QStringLiteral("ein Fenster, das niemand erwartet hat: „%1“").arg(ShownTitle(M)));
        Settle(E.Prepare ? 120 : 60);
        if (E.Prepare) E.Prepare(M), Settle(120);
        Shot(E.Name, {M}, E.HelpName);
        if (E.Close)
            E.Close(M);
        else if (auto* D = qobject_cast<QDialog*>(M))
            D->reject();
        else
            M->close();
        SinceHandled.start();
        Busy = false;
    });
    Poll.start();
    Trigger();
    Poll.stop();
    for (; Next < Expected.size(); ++Next)
        Broken(Expected[Next].Name, QStringLiteral("das Fenster ist nicht erschienen"));
}

void TTour::MenuShot(const QString& Name, TMainWindow& Window, QAction* Top, QAction* Sub,
                     const QString& HelpName) {
    QMenu* Menu = Top->menu();
    Window.menuBar()->setActiveAction(Top);
    Settle();
    QList<QWidget*> Focus{Window.menuBar(), Menu};
    if (Sub && Sub->menu()) {
        Menu->setActiveAction(Sub);
        Sub->menu()->popup(Menu->mapToGlobal(Menu->actionGeometry(Sub).topRight()));
        Settle();
        Focus << Sub->menu();
    }
    // The window's top as far as the menus reach, the menus lying over it.
    QRect Reach;
    for (QWidget* W : Focus.mid(1)) Reach |= Outline(W);
    const QImage Image = Scene({&Window});
    const QPoint Origin = Outline(&Window).topLeft();
    Save(Name, Image.copy(QRect(QPoint(0, 0), Reach.bottomRight() + QPoint(12, 12) - Origin) & Image.rect()),
         HelpName);
    for (QWidget* W : Focus.mid(1)) Inspect(Name, W);
    if (Sub && Sub->menu()) Sub->menu()->hide();
    Menu->hide();
    Window.menuBar()->setActiveAction(nullptr);
    Settle();
}

void TTour::Broken(const QString& Shot, const QString& Text) {
    ++FBroken;
    Note(Shot, Text);
}

void TTour::Note(const QString& Shot, const QString& Text) {
    FNotes << QStringLiteral("%1: %2").arg(Shot, Text);
    std::printf("  Auffällig in %s: %s\n", qPrintable(Shot), qPrintable(Text));
}

void TTour::Inspect(const QString& Shot, QWidget* Top) {
    static const QRegularExpression English(
        QStringLiteral("\\b(Cancel|Open|Save|Close|Yes|No|File|Files|Look in|Directory|Type|Size|Date|"
                       "Modified|Name|Basic colors|Custom colors|Hue|Sat|Val|Red|Green|Blue|Alpha|Tile\\w*|"
                       "Clamp|okay|cancel|Back|Forward|Detail|List|Parent|Folder|Color|Colour)\\b"));
    QList<QWidget*> Widgets{Top};
    Widgets += Top->findChildren<QWidget*>();
    for (QWidget* W : Widgets) {
        if (!W->isVisibleTo(Top) && W != Top) continue;
        QString Text;
        int Needed = 0;
        if (auto* L = qobject_cast<QLabel*>(W); L && L->pixmap().isNull() && !L->text().isEmpty()) {
            Text = Qt::mightBeRichText(L->text()) ? QTextDocumentFragment::fromHtml(L->text()).toPlainText()
                                                  : L->text();
            // A mnemonic's mark is not drawn.
            Text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
            if (!L->wordWrap())
                for (const QString& Line : Text.split(QLatin1Char('\n')))
                    Needed = std::max(Needed, L->fontMetrics().horizontalAdvance(Line) + 2 * L->margin());
            if (Needed > L->contentsRect().width() + 1)
                Note(Shot, QStringLiteral("Text abgeschnitten: „%1“ (%2 von %3 Pixel)")
                               .arg(Text)
                               .arg(L->contentsRect().width())
                               .arg(Needed));
        } else if (auto* B = qobject_cast<QAbstractButton*>(W); B && !B->text().isEmpty()) {
            Text = B->text();
            // A tool button's hint asks for margins it can do without; its text must fit.
            const int Wanted = qobject_cast<QToolButton*>(B) && B->icon().isNull()
                                   ? B->fontMetrics().horizontalAdvance(Text.remove(QLatin1Char('&'))) + 4
                                   : B->sizeHint().width();
            if (Wanted > B->width() + 1)
                Note(Shot, QStringLiteral("Beschriftung abgeschnitten: „%1“ (%2 von %3 Pixel)")
                               .arg(Text)
                               .arg(B->width())
                               .arg(Wanted));
        } else if (auto* C = qobject_cast<QComboBox*>(W)) {
            for (int I = 0; I < C->count(); ++I) Text += C->itemText(I) + QLatin1Char(' ');
        } else if (auto* T = qobject_cast<QTabWidget*>(W)) {
            for (int I = 0; I < T->count(); ++I) Text += T->tabText(I) + QLatin1Char(' ');
        } else if (auto* Tree = qobject_cast<QTreeWidget*>(W); Tree && Tree->headerItem()) {
            for (int I = 0; I < Tree->columnCount(); ++I)
                Text += Tree->headerItem()->text(I) + QLatin1Char(' ');
        }
        if (W == Top) Text += ShownTitle(W);
        if (const QString Tip = W->toolTip(); !Tip.isEmpty()) Text += QLatin1Char(' ') + Tip;
        Text.remove(QLatin1Char('&'));
        const auto Match = English.match(Text);
        if (Match.hasMatch() && !FEnglishSeen.contains(Match.captured(1) + Text))
            FEnglishSeen << Match.captured(1) + Text,
                Note(Shot,
                     QStringLiteral("Englisch? „%1“ in „%2“").arg(Match.captured(1), Text.simplified()));
        CheckInside(Shot, W, Top);
    }
}

void TTour::CheckInside(const QString& Shot, QWidget* W, QWidget* Top) {
    QWidget* Parent = W->parentWidget();
    if (W == Top || !Parent || W->isWindow()) return;
    if (qobject_cast<QStackedWidget*>(Parent) || qobject_cast<QMenu*>(Parent)) return;
    // What a scroll area scrolls may be larger than the area.
    if (auto* Area = qobject_cast<QAbstractScrollArea*>(Parent->parentWidget());
        Area && Area->viewport() == Parent)
        return;
    if (!Parent->rect().contains(W->geometry()) && W->width() > 0 && W->height() > 0)
        Note(Shot, QStringLiteral("%1 „%2“ ragt aus %3 heraus (%4,%5 %6×%7 in %8×%9)")
                       .arg(QString::fromLatin1(W->metaObject()->className()), W->objectName(),
                            QString::fromLatin1(Parent->metaObject()->className()))
                       .arg(W->x())
                       .arg(W->y())
                       .arg(W->width())
                       .arg(W->height())
                       .arg(Parent->width())
                       .arg(Parent->height()));
}

void TTour::CheckApart(const QString& Shot, const QList<QWidget*>& Windows) {
    const auto OnScreen = [](const QWidget* W) {
        return W->isWindow() ? Outline(W)
                             : QRect(W->mapToGlobal(QPoint(0, 0)) + Shift(W->window()), W->size());
    };
    for (int I = 0; I < Windows.size(); ++I)
        for (int J = I + 1; J < Windows.size(); ++J)
            if (Windows[I]->isVisible() && Windows[J]->isVisible() &&
                OnScreen(Windows[I]).intersects(OnScreen(Windows[J])))
                Note(Shot, QStringLiteral("„%1“ und „%2“ liegen übereinander")
                               .arg(ShownTitle(Windows[I]), ShownTitle(Windows[J])));
}

void TTour::WriteNotes() const {
    QFile F(FOut + QStringLiteral("/notes.txt"));
    if (F.open(QIODevice::WriteOnly | QIODevice::Truncate))
        F.write(FNotes.join(QLatin1Char('\n')).toUtf8() + '\n');
}

} // namespace zp
