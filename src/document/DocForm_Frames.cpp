// Frames of a document: creating, copying, deleting, reordering, looking up and flattening.
#include "document/DocForm.h"

#include "raster/Resamplers.h"

#include <typeinfo>

namespace zp {

// ---------------------------------------------------------------- records and lookup

void TDocForm::AppendFrameRecord(const TGifFrames& Record) {
    ArrayGifFrame.push_back(Record);
}

void TDocForm::RemoveFrameRecord(int Index) {
    if (Index < 0 || Index >= static_cast<int>(ArrayGifFrame.size())) return;
    ArrayGifFrame.erase(ArrayGifFrame.begin() + Index);
}

int TDocForm::FindRecordIndex(const TTabSheet* Sheet) const {
    int Found = -1;
    for (std::size_t I = 0; I < ArrayGifFrame.size(); ++I)
        if (Sheet && ArrayGifFrame[I].TabSheet == Sheet) Found = static_cast<int>(I);
    return Found;
}

int TDocForm::GetIndex() const {
    return FindRecordIndex(FActivePage);
}

int TDocForm::GetIndex(const TImgView32* AImgView) const {
    int Found = -1;
    for (std::size_t I = 0; I < ArrayGifFrame.size(); ++I)
        if (AImgView && ArrayGifFrame[I].ImgView == AImgView) Found = static_cast<int>(I);
    return Found;
}

TImgView32* TDocForm::GetImgViewFromArray(const TTabSheet* TabSheet) const {
    if (TabSheet == FTabSheetGif) return nullptr;
    const int I = FindRecordIndex(TabSheet);
    return I < 0 ? nullptr : ArrayGifFrame[static_cast<std::size_t>(I)].ImgView;
}

TImgView32* TDocForm::GetImgViewFromArray(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(ArrayGifFrame.size())) return nullptr;
    return ArrayGifFrame[static_cast<std::size_t>(Index)].ImgView;
}

bool TDocForm::IsFrameSheet(const TTabSheet* Sheet) const {
    return FindRecordIndex(Sheet) >= 0;
}

TGifFrames TDocForm::FindFrameRecord(const TTabSheet* Sheet) const {
    const int I = FindRecordIndex(Sheet);
    return I < 0 ? TGifFrames{} : ArrayGifFrame[static_cast<std::size_t>(I)];
}

// ---------------------------------------------------------------- page order and captions

void TDocForm::OrderFramePages() {
    std::vector<std::unique_ptr<TTabSheet>> Ordered;
    Ordered.reserve(FPages.size());
    auto Take = [this, &Ordered](TTabSheet* Sheet) {
        for (auto& P : FPages)
            if (P.get() == Sheet) Ordered.push_back(std::move(P));
    };
    for (const TGifFrames& R : ArrayGifFrame) Take(R.TabSheet);
    Take(FTabSheetGif);
    // Pages that are neither frames nor the preview cannot exist, but would go last.
    for (auto& P : FPages)
        if (P) Ordered.push_back(std::move(P));
    FPages = std::move(Ordered);
    OnPagesChanged.Notify(*this);
}

void TDocForm::RenumberFrameCaptions() {
    const QString Text = FHost.LangText(QStringLiteral("FrameCpt"));
    for (std::size_t I = 0; I < ArrayGifFrame.size(); ++I)
        ArrayGifFrame[I].TabSheet->Caption = Text + QLatin1Char(' ') + QString::number(I + 1);
    OnPagesChanged.Notify(*this);
}

// ---------------------------------------------------------------- creating frames

void TDocForm::AddFrameSheet() {
    TTabSheet* Sheet = NewPage(true);
    TImgView32* View = Sheet->ImgView();
    AppendFrameRecord({Sheet, View, std::make_shared<TBitmap32>(), 1000, rmQuantize, dmFloydSteinberg});
    Sheet->Tag = static_cast<int>(ArrayGifFrame.size()) - 1;
    Sheet->Caption =
        FHost.LangText(QStringLiteral("FrameCpt")) + QLatin1Char(' ') + QString::number(ArrayGifFrame.size());
    OnFrameAdded.Notify(*Sheet);
    SetActivePage(Sheet);
}

void TDocForm::CreateNewFrame(int KindOfNewFrame) {
    TImgView32* V = CurrentView();
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
    case 3: AddFrameSheet(); break;
    default: break;
    }
    OrderFramePages();
}

