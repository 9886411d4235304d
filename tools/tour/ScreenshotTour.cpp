// The screenshot tour: opens every window, dialog, palette mode and menu of the program the way
// its commands open them, photographs each into OUT/NN-name.png and notes what looks wrong (cut
// texts, controls outside their window, English words). With --help-images DIR it also writes
// the pictures of the help page into DIR. Runs on the offscreen platform unless another is set.
// Ends with 1 when a window that a command should open did not come or would not close.
//
//   zelk-pixaro-tour OUT [--help-images DIR]
#include "Tour.h"

#include "layers/Rectangle.h"
#include "layers/TextLayer.h"
#include "shell/LangText.h"
#include "shell/Places.h"
#include "ui/Dialogs.h"
#include "ui/FontCombo.h"
#include "ui/HelpWindow.h"
#include "ui/LangCaptions.h"
#include "ui/LayersPalette.h"
#include "ui/MainWindow.h"
#include "ui/Paintbox.h"
#include "ui/PropertiesPalette.h"
#include "ui/QtDialogs.h"
#include "ui/TemplateBrowser.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QTreeWidget>

#include <cstdio>
#include <cstring>

namespace zp {
namespace {

// ---------------------------------------------------------------- sample files

TColor Rgb(unsigned R, unsigned G, unsigned B) {
    return WinColor(Color32(R, G, B));
}

// A banner project with its preview GIF beside it, as the template folders hold them.
void WriteBanner(TDocHost& Host, const QString& Base, int W, int H, TColor Back, TColor32 Box,
                 const QString& Text) {
    TDocForm Doc(Host);
    Doc.NewImage(W, H, Back);
    auto R = std::make_unique<T2DRectangle>(4, 4, H - 4, H - 4);
    R->LayerStyle().SetFillColor(Box);
    R->LayerStyle().SetLineColor(Box);
    R->Paint();
    Doc.InsertLayer(std::move(R));
    if (TTextLayer* T = Doc.NewTextLayer()) {
        T->FontLayerStyle().SetFontSize(std::max(8, H / 3));
        T->FontLayerStyle().SetFontBold(true);
        T->FontLayerStyle().SetFillColor(0xFF202020);
        Doc.SetLayerText(*T, Text);
        // The layer's picture is larger than its text; the text starts at StartPoint in it.
        Doc.MoveLayer(*T, static_cast<float>(H + 4 - T->StartPoint.X),
                      static_cast<float>(H / 5 - T->StartPoint.Y));
    }
    Doc.CreateNewFrame(2);
    Doc.SelectSaveMethod(Base + QStringLiteral(".dgm"), QStringLiteral(".dgm"));
    Doc.SetActivePage(Doc.TabSheetGif());
    if (Doc.CreateGifImgPreview()) Doc.SaveAnimGif(Base + QStringLiteral(".gif"));
}

// A picture for the picture templates and the file dialogs.
void WritePicture(const QString& File, QColor Color, bool Round) {
    QImage Image(96, 96, QImage::Format_ARGB32);
    Image.fill(Qt::transparent);
    QPainter P(&Image);
    P.setRenderHint(QPainter::Antialiasing);
    P.setBrush(Color);
    P.setPen(QPen(Color.darker(150), 3));
    if (Round)
        P.drawEllipse(QRectF(6, 6, 84, 84));
    else
        P.drawRoundedRect(QRectF(8, 8, 80, 80), 10, 10);
    P.end();
    Image.save(File);
}

TTextLayer* TextLayerOf(TDocForm& Doc) {
    TLayerCollection& Layers = Doc.CurrentView()->Layers();
    for (int I = Layers.Count() - 1; I >= 0; --I)
        if (auto* T = dynamic_cast<TTextLayer*>(Layers.Items(I))) return T;
    return nullptr;
}

QAction* MenuOf(TMainWindow& Window, const char* Component) {
    for (QAction* A : Window.menuBar()->actions())
        if (A->objectName() == QLatin1String(Component)) return A;
    return nullptr;
}

// ---------------------------------------------------------------- the tour

int RunTour(const QString& OutDir, const QString& HelpDir) {
    QTemporaryDir Root;
    const QString Program = Root.filePath(QStringLiteral("program"));
    const QString Files = Root.filePath(QStringLiteral("Bilder"));
    for (const QString& D : {Program + QStringLiteral("/help"), Program + QStringLiteral("/Vorlagen/Banner"),
                             Program + QStringLiteral("/Vorlagen/Buttons"),
                             Program + QStringLiteral("/Bildvorlagen/Formen"), Files})
        QDir().mkpath(D);
    QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"), Program + QStringLiteral("/lang.ini"));
    for (const QString& Name : QDir(QStringLiteral(ZP_RESOURCE_DIR "/help")).entryList(QDir::Files))
        QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/help/") + Name,
                    Program + QStringLiteral("/help/") + Name);
    SetProgramFolder(Program);
    SetAppDataFolder(Root.filePath(QStringLiteral("config/Zelk-Pixaro")));
    SetCommandLine({});
    // The file dialogs start here.
    QDir::setCurrent(Files);

