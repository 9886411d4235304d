// zp-make-templates BANNER_FOLDER PICTURE_FOLDER
//
// Draws the templates the program ships: banner projects in every standard size of the new-image
// dialog and transparent pictures. The GIF previews beside the projects are made afterwards by
// the program's own conversion (scripts/make-templates.sh).
#include "Templates.h"

#include "ui/Dialogs.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s BANNER_FOLDER PICTURE_FOLDER\n", argv[0]);
        return 2;
    }
    // Fonts need a GUI application, a window system does not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    std::vector<QSize> Sizes;
    // The first entry is "andere Größe", the user's own.
    for (std::size_t I = 1; I < std::size(zp::TNewImageForm::StandardSizes); ++I)
        Sizes.emplace_back(zp::TNewImageForm::StandardSizes[I].Width,
                           zp::TNewImageForm::StandardSizes[I].Height);
    try {
        zp::tpl::MakeBanners(QString::fromLocal8Bit(argv[1]), Sizes);
        zp::tpl::MakePictures(QString::fromLocal8Bit(argv[2]));
    } catch (const std::exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
        return 1;
    }
    return 0;
}