void TDocForm::CopyFrameContent(TImgView32& Source, TImgView32& Target) {
    CreateNewImage(Source.Bitmap().Width(), Source.Bitmap().Height(), 0, &Target);
    Target.Bitmap().Assign(&Source.Bitmap());
    TLayerCollection& From = Source.Layers();
    for (int I = 0; I < From.Count(); ++I) {
        auto* Layer = dynamic_cast<TBitmapLayer*>(From.Items(I));
        if (!Layer) continue; // selection frames stay behind
        // Figures and text layers clone their own model; a plain picture is copied.
        TBitmapLayer* Copy = typeid(*Layer) == typeid(TBitmapLayer) ? AssignBitmapLayer(*Layer, &Target)
                                                                    : Layer->Clone(Target.Layers());
        if (!Copy) continue;
        Copy->SetLocation(Layer->Location());
        Copy->OnMouseDown = [this](TCustomLayer& L, TMouseButton B, TShiftState S, int X, int Y) {
            LayerMouseDown(L, B, S, X, Y);
        };
        Copy->Bitmap().SetResampler(std::make_unique<TLinearResampler>());
    }
}

TBitmapLayer* TDocForm::AssignBitmapLayer(const TBitmapLayer& ABitmapLayer, TImgView32* AImgView) {
    if (!AImgView) return nullptr;
    auto* Layer = AImgView->Layers().Add<TBitmapLayer>();
    Layer->Bitmap().Assign(&ABitmapLayer.Bitmap());
    Layer->Bitmap().SetDrawMode(dmBlend);
    Layer->SetTranspGradient(ABitmapLayer.TranspGradient());
    Layer->SetScaled(true);
    Layer->SetCropped(true);
    const TRect Visible = AImgView->GetViewportRect();
    const TPoint Centre = AImgView->ControlToBitmap({Visible.Width() / 2, Visible.Height() / 2});
    const float W = static_cast<float>(Layer->Bitmap().Width()),
                H = static_cast<float>(Layer->Bitmap().Height());
    Layer->SetLocation({Centre.X - W / 2, Centre.Y - H / 2, Centre.X + W / 2, Centre.Y + H / 2});
    if (GetIndex(AImgView) >= 0) SelectLayer(Layer);
    return Layer;
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
    RBLayer = nullptr;
    AImgView->Layers().Clear();
    AImgView->SetScale(1.0f);
    AImgView->Bitmap().SetSize(AWidth, AHeight);
    AImgView->Bitmap().Clear(FillColor);
    const int I = GetIndex(AImgView);
    if (I >= 0) {
        TGifFrames& R = ArrayGifFrame[static_cast<std::size_t>(I)];
        R.Duration = 1000;
        R.ColorReduction = rmQuantize;
        R.DitherMode = dmFloydSteinberg;
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
    FileName.clear();
}

// ---------------------------------------------------------------- deleting and moving

void TDocForm::DestroyPage(TTabSheet* Sheet) {
    OnFrameRemoved.Notify(*Sheet);
    if (FActivePage == Sheet) FActivePage = nullptr;
    for (auto It = FPages.begin(); It != FPages.end(); ++It) {
        if (It->get() == Sheet) {
            // The view goes with its page, and its layers with the view.
            FPages.erase(It);
            return;
        }
    }
}

void TDocForm::DeleteTabSheet() {
    const int I = GetIndex();
    if (I < 0 || ArrayGifFrame.size() < 2) return;
    ClearSelectionState();
    TTabSheet* Sheet = ArrayGifFrame[static_cast<std::size_t>(I)].TabSheet;
    RemoveFrameRecord(I);
    DestroyPage(Sheet);
    RenumberFrameCaptions();
    FActivePage = nullptr;
    SetActivePage(ArrayGifFrame.front().TabSheet);
}

void TDocForm::ShiftTabSheetLeft() {
    const int I = GetIndex();
    if (I <= 0) return;
    std::swap(ArrayGifFrame[static_cast<std::size_t>(I) - 1], ArrayGifFrame[static_cast<std::size_t>(I)]);
    OrderFramePages();
    RenumberFrameCaptions();
}

void TDocForm::ShiftTabSheetRight() {
    const int I = GetIndex();
    if (I < 0 || I + 1 >= static_cast<int>(ArrayGifFrame.size())) return;
    std::swap(ArrayGifFrame[static_cast<std::size_t>(I)], ArrayGifFrame[static_cast<std::size_t>(I) + 1]);
    OrderFramePages();
    RenumberFrameCaptions();
}

void TDocForm::DeleteAllFrames() {
    while (ArrayGifFrame.size() > 1) {
        SetActivePage(ArrayGifFrame[1].TabSheet);
        DeleteTabSheet();
    }
    if (!ArrayGifFrame.empty()) SetActivePage(ArrayGifFrame.front().TabSheet);
}

// ---------------------------------------------------------------- flattening

std::unique_ptr<TBitmap32> TDocForm::ComposeFrame(TImgView32& View) {
    auto Flat = std::make_unique<TBitmap32>();
    Flat->SetSize(View.Bitmap().Width(), View.Bitmap().Height());
    View.PaintTo(*Flat, Flat->BoundsRect());
    return Flat;
}

void TDocForm::RenderFrameBitmaps() {
    for (TGifFrames& R : ArrayGifFrame) {
        R.Bitmap.reset();
        R.Bitmap = ComposeFrame(*R.ImgView);
    }
}

} // namespace zp
