// A stored loan is never lost or changed without a word: what the window
// cannot show as stored is reported and never saved over, a stored choice
// whose payment and amount disagree falls back to the amount, and a save or
// delete over what another program changed asks first.
#include "LoanWindowHarness.h"

#include <QSignalSpy>

namespace {

const QString kRefused = QStringLiteral(
    "Loan - This loan was not read completely from the store, so it is not saved: saving would replace the stored "
    "loan with only the part shown here.\r\nDo you want to save what this window shows as a new loan (Save As Copy) "
    "instead?");

const ExtraPaymentRow kLumpSum{engine::ExtraPaymentKind::LumpSum, QDate(2024, 3, 1), std::nullopt, 5};

}  // namespace

class tst_LoanWindowStored : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinUnitedStates(); }

    // Values another program stored that the window cannot show as they are:
    // reported; the window refuses to save over the loan, offers a copy, and
    // the file stays exactly as it was.
    void partLoadRefusesSave_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("error");  // the start of the load's message
        QTest::addColumn<int>("rowsShown");
        QTest::newRow("a term that is not whole") << "UPDATE tblLoanDetail SET Term = 30.5"
            << "380 - Invalid property value: the stored term 30.5 is not a whole number" << 1;
        QTest::newRow("a term unit the list does not hold") << "UPDATE tblLoanDetail SET TermType = 2"
            << "380 - Invalid property value" << 1;
        QTest::newRow("a description longer than its box")
            << "UPDATE tblLoanDetail SET Description = 'Loan' || hex(zeroblob(1000))"
            << "The stored description is 2,004 characters long, more than the 1,000 this box holds" << 1;
        QTest::newRow("a loan amount beyond the largest") << "UPDATE tblLoanDetail SET OrigAmount = 1e308"
            << "6 - Overflow: the stored loan amount 1e+308 is larger than 9,999,999,999,999.99" << 1;
        QTest::newRow("an extra payment without an amount") << "UPDATE tblExtraPayments SET Amount = NULL"
            << "94 - Invalid use of Null" << 0;
        QTest::newRow("an extra payment of an unknown effect") << "UPDATE tblExtraPayments SET Effect = 7"
            << "380 - Invalid property value: extra payment 1 is stored with the effect 7" << 0;
        QTest::newRow("a skip of no payments")
            << "INSERT INTO tblSkippedPayments (Loan_FK, FromDate, Count, Mode) SELECT SeqNo, '2025-01-15', 0, 0 FROM "
               "tblLoanDetail"
            << "380 - Invalid property value: skip 1 is stored with 0 payments" << 1;
    }
    void partLoadRefusesSave()
    {
        QFETCH(QString, change);
        QFETCH(QString, error);
        QFETCH(int, rowsShown);
        LoanWindowHarness h;
        const int key = h.storeLoan({}, {kLumpSum});
        h.changeStore(change);
        frmLoan& window = h.open(key);
        const QStringList errors = h.messages.texts(Kind::Critical);
        QVERIFY2(!errors.isEmpty() && errors.first().startsWith(error), qPrintable(errors.join('|')));
        QVERIFY(!window.loadedWhole());
        QCOMPARE(h.model("flxPayments")->rowCount(), rowsShown);
        const QByteArray stored = rawBytes(h.store.path());

        // Typed in, then saved: refused with the offer; No saves nothing, Yes asks for the copy.
        h.messages.clear();
        h.enterLoan("Loan", 2, "6", 1, "30", "100000");
        QSignalSpy copyWanted(&window, &frmLoan::saveAsCopyRequested);
        h.messages.answer(false);
        QVERIFY(!window.save());
        QCOMPARE(h.messages.texts(), QStringList{kRefused});
        h.messages.answer(true);
        QVERIFY(!window.save());
        QCOMPARE(copyWanted.size(), 1);
        QCOMPARE(rawBytes(h.store.path()), stored);
        QCOMPARE(window.Loan(), key);
        // The copy stores what the window shows under a new key, and is the window's own.
        h.messages.clear();
        QVERIFY(window.saveAsCopy());
        QVERIFY(window.Loan() != key && window.loadedWhole());
        QCOMPARE(h.store->readExtraPayments(window.Loan()).rows.size(), size_t(rowsShown));
        QVERIFY(window.save());
        QCOMPARE(h.messages.texts(), QStringList());
    }

    // A loan whose "Calculate:" finds the amount from the payment, after an
    // older program saved another amount without the payment: the stored
    // amount stands, Calculate falls back to "Payment", and the user is told.
    void stalePaymentYieldsToTheAmount()
    {
        LoanWindowHarness h;
        SampleLoan loan;
        loan.amount = 99999.91;
        const int key = h.storeLoan(loan);
        h.changeStore("UPDATE tblLoanDetail SET Calculate = 1, Payment = 599.55, OrigAmount = 150000");
        h.open(key);
        QCOMPARE(h.messages.texts(Kind::Warning),
                 QStringList{"The stored payment of $599.55 does not give the stored loan amount of $150,000.00 (an "
                             "older version of the program may have changed the loan): the loan amount stands, and "
                             "Calculate is set to Payment."});
        QCOMPARE(h.text("txtLoanAmount") + ' ' + h.text("txtPaymentAmount"), QString("$150,000.00 $899.33"));
        QCOMPARE(h.w<QComboBox>("cboCalculate")->currentIndex(), 0);
        QVERIFY(h.window->DataHasChanged());
        h.messages.clear();
        QVERIFY(h.window->save());
        QCOMPARE(rawSql(h.store.path(), "SELECT OrigAmount, coalesce(Calculate, 0) FROM tblLoanDetail"), QStringList{"150000|0"});
        // The choice saved with its payment opens without a word.
        h.choose("cboCalculate", 1);
        h.calculate();
        const QString found = h.text("txtLoanAmount");
        QVERIFY(h.window->save());
        h.open(key);
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(h.text("txtLoanAmount"), found);
    }

    // Another program changes or deletes the loan between this window's load
    // and its save or delete: what it stored goes only when the user says so.
    void anotherProgramFirst_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("answer");  // to the question about the other program: 1 Yes, 0 No, -1 Esc
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("stored");  // the descriptions stored after
        const QString changed = "Loan, mine - Another program has changed this loan in the store since this window "
                                "opened or last saved it.\r\nDo you want to replace the stored loan with what this "
                                "window shows?";
        const QString deleted = "Loan, mine - Another program has deleted this loan from the store since this window "
                                "opened or last saved it.\r\nDo you want to save what this window shows as a new loan?";
        const QString deleteAnyway = "Another program has changed this loan since this window read it. Delete it anyway?";
        QTest::newRow("save, unchanged") << "save" << "" << 0 << "" << "Loan, mine";
        QTest::newRow("save, extra payment changed, No") << "save" << "UPDATE tblExtraPayments SET Amount = 6" << 0
                                                         << changed << "Loan";
        QTest::newRow("save, row changed, Yes") << "save" << "UPDATE tblLoanDetail SET Description = 'Theirs'" << 1
                                                << changed << "Loan, mine";
        QTest::newRow("save, deleted, Yes") << "save" << "DELETE FROM tblLoanDetail" << 1 << deleted << "Loan, mine";
        QTest::newRow("delete, rate changed, Esc") << "delete" << "UPDATE tblLoanDetail SET InterestRate = 6.5" << -1
                                                   << deleteAnyway << "Loan";
        QTest::newRow("delete, rate changed, Yes") << "delete" << "UPDATE tblLoanDetail SET InterestRate = 6.5" << 1
                                                   << deleteAnyway << "";
        QTest::newRow("delete, unchanged") << "delete" << "" << 0 << "" << "";
    }
    void anotherProgramFirst()
    {
        QFETCH(QString, command);
        QFETCH(QString, change);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QString, stored);
        LoanWindowHarness h;
        const int key = h.storeLoan({}, {kLumpSum});
        frmLoan& window = h.open(key);
        h.type("txtLoan", "Loan, mine");
        if (!change.isEmpty()) h.changeStore(change);
        if (command == "delete") h.messages.answer(true);  // "Are you sure ...?"
        if (!question.isEmpty()) {
            if (answer == -1) h.messages.dismiss();
            else h.messages.answer(answer == 1);
        }
        if (command == "save") window.save();
        else window.DeleteLoan(window.Loan());
        QCOMPARE(h.messages.texts(Kind::Question).filter("Another program"),
                 question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(h.messages.unexpectedQuestions(), 0);
        QStringList descriptions;
        for (const LoanListEntry& entry : h.store->listLoans().loans) descriptions << entry.description;
        QCOMPARE(descriptions.join('|'), stored);
        if (stored.isEmpty()) QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(tst_LoanWindowStored)
#include "tst_loanwindow_stored.moc"
