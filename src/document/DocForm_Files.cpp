// Opening files into a document and saving it.
#include "document/DocForm.h"

#include "files/PictureFiles.h"

#include <QFileInfo>

namespace zp {

void TDocForm::OpenFile(const QString& AFileName, bool Template) {
    FFileName = Template ? QString() : AFileName;
    const QFileInfo Info(AFileName);
    if (!Info.exists()) return;
    const QString Ext = FileExtension(AFileName);
    if (Ext.compare(QLatin1String(".dgm"), Qt::CaseInsensitive) == 0) {
        ReadProject(AFileName);
        // The preview page stays behind the frames the project brought.
        OrderFramePages();
        FormCaption(Template ? QString() : FFileName);
        return;
    }
    if (!IsPictureExtension(Ext)) {
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

void TDocForm::LoadPicture(const QString& AFileName, TBitmap32& Picture) {
    const std::unique_ptr<TBitmap32> Loaded = LoadPictureFromFile(AFileName);
    Picture.Assign(Loaded.get());
}

bool TDocForm::SelectSaveMethod(const QString& FilName, const QString& FileExt) {
    // No selection handles may end up in the picture.
    ClearSelectionState();
    const QString Ext = FileExt.toLower();
    bool Written = false;
    if (Ext == QLatin1String(".dgm")) {
        // A project that could not be written keeps the name it had.
        const QString Previous = FFileName;
        FFileName = FilName;
        try {
            SaveProjectToXML();
        } catch (...) {
            FFileName = Previous;
            throw;
        }
        MarkSaved();
        Written = true;
    }
    if (Ext == QLatin1String(".bmp") || Ext == QLatin1String(".jpg") || Ext == QLatin1String(".png") ||
        Ext == QLatin1String(".gif")) {
        if (TImgView32* View = CurrentView()) Written = WriteFramePicture(*View, FilName, Ext);
    }
    // A document is named after its project file only; one opened from a picture stays untitled.
    FormCaption(FileExtension(FFileName).compare(QLatin1String(".dgm"), Qt::CaseInsensitive) == 0
                    ? FFileName
                    : QString());
    return Written;
}

bool TDocForm::WriteFramePicture(TImgView32& View, const QString& AFileName, const QString& Ext) {
    const std::unique_ptr<TBitmap32> Frame = ComposeFrame(View);
    if (Ext == QLatin1String(".gif")) {
        // The single-image GIF: the web palette without dithering, no extensions.
        TGIFImage Gif;
        Gif.Assign(*Frame);
        Gif.SaveToFile(AFileName);
    } else if (Ext == QLatin1String(".png")) {
        SaveAsPNG(AFileName, Frame.get());
    } else if (Ext == QLatin1String(".jpg")) {
        SaveAsJPG(AFileName, Frame.get());
    } else if (Ext == QLatin1String(".bmp")) {
        SaveAsBitmap(AFileName, Frame.get());
    } else {
        return false;
    }
    return true;
}

} // namespace zp
