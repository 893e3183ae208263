#pragma once

#include "Schedule.h"

#include <QList>
#include <QPair>
#include <QString>

#include <array>
#include <memory>
#include <vector>

// What a calculated loan window hands to printing and exporting: its texts as
// they stood after the last successful run, and that run's rows.
struct LoanReportContents {
    struct Group {
        QString title;
        QList<QPair<QString, QString>> fields;  // caption, value as shown
    };

    QString description;
    QList<Group> groups;  // inputs, summary, savings, in the window's order
    QStringList chartSeries;  // "Interest", "Extra Payments", "Principal"
    std::array<double, 3> chartValues{};
    // Shared with the window's table; null until the first successful run.
    std::shared_ptr<const std::vector<engine::ScheduleRow>> rows;
    engine::Date today{};  // the day the run was made on
};
