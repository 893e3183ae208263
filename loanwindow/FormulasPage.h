#pragma once

class QLabel;
class QWidget;

// Tab "Formulas": the three formulas the run uses.
struct FormulasPage {
    explicit FormulasPage(QWidget* parent);

    QWidget* page = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* Picture3 = nullptr;
    QLabel* lblRateChanges = nullptr;  // the rate change rule and the solving, in words
    QLabel* lblShapes = nullptr;       // compounding, the APR and the loan's shapes
};
