// Styles between a document and the properties palette: building a figure's or a text's style
// from the palette, applying it to the selection with undo, and loading a layer's style into
// the palette.
#include "document/DocForm.h"
#include "document/LayerKinds.h"

#include "files/PictureFiles.h"
#include "gfx/Hatch.h"
#include "gfx/Image.h"
#include "layers/Figuren.h"
#include "layers/LayerStyle.h"
#include "layers/TextLayer.h"

namespace zp {

namespace {

bool WrapModeOfIndex(int Index, TGPWrapMode& Mode) {
    switch (Index) {
    case 0: Mode = WrapModeTile; return true;
    case 1: Mode = WrapModeTileFlipX; return true;
    case 2: Mode = WrapModeTileFlipY; return true;
    case 3: Mode = WrapModeTileFlipXY; return true;
    case 4: Mode = WrapModeClamp; return true;
    default: return false;
    }
}

int IndexOfWrapMode(TGPWrapMode Mode) {
    for (int I = 0; I < 5; ++I)
        if (TGPWrapMode M; WrapModeOfIndex(I, M) && M == Mode) return I;
    return 0;
}

int IndexOfDashStyle(TGPDashStyle Style) {
    for (int I = 0; I < 5; ++I)
        if (DashStyleOfIndex(I, DashStyleCustom) == Style) return I;
    return -1;
}

// A field's number when it holds one within Min..Max; the fields' own checks have told the
// user about anything else, which then leaves the style's value as it is.
bool FieldValue(const QString& Text, int Min, int Max, int& Value) {
    bool Ok = false;
    const int V = Text.trimmed().toInt(&Ok);
    if (!Ok || V < Min || V > Max) return false;
    Value = V;
    return true;
}

TColor32 Opaque(TColor C) {
    return Color32(C) | 0xFF000000u;
}

// The shift edits hold at most four characters.
constexpr int MinShift = -999, MaxShift = 9999;

void WriteOutlineAndShadow(const TPaletteState& P, T2DLayerStyle& S) {
    S.SetOutline(P.Outline);
    if (int W; FieldValue(P.OutlineWidth, 1, 99, W)) S.SetOutlineSize(W);
    S.SetOutlineColor(Opaque(P.OutlineColor));
    S.SetOutlineDashStyle(DashStyleOfIndex(P.DashIndex, S.OutlineDashStyle()));
    S.SetOutlineAlpha(P.OutlineAlpha);
    S.SetShadow(P.Shadow);
    if (int X; FieldValue(P.ShadowXShift, MinShift, MaxShift, X)) S.SetShadowXShift(X);
    if (int Y; FieldValue(P.ShadowYShift, MinShift, MaxShift, Y)) S.SetShadowYShift(Y);
    S.SetShadowColor(Opaque(P.ShadowColor));
    S.SetShadowAlpha(P.ShadowAlpha);
}

} // namespace

void TDocForm::ApplyPalettePattern(T2DLayerStyle& Target, const T2DLayerStyle* Existing,
                                   const QString& PatternFileName) const {
    const TPaletteState& P = FHost.Palette();
    if (P.HatchIndex < 0 || !PatternFileName.isEmpty()) {
        if (!PatternFileName.isEmpty()) {
            // Read by the program's own decoders, with their limits, metafiles included.
            const std::unique_ptr<TBitmap32> Picture = LoadLayerPictureFromFile(PatternFileName);
            Target.SetFillImage(true);
            Target.SetFillPatternBitmap(TGPImage::FromBitmap32(*Picture));
            GetPatternWrapMode(Target);
        } else if (Existing && Existing->FillImage() && Existing->FillPatternBitmap()) {
            std::shared_ptr<TGPImage> Kept = Existing->FillPatternBitmap()->Clone();
            Target.SetFillImage(true);
            Target.SetFillPatternBitmap(std::move(Kept));
            GetPatternWrapMode(Target);
        }
    } else {
        Target.SetFillPattern(true);
        Target.SetNoOfHatchBrush(static_cast<std::int16_t>(P.HatchIndex));
        Target.SetHatchBrushForeColor(Opaque(P.Color2));
        Target.SetHatchBrushBackColor(Opaque(P.Color1));
    }
}

std::unique_ptr<T2DLayerStyle> TDocForm::GetALayerStyle(const QString& PatternFileName) const {
    const TPaletteState& P = FHost.Palette();
    auto Style = std::make_unique<T2DLayerStyle>();
    Style->SetOutlineSize(2);
    WriteOutlineAndShadow(P, *Style);
    Style->SetOutlinePosition(posOutside);
    Style->SetFillColorAlpha(P.Opacity);
    Style->SetLineColorAlpha(P.Opacity);
    if (P.Pattern) {
        const T2DFiguren* F = dynamic_cast<const T2DFiguren*>(FSelection.Get());
        ApplyPalettePattern(*Style, F ? &F->LayerStyle() : nullptr, PatternFileName);
    }
    return Style;
}

void TDocForm::UpdateTextLayer(TFontLayerStyle& Style, const QString& PatternFileName) const {
    const TPaletteState& P = FHost.Palette();
    Style.SetText(P.Text);
    Style.SetFontName(P.FontName);
    if (int Size; FieldValue(P.FontSize, 1, 999, Size)) Style.SetFontSize(Size);
    Style.SetFillColor(Opaque(P.TextColor));
    Style.SetLineColor(Opaque(P.TextColor));
    Style.SetFontBold(P.FontBold);
    Style.SetFontItalic(P.FontItalic);
    Style.SetFontUnderline(P.FontUnderline);
    Style.SetFontStrikeOut(P.FontStrikeOut);
    WriteOutlineAndShadow(P, Style);
    if (P.Pattern) ApplyPalettePattern(Style, &Style, PatternFileName);
}

void TDocForm::GetPatternWrapMode(T2DLayerStyle& ALayerStyle) const {
    TGPWrapMode Mode;
    if (WrapModeOfIndex(FHost.Palette().WrapModeIndex, Mode)) ALayerStyle.SetFillPatternWrapMode(Mode);
}

void TDocForm::GetPatternWrapMode(TFontLayerStyle& AFontLayerStyle) const {
    GetPatternWrapMode(static_cast<T2DLayerStyle&>(AFontLayerStyle));
}

void TDocForm::ChangeStyle(TStyledLayer& Layer, TUndoType Kind, bool Continue,
                           const std::function<void(TStyledLayer&)>& Edit) {
    const bool Merge = Continue && FRedoList.empty() && !FUndoList.empty() &&
                       FUndoList.back().fSerial == FBurstSerial &&
                       FUndoList.back().fDstLayerId == Layer.Id() && FUndoList.back().fUndoType == Kind &&
                       PageOfLayer(&Layer);
    if (!Merge) {
        ChangeLayer(Layer, Kind, [&Edit](TBitmapLayer& L) { Edit(static_cast<TStyledLayer&>(L)); });
    } else {
        // The burst's record keeps the state from before its first edit; it only becomes newer.
        EditRestoring(Layer, [&Edit](TBitmapLayer& L) { Edit(static_cast<TStyledLayer&>(L)); });
        RenewNewestRecord();
        LayerChanged(Layer);
    }
    if (!FUndoList.empty() && FUndoList.back().fDstLayerId == Layer.Id())
        FBurstSerial = FUndoList.back().fSerial;
    ResetRubberbandLayer();
}

void TDocForm::ApplyToText(const QString& PatternFileName, bool Continue) {
    TTextLayer* T = AsText(FSelection.Get());
    if (!T) return;
    ChangeStyle(*T, undoFontLayerStyle, Continue, [this, &PatternFileName](TStyledLayer& L) {
        auto& Text = static_cast<TTextLayer&>(L);
        UpdateTextLayer(Text.FontLayerStyle(), PatternFileName);
        RedrawStyled(Text);
    });
    PatternApplied(T->LayerStyle());
}

void TDocForm::ApplyTextColor() {
    TTextLayer* T = AsText(FSelection.Get());
    if (!T) return;
    ChangeStyle(*T, undoFontLayerStyle, false, [this](TStyledLayer& L) {
        auto& Text = static_cast<TTextLayer&>(L);
        TFontLayerStyle& S = Text.FontLayerStyle();
        S.SetFillGradient(false);
        S.SetFillPattern(false);
        S.SetFillImage(false);
        UpdateTextLayer(S, QString());
        RedrawStyled(Text);
    });
    PatternApplied(T->LayerStyle());
}

void TDocForm::ApplyToSelection(const QString& PatternFileName, bool Continue) {
    if (AsText(FSelection.Get())) {
        ApplyToText(PatternFileName, Continue);
        return;
    }
    T2DFiguren* F = AsFigure(FSelection.Get());
    if (!F) return;
    const std::unique_ptr<T2DLayerStyle> Style = GetALayerStyle(PatternFileName);
    PaintFigureStyle(*Style, Continue);
    PatternApplied(F->LayerStyle());
}

void TDocForm::PatternApplied(const T2DLayerStyle& Style) {
    // A pattern picture replaces the hatch; the wrap-mode list now applies.
    const bool Image = Style.FillImage();
    if (Image == FHost.Palette().PatternImage && (!Image || FHost.Palette().HatchIndex < 0)) return;
    FHost.ChangePalette([Image](TPaletteState& P) {
        P.PatternImage = Image;
        if (Image) P.HatchIndex = -1;
    });
}

void TDocForm::LoadPaletteFromLayer(const TCustomLayer* Layer, TPaletteState& P) {
    const auto* Styled = dynamic_cast<const TStyledLayer*>(Layer);
    if (!Styled) return;
    if (const auto* T = dynamic_cast<const TTextLayer*>(Layer)) {
        const TFontLayerStyle& F = T->FontLayerStyle();
        P.Text = F.Text();
        P.FontName = F.FontName();
        P.FontSize = QString::number(F.FontSize());
        P.TextColor = WinColor(F.FillColor());
        P.FontBold = F.FontBold();
        P.FontItalic = F.FontItalic();
        P.FontUnderline = F.FontUnderline();
        P.FontStrikeOut = F.FontStrikeOut();
    }
    const T2DLayerStyle& S = Styled->LayerStyle();
    P.Outline = S.Outline();
    if (S.Outline()) {
        P.OutlineWidth = QString::number(S.OutlineSize());
        P.OutlineColor = WinColor(S.OutlineColor());
        P.OutlineAlpha = S.OutlineAlpha();
    } else {
        P.OutlineWidth = QStringLiteral("2");
        P.OutlineColor = 0x00FFFF;
        P.OutlineAlpha = 255;
    }
    P.Shadow = S.Shadow();
    if (S.Shadow()) {
        P.ShadowXShift = QString::number(S.ShadowXShift());
        P.ShadowYShift = QString::number(S.ShadowYShift());
        P.ShadowColor = WinColor(S.ShadowColor());
        P.ShadowAlpha = S.ShadowAlpha();
    } else {
        P.ShadowXShift = P.ShadowYShift = QStringLiteral("3");
        P.ShadowColor = 0x808080;
        P.ShadowAlpha = 255;
    }
    P.Pattern = S.FillImage() != S.FillPattern();
    P.PatternImage = S.FillImage();
    // The lists show the layer's own choices, so that changing one control changes only that.
    P.DashIndex = IndexOfDashStyle(S.OutlineDashStyle());
    P.HatchIndex = S.FillPattern() ? S.NoOfHatchBrush() : -1;
    if (P.HatchIndex > HatchStyleMax) P.HatchIndex = -1;
    P.WrapModeIndex = IndexOfWrapMode(S.FillPatternWrapMode());
}

} // namespace zp
