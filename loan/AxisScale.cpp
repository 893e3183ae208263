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

QList<DateTick> dateAxisTicks(QDate first, QDate last, int maxTicks)
{
    QList<DateTick> ticks;
    if (!first.isValid() || !last.isValid() || last < first)
        return ticks;
    maxTicks = std::max(maxTicks, 1);
    const QLocale loc;
    // Months counted from year 0, so a step lands on the same months each year.
    const auto monthIndex = [](QDate d) { return qint64(d.year()) * 12 + (d.month() - 1); };
    const auto monthStart = [](qint64 index) { return QDate(int(index / 12), int(index % 12) + 1, 1); };
    const qint64 from = monthIndex(first) + (first.day() == 1 ? 0 : 1);
    const qint64 to = monthIndex(last);
    if (from > to)
        return ticks;
    for (const int step : {1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200}) {
        const qint64 start = (from + step - 1) / step * step;
        const qint64 count = start > to ? 0 : (to - start) / step + 1;
        if (count > maxTicks && step != 1200)
            continue;
        for (qint64 index = start; index <= to && ticks.size() < maxTicks; index += step) {
            const QDate date = monthStart(index);
            ticks.append({date, step < 12 ? loc.toString(date, QStringLiteral("MMM yyyy"))
                                          : QString::number(date.year())});
        }
        break;
    }
    return ticks;
}
