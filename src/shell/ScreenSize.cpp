#include "shell/ScreenSize.h"

#include <QGuiApplication>
#include <QScreen>

namespace zp {

namespace {

std::function<TScreenSize()> FixedSource;

// Without a display (batch mode before the window exists) there is no screen to ask.
constexpr TScreenSize FallbackSize{1024, 768};

TScreenSize RealScreenSize() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* Screen = QGuiApplication::primaryScreen()) {
            const QSize Size = Screen->size();
            return {Size.width(), Size.height()};
        }
    }
    return FallbackSize;
}

} // namespace

TScreenSize ScreenSize() {
    TScreenSize Size = FixedSource ? FixedSource() : RealScreenSize();
    // Positions are divided by the screen size; a zero size would make them meaningless.
    if (Size.Width <= 0 || Size.Height <= 0) Size = FallbackSize;
    return Size;
}

void SetScreenSizeSource(std::function<TScreenSize()> Source) {
    FixedSource = std::move(Source);
}

} // namespace zp
