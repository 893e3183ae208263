// A stored loan is never lost or changed without a word: a window that did
// not read its loan whole never writes over it, a save over a loan that
// another program changed asks first, and values the window cannot show as
// stored are reported. Real store files, messages recorded by the double.

#include "LoanWindowHarness.h"
#include "RawStore.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using Kind = ScriptedMessages::Kind;

namespace {

const QString kRefused = QStringLiteral(
    "Car - This loan was not read completely from the store, so it is not saved: saving would replace the stored "
    "loan with only the part shown here.\r\nDo you want to save what this window shows as a new loan (Save As Copy) "
    "instead?");

// A second program on the same store file.
struct OtherProgram {
    explicit OtherProgram(const QString& path)
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(path);
        db.open();
    }
    ~OtherProgram()
    {
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }
    bool run(const QString& statement)
    {
        QSqlQuery query(db);
        const bool ok = query.exec(statement);
        if (!ok) qWarning("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
        return ok;
    }
    QSqlDatabase db;
};

// 3,000 lump sums, the n-th on 1 January 2030 plus n - 1 days.
std::vector<ExtraPaymentTexts> manyPayments()
{
    std::vector<ExtraPaymentTexts> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back({QStringLiteral("L"), QDate(2030, 1, 1).addDays(i).toString(QStringLiteral("M/d/yyyy")), {},
                        QStringLiteral("1")});
    return rows;
}

}  // namespace

class WindowStoredLoan : public QObject {
    Q_OBJECT

    QString storePath(LoanWindowHarness& h) const { return h.dir.filePath(QStringLiteral("Brimvaledb.mdb")); }

private slots:
    void initTestCase() { pinLocale(); }

