#pragma once

#include "document/Clipboard.h"

namespace zp {

// The desktop's clipboard (QClipboard) for the program's copies and pastes: images other
// programs put there in any format Qt reads (image/png, image/bmp, ... on X11 and Wayland).
// Installs itself for its lifetime.
class TQtClipboard final : public TSystemClipboard {
public:
    TQtClipboard();
    ~TQtClipboard() override;
    TQtClipboard(const TQtClipboard&) = delete;
    TQtClipboard& operator=(const TQtClipboard&) = delete;

    bool HasPicture() const override;
    QImage Picture() const override;
    void SetPicture(const QImage& Picture) override;

private:
    TSystemClipboard* FPrevious;
};

} // namespace zp