    TTour Tour(OutDir, HelpDir);
    {
        TSplash Splash;
        Splash.show();
        Tour.Shot(QStringLiteral("splash"), {&Splash});
    }

    TMainWindow Window(true);
    Window.Model().StartupHandled = true;
    // As on a desktop without a browser: the help shows in the program's own window.
    Window.QtDialogs()->OpenUrl = [](const QUrl&) { return false; };
    LoadCaptions();
    Window.show();
    Window.setWindowState(Qt::WindowNoState);
    Window.setGeometry(0, CaptionHeight, ScreenWidth, ScreenHeight - CaptionHeight);
    Settle(300);
    Window.Model().FormActivate();
    TMainForm& Model = Window.Model();

    // Templates, pictures and recently used projects for the browsers and menus to show.
    WriteBanner(Model, Program + QStringLiteral("/Vorlagen/Banner/Sommer"), 468, 60, Rgb(255, 236, 160),
                0xFFE07020, QStringLiteral("Sommerschlussverkauf"));
    WriteBanner(Model, Program + QStringLiteral("/Vorlagen/Banner/Winter"), 468, 60, Rgb(210, 230, 255),
                0xFF3060C0, QStringLiteral("Winterangebote"));
    WriteBanner(Model, Program + QStringLiteral("/Vorlagen/Buttons/Kaufen"), 120, 60, Rgb(200, 240, 200),
                0xFF30A040, QStringLiteral("Kaufen"));
    WriteBanner(Model, Files + QStringLiteral("/Neuheiten"), 234, 60, Rgb(250, 220, 230), 0xFFC03060,
                QStringLiteral("Neuheiten"));
    WritePicture(Program + QStringLiteral("/Bildvorlagen/Formen/Kreis.png"), QColor(0xe9, 0x4e, 0x3c), true);
    WritePicture(Program + QStringLiteral("/Bildvorlagen/Formen/Quadrat.png"), QColor(0x4f, 0x9d, 0xd9),
                 false);
    WritePicture(Program + QStringLiteral("/Bildvorlagen/Formen/Sonne.png"), QColor(0xf5, 0xa6, 0x23), true);
    WritePicture(Files + QStringLiteral("/Logo.png"), QColor(0x7e, 0xd3, 0x21), false);
    for (const QString& Name :
         {QStringLiteral("/Vorlagen/Banner/Sommer.dgm"), QStringLiteral("/Vorlagen/Banner/Winter.dgm")})
        Model.History.WriteFileToHistory(Program + Name, 10);
    Model.History.WriteFileToHistory(Files + QStringLiteral("/Neuheiten.dgm"), 10);

    Tour.Modal({{QStringLiteral("startwahl"), {}, {}, QStringLiteral("dialog-start.png")}},
               [&] { Model.ShowStartChoice(LangText(QStringLiteral("Caption01"))); });
    Tour.Shot(QStringLiteral("hauptfenster-leer"), {&Window});

    // "Neu": the start choice, then the new-image dialog.
    Tour.Modal(
        {{QStringLiteral("startwahl-neu"), {}, [](QWidget* W) { static_cast<QDialog*>(W)->accept(); }, {}},
         {QStringLiteral("neues-bild"), {}, {}, QStringLiteral("dialog-neues-bild.png")}},
        [&] { Model.Execute(TCmd::FileNew); });

