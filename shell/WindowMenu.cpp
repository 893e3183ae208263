#include "WindowMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

void fillWindowMenu(QMenu& menu, QMdiArea& area, const QList<QAction*>& commands)
{
    menu.clear();
    menu.addActions(commands);

    QList<QMdiSubWindow*> windows = area.subWindowList(QMdiArea::CreationOrder);
    windows.removeIf([](QMdiSubWindow* sub) { return sub->isHidden(); });
    if (windows.isEmpty())
        return;
    menu.addSeparator();
    QMdiSubWindow* current = area.currentSubWindow();
    for (QMdiSubWindow* sub : windows) {
        // A caption's own "&" is text, not an access key.
        QString text = sub->windowTitle();
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu.addAction(text);
        action->setCheckable(true);
        action->setChecked(sub == current);
        QPointer<QMdiSubWindow> target(sub);
        QObject::connect(action, &QAction::triggered, &area, [&area, target] {
            if (target) {
                if (target->isMinimized())
                    target->showNormal();
                area.setActiveSubWindow(target);
            }
        });
    }
}
