#include "shell/Settings.h"

#include "document/UserDialogs.h"
#include "shell/IniFile.h"
#include "shell/LangText.h"
#include "shell/Places.h"
#include "shell/ScreenSize.h"
#include "shell/Version.h"

#include <QFileInfo>

#include <cmath>
#include <memory>

namespace zp {

namespace {

const QString SecFolders = QStringLiteral("Folders");
const QString SecLanguage = QStringLiteral("Language");
const QString SecLastUsed = QStringLiteral("LastUsed");
const QString KeyTempl = QStringLiteral("constTempl");
const QString KeyPicTempl = QStringLiteral("constPicTempl");
const QString KeyLang = QStringLiteral("lang");
const QString KeyShownNumber = QStringLiteral("ShownNumber");
const QString KeyWidth = QStringLiteral("Width");
const QString KeyHeight = QStringLiteral("Height");
const QString KeyLeft = QStringLiteral("Left");
const QString KeyTop = QStringLiteral("Top");
const QString KeyVisible = QStringLiteral("Visible");
const QString DefaultTemplateFolder = QStringLiteral("Vorlagen");
const QString DefaultPicTemplateFolder = QStringLiteral("Bildvorlagen");
constexpr int CreatedShownNumber = 5;
constexpr int DefaultShownNumber = 10;

// What the three palettes differ in: their section, their first-start geometry and the limits
// a stored value must keep.
struct TPaletteRule {
    const char* Section;
    int DefaultWidth, DefaultHeight;
    int MinWidth, MinHeight;
    int MinLeftPercent; // a stored left below this means the default position
    int LeftMarker;     // the left value that stands for the default position
};

constexpr TPaletteRule TextFormRule{"TextForm", 196, 293, 50, 40, 3, 2};
constexpr TPaletteRule LayerFormRule{"LayerForm", 196, 353, 50, 50, 3, 2};
constexpr TPaletteRule PaintBoxRule{"PaintBox", 57, 300, 20, 50, 1, 0};
constexpr int MaxPercent = 94;
constexpr int TopMarker = 0;

struct TPaletteFields {
    const TPaletteRule& Rule;
    int& Width;
    int& Height;
    int& Left;
    int& Top;
    bool& Visible;
};

// Halves go to the even neighbour, as everywhere in the program.
int Round(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

int PixelsToPercent(int Pixels, int ScreenExtent) {
    return Round(Pixels * 100.0 / ScreenExtent);
}
int PercentToPixels(int Percent, int ScreenExtent) {
    return Round(Percent * double(ScreenExtent) / 100.0);
}

void ReadPalette(const TIniFile& Ini, const TPaletteFields& F, const TScreenSize& Screen) {
    const QString Section = QString::fromLatin1(F.Rule.Section);
    F.Width = Ini.ReadInteger(Section, KeyWidth, F.Rule.DefaultWidth);
    if (F.Width < F.Rule.MinWidth || F.Width >= Screen.Width) F.Width = F.Rule.DefaultWidth;
    F.Height = Ini.ReadInteger(Section, KeyHeight, F.Rule.DefaultHeight);
    if (F.Height < F.Rule.MinHeight || F.Height >= Screen.Height) F.Height = F.Rule.DefaultHeight;

    const int Left = Ini.ReadInteger(Section, KeyLeft, 0);
    F.Left = Left >= F.Rule.MinLeftPercent && Left <= MaxPercent ? PercentToPixels(Left, Screen.Width)
                                                                 : F.Rule.LeftMarker;
    const int Top = Ini.ReadInteger(Section, KeyTop, 0);
    F.Top = Top >= 1 && Top <= MaxPercent ? PercentToPixels(Top, Screen.Height) : TopMarker;
    F.Visible = Ini.ReadBool(Section, KeyVisible, true);
}

void WritePalette(TIniFile& Ini, const TPaletteFields& F, const TScreenSize& Screen) {
    const QString Section = QString::fromLatin1(F.Rule.Section);
    Ini.WriteInteger(Section, KeyWidth, F.Width);
    Ini.WriteInteger(Section, KeyHeight, F.Height);
    Ini.WriteInteger(Section, KeyLeft, PixelsToPercent(F.Left, Screen.Width));
    Ini.WriteInteger(Section, KeyTop, PixelsToPercent(F.Top, Screen.Height));
    Ini.WriteBool(Section, KeyVisible, F.Visible);
}

// The first-start geometry, written as it stands (the markers are not per-cent values).
void WritePaletteDefaults(TIniFile& Ini, const TPaletteRule& Rule) {
    const QString Section = QString::fromLatin1(Rule.Section);
    Ini.WriteInteger(Section, KeyWidth, Rule.DefaultWidth);
    Ini.WriteInteger(Section, KeyHeight, Rule.DefaultHeight);
    Ini.WriteInteger(Section, KeyLeft, Rule.LeftMarker);
    Ini.WriteInteger(Section, KeyTop, TopMarker);
    Ini.WriteBool(Section, KeyVisible, true);
}

void SetPaletteDefaults(const TPaletteFields& F) {
    F.Width = F.Rule.DefaultWidth;
    F.Height = F.Rule.DefaultHeight;
    F.Left = F.Rule.LeftMarker;
    F.Top = TopMarker;
    F.Visible = true;
}

TPaletteFields PaletteFields(TSettings& S, TPaletteKind Kind) {
    switch (Kind) {
    case pkLayerForm:
        return {LayerFormRule,   S.LayerFormWidth, S.LayerFormHeight,
                S.LayerFormLeft, S.LayerFormTop,   S.LayerFormVisible};
    case pkPaintBox:
        return {PaintBoxRule,   S.PaintBoxWidth, S.PaintBoxHeight,
                S.PaintBoxLeft, S.PaintBoxTop,   S.PaintBoxVisible};
    case pkTextForm:
    case pkOther: break;
    }
    return {TextFormRule,   S.TextFormWidth, S.TextFormHeight,
            S.TextFormLeft, S.TextFormTop,   S.TextFormVisible};
}

constexpr TPaletteKind AllPalettes[] = {pkTextForm, pkLayerForm, pkPaintBox};

} // namespace

QString SettingsFileName() {
    const QString Folder = IsBatchMode() ? ProgramFolder() : AppDataFolder();
    return Folder + QStringLiteral("/settings.ini");
}

TSettings::TSettings() {
    Create();
}

void TSettings::Create() {
    ForceAppDataFolder();
    IniFileName = SettingsFileName();
    if (!QFileInfo(IniFileName).isFile()) WriteDefaults();
    ReadIniFile();
}

void TSettings::WriteDefaults() const {
    TIniFile Ini(IniFileName);
    Ini.WriteString(SecFolders, KeyTempl, DefaultTemplateFolder);
    Ini.WriteString(SecFolders, KeyPicTempl, DefaultPicTemplateFolder);
    Ini.WriteString(SecLanguage, KeyLang, QString::fromUtf8(DefaultLanguage));
    WritePaletteDefaults(Ini, TextFormRule);
    WritePaletteDefaults(Ini, LayerFormRule);
    WritePaletteDefaults(Ini, PaintBoxRule);
    Ini.WriteInteger(SecLastUsed, KeyShownNumber, CreatedShownNumber);
    Ini.UpdateFile();
}

void TSettings::ReadIniFile() {
    const TScreenSize Screen = ScreenSize();
    // A file that could not be created reads like an empty one: every value takes its default,
    // so palettes never come up with a zero size.
    const TIniFile Ini(IniFileName);
    Language = Ini.ReadString(SecLanguage, KeyLang, QString::fromUtf8(DefaultLanguage));
    TemplateFolder = Ini.ReadString(SecFolders, KeyTempl, DefaultTemplateFolder);
    PicTemplateFolder = Ini.ReadString(SecFolders, KeyPicTempl, DefaultPicTemplateFolder);
    NumLastUsed = Ini.ReadInteger(SecLastUsed, KeyShownNumber, DefaultShownNumber);

    LeftOffset = 7;
    TopOffset = 21;

    for (TPaletteKind Kind : AllPalettes) ReadPalette(Ini, PaletteFields(*this, Kind), Screen);

    DocFormWidth = Round(Screen.Width * 0.7);
    DocFormHeight = Round(Screen.Height * 0.6);
}

void TSettings::SaveFormProps() {
    if (!QFileInfo(IniFileName).isFile()) return;
    const TScreenSize Screen = ScreenSize();
    TIniFile Ini(IniFileName);
    Ini.WriteString(SecFolders, KeyTempl, TemplateFolder);
    Ini.WriteString(SecFolders, KeyPicTempl, PicTemplateFolder);
    Ini.WriteString(SecLanguage, KeyLang, Language);
    for (TPaletteKind Kind : AllPalettes) WritePalette(Ini, PaletteFields(*this, Kind), Screen);
    Ini.WriteInteger(SecLastUsed, KeyShownNumber, NumLastUsed);
    Ini.UpdateFile();
}

void TSettings::SaveFormProps(const TFormProps& AForm) {
    if (AForm.Kind == pkOther) return;
    const TPaletteFields Fields = PaletteFields(*this, AForm.Kind);
    // The fields follow the palette too, so a later placement from these settings puts it
    // where the user left it.
    Fields.Width = AForm.Width;
    Fields.Height = AForm.Height;
    Fields.Left = AForm.Left;
    Fields.Top = AForm.Top;
    Fields.Visible = AForm.Visible;
    if (!QFileInfo(IniFileName).isFile()) return;
    TIniFile Ini(IniFileName);
    WritePalette(Ini, Fields, ScreenSize());
    Ini.UpdateFile();
}

void TSettings::ResetFormProps() {
    TIniFile Ini(IniFileName);
    for (TPaletteKind Kind : AllPalettes) {
        const TPaletteFields Fields = PaletteFields(*this, Kind);
        SetPaletteDefaults(Fields);
        WritePaletteDefaults(Ini, Fields.Rule);
    }
    Ini.UpdateFile();
}

QString TSettings::ReadSettingsIniFile(const QString& Section, const QString& Ident) const {
    const QString Missing = QStringLiteral("Error");
    if (!QFileInfo(IniFileName).isFile()) {
        UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                                  QStringLiteral("Setting-file doesnt exist!"), TMsgIcon::Information);
        return Missing;
    }
    return TIniFile(IniFileName).ReadString(Section, Ident, Missing);
}

namespace {
std::unique_ptr<TSettings> SharedSettings;
}

TSettings& Settings() {
    if (!SharedSettings) SharedSettings = std::make_unique<TSettings>();
    return *SharedSettings;
}

TSettings& RecreateSettings() {
    // Assigning keeps the object's address, so references handed out earlier stay valid.
    if (SharedSettings)
        *SharedSettings = TSettings();
    else
        SharedSettings = std::make_unique<TSettings>();
    return *SharedSettings;
}

} // namespace zp
