#pragma once

#include "RateChange.h"
#include "Shapes.h"

#include <QDate>
#include <QString>

#include <vector>

// Payments not made: the `count` payments due on or after `from`; then, as
// after a rate change, a new level payment or the same one.
struct SkippedPaymentRow {
    QDate from;
    int count = 1;
    engine::RateChangeMode mode = engine::RateChangeMode::NewPayment;
    bool operator==(const SkippedPaymentRow&) const = default;
};

std::vector<engine::SkippedPayments> engineSkippedPayments(const std::vector<SkippedPaymentRow>& rows);
