#pragma once

class Messages;
class QLineEdit;
class QWidget;

// Every typed box (the description and the numbers) holds at most
// kBoxLength characters. The longest amount, rate or term the readers accept
// is a few dozen characters and a real loan's description a few words; a
// thousand leaves room for pasted spaces and a long name, while QLineEdit
// still lays out the whole text at once wherever it is shown (caption, Window
// menu, picker, report). Text from outside that would make the box longer
// (a paste, a drop, a middle-click, a typed key) is refused whole before it
// reaches the box, which keeps what it held, and the user is told why:
// nothing is cut silently.
inline constexpr int kBoxLength = 1000;

void limitBox(QLineEdit* box, Messages& messages, QWidget* window);
