#include "ui/FontCombo.h"

#include "gfx/Fonts.h"
#include "ui/Icons.h"
#include "ui/StyleTweaks.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace zp {

namespace {

constexpr int UsedRole = Qt::UserRole + 1;
constexpr int ItemHeight = 18;
const QColor UsedColor(0, 0, 128);

bool IsSymbolCode(const QString& Code) {
    return Code.endsWith(QLatin1String("=TS"));
}

QString NameOfCode(const QString& Code) {
    return Code.left(Code.lastIndexOf(QLatin1Char('=')));
}

// Draws each name in its own face (symbol faces in the picker's font), the used ones in navy
// above a line.
class TFontItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        const QString Code = Index.data(Qt::UserRole).toString();
        const bool Used = Index.data(UsedRole).toBool();
        const bool Selected = Option.state & QStyle::State_Selected;
        Painter->save();
        Painter->fillRect(Option.rect, Option.palette.brush(Selected ? QPalette::Highlight : QPalette::Base));
        const QIcon Icon = CommandIcon(IsSymbolCode(Code) ? QStringLiteral("FontTrueTypeSymbol")
                                                          : QStringLiteral("FontTrueTypeAnsi"));
        Icon.paint(Painter, QRect(Option.rect.left() + 2, Option.rect.top() + 1, 16, 16));
        QFont Face = Option.font;
        if (!IsSymbolCode(Code)) Face.setFamily(NameOfCode(Code));
        Painter->setFont(Face);
        Painter->setPen(Selected ? Option.palette.color(QPalette::HighlightedText)
                        : Used   ? UsedColor
                                 : Option.palette.color(QPalette::Text));
        Painter->drawText(Option.rect.adjusted(20, 1, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          Index.data(Qt::DisplayRole).toString());
        // The line under the last used font.
        const QModelIndex Next = Index.sibling(Index.row() + 1, 0);
        if (Used && Next.isValid() && !Next.data(UsedRole).toBool()) {
            Painter->setPen(Option.palette.color(QPalette::Mid));
            Painter->drawLine(Option.rect.bottomLeft(), Option.rect.bottomRight());
        }
        Painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        return {QStyledItemDelegate::sizeHint(Option, Index).width() + 20, ItemHeight};
    }
};

} // namespace

// The sample of the highlighted font beside the open list.
class TFontPreview final : public QWidget {
public:
    TFontPreview() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFixedSize(240, 60);
    }
    void SetFont(const QString& Name, bool Symbol) {
        FName = Name;
        FSymbol = Symbol;
        update();
    }
    const QString& FontName() const { return FName; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter P(this);
        P.fillRect(rect(), Qt::white);
        P.setPen(Qt::black);
        P.drawRect(rect().adjusted(0, 0, -1, -1));
        P.fillRect(1, 1, width() - 2, 15, palette().color(QPalette::Button));
        QFont Small = font();
        Small.setPixelSize(11);
        P.setFont(Small);
        P.drawText(QRect(4, 1, width() - 8, 15), Qt::AlignLeft | Qt::AlignVCenter, FName);
        QFont Sample = font();
        if (!FSymbol) Sample.setFamily(FName);
        Sample.setBold(true);
        Sample.setPixelSize(24);
        P.setFont(Sample);
        P.drawText(QRect(4, 16, width() - 8, height() - 17), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("AaBbYyZz"));
    }

private:
    QString FName;
    bool FSymbol = false;
};

TscFontComboBox::TscFontComboBox(QWidget* Parent, int FontTypes)
    : QComboBox(Parent), FFontTypes(FontTypes), FPreview(new TFontPreview) {
    setObjectName(QStringLiteral("scFontCombobox"));
    setMaxVisibleItems(12);
    // Twelve rows below the field, as the list is meant to be, whatever the style prefers.
    KeepListBelow(this);
    setItemDelegate(new TFontItemDelegate(this));
    Fill(InstalledFontNames());
    connect(this, &QComboBox::highlighted, this, &TscFontComboBox::ShowPreview);
    connect(this, &QComboBox::activated, this, [this](int Index) {
        Commit(Index);
        emit FontChosen(FontName());
    });
}

