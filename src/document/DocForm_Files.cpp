// Opening files into a document.
#include "document/DocForm.h"

#include <QFileInfo>

#include <stdexcept>

namespace zp {

void TDocForm::OpenFile(const QString& AFileName, bool Template) {
    FileName = Template ? QString() : AFileName;
    const QFileInfo Info(AFileName);
    if (!Info.exists()) return;
    const QString Ext = Info.suffix().toLower();
    if (Ext == QLatin1String("dgm")) {
        ReadProject(AFileName);
        FormCaption(Template ? QString() : FileName);
        return;
    }
    static const QStringList Pictures{"jpg", "jpeg", "bmp", "gif", "png"};
    if (!Pictures.contains(Ext)) {
        OrderFramePages();
        return;
    }
    TBitmap32 Picture;
    LoadPicture(AFileName, Picture);
    CreateNewImage(Picture);
    FHost.SetUnknownCounter(FHost.UnknownCounter() + 1);
    FormCaption(QString());
    OrderFramePages();
}

void TDocForm::ReadProject(const QString&) {
    throw std::runtime_error("Projektdateien können mit dieser Version noch nicht geöffnet werden.");
}

void TDocForm::LoadPicture(const QString&, TBitmap32&) {
    throw std::runtime_error("Bilddateien können mit dieser Version noch nicht geöffnet werden.");
}

} // namespace zp

namespace zp {

bool TDocForm::SelectSaveMethod(const QString& FilName, const QString& FileExt) {
    // No selection handles may end up in the picture.
    ClearSelectionState();
    const QString Ext = FileExt.toLower();
    bool Written = false;
    if (Ext == QLatin1String(".dgm")) {
        FileName = FilName;
        throw std::runtime_error("Projektdateien können mit dieser Version noch nicht gespeichert werden.");
    }
    if (Ext == QLatin1String(".bmp") || Ext == QLatin1String(".jpg") || Ext == QLatin1String(".png") ||
        Ext == QLatin1String(".gif")) {
        TImgView32* View = CurrentView();
        if (View) Written = WriteFramePicture(*View, FilName, Ext);
    }
    FormCaption(FileName);
    return Written;
}

} // namespace zp

namespace zp {

bool TDocForm::WriteFramePicture(TImgView32& View, const QString& AFileName, const QString& Ext) {
    const std::unique_ptr<TBitmap32> Frame = ComposeFrame(View);
    if (Ext == QLatin1String(".gif")) {
        // The single-image GIF: the web palette without dithering, no extensions.
        TGIFImage Gif;
        Gif.Assign(*Frame);
        Gif.SaveToFile(AFileName);
        return true;
    }
    (void)AFileName;
    throw std::runtime_error(
        "Bilder in diesem Format können mit dieser Version noch nicht gespeichert werden.");
}

} // namespace zp
