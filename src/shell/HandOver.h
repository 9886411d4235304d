#pragma once

#include <QByteArray>
#include <QStringList>

namespace zp {

// The record a second start hands to the running instance: four slots of 2,001 UTF-16 code
// units (program path, then the first three arguments). Unit 0 of a slot is always zero, the
// text follows from unit 1 and the rest is zero.
constexpr int HandOverSlots = 4;
constexpr int HandOverSlotUnits = 2001;
constexpr int HandOverSize = HandOverSlots * HandOverSlotUnits * 2; // 16,008 bytes
// A text this long or longer does not fit a slot.
constexpr int HandOverMaxText = 2000;

constexpr const char* HandOverSectionName = "MMFbrantholmzelkanimoro20091116";
constexpr const char* HandOverMessageName = "brantholmzelkanimoro20091115";

// Whether the program path and the first three arguments can be handed over.
bool FitsHandOver(const QStringList& Texts);
// Texts: up to four; missing ones leave their slot empty. Texts longer than a slot are cut.
QByteArray EncodeHandOver(const QStringList& Texts);
// Always four strings; each is read from unit 1 up to the first zero unit, at most 2,000 units.
// A short or missing record reads as empty slots.
QStringList DecodeHandOver(const QByteArray& Record);

} // namespace zp
