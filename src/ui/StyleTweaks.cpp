#include "ui/StyleTweaks.h"

#include <QApplication>
#include <QComboBox>
#include <QProxyStyle>
#include <QTabBar>

namespace zp {

namespace {

class TTweakedStyle final : public QProxyStyle {
public:
    enum TTweak { twListBelow, twNarrowTabs };

    explicit TTweakedStyle(TTweak Tweak) : QProxyStyle(QApplication::style()->name()), FTweak(Tweak) {}

    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override {
        if (FTweak == twListBelow && Hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
    int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override {
        const int Value = QProxyStyle::pixelMetric(Metric, Option, Widget);
        return FTweak == twNarrowTabs && Metric == PM_TabBarTabHSpace ? Value / 2 : Value;
    }

private:
    TTweak FTweak;
};

void Apply(QWidget* Control, TTweakedStyle::TTweak Tweak) {
    auto* Style = new TTweakedStyle(Tweak);
    Style->setParent(Control);
    Control->setStyle(Style);
}

} // namespace

void KeepListBelow(QComboBox* Combo) {
    Apply(Combo, TTweakedStyle::twListBelow);
}

void NarrowTabs(QTabBar* Bar) {
    Apply(Bar, TTweakedStyle::twNarrowTabs);
}

} // namespace zp
