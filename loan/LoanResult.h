#pragma once

#include "Loan.h"
#include "LoanRows.h"
#include "Disclosure.h"
#include "Schedule.h"

#include <QDate>

#include <vector>

// Everything one successful run produced, for the window, the report and the store.
struct LoanResult {
    // The loan as the run read it, with what it found filled in: the loan
    // amount and the payment to the cent, a solved rate or term.
    Loan loan;
    LoanRows rows;  // as given; ScheduleRow::rateChange counts from 1 into rows.rateChanges
    engine::ScheduleResult schedule;
    // The amount financed, the finance charge and the APR of the run.
    engine::DisclosureFigures disclosure;
    QDate today;
};
