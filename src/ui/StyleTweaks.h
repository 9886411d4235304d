#pragma once

class QComboBox;
class QTabBar;

namespace zp {

// Small departures from the desktop's style for single controls; the rest of the look stays.

// The list opens below the field with at most the combo box's maximum of visible rows, even
// in styles that open it over the field as a column as long as the items.
void KeepListBelow(QComboBox* Combo);
// Tabs with half the style's room beside their captions, for a tab bar in a narrow window.
void NarrowTabs(QTabBar* Bar);

} // namespace zp
