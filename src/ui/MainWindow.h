#pragma once

#include <QMainWindow>

class QMdiArea;

namespace zp {

// The application's main window: documents live in its MDI area.
class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainWindow(QWidget* Parent = nullptr);

    QMdiArea* MdiArea() const { return FMdiArea; }

private:
    QMdiArea* FMdiArea;
};

} // namespace zp
