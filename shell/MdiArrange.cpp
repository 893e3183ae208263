#include "MdiArrange.h"

#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>
#include <QScrollArea>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace {

// Top-most first, so the active window lands first.
QList<QMdiSubWindow*> visibleWindows(QMdiArea& area)
{
    QList<QMdiSubWindow*> windows = area.subWindowList(QMdiArea::StackingOrder);
    std::reverse(windows.begin(), windows.end());
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [](QMdiSubWindow* w) { return !w->isVisible(); }),
                  windows.end());
    return windows;
}

QList<QMdiSubWindow*> minimised(const QList<QMdiSubWindow*>& windows, bool wanted)
{
    QList<QMdiSubWindow*> out;
    for (QMdiSubWindow* w : windows)
        if (w->isMinimized() == wanted)
            out << w;
    return out;
}

// The size a window opened at, kept for Cascade.
const char* const kOpenedSize = "brimvaleOpenedSize";

// One title bar's height: the step between cascaded windows.
int titleStep(QMdiSubWindow* window)
{
    return window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
}

// The width at which every tab bar of a window, laid out, shows all of its
// tabs: a narrower bar scrolls them and cuts their names.
int widthForTabs(QMdiSubWindow* window)
{
    int width = 0;
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
        width = std::max(width, window->width() - tabs->width() + tabs->tabBar()->sizeHint().width());
    return width;
}

// The height at which every page of a window's tabs fits at its smallest: a
// lower window scrolls them, hiding the last controls (the Calculate button)
// and squeezing the charts.
int heightForPages(QMdiSubWindow* window)
{
    int height = 0;
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        auto* shown = qobject_cast<QScrollArea*>(tabs->currentWidget());
        if (!shown)
            continue;
        const int around = window->height() - shown->viewport()->height();
        for (int tab = 0; tab < tabs->count(); ++tab)
            if (auto* area = qobject_cast<QScrollArea*>(tabs->widget(tab)); area && area->widget())
                height = std::max(height, around + area->widget()->minimumSizeHint().height());
    }
    return height;
}

// The whole client space: scroll bars shown now go once everything fits.
QRect clientSpace(const QMdiArea& area)
{
    return QRect(QPoint(0, 0), area.contentsRect().size());
}

// Lines the icons up from the bottom-left corner of `space`; returns the
// height they take.
int placeIcons(const QRect& space, const QList<QMdiSubWindow*>& icons)
{
    int x = 0;
    int bottom = space.bottom() + 1;
    int rowHeight = 0;
    int used = 0;
    for (QMdiSubWindow* icon : icons) {
        const QSize size = icon->size();
        if (x > 0 && x + size.width() > space.width()) {
            bottom -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        icon->move(x, bottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
        used = space.bottom() + 1 - (bottom - rowHeight);
    }
    return used;
}

void tile(QMdiArea& area, bool sideBySide)
{
    const QList<QMdiSubWindow*> windows = visibleWindows(area);
    const int iconHeight = placeIcons(clientSpace(area), minimised(windows, true));
    const QList<QMdiSubWindow*> normal = minimised(windows, false);
    if (normal.isEmpty())
        return;
    QRect space = clientSpace(area);
    space.setHeight(std::max(1, space.height() - iconHeight));
    const int n = int(normal.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = normal[i];
        if (w->isMaximized())
            w->showNormal();
        QRect cell;
        if (sideBySide) {
            const int left = space.left() + space.width() * i / n;
            const int right = space.left() + space.width() * (i + 1) / n;
            cell = QRect(left, space.top(), right - left, space.height());
        } else {
            const int top = space.top() + space.height() * i / n;
            const int bottom = space.top() + space.height() * (i + 1) / n;
            cell = QRect(space.left(), top, space.width(), bottom - top);
        }
        w->setGeometry(cell);
    }
}

}  // namespace

void tileHorizontally(QMdiArea& area)
{
    tile(area, false);
}

void tileVertically(QMdiArea& area)
{
    tile(area, true);
}

void cascade(QMdiArea& area)
{
    QList<QMdiSubWindow*> windows = minimised(visibleWindows(area), false);
    std::reverse(windows.begin(), windows.end());  // the active one last, in front
    const QSize room = area.viewport()->size();
    QPoint at(0, 0);
    for (QMdiSubWindow* w : windows) {
        if (w->isMaximized())
            w->showNormal();
        const QSize size = w->property(kOpenedSize).toSize().expandedTo(w->minimumSizeHint());
        if (at != QPoint(0, 0) && (at.x() + size.width() > room.width() || at.y() + size.height() > room.height()))
            at = QPoint(0, 0);
        w->setGeometry(QRect(at, size));
        w->raise();
        at += QPoint(titleStep(w), titleStep(w));
    }
}

void arrangeIcons(QMdiArea& area)
{
    // The other windows stay where they are, and so may the scroll bars.
    placeIcons(area.viewport()->rect(), minimised(visibleWindows(area), true));
}

void showNewWindow(QMdiArea& area, QMdiSubWindow* window)
{
    // The one it follows: the top-most other window in view.
    QMdiSubWindow* previous = nullptr;
    for (QMdiSubWindow* other : visibleWindows(area))
        if (other != window) {
            previous = other;
            break;
        }
    const QSize room = area.viewport()->size();
    window->resize(window->size().boundedTo(room));
    QPoint at(0, 0);
    if (previous && !previous->isMinimized() && !previous->isMaximized()) {
        at = previous->pos() + QPoint(titleStep(window), titleStep(window));
        if (at.x() + window->width() > room.width() || at.y() + window->height() > room.height())
            at = QPoint(0, 0);
    }
    window->move(at);
    // A maximised window hands its state on to the next one activated, also
    // to one still hidden (a window that takes the focus as it loads), which
    // then calls itself maximised at its own size: sized first, then
    // maximised for real.
    const bool maximise = (previous && previous->isMaximized()) || window->isMaximized();
    window->show();
    if (window->isMaximized())
        window->showNormal();
    const QSize opened(std::min(std::max(window->width(), widthForTabs(window)), room.width()),
                       std::min(std::max(window->height(), heightForPages(window)), room.height()));
    window->resize(opened);
    if (window->x() + opened.width() > room.width() || window->y() + opened.height() > room.height())
        window->move(0, 0);
    window->setProperty(kOpenedSize, opened);
    if (maximise)
        window->showMaximized();
}
