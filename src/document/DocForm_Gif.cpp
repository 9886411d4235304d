// The document's animation: assembly from its frames and saving.
#include "document/DocForm.h"

#include "files/AnimGif.h"

namespace zp {

bool TDocForm::CreateGifImgPreview(TProgress* Progress) {
    ClearSelectionState();
    RenderFrameBitmaps();
    std::vector<TGifFrameSource> Frames;
    Frames.reserve(ArrayGifFrame.size());
    for (const TGifFrames& R : ArrayGifFrame)
        Frames.push_back({R.Bitmap.get(), R.Duration, R.ColorReduction, R.DitherMode});

    TGifProgressEvent OnProgress;
    if (Progress) OnProgress = [Progress](int Done, int Total) { return Progress->Step(Done, Total); };
    std::unique_ptr<TGIFImage> Result;
    try {
        Result = CreateAnimGif(Frames, NumLoops, OnProgress);
    } catch (...) {
        // No half-built animation is shown or saved.
        GifImg.reset();
        OnGifChanged.Notify(*this);
        throw;
    }
    if (!Result) return false;
    GifImg = std::move(Result);
    OnGifChanged.Notify(*this);
    return true;
}

void TDocForm::SaveAnimGif(const QString& AFileName) {
    if (!GifImg) return;
    zp::SaveAnimGif(GifImg.get(), AFileName);
    AnimGifFileName = AFileName;
}

} // namespace zp
