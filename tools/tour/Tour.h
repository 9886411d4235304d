#pragma once

// The camera of the screenshot tour: pictures of windows as a desktop shows them, modal windows
// caught and closed while a command runs, and notes on what looks wrong in them.
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QWidget;

namespace zp {

class TMainWindow;

constexpr int ScreenWidth = 1280, ScreenHeight = 860;
// The height of the title bars the pictures give windows.
constexpr int CaptionHeight = 22;

// Lets the event loop run for about Ms milliseconds: layouts, deferred updates, file listings.
void Settle(int Ms = 60);
// Pictures next to one another, 8 pixels apart.
QImage SideBySide(const QList<QImage>& Pictures);

class TTour {
public:
    // Pictures go to OutDir (its old pictures are removed first), the help's to HelpDir when
    // that is not empty.
    TTour(QString OutDir, QString HelpDir);

    // --- pictures

    // The windows as a desktop shows them, cropped to the frames of Focus (with their title
    // bars): everything visible is painted in stacking order, so menus lie over the main window.
    QImage Scene(const QList<QWidget*>& Focus, int Margin = 0, bool Alone = false);

    // Writes NN-Name.png, notes what looks wrong in the windows of Focus, and, when the help's
    // pictures are asked for and HelpName is given, writes it as HelpName into the help folder.
    void Shot(const QString& Name, const QList<QWidget*>& Focus, const QString& HelpName = QString(),
              int Margin = 0, bool Alone = false);

    // A picture for the help page only.
    void SaveHelp(const QString& Shot, const QImage& Image, const QString& HelpName);

    void Save(const QString& Name, const QImage& Image, const QString& HelpName = QString());

    // --- modal windows

    struct TExpect {
        QString Name;
        // Runs after the window settled and before the picture (fill in, choose a page).
        std::function<void(QWidget*)> Prepare;
        // Ends the window; by default as Cancel does.
        std::function<void(QWidget*)> Close;
        QString HelpName;
    };

    // Runs Trigger; each modal window that opens meanwhile is photographed under the next
    // expected name and closed. A window nobody expected is photographed and cancelled too, so
    // the tour never waits for a user; an expected window that never came is noted.
    void Modal(std::vector<TExpect> Expected, const std::function<void()>& Trigger);

    // --- menus

    // A menu of the menu bar opened, with one of its submenus when Sub is given, over the
    // main window's top.
    void MenuShot(const QString& Name, TMainWindow& Window, QAction* Top, QAction* Sub = nullptr,
                  const QString& HelpName = QString());

    // --- what looks wrong

    // A window that a command should open and did not, or one that would not close: the tour
    // fails.
    void Broken(const QString& Shot, const QString& Text);

    // Something that looks wrong, for a person to judge.
    void Note(const QString& Shot, const QString& Text);

    // Cut texts, controls reaching out of their parents and English words below Top.
    void Inspect(const QString& Shot, QWidget* Top);

    // A control reaching out of the control holding it, except in what scrolls or stacks pages.
    void CheckInside(const QString& Shot, QWidget* W, QWidget* Top);

    // Windows (or windows inside the main window) that lie over one another.
    void CheckApart(const QString& Shot, const QList<QWidget*>& Windows);

    // The notes as OutDir/notes.txt.
    void WriteNotes() const;
    int NoteCount() const { return static_cast<int>(FNotes.size()); }
    int ShotCount() const { return FNumber; }
    int BrokenCount() const { return FBroken; }

private:
    QString FOut;
    QString FHelpDir;
    int FNumber = 0;
    int FBroken = 0;
    QStringList FNotes;
    QStringList FEnglishSeen;
};

} // namespace zp
