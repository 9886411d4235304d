#pragma once

// A main window on the offscreen platform with the sample document open, and the mouse and key
// input a user gives its canvas.
#include "support/ScriptedDialogs.h"
#include "support/ShownDocument.h"
#include "support/TempPlaces.h"
#include "ui/DocumentWindow.h"
#include "ui/FrameViewWidget.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

namespace zp {

struct TEditingFixture : ::testing::Test {
    TTempPlaces Places{{1200, 900}};
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainWindow> Window;
    TDocForm* Doc = nullptr;
    TFrameViewWidget* Canvas = nullptr;

    TEditingFixture() {
        QFile::copy(QStringLiteral(ZP_RESOURCE_DIR "/lang.ini"),
                    Places.ProgramDir() + QStringLiteral("/lang.ini"));
        Window = std::make_unique<TMainWindow>(false);
        Window->Model().StartupHandled = true;
        Window->show();
        Window->activateWindow();
        Doc = &Window->Model().NewSampleDocument();
        Canvas = Window->DocumentWindow(Doc)->FrameWidget(Doc->Frame1());
        QApplication::processEvents();
    }

    TLayerCollection& Layers() const { return Doc->CurrentView()->Layers(); }
    // A picture point as the canvas shows it.
    QPoint At(int X, int Y) const {
        const TPoint P = Doc->CurrentView()->BitmapToControl({X, Y});
        return {P.X, P.Y};
    }
    void Click(int X, int Y) {
        QTest::mouseClick(Canvas->viewport(), Qt::LeftButton, Qt::NoModifier, At(X, Y));
    }
    void Key(int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QTest::keyClick(Canvas, static_cast<Qt::Key>(Key), Modifiers);
    }
    // The pointer moved with the left button held, in canvas pixels.
    void MoveHeld(QPoint P, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QWidget* V = Canvas->viewport();
        QMouseEvent Move(QEvent::MouseMove, P, V->mapToGlobal(P), Qt::NoButton, Qt::LeftButton, Modifiers);
        QApplication::sendEvent(V, &Move);
    }
    // A drag with the left button held, in canvas pixels.
    void Drag(QPoint From, QPoint To) {
        QWidget* V = Canvas->viewport();
        QTest::mousePress(V, Qt::LeftButton, Qt::NoModifier, From);
        for (int Step = 1; Step <= 4; ++Step) MoveHeld(From + (To - From) * Step / 4);
        QTest::mouseRelease(V, Qt::LeftButton, Qt::NoModifier, To);
    }
    QAction* ToolButton(const char* Name) const {
        return Window->findChild<QToolBar*>(QStringLiteral("ToolBar1"))
            ->findChild<QAction*>(QString::fromLatin1(Name));
    }
};

} // namespace zp
