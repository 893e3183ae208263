#pragma once

#include "Loan.h"
#include "LoanRecord.h"
#include "LoanRows.h"
#include "NumberedError.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

class StoreConnection;

// The one SQLite connection of the program's run and the store operations on
// it. Every value reaches SQL as a bound parameter; keys are whole numbers.
class LoanStore {
public:
    // Opens an existing store read-write; never creates the file. A missing
    // or empty file, a file that is not a database, one whose layout is not
    // that of a store version the program knows (StoreVersions: a missing
    // table, or more than the program's own schema) and a damaged one
    // (SQLite's integrity_check) are errors whose text says so. The
    // connection keeps SQLite's defences for files from elsewhere on.
    static std::variant<std::unique_ptr<LoanStore>, engine::NumberedError> open(const QString& path);

    ~LoanStore();
    LoanStore(const LoanStore&) = delete;
    LoanStore& operator=(const LoanStore&) = delete;

    QString path() const;

    // "SELECT SeqNo, Description FROM tblLoanDetail", in store order. A read
    // that stops part-way keeps the loans read so far and says why it stopped;
    // a loan that cannot be listed as stored is named in the error too.
    LoanList listLoans() const;

    // One loan by key; an error numbered NoCurrentRecord when the key has no
    // row, and an Overflow, before the row is read, when its description is
    // longer than StoreValues::kLongestDescription characters.
    std::variant<LoanRecord, engine::NumberedError> readLoan(int key) const;

    // A loan's extra payments in store order; on a failure part-way, the rows
    // read before it and the error. More rows than a loan can hold (32,767)
    // are counted first and refused with an Overflow, none of them read.
    ExtraPaymentList readExtraPayments(int key) const;

    // A loan's rate changes in store order, read as the extra payments are
    // (none in a store of version 0).
    RateChangeList readRateChanges(int key) const;
    // A loan's skipped payments, alike (none before version 2).
    SkippedPaymentList readSkippedPayments(int key) const;

    // The stored loan as a window read it, from the fingerprints of its row
    // (LoanRecord) and of its lists: extra payments, rate changes, skipped payments.
    static QByteArray loanFingerprint(const QByteArray& row, const QByteArray& extraPayments,
                                      const QByteArray& rateChanges, const QByteArray& skippedPayments);

    // Stores a loan and replaces all of its rows (extra payments, rate
    // changes, skipped payments) in one transaction. An older store is upgraded in that transaction as far
    // as the loan needs (a store of version 0 when the loan has rate changes
    // or a "Calculate:" choice other than the payment), and left in its
    // layout otherwise.
    // The loan's amount is the one to store (a payment-only loan's derived
    // amount, see loanForSaving()).
    // A description longer than reading takes (StoreValues::kLongestDescription)
    // is refused with an Overflow before anything is written.
    // mode 0 adds a row and hands back mode 1 and the new key; any other mode
    // updates the row `key`. On failure nothing changes (neither the store nor
    // mode and key) and the error is returned. With `check`, an update first
    // compares the stored loan with check->expected and refuses, saying what
    // it found, when another program changed or deleted it meanwhile.
    std::optional<engine::NumberedError> saveLoan(int& mode, int& key, const Loan& loan, const LoanRows& rows,
                                                  SaveCheck* check = nullptr);

    // Deletes a loan's extra payments, rate changes and the loan in one transaction. With
    // `check`, the stored loan is first compared with check->expected (when
    // given) inside the same transaction: a loan another program changed
    // meanwhile is not deleted (found Changed, current its fingerprint now,
    // and an error); one already gone is reported as found Deleted, its
    // leftover extra payments removed, and no error.
    std::optional<engine::NumberedError> deleteLoan(int key, SaveCheck* check = nullptr);

private:
    explicit LoanStore(std::unique_ptr<StoreConnection> connection);

    std::unique_ptr<StoreConnection> m_connection;
};
