#pragma once

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
