-- The layout of stores made before rate changes (store version 0): such a
-- store keeps opening, and is upgraded to schema.sql the first time it must.

-- AUTOINCREMENT so a deleted loan's key is never handed out again.
CREATE TABLE tblLoanDetail (
    SeqNo INTEGER PRIMARY KEY AUTOINCREMENT,
    Description TEXT,
    OrigAmount REAL,
    InterestRate REAL,
    Term INTEGER,
    TermType INTEGER,
    Frequency INTEGER,
    StartDate TEXT -- ISO date, yyyy-MM-dd
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
