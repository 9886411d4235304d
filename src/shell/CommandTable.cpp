#include "shell/CommandTable.h"

#include <iterator>

namespace zp {

namespace {

// clang-format off
constexpr TMenuRow Menu[] = {
    {0, "mnFile", "Datei", 1, "", TCmd::None, false, true},
    {1, "mnFileNew", "Neu", 2, "Ctrl+N", TCmd::FileNew},
    {1, "mnOpenFile", "Öffnen...", 3, "Ctrl+O", TCmd::OpenFile},
    {1, "mnOpenTemplate", "Vorlage auswählen...", 4, "", TCmd::OpenTemplate},
    {1, "mnLastUsed", "Zuletzt verendet", 118, "", TCmd::None},
    {1, "N6", "-", 0, "", TCmd::None},
    {1, "mnClose", "Schließen", 5, "Ctrl+W", TCmd::Close},
    {1, "mnSave", "Speichern", 6, "Ctrl+S", TCmd::Save},
    {1, "mnSaveAs", "Speichern unter...", 7, "Ctrl+Shift+S", TCmd::SaveAs},
    {1, "N11", "-", 0, "", TCmd::None, true},
    {1, "mnPrint", "Drucken", 73, "Ctrl+P", TCmd::Print, true},
    {1, "N12", "-", 0, "", TCmd::None},
    {1, "mnEnd", "Beenden", 8, "Ctrl+Q", TCmd::End},

    {0, "mnArrange", "Bearbeiten", 9, "", TCmd::None, false, true},
    {1, "mnUndo", "Rückgängig", 10, "Ctrl+Z", TCmd::Undo},
    {1, "mnRedo", "Wiederherstellen", 200, "Ctrl+Y", TCmd::Redo, false, false, "Ctrl+Shift+Z"},
    {1, "N5", "-", 0, "", TCmd::None},
    {1, "mnAusschneiden", "Ausschneiden", 11, "Ctrl+X", TCmd::Cut},
    {1, "mnKopieren", "Kopieren", 12, "Ctrl+C", TCmd::Copy},
    {1, "mnEinfgen", "Einfügen", 13, "Ctrl+V", TCmd::Paste},
    {1, "N3", "-", 0, "", TCmd::None},
    {1, "Drehen1", "Drehen", 14, "", TCmd::None},
    {2, "mnRotate270", "im UZS", 15, "", TCmd::Rotate270},
    {2, "mnRotate90", "gegen UZS", 16, "", TCmd::Rotate90},
    {2, "mnRotateAngel", "Angel", 147, "", TCmd::RotateAngel},
    {1, "Spiegeln1", "Spiegeln", 17, "", TCmd::None},
    {2, "mnFlipVert", "vertikal", 18, "", TCmd::FlipVert},
    {2, "mnFlipHorz", "horizontal", 19, "", TCmd::FlipHorz},
    {1, "mnScale", "Skalieren", 150, "Ctrl+T", TCmd::Scale},

    {0, "mnuPicture", "B&ild", 0, "", TCmd::None},
    {1, "mnuWorkingArea", "Arbeitsfläche", 0, "", TCmd::WorkingArea},
    {1, "mnuPictureSize", "Bildgröße", 0, "", TCmd::PictureSize},

    {0, "mnLayers", "Ebene", 20, "", TCmd::None, false, true},
    {1, "Neu2", "Neu...", 21, "", TCmd::None},
    {2, "mnExtLayer", "Text einfügen", 22, "", TCmd::ExtLayer},
    {2, "mnPicLayer", "Bild einfügen", 23, "", TCmd::PicLayer},
    {2, "mnPicFromTempl1", "Bild aus Vorlage", 24, "", TCmd::PicFromTemplate},
    {1, "N4", "-", 0, "", TCmd::None, true},
    {1, "mnDelete", "Auswahl löschen", 25, "Del", TCmd::Delete},
    {1, "mnResizeLayer", "Originalgröße wiederherstellen", 26, "", TCmd::ResizeLayer},
    {1, "N1", "-", 0, "", TCmd::None},
    {1, "mnBringFront", "nach vorn", 27, "", TCmd::BringFront},
    {1, "mnSendBack", "nach hinten", 28, "", TCmd::SendBack},
    {1, "N7", "-", 0, "", TCmd::None},
    {1, "mnLevelUp", "eine Ebene vor", 29, "", TCmd::LevelUp},
    {1, "mnLevelDown", "eine Ebene zurück", 30, "", TCmd::LevelDown},
    {1, "mnNewCustomLayer", "Neuer Custom Layer", 0, "", TCmd::NewCustomLayer, true},
    {1, "mnSimpleDrawing", "Zeichen Layer", 0, "", TCmd::SimpleDrawing, true},
    {1, "mnNewBitmapRGBA", "Neuer Bitmap Layer mit Alpha Channel", 0, "", TCmd::NewBitmapRGBA, true},
    {1, "mnFlatten", "Ebenen verbinden", 31, "", TCmd::Flatten},

    {0, "Frames1", "Frames", 32, "", TCmd::None, false, true},
    {1, "NewFrame", "Neuer Frame", 33, "", TCmd::NewFrame},
    {1, "N13", "-", 0, "", TCmd::None},
    {1, "mnFrameloeschen", "Frame löschen", 34, "", TCmd::DeleteFrame},
    {1, "N2", "-", 0, "", TCmd::None},
    {1, "mnNachLinksVerschieben", "nach links verschieben", 35, "", TCmd::FrameLeft},
    {1, "mnNachRechtsVerschieben", "nach rechts verschieben", 36, "", TCmd::FrameRight},

    {0, "mnEffects", "Effects", 151, "", TCmd::None},
    {1, "mnMotionBlur", "MotionBlur", 152, "", TCmd::MotionBlur},
    {1, "mnEmboss", "Emboss", 153, "", TCmd::Emboss},
    {1, "mnSoften", "Soften", 154, "", TCmd::Soften},
    {1, "mnSharpen", "Sharpen", 155, "", TCmd::Sharpen},
    {1, "mnColorAmboss", "ColorAmboss", 156, "", TCmd::ColorAmboss},
    {1, "mnStrongSharpen", "StrongSharpen", 157, "", TCmd::StrongSharpen},
    {1, "mnRelief", "Relief", 158, "", TCmd::Relief},
    {1, "mnFineRelief", "FineRelief", 159, "", TCmd::FineRelief},

    {0, "Ansicht1", "Fenster", 37, "", TCmd::None, false, true},
    {1, "mnWorkspace", "Arbeitsbereich", 116, "", TCmd::None},
    {2, "mnResetPalettePosition", "Palettenposition zurücksetzen", 117, "", TCmd::ResetPalettePosition},
    {1, "N8", "-", 0, "", TCmd::None},
    {1, "mnTextTool", "Eigenschaften", 126, "", TCmd::TextTool},
    {1, "mnLayerTool", "Ebenen", 39, "", TCmd::LayerTool},
    {1, "mnPaintbox", "Paintbox", 40, "", TCmd::Paintbox},

    {0, "Gif1", "Gif", 41, "", TCmd::None, false, true},
    {1, "mnGifErzeugen", "Gif Vorschau", 42, "", TCmd::GifPreview},
    {1, "mnGifExportieren", "Gif exportieren/speichern", 43, "", TCmd::GifExport},

    {0, "Hilfe1", "Hilfe", 44, "", TCmd::None, false, true},
    {1, "mnHelp", "Hilfe", 44, "F1", TCmd::Help},
    {1, "Info1", "Info...", 45, "", TCmd::Info},
    {1, "mnNewVersion", "Auf neue Version prüfen", 47, "", TCmd::NewVersion},
};

constexpr TToolRow Tools[] = {
    {"TlBtnNew", "Neu", 2, TCmd::FileNew, false, "document-new"},
    {"TlBtnNewTemplate", "Vorlage öffnen", 74, TCmd::OpenTemplate},
    {"TlBtnOpen", "Öffnen", 3, TCmd::OpenFile, false, "document-open"},
    {"TlBtnSave", "Speichern", 6, TCmd::Save, true, "document-save"},
    {"TlBtnCut", "Ausschneiden", 11, TCmd::Cut, false, "edit-cut"},
    {"TlBtnCopy", "Kopieren", 12, TCmd::Copy, false, "edit-copy"},
    {"TlBtnInsert", "Einfügen", 13, TCmd::Paste, true, "edit-paste"},
    {"TlBtnUndo", "Rückgängig", 10, TCmd::Undo, false, "edit-undo"},
    {"TlBtnRedo", "Wiederherstellen", 200, TCmd::Redo, true, "edit-redo"},
    {"TlBtnRotateCW", "Drehen im UZS", 75, TCmd::Rotate270, false, "object-rotate-right"},
    {"TlBtnRotateCCW", "Drehen gegen UZS", 76, TCmd::Rotate90, false, "object-rotate-left"},
    {"TlBtnFlipVert", "vertikal spiegeln", 77, TCmd::FlipVert, false, "object-flip-vertical"},
    {"TlBtnFlipHorz", "horizontal spiegeln", 78, TCmd::FlipHorz, true, "object-flip-horizontal"},
    {"TlBtnInsertText", "Text einfügen", 22, TCmd::ExtLayer},
    {"TlBtnInsertImage", "Bild einfügen", 23, TCmd::PicLayer},
    {"ToolButton3", "Bild aus Vorlage einfügen", 24, TCmd::PicFromTemplate, true},
    {"ToolButton5", "Neuer Frame", 33, TCmd::NewFrame},
    {"ToolButton6", "Frame löschen", 34, TCmd::DeleteFrame},
    {"ToolButton8", "Frame nach links verschieben", 79, TCmd::FrameLeft},
    {"ToolButton9", "Frame nach rechts verschieben", 80, TCmd::FrameRight, true},
    {"ToolBtnSavePng", "als png speichern", 81, TCmd::SaveAsPng},
    {"TollBtnSaveJPG", "als jpg speichern", 82, TCmd::SaveAsJpg, true},
    {"ToolBtnGifErzeugen", "Gif Vorschau", 42, TCmd::GifPreview},
    {"ToolBtnGifExportieren", "Gif speichern", 43, TCmd::GifExport},
};
// clang-format on

} // namespace

std::span<const TMenuRow> MenuRows() {
    return Menu;
}
std::span<const TToolRow> ToolRows() {
    return Tools;
}

namespace {
// clang-format off
constexpr TCmd Commands[] = {
    TCmd::FileNew, TCmd::OpenFile, TCmd::OpenTemplate, TCmd::Close, TCmd::Save, TCmd::SaveAs, TCmd::Print,
    TCmd::End, TCmd::Undo, TCmd::Redo, TCmd::Cut, TCmd::Copy, TCmd::Paste, TCmd::Rotate270, TCmd::Rotate90,
    TCmd::RotateAngel, TCmd::FlipVert, TCmd::FlipHorz, TCmd::Scale, TCmd::WorkingArea, TCmd::PictureSize,
    TCmd::ExtLayer, TCmd::PicLayer, TCmd::PicFromTemplate, TCmd::Delete, TCmd::ResizeLayer, TCmd::BringFront,
    TCmd::SendBack, TCmd::LevelUp, TCmd::LevelDown, TCmd::NewCustomLayer, TCmd::SimpleDrawing,
    TCmd::NewBitmapRGBA, TCmd::Flatten, TCmd::NewFrame, TCmd::DeleteFrame, TCmd::FrameLeft, TCmd::FrameRight,
    TCmd::MotionBlur, TCmd::Emboss, TCmd::Soften, TCmd::Sharpen, TCmd::ColorAmboss, TCmd::StrongSharpen,
    TCmd::Relief, TCmd::FineRelief, TCmd::ResetPalettePosition, TCmd::TextTool, TCmd::LayerTool,
    TCmd::Paintbox, TCmd::GifPreview, TCmd::GifExport, TCmd::Help, TCmd::Info, TCmd::NewVersion,
    TCmd::SaveAsPng, TCmd::SaveAsJpg,
};
// clang-format on
// Every command but None is listed once.
static_assert(std::size(Commands) == static_cast<std::size_t>(TCmd::SaveAsJpg));
} // namespace

std::span<const TCmd> AllCommands() {
    return Commands;
}

} // namespace zp
