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
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* sub = windows[i];
        // The first nine take their number as access key; a caption's own "&" is text.
        QString text = sub->windowTitle();
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        text = (i < 9 ? QStringLiteral("&%1 %2") : QStringLiteral("%1 %2")).arg(QString::number(i + 1), text);
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