    // The sample document with a second frame; the text layer selected.
    TDocForm& Doc = Model.NewSampleDocument();
    // The sample's text outline has no width yet; one a user would give it.
    if (TTextLayer* T = TextLayerOf(Doc)) {
        T->FontLayerStyle().SetOutlineSize(2);
        Doc.SetLayerText(*T, QStringLiteral("Zelk-Pixaro"));
    }
    Doc.CreateNewFrame(1);
    if (TTextLayer* T = TextLayerOf(Doc)) Doc.MoveLayer(*T, T->Location().Left + 40, T->Location().Top - 100);
    Doc.SetActivePage(Doc.Frame1());
    Doc.ClearUndo();
    if (TTextLayer* T = TextLayerOf(Doc)) Doc.SelectLayer(T);
    Settle(200);
    Tour.Shot(QStringLiteral("hauptfenster"),
              {&Window, Window.Paintbox(), Window.LayersPalette(), Window.PropertiesPalette()},
              QStringLiteral("hauptfenster.png"));
    {
        QList<QWidget*> Apart{Window.Paintbox(), Window.LayersPalette(), Window.PropertiesPalette()};
        for (QMdiSubWindow* Sub : Window.MdiArea()->subWindowList()) Apart << Sub;
        Tour.CheckApart(QStringLiteral("hauptfenster"), Apart);
    }

    // Every menu, and each submenu.
    struct TMenuShot {
        const char* Name;
        const char* Menu;
        const char* Sub;
        const char* Help;
    };
    for (const TMenuShot& M : {TMenuShot{"menue-datei", "mnFile", nullptr, "menue-datei.png"},
                               TMenuShot{"menue-datei-zuletzt", "mnFile", "mnLastUsed", nullptr},
                               TMenuShot{"menue-bearbeiten", "mnArrange", nullptr, nullptr},
                               TMenuShot{"menue-bearbeiten-drehen", "mnArrange", "Drehen1", nullptr},
                               TMenuShot{"menue-bearbeiten-spiegeln", "mnArrange", "Spiegeln1", nullptr},
                               TMenuShot{"menue-bild", "mnuPicture", nullptr, nullptr},
                               TMenuShot{"menue-ebene", "mnLayers", nullptr, nullptr},
                               TMenuShot{"menue-ebene-neu", "mnLayers", "Neu2", nullptr},
                               TMenuShot{"menue-frames", "Frames1", nullptr, nullptr},
                               TMenuShot{"menue-effects", "mnEffects", nullptr, nullptr},
                               TMenuShot{"menue-fenster", "Ansicht1", nullptr, nullptr},
                               TMenuShot{"menue-fenster-arbeitsbereich", "Ansicht1", "mnWorkspace", nullptr},
                               TMenuShot{"menue-gif", "Gif1", nullptr, nullptr},
                               TMenuShot{"menue-hilfe", "Hilfe1", nullptr, nullptr}}) {
        QAction* Top = MenuOf(Window, M.Menu);
        if (!Top) {
            Tour.Broken(QString::fromLatin1(M.Name), QStringLiteral("das Menü fehlt"));
            continue;
        }
        Tour.MenuShot(QString::fromLatin1(M.Name), Window, Top,
                      M.Sub ? Window.Action(QString::fromLatin1(M.Sub)) : nullptr,
                      M.Help ? QString::fromLatin1(M.Help) : QString());
    }

    // The palettes.
    TfrmPaintbox& Paintbox = *Window.Paintbox();
    TfrmLayers& Layers = *Window.LayersPalette();
    TfrmFontProp& Props = *Window.PropertiesPalette();
    Tour.Shot(QStringLiteral("palette-werkzeuge"), {&Paintbox}, QStringLiteral("palette-werkzeuge.png"), 4);
    Layers.Pages()->setCurrentIndex(0);
    Tour.Shot(QStringLiteral("palette-ebenen"), {&Layers}, QStringLiteral("palette-ebenen.png"));
    Layers.Pages()->setCurrentIndex(1);
    Tour.Shot(QStringLiteral("palette-gif-einstellungen"), {&Layers}, QStringLiteral("palette-gif.png"));
    Layers.Pages()->setCurrentIndex(0);
    if (TLayerPanel* Panel = Layers.PanelOf(Doc.Selection())) {
        Layers.PopupMenu()->popup(Panel->mapToGlobal(QPoint(60, 20)));
        Settle();
        Tour.Shot(QStringLiteral("palette-ebenen-kontextmenue"), {&Layers, Layers.PopupMenu()});
        Layers.PopupMenu()->hide();
    }

