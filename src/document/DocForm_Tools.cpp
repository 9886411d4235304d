// The canvas tools: press, move and release on a frame view in tool mode draw the help figures,
// create figures, paint gradients, fill and mark; the pointer tool and the arrow keys move the
// selection; layers dragged in from another document are cloned here.
#include "document/DocForm.h"
#include "document/LayerKinds.h"

#include "layers/GeneralGraphicFunctions.h"
#include "layers/LayerStyle.h"
#include "layers/PicLayer.h"

#include <cmath>

namespace zp {

namespace {

bool IsDrawingTool(TPaintTool Tool) {
    return Tool == ptPaintLine || Tool == ptPaintRectangle || Tool == ptPaintPolygon ||
           Tool == ptPaintEllipse;
}

bool IsColorGradientTool(TPaintTool Tool) {
    return Tool == ptColorGradient || Tool == ptCircleGradient || Tool == ptSqareGradient;
}

bool IsTranspGradientTool(TPaintTool Tool) {
    return Tool == ptTransGradient || Tool == ptCircleTranspGradient || Tool == ptSqareTranspGradient;
}

TShapeType ShapeOfTool(TPaintTool Tool) {
    switch (Tool) {
    case ptCircleGradient: return shpCircle;
    case ptSqareGradient: return shpSqare;
    case ptTransGradient: return shpLinearTransp;
    case ptCircleTranspGradient: return shpCircleTransp;
    case ptSqareTranspGradient: return shpSqareTransp;
    default: return shpLinear;
    }
}

TColor32 Opaque(TColor C) {
    return Color32(C) | 0xFF000000u;
}

TPoint RoundedPoint(float X, float Y) {
    return {static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y))};
}

// A help figure on top of the frame; never part of the picture.
template <class T> T* AddHelpFigure(TLayerCollection& Layers) {
    T* F = Layers.Add<T>();
    F->SetHelpLayer(true);
    return F;
}

// A field's number as typed; Ok is false for an empty or non-numeric text.
int FieldValue(const QString& Text, bool& Ok) {
    const QString T = Text.trimmed();
    Ok = false;
    if (T.isEmpty()) return 0;
    return T.toInt(&Ok, 10);
}

} // namespace

// ---------------------------------------------------------------- press

