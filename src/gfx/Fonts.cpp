#include "gfx/Fonts.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zp {

namespace {

struct TAlias {
    const char* Name;
    const char* Family;
};

// Families that fonts-liberation2 makes metric-compatible with the Windows core fonts; a
// project naming one of these keeps its text layout.
constexpr TAlias MetricAliases[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

constexpr float MaxBuildSize = 1024.0f;

void RequireGui() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw EGdipError(GdiplusNotInitialized, "fonts need a running QGuiApplication");
}

QStringList SystemFamilies() {
    RequireGui();
    QStringList Result;
    for (const QString& F : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(F)) Result << F;
    return Result;
}

std::optional<QString> FindSystemFamily(const QStringList& Families, const QString& Name) {
    for (const QString& F : Families)
        if (F.compare(Name, Qt::CaseInsensitive) == 0) return F;
    return std::nullopt;
}

struct TResolved {
    QString Name;
    QString RenderFamily;
};

std::optional<TResolved> Resolve(const QString& Name) {
    const QStringList Families = SystemFamilies();
    if (auto F = FindSystemFamily(Families, Name)) return TResolved{*F, *F};
    for (const auto& A : MetricAliases) {
        if (Name.compare(QLatin1String(A.Name), Qt::CaseInsensitive) != 0) continue;
        if (auto F = FindSystemFamily(Families, QLatin1String(A.Family)))
            return TResolved{QLatin1String(A.Name), *F};
    }
    return std::nullopt;
}

// Point sizes are resolved against this device so that 72 points are always 96 pixels,
// whatever the screen reports.
const QImage& DpiDevice() {
    static const QImage Device = [] {
        QImage D(1, 1, QImage::Format_ARGB32);
        const int DotsPerMeter = static_cast<int>(std::lround(ScreenDpi / 0.0254));
        D.setDotsPerMeterX(DotsPerMeter);
        D.setDotsPerMeterY(DotsPerMeter);
        return D;
    }();
    return Device;
}

} // namespace

QStringList InstalledFontNames() {
    QStringList Names = SystemFamilies();
    for (const auto& A : MetricAliases)
        if (!FindSystemFamily(Names, QLatin1String(A.Name)) &&
            FindSystemFamily(Names, QLatin1String(A.Family)))
            Names << QLatin1String(A.Name);
    std::sort(Names.begin(), Names.end(),
              [](const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) < 0; });
    return Names;
}

bool IsFontInstalled(const QString& Name) {
    return FindSystemFamily(InstalledFontNames(), Name).has_value();
}

TGPFontFamily::TGPFontFamily(QString Name, QString RenderFamily)
    : FName(std::move(Name)), FRenderFamily(std::move(RenderFamily)) {}

TGPFontFamily::TGPFontFamily(const QString& Name) {
    const auto R = Resolve(Name);
    if (!R)
        throw EGdipError(FontFamilyNotFound, "font family \"" + Name.toStdString() + "\" is not installed");
    FName = R->Name;
    FRenderFamily = R->RenderFamily;
}

TGPFontFamily TGPFontFamily::GenericSansSerif() {
    if (auto R = Resolve(QStringLiteral("Liberation Sans"))) return TGPFontFamily(R->Name, R->RenderFamily);
    if (auto R = Resolve(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()))
        return TGPFontFamily(R->Name, R->RenderFamily);
    const QStringList Families = SystemFamilies();
    if (Families.isEmpty()) throw EGdipError(FontFamilyNotFound, "no font is installed");
    return TGPFontFamily(Families.front(), Families.front());
}

QFont TGPFontFamily::MakeQFont(int Style, float PixelSize) const {
    RequireGui();
    QFont F(QFont(FRenderFamily), &DpiDevice());
    F.setPointSizeF(std::max(PixelSize, 0.01f) * 72.0 / ScreenDpi);
    F.setBold((Style & FontStyleBold) != 0);
    F.setItalic((Style & FontStyleItalic) != 0);
    F.setUnderline((Style & FontStyleUnderline) != 0);
    F.setStrikeOut((Style & FontStyleStrikeout) != 0);
    // Unhinted outlines and fractional advances: text scales linearly and measures the same
    // whatever the desktop's hinting settings are.
    F.setHintingPreference(QFont::PreferNoHinting);
    F.setStyleStrategy(QFont::PreferOutline);
    return F;
}

TGPFont::TGPFont(const TGPFontFamily& Family, float EmSize, int Style, TGPUnit Unit)
    : FFamily(Family), FSize(EmSize), FStyle(Style), FUnit(Unit) {}

TGPFont::TGPFont(const QString& FamilyName, float EmSize, int Style, TGPUnit Unit)
    : FFamily(IsFontInstalled(FamilyName) ? TGPFontFamily(FamilyName) : TGPFontFamily::GenericSansSerif()),
      FSize(EmSize), FStyle(Style), FUnit(Unit) {}

float TGPFont::PixelSize() const {
    switch (FUnit) {
    case UnitPoint: return FSize * ScreenDpi / 72.0f;
    case UnitInch: return FSize * ScreenDpi;
    case UnitDocument: return FSize * ScreenDpi / 300.0f;
    case UnitMillimeter: return FSize * ScreenDpi / 25.4f;
    default: return FSize;
    }
}

TGPRectF MeasureString(const QString& Text, const TGPFont& Font, const TGPRectF& LayoutRect,
                       const TGPStringFormat* /*Format*/) {
    const float Pixels = Font.PixelSize();
    if (Text.isEmpty() || !(Pixels > 0) || !std::isfinite(Pixels)) return {LayoutRect.X, LayoutRect.Y, 0, 0};
    const float BuildSize = std::min(Pixels, MaxBuildSize);
    const double Scale = static_cast<double>(Pixels) / BuildSize;
    const QFontMetricsF Metrics(Font.Family().MakeQFont(Font.Style(), BuildSize));

    QString Normalised = Text;
    Normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList Lines = Normalised.split(QLatin1Char('\n'));
    double Width = 0;
    for (QString Line : Lines) {
        while (!Line.isEmpty() && Line.back().isSpace()) Line.chop(1);
        Width = std::max(Width, Metrics.horizontalAdvance(Line) * Scale);
    }
    const double Height = Metrics.lineSpacing() * Scale * Lines.size();
    return {LayoutRect.X, LayoutRect.Y, static_cast<float>(Width), static_cast<float>(Height)};
}

} // namespace zp
