#pragma once

#include "shell/Settings.h"

#include <QWidget>

namespace zp {

// A floating, always-on-top palette whose place, size and visibility the settings keep: a
// move stores the place once the palette is placed, the user's close stores it as hidden.
class TPaletteWindow : public QWidget {
    Q_OBJECT
public:
    TPaletteWindow(TPaletteKind Kind, QWidget* Parent);

    // Writes the palette's geometry with the given visibility into the settings.
    void SaveProps(bool Visible);
    TPaletteKind Kind() const { return FKind; }

protected:
    void moveEvent(QMoveEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;

    // Placed from the settings: moves are stored from now on.
    bool IsAdjusted = false;

private:
    TPaletteKind FKind;
};

// Where a palette placed "at the top" goes: just below the main window's menu and tool bar.
int PaletteTopBelowToolBar(const QWidget* MainWindow);

// A window's frame with its title bar. A desktop that has not told its decoration yet (or
// draws none) is given a title bar of the style's height, so that what is placed below it
// never slips under its real one.
QRect OuterFrame(const QWidget& Window);

} // namespace zp
