#pragma once

#include "shell/History.h"

#include <functional>
#include <vector>

class QMenu;

namespace zp {

// Rebuilds the recently used submenu: exactly one item per entry, newest first, the file name
// as text and the full path as tool tip. Items already in the menu are reused from the front,
// surplus ones removed from the end. Choosing an item calls OpenFile with its path; an item
// keeps the OpenFile it was first given, so pass the same handler every time.
void ShowHistoryItemsInMenu(QMenu* Menu, const std::vector<THistoryItem>& Items,
                            const std::function<void(const QString&)>& OpenFile);

} // namespace zp
