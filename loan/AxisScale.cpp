#include "AxisScale.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

int AxisScale::ticks() const
{
    return int(std::lround(top / step)) + 1;
}

AxisScale roundAxisScale(double maximum, int maxSteps)
{
    maxSteps = std::max(maxSteps, 1);
    if (!std::isfinite(maximum) || maximum <= 0.0)
        return {};
    const double rough = maximum / maxSteps;
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (;;) {
        for (const double factor : {1.0, 2.0, 2.5, 5.0}) {
            // Whole-unit labels: a step of 2.5 only where it stays whole.
            if (factor == 2.5 && power < 10.0)
                continue;
            const double step = factor * power;
            const double top = std::ceil(maximum / step - 1e-9) * step;
            if (step >= rough * (1 - 1e-12) && top / step <= maxSteps + 1e-9)
                return {top, step};
        }
        power *= 10.0;
    }
}

QString axisCurrencyText(double value)
{
    const QLocale loc;
    return loc.toCurrencyString(value, loc.currencySymbol(), 0);
}
