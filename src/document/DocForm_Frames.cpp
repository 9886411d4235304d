// Frames of a document: creating, copying, deleting, reordering, looking up and flattening.
#include "document/DocForm.h"
#include "document/LayerKinds.h"

#include "raster/Resamplers.h"

#include <typeinfo>

namespace zp {

// ---------------------------------------------------------------- records and lookup

void TDocForm::AppendFrameRecord(const TGifFrames& Record) {
    FFrames.push_back(Record);
}

void TDocForm::RemoveFrameRecord(int Index) {
    if (Index < 0 || Index >= FrameCount()) return;
    FFrames.erase(FFrames.begin() + Index);
}

int TDocForm::FindRecordIndex(const TTabSheet* Sheet) const {
    int Found = -1;
    for (std::size_t I = 0; I < FFrames.size(); ++I)
        if (Sheet && FFrames[I].TabSheet == Sheet) Found = static_cast<int>(I);
    return Found;
}

int TDocForm::FrameIndexOfPage(std::uint64_t PageId) const {
    for (std::size_t I = 0; I < FFrames.size(); ++I)
        if (FFrames[I].TabSheet->Id() == PageId) return static_cast<int>(I);
    return -1;
}

TTabSheet* TDocForm::FrameSheet(std::uint64_t PageId) const {
    const int I = FrameIndexOfPage(PageId);
    return I < 0 ? nullptr : FFrames[static_cast<std::size_t>(I)].TabSheet;
}

int TDocForm::GetIndex() const {
    return FindRecordIndex(FActivePage);
}

int TDocForm::GetIndex(const TImgView32* AImgView) const {
    int Found = -1;
    for (std::size_t I = 0; I < FFrames.size(); ++I)
        if (AImgView && FFrames[I].ImgView == AImgView) Found = static_cast<int>(I);
    return Found;
}

TImgView32* TDocForm::GetImgViewFromArray(const TTabSheet* TabSheet) const {
    if (TabSheet == FTabSheetGif) return nullptr;
    const int I = FindRecordIndex(TabSheet);
    return I < 0 ? nullptr : FFrames[static_cast<std::size_t>(I)].ImgView;
}

TImgView32* TDocForm::GetImgViewFromArray(int Index) const {
    if (Index < 0 || Index >= FrameCount()) return nullptr;
    return FFrames[static_cast<std::size_t>(Index)].ImgView;
}

bool TDocForm::IsFrameSheet(const TTabSheet* Sheet) const {
    return FindRecordIndex(Sheet) >= 0;
}

TGifFrames TDocForm::FindFrameRecord(const TTabSheet* Sheet) const {
    const int I = FindRecordIndex(Sheet);
    return I < 0 ? TGifFrames{} : FFrames[static_cast<std::size_t>(I)];
}

// ---------------------------------------------------------------- page order and captions

void TDocForm::OrderFramePages() {
    std::vector<std::unique_ptr<TTabSheet>> Ordered;
    Ordered.reserve(FPages.size());
    auto Take = [this, &Ordered](TTabSheet* Sheet) {
        for (auto& P : FPages)
            if (P.get() == Sheet) Ordered.push_back(std::move(P));
    };
    for (const TGifFrames& R : FFrames) Take(R.TabSheet);
    Take(FTabSheetGif);
    // Pages that are neither frames nor the preview cannot exist, but would go last.
    for (auto& P : FPages)
        if (P) Ordered.push_back(std::move(P));
    FPages = std::move(Ordered);
    Notify(TDocChange::PagesChanged);
}

void TDocForm::RenumberFrameCaptions() {
    const QString Text = FHost.LangText(QStringLiteral("FrameCpt"));
    for (std::size_t I = 0; I < FFrames.size(); ++I)
        FFrames[I].TabSheet->FCaption = Text + QLatin1Char(' ') + QString::number(I + 1);
    Notify(TDocChange::PagesChanged);
}

// ---------------------------------------------------------------- creating frames

void TDocForm::AddFrameSheet() {
    TTabSheet* Sheet = NewPage(true);
    TImgView32* View = Sheet->ImgView();
    View->Layers().MouseEvents = !FToolMode;
    AppendFrameRecord({Sheet, View, std::make_shared<TBitmap32>(), 1000, rmQuantize, dmFloydSteinberg});
    Sheet->FTag = FrameCount() - 1;
    Sheet->FCaption =
        FHost.LangText(QStringLiteral("FrameCpt")) + QLatin1Char(' ') + QString::number(FrameCount());
    Notify(TDocChange::FrameAdded, Sheet);
    SetActivePage(Sheet);
}

void TDocForm::CreateNewFrame(int KindOfNewFrame, TColor32 Fill) {
    TImgView32* V = CurrentView();
    TTabSheet* Before = FActivePage;
    const int Count = FrameCount();
    switch (KindOfNewFrame) {
    case 1:
        if (V) {
            AddFrameSheet();
            CopyFrameContent(*V, *CurrentView());
        }
        break;
    case 2:
        if (V) {
            AddFrameSheet();
            TImgView32* New = CurrentView();
            CreateNewImage(V->Bitmap().Width(), V->Bitmap().Height(), 0, New);
            New->Bitmap().Assign(&V->Bitmap());
        }
        break;
    case 3: {
        const int W = V ? V->Bitmap().Width() : 0, H = V ? V->Bitmap().Height() : 0;
        AddFrameSheet();
        // Filled here rather than through NewImage, which would also forget the project's name.
        CreateNewImage(W, H, Fill, CurrentView());
        break;
    }
    default: break;
    }
    OrderFramePages();
    if (FrameCount() == Count) return;
    TUndos& R = AddUndo(undoInsertFrame, FActivePage);
    R.fFrameIndex = GetIndex();
    R.fUndoVar = QVariant::fromValue<qulonglong>(Before ? Before->Id() : 0);
}

void TDocForm::CopyFrameContent(TImgView32& Source, TImgView32& Target) {
    CreateNewImage(Source.Bitmap().Width(), Source.Bitmap().Height(), 0, &Target);
    Target.Bitmap().Assign(&Source.Bitmap());
    TLayerCollection& From = Source.Layers();
    for (int I = 0; I < From.Count(); ++I) {
        auto* Layer = dynamic_cast<TBitmapLayer*>(From.Items(I));
        if (!Layer || IsFrameLayer(Layer)) continue; // the editing's own layers stay behind
        // Figures and text layers clone their own model; a plain picture is copied.
        TBitmapLayer* Copy = typeid(*Layer) == typeid(TBitmapLayer) ? AssignBitmapLayer(*Layer, &Target)
                                                                    : Layer->Clone(Target.Layers());
        if (!Copy) continue;
        Copy->SetLocation(Layer->Location());
        AttachLayerHandlers(*Copy);
        Copy->Bitmap().SetResampler(std::make_unique<TLinearResampler>());
        if (TTabSheet* Page = PageOfLayer(Copy)) Notify(TDocChange::LayerAdded, Page, Copy);
    }
}

// ---------------------------------------------------------------- pictures

void TDocForm::CreateNewImage(int AWidth, int AHeight, TColor32 FillColor, TImgView32* AImgView) {
    if (!AImgView) return;
    {
        // Refuse a size that cannot be had before anything is thrown away.
        TBitmap32 Probe;
        Probe.SetSize(AWidth, AHeight);
    }
    SelectLayer(nullptr);
    FRBLayer = nullptr;
    AImgView->Layers().Clear();
    AImgView->SetScale(1.0f);
    AImgView->Bitmap().SetSize(AWidth, AHeight);
    AImgView->Bitmap().Clear(FillColor);
    const int I = GetIndex(AImgView);
    if (I >= 0) {
        TGifFrames& R = FFrames[static_cast<std::size_t>(I)];
        R.Duration = 1000;
        R.ColorReduction = rmQuantize;
        R.DitherMode = dmFloydSteinberg;
        Notify(TDocChange::FrameContent, R.TabSheet);
    }
}

void TDocForm::CreateNewImage(const TBitmap32& ABitmap32) {
    TImgView32* View = CurrentView();
    if (!View) return;
    CreateNewImage(ABitmap32.Width(), ABitmap32.Height(), 0, View);
    View->Bitmap().Assign(&ABitmap32);
}

void TDocForm::NewImage(int Width, int Height, TColor BackColor) {
    CreateNewImage(Width, Height, Color32(BackColor) | 0xFF000000u, CurrentView());
    FormCaption(QString());
    FFileName.clear();
}

// ---------------------------------------------------------------- taking frames out and back

std::unique_ptr<TTabSheet> TDocForm::TakeFrame(int Index, TGifFrames& Settings) {
    TTabSheet* Sheet = FFrames.at(static_cast<std::size_t>(Index)).TabSheet;
    if (Sheet == FActivePage) {
        ClearSelectionState();
        FActivePage = nullptr;
    }
    Notify(TDocChange::FrameRemoved, Sheet);
    Settings = FFrames[static_cast<std::size_t>(Index)];
    RemoveFrameRecord(Index);
    std::unique_ptr<TTabSheet> Owned;
    for (auto It = FPages.begin(); It != FPages.end(); ++It)
        if (It->get() == Sheet) {
            Owned = std::move(*It);
            FPages.erase(It);
            break;
        }
    RenumberFrameCaptions();
    return Owned;
}

void TDocForm::PutFrame(std::unique_ptr<TTabSheet> Page, const TGifFrames& Settings, int Index) {
    TTabSheet* Sheet = Page.get();
    TImgView32* View = Sheet->ImgView();
    View->Layers().MouseEvents = !FToolMode;
    FPages.push_back(std::move(Page));
    TGifFrames R = Settings;
    R.TabSheet = Sheet;
    R.ImgView = View;
    Index = std::clamp(Index, 0, FrameCount());
    FFrames.insert(FFrames.begin() + Index, R);
    Notify(TDocChange::FrameAdded, Sheet);
    OrderFramePages();
    RenumberFrameCaptions();
    SetActivePage(Sheet);
}

void TDocForm::MoveFrame(int From, int To) {
    TGifFrames R = FFrames.at(static_cast<std::size_t>(From));
    FFrames.erase(FFrames.begin() + From);
    FFrames.insert(FFrames.begin() + std::clamp(To, 0, FrameCount()), R);
    OrderFramePages();
    RenumberFrameCaptions();
}

void TDocForm::DestroyPage(TTabSheet* Sheet) {
    Notify(TDocChange::FrameRemoved, Sheet);
    if (FActivePage == Sheet) FActivePage = nullptr;
    for (auto It = FPages.begin(); It != FPages.end(); ++It) {
        if (It->get() == Sheet) {
            // The view goes with its page, and its layers with the view.
            FPages.erase(It);
            return;
        }
    }
}

// ---------------------------------------------------------------- deleting and moving

void TDocForm::DeleteTabSheet() {
    const int I = GetIndex();
    if (I < 0 || FrameCount() < 2) return;
    TGifFrames Settings;
    std::unique_ptr<TTabSheet> Page = TakeFrame(I, Settings);
    TUndos& R = AddUndo(undoDelFrame, Page.get());
    R.fFrameIndex = I;
    R.fDuration = Settings.Duration;
    R.fColorReduction = Settings.ColorReduction;
    R.fDitherMode = Settings.DitherMode;
    R.fUndoPage = std::move(Page);
    SetActivePage(FFrames.front().TabSheet);
}

void TDocForm::ShiftTabSheetLeft() {
    const int I = GetIndex();
    if (I <= 0) return;
    MoveFrame(I, I - 1);
    TUndos& R = AddUndo(undoMoveFrame, FActivePage);
    R.fUndoVar = I;
}

void TDocForm::ShiftTabSheetRight() {
    const int I = GetIndex();
    if (I < 0 || I + 1 >= FrameCount()) return;
    MoveFrame(I, I + 1);
    TUndos& R = AddUndo(undoMoveFrame, FActivePage);
    R.fUndoVar = I;
}

void TDocForm::SetFrameSettings(int Index, int Duration, TColorReduction ColorReduction,
                                TDitherMode DitherMode) {
    if (Index < 0 || Index >= FrameCount()) return;
    TGifFrames& F = FFrames[static_cast<std::size_t>(Index)];
    if (F.Duration == Duration && F.ColorReduction == ColorReduction && F.DitherMode == DitherMode) return;
    TUndos& R = AddUndo(undoFrameSettings, F.TabSheet);
    R.fDuration = F.Duration;
    R.fColorReduction = F.ColorReduction;
    R.fDitherMode = F.DitherMode;
    F.Duration = Duration;
    F.ColorReduction = ColorReduction;
    F.DitherMode = DitherMode;
    Notify(TDocChange::FrameSettings, F.TabSheet);
}

void TDocForm::SetNumLoops(int Value) {
    if (Value == FNumLoops) return;
    AddUndo(undoNumLoops, nullptr).fUndoVar = FNumLoops;
    FNumLoops = Value;
    Notify(TDocChange::FrameSettings);
}

void TDocForm::DeleteAllFrames() {
    // Only when the document goes: nothing is recorded.
    ClearSelectionState();
    while (FrameCount() > 1) {
        TTabSheet* Sheet = FFrames[1].TabSheet;
        RemoveFrameRecord(1);
        DestroyPage(Sheet);
    }
    if (!FFrames.empty()) FActivePage = FFrames.front().TabSheet;
}

// ---------------------------------------------------------------- flattening

std::unique_ptr<TBitmap32> TDocForm::ComposeFrame(TImgView32& View) {
    auto Flat = std::make_unique<TBitmap32>();
    Flat->SetSize(View.Bitmap().Width(), View.Bitmap().Height());
    View.PaintTo(*Flat, Flat->BoundsRect());
    return Flat;
}

void TDocForm::RenderFrameBitmaps() {
    for (TGifFrames& R : FFrames) {
        R.Bitmap.reset();
        R.Bitmap = ComposeFrame(*R.ImgView);
    }
}

} // namespace zp