    // Loads that fail part-way; the window must then refuse to save over the
    // stored loan, offer a copy, and leave the file exactly as it was.
    void partLoadRefusesSave_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("error");  // the start of the load's critical message
        QTest::addColumn<int>("rowsShown");
        QTest::addColumn<int>("errorCount");  // the loan, its extra payments and its rate changes each report their own
        QTest::newRow("malformed extra payment record")
            << "record" << "11 - The extra payments of loan 1 cannot all be read: the store file is damaged" << 1499 << 1;
        QTest::newRow("store locked by another program")
            << "lock" << "5 - The loan 1 cannot be read: another program is using the store file" << 0 << 3;
        // Counted before any is read: none is read.
        QTest::newRow("more extra payments than the window holds")
            << "overflow" << "6 - Overflow: loan 1 has 32,768 extra payments, more than the 32,767 a loan can hold"
            << 0 << 1;
        QTest::newRow("description of more than a million characters")
            << "huge description" << "6 - Overflow: the description of loan 1 is 1,000,002 characters long" << 3000
            << 1;
        // Shown in part: the rest of the loan is read.
        QTest::newRow("description longer than the box holds")
            << "long description" << "The stored description is 2,003 characters long, more than the 1,000 this box "
                                     "holds: the window shows its first 1,000 characters." << 3000 << 1;
        QTest::newRow("loan amount beyond what the boxes show")
            << "huge amount" << "6 - Overflow: the stored loan amount 1e+308 is larger than 9,999,999,999,999.99"
            << 3000 << 1;
        QTest::newRow("extra payment amount beyond what the table shows")
            << "huge payment"
            << "6 - Overflow: the stored amount 10000000000000 of extra payment 1500 is larger than 9,999,999,999,999.99"
            << 1499 << 1;
        QTest::newRow("start date the window cannot show")
            << "date" << "380 - Invalid property value: the date of first payment 0050-03-01 lies outside" << 3000 << 1;
        // The row that cannot be shown whole is left out; the copy holds the rows before it.
        QTest::newRow("extra payment without an amount") << "null amount" << "94 - Invalid use of Null" << 1499 << 1;
        QTest::newRow("description that is not text")
            << "blob" << "13 - Type mismatch: the description of loan 1" << 3000 << 1;
    }
    void partLoadRefusesSave()
    {
        QFETCH(QString, fault);
        QFETCH(QString, error);
        QFETCH(int, rowsShown);
        QFETCH(int, errorCount);
        LoanWindowHarness h;
        const QString path = storePath(h);
        std::vector<ExtraPaymentTexts> extras = manyPayments();
        if (fault == "overflow") extras.resize(32768, extras.front());
        const int key = h.storeLoan(0, extras);
        QCOMPARE(key, 1);
        std::unique_ptr<OtherProgram> other;
        if (fault == "record") {
            // Damaged while the program runs: a damaged file is refused at open.
            QVERIFY(breakExtraPaymentRecord(path, 1500));
            QVERIFY(bumpChangeCounter(path));
        } else {
            other = std::make_unique<OtherProgram>(path);
            if (fault == "lock") QVERIFY(other->run("BEGIN EXCLUSIVE"));
            if (fault == "date") QVERIFY(other->run("UPDATE tblLoanDetail SET StartDate = '0050-03-01'"));
            if (fault == "blob") QVERIFY(other->run("UPDATE tblLoanDetail SET Description = X'436172FF'"));
            if (fault == "huge description")
                QVERIFY(other->run("UPDATE tblLoanDetail SET Description = hex(zeroblob(500001))"));
            if (fault == "long description")
                QVERIFY(other->run("UPDATE tblLoanDetail SET Description = 'Car' || hex(zeroblob(1000))"));
            if (fault == "huge amount") QVERIFY(other->run("UPDATE tblLoanDetail SET OrigAmount = 1e308"));
            if (fault == "huge payment")
                QVERIFY(other->run("UPDATE tblExtraPayments SET Amount = 1e13 WHERE StartDate = '" +
                                   QDate(2030, 1, 1).addDays(1499).toString(Qt::ISODate) + "'"));
            if (fault == "null amount")
                QVERIFY(other->run("UPDATE tblExtraPayments SET Amount = NULL WHERE StartDate = '" +
                                   QDate(2030, 1, 1).addDays(1499).toString(Qt::ISODate) + "'"));
        }
        frmLoan& window = h.open(1, key);
        if (fault == "lock") QVERIFY(other->run("ROLLBACK"));
        const QStringList errors = h.messages.texts(Kind::Critical);
        QCOMPARE(errors.size(), errorCount);
        QVERIFY2(errors[0].startsWith(error), qPrintable(errors[0]));
        QVERIFY(!window.loadedWhole());
        QCOMPARE(h.paymentCount(), rowsShown);
        if (fault == "long description")
            QCOMPARE(h.text("txtLoan"), QStringLiteral("Car") + QString(997, QLatin1Char('0')));
        const QByteArray stored = rawBytes(path);

        // Typed in, then Save: refused with the offer; No saves nothing.
        h.messages.clear();
        h.enterLoan("Car", 2, "6", 0, "3", "10000", {}, QDate(2024, 1, 15));
        QSignalSpy copyWanted(&window, &frmLoan::saveAsCopyRequested);
        h.messages.answer(false);
        QVERIFY(!window.save());
        QCOMPARE(h.messages.texts(), QStringList{kRefused});
        QCOMPARE(copyWanted.size(), 0);
        // The close prompt's Yes keeps the window open; the offer's Yes asks for the copy.
        h.messages.clear();
        h.messages.answer(true);
        h.messages.answer(true);
        QVERIFY(!window.queryClose());
        QCOMPARE(h.messages.texts(Kind::Question).value(1), kRefused);
        QCOMPARE(copyWanted.size(), 1);
        QCOMPARE(window.Mode(), 1);
        QCOMPARE(window.Loan(), key);
        QCOMPARE(rawBytes(path), stored);

        // Save As Copy stores what the window shows under a new key.
        h.messages.clear();
        QVERIFY(window.saveAsCopy());
        const int copy = window.Loan();
        QVERIFY(copy != key);
        QCOMPARE(h.store->readExtraPayments(copy).rows.size(), size_t(rowsShown));
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(window.Mode(), 1);
        QVERIFY(window.loadedWhole());
        QVERIFY(window.save());  // the copy is the window's own now
    }

    // Delete still works on a window that did not read its loan whole.
    void partLoadStillDeletes()
    {
        LoanWindowHarness h;
        const int key = h.storeLoan(2, {{"L", "3/1/2024", "", "5"}});  // term unit 2 cannot be shown
        frmLoan& window = h.open(1, key);
        QVERIFY(!window.loadedWhole());
        h.messages.clear();
        h.messages.answer(true);
        window.DeleteLoan(window.Loan());
        QCOMPARE(h.messages.texts(), QStringList{"Car - Are you sure you wish to delete this loan?"});
        QVERIFY(std::holds_alternative<engine::NumberedError>(h.store->readLoan(key)));
        QCOMPARE(h.store->readExtraPayments(key).rows.size(), size_t(0));
    }

    // A never-saved window deletes nothing, also when another program stored a loan under key 0.
    void newWindowDeletesNothing()
    {
        LoanWindowHarness h;
        const int kept = h.storeLoan(0, {{"L", "3/1/2024", "", "5"}});
        QCOMPARE(rawSql(storePath(h), "INSERT INTO tblLoanDetail (SeqNo, Description, OrigAmount, InterestRate, Term, "
                                      "TermType, Frequency, StartDate) VALUES (0, 'Zero', 100, 5, 3, 0, 2, '2024-01-15')"),
                 QStringList());
        QCOMPARE(rawSql(storePath(h), "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, Amount) "
                                      "VALUES (0, 0, '2024-03-01', 7)"),
                 QStringList());
        frmLoan& window = h.open();
        h.show();
        h.type("txtLoan", "New");
        h.messages.answer(true);
        window.DeleteLoan(window.Loan());
        QCOMPARE(h.messages.texts(), QStringList{"New - Are you sure you wish to delete this loan?"});
        QVERIFY(!window.isVisible());
        QCOMPARE(h.store->listLoans().loans.size(), size_t(2));
        QCOMPARE(std::get<LoanRecord>(h.store->readLoan(0)).description, QString("Zero"));
        QCOMPARE(h.store->readExtraPayments(0).rows.size(), size_t(1));
        QCOMPARE(h.store->readExtraPayments(kept).rows.size(), size_t(1));
    }

    // Another program changes or deletes the loan between this window's load
    // and its Delete (two real connections): what it saved goes only on a
    // second Yes; a loan already gone is reported, not deleted in silence.
    void deleteAfterAnotherProgram_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("answer");  // to the second question: Yes, No or Esc
        QTest::addColumn<bool>("deleted");
        QTest::newRow("unchanged: no second question") << "" << "" << true;
        QTest::newRow("rate changed, Yes") << "UPDATE tblLoanDetail SET InterestRate = 6.50000001" << "Yes" << true;
        QTest::newRow("rate changed, No") << "UPDATE tblLoanDetail SET InterestRate = 6.50000001" << "No" << false;
        QTest::newRow("amount changed, Esc") << "UPDATE tblLoanDetail SET OrigAmount = 10000.01" << "Esc" << false;
        QTest::newRow("extra payment a day later, No")
            << "UPDATE tblExtraPayments SET StartDate = '2024-03-02'" << "No" << false;
        QTest::newRow("extra payment added, Yes")
            << "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, Amount) VALUES (1, 0, '2024-04-01', 9)"
            << "Yes" << true;
        QTest::newRow("already deleted") << "DELETE FROM tblLoanDetail; DELETE FROM tblExtraPayments" << "" << true;
    }
    void deleteAfterAnotherProgram()
    {
        QFETCH(QString, change);
        QFETCH(QString, answer);
        QFETCH(bool, deleted);
        LoanWindowHarness h;
        const int key = h.storeLoan(0, {{"L", "3/1/2024", "", "5"}});
        frmLoan& window = h.open(1, key);
        h.show();
        QVERIFY(window.loadedWhole());
        h.type("txtLoan", "Car, mine");  // unsaved work the Delete throws away only when asked
        OtherProgram other(storePath(h));
        for (const QString& statement : change.split("; ", Qt::SkipEmptyParts)) QVERIFY(other.run(statement));
        const QByteArray theirs = rawBytes(storePath(h));
        h.messages.clear();
        h.messages.answer(true);  // "Are you sure ...?"
        if (answer == "Esc")
            h.messages.dismiss();
        else if (!answer.isEmpty())
            h.messages.answer(answer == "Yes");
        window.DeleteLoan(window.Loan());

        QStringList expected{"Car, mine - Are you sure you wish to delete this loan?"};
        if (!answer.isEmpty())
            expected << "Another program has changed this loan since this window read it. Delete it anyway?";
        if (change.startsWith("DELETE"))
            expected << "This loan was no longer in the store: another program had already deleted it.";
        QCOMPARE(h.messages.texts(), expected);
        QCOMPARE(h.messages.unexpectedQuestions(), 0);
        QCOMPARE(h.messages.pendingAnswers(), 0);
        QCOMPARE(window.isVisible(), !deleted);
        if (!deleted) {  // theirs kept as they saved it, this window as it was
            QCOMPARE(rawBytes(storePath(h)), theirs);
            QCOMPARE(window.description(), QString("Car, mine"));
            QVERIFY(window.IsDataChanged());
            return;
        }
        QCOMPARE(rawSql(storePath(h), "SELECT count(*) FROM tblLoanDetail"), QStringList{"0"});
        QCOMPARE(rawSql(storePath(h), "SELECT count(*) FROM tblExtraPayments"), QStringList{"0"});
    }

    // The window's own save is no change by another program: Delete after Save asks once.
    void deleteAfterOwnSave()
    {
        LoanWindowHarness h;
        const int key = h.storeLoan(0, {{"L", "3/1/2024", "", "5"}});
        frmLoan& window = h.open(1, key);
        h.show();
        h.type("txtLoan", "Car, mine");
        QVERIFY(window.save());
        h.messages.clear();
        h.messages.answer(true);
        window.DeleteLoan(window.Loan());
        QCOMPARE(h.messages.texts(), QStringList{"Car, mine - Are you sure you wish to delete this loan?"});
        QCOMPARE(rawSql(storePath(h), "SELECT count(*) FROM tblLoanDetail"), QStringList{"0"});
    }

    // Another program changes or deletes the loan between this window's load and its save.
    void changedByAnotherProgram_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        const QString changed = QStringLiteral(
            "Car, mine - Another program has changed this loan in the store since this window opened or last saved "
            "it.\r\nDo you want to replace the stored loan with what this window shows?");
        const QString deleted = QStringLiteral(
            "Car, mine - Another program has deleted this loan from the store since this window opened or last saved "
            "it.\r\nDo you want to save what this window shows as a new loan?");
        QTest::newRow("row changed, No") << "UPDATE tblLoanDetail SET Description = 'Car, theirs'" << false << changed;
        QTest::newRow("row changed, Yes") << "UPDATE tblLoanDetail SET Description = 'Car, theirs'" << true << changed;
        QTest::newRow("extra payment added, No")
            << "INSERT INTO tblExtraPayments (Loan_FK, PaymentType, StartDate, Amount) VALUES (1, 0, '2024-04-01', 9)"
            << false << changed;
        QTest::newRow("extra payment changed, Yes") << "UPDATE tblExtraPayments SET Amount = 6" << true << changed;
        QTest::newRow("deleted, No") << "DELETE FROM tblLoanDetail" << false << deleted;
        QTest::newRow("deleted, Yes") << "DELETE FROM tblLoanDetail" << true << deleted;
        QTest::newRow("unchanged: no question") << "" << false << "";
    }
    void changedByAnotherProgram()
    {
        QFETCH(QString, change);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        LoanWindowHarness h;
        const int key = h.storeLoan(0, {{"L", "3/1/2024", "", "5"}});
        frmLoan& window = h.open(1, key);
        h.show();
        QVERIFY(window.loadedWhole());
        h.type("txtLoan", "Car, mine");
        if (!change.isEmpty()) QCOMPARE(rawSql(storePath(h), change), QStringList());
        const QByteArray theirs = rawBytes(storePath(h));
        if (!question.isEmpty()) h.messages.answer(yes);
        const bool saved = window.save();
        QCOMPARE(h.messages.texts(), question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(h.messages.unexpectedQuestions(), 0);
        QCOMPARE(saved, question.isEmpty() || yes);
        if (!saved) {  // nothing stored, the window as it was
            QCOMPARE(rawBytes(storePath(h)), theirs);
            QCOMPARE(window.Loan(), key);
            QVERIFY(window.IsDataChanged());
            return;
        }
        const bool deleted = change.startsWith("DELETE");
        QCOMPARE(window.Loan() == key, !deleted);
        QCOMPARE(std::get<LoanRecord>(h.store->readLoan(window.Loan())).description, QString("Car, mine"));
        const auto extras = h.store->readExtraPayments(window.Loan());
        QCOMPARE(extras.rows.size(), size_t(1));
        QCOMPARE(extraPaymentAmountText(extras.rows[0].amount.value_or(0)), QString("$5.00"));
        // What was just saved is this window's again: the next save asks nothing.
        h.messages.clear();
        QVERIFY(window.save());
        QCOMPARE(h.messages.texts(), QStringList());
    }
};

QTEST_MAIN(WindowStoredLoan)
#include "tst_window_stored_loan.moc"
