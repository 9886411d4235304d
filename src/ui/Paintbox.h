#pragma once

#include "shell/PaletteModel.h"
#include "ui/PaletteWindow.h"

#include <QWidget>

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QTimer;

namespace zp {

class TColorSwatch;

// The tool palette: fourteen exclusive tool buttons and the two colour swatches, with the
// screen colour picker. A floating, always-on-top tool window. It edits the palette model and
// shows what the model holds.
class TfrmPaintbox : public TPaletteWindow {
    Q_OBJECT
public:
    explicit TfrmPaintbox(TPaletteModel& Model, QWidget* Parent = nullptr);
    ~TfrmPaintbox() override;

    TPaintTool Tool() const { return FModel.State().Tool; }
    TColor Color1() const;
    TColor Color2() const;
    TColorSwatch* ShpColor1() const { return FColor1; }
    TColorSwatch* ShpColor2() const { return FColor2; }
    QAbstractButton* Button(TPaintTool Tool) const;

    // Puts the pointer tool down without the click reaction; the canvas cursor becomes 2.
    void ActivateZeigerTool();
    // Places and shows the window from the settings, relative to the main window.
    void Adjust(QWidget* MainWindow);
    bool Picking() const;

    // A tool button was clicked (it is down now); the main window decides what that changes.
    std::function<void(TPaintTool)> OnToolClick;
    // The canvas cursor changes (2 after a pick).
    std::function<void(int)> OnSetCursor;
    // Asks for a colour (the colour dialog).
    std::function<bool(TColor&)> AskColor;

protected:
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    void BtnClick(int Id);
    void PickStep();
    void EndPick();
    void ShowState(const TPaletteState& State);

    QButtonGroup* FGroup;
    TColorSwatch* FColor1;
    TColorSwatch* FColor2;
    QTimer* FTimerColorPicker;
    TPaletteModel& FModel;
    int FModelHandler = 0;
};

} // namespace zp
