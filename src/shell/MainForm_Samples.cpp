// The developers' sample document: one layer of each figure kind and a text, to try the layer commands on
// before layers can be drawn or inserted.
#include "shell/MainForm.h"

#include "layers/Line.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/TextLayer.h"

namespace zp {

namespace {

template <class T, class... TArgs> std::unique_ptr<T> Figure(TColor32 Fill, TArgs... Args) {
    auto F = std::make_unique<T>(Args...);
    F->LayerStyle().SetFillColor(Fill);
    F->LayerStyle().SetLineColor(Fill);
    F->LayerStyle().SetOutline(true);
    F->LayerStyle().SetOutlineSize(2);
    F->LayerStyle().SetOutlineColor(0xFF202020);
    F->LayerStyle().SetShadow(true);
    F->Paint();
    return F;
}

} // namespace

TDocForm& TMainForm::NewSampleDocument() {
    TDocForm& Doc = CreateDocument();
    SetSelectedDocForm(&Doc);
    FUnknownCounter += 1;
    PlaceDocumentWindow(Doc);
    Doc.NewImage(400, 300, 0xFFFFFF);
    Doc.InsertLayer(Figure<T2DRectangle>(0xFF3070D0, 30, 30, 170, 120));
    Doc.InsertLayer(Figure<T2DEllipse>(0xFFE0A020, 200, 40, 360, 150));
    Doc.InsertLayer(Figure<T2DPolygon>(0xFF40B040, 110, 210, 170, 190, 6));
    auto Line = Figure<T2DLine>(0xFFC03030, 220, 200, 370, 270);
    Line->SetLineWidth(8);
    Line->Paint();
    TBitmapLayer* Last = Doc.InsertLayer(std::move(Line));
    if (TTextLayer* Text = Doc.NewTextLayer()) {
        TFontLayerStyle& S = Text->FontLayerStyle();
        S.SetFontSize(40);
        S.SetFontBold(true);
        S.SetFillColor(0xFF8030C0);
        S.SetOutline(true);
        S.SetOutlineColor(0xFFFFFFFF);
        S.SetShadow(true);
        Doc.SetLayerText(*Text, QStringLiteral("Zelk-Pixaro"));
        Doc.MoveLayer(*Text, 20 - static_cast<float>(Text->StartPoint.X),
                      150 - static_cast<float>(Text->StartPoint.Y));
    }
    Doc.SelectLayer(Last);
    // Made this way, not by the user: nothing to undo, nothing to save yet.
    Doc.ClearUndo();
    ActivateZeigerTool();
    EnableSpecMenuItems();
    return Doc;
}

} // namespace zp
