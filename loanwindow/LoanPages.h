#pragma once

#include "frmLoan.h"
#include "frmLoanUi.h"

class QDateEdit;
class QLineEdit;
class QWidget;

// One builder per tab: each creates its page's controls, names them and
// stores them in the Ui.
namespace LoanPages {

QWidget* buildLoanInformation(frmLoan::Ui& ui);
QWidget* buildExtraPayments(frmLoan::Ui& ui);
QWidget* buildAmortizationTable(frmLoan::Ui& ui);
QWidget* buildSummaryGraph(frmLoan::Ui& ui);
QWidget* buildSavingsSummary(frmLoan::Ui& ui);
QWidget* buildFormulas(frmLoan::Ui& ui);

// Shared small pieces.
QLineEdit* makeTextBox(const char* name, QWidget* parent);
QLineEdit* makeResultBox(const char* name, QWidget* parent);  // read-only, grey ground
QDateEdit* makeDatePicker(const char* name, QWidget* parent);

}  // namespace LoanPages
