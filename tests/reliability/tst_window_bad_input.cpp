// Hostile input at the loan window: megabyte pastes, control characters,
// right-to-left text, numbers the readers must refuse and a term that
// overflows. Each must end in a validation message, a clear error or a sound
// calculation; the window must stay usable and nothing stored may be damaged.

#include "LoanWindowHarness.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

const QString kMegabyteOfNines = QString(1 << 20, QLatin1Char('9'));
const QString kMegabyteOfLetters = QString(1 << 20, QLatin1Char('x'));

}  // namespace

class WindowBadInput : public QObject {
    Q_OBJECT

private:
    // A calculated, stored loan of 1,000.00 at 12 % over 3 months.
    void openGoodLoan(LoanWindowHarness& h)
    {
        h.open();
        h.show();
        h.enterLoan(QStringLiteral("Car"), 2, QStringLiteral("12"), 0, QStringLiteral("3"),
                    QStringLiteral("1000"), QString(), QDate(2024, 1, 15));
        h.calculate();
        QCOMPARE(h.text("txtPaymentAmount"), QStringLiteral("$340.02"));
        int mode = h.window->Mode;
        int key = h.window->Loan;
        QVERIFY(h.window->SaveLoan(mode, key));
        h.window->Mode = mode;
        h.window->Loan = key;
        h.messages.clear();
    }

    void paste(LoanWindowHarness& h, const char* box, const QString& text)
    {
        QLineEdit* edit = h.box(box);
        edit->setFocus();
        edit->selectAll();
        QGuiApplication::clipboard()->setText(text);
        edit->paste();
    }

    // The window still calculates the good loan after the bad input is gone.
    void expectStillUsable(LoanWindowHarness& h, const char* box, const QString& goodText)
    {
        h.messages.clear();
        h.type(box, goodText);
        h.calculate();
        QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join(QLatin1Char('|'))));
        QCOMPARE(h.text("txtPaymentAmount"), QStringLiteral("$340.02"));
        QCOMPARE(h.results()->rowCount(), 3);
    }

    // The stored loan is still the one saved before the bad input.
    void expectStoredIntact(LoanWindowHarness& h)
    {
        auto record = h.store->readLoan(h.window->Loan);
        QVERIFY(std::holds_alternative<LoanRecord>(record));
        const auto& loan = std::get<LoanRecord>(record);
        QCOMPARE(loan.description.value_or(QString()), QStringLiteral("Car"));
        QCOMPARE(shownNumber(loan.origAmount), QStringLiteral("1000"));
        QCOMPARE(shownNumber(loan.interestRate), QStringLiteral("12"));
    }

