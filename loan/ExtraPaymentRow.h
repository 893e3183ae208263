#pragma once

#include "ExtraPayments.h"
#include "NumberedError.h"

#include <QDate>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

// One row of the extra payments table as its cells' texts.
struct ExtraPaymentTexts {
    QString type;    // "L" lump sum, "R" repeating
    QString start;   // short date text
    QString stop;    // short date text; empty for "L"
    QString amount;  // "0.00" or currency text
};

// One extra payment as typed values.
struct ExtraPaymentRow {
    engine::ExtraPaymentKind kind = engine::ExtraPaymentKind::Ignored;
    QDate start;
    std::optional<QDate> stop;  // repeating only
    double amount = 0.0;
};

// The table's rows as a run reads them: "L" rows give a date and an amount,
// "R" rows a start, a stop and an amount, any other type is ignored. A cell
// that does not convert is "13 - Type mismatch" naming the row and the cell,
// so the run can refuse to start.
std::variant<std::vector<ExtraPaymentRow>, engine::NumberedError>
extraPaymentRowsForRun(const std::vector<ExtraPaymentTexts>& rows);

std::vector<engine::ExtraPayment> engineExtraPayments(const std::vector<ExtraPaymentRow>& rows);

// The table's rows as they are saved: "L" rows are lump sums, any other type
// repeating. A cell that does not convert is "13 - Type mismatch" naming the
// value and the row, and nothing is saved.
std::variant<std::vector<ExtraPaymentRow>, engine::NumberedError>
extraPaymentRowsForSaving(const std::vector<ExtraPaymentTexts>& rows);

// The table's cell texts of an extra payment's values.
QString extraPaymentTypeText(engine::ExtraPaymentKind kind);  // "L" lump sum, "R" otherwise
QString extraPaymentDateText(const QDate& date);              // the short date, four-digit year
QString extraPaymentAmountText(double amount);                // "$1,234.50"

// What the table holds after an amount is typed into the amount box: the
// regional currency text, or none when the typed text is not a number.
std::optional<QString> typedAmountText(const QString& typed);
// The amount the table holds once an amount is typed, or a stored amount
// is shown: the value its currency text reads back as (to the cent); none
// when the typed text is not a number.
std::optional<double> typedAmount(const QString& typed);
double shownAmount(double amount);
// A date cell's value; none when the cell does not hold a date.
std::optional<QDate> cellDate(const QString& cell);
