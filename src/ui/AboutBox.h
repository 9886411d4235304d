#pragma once

#include <QDialog>

namespace zp {

// The about box: product picture, name, version, legal notice, links.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Homepage = "https://zelk-pixaro.example";
    static constexpr const char* Mail = "info@zelk-pixaro.example";

    explicit TAboutBox(QWidget* Parent = nullptr);
};

} // namespace zp
