#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <array>

class ResultsModel;

// What a calculated loan window hands to printing and exporting: its texts as
// they stood after the last successful run, and its results table.
struct LoanReportContents {
    struct Group {
        QString title;
        QList<QPair<QString, QString>> fields;  // caption, value as shown
    };

    QString description;
    QList<Group> groups;  // inputs, summary, savings, in the window's order
    QStringList chartSeries;  // "Interest", "Extra Payments", "Principal"
    std::array<double, 3> chartValues{};
    const ResultsModel* table = nullptr;  // owned by the window
};
