#pragma once

#include "document/DocHost.h"
#include "raster/Color32.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QMdiArea;

namespace zp {

class TDocForm;
class TDocumentWindow;

// The application's main window: documents live in its MDI area.
class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainWindow(QWidget* Parent = nullptr);
    ~TMainWindow() override;

    QMdiArea* MdiArea() const { return FMdiArea; }
    // A new document with one frame of the given size and colour, shown in its own window.
    TDocumentWindow* NewDocument(int Width, int Height, TColor BackColor);

private:
    QMdiArea* FMdiArea;
    TPlainDocHost FHost;
    std::vector<std::unique_ptr<TDocForm>> FDocs;
};

} // namespace zp
