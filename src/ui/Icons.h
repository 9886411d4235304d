#pragma once

#include <QIcon>
#include <QString>

namespace zp {

// The picture of a menu or tool-bar command: the desktop theme's icon ThemeName when one is
// given and the theme has it, so the program blends in; otherwise our own drawing
// ":/icons/<Component>.svg"; an empty icon when neither exists.
QIcon CommandIcon(const QString& Component, const char* ThemeName = nullptr);

// The pictures live in a static library, whose resource the linker would otherwise drop.
// CommandIcon registers it itself; code that opens ":/icons/..." directly calls this first.
void RegisterIconResources();

} // namespace zp