void TDocForm::MouseDownOnImgView(TImgView32& Sender, TMouseButton Button, TShiftState, int X, int Y) {
    if (!FToolMode || &Sender != CurrentView()) return;
    MouseDown = {X, Y};
    MouseMove = {X, Y};
    MouseDownSender = &Sender;
    FPointerLayer = nullptr;
    if (Button != mbLeft) return;
    // A press that never saw its release (a drag that ended elsewhere) leaves nothing behind.
    DeleteHelpFigures();
    TLayerCollection& Layers = Sender.Layers();
    const TPaletteState& P = FHost.Palette();
    switch (P.Tool) {
    case ptZeiger: {
        // The topmost layer showing a pixel at the press selects itself; a press on the bare
        // background keeps the selection, so the pointer can drag it from anywhere.
        for (int I = Layers.Count() - 1; I >= 0; --I) {
            auto* L = dynamic_cast<TBitmapLayer*>(Layers.Items(I));
            if (!L || !L->Visible() || IsFrameLayer(L)) continue;
            const TFloatRect R = L->GetAdjustedLocation();
            if (X < R.Left || Y < R.Top || X >= R.Right || Y >= R.Bottom || L->Bitmap().Empty()) continue;
            const int PX = static_cast<int>((X - R.Left) * L->Bitmap().Width() / R.Width());
            const int PY = static_cast<int>((Y - R.Top) * L->Bitmap().Height() / R.Height());
            if (AlphaComponent(L->Bitmap().PixelS(PX, PY)) == 0) continue;
            SelectLayer(L);
            break;
        }
        if (TPositionedLayer* S = FSelection.Get()) {
            FPointerLayer = S;
            LocationBeforeDrag = S->Location();
        }
        return;
    }
    case ptMark: {
        DeleteMarkLayer();
        auto* Mark = Layers.Add<TRubberbandLayer>();
        Mark->SetScaled(false);
        Mark->SetVisible(true);
        Mark->SetLayerOptions(Mark->LayerOptions() | LOB_MOUSE_EVENTS | LOB_VISIBLE);
        Mark->OnMouseDown = [this](TCustomLayer& L, TMouseButton B, TShiftState S, int MX, int MY) {
            LayerMouseDown(L, B, S, MX, MY);
        };
        Mark->OnMouseUp = [this](TCustomLayer& L, TMouseButton, TShiftState, int, int) {
            RubberbandMouseUp(static_cast<TRubberbandLayer&>(L));
        };
        Mark->OnResizing = [this](TRubberbandLayer&, const TFloatRect& Old, TFloatRect& New, TDragState State,
                                  TShiftState Shift) { ResizingHandler(Old, New, State, Shift); };
        const auto FX = static_cast<float>(X), FY = static_cast<float>(Y);
        Mark->SetLocation({FX, FY, FX, FY});
        FMarkLayer = Mark;
        return;
    }
    case ptTransGradient:
    case ptCircleTranspGradient:
    case ptSqareTranspGradient:
        if (!FSelection) return;
        [[fallthrough]];
    case ptColorGradient:
    case ptCircleGradient:
    case ptSqareGradient: AHelpLine = AddHelpFigure<T2DLine>(Layers); return;
    case ptPaintLine: {
        bool Ok = false;
        const int W = FieldValue(P.LineWidth, Ok);
        if (!Ok || W <= 0 || W > 500) {
            UserDialogs().ShowMessage(FHost.LangText(QStringLiteral("TxtProblem")),
                                      FHost.LangText(QStringLiteral("TxtLineProblem1")), TMsgIcon::Error);
            // An empty field counts as too small.
            FHost.ChangePalette([Ok, W](TPaletteState& S) {
                S.LineWidth = Ok && W > 500 ? QStringLiteral("500") : QStringLiteral("1");
            });
            return;
        }
        AHelpLine = AddHelpFigure<T2DLine>(Layers);
        return;
    }
    case ptPaintRectangle: AHelpRect = AddHelpFigure<T2DRectangle>(Layers); return;
    case ptPaintEllipse: AHelpEllipse = AddHelpFigure<T2DEllipse>(Layers); return;
    case ptPaintPolygon: {
        bool Ok = false;
        const int N = FieldValue(P.EdgeCount, Ok);
        if (!Ok || N < 5) {
            UserDialogs().ShowMessage(FHost.LangText(QStringLiteral("TxtProblem")),
                                      FHost.LangText(QStringLiteral("TxtPolygonProblem1")), TMsgIcon::Error);
            FHost.ChangePalette([](TPaletteState& S) { S.EdgeCount = QStringLiteral("5"); });
            return;
        }
        AHelpPolygon = AddHelpFigure<T2DPolygon>(Layers);
        return;
    }
    case ptColorFiller:
    case ptPipette: return;
    }
}

// ---------------------------------------------------------------- move

