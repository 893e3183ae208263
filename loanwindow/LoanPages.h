#pragma once

class DateBox;
class QLineEdit;
class QWidget;

// The small pieces every page builds its controls from.
namespace LoanPages {

QLineEdit* makeTextBox(const char* name, QWidget* parent);
QLineEdit* makeResultBox(const char* name, QWidget* parent);  // read-only, grey ground
DateBox* makeDatePicker(const char* name, QWidget* parent);

}  // namespace LoanPages
