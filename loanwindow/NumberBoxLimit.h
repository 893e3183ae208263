#pragma once

class Messages;
class QLineEdit;
class QWidget;

// A number box holds at most kNumberBoxLength characters. The longest amount,
// rate or term the readers accept is a few dozen characters; a thousand
// leaves room for pasted spaces and a wrong-but-plausible entry that the
// number reader then names, while QLineEdit lays out a thousand characters
// at once. Text from outside that would make the box longer (a paste, a
// drop, a middle-click, a typed key) is refused whole before it reaches the
// box, which keeps what it held, and the user is told why: nothing is cut
// silently.
inline constexpr int kNumberBoxLength = 1000;

void limitNumberBox(QLineEdit* box, Messages& messages, QWidget* window);
