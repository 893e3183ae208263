#pragma once

class QMdiArea;

// The Window menu's arrangements. Minimised windows are left to
// arrangeIcons(), which lines them up along the bottom edge; the tilings
// use the space above that row. The active window comes first.
void tileHorizontally(QMdiArea& area);  // one above the other, full width
void tileVertically(QMdiArea& area);    // side by side, full height
void arrangeIcons(QMdiArea& area);
