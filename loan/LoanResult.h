#pragma once

#include "Loan.h"
#include "LoanInputs.h"
#include "Schedule.h"

#include <QDate>

// Everything one successful run produced, for the window, the report and the store.
struct LoanResult {
    // The inputs as they stand after the run: the whole term, and the loan
    // amount and payment written back as currency text.
    LoanInputs inputs;
    Loan loan;  // as the run read it: a blank loan amount stays empty
    engine::ScheduleResult schedule;
    QDate today;
};
