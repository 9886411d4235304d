#include "ui/Icons.h"

#include "shell/CommandTable.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace zp {
namespace {

struct TPicture {
    const char* Name;
    int Size;
};

// Every drawing the program ships: the command pictures and the start choice's larger ones.
const TPicture Pictures[] = {
    {"TlBtnNew", 16},
    {"TlBtnNewTemplate", 16},
    {"TlBtnOpen", 16},
    {"TlBtnSave", 16},
    {"TlBtnCut", 16},
    {"TlBtnCopy", 16},
    {"TlBtnInsert", 16},
    {"TlBtnRotateCW", 16},
    {"TlBtnRotateCCW", 16},
    {"TlBtnFlipVert", 16},
    {"TlBtnFlipHorz", 16},
    {"TlBtnInsertText", 16},
    {"TlBtnInsertImage", 16},
    {"ToolButton3", 16},
    {"ToolButton5", 16},
    {"ToolButton6", 16},
    {"ToolButton8", 16},
    {"ToolButton9", 16},
    {"ToolBtnSavePng", 16},
    {"TollBtnSaveJPG", 16},
    {"ToolBtnGifErzeugen", 16},
    {"ToolBtnGifExportieren", 16},
    {"Check", 16},
    {"TlBtnUndo", 16},
    {"TlBtnRedo", 16},
    {"Delete", 16},
    {"Help", 16},
    {"Info", 16},
    {"StartNew", 24},
    {"StartOpen", 24},
    {"StartTemplate", 24},
    {"btnZeiger", 16},
    {"btnMark", 16},
    {"btnColorGradient", 16},
    {"btnTransGradient", 16},
    {"btnCircleGradient", 16},
    {"btnCircleTranspGradient", 16},
    {"btnSqareGradient", 16},
    {"btnSqareTranspGradient", 16},
    {"btnColorFiller", 16},
    {"btPipette", 16},
    {"btnPaintLine", 16},
    {"btnPaintRectangle", 16},
    {"btnPaintPolygon", 16},
    {"btnPaintEllipse", 16},
    {"CursorGradientTool", 32},
    {"CursorPointerTool", 32},
    {"CursorPipette", 32},
    {"CursorFiller", 32},
    {"CursorSizeAll", 32},
    {"CursorSizeNESW", 32},
    {"CursorSizeNS", 32},
    {"CursorSizeNWSE", 32},
    {"CursorSizeWE", 32},
    {"FontTrueTypeAnsi", 16},
    {"FontTrueTypeSymbol", 16},
};

QString ResourcePath(const QString& Name) {
    return QStringLiteral(":/icons/%1.svg").arg(Name);
}

QImage Render(const QIcon& Icon, int Size) {
    return Icon.pixmap(Size, Size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The viewBox of the drawing's root element, read from the compiled-in file.
QString ViewBox(const QString& Path) {
    QFile File(Path);
    if (!File.open(QIODevice::ReadOnly)) return QString();
    QXmlStreamReader Xml(&File);
    while (!Xml.atEnd()) {
        if (Xml.readNext() == QXmlStreamReader::StartElement && Xml.name() == QLatin1String("svg"))
            return Xml.attributes().value(QLatin1String("viewBox")).toString();
    }
    return QString();
}

double InkShare(const QImage& Image) {
    int Ink = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X)
            if (qAlpha(Image.pixel(X, Y)) > 0) ++Ink;
    return double(Ink) / (Image.width() * Image.height());
}

class IconsTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterIconResources(); }
};

TEST_F(IconsTest, EveryPictureRendersAtItsOwnSize) {
    for (const TPicture& P : Pictures) {
        SCOPED_TRACE(P.Name);
        const QString Path = ResourcePath(QString::fromLatin1(P.Name));
        ASSERT_TRUE(QFile::exists(Path));
        // Drawn on a grid of its own size, so the pixel alignment holds at that size.
        EXPECT_EQ(ViewBox(Path), QStringLiteral("0 0 %1 %1").arg(P.Size));
        const QPixmap Pixmap = QIcon(Path).pixmap(P.Size, P.Size);
        ASSERT_FALSE(Pixmap.isNull());
        EXPECT_EQ(Pixmap.size(), QSize(P.Size, P.Size));
        // A drawing the SVG renderer cannot read comes out blank rather than failing.
        EXPECT_GT(InkShare(Pixmap.toImage().convertToFormat(QImage::Format_ARGB32)), 0.15);
    }
}

TEST_F(IconsTest, ResourceHoldsEveryDrawingOfTheFolder) {
    QSet<QString> Expected;
    for (const TPicture& P : Pictures) Expected.insert(QString::fromLatin1(P.Name) + QStringLiteral(".svg"));
    const QStringList InFolder =
        QDir(QStringLiteral(ZP_RESOURCE_DIR "/icons")).entryList({QStringLiteral("*.svg")}, QDir::Files);
    const QStringList InResource = QDir(QStringLiteral(":/icons")).entryList(QDir::Files);
    EXPECT_EQ(QSet<QString>(InFolder.begin(), InFolder.end()), Expected);
    EXPECT_EQ(QSet<QString>(InResource.begin(), InResource.end()), Expected);
}

TEST_F(IconsTest, EveryToolBarCommandHasOwnPicture) {
    for (const TToolRow& Row : ToolRows()) {
        SCOPED_TRACE(Row.Component);
        EXPECT_FALSE(CommandIcon(QString::fromLatin1(Row.Component)).pixmap(16, 16).isNull());
    }
}