    // The properties palette in each of its seven modes, every page of a mode side by side.
    const std::pair<TEnableType, const char*> Modes[] = {
        {enableDefault, "ohne-auswahl"}, {enableText, "text"},       {enablePolygon, "polygon"},
        {enableLine, "linie"},           {enableEllipse, "ellipse"}, {enableRectangle, "rechteck"},
        {enablePicture, "bild"}};
    for (const auto& [Mode, ModeName] : Modes) {
        Model.Palettes.SetPropertiesMode(Mode);
        Settle();
        QList<QImage> Pages;
        for (int I = 0; I < Props.Pages()->count(); ++I) {
            Props.Pages()->setCurrentIndex(I);
            Settle(30);
            Pages << Tour.Scene({&Props});
            Tour.Inspect(QStringLiteral("eigenschaften-%1").arg(QString::fromLatin1(ModeName)), &Props);
        }
        const QString Name = QStringLiteral("eigenschaften-%1").arg(QString::fromLatin1(ModeName));
        Tour.Save(Name, SideBySide(Pages));
        // The help shows the text's first two pages, at a size a page has room for.
        if (Mode == enableText)
            Tour.SaveHelp(Name, SideBySide(Pages.mid(0, 2)), QStringLiteral("palette-eigenschaften.png"));
        Props.Pages()->setCurrentIndex(0);
    }
    Model.UpdatePropertiesMode();
    // The font list with the sample beside it, and the pattern list.
    Model.Palettes.SetPropertiesMode(enableText);
    Settle();
    Props.CmbBxFont()->showPopup();
    Settle(150);
    Tour.Shot(QStringLiteral("eigenschaften-schriftliste"),
              {&Props, Props.CmbBxFont()->view()->window(), Props.CmbBxFont()->Preview()});
    Props.CmbBxFont()->hidePopup();
    Props.Pages()->setCurrentWidget(Props.Page("TabSheetPattern"));
    Props.ImgCmbPattern()->showPopup();
    Settle(150);
    Tour.Shot(QStringLiteral("eigenschaften-musterliste"), {&Props, Props.ImgCmbPattern()->view()->window()});
    Props.ImgCmbPattern()->hidePopup();
    Props.Pages()->setCurrentIndex(0);

    // The dialogs of the commands, each opened by its command.
    Tour.Modal({{QStringLiteral("neuer-frame"), {}, {}, QStringLiteral("dialog-neuer-frame.png")}},
               [&] { Model.Execute(TCmd::NewFrame); });
    Tour.Modal({{QStringLiteral("drehen-winkel"),
                 [](QWidget* W) {
                     if (auto* D = qobject_cast<TfrmAngel*>(W)) D->Edit()->setText(QStringLiteral("45"));
                 },
                 {},
                 {}}},
               [&] { Model.Execute(TCmd::RotateAngel); });
    Tour.Modal({{QStringLiteral("motionblur"), {}, {}, {}}}, [&] { Model.Execute(TCmd::MotionBlur); });
    Tour.Modal({{QStringLiteral("info"), {}, {}, {}}}, [&] { Model.Execute(TCmd::Info); });
    const auto ChooseFolder = [](const char* Folder) {
        return [Folder](QWidget* W) {
            auto* T = qobject_cast<TfrmTemplate*>(W);
            if (!T) return;
            const auto Items =
                T->Tree()->findItems(QString::fromLatin1(Folder), Qt::MatchExactly | Qt::MatchRecursive);
            if (!Items.isEmpty()) T->Tree()->setCurrentItem(Items.first());
        };
    };
    Tour.Modal(
        {{QStringLiteral("vorlagen-banner"), ChooseFolder("Banner"), {}, QStringLiteral("vorlagen.png")}},
        [&] { Model.Execute(TCmd::OpenTemplate); });
    Tour.Modal({{QStringLiteral("vorlagen-bilder"), ChooseFolder("Formen"), {}, {}}},
               [&] { Model.Execute(TCmd::PicFromTemplate); });
    Tour.Modal({{QStringLiteral("farbwahl"), {}, {}, {}}}, [&] {
        TColor C = Rgb(0x30, 0x70, 0xd0);
        UserDialogs().AskColor(C);
    });
    const auto ListFiles = [](QWidget*) { Settle(400); };
    Tour.Modal({{QStringLiteral("datei-oeffnen"), ListFiles, {}, {}}},
               [&] { Model.Execute(TCmd::OpenFile); });
    Tour.Modal({{QStringLiteral("bild-einfuegen"), ListFiles, {}, {}}},
               [&] { Model.Execute(TCmd::PicLayer); });
    // "Speichern unter..." onto an existing file: the replace question.
    Tour.Modal({{QStringLiteral("speichern-unter"),
                 ListFiles,
                 [&](QWidget* W) {
                     if (auto* D = qobject_cast<QFileDialog*>(W)) {
                         // Typed, as a user does: selectFile leaves a focused name field alone.
                         if (auto* Name = D->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                             Name->setText(QStringLiteral("Neuheiten.dgm"));
                         // QFileDialog's own accept, reached through its public base.
                         static_cast<QDialog*>(D)->accept();
                     }
                 },
                 {}},
                {QStringLiteral("datei-ersetzen"), {}, {}, {}}},
               [&] { Model.Execute(TCmd::SaveAs); });
    // "Gif exportieren/speichern": the preview page, then the save dialog.
    Tour.Modal({{QStringLiteral("gif-speichern"), ListFiles, {}, {}}},
               [&] { Model.Execute(TCmd::GifExport); });
    Layers.Pages()->setCurrentIndex(1);
    Settle(300);
    Tour.Shot(QStringLiteral("gif-vorschau"), {&Window, Window.LayersPalette()},
              QStringLiteral("gif-vorschau.png"));
    Layers.Pages()->setCurrentIndex(0);
    Doc.SetActivePage(Doc.Frame1());

    // The size dialogs of "Arbeitsfläche" and "Bildgröße" (closed without a change).
    Tour.Modal({{QStringLiteral("arbeitsflaeche"), {}, {}, {}}}, [&] { Model.Execute(TCmd::WorkingArea); });
    Tour.Modal({{QStringLiteral("bildgroesse"), {}, {}, {}}}, [&] { Model.Execute(TCmd::PictureSize); });

    // Messages.
    Doc.SetNumLoops(3);
    Tour.Modal({{QStringLiteral("frage-aenderungen-speichern"), {}, {}, {}}},
               [&] { Model.Execute(TCmd::Close); });

    // The help: in the program's own window, and the message when it is missing.
    Model.Execute(TCmd::Help);
    if (THelpWindow* Help = Window.QtDialogs()->HelpWindow()) {
        Settle(300);
        // The palettes stay on top of it; the picture shows the window itself.
        Tour.Shot(QStringLiteral("hilfe"), {Help}, QString(), 0, true);
        Help->close();
    } else {
        Tour.Broken(QStringLiteral("hilfe"), QStringLiteral("das Hilfefenster ist nicht erschienen"));
    }
    QDir(Program).rename(QStringLiteral("help"), QStringLiteral("help-weg"));
    Tour.Modal({{QStringLiteral("meldung-hilfe-fehlt"), {}, {}, {}}}, [&] { Model.Execute(TCmd::Help); });
    QDir(Program).rename(QStringLiteral("help-weg"), QStringLiteral("help"));

    Tour.WriteNotes();
    std::printf("%d Bilder in %s, %d Auffälligkeiten (notes.txt)\n", Tour.ShotCount(), qPrintable(OutDir),
                Tour.NoteCount());
    return Tour.BrokenCount() == 0 ? 0 : 1;
}

} // namespace
} // namespace zp

