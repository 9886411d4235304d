#include "ui/HistoryMenu.h"

#include <QAction>
#include <QMenu>

namespace zp {

namespace {
constexpr const char* ConnectedProperty = "zpHistoryItem";
}

void ShowHistoryItemsInMenu(QMenu* Menu, const std::vector<THistoryItem>& Items,
                            const std::function<void(const QString&)>& OpenFile) {
    Menu->setToolTipsVisible(true);
    QList<QAction*> Actions = Menu->actions();
    while (Actions.size() > qsizetype(Items.size())) {
        QAction* Surplus = Actions.takeLast();
        Menu->removeAction(Surplus);
        if (Surplus->parent() == Menu) delete Surplus;
    }
    while (Actions.size() < qsizetype(Items.size())) Actions.push_back(Menu->addAction(QString()));

    for (size_t I = 0; I < Items.size(); ++I) {
        QAction* Action = Actions[qsizetype(I)];
        Action->setText(Items[I].Caption);
        Action->setToolTip(Items[I].Hint);
        Action->setStatusTip(Items[I].Hint);
        // The path is read when the item is chosen, so one connection serves every rebuild.
        if (!Action->property(ConnectedProperty).toBool()) {
            Action->setProperty(ConnectedProperty, true);
            QObject::connect(Action, &QAction::triggered, Menu,
                             [Action, OpenFile] { OpenFile(Action->toolTip()); });
        }
    }
}

} // namespace zp