TscFontComboBox::~TscFontComboBox() {
    delete FPreview;
}

void TscFontComboBox::Fill(const QStringList& Families) {
    const QStringList Real = QFontDatabase::families();
    QStringList Codes;
    for (const QString& F : Families) {
        if (F.isEmpty() || F.startsWith(QLatin1Char('@'))) continue;
        // Stand-ins for other families (metric-compatible fonts) are outline fonts.
        const bool Known = Real.contains(F);
        QString Type;
        if (Known && QFontDatabase::writingSystems(F).contains(QFontDatabase::Symbol))
            Type = QStringLiteral("TS");
        else if (!Known || QFontDatabase::isSmoothlyScalable(F))
            Type = QStringLiteral("TA");
        else
            Type = QStringLiteral("R");
        const int Kind = Type == QLatin1String("TA")   ? ftTrueTypeAnsi
                         : Type == QLatin1String("TS") ? ftTrueTypeSymbol
                                                       : ftRaster;
        if (FFontTypes & Kind) Codes << F + QLatin1Char('=') + Type;
    }
    std::sort(Codes.begin(), Codes.end(),
              [](const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) < 0; });
    Codes.removeDuplicates();
    clear();
    FUsed = 0;
    for (const QString& C : Codes) {
        addItem(NameOfCode(C));
        setItemData(count() - 1, C, Qt::UserRole);
        setItemData(count() - 1, false, UsedRole);
    }
}

QWidget* TscFontComboBox::Preview() const {
    return FPreview;
}

QString TscFontComboBox::ItemCode(int Index) const {
    return itemData(Index, Qt::UserRole).toString();
}

QString TscFontComboBox::FontName() const {
    return currentIndex() < 0 ? QString() : NameOfCode(ItemCode(currentIndex()));
}

void TscFontComboBox::SetFontName(const QString& Name) {
    const QString Code = Name + QLatin1Char('=');
    for (int I = 0; I < count(); ++I)
        if (ItemCode(I).startsWith(Code)) {
            Commit(I);
            return;
        }
}

QStringList TscFontComboBox::UsedFonts() const {
    QStringList Names;
    for (int I = 0; I < FUsed; ++I) Names << itemText(I);
    return Names;
}

void TscFontComboBox::Commit(int Index) {
    if (Index < 0 || Index >= count()) return;
    if (Index > 0 || FUsed == 0) {
        const QString Code = ItemCode(Index);
        const QString Text = itemText(Index);
        // A font used before moves up; its place in the alphabetical part stays.
        int UsedAt = Index < FUsed ? Index : -1;
        for (int I = 0; I < FUsed && UsedAt < 0; ++I)
            if (ItemCode(I) == Code) UsedAt = I;
        if (UsedAt >= 0)
            removeItem(UsedAt);
        else
            ++FUsed;
        insertItem(0, Text);
        setItemData(0, Code, Qt::UserRole);
        setItemData(0, true, UsedRole);
        setItemData(0, UsedColor, Qt::ForegroundRole);
        if (FUsed > MaxUsed) {
            removeItem(MaxUsed);
            FUsed = MaxUsed;
        }
    }
    setCurrentIndex(0);
}

void TscFontComboBox::ShowPreview(int Index) {
    if (Index < 0 || Index >= count()) return;
    FPreview->SetFont(itemText(Index), IsSymbolCode(ItemCode(Index)));
}

void TscFontComboBox::showPopup() {
    QComboBox::showPopup();
    ShowPreview(currentIndex());
    // At the picker's bottom-right corner; to its left or above it where the screen ends.
    QPoint At = mapToGlobal(QPoint(width(), height()));
    const QScreen* S = screen();
    const QRect Screen = S ? S->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
    if (At.x() + FPreview->width() > Screen.right())
        At.setX(mapToGlobal(QPoint(0, 0)).x() - FPreview->width());
    if (At.y() + FPreview->height() > Screen.bottom())
        At.setY(mapToGlobal(QPoint(0, 0)).y() - FPreview->height());
    FPreview->move(At);
    FPreview->show();
}

void TscFontComboBox::hidePopup() {
    FPreview->hide();
    QComboBox::hidePopup();
}

} // namespace zp
