#pragma once

#include "ExtraPayments.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// One extra payment as typed values.
struct ExtraPaymentRow {
    engine::ExtraPaymentKind kind = engine::ExtraPaymentKind::Repeating;
    QDate start;
    std::optional<QDate> stop;  // repeating only
    double amount = 0.0;
    // What it does after it is applied: shorten the loan, or lower the payment.
    engine::ExtraPaymentThen then = engine::ExtraPaymentThen::ShortenTheLoan;
    bool operator==(const ExtraPaymentRow&) const = default;
};

std::vector<engine::ExtraPayment> engineExtraPayments(const std::vector<ExtraPaymentRow>& rows);

// The table's "Type" cell: "L" lump sum, "R" otherwise.
QString extraPaymentTypeText(engine::ExtraPaymentKind kind);

// The "Then" cell and list entry: "Shorten the loan" or "Lower the payment".
QString extraPaymentThenText(engine::ExtraPaymentThen then);
