#pragma once

class DateBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class RateChangesModel;

// Tab "Rate Changes": the loan's rate changes and the fields that edit the
// selected one.
struct RateChangesPage {
    explicit RateChangesPage(QWidget* parent);

    QWidget* page = nullptr;
    QTableView* flxRateChanges = nullptr;
    RateChangesModel* rateChanges = nullptr;
    DateBox* dtRateFrom = nullptr;
    QLineEdit* txtNewRate = nullptr;
    QComboBox* cboRateMode = nullptr;  // "New payment", "Same payment"
    QPushButton* cmdAddRateChange = nullptr;
    QPushButton* cmdDeleteRateChange = nullptr;
    QPushButton* cmdRecalculateRates = nullptr;
};
