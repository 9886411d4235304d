#include "ui/TemplateBrowser.h"

#include "document/UserDialogs.h"
#include "files/FileError.h"
#include "files/PictureFiles.h"
#include "shell/LangText.h"
#include "shell/Places.h"
#include "shell/Settings.h"
#include "shell/Version.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zp {

namespace {

// Names compared with their runs of digits as numbers.
bool NaturalLess(const QString& A, const QString& B) {
    int I = 0, J = 0;
    while (I < A.size() && J < B.size()) {
        if (A[I].isDigit() && B[J].isDigit()) {
            int EI = I, EJ = J;
            while (EI < A.size() && A[EI].isDigit()) ++EI;
            while (EJ < B.size() && B[EJ].isDigit()) ++EJ;
            const qulonglong X = A.mid(I, EI - I).toULongLong(), Y = B.mid(J, EJ - J).toULongLong();
            if (X != Y) return X < Y;
            I = EI, J = EJ;
            continue;
        }
        if (A[I] != B[J])
            return A[I].toLower() < B[J].toLower() || (A[I].toLower() == B[J].toLower() && A[I] < B[J]);
        ++I, ++J;
    }
    return A.size() - I < B.size() - J;
}

} // namespace

QList<QPoint> ArrangeThumbnails(int BoxWidth, const QList<QSize>& Sizes) {
    QList<QPoint> Places;
    if (Sizes.isEmpty()) return Places;
    const int W = Sizes.first().width(), H = Sizes.first().height();
    const int Columns = W + 20 > 0 ? (BoxWidth - 20) / (W + 20) : 0;
    const int Left = (BoxWidth + 20 - (W + 20) * Columns) / 2;
    const bool SameSize =
        std::all_of(Sizes.begin(), Sizes.end(), [&](const QSize& S) { return S == Sizes.first(); });
    int Top = 110;
    if (Columns >= 2 && SameSize) {
        for (int I = 0; I < Sizes.size(); ++I) {
            const int Column = I % Columns;
            if (I > 0 && Column == 0) Top += H + 20;
            Places << QPoint(Left + (W + 20) * Column, Top);
        }
        return Places;
    }
    for (const QSize& S : Sizes) {
        Places << QPoint((BoxWidth - S.width()) / 2, Top);
        Top += S.height() + 20;
    }
    return Places;
}

