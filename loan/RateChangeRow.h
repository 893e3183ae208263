#pragma once

#include "RateChange.h"
#include "Schedule.h"

#include <QDate>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

// One rate change as typed values.
struct RateChangeRow {
    QDate from;
    double annualPercent = 0.0;  // 6.5 means 6.5 % a year
    engine::RateChangeMode mode = engine::RateChangeMode::NewPayment;
    bool operator==(const RateChangeRow&) const = default;
};

enum class RateChangeColumn { From, Rate, Mode };

// A rate change that cannot be used, with the row (counted from 0) and the
// cell to put the focus on, and the message to show.
struct RateChangeProblem {
    int row = 0;
    RateChangeColumn column = RateChangeColumn::From;
    QString message;
};

// The captions of the two modes, as the table shows them.
QString rateChangeModeText(engine::RateChangeMode mode);
std::optional<engine::RateChangeMode> rateChangeModeFromText(const QString& text);

// Typed rows (from the store, say) checked as the texts are: a row without a
// valid date or with a rate that is negative or not a number.
std::optional<RateChangeProblem> rateChangeRowsProblem(const std::vector<RateChangeRow>& rows);

std::vector<engine::RateChange> engineRateChanges(const std::vector<RateChangeRow>& rows);

// The payment in force from each rate change as given (its row's principal
// and interest where it took effect), or none for one that took no effect.
std::vector<std::optional<double>> rateChangePayments(const engine::ScheduleResult& result);
