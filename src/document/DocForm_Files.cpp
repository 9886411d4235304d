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
