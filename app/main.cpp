#include "shell/Version.h"
#include "ui/MainWindow.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    // Answer before any display is needed.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", zp::ProductVersion);
        return 0;
    }

    QApplication App(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(zp::ProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(zp::ProductVersion));

    zp::TMainWindow Window;
    Window.show();
    Window.NewDocument(468, 60, 0x00FFFFFF);
    return QApplication::exec();
}
