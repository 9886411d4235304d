#pragma once

#include <QString>

namespace zp {

// The three floating palettes whose geometry the settings keep.
enum TPaletteKind { pkTextForm, pkLayerForm, pkPaintBox, pkOther };

// What a palette window reports when it is saved: its kind, position, size and visibility.
struct TFormProps {
    TPaletteKind Kind = pkOther;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = true;
};

// The program's persistent settings in settings.ini. Palette positions are stored in per cent of
// the screen and held here in pixels; a left of 2 (properties and layers palettes) or 0 (tool
// palette) and a top of 0 mean "the palette's default position".
class TSettings {
public:
    // Locates the file, creates it with the first-start values when missing, and reads it.
    TSettings();

    QString Language;
    QString TemplateFolder;
    QString PicTemplateFolder;
    int NumLastUsed = 0;
    int TextFormWidth = 0, TextFormHeight = 0, TextFormLeft = 0, TextFormTop = 0;
    bool TextFormVisible = false;
    int LayerFormWidth = 0, LayerFormHeight = 0, LayerFormLeft = 0, LayerFormTop = 0;
    bool LayerFormVisible = false;
    int PaintBoxWidth = 0, PaintBoxHeight = 0, PaintBoxLeft = 0, PaintBoxTop = 0;
    bool PaintBoxVisible = false;
    // Size and cascade step of new document windows; derived, never stored.
    int DocFormWidth = 0, DocFormHeight = 0;
    int LeftOffset = 0, TopOffset = 0;
    QString IniFileName;

    // Writes every stored setting from the fields; nothing happens when the file is missing.
    void SaveFormProps();
    // Takes one palette's current geometry into the fields and writes its section; other
    // windows write nothing.
    void SaveFormProps(const TFormProps& AForm);
    // Puts the palettes back to their default places and writes them; creates the file.
    void ResetFormProps();
    // One value as stored, "Error" when it is missing; a missing file is reported to the user.
    QString ReadSettingsIniFile(const QString& Section, const QString& Ident) const;

private:
    void Create();
    void ReadIniFile();
    void WriteDefaults() const;
};

// The settings file: settings.ini in the application-data folder, or in the program folder in
// batch mode.
QString SettingsFileName();

// The process's shared settings, read on first use.
TSettings& Settings();
// Reads the file anew into the shared settings (a new document window does this).
TSettings& RecreateSettings();

} // namespace zp
