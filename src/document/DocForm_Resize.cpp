// Resizing every frame of a document: the working area (backgrounds stretched, layers follow)
// and the picture size (figures and texts scaled too), with one undo entry that gives every
// frame back exactly as it was.
#include "document/DocForm.h"
#include "document/LayerKinds.h"

#include "layers/StyledLayer.h"
#include "raster/Resamplers.h"

namespace zp {

namespace {

// The layers a resize moves: every bitmap layer of the picture, not the editing's own frames.
template <class F> void ForEachPictureLayer(TImgView32& View, F&& Do) {
    TLayerCollection& Layers = View.Layers();
    for (int I = 0; I < Layers.Count(); ++I) {
        TCustomLayer* L = Layers.Items(I);
        if (IsFrameLayer(L)) continue;
        if (auto* B = dynamic_cast<TBitmapLayer*>(L)) Do(*B);
    }
}

struct TFactors {
    float SX, SY;
};

TFactors FactorsOf(const TBitmap32& Background, int Width, int Height) {
    const int W0 = Background.Width(), H0 = Background.Height();
    return {W0 != 0 ? static_cast<float>(Width) / static_cast<float>(W0) : 1.0f,
            H0 != 0 ? static_cast<float>(Height) / static_cast<float>(H0) : 1.0f};
}

} // namespace

QString TDocForm::GetStringOfOldWidthAndHeight() const {
    const TImgView32* V = CurrentView();
    if (!V) return {};
    return QStringLiteral("%1;%2").arg(V->Bitmap().Width()).arg(V->Bitmap().Height());
}

void TDocForm::ResizeDocumentSub(int Width, int Height) {
    TImgView32* V = CurrentView();
    if (!V) return;
    ResetRubberbandLayer();
    SelectLayer(nullptr);
    // The factors and the old centre of the shown frame hold for every frame.
    const int W0 = V->Bitmap().Width(), H0 = V->Bitmap().Height();
    const TFactors F = FactorsOf(V->Bitmap(), Width, Height);
    const TColor32 Fill = Color32(FHost.Palette().Color2) | 0xFF000000u;
    for (const TGifFrames& R : FFrames) {
        ForEachPictureLayer(*R.ImgView, [&](TBitmapLayer& L) {
            const int BW = L.Bitmap().Width(), BH = L.Bitmap().Height();
            const int HW = BW / 2, HH = BH / 2;
            const TFloatRect Loc = L.Location();
            const float DX = (Loc.Left + static_cast<float>(HW)) - static_cast<float>(W0 / 2);
            const float DY = (Loc.Top + static_cast<float>(HH)) - static_cast<float>(H0 / 2);
            const float Left = static_cast<float>(Width / 2) + DX * F.SX - static_cast<float>(HW);
            const float Top = static_cast<float>(Height / 2) + DY * F.SY - static_cast<float>(HH);
            L.SetLocation({Left, Top, Left + static_cast<float>(BW), Top + static_cast<float>(BH)});
        });
        TBitmap32& B = R.ImgView->Bitmap();
        TBitmap32 Old;
        Old.Assign(&B);
        Old.SetDrawMode(dmOpaque);
        Old.SetResampler(std::make_unique<TNearestResampler>());
        B.SetSize(Width, Height);
        B.Clear(Fill);
        if (!Old.Empty()) Old.DrawTo(B, B.BoundsRect(), Old.BoundsRect());
        Notify(TDocChange::FrameContent, R.TabSheet);
    }
}

void TDocForm::ResizeImageSub(int Width, int Height) {
    TImgView32* V = CurrentView();
    if (!V) return;
    ResetRubberbandLayer();
    SelectLayer(nullptr);
    const TFactors F = FactorsOf(V->Bitmap(), Width, Height);
    for (const TGifFrames& R : FFrames)
        ForEachPictureLayer(*R.ImgView, [&](TBitmapLayer& L) {
            // Figures, pictures and texts are drawn anew at the new scale; plain pictures are not.
            if (TStyledLayer* S = AsStyled(&L)) S->SetScale({F.SX, F.SY});
        });
    ResizeDocumentSub(Width, Height);
}

void TDocForm::ResizeDocument(int Width, int Height) {
    Resize(Width, Height, false);
}

void TDocForm::ResizeImage(int Width, int Height) {
    Resize(Width, Height, true);
}

void TDocForm::Resize(int Width, int Height, bool Image) {
    if (!CurrentView()) return;
    if (Width < 1 || Height < 1)
        throw EResizeError("Breite und Höhe müssen mindestens 1 Pixel betragen; es wurde nichts geändert.");
    if (static_cast<std::int64_t>(Width) * Height > TBitmap32::MaxPixels)
        throw EResizeError(QStringLiteral("Ein Bild von %1 × %2 Pixel ist zu groß; es wurde nichts geändert.")
                               .arg(Width)
                               .arg(Height)
                               .toStdString());
    const QString Old = GetStringOfOldWidthAndHeight();
    // Every frame as it is now; a resize that runs out of memory half way puts it all back.
    std::vector<TResizedFrame> Saved = SnapshotFrames();
    try {
        if (Image)
            ResizeImageSub(Width, Height);
        else
            ResizeDocumentSub(Width, Height);
    } catch (const EBitmapError&) {
        SwapFrames(Saved);
        throw EResizeError(
            QStringLiteral("Für %1 × %2 Pixel reicht der Speicher nicht; es wurde nichts geändert.")
                .arg(Width)
                .arg(Height)
                .toStdString());
    }
    TUndos& R = AddUndo(Image ? undoResize : undoResizeWorkingArea, FActivePage);
    R.fUndoVar = Old;
    R.fResized = std::move(Saved);
}

std::vector<TResizedFrame> TDocForm::SnapshotFrames() const {
    std::vector<TResizedFrame> Frames;
    for (const TGifFrames& R : FFrames) {
        TResizedFrame F;
        F.PageId = R.TabSheet->Id();
        F.Background = std::make_unique<TBitmap32>();
        F.Background->Assign(&R.ImgView->Bitmap());
        ForEachPictureLayer(*R.ImgView,
                            [&](TBitmapLayer& L) { F.Layers.emplace_back(L.Id(), L.SaveState()); });
        Frames.push_back(std::move(F));
    }
    return Frames;
}

void TDocForm::SwapFrames(std::vector<TResizedFrame>& Frames) {
    ResetRubberbandLayer();
    SelectLayer(nullptr);
    for (TResizedFrame& F : Frames) {
        const auto It = std::find_if(FFrames.begin(), FFrames.end(),
                                     [&](const TGifFrames& R) { return R.TabSheet->Id() == F.PageId; });
        if (It == FFrames.end()) continue;
        It->ImgView->Bitmap().SwapContent(*F.Background);
        for (auto& [Id, State] : F.Layers)
            if (auto* L = dynamic_cast<TBitmapLayer*>(FindLayer(Id))) L->SwapState(*State);
        Notify(TDocChange::FrameContent, It->TabSheet);
    }
}

} // namespace zp
