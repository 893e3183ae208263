#pragma once

class QTableView;
class QWidget;
class ResultsModel;

// Tab "Amortization Table": the run's rows.
struct AmortizationTablePage {
    explicit AmortizationTablePage(QWidget* parent);

    QWidget* page = nullptr;
    QTableView* flxResults = nullptr;
    ResultsModel* resultsModel = nullptr;
};
