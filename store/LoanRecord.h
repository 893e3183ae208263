#pragma once

#include "ExtraPaymentRow.h"
#include "StoreError.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// The texts a loan window hands to the store when saving; the store converts
// them with the program's own number and date reading.
struct LoanRecordTexts {
    QString description;
    QDate startDate;
    QString origAmount;     // may be blank: then the amount derived from the payment is stored
    QString paymentAmount;  // read only when origAmount is blank
    QString interestRate;
    QString term;
    int termType = 0;
    int frequency = 0;
};


// A stored loan read back, already in the window's text forms. An empty
// optional is a column whose value is missing (NULL) or cannot be used, so the
// loader can fill the controls in order and report the first it cannot set.
struct LoanRecord {
    int seqNo = 0;
    std::optional<QString> description;
    std::optional<QString> origAmount;    // plain number text: 1234.5
    std::optional<QString> interestRate;  // plain number text: 6.5
    std::optional<QString> term;          // plain number text: 30
    std::optional<QDate> startDate;
    std::optional<int> termType;          // as stored; the loader checks the range
    std::optional<int> frequency;         // as stored; the loader checks the range
    QByteArray fingerprint;               // of the row as read, to notice changes by others
};

// A stored extra payment read back in the grid's text forms.
struct ExtraPaymentRecord {
    QString type;                  // "L" for 0, "R" for anything else, NULL included
    std::optional<QString> start;  // short date text
    std::optional<QString> stop;   // "R": short date text (empty optional when NULL); "L": always ""
    std::optional<QString> amount; // regional currency text: $1,234.50
};

// A loan's extra payments as read: every row up to a failure, and the failure.
struct ExtraPaymentList {
    std::vector<ExtraPaymentRecord> rows;
    std::optional<StoreError> error;
    QByteArray fingerprint;  // of the rows as read
};

// An entry of the loan list.
struct LoanListEntry {
    int seqNo = 0;
    QString description;  // as stored
};

// The loan list as read: every loan listed, and why any could not be.
struct LoanList {
    std::vector<LoanListEntry> loans;
    std::optional<StoreError> error;
};

// What a save found when it compared the stored loan with the window's copy.
enum class StoredLoan { AsExpected, Changed, Deleted };

struct SaveCheck {
    std::optional<QByteArray> expected;        // in: as last read or written; none: no comparison
    StoredLoan found = StoredLoan::AsExpected; // out: why the save was refused
    QByteArray current;                        // out: the stored loan's fingerprint when refused
    QByteArray saved;                          // out: the loan's fingerprint after a save
};
