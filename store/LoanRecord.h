#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

// The texts a loan window hands to the store when saving (converted by the
// store with the program's own number and date reading).
struct LoanRecordTexts {
    QString description;
    QDate startDate;
    QString origAmount;
    QString interestRate;
    QString term;
    int termType = 0;
    int frequency = 0;
};

// One row of the extra payments table as text, the way the grid holds it.
struct ExtraPaymentTexts {
    QString type;    // "L" lump sum, anything else repeating
    QString start;   // short date text
    QString stop;    // short date text; ignored for "L"
    QString amount;  // "0.00" or currency text
};

// A stored loan row read back. Values are as stored, so the loader can apply
// them in order and report the first one it cannot use.
struct LoanRecord {
    int seqNo = 0;
    QVariant description;   // text
    QVariant origAmount;    // number
    QVariant interestRate;  // number
    QVariant term;          // whole number
    QVariant startDate;     // QDate
    QVariant termType;      // whole number
    QVariant frequency;     // whole number
};

// A stored extra payment row read back.
struct ExtraPaymentRecord {
    QVariant paymentType;  // 0 lump sum, anything else (or null) repeating
    QVariant startDate;    // QDate
    QVariant endDate;      // QDate or null
    QVariant amount;       // number
};

// An entry of the loan list.
struct LoanListEntry {
    int seqNo = 0;
    QString description;  // as stored
};
