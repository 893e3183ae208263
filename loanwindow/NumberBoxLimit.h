#pragma once

class Messages;
class QLineEdit;
class QWidget;

// A number box holds at most kNumberBoxLength characters (2 MB), far more than any
// amount, rate or term needs. Text that would make it longer (a paste, a
// drop, a key) is refused whole, the box keeps what it held, and the user is
// told why: nothing is cut silently.
inline constexpr int kNumberBoxLength = 1 << 21;

void limitNumberBox(QLineEdit* box, Messages& messages, QWidget* window);
