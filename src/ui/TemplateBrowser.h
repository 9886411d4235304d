#pragma once

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

class QLabel;
class QScrollArea;
class QTreeWidget;
class QTreeWidgetItem;

namespace zp {

// Where the thumbnails go in a box of the given width: a grid when there are at least two
// columns and all thumbnails have the size of the first, else one centred column.
QList<QPoint> ArrangeThumbnails(int BoxWidth, const QList<QSize>& Sizes);

// The template browser: a folder tree on the left, the folder's templates as thumbnails on
// the right; a double click chooses one.
class TfrmTemplate : public QDialog {
    Q_OBJECT
public:
    struct TImgCollection {
        QString FilePath;
        QLabel* Image = nullptr;
    };

    explicit TfrmTemplate(QWidget* Parent = nullptr);

    // Banner projects (false) or pictures (true).
    bool IsPicTemplates = false;
    // The program folder, with a trailing separator.
    QString PathTemplates;
    // The chosen file after the window closed; empty when nothing was chosen.
    QString PathPicSelection;

    // Shows the browser modally and returns PathPicSelection.
    QString Choose(bool PictureTemplates);
    // Shows the templates of a folder below the root (names from the root down).
    void SelectFolder(const QStringList& NodeNames);
    const QList<TImgCollection>& ImgArray() const { return FImgArray; }
    QTreeWidget* Tree() const { return FTree; }
    QLabel* Hint() const { return FHint; }
    // The box the title, the hint and the thumbnails lie in.
    QWidget* Box() const { return FBox; }
    // What a double click on a thumbnail does.
    void Pick(int Index);

protected:
    void resizeEvent(QResizeEvent* Event) override;
    bool eventFilter(QObject* Object, QEvent* Event) override;

private:
    void BuildTree();
    void ClearThumbnails();
    void Arrange();
    QString RootFolderName() const;

    QTreeWidget* FTree;
    QScrollArea* FScroll;
    QWidget* FBox;
    QLabel* FTitle;
    QLabel* FHint;
    QList<TImgCollection> FImgArray;
};

} // namespace zp
