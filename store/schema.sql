-- The Brimvale store: loans, their extra payments, rate changes and skipped
-- payments.

-- AUTOINCREMENT so a deleted loan's key is never handed out again.
-- Calculate and Payment were added by store version 1, the columns after them
-- by version 2: an older store gains them, last, when it is upgraded, so each
-- version's stay after the earlier ones' here.
CREATE TABLE tblLoanDetail (
    SeqNo INTEGER PRIMARY KEY AUTOINCREMENT,
    Description TEXT,
    OrigAmount REAL,
    InterestRate REAL,
    Term INTEGER,
    TermType INTEGER,
    Frequency INTEGER,
    StartDate TEXT, -- ISO date, yyyy-MM-dd
    Calculate INTEGER, -- what Calculate derives: 0 payment, 1 loan amount, 2 rate, 3 term, NULL as 0
    Payment REAL, -- the payment the amount, rate or term is found from, NULL otherwise
    Compounding INTEGER, -- 0 as payments ... 10 continuously; NULL as 0 (set for accelerated payments too)
    Fees REAL,           -- paid at the start, a finance charge; NULL as none
    Points REAL,         -- percent of the loan amount; NULL as none
    LoanDate TEXT,       -- ISO date the money is advanced; NULL: a payment period before the first
    InterestOnly INTEGER, -- payments at the start that pay the interest only; NULL as none
    BalloonAfter INTEGER  -- the payment at which the rest falls due; NULL as none
);

-- EndDate is NULL for a lump sum; rows are read back in rowid order.
CREATE TABLE tblExtraPayments (
    Loan_FK INTEGER,
    PaymentType INTEGER, -- 0 lump sum, 1 repeating
    StartDate TEXT,      -- ISO date
    EndDate TEXT,        -- ISO date or NULL
    Amount REAL,
    Effect INTEGER       -- since version 2: 1 lowers the payment after it; 0 or NULL shortens the loan
);

CREATE INDEX idxExtraPaymentsLoan ON tblExtraPayments (Loan_FK);

-- Since store version 1; rows are read back in rowid order.
CREATE TABLE tblRateChanges (
    Loan_FK INTEGER,
    FromDate TEXT,    -- ISO date
    AnnualRate REAL,  -- percent a year, 6.5 for 6.5 %
    Mode INTEGER      -- 0 new payment, 1 same payment
);

CREATE INDEX idxRateChangesLoan ON tblRateChanges (Loan_FK);

-- Since store version 2; rows are read back in rowid order.
CREATE TABLE tblSkippedPayments (
    Loan_FK INTEGER,
    FromDate TEXT,   -- ISO date: the first payment due on or after it is skipped
    Count INTEGER,   -- how many payments are skipped
    Mode INTEGER     -- then: 0 new payment, 1 same payment
);

CREATE INDEX idxSkippedPaymentsLoan ON tblSkippedPayments (Loan_FK);

PRAGMA user_version = 2;
