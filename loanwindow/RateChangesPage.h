#pragma once

#include <functional>

class Clock;
class DateBox;
class Messages;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class RateChangesModel;
class RowEditor;

// Tab "Rate Changes": the loan's rate changes and the fields that edit the
// selected one.
struct RateChangesPage {
    // `loanRate`: the rate a new change starts at.
    RateChangesPage(QWidget* parent, const Clock& clock, std::function<double()> loanRate, Messages& messages,
                    QWidget* window);

    QWidget* page = nullptr;
    QTableView* flxRateChanges = nullptr;
    RateChangesModel* rateChanges = nullptr;
    DateBox* dtRateFrom = nullptr;
    QLineEdit* txtNewRate = nullptr;
    QComboBox* cboRateMode = nullptr;  // "New payment", "Same payment"
    QPushButton* cmdAddRateChange = nullptr;
    QPushButton* cmdDeleteRateChange = nullptr;
    QPushButton* cmdRecalculateRates = nullptr;
    RowEditor* editor = nullptr;
};
