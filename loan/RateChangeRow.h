#pragma once

#include "RateChange.h"

#include <QDate>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

// One row of the rate changes table as its cells' texts.
struct RateChangeTexts {
    QString from;  // short date text
    QString rate;  // annual percent in the user's number format ("6.5", "6,5")
    QString mode;  // "New payment" or "Same payment"
};

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

// The table's rows as typed values, read in the user's regional settings: the
// first cell that does not convert, or a negative rate, is the problem.
std::variant<std::vector<RateChangeRow>, RateChangeProblem>
rateChangeRowsFromTexts(const std::vector<RateChangeTexts>& rows);

// The texts a row shows in the user's regional settings; they read back to the same row.
RateChangeTexts rateChangeTexts(const RateChangeRow& row);

// Typed rows (from the store, say) checked as the texts are: a row without a
// valid date or with a rate that is negative or not a number.
std::optional<RateChangeProblem> rateChangeRowsProblem(const std::vector<RateChangeRow>& rows);

std::vector<engine::RateChange> engineRateChanges(const std::vector<RateChangeRow>& rows);
