// Cut, copy and paste: full layer copies in the program's clipboard, so that a pasted text or
// figure stays editable, and their flat picture on the system clipboard for other programs.
#include "document/DocForm.h"
#include "document/LayerKinds.h"

#include "files/PictureCodecs.h"
#include "layers/PicLayer.h"

#include <cmath>

namespace zp {

namespace {

TFloatRect Intersection(const TFloatRect& A, const TFloatRect& B) {
    const TFloatRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                       std::min(A.Bottom, B.Bottom)};
    if (R.Left >= R.Right || R.Top >= R.Bottom) return {-1, -1, -1, -1};
    return R;
}

TRect Rounded(const TFloatRect& R) {
    return {static_cast<int>(std::lround(R.Left)), static_cast<int>(std::lround(R.Top)),
            static_cast<int>(std::lround(R.Right)), static_cast<int>(std::lround(R.Bottom))};
}

// The part Src of a picture on a transparent surface, drawn by the picture's own draw mode.
std::unique_ptr<TBitmap32> CopyArea(const TBitmap32& Picture, TRect Src) {
    Src = IntersectRect(Src, Picture.BoundsRect());
    auto Out = std::make_unique<TBitmap32>();
    if (Src.IsEmpty()) return Out;
    Out->SetSize(Src.Width(), Src.Height());
    Out->Clear(0);
    Picture.DrawTo(*Out, Out->BoundsRect(), Src);
    return Out;
}

} // namespace

void TDocForm::CopyToHiddenImgView(TCopyType CopyType) {
    TImgView32* V = CurrentView();
    if (!V) return;
    if (FMarkLayer) {
        CopyMarkedRectToHiddenImgView(CopyType);
        return;
    }
    if (CopyType != cptClipBoard) return;
    TProgramClipboard& C = FHost.ProgramClipboard();
    TPositionedLayer* S = FSelection.Get();
    if (TTextLayer* T = AsText(S)) {
        auto* Copy = static_cast<TStyledLayer*>(T->Clone(C.ClpBrdImgView.Layers()));
        Copy->SetLocation(T->Location());
        C.Append(*Copy);
        CopyToWindowsClipboard();
    } else if (AsFigure(S)) {
        Copy2DFigToHiddenImgView(CopyType);
    } else if (!S && !V->Bitmap().Empty()) {
        // The background alone, without the frame's layers.
        C.Append(*C.ClpBrdImgView.Layers().Add<TPicLayer>(V->Bitmap()));
        CopyToWindowsClipboard();
    }
}

void TDocForm::Copy2DFigToHiddenImgView(TCopyType CopyType) {
    T2DFiguren* F = AsFigure(FSelection.Get());
    if (!F || CopyType != cptClipBoard) return;
    TProgramClipboard& C = FHost.ProgramClipboard();
    auto* Copy = static_cast<TStyledLayer*>(F->Clone(C.ClpBrdImgView.Layers()));
    Copy->SetLocation(F->Location());
    C.Append(*Copy);
    CopyToWindowsClipboard();
}

void TDocForm::CopyToWindowsClipboard() {
    TStyledLayer* Newest = FHost.ProgramClipboard().Newest();
    if (!Newest) return;
    Newest->SetVisible(false);
    SystemClipboard().SetPicture(Newest->ExtractBitmap());
}

