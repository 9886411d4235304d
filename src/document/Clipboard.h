#pragma once

#include "raster/ImgView32.h"
#include "raster/LayerRef.h"

#include <QImage>

#include <vector>

namespace zp {

class TStyledLayer;

// What a copy is for: the undo list keeps deleted layers itself, so only the clipboard copies.
enum TCopyType { cptUndo, cptClipBoard };

// The program's own clipboard: a full copy of the copied layer, so that a pasted text or
// figure stays editable. Only the newest copy is pasted, so only it is kept. The main window
// owns it for all documents.
class TProgramClipboard {
public:
    TProgramClipboard();

    // An invisible view whose layers are the copies.
    TImgView32 ClpBrdImgView;
    // The copies, oldest first (only the newest is kept).
    std::vector<TLayerRef<TStyledLayer>> ClpBrdLayer;

    // The newest copy; null when nothing was copied.
    TStyledLayer* Newest() const;
    // Keeps Layer (already in ClpBrdImgView) as the newest copy, hidden; older copies go.
    void Append(TStyledLayer& Layer);
};

// The system clipboard as the program uses it: one picture, with alpha. The application puts
// the platform's clipboard behind it; until then (tests, conversion) a picture kept in memory.
class TSystemClipboard {
public:
    virtual ~TSystemClipboard() = default;
    virtual bool HasPicture() const = 0;
    // The picture in straight (not premultiplied) ARGB; a null image when there is none.
    virtual QImage Picture() const = 0;
    virtual void SetPicture(const QImage& Picture) = 0;
};

// The one in use.
TSystemClipboard& SystemClipboard();
// Installs Clipboard (not owned; null restores the one kept in memory). Returns the previous one.
TSystemClipboard* SetSystemClipboard(TSystemClipboard* Clipboard);

// The same size and the same colours wherever a pixel is not fully transparent: what a
// clipboard that drops the colour of transparent pixels gives back is still the same picture.
bool SamePicture(const QImage& A, const QImage& B);

} // namespace zp
