#pragma once

#include <QList>

class QAction;
class QMdiArea;
class QMenu;

// Fills the Window menu: its own commands, then every open window by caption
// (loan windows and the comparison alike), numbered, the first nine with
// their number as access key (Alt+W, 2), the current one checked; choosing
// one brings it back from an icon and activates it.
void fillWindowMenu(QMenu& menu, QMdiArea& area, const QList<QAction*>& commands);
