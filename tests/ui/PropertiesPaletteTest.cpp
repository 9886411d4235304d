// The properties palette through its real widgets: the pages of each mode, loading a selected
// layer's style without applying it, every control reaching the selection with undo and redo,
// the field checks, typing bursts, and the tool fields the drawing tools read.
#include "support/EditingFixture.h"

#include "files/PictureFiles.h"
#include "layers/Line.h"
#include "layers/PicLayer.h"
#include "layers/Polygon.h"
#include "layers/TextLayer.h"
#include "shell/Settings.h"
#include "ui/ColorSwatch.h"
#include "ui/FontCombo.h"
#include "ui/LangCaptions.h"
#include "ui/LayersPalette.h"
#include "ui/Paintbox.h"
#include "ui/PropertiesPalette.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

namespace zp {
namespace {

struct TPropsFixture : TEditingFixture {
    TfrmFontProp& P = *Window->PropertiesPalette();
    TPropsFixture() {
        P.show();
        Window->LayersPalette()->show();
        QApplication::processEvents();
    }
    // The sample's layers: rectangle, ellipse, polygon, line, text (bottom to top).
    TPositionedLayer* Layer(int Index) const {
        return dynamic_cast<TPositionedLayer*>(Layers().Items(Index));
    }
    TTextLayer* Text() const { return dynamic_cast<TTextLayer*>(Layer(4)); }
    T2DFiguren* Rect() const { return dynamic_cast<T2DFiguren*>(Layer(0)); }
    // Selected as a user does: a click on its panel in the layers palette.
    void Select(TCustomLayer* L) {
        TLayerPanel* Panel = Window->LayersPalette()->PanelOf(L);
        ASSERT_TRUE(Panel);
        QTest::mouseClick(Panel, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        ASSERT_EQ(Doc->Selection(), L);
    }
    // A click on the box of a check box.
    static void Tick(QCheckBox* Box) {
        QTest::mouseClick(Box, Qt::LeftButton, Qt::NoModifier, QPoint(6, Box->height() / 2));
    }
    void Tool(TPaintTool T) { Window->Paintbox()->Button(T)->click(); }
    QStringList Tabs() const {
        QStringList T;
        for (int I = 0; I < P.Pages()->count(); ++I) T << P.Pages()->tabText(I);
        return T;
    }
    // Into the palette, as after a click on the field.
    static void Focus(QWidget* E) {
        QApplication::setActiveWindow(E->window());
        E->setFocus();
    }
    void Type(QLineEdit* E, const QString& Text) {
        Focus(E);
        E->selectAll();
        QTest::keyClick(E, Qt::Key_Backspace);
        QTest::keyClicks(E, Text);
    }
    // Typed over the selected text, as a user replaces a value.
    void Replace(QLineEdit* E, const QString& Text) {
        Focus(E);
        E->selectAll();
        QTest::keyClicks(E, Text);
    }
    void Choose(QComboBox* Box, int Index) {
        Box->showPopup();
        QAbstractItemView* V = Box->view();
        V->setCurrentIndex(Box->model()->index(Index, 0));
        QTest::keyClick(V, Qt::Key_Return);
    }
    const T2DLayerStyle& Style() const { return dynamic_cast<TStyledLayer*>(Doc->Selection())->LayerStyle(); }
    std::vector<TColor32> Pixels() const {
        const TBitmap32& B = dynamic_cast<TBitmapLayer*>(Doc->Selection())->Bitmap();
        return {B.Bits(), B.Bits() + static_cast<std::ptrdiff_t>(B.Width()) * B.Height()};
    }
    // One edit: the style field changes, the layer is drawn anew, one undo entry; "Rückgängig"
    // takes it back and the palette shows the old value again; "Wiederherstellen" repeats it.
    void ExpectUndoable(const char* What, const std::function<void()>& Act,
                        const std::function<QString()>& Value, const std::function<QString()>& Shown,
                        bool Repaints = true) {
        SCOPED_TRACE(What);
        const QString Before = Value(), ShownBefore = Shown();
        const auto PixelsBefore = Pixels();
        const int Records = Doc->UndoCount();
        Act();
        const QString After = Value();
        EXPECT_NE(After, Before);
        EXPECT_EQ(Doc->UndoCount(), Records + 1);
        if (Repaints) {
            EXPECT_NE(Pixels(), PixelsBefore);
        }
        Window->Action("mnUndo")->trigger();
        EXPECT_EQ(Value(), Before);
        EXPECT_EQ(Shown(), ShownBefore);
        Window->Action("mnRedo")->trigger();
        EXPECT_EQ(Value(), After);
        EXPECT_NE(Shown(), ShownBefore);
    }
};

QString Num(int V) {
    return QString::number(V);
}

// The pages of every mode, chosen by the selection and by the drawing tools.
TEST_F(TPropsFixture, PagesFollowTheSelectionAndTheTools) {
    // The mode a new palette starts in.
    Window->Model().Palettes.SetPropertiesMode(enableDefault);
    EXPECT_EQ(Tabs(), (QStringList{"Schrift", "Rahmen", "Schatten"}));
    EXPECT_FALSE(P.Pages()->isTabEnabled(0));
    EXPECT_TRUE(P.EditText()->isVisible());
    EXPECT_FALSE(P.EditText()->isEnabled());
    // A line selected with the pointer tool changes no mode.
    Select(Layer(3));
    EXPECT_EQ(Tabs(), (QStringList{"Schrift", "Rahmen", "Schatten"}));

    Select(Text());
    EXPECT_EQ(Tabs(), (QStringList{"Schrift", "Rahmen", "Muster", "Schatten"}));
    EXPECT_TRUE(P.Pages()->isTabEnabled(0));
    EXPECT_TRUE(P.EditText()->isEnabled());
    EXPECT_EQ(P.Pages()->currentWidget(), P.Page("TabSheetFont"));

    Tool(ptPaintPolygon);
    EXPECT_EQ(Tabs(), (QStringList{"Polygon", "Rahmen", "Muster", "Schatten"}));
    EXPECT_EQ(P.Pages()->currentIndex(), 0);
    EXPECT_FALSE(P.EditText()->isVisible());
    Tool(ptPaintLine);
    EXPECT_EQ(Tabs(), (QStringList{"Linie", "Rahmen", "Muster", "Schatten"}));
    Tool(ptPaintRectangle);
    EXPECT_EQ(Tabs(), (QStringList{"Rahmen", "Muster", "Schatten"}));
    Tool(ptPaintEllipse);
    EXPECT_EQ(Tabs(), (QStringList{"Rahmen", "Muster", "Schatten"}));

    // A figure selected while its own tool is down.
    Tool(ptZeiger);
    Tool(ptPaintPolygon);
    Tool(ptZeiger);
    Select(Layer(2));
    EXPECT_EQ(Tabs().value(0), QStringLiteral("Polygon"));

    // A picture layer, inserted with "Bild einfügen".
    const QString Png = QDir::temp().filePath(QStringLiteral("zp-props-picture.png"));
    TBitmap32 B;
    B.SetSize(20, 10);
    B.Clear(0xFF00FF00);
    SaveAsPNG(Png, &B);
    Dialogs.FileNames.push_back(Png);
    Window->Action("mnPicLayer")->trigger();
    ASSERT_TRUE(dynamic_cast<TPicLayer*>(Doc->Selection()));
    EXPECT_EQ(Tabs(), (QStringList{"Rahmen", "Schatten"}));
    // Its outline and shadow come from the palette like a figure's.
    Tick(P.CheckBoxShadow());
    ExpectUndoable(
        "picture outline", [&] { Tick(P.CheckBoxBorder()); }, [&] { return Num(Style().Outline()); },
        [&] { return Num(P.CheckBoxBorder()->isChecked()); });
    EXPECT_EQ(Style().Shadow(), P.CheckBoxShadow()->isChecked());
    QFile::remove(Png);
}

// Selecting loads a style into the controls without applying anything; a figure after a text
// keeps the font controls; a layer without outline shows the outline defaults.
TEST_F(TPropsFixture, SelectingLoadsWithoutApplying) {
    Select(Text());
    EXPECT_EQ(P.EditText()->text(), QStringLiteral("Zelk-Pixaro"));
    EXPECT_EQ(P.FontSize()->currentText(), QStringLiteral("40"));
    EXPECT_TRUE(P.TlbtnBold()->isChecked());
    EXPECT_FALSE(P.TlbtnItalic()->isChecked());
    EXPECT_EQ(P.ShpColor()->Color(), WinColor(0xFF8030C0));
    EXPECT_TRUE(P.CheckBoxBorder()->isChecked());
    EXPECT_EQ(P.ShpBorderColor()->Color(), WinColor(0xFFFFFFFF));
    EXPECT_TRUE(P.CheckBoxShadow()->isChecked());
    EXPECT_EQ(P.LblBorderPercent()->text(), QStringLiteral("100"));

    // The rectangle loses its outline and gets a half-opaque shadow by the palette; then it is
    // selected again from elsewhere.
    Select(Rect());
    EXPECT_EQ(P.EditText()->text(), QStringLiteral("Zelk-Pixaro"));
    EXPECT_EQ(P.FontSize()->currentText(), QStringLiteral("40"));
    Tick(P.CheckBoxBorder());
    ASSERT_FALSE(Rect()->LayerStyle().Outline());
    P.GbarShadowTransparenz()->setValue(128);
    ASSERT_EQ(Rect()->LayerStyle().ShadowAlpha(), 128);
    Select(Layer(1));
    const int Records = Doc->UndoCount();
    Select(Rect());
    EXPECT_EQ(Doc->UndoCount(), Records);
    EXPECT_FALSE(P.CheckBoxBorder()->isChecked());
    EXPECT_EQ(P.ComboBoxBorderWidth()->currentText(), QStringLiteral("2"));
    EXPECT_EQ(P.ShpBorderColor()->Color(), 0x00FFFF);
    EXPECT_EQ(P.GbarBorderTransparenz()->value(), 255);
    EXPECT_FALSE(P.ComboBoxBorderWidth()->isEnabled());
    EXPECT_EQ(P.GbarShadowTransparenz()->value(), 128);
    EXPECT_EQ(P.LblShadowPercent()->text(), QStringLiteral("50"));
    EXPECT_FALSE(Rect()->LayerStyle().Outline());
}

// Every control of the text pages reaches the selected text layer, repaints it, and undo and
// redo take it back and forth, the palette showing the value each time.
TEST_F(TPropsFixture, EveryControlReachesTheTextWithUndoAndRedo) {
    Select(Text());
    const auto& F = [this]() -> const TFontLayerStyle& { return Text()->FontLayerStyle(); };
    ExpectUndoable(
        "size", [&] { Type(P.FontSize()->lineEdit(), QStringLiteral("24")); },
        [&] { return Num(F().FontSize()); }, [&] { return P.FontSize()->currentText(); });
    for (QToolButton* B : {P.TlbtnBold(), P.TlbtnItalic(), P.TlbtnUnderline(), P.TlbtnStrikeOut()})
        ExpectUndoable(
            "style button", [&] { QTest::mouseClick(B, Qt::LeftButton); },
            [&] { return Num(F().FontStyle()); }, [&] { return Num(B->isChecked()); });
    ExpectUndoable(
        "font", [&] { Choose(P.CmbBxFont(), P.CmbBxFont()->findText(QStringLiteral("Liberation Serif"))); },
        [&] { return F().FontName(); }, [&] { return P.CmbBxFont()->FontName(); });
    Dialogs.Colors.push_back(0x00FF00);
    ExpectUndoable(
        "text colour", [&] { QTest::mouseClick(P.ShpColor(), Qt::LeftButton); },
        [&] { return Num(static_cast<int>(F().FillColor())); }, [&] { return Num(P.ShpColor()->Color()); });
    ExpectUndoable(
        "outline", [&] { Tick(P.CheckBoxBorder()); }, [&] { return Num(F().Outline()); },
        [&] { return Num(P.CheckBoxBorder()->isChecked()); });
    Tick(P.CheckBoxBorder());
    ASSERT_TRUE(F().Outline());
    ExpectUndoable(
        "width", [&] { Type(P.ComboBoxBorderWidth()->lineEdit(), QStringLiteral("6")); },
        [&] { return Num(F().OutlineSize()); }, [&] { return P.ComboBoxBorderWidth()->currentText(); });
    Dialogs.Colors.push_back(0x0000FF);
    ExpectUndoable(
        "outline colour", [&] { QTest::mouseClick(P.ShpBorderColor(), Qt::LeftButton); },
        [&] { return Num(static_cast<int>(F().OutlineColor())); },
        [&] { return Num(P.ShpBorderColor()->Color()); });
    ExpectUndoable(
        "dash", [&] { Choose(P.ImgCmbDashStyle(), 2); }, [&] { return Num(F().OutlineDashStyle()); },
        [&] { return Num(P.ImgCmbDashStyle()->currentIndex()); });
    ExpectUndoable(
        "outline opacity", [&] { QTest::keyClick(P.GbarBorderTransparenz(), Qt::Key_PageDown); },
        [&] { return Num(F().OutlineAlpha()); }, [&] { return P.LblBorderPercent()->text(); });
    ExpectUndoable(
        "horizontal shift", [&] { Replace(P.EdtXShift(), QStringLiteral("9")); },
        [&] { return Num(F().ShadowXShift()); }, [&] { return P.EdtXShift()->text(); });
    ExpectUndoable(
        "vertical shift by gauge", [&] { QTest::keyClick(P.GbYShift(), Qt::Key_End); },
        [&] { return Num(F().ShadowYShift()); }, [&] { return P.EdtYShift()->text(); });
    Dialogs.Colors.push_back(0xFF0000);
    ExpectUndoable(
        "shadow colour", [&] { QTest::mouseClick(P.ShpShadowColor(), Qt::LeftButton); },
        [&] { return Num(static_cast<int>(F().ShadowColor())); },
        [&] { return Num(P.ShpShadowColor()->Color()); });
    ExpectUndoable(
        "shadow opacity", [&] { QTest::keyClick(P.GbarShadowTransparenz(), Qt::Key_Home); },
        [&] { return Num(F().ShadowAlpha()); }, [&] { return P.LblShadowPercent()->text(); });
    ExpectUndoable(
        "shadow", [&] { Tick(P.CheckBoxShadow()); }, [&] { return Num(F().Shadow()); },
        [&] { return Num(P.CheckBoxShadow()->isChecked()); });
    // The first hatch style is a hatch like any other.
    ExpectUndoable(
        "hatch", [&] { Choose(P.ImgCmbPattern(), 0); },
        [&] { return Num(F().FillPattern()) + Num(F().NoOfHatchBrush()); },
        [&] { return Num(P.ChkPattern()->isChecked()); });
    ExpectUndoable(
        "text", [&] { Type(P.EditText(), QStringLiteral("Neu")); }, [&] { return F().Text(); },
        [&] { return P.EditText()->text(); });
}

// Figures take outline, shadow and every fill kind; a pattern picture enables the wrap modes;
// "Muster" off removes the pattern; a dragged gauge is one undo entry.
TEST_F(TPropsFixture, FiguresTakePatternsAndBursts) {
    Select(Rect());
    const auto& S = [this]() -> const T2DLayerStyle& { return Rect()->LayerStyle(); };
    ExpectUndoable(
        "hatch", [&] { Choose(P.ImgCmbPattern(), 0); },
        [&] { return Num(S().FillPattern()) + Num(S().NoOfHatchBrush()); },
        [&] { return Num(P.ImgCmbPattern()->currentIndex()); });
    EXPECT_EQ(S().HatchBrushBackColor(), Color32(Window->Paintbox()->Color1()) | 0xFF000000u);
    ExpectUndoable(
        "no pattern", [&] { Tick(P.ChkPattern()); }, [&] { return Num(S().FillPattern()); },
        [&] { return Num(P.ChkPattern()->isChecked()); });

    const QString Png = QDir::temp().filePath(QStringLiteral("zp-props-pattern.png"));
    TBitmap32 B;
    B.SetSize(4, 4);
    B.Clear(0xFFFF0000);
    B.SetPixel(0, 0, 0xFF0000FF);
    SaveAsPNG(Png, &B);
    EXPECT_FALSE(P.CmbPatternWrapMode()->isEnabled());
    Dialogs.FileNames.push_back(Png);
    ExpectUndoable(
        "pattern picture", [&] { QTest::mouseClick(P.BtnLoadPattern(), Qt::LeftButton); },
        [&] { return Num(S().FillImage()); }, [&] { return Num(P.CmbPatternWrapMode()->isEnabled()); });
    EXPECT_EQ(S().FillPatternBitmap()->Width(), 4);
    EXPECT_EQ(P.ImgCmbPattern()->currentIndex(), -1);
    ExpectUndoable(
        "wrap mode", [&] { Choose(P.CmbPatternWrapMode(), 4); },
        [&] { return Num(S().FillPatternWrapMode()); },
        [&] { return Num(P.CmbPatternWrapMode()->currentIndex()); }, false);
    // A picture that cannot be read says so and changes nothing.
    Dialogs.FileNames.push_back(QDir::temp().filePath(QStringLiteral("zp-no-such-pattern.png")));
    const int Records = Doc->UndoCount();
    QTest::mouseClick(P.BtnLoadPattern(), Qt::LeftButton);
    EXPECT_EQ(Doc->UndoCount(), Records);
    ASSERT_FALSE(Dialogs.Shown.empty());
    EXPECT_EQ(Dialogs.Shown.back().Icon, TMsgIcon::Error);
    QFile::remove(Png);

    // Ten steps of a gauge in a row are one entry; undo goes back to before the first.
    const int Alpha = S().ShadowAlpha();
    for (int I = 0; I < 10; ++I) QTest::keyClick(P.GbarShadowTransparenz(), Qt::Key_Left);
    EXPECT_EQ(S().ShadowAlpha(), Alpha - 10);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    Window->Action("mnUndo")->trigger();
    EXPECT_EQ(S().ShadowAlpha(), Alpha);
}

// The numeric fields take digits only, Enter is swallowed, and values out of range give the
// width message or the documented corrections instead of reaching the layer.
TEST_F(TPropsFixture, FieldsAreChecked) {
    Select(Rect());
    QLineEdit* Width = P.ComboBoxBorderWidth()->lineEdit();
    Type(Width, QStringLiteral("x7;"));
    EXPECT_EQ(Width->text(), QStringLiteral("7"));
    EXPECT_EQ(Rect()->LayerStyle().OutlineSize(), 7);
    for (const char* Bad : {"0", "0"}) {
        Dialogs.Shown.clear();
        Type(Width, QString::fromLatin1(Bad));
        ASSERT_EQ(Dialogs.Shown.size(), 1u) << Bad;
        EXPECT_EQ(Dialogs.Shown.front().Caption, QStringLiteral("Ungültige Eingabe"));
        EXPECT_EQ(
            Dialogs.Shown.front().Text,
            QStringLiteral("Bitte geben Sie für die Umrandung eine Breite zwischen 1 und 99 Pixel ein."));
        EXPECT_EQ(Width->text(), QStringLiteral("2"));
        EXPECT_EQ(Rect()->LayerStyle().OutlineSize(), 2);
    }
    // An emptied field is checked when the typing ends.
    Dialogs.Shown.clear();
    Type(Width, QString());
    EXPECT_TRUE(Dialogs.Shown.empty());
    P.EdtXShift()->setFocus();
    EXPECT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Width->text(), QStringLiteral("2"));