TfrmTemplate::TfrmTemplate(QWidget* Parent)
    : QDialog(Parent), FTree(new QTreeWidget(this)), FScroll(new QScrollArea(this)), FBox(new QWidget),
      FTitle(new QLabel(FBox)),
      FHint(new QLabel(QStringLiteral("Wählen Sie eine beliebige Vorlage Ihrer Wahl durch "
                                      "Doppelklick auf das entsprechende Bild-Objekt aus."),
                       FBox)) {
    setWindowTitle(QStringLiteral("Vorlagen"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    PathTemplates = ProgramFolder() + QLatin1Char('/');
    FTree->setHeaderHidden(true);
    FTree->setFixedWidth(121);
    QFont TitleFont(QStringLiteral("Verdana"));
    TitleFont.setPixelSize(31);
    TitleFont.setBold(true);
    TitleFont.setItalic(true);
    FTitle->setFont(TitleFont);
    FHint->setWordWrap(false);
    FScroll->setWidget(FBox);
    FScroll->setWidgetResizable(true);
    auto* Layout = new QHBoxLayout(this);
    Layout->addWidget(FTree);
    Layout->addWidget(FScroll, 1);
    connect(FTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* Item) {
        QStringList Names;
        for (QTreeWidgetItem* I = Item; I; I = I->parent()) Names.prepend(I->text(0));
        if (!Names.isEmpty()) SelectFolder(Names);
    });
    resize(760, 520);
}

QString TfrmTemplate::RootFolderName() const {
    return IsPicTemplates ? Settings().PicTemplateFolder : Settings().TemplateFolder;
}

void TfrmTemplate::BuildTree() {
    FTree->clear();
    const QString Root = PathTemplates + RootFolderName();
    if (!QFileInfo(Root).isDir()) {
        if (!IsBatchMode())
            UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                                      LangText(QStringLiteral("TxtMissDict1")) + QLatin1Char(' ') +
                                          LangText(IsPicTemplates ? QStringLiteral("CptPicTempl")
                                                                  : QStringLiteral("CptBannerTempl")) +
                                          QLatin1Char(' ') + LangText(QStringLiteral("TxtMissDict2")),
                                      TMsgIcon::Information);
        return;
    }
    std::function<void(QTreeWidgetItem*, const QString&)> AddChildren = [&](QTreeWidgetItem* Node,
                                                                            const QString& Path) {
        QStringList Folders = QDir(Path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        // Sizes in the order of their numbers: "120x60" before "120x240".
        std::sort(Folders.begin(), Folders.end(), NaturalLess);
        for (const QString& F : Folders) {
            auto* Child = new QTreeWidgetItem(Node, {F});
            AddChildren(Child, Path + QLatin1Char('/') + F);
        }
    };
    auto* RootNode = new QTreeWidgetItem(FTree, {RootFolderName()});
    AddChildren(RootNode, Root);
    FTree->expandItem(RootNode);
    FTree->expandAll();
}

void TfrmTemplate::ClearThumbnails() {
    for (const TImgCollection& I : FImgArray) delete I.Image;
    FImgArray.clear();
}

QString TfrmTemplate::Choose(bool PictureTemplates) {
    IsPicTemplates = PictureTemplates;
    const QString Caption =
        LangText(IsPicTemplates ? QStringLiteral("CptPicTempl") : QStringLiteral("CptBannerTempl"));
    FTitle->setText(Caption);
    FTitle->adjustSize();
    FHint->adjustSize();
    ClearThumbnails();
    PathPicSelection.clear();
    BuildTree();
    exec();
    return PathPicSelection;
}

void TfrmTemplate::SelectFolder(const QStringList& NodeNames) {
    ClearThumbnails();
    const QString Folder = PathTemplates + NodeNames.join(QLatin1Char('/')) + QLatin1Char('/');
    const QStringList Filters =
        IsPicTemplates ? QStringList{QStringLiteral("*")} : QStringList{QStringLiteral("*.gif")};
    const QStringList Files = QDir(Folder).entryList(Filters, QDir::Files, QDir::Name);
    for (const QString& Name : Files) {
        const QString Path = Folder + Name;
        auto* Thumb = new QLabel(FBox);
        Thumb->hide();
        Thumb->installEventFilter(this);
        FImgArray.append({Path, Thumb});
        if (!QFileInfo(Path).isFile()) {
            UserDialogs().ShowMessage(QString::fromUtf8(ApplicationTitle),
                                      LangText(QStringLiteral("TxtMissFile")), TMsgIcon::Information);
            continue;
        }
        if (!IsPicTemplates && !Name.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive)) continue;
        if (IsPicTemplates && !IsPictureExtension(FileExtension(Name))) continue;
        try {
            // The picture at its own size; a GIF shows its first image. A picture template shows
            // its transparency as it will be inserted, not the black an opened picture gets.
            const auto Picture = IsPicTemplates ? LoadLayerPictureFromFile(Path) : LoadPictureFromFile(Path);
            const QImage Image(reinterpret_cast<const uchar*>(Picture->Bits()), Picture->Width(),
                               Picture->Height(), Picture->Width() * 4, QImage::Format_ARGB32);
            Thumb->setPixmap(QPixmap::fromImage(Image.copy()));
            Thumb->setFixedSize(Picture->Width(), Picture->Height());
        } catch (const EFileError&) {
            // A picture that cannot be read stays empty, like one of an unknown kind.
        }
        Thumb->setToolTip(Name);
        Thumb->setCursor(Qt::PointingHandCursor);
    }
    Arrange();
}

void TfrmTemplate::Arrange() {
    const int BoxWidth = FScroll->viewport()->width();
    // The two labels are centred while they fit, else they start 3 pixels from the left.
    auto Place = [BoxWidth](QLabel* L, int Top) {
        L->move(L->width() < BoxWidth ? (BoxWidth - L->width()) / 2 : 3, Top);
    };
    // The hint keeps to the box: too long for one line, it wraps.
    FHint->setWordWrap(false);
    FHint->adjustSize();
    if (FHint->width() > BoxWidth - 6) {
        FHint->setWordWrap(true);
        FHint->resize(BoxWidth - 6, FHint->heightForWidth(BoxWidth - 6));
    }
    Place(FTitle, 10);
    Place(FHint, 60);
    QList<QSize> Sizes;
    for (const TImgCollection& I : FImgArray) Sizes << I.Image->size();
    const QList<QPoint> Places = ArrangeThumbnails(BoxWidth, Sizes);
    int Bottom = 110;
    for (int I = 0; I < FImgArray.size(); ++I) {
        FImgArray[I].Image->move(Places[I]);
        FImgArray[I].Image->show();
        Bottom = std::max(Bottom, Places[I].y() + Sizes[I].height() + 20);
    }
    FBox->setMinimumHeight(Bottom);
}

void TfrmTemplate::resizeEvent(QResizeEvent* Event) {
    QDialog::resizeEvent(Event);
    Arrange();
}

bool TfrmTemplate::eventFilter(QObject* Object, QEvent* Event) {
    if (Event->type() == QEvent::MouseButtonDblClick) {
        for (int I = 0; I < FImgArray.size(); ++I)
            if (FImgArray[I].Image == Object) {
                Pick(I);
                return true;
            }
    }
    return QDialog::eventFilter(Object, Event);
}

void TfrmTemplate::Pick(int Index) {
    if (Index < 0 || Index >= FImgArray.size()) return;
    QString Path = FImgArray[Index].FilePath;
    if (!IsPicTemplates) {
        const QFileInfo Info(Path);
        Path = Info.path() + QLatin1Char('/') + Info.completeBaseName() + QStringLiteral(".dgm");
    }
    PathPicSelection = Path;
    accept();
}

} // namespace zp
