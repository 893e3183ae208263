#pragma once

#include "Loan.h"
#include "RateChangeRow.h"
#include "Schedule.h"

#include <QDate>

#include <vector>

// Everything one successful run produced, for the window, the report and the store.
struct LoanResult {
    // The loan as the run read it, with what it found filled in: the loan
    // amount and the payment to the cent, a solved rate or term.
    Loan loan;
    std::vector<RateChangeRow> rateChanges;  // as given; ScheduleRow::rateChange counts from 1 into them
    engine::ScheduleResult schedule;
    QDate today;
};
