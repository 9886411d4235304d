#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace zp {

// The program's own help window, for desktops without a browser: the help page with its
// pictures, its links inside the page and to its neighbour pages, back and forward. Links
// to the web or to a mail address go to the desktop.
class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* Parent = nullptr);

    // Shows the page at Path (an HTML file) from its top and brings the window to the front.
    void ShowPage(const QString& Path);
    QTextBrowser* Browser() const { return FBrowser; }
    QToolButton* BackButton() const { return FBack; }
    QToolButton* ForwardButton() const { return FForward; }
    QToolButton* HomeButton() const { return FHome; }

private:
    QTextBrowser* FBrowser;
    QToolButton* FBack;
    QToolButton* FForward;
    QToolButton* FHome;
};

} // namespace zp
