#pragma once

#include <QDate>
#include <QList>
#include <QString>

// A money axis from 0 to a round top in round steps (1, 2, 2.5 or 5 times a
// power of ten), so every gridline has a plain label.
struct AxisScale {
    double top = 1.0;
    double step = 1.0;
    int ticks() const;  // gridlines including 0 and the top
};

// The smallest round scale whose top reaches `maximum`, with at most
// `maxSteps` steps (at least 1).
AxisScale roundAxisScale(double maximum, int maxSteps = 5);

// An axis label in the user's currency without cents: "$250,000".
QString axisCurrencyText(double value);

// A tick of a date axis: the first of a month, labelled with the month and
// year ("Jan 2024", in the user's language), or the first of January of a
// year, labelled with the year.
struct DateTick {
    QDate date;
    QString label;
};

// Ticks on whole months (every 1, 2, 3 or 6) or whole years (every 1, 2, 5,
// 10, 20, 50 or 100) from `first` to `last`, both included: the finest step
// that gives at most `maxTicks` ticks, each label once. A span without the
// first of a month in it has no ticks.
QList<DateTick> dateAxisTicks(QDate first, QDate last, int maxTicks);
