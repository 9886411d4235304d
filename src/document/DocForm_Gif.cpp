// The document's animation: assembly from its frames and saving.
#include "document/DocForm.h"

#include "files/AnimGif.h"

namespace zp {

bool TDocForm::CreateGifImgPreview(TProgress* Progress) {
    // The progress display lets events through: a second request waits for the first.
    if (FAssembling) return false;
    FAssembling = true;
    struct TDone {
        bool& Flag;
        ~TDone() { Flag = false; }
    } Done{FAssembling};

    ClearSelectionState();
    RenderFrameBitmaps();
    std::vector<TGifFrameSource> Frames;
    // The frame renderings stay alive for the whole assembly, even if a frame is deleted while
    // the progress display lets events through.
    std::vector<std::shared_ptr<TBitmap32>> Keep;
    Frames.reserve(FFrames.size());
    for (const TGifFrames& R : FFrames) {
        Keep.push_back(R.Bitmap);
        Frames.push_back({R.Bitmap.get(), R.Duration, R.ColorReduction, R.DitherMode});
    }

    TGifProgressEvent OnProgress;
    if (Progress) OnProgress = [Progress](int Done, int Total) { return Progress->Step(Done, Total); };
    std::unique_ptr<TGIFImage> Result;
    try {
        Result = CreateAnimGif(Frames, FNumLoops, OnProgress);
    } catch (...) {
        // No half-built animation is shown or saved.
        FGifImg.reset();
        Notify(TDocChange::Gif);
        throw;
    }
    if (!Result) return false;
    FGifImg = std::move(Result);
    Notify(TDocChange::Gif);
    return true;
}

void TDocForm::SaveAnimGif(const QString& AFileName) {
    if (!FGifImg) return;
    zp::SaveAnimGif(FGifImg.get(), AFileName);
    FAnimGifFileName = AFileName;
}

} // namespace zp