void TDocForm::MouseMoveOnImgView(TImgView32& Sender, TShiftState Shift, int X, int Y) {
    if (&Sender != CurrentView()) return;
    MouseMove = {X, Y};
    // Leaving the view while dragging a figure, a picture or a text offers it to other
    // documents; plain pictures stay, they cannot be transferred.
    const bool Outside =
        X < 0 || Y < 0 || X > Sender.GetViewportRect().Width() || Y > Sender.GetViewportRect().Height();
    const bool Dragging = bMove || (FToolMode && FPointerLayer && FPointerLayer.Get() == FSelection.Get() &&
                                    MouseDownSender == &Sender && (Shift & ssLeft));
    if (Outside && Dragging && !bDrag && FSelection && !IsPlainBitmapLayer(FSelection.Get())) {
        StartDragOut();
        return;
    }
    if (!FToolMode || MouseDownSender != &Sender || Shift != ssLeft) return;
    const TPoint P1 = Sender.ControlToBitmap(MouseDown);
    const TPoint P2 = Sender.ControlToBitmap(MouseMove);
    const TPaletteState& P = FHost.Palette();
    switch (P.Tool) {
    case ptZeiger:
        if (TPositionedLayer* S = FSelection.Get(); S && S == FPointerLayer.Get()) {
            // The layer follows the pointer at any zoom: the way is converted to picture pixels.
            // A picture scaled with the selection frame keeps its size.
            // From the exact place of the press, so that a picture at a fractional place keeps it.
            const float Scale = Sender.Scale() > 0 ? Sender.Scale() : 1.0f;
            const TFloatRect From = LocationBeforeDrag;
            const float Left = From.Left + std::round((X - MouseDown.X) / Scale);
            const float Top = From.Top + std::round((Y - MouseDown.Y) / Scale);
            const TFloatRect L = S->Location();
            S->SetLocation({Left, Top, Left + L.Width(), Top + L.Height()});
        }
        return;
    case ptMark:
        if (FMarkLayer && (X != MouseDown.X || Y != MouseDown.Y))
            FMarkLayer->SetLocation(
                {static_cast<float>(std::min(X, MouseDown.X)), static_cast<float>(std::min(Y, MouseDown.Y)),
                 static_cast<float>(std::max(X, MouseDown.X)), static_cast<float>(std::max(Y, MouseDown.Y))});
        return;
    default: break;
    }
    auto Follow = [&](T2DFiguren& F) {
        F.SetX1(P1.X);
        F.SetY1(P1.Y);
        F.SetX2(P2.X);
        F.SetY2(P2.Y);
    };
    if (AHelpLine) {
        if (P.Tool == ptPaintLine) AHelpLine->SetLineWidth(ClampedLineWidth());
        Follow(*AHelpLine);
        AHelpLine->HelpLine();
    } else if (AHelpRect) {
        Follow(*AHelpRect);
        AHelpRect->HelpLine();
    } else if (AHelpEllipse) {
        Follow(*AHelpEllipse);
        AHelpEllipse->HelpLine();
    } else if (AHelpPolygon) {
        AHelpPolygon->SetNumEdges(ClampedEdgeCount());
        Follow(*AHelpPolygon);
        AHelpPolygon->HelpLine();
    }
}

// ---------------------------------------------------------------- release

void TDocForm::MouseUpOnImgView(TImgView32& Sender, TMouseButton Button, TShiftState, int X, int Y) {
    bMove = false;
    // A drag out that never got going is over.
    if (bDrag) FinishDragDrop();
    TImgView32* View = CurrentView();
    if (FToolMode && View == &Sender && MouseDownSender == &Sender && Button == mbLeft) {
        MouseUp = {X, Y};
        const TPaintTool Tool = FHost.Palette().Tool;
        if (Tool == ptZeiger) {
            // Only a real move is recorded: a click that selects changes nothing.
            TPositionedLayer* S = FSelection.Get();
            if (S && S == FPointerLayer.Get() &&
                (S->Location().Left != LocationBeforeDrag.Left ||
                 S->Location().Top != LocationBeforeDrag.Top))
                RecordMove(*S, LocationBeforeDrag.Left, LocationBeforeDrag.Top);
            FPointerLayer = nullptr;
        } else if (Tool == ptMark) {
            if (X == MouseDown.X || Y == MouseDown.Y) DeleteMarkLayer();
        } else if (IsColorGradientTool(Tool) || (IsTranspGradientTool(Tool) && FSelection)) {
            if (AHelpLine) ApplyGradient(*View, ShapeOfTool(Tool));
        } else if (IsDrawingTool(Tool)) {
            CreateFigureAtRelease(*View);
        } else if (Tool == ptColorFiller) {
            FillAtRelease();
        }
    }
    DeleteHelpFigures();
}

T2DFiguren* TDocForm::HelpFigure() const {
    if (AHelpLine) return AHelpLine.Get();
    if (AHelpRect) return AHelpRect.Get();
    if (AHelpPolygon) return AHelpPolygon.Get();
    return AHelpEllipse.Get();
}

void TDocForm::DeleteHelpFigures() {
    auto Delete = [](auto& Ref) {
        if (Ref && Ref->LayerCollection()) Ref->LayerCollection()->Delete(Ref.Get());
        Ref = nullptr;
    };
    Delete(AHelpLine);
    Delete(AHelpRect);
    Delete(AHelpPolygon);
    Delete(AHelpEllipse);
}

