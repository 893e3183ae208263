#pragma once

class QRadioButton;
class QStackedWidget;
class QTableView;
class QWidget;
class ResultsModel;
class YearlyModel;

// Tab "Amortization Table": the run's rows, one per payment ("Each payment",
// the default) or summed per calendar year ("Each year").
struct AmortizationTablePage {
    explicit AmortizationTablePage(QWidget* parent);

    QWidget* page = nullptr;
    QRadioButton* optEachPayment = nullptr;
    QRadioButton* optEachYear = nullptr;
    QStackedWidget* views = nullptr;
    QTableView* flxResults = nullptr;
    ResultsModel* resultsModel = nullptr;
    QTableView* flxYearly = nullptr;
    YearlyModel* yearlyModel = nullptr;

    bool showsYears() const;
    // The table that is shown.
    QTableView* shownTable() const;
};
