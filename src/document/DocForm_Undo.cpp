// The undo and redo lists of a document: recording changes, and running a record, which
// reverts its change and keeps what it replaced, so that running it again redoes the change.
#include "document/DocForm.h"

#include "layers/Figuren.h"
#include "layers/LayerStyle.h"

#include <QStringList>

#include <algorithm>
#include <atomic>

namespace zp {

TUndos::TUndos() = default;
TUndos::~TUndos() = default;
TUndos::TUndos(TUndos&&) noexcept = default;
TUndos& TUndos::operator=(TUndos&&) noexcept = default;

TBitmap32* TUndos::KeptSurface() const {
    if (fUndoState) return &fUndoState->Bitmap();
    if (fUndoBitmap) return fUndoBitmap.get();
    if (fUndoView) return &fUndoView->Bitmap();
    return nullptr;
}

void TUndos::Pack() {
    TBitmap32* S = KeptSurface();
    if (!fPacked.empty() || !S || S->Empty()) return;
    const std::size_t N = static_cast<std::size_t>(S->Width()) * static_cast<std::size_t>(S->Height());
    const TColor32* P = S->Bits();
    std::vector<std::uint32_t> Runs;
    for (std::size_t I = 0; I < N;) {
        std::size_t J = I + 1;
        while (J < N && P[J] == P[I] && J - I < 0xFFFFFFFFu) ++J;
        Runs.push_back(static_cast<std::uint32_t>(J - I));
        Runs.push_back(P[I]);
        // Not worth it: the pixels stay as they are.
        if (Runs.size() >= N / 2) return;
        I = J;
    }
    fPackedWidth = S->Width();
    fPackedHeight = S->Height();
    fPacked = std::move(Runs);
    S->SetSize(0, 0);
}

void TUndos::Unpack() {
    TBitmap32* S = KeptSurface();
    if (fPacked.empty() || !S) return;
    S->SetSize(fPackedWidth, fPackedHeight);
    TColor32* P = S->Bits();
    for (std::size_t I = 0; I + 1 < fPacked.size(); I += 2) P = std::fill_n(P, fPacked[I], fPacked[I + 1]);
    fPacked.clear();
    fPacked.shrink_to_fit();
    S->Changed();
}

namespace {

std::atomic<std::uint64_t> NextSerial{1};

// "X;Y" as the move records keep two numbers; false when the text is damaged.
bool SplitPair(const QVariant& Value, float& A, float& B) {
    const QStringList Parts = Value.toString().split(QLatin1Char(';'));
    if (Parts.size() != 2) return false;
    bool OkA = false, OkB = false;
    A = Parts[0].trimmed().toFloat(&OkA);
    B = Parts[1].trimmed().toFloat(&OkB);
    return OkA && OkB;
}

QString PairText(float A, float B) {
    return QString::number(static_cast<double>(A), 'g', 9) + QLatin1Char(';') +
           QString::number(static_cast<double>(B), 'g', 9);
}

} // namespace

// ---------------------------------------------------------------- recording

TUndos& TDocForm::AddUndo(TUndoType Kind, TTabSheet* Page) {
    // A new edit makes what was undone unreachable.
    FRedoList.clear();
    // The record before this one is complete now: it waits packed.
    if (!FUndoList.empty()) FUndoList.back().Pack();
    TUndos R;
    R.fUndoType = Kind;
    R.fSerial = NextSerial++;
    R.fDstPageId = Page ? Page->Id() : 0;
    R.fFrameIndex = FindRecordIndex(Page);
    FUndoList.push_back(std::move(R));
    UndoListChanged();
    return FUndoList.back();
}

void TDocForm::RenewNewestRecord() {
    // A newer serial: the document differs from what was saved, even if saved mid-burst.
    FUndoList.back().fSerial = NextSerial++;
    UndoListChanged();
}

void TDocForm::UndoListChanged() {
    Notify(TDocChange::UndoRedo);
    const bool Now = Modified();
    if (Now != FWasModified) {
        FWasModified = Now;
        Notify(TDocChange::Modified);
    }
}

bool TDocForm::Modified() const {
    return (FUndoList.empty() ? 0 : FUndoList.back().fSerial) != FSavedSerial;
}

void TDocForm::ClearUndo() {
    FRedoList.clear();
    FUndoList.clear();
    FSavedSerial = 0;
    UndoListChanged();
}

void TDocForm::MarkSaved() {
    FSavedSerial = FUndoList.empty() ? 0 : FUndoList.back().fSerial;
    UndoListChanged();
}

TCustomLayer* TDocForm::FindLayer(std::uint64_t Id, int* FrameIndex) const {
    if (Id == 0) return nullptr;
    for (std::size_t F = 0; F < FFrames.size(); ++F) {
        TLayerCollection& Layers = FFrames[F].ImgView->Layers();
        for (int I = 0; I < Layers.Count(); ++I)
            if (TCustomLayer* L = Layers.Items(I); L->Id() == Id) {
                if (FrameIndex) *FrameIndex = static_cast<int>(F);
                return L;
            }
    }
    return nullptr;
}

// ---------------------------------------------------------------- running a record

// What every kind needs: the frame to show and the layer to act on, found by identity.
struct TDocFormUndo {
    TDocForm& Doc;