int main(int argc, char* argv[]) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QString Out, HelpDir;
    for (int I = 1; I < argc; ++I) {
        if (std::strcmp(argv[I], "--help-images") == 0 && I + 1 < argc)
            HelpDir = QString::fromLocal8Bit(argv[++I]);
        else
            Out = QString::fromLocal8Bit(argv[I]);
    }
    if (Out.isEmpty()) {
        std::fprintf(stderr, "Aufruf: zelk-pixaro-tour AUSGABEORDNER [--help-images HILFEORDNER]\n");
        return 2;
    }
    QDir().mkpath(Out);
    // A screen of a size people work on, unless a platform was chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const QString Config = QDir(Out).absoluteFilePath(QStringLiteral("screen.json"));
        QFile F(Config);
        if (F.open(QIODevice::WriteOnly | QIODevice::Truncate))
            F.write(QStringLiteral("{\"screens\": [{\"name\": \"tour\", \"x\": 0, \"y\": 0, \"width\": %1, "
                                   "\"height\": %2, \"logicalDpi\": 96}]}")
                        .arg(zp::ScreenWidth)
                        .arg(zp::ScreenHeight)
                        .toUtf8());
        F.close();
        qputenv("QT_QPA_PLATFORM", QStringLiteral("offscreen:configfile=%1").arg(Config).toLocal8Bit());
    }
    // A German desktop: Qt's dialogs show dates and sizes in the desktop's language.
    if (qEnvironmentVariableIsEmpty("LC_ALL")) qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelk-Pixaro"));
    QTranslator QtGerman;
    zp::UseGermanQt(QtGerman);
    return zp::RunTour(QDir(Out).absolutePath(),
                       HelpDir.isEmpty() ? QString() : QDir(HelpDir).absolutePath());
}
