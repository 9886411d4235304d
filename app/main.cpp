#include "shell/GifCommand.h"
#include "shell/HandOver.h"
#include "shell/Places.h"
#include "shell/SingleInstance.h"
#include "shell/Version.h"
#include "ui/Dialogs.h"
#include "ui/LangCaptions.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

// An error no command handled is shown, and the program goes on.
class TApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* Receiver, QEvent* Event) override {
        try {
            return QApplication::notify(Receiver, Event);
        } catch (const std::exception& E) {
            // Whatever the event asked for (closing a window, say) does not happen.
            Event->ignore();
            QMessageBox::critical(activeWindow(), QString::fromUtf8(zp::ApplicationTitle),
                                  QString::fromUtf8(E.what()));
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    // Answer before any display is needed.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", zp::ProductVersion);
        return 0;
    }
    // Pictures to an animation, without any window.
    if (argc > 1 && std::strcmp(argv[1], "--gif") == 0) {
        QStringList Arguments;
        for (int I = 2; I < argc; ++I) Arguments << QString::fromLocal8Bit(argv[I]);
        return zp::RunGifCommand(Arguments, stderr);
    }
    // The conversion runs without a display and without asking anything.
    const bool Batch = argc > 1 && std::strcmp(argv[1], "/a") == 0;
    if (Batch) qputenv("QT_QPA_PLATFORM", "offscreen");

    TApplication App(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(zp::ApplicationTitle));
    QApplication::setApplicationVersion(QString::fromUtf8(zp::ProductVersion));
    QTranslator QtGerman;
    zp::UseGermanQt(QtGerman);

    if (Batch) {
        // A conversion works on its own files, whatever else runs: it takes no part in the
        // single-instance rule, so it never hands its job to a window and ends without result.
        zp::TMainWindow Window(false);
        Window.RunBatch();
        return Window.BatchResult();
    }

    zp::TSingleInstance Instance;
    if (!Instance.TryBecomePrimary()) {
        QStringList Texts{zp::ProgramFilePath()};
        for (int I = 1; I <= 3; ++I) Texts << zp::ParamStr(I);
        if (zp::FitsHandOver(Texts) && Instance.SendToPrimary(zp::EncodeHandOver(Texts))) return 0;
        // Too long to hand over, or nobody answered: run as an instance of its own.
    }

    zp::TSplash Splash;
    Splash.show();
    QApplication::processEvents();

    zp::TMainWindow Window;
    zp::LoadCaptions();
    Instance.SetReceiver([&Window](const QStringList& Texts) {
        try {
            Window.Model().HandleInstanceMessage(Texts);
        } catch (const std::exception& E) {
            QMessageBox::critical(&Window, QString::fromUtf8(zp::ApplicationTitle),
                                  QString::fromUtf8(E.what()));
        }
    });
    Splash.close();
    Window.show();
    return QApplication::exec();
}