int TDocForm::ClampedField(QString TPaletteState::*Field, int Low, int High) {
    bool Ok = false;
    const int V = FieldValue(FHost.Palette().*Field, Ok);
    const int C = std::clamp(Ok ? V : Low, Low, High);
    if (!Ok || C != V) FHost.ChangePalette([Field, C](TPaletteState& S) { S.*Field = QString::number(C); });
    return C;
}

int TDocForm::ClampedLineWidth() {
    return ClampedField(&TPaletteState::LineWidth, 1, 500);
}

int TDocForm::ClampedEdgeCount() {
    return ClampedField(&TPaletteState::EdgeCount, 5, 1000);
}

void TDocForm::NoPattern() {
    FHost.ChangePalette([](TPaletteState& S) {
        S.Pattern = false;
        S.HatchIndex = -1;
    });
}

// ---------------------------------------------------------------- figures

void TDocForm::CreateFigureAtRelease(TImgView32& View) {
    // A refused press made no help figure, and its release makes nothing either.
    if (!HelpFigure()) return;
    if (std::abs(MouseDown.X - MouseMove.X) <= 1 && std::abs(MouseDown.Y - MouseMove.Y) <= 1) return;
    // The second corner is the last movement point: the release may lie a pixel beyond it.
    const TPoint C1 = View.ControlToBitmap(MouseDown);
    const TPoint C2 = View.ControlToBitmap(MouseMove);
    const TPaletteState& P = FHost.Palette();
    std::unique_ptr<T2DFiguren> Figure;
    if (AHelpLine) {
        auto Line = std::make_unique<T2DLine>(C1.X, C1.Y, C2.X, C2.Y);
        Line->SetLineWidth(ClampedLineWidth());
        Figure = std::move(Line);
    } else if (AHelpRect) {
        Figure = std::make_unique<T2DRectangle>(C1.X, C1.Y, C2.X, C2.Y);
    } else if (AHelpEllipse) {
        Figure = std::make_unique<T2DEllipse>(C1.X, C1.Y, C2.X, C2.Y);
    } else {
        Figure = std::make_unique<T2DPolygon>(C1.X, C1.Y, C2.X, C2.Y, ClampedEdgeCount());
    }
    T2DLayerStyle& S = Figure->LayerStyle();
    const TColor32 Color1 = Opaque(P.Color1);
    const int Alpha = std::clamp(P.Opacity, 0, 255);
    S.SetFillColor(Color1);
    S.SetLineColor(Color1);
    S.SetFillColorAlpha(Alpha);
    S.SetLineColorAlpha(Alpha);
    Figure->Paint();
    InsertLayer(std::move(Figure), undoInsertPicLayer);
}

// ---------------------------------------------------------------- gradients and fill

TPoint TDocForm::ViewToLayerPixel(const TImgView32& View, const TBitmapLayer& Layer, TPoint P) const {
    const TFloatRect L = Layer.Location();
    const TPoint TL = View.BitmapToControl(RoundedPoint(L.Left, L.Top));
    const TPoint BR = View.BitmapToControl(RoundedPoint(L.Right, L.Bottom));
    const int W = Layer.Bitmap().Width(), H = Layer.Bitmap().Height();
    // Relative to the layer's top-left corner, in pixels of its picture whatever the zoom.
    const double SX = BR.X != TL.X ? static_cast<double>(W) / (BR.X - TL.X) : 1.0;
    const double SY = BR.Y != TL.Y ? static_cast<double>(H) / (BR.Y - TL.Y) : 1.0;
    return {static_cast<int>(std::lround((P.X - TL.X) * SX)),
            static_cast<int>(std::lround((P.Y - TL.Y) * SY))};
}

void TDocForm::RepaintStyled(TStyledLayer& Layer, TUndoType Kind,
                             const std::function<void(T2DLayerStyle&)>& Edit) {
    ChangeLayer(Layer, Kind, [&Edit](TBitmapLayer& L) {
        auto& Styled = static_cast<TStyledLayer&>(L);
        Edit(Styled.LayerStyle());
        RedrawStyled(Styled);
    });
    ResetRubberbandLayer();
}

