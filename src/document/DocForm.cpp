// The document model: pages, events, selection, naming and zoom. Frame operations are in
// DocForm_Frames.cpp, layer operations in DocForm_Layers.cpp, undo in DocForm_Undo.cpp, the
// canvas tools in DocForm_Tools.cpp.
#include "document/DocForm.h"

#include "raster/Resamplers.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace zp {

namespace {
std::atomic<std::uint64_t> NextPageId{1};

QString ZoomTextOf(const TImgView32& View) {
    return QString::number(static_cast<int>(std::nearbyint(View.Scale() * 100.0))) + QLatin1Char('%');
}
} // namespace

TTabSheet::TTabSheet() : FId(NextPageId++) {}

TDocForm::TDocForm(TDocHost& Host) : FHost(Host), FEvents(std::make_shared<TDocEventList>()) {
    // The first frame's page and view, then the preview page after it.
    TTabSheet* First = NewPage(true);
    FTabSheetGif = NewPage(false);
    FTabSheetGif->FCaption = QString::fromUtf8(GifPreviewCaption);
    FTabSheetGif->FTag = GifPreviewTag;
    FActivePage = First;
    TImgView32& View = *First->ImgView();
    View.Bitmap().SetOuterColor(0x7FFFFFFF);
    AppendFrameRecord({First, &View, nullptr, 1000, rmQuantize, dmFloydSteinberg});
    First->FCaption = FHost.LangText(QStringLiteral("FrameCpt")) + QLatin1Char(' ') + QString::number(1);
}

TDocForm::~TDocForm() {
    FDestroying = true;
    FSelection = nullptr;
    FRBLayer = nullptr;
    if (FMarkLayer) FMarkLayer->LayerCollection()->Delete(FMarkLayer);
    // What the undo lists keep is never shown; it goes first.
    FRedoList.clear();
    FUndoList.clear();
    DeleteAllFrames();
    // The first frame goes with the window; observers of its view hear of it like any other.
    if (!FFrames.empty()) Notify(TDocChange::FrameRemoved, FFrames.front().TabSheet);
}

TDocSubscription TDocForm::Subscribe(std::function<void(const TDocEvent&)> Handler) {
    const int Id = FEvents->Add(std::move(Handler));
    return TDocSubscription(FEvents, Id);
}

void TDocForm::Notify(TDocChange Kind, TTabSheet* Page, TCustomLayer* Layer, const QString& Text) const {
    FEvents->Notify(TDocEvent{Kind, Page, Layer, Text});
}

TTabSheet* TDocForm::NewPage(bool WithView) {
    auto Sheet = std::unique_ptr<TTabSheet>(new TTabSheet());
    if (WithView) {
        Sheet->FView = std::make_unique<TImgView32>();
        ConfigureFrameView(*Sheet->FView);
    }
    TTabSheet* Raw = Sheet.get();
    FPages.push_back(std::move(Sheet));
    return Raw;
}

void TDocForm::ConfigureFrameView(TImgView32& View) {
    View.Bitmap().SetResampler(std::make_unique<TNearestResampler>());
    View.SetBitmapAlign(baCustom);
    View.SetScaleMode(smScale);
    View.SetScale(1.0f);
    View.SetColor(clSilver32);
    View.SetOverSize(0);
    // The document paints what lies behind the picture.
    View.PaintStages().front().Stage = PST_CUSTOM;
    View.Layers().MouseEvents = !FToolMode;
    View.OnPaintStage = [this](TImgView32& Sender, TBitmap32& Buffer, unsigned StageNum) {
        ImgViewPaintStage(Sender, Buffer, StageNum);
    };
    View.OnMouseDown = [this](TImgView32& Sender, TMouseButton Button, TShiftState Shift, int X, int Y,
                              TCustomLayer*) { MouseDownOnImgView(Sender, Button, Shift, X, Y); };
    View.OnMouseMove = [this](TImgView32& Sender, TShiftState Shift, int X, int Y, TCustomLayer*) {
        MouseMoveOnImgView(Sender, Shift, X, Y);
    };
    View.OnMouseUp = [this](TImgView32& Sender, TMouseButton Button, TShiftState Shift, int X, int Y,
                            TCustomLayer*) { MouseUpOnImgView(Sender, Button, Shift, X, Y); };
}

TTabSheet* TDocForm::Pages(int Index) const {
    if (Index < 0 || Index >= PageCount()) return nullptr;
    return FPages[static_cast<std::size_t>(Index)].get();
}

int TDocForm::PageIndex(const TTabSheet* Sheet) const {
    for (std::size_t I = 0; I < FPages.size(); ++I)
        if (FPages[I].get() == Sheet) return static_cast<int>(I);
    return -1;
}

void TDocForm::ClearSelectionState() {
    SelectLayer(nullptr);
    // A selection frame belongs to the frame it was made for; it is not kept on another frame.
    if (FRBLayer) FRBLayer->LayerCollection()->Delete(FRBLayer);
    FRBLayer = nullptr;
    DeleteMarkLayer();
}

void TDocForm::SetActivePage(TTabSheet* Sheet) {
    if (Sheet == FActivePage || PageIndex(Sheet) < 0) return;
    ClearSelectionState();
    FActivePage = Sheet;
    Notify(TDocChange::ActivePage, Sheet);
}

