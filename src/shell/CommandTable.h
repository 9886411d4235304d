#pragma once

#include <span>

namespace zp {

// Every command of the main window's menus and tool bar.
enum class TCmd {
    None,
    FileNew,
    OpenFile,
    OpenTemplate,
    Close,
    Save,
    SaveAs,
    Print,
    End,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Rotate270,
    Rotate90,
    RotateAngel,
    FlipVert,
    FlipHorz,
    Scale,
    WorkingArea,
    PictureSize,
    ExtLayer,
    PicLayer,
    PicFromTemplate,
    Delete,
    ResizeLayer,
    BringFront,
    SendBack,
    LevelUp,
    LevelDown,
    NewCustomLayer,
    SimpleDrawing,
    NewBitmapRGBA,
    Flatten,
    NewFrame,
    DeleteFrame,
    FrameLeft,
    FrameRight,
    MotionBlur,
    Emboss,
    Soften,
    Sharpen,
    ColorAmboss,
    StrongSharpen,
    Relief,
    FineRelief,
    ResetPalettePosition,
    TextTool,
    LayerTool,
    Paintbox,
    GifPreview,
    GifExport,
    Help,
    Info,
    NewVersion,
    SaveAsPng,
    SaveAsJpg,
};

// One row of a menu: a top-level menu (Level 0), an item (1) or an item of a submenu (2).
// Submenus are items without a command whose following rows have Level 2.
struct TMenuRow {
    int Level;
    const char* Component;
    const char* Caption; // German default; "-" is a separator
    int Tag;             // key in the language file, 0 for none
    const char* ShortCut;
    TCmd Command;
    bool Hidden = false;
    // Opening this top-level menu recomputes the command states.
    bool RefreshesStates = false;
    // A second short cut, or "".
    const char* AltShortCut = "";
};

struct TToolRow {
    const char* Component;
    const char* Hint;
    int Tag;
    TCmd Command;
    bool SeparatorAfter = false;
    // A name of the desktop's icon theme, or null when only our own picture fits.
    const char* ThemeIcon = nullptr;
};

std::span<const TMenuRow> MenuRows();
std::span<const TToolRow> ToolRows();
// Every command, TCmd::None excluded.
std::span<const TCmd> AllCommands();

// The file dialogs' filters ("Text|patterns|Text|patterns").
constexpr const char* SaveImgViewFilter =
    "Pixaro-Projektdatei (*.dgm)|*.dgm|JPEG-Grafikdatei (*.jpg)|*.jpg|Bitmaps (*.bmp)|*.bmp|PNG "
    "(*.png)|*.png|Gif (*.gif)|*.gif";
constexpr const char* OpenDialogFilter =
    "Alle "
    "(*.dgm;*.jpg;*.jpeg;*.bmp;*.gif;*.png)|*.dgm;*.xml;*.jpg;*.jpeg;*.bmp;*.gif;*.png|Animoro-Projektdatei "
    "(*.dgm)|*.dgm|JPEG-Grafikdatei (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|Gif (*.gif)|*.gif|PNG "
    "(*.png)|*.png";
constexpr const char* SaveGifFilter = "Gif (*.gif)|*.gif";
constexpr const char* OpenPictureFilter =
    "Alle "
    "(*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png;*.gif)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png;*.gif|"
    "JPEG-"
    "Grafikdatei (*.jpg)|*.jpg|JPEG-Grafikdatei (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Symbole (*.ico)|*.ico|"
    "Erweiterte Metadateien (*.emf)|*.emf|Metadateien (*.wmf)|*.wmf|PNG (*.png)|*.png|Gif (*.gif)|*.gif";

// The zoom box's list.
constexpr const char* ZoomItems[] = {"10%",  "25%",  "50%",  "75%",  "100%",
                                     "200%", "300%", "400%", "800%", "1600%"};

} // namespace zp