TEST_F(IconsTest, FallsBackToOwnPictureWithoutThemeIcon) {
    const QImage Own = Render(QIcon(ResourcePath(QStringLiteral("TlBtnNew"))), 16);
    ASSERT_FALSE(Own.isNull());
    EXPECT_EQ(Render(CommandIcon(QStringLiteral("TlBtnNew"), "zp-no-such-theme-icon"), 16), Own);
    EXPECT_EQ(Render(CommandIcon(QStringLiteral("TlBtnNew"), ""), 16), Own);
    EXPECT_EQ(Render(CommandIcon(QStringLiteral("TlBtnNew")), 16), Own);
    // Neither source: an empty icon, so a caller can tell and leave the button text-only.
    EXPECT_TRUE(CommandIcon(QStringLiteral("NoSuchCommand"), "zp-no-such-theme-icon").isNull());
    EXPECT_TRUE(CommandIcon(QString()).isNull());
}

// A one-icon desktop theme in a temporary folder, active while the object lives.
class TFakeTheme {
public:
    TFakeTheme() : FOldName(QIcon::themeName()), FOldPaths(QIcon::themeSearchPaths()) {
        QDir Root(FDir.path());
        Root.mkpath(QStringLiteral("zptheme/16x16/actions"));
        QFile Index(Root.filePath(QStringLiteral("zptheme/index.theme")));
        if (Index.open(QIODevice::WriteOnly))
            Index.write("[Icon Theme]\nName=zptheme\nDirectories=16x16/actions\n\n"
                        "[16x16/actions]\nSize=16\nType=Fixed\n");
        QImage Image(16, 16, QImage::Format_ARGB32);
        Image.fill(Colour);
        Image.save(Root.filePath(QStringLiteral("zptheme/16x16/actions/zp-test-icon.png")));
        QIcon::setThemeSearchPaths({FDir.path()});
        QIcon::setThemeName(QStringLiteral("zptheme"));
    }
    ~TFakeTheme() {
        QIcon::setThemeSearchPaths(FOldPaths);
        QIcon::setThemeName(FOldName);
    }
    TFakeTheme(const TFakeTheme&) = delete;
    TFakeTheme& operator=(const TFakeTheme&) = delete;

    static constexpr QRgb Colour = 0xFFFF00FF;

private:
    QTemporaryDir FDir;
    QString FOldName;
    QStringList FOldPaths;
};

TEST_F(IconsTest, PrefersTheDesktopThemesIcon) {
    TFakeTheme Theme;
    ASSERT_TRUE(QIcon::hasThemeIcon(QStringLiteral("zp-test-icon")));
    const QImage FromTheme = Render(CommandIcon(QStringLiteral("TlBtnNew"), "zp-test-icon"), 16);
    ASSERT_FALSE(FromTheme.isNull());
    EXPECT_EQ(FromTheme.pixel(8, 8), TFakeTheme::Colour);
    EXPECT_EQ(FromTheme.pixel(0, 0), TFakeTheme::Colour);
    // A command without a drawing of its own still gets the theme's.
    EXPECT_EQ(Render(CommandIcon(QStringLiteral("NoSuchCommand"), "zp-test-icon"), 16).pixel(8, 8),
              TFakeTheme::Colour);
    // The theme lacks this name, so our drawing shows instead of the theme's.
    EXPECT_EQ(Render(CommandIcon(QStringLiteral("TlBtnNew"), "zp-other-icon"), 16),
              Render(QIcon(ResourcePath(QStringLiteral("TlBtnNew"))), 16));
}

// Every picture at its real size and enlarged four times without smoothing, on the light and
// the dark side, for a person to judge at a glance.
TEST_F(IconsTest, WritesContactSheet) {
    constexpr int Zoom = 4, Columns = 5, CellW = 150, CellH = 24 * Zoom + 26;
    const int Count = int(std::size(Pictures));
    const int Rows = (Count + Columns - 1) / Columns;
    QImage Sheet(Columns * CellW, Rows * CellH, QImage::Format_ARGB32);
    Sheet.fill(QColor(0xEF, 0xEF, 0xEF));
    QPainter Painter(&Sheet);
    QFont Font(QStringLiteral("Liberation Sans"));
    Font.setPixelSize(10);
    Painter.setFont(Font);
    for (int I = 0; I < Count; ++I) {
        const TPicture& P = Pictures[I];
        const QImage Image = Render(QIcon(ResourcePath(QString::fromLatin1(P.Name))), P.Size);
        ASSERT_FALSE(Image.isNull()) << P.Name;
        const int X = (I % Columns) * CellW + 4, Y = (I / Columns) * CellH + 4;
        Painter.drawImage(X, Y, Image);
        Painter.fillRect(X - 2, Y + 28, 28, 28, QColor(0x31, 0x36, 0x3B));
        Painter.drawImage(X, Y + 30, Image);
        Painter.fillRect(X + 30, Y, P.Size * Zoom, P.Size * Zoom, Qt::white);
        Painter.drawImage(X + 30, Y, Image.scaled(P.Size * Zoom, P.Size * Zoom));
        Painter.setPen(Qt::black);
        Painter.drawText(X, Y + std::max(P.Size * Zoom, 58) + 12, QString::fromLatin1(P.Name));
    }
    Painter.end();
    EXPECT_TRUE(Sheet.save(QStringLiteral(ZP_ARTIFACT_DIR "/icons.png")));
}

} // namespace
} // namespace zp
