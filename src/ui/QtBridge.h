#pragma once

#include "raster/Input.h"
#include "raster/Types.h"

#include <QCursor>
#include <QRect>

namespace zp {

inline QRect ToQRect(const TRect& R) {
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}
inline TRect FromQRect(const QRect& R) {
    return {R.left(), R.top(), R.left() + R.width(), R.top() + R.height()};
}

TMouseButton ToMouseButton(Qt::MouseButton Button);
TShiftState ToShiftState(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
// The arrow keys as the canvas takes them (VK_LEFT ...); 0 for any other key.
int ToArrowKey(int QtKey);
// The program's screen cursor numbers as Qt cursors.
QCursor ToQCursor(TCursor Cursor);

} // namespace zp