void TDocForm::CopyMarkedRectToHiddenImgView(TCopyType CopyType) {
    TImgView32* V = CurrentView();
    if (CopyType != cptClipBoard || !FMarkLayer || !V) return;
    const TFloatRect ML = FMarkLayer->Location();
    const TPoint A =
        V->ControlToBitmap({static_cast<int>(std::lround(ML.Left)), static_cast<int>(std::lround(ML.Top))});
    const TPoint B = V->ControlToBitmap(
        {static_cast<int>(std::lround(ML.Right)), static_cast<int>(std::lround(ML.Bottom))});
    const TFloatRect M{static_cast<float>(A.X), static_cast<float>(A.Y), static_cast<float>(B.X),
                       static_cast<float>(B.Y)};
    std::unique_ptr<TBitmap32> Out;
    if (auto* S = dynamic_cast<TBitmapLayer*>(FSelection.Get())) {
        const TStyledLayer* Styled = AsStyled(S);
        const TFloatRect L = S->Location();
        const TFloatRect I = Intersection(M, Styled ? Styled->BoundingRect() : L);
        if (I.Left < 0 && I.Right < 0) return;
        TFloatRect InLayer;
        if (Styled) {
            InLayer = Styled->GetPictureCoord(I);
        } else {
            // A plain picture may be shown scaled.
            const float FX = static_cast<float>(S->Bitmap().Width()) / L.Width();
            const float FY = static_cast<float>(S->Bitmap().Height()) / L.Height();
            InLayer = {(I.Left - L.Left) * FX, (I.Top - L.Top) * FY, (I.Right - L.Left) * FX,
                       (I.Bottom - L.Top) * FY};
        }
        Out = CopyArea(S->Bitmap(), Rounded(InLayer));
    } else if (!FSelection) {
        const TFloatRect I = Intersection(
            M, {0, 0, static_cast<float>(V->Bitmap().Width()), static_cast<float>(V->Bitmap().Height())});
        if (I.Left < 0 && I.Right < 0) return;
        Out = CopyArea(V->Bitmap(), Rounded(I));
    }
    if (!Out || Out->Empty()) return;
    TProgramClipboard& C = FHost.ProgramClipboard();
    C.Append(*C.ClpBrdImgView.Layers().Add<TPicLayer>(*Out));
    CopyToWindowsClipboard();
}

TBitmapLayer* TDocForm::InsertClone(const TBitmapLayer& Source, TUndoType Kind, const TFloatRect& Location) {
    if (!CurrentView()) return nullptr;
    TLayerCollection Scratch(nullptr);
    TBitmapLayer* Clone = Source.Clone(Scratch);
    if (!Clone) return nullptr;
    std::unique_ptr<TCustomLayer> Owned = Scratch.Extract(Clone);
    std::unique_ptr<TBitmapLayer> Copy(static_cast<TBitmapLayer*>(Owned.release()));
    Copy->SetVisible(true);
    Copy->SetLocation(Location);
    return InsertLayer(std::move(Copy), Kind);
}

T2DFiguren* TDocForm::Insert2DFigureFromClipBoard(const TFloatRect& Location) {
    T2DFiguren* F = AsFigure(FHost.ProgramClipboard().Newest());
    if (!F) return nullptr;
    return AsFigure(InsertClone(*F, undoInsertPicLayer, Location));
}

TBitmapLayer* TDocForm::InsertFromClipBoard() {
    TImgView32* V = CurrentView();
    TSystemClipboard& System = SystemClipboard();
    if (!V || !System.HasPicture()) return nullptr;
    const QImage P = System.Picture();
    if (P.isNull()) return nullptr;
    TStyledLayer* Newest = FHost.ProgramClipboard().Newest();
    TBitmapLayer* N = nullptr;
    if (Newest && SamePicture(P, Newest->ExtractBitmap())) {
        // Still what this program copied last: its own copy, editable. A text keeps its
        // effects and turns as well as its style.
        if (IsTextLayer(Newest)) {
            if (V->Bitmap().Empty()) return nullptr;
            N = InsertClone(*Newest, undoInsertTextLayer, Newest->Location());
        } else {
            N = Insert2DFigureFromClipBoard(Newest->Location());
        }
    } else {
        // A picture layer draws into a square of about 2.2 times the picture's diagonal.
        const double Side = 2.2 * std::hypot(static_cast<double>(P.width()), static_cast<double>(P.height()));
        if (static_cast<std::int64_t>(P.width()) * P.height() > TDecodeLimits{}.MaxPixels ||
            Side * Side > static_cast<double>(TDecodeLimits{}.MaxPixels))
            throw EBitmapError(
                QStringLiteral("Das Bild in der Zwischenablage ist mit %1 × %2 Pixeln zu groß.")
                    .arg(P.width())
                    .arg(P.height())
                    .toStdString());
        N = InsertLayer(std::make_unique<TPicLayer>(TGPImage(P)), undoInsertPicLayer);
    }
    if (!N) return nullptr;
    // Centred under the middle of the visible area.
    const TRect Visible = V->GetViewportRect();
    const TPoint Centre = V->ControlToBitmap({Visible.Width() / 2, Visible.Height() / 2});
    const int W = N->Bitmap().Width(), H = N->Bitmap().Height();
    const auto Left = static_cast<float>(Centre.X - W / 2), Top = static_cast<float>(Centre.Y - H / 2);
    N->SetLocation({Left, Top, Left + static_cast<float>(W), Top + static_cast<float>(H)});
    LayerChanged(*N);
    SelectLayer(N);
    return N;
}

} // namespace zp
