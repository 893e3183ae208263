#pragma once

class Clock;
class DateBox;
class Messages;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class RowEditor;
class SkippedPaymentsModel;

// Tab "Skipped Payments": payments not made, and what follows them; edited as
// the rate changes are.
struct SkippedPaymentsPage {
    SkippedPaymentsPage(QWidget* parent, const Clock& clock, Messages& messages, QWidget* window);

    QWidget* page = nullptr;
    QTableView* flxSkippedPayments = nullptr;
    SkippedPaymentsModel* skippedPayments = nullptr;
    DateBox* dtSkipFrom = nullptr;
    QLineEdit* txtSkipCount = nullptr;
    QComboBox* cboSkipThen = nullptr;  // "New payment", "Same payment"
    QPushButton* cmdAddSkip = nullptr;
    QPushButton* cmdDeleteSkip = nullptr;
    QPushButton* cmdRecalculateSkips = nullptr;
    RowEditor* editor = nullptr;
};
