#pragma once

#include "gfx/GdipTypes.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace zp {

// Fonts need a running QGuiApplication (the offscreen platform is enough); without one every
// font operation throws EGdipError(GdiplusNotInitialized).

// The names a user may choose: the system's families plus the Windows names that a
// metric-compatible family stands in for ("Arial" when Liberation Sans is installed).
QStringList InstalledFontNames();
// True when Name equals one of InstalledFontNames() without regard to case.
bool IsFontInstalled(const QString& Name);

class TGPFontFamily {
public:
    // Throws EGdipError(FontFamilyNotFound) when Name is not installed.
    explicit TGPFontFamily(const QString& Name);
    // The sans-serif family used where a requested family is missing.
    static TGPFontFamily GenericSansSerif();

    // The installed spelling of the requested name ("arial" gives "Arial").
    const QString& Name() const { return FName; }
    // The family that actually draws the glyphs.
    const QString& RenderFamily() const { return FRenderFamily; }
    // A font of this family with the given style bits and an em size in pixels.
    QFont MakeQFont(int Style, float PixelSize) const;

    friend bool operator==(const TGPFontFamily& A, const TGPFontFamily& B) { return A.FName == B.FName; }

private:
    TGPFontFamily(QString Name, QString RenderFamily);

    QString FName;
    QString FRenderFamily;
};

class TGPFont {
public:
    TGPFont(const TGPFontFamily& Family, float EmSize, int Style = FontStyleRegular,
            TGPUnit Unit = UnitPoint);
    // A family that is not installed falls back to the generic sans-serif family.
    TGPFont(const QString& FamilyName, float EmSize, int Style = FontStyleRegular, TGPUnit Unit = UnitPoint);

    const TGPFontFamily& Family() const { return FFamily; }
    float Size() const { return FSize; }
    int Style() const { return FStyle; }
    TGPUnit Unit() const { return FUnit; }
    // The em size in pixels at the screen resolution.
    float PixelSize() const;
    QFont ToQFont() const { return FFamily.MakeQFont(FStyle, PixelSize()); }

private:
    TGPFontFamily FFamily;
    float FSize;
    int FStyle;
    TGPUnit FUnit;
};

class TGPStringFormat {
public:
    explicit TGPStringFormat(int Flags = 0, int Language = 0) : FFlags(Flags), FLanguage(Language) {}
    int Flags() const { return FFlags; }
    int Language() const { return FLanguage; }
    TGPStringAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TGPStringAlignment A) { FAlignment = A; }
    TGPStringAlignment LineAlignment() const { return FLineAlignment; }
    void SetLineAlignment(TGPStringAlignment A) { FLineAlignment = A; }

private:
    int FFlags;
    int FLanguage;
    TGPStringAlignment FAlignment = StringAlignmentNear;
    TGPStringAlignment FLineAlignment = StringAlignmentNear;
};

// The box the text occupies when laid out from LayoutRect's top-left corner: the widest
// line's advance (trailing spaces not counted) by the number of lines times the line
// spacing. An empty text measures (X, Y, 0, 0). Lines break at '\n' only.
TGPRectF MeasureString(const QString& Text, const TGPFont& Font, const TGPRectF& LayoutRect,
                       const TGPStringFormat* Format = nullptr);

} // namespace zp
