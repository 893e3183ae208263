#pragma once

class QMdiArea;
class QMdiSubWindow;

// The Window menu's arrangements. Minimised windows are left to
// arrangeIcons(), which lines them up along the bottom edge; the tilings
// use the space above that row. The active window comes first.
void tileHorizontally(QMdiArea& area);  // one above the other, full width
void tileVertically(QMdiArea& area);    // side by side, full height
// Each window at the size it opened at, one title bar below and to the right
// of the one before (from the top left again where the next would leave the
// area), the active one in front.
void cascade(QMdiArea& area);
void arrangeIcons(QMdiArea& area);

// Shows a window just added to the area: maximised when the window it
// follows is; otherwise wide enough for the names of its tabs but no larger
// than the area, one title bar below and to the right of the window it
// follows, or at the top left when it would not fit there, so it is always
// wholly in view.
void showNewWindow(QMdiArea& area, QMdiSubWindow* window);
