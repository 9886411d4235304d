#pragma once

#include <cstdint>

namespace zp {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Modifier keys and held buttons of a mouse or key event.
using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 1 << 0;
constexpr TShiftState ssAlt = 1 << 1;
constexpr TShiftState ssCtrl = 1 << 2;
constexpr TShiftState ssLeft = 1 << 3;
constexpr TShiftState ssRight = 1 << 4;
constexpr TShiftState ssMiddle = 1 << 5;
constexpr TShiftState ssDouble = 1 << 6;

// Key codes of the keys the views act on.
enum TVirtualKey : int { VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28 };

// Screen cursor numbers. Negative numbers are the system's shapes; positive numbers are the
// program's own cursors, registered at start.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crNo = -18;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

} // namespace zp