void TDocForm::ApplyGradient(TImgView32& View, TShapeType Shape) {
    const TPaletteState& P = FHost.Palette();
    const TColor32 C1 = Opaque(P.Color1), C2 = Opaque(P.Color2);
    auto* Layer = dynamic_cast<TBitmapLayer*>(FSelection.Get());
    if (!Layer) {
        const TPoint Start = View.ControlToBitmap(MouseDown), Stop = View.ControlToBitmap(MouseUp);
        // A click paints nothing: no change to record.
        if (Start == Stop) return;
        PaintSurface(nullptr, [&](TBitmap32& B) {
            TGeneralGraphicFunctions::CreateGradient(Shape, C1, C2, Start, Stop, B);
        });
        return;
    }
    const TPoint Start = ViewToLayerPixel(View, *Layer, MouseDown);
    const TPoint Stop = ViewToLayerPixel(View, *Layer, MouseUp);
    if (TStyledLayer* Styled = AsStyled(Layer)) {
        RepaintStyled(*Styled, IsTextLayer(Styled) ? undoFontLayerStyle : undo2DLayerStyle,
                      [&](T2DLayerStyle& S) {
                          S.SetFillGradient(true);
                          S.SetFillGradientColor1(C1);
                          S.SetFillGradientColor2(C2);
                          S.SetFillGradientShape(Shape);
                          S.SetFillGradientPStart(Start);
                          S.SetFillGradientPEnd(Stop);
                      });
        NoPattern();
        return;
    }
    if (Start == Stop) return;
    PaintSurface(Layer, [&](TBitmap32& B) {
        TGeneralGraphicFunctions::CreateGradient(Shape, C1, C2, Start, Stop, B);
    });
}

void TDocForm::FillAtRelease() {
    const TColor32 C1 = Opaque(FHost.Palette().Color1);
    TPositionedLayer* S = FSelection.Get();
    if (!S) {
        // Recorded like any painting, so that a fill can be taken back.
        PaintSurface(nullptr, [C1](TBitmap32& B) { B.Clear(C1); });
        return;
    }
    TStyledLayer* Styled = AsStyled(S);
    if (!Styled || !S->HitTest(MouseUp.X, MouseUp.Y)) return;
    RepaintStyled(*Styled, IsTextLayer(Styled) ? undoFontLayerStyle : undo2DLayerStyle,
                  [C1](T2DLayerStyle& St) {
                      St.SetFillColor(C1);
                      St.SetLineColor(C1);
                      St.SetFillGradient(false);
                      St.SetFillPattern(false);
                      St.SetFillImage(false);
                  });
    NoPattern();
}

void TDocForm::Paint2DFigure(const T2DLayerStyle& ALayerStyle) {
    PaintFigureStyle(ALayerStyle, false);
}

void TDocForm::PaintFigureStyle(const T2DLayerStyle& ALayerStyle, bool Continue) {
    T2DFiguren* F = AsFigure(FSelection.Get());
    if (!F) return;
    ChangeStyle(*F, undo2DLayerStyle, Continue, [&ALayerStyle](TStyledLayer& L) {
        T2DLayerStyle& S = L.LayerStyle();
        S.SetOutline(ALayerStyle.Outline());
        S.SetOutlineSize(ALayerStyle.OutlineSize());
        S.SetOutlineColor(ALayerStyle.OutlineColor());
        S.SetOutlineDashStyle(ALayerStyle.OutlineDashStyle());
        S.SetOutlinePosition(ALayerStyle.OutlinePosition());
        S.SetOutlineAlpha(ALayerStyle.OutlineAlpha());
        S.SetFillColorAlpha(ALayerStyle.FillColorAlpha());
        S.SetLineColorAlpha(ALayerStyle.LineColorAlpha());
        S.SetFillPattern(ALayerStyle.FillPattern());
        S.SetFillImage(ALayerStyle.FillImage());
        S.SetShadow(ALayerStyle.Shadow());
        S.SetShadowXShift(ALayerStyle.ShadowXShift());
        S.SetShadowYShift(ALayerStyle.ShadowYShift());
        S.SetShadowColor(ALayerStyle.ShadowColor());
        S.SetShadowAlpha(ALayerStyle.ShadowAlpha());
        if (S.FillPattern()) {
            S.SetNoOfHatchBrush(ALayerStyle.NoOfHatchBrush());
            S.SetHatchBrushForeColor(ALayerStyle.HatchBrushForeColor());
            S.SetHatchBrushBackColor(ALayerStyle.HatchBrushBackColor());
        } else if (S.FillImage()) {
            if (const auto& Image = ALayerStyle.FillPatternBitmap()) S.SetFillPatternBitmap(Image->Clone());
            S.SetFillPatternWrapMode(ALayerStyle.FillPatternWrapMode());
        }
        RedrawStyled(L);
    });
}

