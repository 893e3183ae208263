// The loan as lenders state it and loans of every common shape, typed as a
// user types them: the boxes and rows reach the run, the figures come back
// into the window, the loan is saved and reopened whole, and what cannot be
// calculated is refused at the input it is about. (The schedules themselves
// are the engine's and the loan layer's tests.)
#include "LoanWindowHarness.h"
#include "ResultsTable.h"

#include <QLabel>

namespace {

QString money(double value)
{
    return LocaleText::currencyText(value);
}

QString number(double value, int decimals = -1)
{
    return decimals < 0 ? QLocale().toString(value) : QLocale().toString(value, 'f', decimals);
}

struct Shape {
    QString interestOnly{}, balloonAfter{};
    QDate skipFrom{};  // invalid: no skip
    int skipCount = 0, skipThen = 0;
    QDate lumpSum{};  // invalid: no extra payment
    double lumpSumAmount = 0.0;
    bool lowers = false;
};

}  // namespace

Q_DECLARE_METATYPE(Shape)

class tst_LoanWindowShapes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinUnitedStates(); }

    // Compounding, an accelerated frequency, fees and points typed, the APR
    // shown; saved, reopened with every value in its box and the same figures.
    void lendersTerms_data()
    {
        QTest::addColumn<int>("setting");  // in kRegionalSettings
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("compounding");
        QTest::addColumn<double>("amount");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("years");
        QTest::addColumn<double>("fees");
        QTest::addColumn<double>("points");
        QTest::addColumn<double>("payment");
        QTest::addColumn<double>("financed");
        QTest::addColumn<double>("apr");
        QTest::addColumn<int>("payments");
        QTest::newRow("Canadian mortgage") << 0 << 2 << 2 << 85000.0 << 11.0 << 25 << 0.0 << 0.0 << 818.15
                                           << 85000.0 << 10.756 << 300;
        QTest::newRow("accelerated bi-weekly") << 0 << 8 << 2 << 200000.0 << 7.5 << 15 << 0.0 << 0.0 << 920.51
                                               << 200000.0 << 7.373 << 339;
        QTest::newRow("fees and points, German") << 3 << 2 << 0 << 75000.0 << 13.25 << 30 << 500.0 << 1.0 << 844.33
                                                 << 73750.0 << 13.493 << 360;
    }
    void lendersTerms()
    {
        QFETCH(int, setting);
        QFETCH(int, frequency);
        QFETCH(int, compounding);
        QFETCH(double, amount);
        QFETCH(double, rate);
        QFETCH(int, years);
        QFETCH(double, fees);
        QFETCH(double, points);
        QFETCH(double, payment);
        QFETCH(double, financed);
        QFETCH(double, apr);
        QFETCH(int, payments);
        PinnedLocale pinned(kRegionalSettings[setting].locale);
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Offer", frequency, number(rate), 1, QString::number(years), number(amount, 2));
        h.choose("cboCompounding", compounding);
        if (fees > 0) h.type("txtFees", number(fees, 2));
        if (points > 0) h.type("txtPoints", number(points));
        h.calculate();
        QCOMPARE(h.messages.texts(), QStringList());
        const QStringList shown{money(payment), money(financed), number(apr, 3) + " %", QString::number(payments)};
        const auto figures = [&h] {
            return QStringList{h.text("txtPaymentAmount"), h.text("txtAmountFinanced"), h.text("txtAPR"),
                               QString::number(h.model("flxResults")->rowCount())};
        };
        QCOMPARE(figures(), shown);
        QVERIFY(h.window->save());
        const int key = h.window->Loan();

        h.open(key);
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(h.w<QComboBox>("cboCompounding")->currentIndex(), compounding);
        QCOMPARE(h.w<QComboBox>("cboppt")->currentIndex(), frequency);
        QCOMPARE(h.text("txtFees"), fees > 0 ? money(fees) : QString());
        QCOMPARE(h.text("txtPoints"), points > 0 ? number(points) : QString());
        QCOMPARE(figures(), shown);
        QVERIFY(!h.window->DataHasChanged());
    }

    // $300,000 at 7.5 % over 30 years, monthly, in each shape: the payment,
    // the row where the shape shows with its tip, the balloon or the lowered
    // payment when there is one; then saved and reopened with the same.
    void shapes_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<double>("payment");
        QTest::addColumn<int>("payments");
        QTest::addColumn<int>("marked");  // a row (from 0) the shape marks
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QList<double>>("cells");  // its principal and interest
        QTest::addColumn<double>("balloon");     // 0: none shown
        QTest::addColumn<double>("lowered");     // 0: none shown
        const QDate year2(2025, 1, 15);
        QTest::newRow("interest only") << 0 << Shape{.interestOnly = "120"} << 2416.78 << 360 << 0
                                       << "Interest only" << QList<double>{0, 1875} << 0.0 << 0.0;
        QTest::newRow("7-year balloon, German") << 3 << Shape{.balloonAfter = "84"} << 2097.64 << 84 << 83
                                                << "Balloon payment" << QList<double>() << 275502.55 << 0.0;
        QTest::newRow("6 skipped, new payment") << 0 << Shape{.skipFrom = year2, .skipCount = 6, .skipThen = 0}
                                                << 2097.64 << 360 << 12 << "Skipped payment"
                                                << QList<double>{-1857.72, 1857.72} << 0.0 << 0.0;
        QTest::newRow("6 skipped, same payment, German")
            << 3 << Shape{.skipFrom = year2, .skipCount = 6, .skipThen = 1} << 2097.64 << 423 << 12
            << "Skipped payment" << QList<double>{-1857.72, 1857.72} << 0.0 << 0.0;
        QTest::newRow("recast after a lump sum")
            << 0 << Shape{.lumpSum = year2, .lumpSumAmount = 20000, .lowers = true} << 2097.64 << 360 << 12
            << "lowers the payment" << QList<double>() << 0.0 << 1956.39;
    }
    void shapes()
    {
        QFETCH(int, setting);
        QFETCH(Shape, shape);
        QFETCH(double, payment);
        QFETCH(int, payments);
        QFETCH(int, marked);
        QFETCH(QString, tip);
        QFETCH(QList<double>, cells);
        QFETCH(double, balloon);
        QFETCH(double, lowered);
        PinnedLocale pinned(kRegionalSettings[setting].locale);
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Home", 2, number(7.5), 1, "30", number(300000, 2));
        if (!shape.interestOnly.isEmpty()) h.type("txtInterestOnly", shape.interestOnly);
        if (!shape.balloonAfter.isEmpty()) h.type("txtBalloonAfter", shape.balloonAfter);
        h.calculate();
        if (shape.skipFrom.isValid()) {
            h.click("cmdAddSkip");
            h.type("dtSkipFrom", LocaleText::shortDateText(shape.skipFrom));
            h.type("txtSkipCount", QString::number(shape.skipCount));
            h.choose("cboSkipThen", shape.skipThen);
            h.click("cmdRecalculateSkips");
        }
        if (shape.lumpSum.isValid()) {
            h.addPayment(true, shape.lumpSum, {}, number(shape.lumpSumAmount, 2));
            h.choose("cboThen", shape.lowers ? 1 : 0);
            h.click("cmdRecalculate");
        }
        QCOMPARE(h.messages.texts(), QStringList());

        const auto check = [&] {
            QCOMPARE(h.text("txtPaymentAmount"), money(payment));
            QCOMPARE(h.model("flxResults")->rowCount(), payments);
            QCOMPARE(h.cell("flxResults", payments - 1, int(ResultsColumn::Balance)), number(0, 2));
            const QModelIndex first = h.model("flxResults")->index(marked, 0);
            QVERIFY2(first.data(Qt::ToolTipRole).toString().contains(tip), qPrintable(first.data(Qt::ToolTipRole).toString()));
            QVERIFY(!first.data(Qt::DecorationRole).isNull());
            QVERIFY(h.model("flxResults")->index(marked + 1, 0).data(Qt::DecorationRole).isNull() || shape.skipFrom.isValid());
            if (!shape.interestOnly.isEmpty())
                QVERIFY(h.model("flxResults")->index(120, 0).data(Qt::ToolTipRole).toString().contains(
                    "The interest-only payments end: the payment is " + money(payment)));
            if (shape.skipFrom.isValid()) {  // the payment after the skips: a new one (checked by hand) or the same
                const QModelIndex after = h.model("flxResults")->index(marked + shape.skipCount, 0);
                QVERIFY(after.data(Qt::ToolTipRole).toString().contains(
                    "The skipped payments end: the payment is " + money(shape.skipThen ? payment : 2188.31)));
                QVERIFY(!after.data(Qt::DecorationRole).isNull());
            }
            if (!cells.isEmpty())
                QCOMPARE((QStringList{h.cell("flxResults", marked, int(ResultsColumn::Principal)),
                                      h.cell("flxResults", marked, int(ResultsColumn::Interest))}),
                         (QStringList{number(cells.value(0), 2), number(cells.value(1), 2)}));
            QCOMPARE(!h.w("txtBalloon")->isHidden(), balloon > 0);
            QCOMPARE(h.text("txtBalloon"), balloon > 0 ? money(balloon) : QString());
            QCOMPARE(!h.w("txtLoweredPayment")->isHidden(), lowered > 0);
            QCOMPARE(h.text("txtLoweredPayment"), lowered > 0 ? money(lowered) : QString());
        };
        check();
        QVERIFY(h.window->save());
        h.open(h.window->Loan());
        QCOMPARE(h.messages.texts(), QStringList());
        check();
        if (shape.skipFrom.isValid())
            QCOMPARE(h.row("flxSkippedPayments", 0),
                     (QStringList{LocaleText::shortDateText(shape.skipFrom), QString::number(shape.skipCount),
                                  shape.skipThen ? "Same payment" : "New payment"}));
        if (shape.lumpSum.isValid())
            QCOMPARE(h.cell("flxPayments", 0, 4), "Lower the payment");
        QVERIFY(!h.window->DataHasChanged());
    }

    // What cannot be calculated is named, at the input it is about.
    void refused_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("choice");  // Calculate list position
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("interest only over the term") << "txtInterestOnly" << "360" << 0
            << "Interest Only must be at least 1 fewer than the 360 scheduled payments." << "txtInterestOnly";
        QTest::newRow("balloon at the end") << "txtBalloonAfter" << "360" << 0
            << "Balloon After must be less than the 360 scheduled payments." << "txtBalloonAfter";
        QTest::newRow("solving with a balloon") << "txtBalloonAfter" << "84" << 2
            << "The Interest Rate cannot be calculated for a loan with a balloon: choose Payment or Loan amount."
            << "cboCalculate";
        QTest::newRow("solving with interest only") << "txtInterestOnly" << "12" << 3
            << "The Term cannot be calculated for a loan with interest-only payments: choose Payment or Loan amount."
            << "cboCalculate";
    }
    void refused()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, choice);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Home", 2, "7.5", 1, "30", "300000", "2097.64");
        h.choose("cboCalculate", choice);
        h.type(qPrintable(box), typed);
        h.calculate();
        QCOMPARE(h.messages.texts(), QStringList{message});
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    // Two skips that share payments are refused naming both, the later one in
    // the fields; a count of none is refused as typed.
    void skipsRefused()
    {
        LoanWindowHarness h;
        h.open();
        h.enterLoan("Home", 2, "7.5", 1, "30", "300000");
        h.calculate();
        h.click("cmdAddSkip");
        h.type("dtSkipFrom", "1/15/2025");
        h.type("txtSkipCount", "0");
        QCOMPARE(h.messages.texts(), QStringList{"The payments skipped by skip 1 must be a whole number, 1 or more."});
        QCOMPARE(QApplication::focusWidget(), h.w("txtSkipCount"));
        h.messages.clear();
        h.type("txtSkipCount", "6");
        h.click("cmdAddSkip");
        h.type("dtSkipFrom", "3/15/2025");
        h.click("cmdRecalculateSkips");
        QCOMPARE(h.messages.texts(), QStringList{"Skipped payments 1 and 2 share payments; keep them apart."});
        QCOMPARE(QApplication::focusWidget(), h.w("dtSkipFrom"));
        QCOMPARE(h.text("dtSkipFrom"), "3/15/2025");
    }
};

QTEST_MAIN(tst_LoanWindowShapes)
#include "tst_loanwindow_shapes.moc"