    // Shift fields: a lone minus becomes 2; beyond the gauge the value still applies.
    Replace(P.EdtXShift(), QStringLiteral("-"));
    EXPECT_EQ(P.EdtXShift()->text(), QStringLiteral("2"));
    EXPECT_EQ(Rect()->LayerStyle().ShadowXShift(), 2);
    // Emptied, it is 2 at once: a new value is typed over the selected one.
    QTest::keyClick(P.EdtXShift(), Qt::Key_Backspace);
    EXPECT_EQ(P.EdtXShift()->text(), QStringLiteral("2"));
    Replace(P.EdtXShift(), QStringLiteral("80"));
    EXPECT_EQ(P.GbXShift()->value(), 50);
    EXPECT_EQ(P.EdtXShift()->text(), QStringLiteral("80"));
    EXPECT_EQ(Rect()->LayerStyle().ShadowXShift(), 80);
    // A minus only in front; letters never.
    P.EdtXShift()->end(false);
    QTest::keyClicks(P.EdtXShift(), QStringLiteral("-a"));
    EXPECT_EQ(P.EdtXShift()->text(), QStringLiteral("80"));
    P.EdtXShift()->home(false);
    QTest::keyClick(P.EdtXShift(), Qt::Key_Minus);
    EXPECT_EQ(Rect()->LayerStyle().ShadowXShift(), -80);

