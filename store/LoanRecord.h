#pragma once

#include "ExtraPayments.h"
#include "NumberedError.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>


// A stored loan read back as typed values. An empty optional is a column
// whose value is missing (NULL) or cannot be used, so the loader can fill the
// controls in order and report the first it cannot set.
struct LoanRecord {
    int seqNo = 0;
    std::optional<QString> description;
    std::optional<double> origAmount;
    std::optional<double> interestRate;
    std::optional<double> term;           // as stored, not necessarily whole
    std::optional<QDate> startDate;
    std::optional<int> termType;          // as stored; the loader checks the range
    std::optional<int> frequency;         // as stored; the loader checks the range
    std::optional<int> calculate = 0;     // the "Calculate:" position as stored, NULL (and a store of
                                          // version 0) as 0; empty when not a whole number
    std::optional<double> payment;        // the payment the amount, rate or term is found from; none: NULL
    // Version 2's optional values, NULL as none (0, or no date): the
    // compounding's list position, the fees, the points, the loan date, the
    // interest-only payments and the balloon's payment number.
    std::optional<int> compounding;
    std::optional<double> fees;
    std::optional<double> points;
    std::optional<QDate> loanDate;
    std::optional<int> interestOnly;
    std::optional<int> balloonAfter;
    // Those of them holding a value that is no number or date ("Fees").
    QStringList unusable;
    QByteArray fingerprint;               // of the row as read, to notice changes by others
};

// A loan's rows of one table as read: every row up to a failure, and the failure.
template <typename Record>
struct StoredList {
    std::vector<Record> rows;
    std::optional<engine::NumberedError> error;
    QByteArray fingerprint;  // of the rows as read
};

// A stored extra payment read back as typed values; an empty optional is a
// value that is missing (NULL) or not a date or number.
struct ExtraPaymentRecord {
    engine::ExtraPaymentKind kind = engine::ExtraPaymentKind::Repeating;  // lump sum for 0, anything else repeating
    std::optional<QDate> start;
    std::optional<QDate> stop;     // repeating only; a lump sum's is never read
    std::optional<double> amount;
    int then = 0;  // 1 lowers the payment after it; NULL (and a store before version 2) as 0
};

using ExtraPaymentList = StoredList<ExtraPaymentRecord>;

// A stored rate change read back as typed values; an empty optional is a
// value that is missing (NULL) or not a date or number.
struct RateChangeRecord {
    std::optional<QDate> from;
    std::optional<double> annualPercent;
    std::optional<int> mode;  // as stored; the loader checks it
};

using RateChangeList = StoredList<RateChangeRecord>;

// A stored skip of payments read back as typed values; an empty optional is
// a value that is missing (NULL) or not a date or number.
struct SkippedPaymentRecord {
    std::optional<QDate> from;
    std::optional<int> count;
    std::optional<int> mode;  // as stored; the loader checks it
};

using SkippedPaymentList = StoredList<SkippedPaymentRecord>;

// An entry of the loan list.
struct LoanListEntry {
    int seqNo = 0;
    QString description;  // as stored
};

// The loan list as read: every loan listed, and why any could not be.
struct LoanList {
    std::vector<LoanListEntry> loans;
    std::optional<engine::NumberedError> error;
};

// What a save or a delete found when it compared the stored loan with the window's copy.
enum class StoredLoan { AsExpected, Changed, Deleted };

struct SaveCheck {
    std::optional<QByteArray> expected;        // in: as last read or written; none: no comparison
    StoredLoan found = StoredLoan::AsExpected; // out: why the save or delete was refused (a delete: or that
                                               //      the loan was already gone)
    QByteArray current;                        // out: the stored loan's fingerprint when refused
    QByteArray saved;                          // out: the loan's fingerprint after a save
};