void TDocForm::Paint2DFigure() {
    if (T2DFiguren* F = AsFigure(FSelection.Get())) {
        F->Paint();
        LayerChanged(*F);
    }
    ResetRubberbandLayer();
}

// ---------------------------------------------------------------- arrow keys

bool TDocForm::ImgViewKeyDown(int Key, TShiftState Shift) {
    TPositionedLayer* Layer = FSelection.Get();
    if (!Layer) return false;
    const float Step = Shift == ssShift ? 20.0f : 1.0f;
    float DX = 0, DY = 0;
    switch (Key) {
    case VK_LEFT: DX = -Step; break;
    case VK_RIGHT: DX = Step; break;
    case VK_UP: DY = -Step; break;
    case VK_DOWN: DY = Step; break;
    default: return false;
    }
    const TFloatRect L = Layer->Location();
    MoveLayer(*Layer, L.Left + DX, L.Top + DY);
    return true;
}

void TDocForm::CancelSelection() {
    // Not in the middle of a drag: what the drag changed would go unrecorded.
    if (FPointerLayer || bMove || (FRBLayer && FRBLayer->IsDragging)) return;
    SelectLayer(nullptr);
    ResetRubberbandLayer();
    DeleteMarkLayer();
}

// ---------------------------------------------------------------- between documents

void TDocForm::StartDragOut() {
    if (!FSelection || !FActivePage) return;
    bDrag = true;
    // In layer mode the selection frame was dragged, the layer waits for its release.
    FDragFromFrame = bMove && FRBLayer;
    Notify(TDocChange::DragOut, FActivePage, FSelection.Get());
}

bool TDocForm::ImgViewDragOver(const TDocForm& Source) const {
    return &Source != this && CurrentView() != nullptr;
}

bool TDocForm::ImgViewDragDrop(TImgView32& Sender, TDocForm& Source, std::uint64_t LayerId, int X, int Y) {
    if (!ImgViewDragOver(Source) || &Sender != CurrentView()) return false;
    auto* Layer = dynamic_cast<TBitmapLayer*>(Source.FindLayer(LayerId));
    // Only layers with a model of their own travel; a plain picture stays where it is.
    if (!Layer || IsPlainBitmapLayer(Layer) || IsFrameLayer(Layer) || !AsStyled(Layer)) return false;
    const TFloatRect From = Layer->Location();
    const float W = std::trunc(From.Width()), H = std::trunc(From.Height());
    const TPoint At = Sender.ControlToBitmap({X, Y});
    if (!InsertClone(*Layer, undoInsertPicLayer, {At.X - W / 2, At.Y - H / 2, At.X + W / 2, At.Y + H / 2}))
        return false;
    SelectLayer(nullptr);
    Source.FinishDragDrop();
    Source.SelectLayer(nullptr);
    return true;
}

void TDocForm::FinishDragDrop() {
    if (!bDrag) return;
    bDrag = false;
    if (FDragFromFrame) {
        if (FRBLayer) FRBLayer->SetLocation(LocationBeforeDrag);
    } else if (TPositionedLayer* S = FSelection.Get()) {
        S->SetLocation(LocationBeforeDrag);
        LayerChanged(*S);
    }
    FDragFromFrame = false;
    FPointerLayer = nullptr;
}

} // namespace zp