    // Size, line width and edge count: digits only, Enter changes nothing.
    Select(Text());
    Type(P.FontSize()->lineEdit(), QStringLiteral("1a2"));
    EXPECT_EQ(P.FontSize()->currentText(), QStringLiteral("12"));
    EXPECT_EQ(Text()->FontLayerStyle().FontSize(), 12);
    Type(P.FontSize()->lineEdit(), QStringLiteral("1234"));
    EXPECT_EQ(Text()->FontLayerStyle().FontSize(), 123);
    const int Records = Doc->UndoCount();
    QTest::keyClick(P.FontSize()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Doc->UndoCount(), Records);
    Tool(ptPaintLine);
    Type(P.EdtLineWidth(), QStringLiteral("-3b"));
    EXPECT_EQ(P.EdtLineWidth()->text(), QStringLiteral("3"));
    EXPECT_EQ(Window->Model().Palettes.State().LineWidth, QStringLiteral("3"));
}

// "Text einfügen" puts the caret in the text field; what is typed is the new layer's text,
// one undo entry for the burst.
TEST_F(TPropsFixture, NewTextIsTypedInOneBurst) {
    P.activateWindow();
    Window->Action("mnExtLayer")->trigger();
    TTextLayer* T = dynamic_cast<TTextLayer*>(Doc->Selection());
    ASSERT_TRUE(T);
    EXPECT_EQ(P.focusWidget(), P.EditText());
    const int Records = Doc->UndoCount();
    QTest::keyClicks(P.EditText(), QStringLiteral("Hallo"));
    EXPECT_EQ(T->FontLayerStyle().Text(), QStringLiteral("Hallo"));
    EXPECT_GT(T->Bitmap().Width(), 20);
    EXPECT_EQ(Doc->UndoCount(), Records + 1);
    Window->Action("mnUndo")->trigger();
    EXPECT_EQ(T->FontLayerStyle().Text(), QString());
    EXPECT_EQ(P.EditText()->text(), QString());
    Window->Action("mnRedo")->trigger();
    EXPECT_EQ(P.EditText()->text(), QStringLiteral("Hallo"));
}

// The line width and edge count set here are what the drawing tools draw with.
TEST_F(TPropsFixture, ToolFieldsDriveTheDrawingTools) {
    Tool(ptPaintLine);
    Type(P.EdtLineWidth(), QStringLiteral("7"));
    Drag(At(40, 250), At(140, 250));
    auto* Line = dynamic_cast<T2DLine*>(Doc->Selection());
    ASSERT_TRUE(Line);
    EXPECT_EQ(Line->LineWidth(), 7);
    // The line's coverage across its middle column: 7 pixels (the edges half covered).
    const TBitmap32& B = Line->Bitmap();
    int Sum = 0, Peak = 0;
    for (int Y = 0; Y < B.Height(); ++Y) {
        const int A = static_cast<int>(AlphaComponent(B.Pixel(B.Width() / 2, Y)));
        Sum += A;
        Peak = std::max(Peak, A);
    }
    ASSERT_GT(Peak, 0);
    EXPECT_EQ(Sum, 7 * Peak) << Window->Model().Palettes.State().Opacity;

    Tool(ptPaintPolygon);
    Type(P.EdtNumPolygonEdges(), QStringLiteral("8"));
    Drag(At(250, 150), At(300, 200));
    auto* Poly = dynamic_cast<T2DPolygon*>(Doc->Selection());
    ASSERT_TRUE(Poly);
    EXPECT_EQ(Poly->NumEdges(), 8);
}

// A sheet of the palette in each of its seven modes, for a person to look at; within each, no
// control reaches out of its page.
TEST_F(TPropsFixture, ScreenshotSheetOfTheModes) {
    Settings().SaveFormProps(TFormProps{pkTextForm, 30, 100, 196, 293, true});
    P.Adjust(Window.get());
    const QSize Size = P.size();
    QImage Sheet(Size.width() * 7, Size.height() * 6, QImage::Format_ARGB32);
    Sheet.fill(Qt::white);
    QPainter Painter(&Sheet);
    const TEnableType Modes[] = {enableDefault, enableText,      enablePolygon, enableLine,
                                 enableEllipse, enableRectangle, enablePicture};
    for (int M = 0; M < 7; ++M) {
        Window->Model().Palettes.SetPropertiesMode(Modes[M]);
        QApplication::processEvents();
        for (int T = 0; T < P.Pages()->count(); ++T) {
            P.Pages()->setCurrentIndex(T);
            QWidget* Page = P.Pages()->currentWidget();
            for (QWidget* C : Page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!C->isVisible()) continue;
                EXPECT_TRUE(Page->rect().contains(C->geometry()))
                    << M << " " << Page->objectName().toStdString() << " " << C->objectName().toStdString();
            }
            Painter.drawPixmap(M * Size.width(), T * Size.height(), P.grab());
        }
        // Every tab readable: the tab bar fits without scrolling.
        EXPECT_LE(P.Pages()->tabBar()->sizeHint().width(), P.Pages()->width()) << M;
    }
    Painter.end();
    const QString Out =
        QDir(QStringLiteral(ZP_ARTIFACT_DIR)).filePath(QStringLiteral("properties-palette-modes.png"));
    QDir().mkpath(QStringLiteral(ZP_ARTIFACT_DIR));
    EXPECT_TRUE(Sheet.save(Out));
}

// The captions and hints come from the language file by tag, also for pages a mode hides.
TEST_F(TPropsFixture, CaptionsComeFromTheLanguageFile) {
    const QString Name = Places.ProgramDir() + QStringLiteral("/lang.ini");
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    QString Text = QString::fromUtf8(F.readAll());
    F.close();
    for (auto [From, To] :
         {std::pair{"\n83=Schrift", "\n83=Schriftart"}, std::pair{"\n89=Umrandung", "\n89=Kontur"},
          std::pair{"\n84=Bold", "\n84=Fett"}, std::pair{"\n134=Polygon", "\n134=Vieleck"}})
        Text.replace(QString::fromLatin1(From), QString::fromLatin1(To));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    F.write(Text.toUtf8());
    F.close();
    Window->Model().Palettes.SetPropertiesMode(enableText);
    LoadCaptions(&P);
    EXPECT_EQ(Tabs().value(0), QStringLiteral("Schriftart"));
    EXPECT_EQ(P.CheckBoxBorder()->text(), QStringLiteral("Kontur"));
    EXPECT_EQ(P.TlbtnBold()->toolTip(), QStringLiteral("Fett"));
    Window->Model().Palettes.SetPropertiesMode(enablePolygon);
    EXPECT_EQ(Tabs().value(0), QStringLiteral("Vieleck"));
}

// "Fenster" -> "Eigenschaften" toggles the palette and its check picture; the settings keep it.
TEST_F(TPropsFixture, MenuTogglesAndPlacement) {
    Settings().SaveFormProps(TFormProps{pkTextForm, 2, 0, 330, 340, true});
    P.Adjust(Window.get());
    EXPECT_EQ(P.x(), Window->x() + Window->frameGeometry().width() - Window->width());
    EXPECT_EQ(P.y(), PaletteTopBelowToolBar(Window.get()));
    EXPECT_EQ(P.size(), QSize(330, 340));
    Window->Action("mnTextTool")->trigger();
    EXPECT_FALSE(P.isVisible());
    EXPECT_FALSE(RecreateSettings().TextFormVisible);
    Window->Model().ChangeMenuPic();
    EXPECT_TRUE(Window->Action("mnTextTool")->icon().isNull());
    Window->Action("mnTextTool")->trigger();
    EXPECT_TRUE(P.isVisible());
    EXPECT_TRUE(RecreateSettings().TextFormVisible);
    Window->Model().ChangeMenuPic();
    EXPECT_FALSE(Window->Action("mnTextTool")->icon().isNull());
}

} // namespace
} // namespace zp
