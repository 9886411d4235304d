#pragma once

// What a document shows and exports, for comparing documents in tests.
#include "document/DocForm.h"

#include <cstring>
#include <memory>
#include <vector>

namespace zp {

inline bool SamePixels(const TBitmap32& A, const TBitmap32& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
    return A.Empty() ||
           std::memcmp(A.Bits(), B.Bits(), static_cast<std::size_t>(A.Width()) * A.Height() * 4) == 0;
}

// Everything a document shows and exports: each frame flattened, with its settings.
struct TShown {
    struct TFrame {
        std::unique_ptr<TBitmap32> Picture;
        int Duration;
        TColorReduction Reduction;
        TDitherMode Dither;
    };
    std::vector<TFrame> Frames;
    int Loops = 0;

    explicit TShown(const TDocForm& Doc) : Loops(Doc.NumLoops()) {
        for (int I = 0; I < Doc.FrameCount(); ++I) {
            const TGifFrames& F = Doc.Frame(I);
            Frames.push_back(
                {TDocForm::ComposeFrame(*F.ImgView), F.Duration, F.ColorReduction, F.DitherMode});
        }
    }
    bool operator==(const TShown& O) const {
        if (Loops != O.Loops || Frames.size() != O.Frames.size()) return false;
        for (std::size_t I = 0; I < Frames.size(); ++I) {
            const TFrame &A = Frames[I], &B = O.Frames[I];
            if (A.Duration != B.Duration || A.Reduction != B.Reduction || A.Dither != B.Dither ||
                !SamePixels(*A.Picture, *B.Picture))
                return false;
        }
        return true;
    }
};

// What a refused project leaves: one frame without picture or layers, no loops, no history.
inline bool LeftEmpty(const TDocForm& Doc) {
    if (Doc.FrameCount() != 1 || Doc.NumLoops() != 0 || Doc.CanUndo()) return false;
    const TImgView32& View = *Doc.Frame(0).ImgView;
    return View.Layers().Count() == 0 && View.Bitmap().Empty() && Doc.CurrentView() == &View;
}

} // namespace zp