    void Show(TTabSheet* Page) const {
        if (!Page) return;
        if (Page != Doc.FActivePage) Doc.SetActivePage(Page);
        Doc.Notify(TDocChange::FrameShown, Page);
    }
    // The record's layer, with its frame shown; null when it is gone.
    template <class T = TBitmapLayer> T* Layer(const TUndos& R) const {
        int Frame = -1;
        auto* L = dynamic_cast<T*>(Doc.FindLayer(R.fDstLayerId, &Frame));
        if (L) Show(Doc.FFrames[static_cast<std::size_t>(Frame)].TabSheet);
        return L;
    }
    void Select(TCustomLayer* L) const { Doc.SelectLayer(dynamic_cast<TPositionedLayer*>(L)); }
};

bool TDocForm::RunRecord(TUndos& R) {
    const TDocFormUndo U{*this};
    switch (R.fUndoType) {
    case undoInsertPicLayer:
    case undoInsertTextLayer:
    case undoDelLayer:
        // One operation in two directions: the layer is in its frame, or in the record.
        if (R.fUndoLayer) {
            TTabSheet* Page = FrameSheet(R.fDstPageId);
            if (!Page) return false;
            U.Show(Page);
            U.Select(PutLayer(std::move(R.fUndoLayer), *Page, R.fLayerIndex));
        } else {
            auto* L = U.Layer<TCustomLayer>(R);
            if (!L) return false;
            R.fDstPageId = FActivePage->Id();
            R.fLayerIndex = L->Index();
            R.fUndoLayer = TakeLayer(*L);
        }
        return true;
    case undoPaint: {
        TBitmap32* Surface = nullptr;
        TBitmapLayer* L = nullptr;
        if (R.fDstLayerId != 0) {
            L = U.Layer(R);
            if (L) Surface = &L->Bitmap();
        } else if (TTabSheet* Page = FrameSheet(R.fDstPageId)) {
            U.Show(Page);
            Surface = &Page->ImgView()->Bitmap();
        }
        if (!Surface || !R.fUndoBitmap) return false;
        Surface->SwapContent(*R.fUndoBitmap);
        if (L)
            LayerChanged(*L);
        else
            Notify(TDocChange::FrameContent, FActivePage);
        return true;
    }
    case undoShiftLayer: {
        auto* L = U.Layer<TPositionedLayer>(R);
        float X = 0, Y = 0;
        if (!L || !SplitPair(R.fUndoVar, X, Y)) return false;
        const TFloatRect Now = L->Location();
        // A move never changed the size: a scaled picture keeps it.
        L->SetLocation({X, Y, X + Now.Width(), Y + Now.Height()});
        R.fUndoVar = PairText(Now.Left, Now.Top);
        LayerChanged(*L);
        return true;
    }
    case undoTransp: {
        TBitmapLayer* L = U.Layer(R);
        if (!L) return false;
        if (R.fUndoState) {
            L->SwapState(*R.fUndoState);
        } else {
            R.fUndoState = L->SaveState();
            ResetTranspGradient(*L);
        }
        LayerChanged(*L);
        return true;
    }
    case undoMasterAlpha: {
        TBitmapLayer* L = U.Layer(R);
        if (!L || !R.fUndoVar.isValid()) return false;
        const int Now = static_cast<int>(L->Bitmap().MasterAlpha());
        L->Bitmap().SetMasterAlpha(static_cast<unsigned>(std::clamp(R.fUndoVar.toInt(), 0, 255)));
        R.fUndoVar = Now;
        L->Update();
        LayerChanged(*L);
        return true;
    }
    case undoFlattenLayer: {
        TTabSheet* Page = FrameSheet(R.fDstPageId);
        if (!Page || !R.fUndoView) return false;
        U.Show(Page);
        SelectLayer(nullptr);
        SwapFrameContent(*Page->ImgView(), *R.fUndoView);
        return true;
    }
    case undoFontLayerStyle:
    case undo2DLayerStyle:
    case undoEffect:
    case undoTransform: {
        TBitmapLayer* L = U.Layer(R);
        if (!L || !R.fUndoState) return false;
        U.Select(L);
        L->SwapState(*R.fUndoState);
        LayerChanged(*L);
        return true;
    }
    case undoResize:
    case undoResizeWorkingArea: {
        // The frames exactly as they were, not sampled back: nothing a reduction lost is lost.
        if (R.fResized.empty()) return false;
        const QString Now = GetStringOfOldWidthAndHeight();
        SwapFrames(R.fResized);
        R.fUndoVar = Now;
        return true;
    }
    case undoLayerOrder: {
        TBitmapLayer* L = U.Layer(R);
        if (!L) return false;
        const int Now = L->Index();
        L->SetIndex(R.fUndoVar.toInt());
        R.fUndoVar = Now;
        U.Select(L);
        Notify(TDocChange::LayersReordered, FActivePage);
        return true;
    }
    case undoLayerLocation: {
        auto* L = U.Layer<TPositionedLayer>(R);
        if (!L) return false;
        const TFloatRect Now = L->Location();
        L->SetLocation(R.fLocation);
        R.fLocation = Now;
        U.Select(L);
        LayerChanged(*L);
        return true;
    }
    case undoInsertFrame:
    case undoDelFrame: {
        if (R.fUndoPage) {
            TGifFrames Settings;
            Settings.Duration = R.fDuration;
            Settings.ColorReduction = static_cast<TColorReduction>(R.fColorReduction);
            Settings.DitherMode = static_cast<TDitherMode>(R.fDitherMode);
            TTabSheet* Page = R.fUndoPage.get();
            PutFrame(std::move(R.fUndoPage), Settings, R.fFrameIndex);
            U.Show(Page);
            return true;
        }
        const int I = FrameIndexOfPage(R.fDstPageId);
        if (I < 0 || FrameCount() < 2) return false;
        TGifFrames Settings;
        R.fUndoPage = TakeFrame(I, Settings);
        R.fFrameIndex = I;
        R.fDuration = Settings.Duration;
        R.fColorReduction = Settings.ColorReduction;
        R.fDitherMode = Settings.DitherMode;
        // Back to the frame that was shown before the frame came, or its neighbour.
        TTabSheet* Next = R.fUndoType == undoInsertFrame ? FrameSheet(R.fUndoVar.toULongLong()) : nullptr;
        if (!Next) Next = FFrames[static_cast<std::size_t>(std::max(I - 1, 0))].TabSheet;
        U.Show(Next);
        return true;
    }
    case undoMoveFrame: {
        const int I = FrameIndexOfPage(R.fDstPageId);
        if (I < 0) return false;
        TTabSheet* Page = FFrames[static_cast<std::size_t>(I)].TabSheet;
        MoveFrame(I, R.fUndoVar.toInt());
        R.fUndoVar = I;
        U.Show(Page);
        return true;
    }
    case undoFrameSettings: {
        const int I = FrameIndexOfPage(R.fDstPageId);
        if (I < 0) return false;
        TGifFrames& F = FFrames[static_cast<std::size_t>(I)];
        U.Show(F.TabSheet);
        const TGifFrames Now = F;
        F.Duration = R.fDuration;
        F.ColorReduction = static_cast<TColorReduction>(R.fColorReduction);
        F.DitherMode = static_cast<TDitherMode>(R.fDitherMode);
        R.fDuration = Now.Duration;
        R.fColorReduction = Now.ColorReduction;
        R.fDitherMode = Now.DitherMode;
        Notify(TDocChange::FrameSettings, F.TabSheet);
        return true;
    }
    case undoNumLoops: {
        const int Now = FNumLoops;
        FNumLoops = R.fUndoVar.toInt();
        R.fUndoVar = Now;
        Notify(TDocChange::FrameSettings);
        return true;
    }
    }
    return false;
}

namespace {

// Runs the newest record of From and moves it to To; records whose target is gone are dropped
// and the next one runs instead.
template <class FRun> void RunNewest(std::vector<TUndos>& From, std::vector<TUndos>& To, FRun&& Run) {
    while (!From.empty()) {
        // The record leaves its list before it runs: whatever happens, it never runs twice.
        TUndos R = std::move(From.back());
        From.pop_back();
        R.Unpack();
        if (Run(R)) {
            R.Pack();
            To.push_back(std::move(R));
            return;
        }
    }
}

} // namespace

void TDocForm::RunNewestRecord(bool Redoing) {
    std::vector<TUndos>& From = Redoing ? FRedoList : FUndoList;
    if (From.empty()) return;
    // The selection frame would show the layer as it was; it comes back around the result.
    SetRubberbandLayer(nullptr);
    struct TDone {
        TDocForm& Doc;
        ~TDone() {
            if (!Doc.FToolMode && Doc.FSelection) Doc.SetRubberbandLayer(Doc.FSelection.Get());
            Doc.UndoListChanged();
        }
    } Done{*this};
    RunNewest(From, Redoing ? FUndoList : FRedoList, [this](TUndos& R) { return RunRecord(R); });
}

void TDocForm::Undo() {
    RunNewestRecord(false);
}

void TDocForm::Redo() {
    RunNewestRecord(true);
}

} // namespace zp