private slots:
    void initTestCase() { pinLocale(); }

    // Texts the number reader must refuse (or, for -0, the amount rule),
    // pasted into each number box.
    void refusedNumbers_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("good");
        QTest::addColumn<QString>("message");

        const struct {
            const char* box;
            const char* good;
            const char* message;
        } boxes[] = {
            {"txtInterestRate", "12", "Interest rate must be numeric."},
            {"txtTerm", "3", "Payment Term must be numeric."},
            {"txtLoanAmount", "1000", "The Loan Amount must be numeric."},
        };
        const struct {
            const char* name;
            QString text;
        } texts[] = {
            {"megabyte of digits", kMegabyteOfNines},
            {"megabyte of letters", kMegabyteOfLetters},
            {"control characters", QStringLiteral("1\x01\x02" "2\t")},
            {"right to left", QStringLiteral("\u0661\u0662 \u0642\u0631\u0636")},
            {"1e308", QStringLiteral("1e308")},
            {"NaN", QStringLiteral("NaN")},
            {"Infinity", QStringLiteral("Infinity")},
            {"hex", QStringLiteral("0x10")},
        };
        for (const auto& b : boxes)
            for (const auto& t : texts)
                QTest::addRow("%s %s", b.box, t.name)
                    << QByteArray(b.box) << t.text << QString::fromLatin1(b.good)
                    << QString::fromLatin1(b.message);
        QTest::newRow("txtLoanAmount -0") << QByteArray("txtLoanAmount") << QStringLiteral("-0")
                                          << QStringLiteral("1000")
                                          << QStringLiteral("Loan Amount must be greater than $0.00.");
    }

    void refusedNumbers()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, text);
        QFETCH(QString, good);
        QFETCH(QString, message);

        LoanWindowHarness h;
        openGoodLoan(h);
        const QString tableBefore = h.result(0, 6);
        paste(h, box.constData(), text);
        h.calculate();
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Warning), QStringList{message});
        QCOMPARE(QApplication::focusWidget(), h.box(box.constData()));
        QCOMPARE(h.result(0, 6), tableBefore);
        expectStoredIntact(h);
        expectStillUsable(h, box.constData(), good);
    }

    // Descriptions are free text: whatever is pasted is kept whole, stored
    // and read back unchanged.
    void descriptionsKeptWhole_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("megabyte") << kMegabyteOfLetters;
        QTest::newRow("control characters and right to left")
            << QStringLiteral("Car\x01\x07\x1b \u0642\u0631\u0636 x'); DROP TABLE tblLoanDetail; --");
    }

    void descriptionsKeptWhole()
    {
        QFETCH(QString, description);
        LoanWindowHarness h;
        openGoodLoan(h);
        paste(h, "txtLoan", description);
        QCOMPARE(h.text("txtLoan"), description);
        h.calculate();
        QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join(QLatin1Char('|'))));
        int mode = h.window->Mode;
        int key = h.window->Loan;
        QVERIFY(h.window->SaveLoan(mode, key));
        auto record = h.store->readLoan(key);
        QVERIFY(std::holds_alternative<LoanRecord>(record));
        QCOMPARE(std::get<LoanRecord>(record).description.value_or(QString()), description);
    }

    // Ten megabytes pasted into a number box are refused whole with their own
    // message; the box keeps what it held and the window calculates on.
    void tenMegabytePasteRefusedByNumberBoxes_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<int>("tab");
        for (const char* box : {"txtInterestRate", "txtTerm", "txtLoanAmount", "txtPaymentAmount"})
            QTest::newRow(box) << QByteArray(box) << 0;
        QTest::newRow("txtXPaymentAmount") << QByteArray("txtXPaymentAmount") << 1;
    }
    void tenMegabytePasteRefusedByNumberBoxes()
    {
        QFETCH(QByteArray, box);
        QFETCH(int, tab);
        LoanWindowHarness h;
        openGoodLoan(h);
        h.tabs()->setCurrentIndex(tab);
        if (tab == 1) h.click("cmdAddPayment");
        const QString before = h.text(box.constData());
        paste(h, box.constData(), QString(10 << 20, QLatin1Char('9')));
        QApplication::processEvents();
        QCOMPARE(h.text(box.constData()), before);
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Warning),
                 QStringList{"The text is too long for this box, which holds at most 2,097,152 characters; nothing was pasted."});
        h.tabs()->setCurrentIndex(0);
        h.calculate();
        QCOMPARE(h.text("txtPaymentAmount"), QStringLiteral("$340.02"));
        expectStoredIntact(h);
    }

    // A long description stays whole in its box and the store; the caption
    // and the questions show it shortened with an ellipsis.
    void longDescriptionShownShortened()
    {
        LoanWindowHarness h;
        openGoodLoan(h);
        const QString description = QString(200000, QLatin1Char('x'));
        paste(h, "txtLoan", description);
        const QString shown = QString(119, QLatin1Char('x')) + QChar(0x2026);
        QCOMPARE(h.text("txtLoan"), description);
        QCOMPARE(h.window->windowTitle(), shown);
        h.messages.answer(false);
        h.window->DeleteLoan(h.window->Loan);
        h.messages.answer(false);
        QVERIFY(h.window->queryClose());
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Question),
                 (QStringList{shown + " - Are you sure you wish to delete this loan?",
                              shown + " - Information has changed\r\nDo you want to save the changes?"}));
        int mode = h.window->Mode, key = h.window->Loan;
        QVERIFY(h.window->SaveLoan(mode, key));
        QCOMPARE(std::get<LoanRecord>(h.store->readLoan(key)).description.value_or(QString()), description);
    }

    void extraPaymentAmount_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::newRow("megabyte of digits") << kMegabyteOfNines;
        QTest::newRow("NaN") << QStringLiteral("NaN");
        QTest::newRow("control characters") << QStringLiteral("\x01\x02");
    }

    void extraPaymentAmount()
    {
        QFETCH(QString, amount);
        LoanWindowHarness h;
        openGoodLoan(h);
        h.tabs()->setCurrentIndex(1);
        h.click("cmdAddPayment");
        paste(h, "txtXPaymentAmount", amount);
        h.focus("cmdRecalculate");
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Warning), QStringList{QStringLiteral("Amount must be numeric")});
        QCOMPARE(h.payment(0, 4), QStringLiteral("0.00"));
        expectStoredIntact(h);
    }

    void weeklyTermOf32767MonthsOverflows()
    {
        LoanWindowHarness h;
        openGoodLoan(h);
        h.tabs()->setCurrentIndex(0);
        h.w<QComboBox>("cboppt")->setCurrentIndex(0);
        h.type("txtTerm", QStringLiteral("32767"));
        const QString paymentBefore = h.text("txtPaymentAmount");
        const int rowsBefore = h.results()->rowCount();
        h.calculate();
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Critical), QStringList{QStringLiteral("6 - Overflow")});
        QCOMPARE(h.text("txtPaymentAmount"), paymentBefore);
        QCOMPARE(h.results()->rowCount(), rowsBefore);
        h.w<QComboBox>("cboppt")->setCurrentIndex(2);
        expectStillUsable(h, "txtTerm", QStringLiteral("3"));
        expectStoredIntact(h);
    }
};

QTEST_MAIN(WindowBadInput)
#include "tst_window_bad_input.moc"
