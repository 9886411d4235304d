#pragma once

#include "raster/Color32.h"

#include <QWidget>

#include <functional>

namespace zp {

// A rounded colour square; a click (on release) asks for a new colour.
class TColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit TColorSwatch(TColor Color, QWidget* Parent = nullptr);
    TColor Color() const { return FColor; }
    void SetColor(TColor Color);
    // Asks for a colour starting from the current one; the application installs the colour
    // dialog.
    std::function<bool(TColor&)> AskColor;
    // The user chose a colour.
    std::function<void(TColor)> OnChange;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    TColor FColor;
};

} // namespace zp