void TDocForm::PageControl1Change() {
    ClearSelectionState();
    if (TImgView32* View = CurrentView()) {
        View->Invalidate();
        if (View->OnRequestFocus) View->OnRequestFocus(*View);
        Notify(TDocChange::FrameShown, FActivePage);
    }
    if (FActivePage == FTabSheetGif) Notify(TDocChange::PreviewRequested);
}

void TDocForm::SetMouseEvents(bool Status) {
    FToolMode = Status;
    for (const TGifFrames& R : FFrames) R.ImgView->Layers().MouseEvents = !Status;
}

void TDocForm::DeleteMarkLayer() {
    if (FMarkLayer) FMarkLayer->LayerCollection()->Delete(FMarkLayer);
    FMarkLayer = nullptr;
}

void TDocForm::SelectLayer(TPositionedLayer* Value) {
    if (TImgView32* View = CurrentView()) View->Invalidate();
    if (Value == FSelection.Get()) return;
    FSelection = Value;
    // In layer mode the selection frame goes with the selection, so a drag never changes a
    // layer other than the selected one.
    if (FRBLayer && Value && FRBLayer->ChildLayer() && FRBLayer->ChildLayer() != Value)
        SetRubberbandLayer(Value);
    if (!FDestroying) Notify(TDocChange::Selection);
}

TTabSheet* TDocForm::PageOfLayer(const TCustomLayer* Layer) const {
    if (!Layer) return nullptr;
    for (const TGifFrames& R : FFrames)
        if (Layer->LayerCollection() == &R.ImgView->Layers()) return R.TabSheet;
    return nullptr;
}

void TDocForm::LayerMouseDown(TCustomLayer& Sender, TMouseButton, TShiftState, int, int) {
    auto* Frame = dynamic_cast<TRubberbandLayer*>(&Sender);
    if (!Frame) {
        if (auto* Positioned = dynamic_cast<TPositionedLayer*>(&Sender)) SelectLayer(Positioned);
        return;
    }
    if (FSelection && Frame == FRBLayer.Get()) {
        LocationBeforeDrag = Frame->Location();
        // Figures and text layers remember where a scaling drag started; they have models of
        // their own, unlike plain bitmap layers.
        const TPositionedLayer& Selected = *FSelection.Get();
        if (typeid(Selected) != typeid(TBitmapLayer))
            RBOldLocation = Frame->Location();
        else
            FPlainBeforeDrag = FSelection->Location();
    }
}

void TDocForm::FormCaption(const QString& OpenedFileName) {
    if (OpenedFileName.isEmpty() || OpenedFileName == QLatin1String("leer"))
        FCaption = FHost.LangText(QStringLiteral("TxtUnknown")) + QString::number(FHost.UnknownCounter());
    else
        FCaption = QFileInfo(OpenedFileName).fileName();
    Notify(TDocChange::Caption);
}

// ---------------------------------------------------------------- zoom

void TDocForm::ZoomChanged(const TImgView32& View) {
    Notify(TDocChange::Zoom, FActivePage, nullptr, ZoomTextOf(View));
}

QString TDocForm::ScaleComboChange(const QString& S) {
    TImgView32* View = CurrentView();
    if (!View) return {};
    QString Text = S;
    Text.remove(QLatin1Char('%'));
    Text.remove(QLatin1Char(' '));
    if (Text.isEmpty()) return {};
    bool Ok = false;
    int Value = Text.toInt(&Ok, 10);
    if (!Ok) Value = -1;
    if (Value >= 1 && Value <= 2000)
        View->SetScale(static_cast<float>(Value) / 100.0f);
    else
        Value = static_cast<int>(std::nearbyint(View->Scale() * 100.0));
    return QString::number(Value) + QLatin1Char('%');
}

void TDocForm::LayerResetScale() {
    TImgView32* View = CurrentView();
    if (!View) return;
    View->SetScale(1.0f);
    ZoomChanged(*View);
}

void TDocForm::ImgViewMouseWheelUp() {
    TImgView32* View = CurrentView();
    if (!View) return;
    View->SetScale(std::max(View->Scale() / 1.1f, 0.2f));
    ZoomChanged(*View);
}

void TDocForm::ImgViewMouseWheelDown() {
    TImgView32* View = CurrentView();
    if (!View) return;
    View->SetScale(std::min(View->Scale() * 1.1f, 20.0f));
    ZoomChanged(*View);
}

void TDocForm::ImgViewPaintStage(TImgView32& Sender, TBitmap32& Buffer, unsigned) {
    // Each view paints its own surround; only the shown frame's view is ever on screen.
    if (GetIndex(&Sender) < 0) return;
    Buffer.Clear(clSilver32);
    const TBitmap32& Picture = Sender.Bitmap();
    if (Picture.Empty()) return;
    const TPoint P = Sender.BitmapToControl({0, 0});
    const int W = static_cast<int>(std::nearbyint(Picture.Width() * Sender.ScaleX()));
    const int H = static_cast<int>(std::nearbyint(Picture.Height() * Sender.ScaleX()));
    Buffer.FrameRectS({P.X - 1, P.Y - 1, P.X + W + 1, P.Y + H + 1}, clBlack32);
}

} // namespace zp
