#include "ui/Icons.h"

#include <QFile>

// Q_INIT_RESOURCE declares a function of the global namespace, so it may not run inside zp.
static void InitIconResource() {
    Q_INIT_RESOURCE(icons);
}

namespace zp {

void RegisterIconResources() {
    static const bool Registered = (InitIconResource(), true);
    (void)Registered;
}

QIcon CommandIcon(const QString& Component, const char* ThemeName) {
    RegisterIconResources();
    if (ThemeName && *ThemeName) {
        const QString Name = QString::fromLatin1(ThemeName);
        if (QIcon::hasThemeIcon(Name)) return QIcon::fromTheme(Name);
    }
    const QString Path = QStringLiteral(":/icons/%1.svg").arg(Component);
    if (!Component.isEmpty() && QFile::exists(Path)) return QIcon(Path);
    return QIcon();
}

} // namespace zp
