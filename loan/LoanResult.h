#pragma once

#include "Loan.h"
#include "LoanInputs.h"
#include "RateChangeRow.h"
#include "Schedule.h"

#include <QDate>

// Everything one successful run produced, for the window, the report and the store.
struct LoanResult {
    // The inputs as they stand after the run: the whole term, and the loan
    // amount and payment written back as currency text.
    LoanInputs inputs;
    Loan loan;  // as the run read it: a blank loan amount stays empty; a solved rate or term filled in
    std::vector<RateChangeRow> rateChanges;  // as given; ScheduleRow::rateChange counts from 1 into them
    engine::ScheduleResult schedule;
    QDate today;
};
