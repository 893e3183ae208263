-- The layout of stores of version 1: loans, their extra payments and their
-- rate changes. Such a store keeps opening, and is upgraded to schema.sql the
-- first time it must.

-- AUTOINCREMENT so a deleted loan's key is never handed out again.
-- Calculate and Payment were added by store version 1 (a store of version 0
-- gains them, last, when it is upgraded, so they stay the last columns here).
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
    Payment REAL -- the payment the amount, rate or term is found from, NULL otherwise
);

-- EndDate is NULL for a lump sum; rows are read back in rowid order.
CREATE TABLE tblExtraPayments (
    Loan_FK INTEGER,
    PaymentType INTEGER, -- 0 lump sum, 1 repeating
    StartDate TEXT,      -- ISO date
    EndDate TEXT,        -- ISO date or NULL
    Amount REAL
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

PRAGMA user_version = 1;
