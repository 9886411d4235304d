// Layer operations of a document: creating, deleting, reordering, transforming, scaling with the
// selection frame, flattening, effects, and the change path every layer edit takes.
#include "document/DocForm.h"
#include "document/LayerKinds.h"

#include "files/PictureFiles.h"
#include "layers/Figuren.h"
#include "layers/Filters.h"
#include "layers/LayerStyle.h"
#include "layers/PicLayer.h"
#include "layers/TextLayer.h"
#include "raster/Resamplers.h"

#include <cmath>
#include <typeinfo>

namespace zp {

namespace {

TFloatRect WithPictureSize(float Left, float Top, const TBitmapLayer& Layer) {
    return {Left, Top, Left + static_cast<float>(Layer.Bitmap().Width()),
            Top + static_cast<float>(Layer.Bitmap().Height())};
}

// The layer's picture size, centred on the picture point under the centre of the visible area.
TFloatRect CentredInView(const TImgView32& View, const TBitmapLayer& Layer) {
    const TRect Visible = View.GetViewportRect();
    const TPoint Centre = View.ControlToBitmap({Visible.Width() / 2, Visible.Height() / 2});
    const float W = static_cast<float>(Layer.Bitmap().Width()),
                H = static_cast<float>(Layer.Bitmap().Height());
    return {Centre.X - W / 2, Centre.Y - H / 2, Centre.X + W / 2, Centre.Y + H / 2};
}

// The highest place a real layer can take: below the selection frames, which stay on top.
int TopRealIndex(const TLayerCollection& Layers) {
    int Top = Layers.Count() - 1;
    while (Top >= 0 && IsFrameLayer(Layers.Items(Top))) --Top;
    return Top;
}

// Numbers as the move records keep them: integers as such, anything else exactly.
QString NumberText(float Value) {
    if (Value == std::trunc(Value) && std::fabs(Value) < 1e9f)
        return QString::number(static_cast<long long>(Value));
    return QString::number(static_cast<double>(Value), 'g', 9);
}

} // namespace

// ---------------------------------------------------------------- the change path

void TDocForm::AttachLayerHandlers(TCustomLayer& Layer) {
    Layer.OnMouseDown = [this](TCustomLayer& L, TMouseButton B, TShiftState S, int X, int Y) {
        LayerMouseDown(L, B, S, X, Y);
    };
    Layer.SetMouseEvents(true);
    // A click selects what it shows, not the transparent square around a figure.
    if (auto* B = dynamic_cast<TBitmapLayer*>(&Layer)) B->SetAlphaHit(true);
}

TBitmapLayer* TDocForm::PutLayer(std::unique_ptr<TCustomLayer> Layer, TTabSheet& Page, int Index) {
    TLayerCollection& Layers = Page.ImgView()->Layers();
    if (Index < 0 || Index > TopRealIndex(Layers) + 1) Index = TopRealIndex(Layers) + 1;
    TCustomLayer* Raw = Layer.get();
    Layers.Insert(Index, std::move(Layer));
    AttachLayerHandlers(*Raw);
    Notify(TDocChange::LayerAdded, &Page, Raw);
    return dynamic_cast<TBitmapLayer*>(Raw);
}

std::unique_ptr<TCustomLayer> TDocForm::TakeLayer(TCustomLayer& Layer) {
    if (FSelection.Get() == &Layer) SelectLayer(nullptr);
    if (FRBLayer && FRBLayer->ChildLayer() == &Layer) SetRubberbandLayer(nullptr);
    TLayerCollection* Layers = Layer.LayerCollection();
    if (!Layers) return nullptr;
    Notify(TDocChange::LayerRemoved, PageOfLayer(&Layer), &Layer);
    return Layers->Extract(&Layer);
}

void TDocForm::LayerChanged(TCustomLayer& Layer) {
    Notify(TDocChange::LayerChanged, PageOfLayer(&Layer), &Layer);
}

std::unique_ptr<TBitmapLayer> TDocForm::EditRestoring(TBitmapLayer& Layer,
                                                      const std::function<void(TBitmapLayer&)>& Edit) {
    std::unique_ptr<TBitmapLayer> Before = Layer.SaveState();
    try {
        Edit(Layer);
    } catch (...) {
        Layer.SwapState(*Before);
        throw;
    }
    return Before;
}

void TDocForm::ChangeLayer(TBitmapLayer& Layer, TUndoType Kind,
                           const std::function<void(TBitmapLayer&)>& Edit) {
    TTabSheet* Page = PageOfLayer(&Layer);
    if (!Page) return;
    std::unique_ptr<TBitmapLayer> Before = EditRestoring(Layer, Edit);
    TUndos& R = AddUndo(Kind, Page);
    R.fDstLayerId = Layer.Id();
    R.fUndoState = std::move(Before);
    LayerChanged(Layer);
}

void TDocForm::PaintSurface(TBitmapLayer* Layer, const std::function<void(TBitmap32&)>& Paint) {
    TTabSheet* Page = Layer ? PageOfLayer(Layer) : (CurrentView() ? FActivePage : nullptr);
    if (!Page) return;
    TBitmap32& Surface = Layer ? Layer->Bitmap() : Page->ImgView()->Bitmap();
    auto Before = std::make_unique<TBitmap32>();
    Before->Assign(&Surface);
    try {
        Paint(Surface);
    } catch (...) {
        Surface.SwapContent(*Before);
        throw;
    }
    TUndos& R = AddUndo(undoPaint, Page);
    R.fDstLayerId = Layer ? Layer->Id() : 0;
    R.fUndoBitmap = std::move(Before);
    if (Layer)
        LayerChanged(*Layer);
    else
        Notify(TDocChange::FrameContent, Page);
}

void TDocForm::MoveLayer(TPositionedLayer& Layer, float Left, float Top) {
    const TFloatRect L = Layer.Location();
    if (L.Left == Left && L.Top == Top) return;
    // A picture scaled with the selection frame keeps its size.
    Layer.SetLocation({Left, Top, Left + L.Width(), Top + L.Height()});
    AddShiftRecord(Layer, NumberText(L.Left) + QLatin1Char(';') + NumberText(L.Top));
}

void TDocForm::RecordMove(TPositionedLayer& Layer, float OldLeft, float OldTop) {
    AddShiftRecord(Layer, NumberText(OldLeft) + QLatin1Char(';') + NumberText(OldTop));
}

void TDocForm::RecordShift(TPositionedLayer& Layer, TPoint OldLeftTop) {
    AddShiftRecord(Layer, QString::number(OldLeftTop.X) + QLatin1Char(';') + QString::number(OldLeftTop.Y));
}

void TDocForm::AddShiftRecord(TPositionedLayer& Layer, const QString& OldLeftTop) {
    TTabSheet* Page = PageOfLayer(&Layer);
    if (!Page) return;
    TUndos& R = AddUndo(undoShiftLayer, Page);
    R.fDstLayerId = Layer.Id();
    R.fUndoVar = OldLeftTop;
    LayerChanged(Layer);
}

void TDocForm::SetMasterAlpha(TBitmapLayer& Layer, int Alpha) {
    TTabSheet* Page = PageOfLayer(&Layer);
    const auto Value = static_cast<unsigned>(std::clamp(Alpha, 0, 255));
    if (!Page || Layer.Bitmap().MasterAlpha() == Value) return;
    TUndos& R = AddUndo(undoMasterAlpha, Page);
    R.fDstLayerId = Layer.Id();
    R.fUndoVar = static_cast<int>(Layer.Bitmap().MasterAlpha());
    Layer.Bitmap().SetMasterAlpha(Value);
    Layer.Update();
    LayerChanged(Layer);
}

void TDocForm::SetLayerOpacity(TBitmapLayer& Layer, int Alpha) {
    Alpha = std::clamp(Alpha, 0, 255);
    if (LayerOpacity(Layer) == Alpha) return;
    TStyledLayer* Styled = AsStyled(&Layer);
    if (!Styled) {
        SetMasterAlpha(Layer, Alpha);
        return;
    }
    ChangeLayer(Layer, IsTextLayer(&Layer) ? undoFontLayerStyle : undo2DLayerStyle, [Alpha](TBitmapLayer& L) {
        auto& S = static_cast<TStyledLayer&>(L);
        S.LayerStyle().SetFillColorAlpha(Alpha);
        if (!IsTextLayer(&S)) S.LayerStyle().SetLineColorAlpha(Alpha);
        RedrawStyled(S);
    });
}

int TDocForm::LayerOpacity(const TBitmapLayer& Layer) {
    if (const auto* S = dynamic_cast<const TStyledLayer*>(&Layer)) return S->LayerStyle().FillColorAlpha();
    return static_cast<int>(Layer.Bitmap().MasterAlpha());
}

// ---------------------------------------------------------------- creating

TBitmapLayer* TDocForm::InsertLayer(std::unique_ptr<TBitmapLayer> Layer, TUndoType Kind, int Index) {
    if (!Layer || !CurrentView()) return nullptr;
    TBitmapLayer* Raw = PutLayer(std::move(Layer), *FActivePage, Index);
    AddUndo(Kind, FActivePage).fDstLayerId = Raw->Id();
    SelectLayer(Raw);
    return Raw;
}

TBitmapLayer* TDocForm::OpenBitmapLayer(const QString& AFileName) {
    if (!CurrentView()) return nullptr;
    // Decoded by the program's own readers, with their limits, before anything is added.
    const std::unique_ptr<TBitmap32> Picture = LoadLayerPictureFromFile(AFileName);
    return InsertLayer(std::make_unique<TPicLayer>(*Picture), undoInsertPicLayer);
}

TBitmapLayer* TDocForm::CreatePicLayer(const TGPImage& AGDIBitmap, const T2DLayerStyle& ALayerStyle) {
    if (!CurrentView()) return nullptr;
    auto Layer = std::make_unique<TPicLayer>(AGDIBitmap);
    Layer->LayerStyle().Assign(ALayerStyle);
    Layer->Paint();
    return InsertLayer(std::move(Layer), undoInsertPicLayer);
}

TBitmapLayer* TDocForm::CreateBitmapLayer(const TBitmap32& ABitmap32, TPoint PLeftTop, bool ATranspGradient) {
    if (!CurrentView()) return nullptr;
    auto Layer = std::make_unique<TBitmapLayer>();
    Layer->Bitmap().Assign(&ABitmap32);
    Layer->Bitmap().SetDrawMode(dmBlend);
    Layer->Bitmap().SetMasterAlpha(ABitmap32.MasterAlpha());
    Layer->Bitmap().SetResampler(std::make_unique<TLinearResampler>());
    Layer->SetTranspGradient(ATranspGradient);
    Layer->SetScaled(true);
    Layer->SetCropped(true);
    Layer->SetLocation(
        WithPictureSize(static_cast<float>(PLeftTop.X), static_cast<float>(PLeftTop.Y), *Layer));
    return InsertLayer(std::move(Layer), undoInsertPicLayer);
}

TTextLayer* TDocForm::NewTextLayer() {
    SelectLayer(nullptr);
    TImgView32* V = CurrentView();
    if (!V || V->Bitmap().Empty()) return nullptr;
    auto Layer = MakeTextLayer();
    Layer->SetLocation(CentredInView(*V, *Layer));
    return static_cast<TTextLayer*>(InsertLayer(std::move(Layer), undoInsertTextLayer));
}

TTextLayer* TDocForm::NewTextLayer(TPoint PLeftTop, TPoint PRightBottom, TImgView32* AImgView) {
    SelectLayer(nullptr);
    if (!AImgView || AImgView->Bitmap().Empty()) return nullptr;
    auto Layer = MakeTextLayer();
    Layer->SetLocation({static_cast<float>(PLeftTop.X), static_cast<float>(PLeftTop.Y),
                        static_cast<float>(PRightBottom.X), static_cast<float>(PRightBottom.Y)});
    TTextLayer* Raw = Layer.get();
    AImgView->Layers().Insert(TopRealIndex(AImgView->Layers()) + 1, std::move(Layer));
    AttachLayerHandlers(*Raw);
    if (GetIndex(AImgView) >= 0) {
        Notify(TDocChange::LayerAdded, PageOfLayer(Raw), Raw);
        SelectLayer(Raw);
    }
    return Raw;
}

std::unique_ptr<TTextLayer> TDocForm::MakeTextLayer() {
    auto Layer = std::make_unique<TTextLayer>();
    Layer->Bitmap().SetDrawMode(dmBlend);
    Layer->Bitmap().SetResampler(std::make_unique<TLinearResampler>());
    return Layer;
}

void TDocForm::RedrawStyled(TStyledLayer& Layer) {
    // A text without text has nothing to draw; a figure always redraws itself.
    if (TTextLayer* T = AsText(&Layer)) {
        if (!T->FontLayerStyle().Text().isEmpty()) T->WriteText(5, 5);
    } else {
        Layer.Redraw();
    }
}

void TDocForm::PaintText(TPositionedLayer* Sender) {
    if (auto* T = AsText(Sender)) {
        if (!T->FontLayerStyle().Text().isEmpty()) T->WriteText(5, 5);
        LayerChanged(*T);
    }
    ResetRubberbandLayer();
}

void TDocForm::SetLayerText(TTextLayer& Layer, const QString& Text) {
    if (Layer.FontLayerStyle().Text() == Text) return;
    ChangeLayer(Layer, undoFontLayerStyle, [&Text](TBitmapLayer& L) {
        auto& T = static_cast<TTextLayer&>(L);
        T.FontLayerStyle().SetText(Text);
        T.WriteText(5, 5);
    });
}

TBitmapLayer* TDocForm::AssignBitmapLayer(const TBitmapLayer& ABitmapLayer, TImgView32* AImgView) {
    if (!AImgView) return nullptr;
    auto* Layer = AImgView->Layers().Add<TBitmapLayer>();
    Layer->Bitmap().Assign(&ABitmapLayer.Bitmap());
    Layer->Bitmap().SetDrawMode(dmBlend);
    Layer->SetTranspGradient(ABitmapLayer.TranspGradient());
    Layer->SetScaled(true);
    Layer->SetCropped(true);
    Layer->SetLocation(CentredInView(*AImgView, *Layer));
    if (GetIndex(AImgView) >= 0) SelectLayer(Layer);
    return Layer;
}

// ---------------------------------------------------------------- deleting

void TDocForm::RecordRemoval(TPositionedLayer& Layer) {
    TTabSheet* Page = PageOfLayer(&Layer);
    if (!Page) return;
    const int Index = Layer.Index();
    const std::uint64_t Id = Layer.Id();
    std::unique_ptr<TCustomLayer> Owned = TakeLayer(Layer);
    TUndos& R = AddUndo(undoDelLayer, Page);
    R.fDstLayerId = Id;
    R.fLayerIndex = Index;
    R.fUndoLayer = std::move(Owned);
}

void TDocForm::DeleteClick() {
    if (!FSelection || !CurrentView()) return;
    RecordRemoval(*FSelection.Get());
}

void TDocForm::DeleteLayer() {
    DeleteLayer(FSelection.Get());
}

void TDocForm::DeleteLayer(TPositionedLayer* ALayer) {
    // A deletion is always undoable, whoever asks for it.
    if (ALayer && !IsFrameLayer(ALayer)) RecordRemoval(*ALayer);
}

// ---------------------------------------------------------------- order and transformations

int TDocForm::TopLayerIndex(const TLayerCollection& Layers) {
    return TopRealIndex(Layers);
}

void TDocForm::Reorder(int SenderTag) {
    TPositionedLayer* S = FSelection.Get();
    if (!S || !S->LayerCollection()) return;
    const int Old = S->Index();
    const int Top = TopRealIndex(*S->LayerCollection());
    int New = Old;
    switch (SenderTag) {
    case 27: New = Top; break;
    case 28: New = 0; break;
    case 29: New = std::min(Old + 1, Top); break;
    case 30: New = std::max(Old - 1, 0); break;
    default: return;
    }
    MoveLayerTo(*S, New);
}

void TDocForm::MoveLayerTo(TPositionedLayer& Layer, int Index) {
    if (!Layer.LayerCollection() || !PageOfLayer(&Layer) || IsFrameLayer(&Layer)) return;
    const int Old = Layer.Index();
    const int New = std::clamp(Index, 0, TopRealIndex(*Layer.LayerCollection()));
    if (New == Old) return;
    Layer.SetIndex(New);
    TUndos& R = AddUndo(undoLayerOrder, PageOfLayer(&Layer));
    R.fDstLayerId = Layer.Id();
    R.fUndoVar = Old;
    Notify(TDocChange::LayersReordered, PageOfLayer(&Layer));
}

void TDocForm::FlipHorzClick() {
    Flip(true);
}

void TDocForm::FlipVertClick() {
    Flip(false);
}

void TDocForm::Flip(bool Horizontal) {
    auto* S = dynamic_cast<TBitmapLayer*>(FSelection.Get());
    if (!S) return;
    ChangeLayer(*S, undoTransform, [Horizontal](TBitmapLayer& L) {
        // The picture is mirrored in place; a figure then mirrors its model and redraws. A text
        // only mirrors its model: its redraw replaces the whole picture anyway.
        if (TTextLayer* T = AsText(&L)) {
            if (Horizontal)
                T->FlipHorizontal();
            else
                T->FlipVertical();
            return;
        }
        T2DFiguren* F = AsFigure(&L);
        if (Horizontal) {
            L.Bitmap().FlipHorz();
            if (F) F->FlipHorizontal();
        } else {
            L.Bitmap().FlipVert();
            if (F) F->FlipVertical();
        }
    });
}

void TDocForm::Rotate270Click() {
    RotateClick(-90);
}

void TDocForm::Rotate90Click() {
    RotateClick(90);
}

void TDocForm::RotateClick(float Angel) {
    TStyledLayer* F = AsStyled(FSelection.Get());
    if (!F || !std::isfinite(Angel)) return;
    ChangeLayer(*F, undoTransform, [Angel](TBitmapLayer& L) { static_cast<TStyledLayer&>(L).Rotate(Angel); });
}

// ---------------------------------------------------------------- effects

void TDocForm::AddEffect(TEffectType EffectType) {
    TStyledLayer* F = AsStyled(FSelection.Get());
    if (!F || EffectType == efMotionBlur) return;
    ChangeLayer(*F, undoEffect,
                [EffectType](TBitmapLayer& L) { static_cast<TStyledLayer&>(L).AddEffect(EffectType); });
}

void TDocForm::AddMotionBlurEffect(int aStrength, TBlurDirection aDirection) {
    TStyledLayer* F = AsStyled(FSelection.Get());
    if (!F) return;
    // A text records the blur as an effect, a figure as a change of its style.
    ChangeLayer(*F, IsTextLayer(F) ? undoEffect : undo2DLayerStyle, [aStrength, aDirection](TBitmapLayer& L) {
        auto Blur = std::make_unique<TMotionBlur>();
        Blur->SetStrenght(aStrength);
        Blur->SetDirection(aDirection);
        static_cast<TStyledLayer&>(L).AddEffect(std::move(Blur));
    });
}

void TDocForm::ResetTranspGradient(TBitmap32& ABitmap32) {
    ABitmap32.SetMasterAlpha(255);
    ABitmap32.ResetAlpha(255);
}

void TDocForm::ResetTranspGradient(TBitmapLayer& ABitmapLayer) {
    if (!ABitmapLayer.TranspGradient() || IsTextLayer(&ABitmapLayer)) return;
    ResetTranspGradient(ABitmapLayer.Bitmap());
    ABitmapLayer.Update();
    ABitmapLayer.SetTranspGradient(false);
}

// ---------------------------------------------------------------- the selection frame

void TDocForm::SetRubberbandLayer(TPositionedLayer* Value) {
    if (FRBLayer) {
        FRBLayer->SetChildLayer(nullptr);
        FRBLayer->SetLayerOptions(LOB_NO_UPDATE);
        FRBLayer->Update();
    }
    TImgView32* V = CurrentView();
    if (!Value || !V || Value->LayerCollection() != &V->Layers()) return;
    if (FRBLayer) {
        FRBLayer->BringToFront();
    } else {
        auto* Frame = V->Layers().Add<TRubberbandLayer>();
        Frame->SetMinWidth(1.0f);
        Frame->SetMinHeight(1.0f);
        Frame->SetScaled(true);
        Frame->SetCursor(crSizeAll);
        Frame->OnMouseDown = [this](TCustomLayer& L, TMouseButton B, TShiftState S, int X, int Y) {
            LayerMouseDown(L, B, S, X, Y);
        };
        Frame->OnMouseUp = [this](TCustomLayer& L, TMouseButton, TShiftState, int, int) {
            RubberbandMouseUp(static_cast<TRubberbandLayer&>(L));
        };
        // A plain picture follows the frame as it is dragged; figures and text take the
        // change when the frame is released.
        Frame->OnUserChange = [](TRubberbandLayer& F) {
            if (TPositionedLayer* Child = F.ChildLayer(); IsPlainBitmapLayer(Child))
                Child->SetLocation(F.Location());
        };
        FRBLayer = Frame;
    }
    FRBLayer->SetChildLayer(Value);
    FRBLayer->SetLayerOptions(0xB0000000u);
    FRBLayer->OnResizing = [this](TRubberbandLayer&, const TFloatRect& Old, TFloatRect& New, TDragState State,
                                  TShiftState Shift) { ResizingHandler(Old, New, State, Shift); };
    if (const TStyledLayer* F = AsStyled(Value))
        FRBLayer->SetLocation(F->BoundingRect());
    else
        FRBLayer->SetLocation(Value->Location());
}

void TDocForm::ResetRubberbandLayer() {
    if (FRBLayer) FRBLayer->LayerCollection()->Delete(FRBLayer);
    FRBLayer = nullptr;
    SetMouseEvents(true);
}

void TDocForm::RubberbandMouseUp(TRubberbandLayer& Sender) {
    TPositionedLayer* S = FSelection.Get();
    if (!S || &Sender != FRBLayer.Get()) return;
    if (IsPlainBitmapLayer(S)) {
        // The picture followed the frame; the whole drag is one change.
        if (S->Location() != FPlainBeforeDrag && PageOfLayer(S)) {
            TUndos& R = AddUndo(undoLayerLocation, PageOfLayer(S));
            R.fDstLayerId = S->Id();
            R.fLocation = FPlainBeforeDrag;
            LayerChanged(*S);
        }
        return;
    }
    RBNewLocation = Sender.Location();
    ApplyRubberbandChange();
    RBOldLocation = RBNewLocation = TFloatRect{};
}

void TDocForm::ApplyRubberbandChange() {
    TStyledLayer* F = AsStyled(FSelection.Get());
    if (!F) return;
    const float OldW = std::fabs(RBOldLocation.Width()), NewW = std::fabs(RBNewLocation.Width());
    const float OldH = std::fabs(RBOldLocation.Height()), NewH = std::fabs(RBNewLocation.Height());
    const float SX = OldW == 0 || NewW == 0 ? 1.0f : NewW / OldW;
    const float SY = OldH == 0 || NewH == 0 ? 1.0f : NewH / OldH;
    const float DX = RBNewLocation.Left - RBOldLocation.Left, DY = RBNewLocation.Top - RBOldLocation.Top;
    ChangeLayer(*F, IsTextLayer(F) ? undoFontLayerStyle : undo2DLayerStyle,
                [SX, SY, DX, DY](TBitmapLayer& L) {
                    auto& Figure = static_cast<TStyledLayer&>(L);
                    Figure.SetScale({SX, SY});
                    const TFloatRect At = Figure.Location();
                    Figure.SetLocation(WithPictureSize(At.Left + DX, At.Top + DY, Figure));
                });
    // The frame follows the figure's new outline.
    if (FRBLayer) FRBLayer->SetLocation(F->BoundingRect());
}

void TDocForm::ResizingHandler(const TFloatRect& OldLocation, TFloatRect& NewLocation, TDragState DragState,
                               TShiftState Shift) {
    if (DragState == dsMove) {
        bMove = true;
        return;
    }
    if ((Shift & (ssShift | ssCtrl)) == 0 || !IsPlainBitmapLayer(FSelection.Get())) return;
    const bool Left = DragState == dsSizeL || DragState == dsSizeTL || DragState == dsSizeBL;
    const bool Right = DragState == dsSizeR || DragState == dsSizeTR || DragState == dsSizeBR;
    const bool Top = DragState == dsSizeT || DragState == dsSizeTL || DragState == dsSizeTR;
    const bool Bottom = DragState == dsSizeB || DragState == dsSizeBL || DragState == dsSizeBR;
    if (Shift & ssCtrl) {
        // Symmetric about the old centre.
        const float CX = (OldLocation.Left + OldLocation.Right) / 2,
                    CY = (OldLocation.Top + OldLocation.Bottom) / 2;
        float HW = OldLocation.Width() / 2, HH = OldLocation.Height() / 2;
        if (Left) HW = CX - NewLocation.Left;
        if (Right) HW = NewLocation.Right - CX;
        if (Top) HH = CY - NewLocation.Top;
        if (Bottom) HH = NewLocation.Bottom - CY;
        HW = std::max(HW, 2.0f);
        HH = std::max(HH, 2.0f);
        NewLocation = {CX - HW, CY - HH, CX + HW, CY + HH};
    }
    const bool Corner = (Left || Right) && (Top || Bottom);
    if ((Shift & ssShift) && Corner && OldLocation.Height() != 0) {
        const float Aspect = OldLocation.Width() / OldLocation.Height();
        const float NewHeight = (NewLocation.Right - NewLocation.Left) / Aspect;
        if (Top) {
            NewLocation.Bottom = OldLocation.Bottom;
            NewLocation.Top = OldLocation.Bottom - NewHeight;
        } else {
            NewLocation.Top = OldLocation.Top;
            NewLocation.Bottom = OldLocation.Top + NewHeight;
        }
    }
}

// ---------------------------------------------------------------- flattening

void TDocForm::SwapFrameContent(TImgView32& View, TImgView32& Saved) {
    TTabSheet* Page = nullptr;
    for (const TGifFrames& R : FFrames)
        if (R.ImgView == &View) Page = R.TabSheet;
    // Selection frames belong to the shown frame, not to its content: they stay where they are.
    auto TakeAll = [](TLayerCollection& Layers, const std::function<void(TCustomLayer&)>& Leaving) {
        std::vector<std::unique_ptr<TCustomLayer>> Taken;
        for (int I = 0; I < Layers.Count();) {
            TCustomLayer* L = Layers.Items(I);
            if (IsFrameLayer(L)) {
                ++I;
                continue;
            }
            if (Leaving) Leaving(*L);
            Taken.push_back(Layers.Extract(L));
        }
        return Taken;
    };
    std::vector<std::unique_ptr<TCustomLayer>> Shown = TakeAll(View.Layers(), [&](TCustomLayer& L) {
        if (Page) Notify(TDocChange::LayerRemoved, Page, &L);
    });
    std::vector<std::unique_ptr<TCustomLayer>> Kept = TakeAll(Saved.Layers(), nullptr);
    View.Bitmap().SwapContent(Saved.Bitmap());
    for (auto& L : Shown) Saved.Layers().Insert(Saved.Layers().Count(), std::move(L));
    for (std::size_t I = 0; I < Kept.size(); ++I) {
        TCustomLayer* Raw = Kept[I].get();
        View.Layers().Insert(static_cast<int>(I), std::move(Kept[I]));
        if (Page) Notify(TDocChange::LayerAdded, Page, Raw);
    }
    View.Invalidate();
    if (Page) Notify(TDocChange::FrameContent, Page);
}

void TDocForm::FlattenImage() {
    TImgView32* V = CurrentView();
    if (!V) return;
    SelectLayer(nullptr);
    ResetRubberbandLayer();
    DeleteMarkLayer();
    // The frame as shown becomes its background; its layers and former background go into
    // the record as they are, so undoing gives back the very same layers.
    auto Saved = std::make_unique<TImgView32>();
    const std::unique_ptr<TBitmap32> Flat = ComposeFrame(*V);
    Saved->Bitmap().SwapContent(*Flat);
    SwapFrameContent(*V, *Saved);
    TUndos& R = AddUndo(undoFlattenLayer, FActivePage);
    R.fUndoView = std::move(Saved);
}

} // namespace zp
