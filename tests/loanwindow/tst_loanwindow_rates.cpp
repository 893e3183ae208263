// Rate changes entered on their tab and the "Calculate:" list, typed as a
// user types (focus the box, type, Tab away): what is entered reaches the run,
// the payment table and the store, comes back when the loan is opened again,
// and what cannot be used is named with the focus on its field.
#include "LoanWindowHarness.h"

#include <QStyle>
#include "PinnedLocale.h"

#include <QLabel>

namespace {

using Kind = ScriptedMessages::Kind;

int rateTab(LoanWindowHarness& h)
{
    for (int tab = 0; tab < h.tabs()->count(); ++tab)
        if (h.tabs()->tabText(tab) == QLatin1String("Rate Changes")) return tab;
    qFatal("no Rate Changes tab");
}

// Focus the box, type over its text, Tab away.
void typeIn(LoanWindowHarness& h, const char* name, const QString& text)
{
    QLineEdit* box = h.box(name);
    box->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
    QApplication::processEvents();
}

// Picks a list's item with the arrow keys, as a user does on a closed list.
void choose(LoanWindowHarness& h, const char* name, int item)
{
    auto* list = h.w<QComboBox>(name);
    list->setFocus(Qt::TabFocusReason);
    while (list->currentIndex() < item) QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > item) QTest::keyClick(list, Qt::Key_Up);
    QApplication::processEvents();
}

struct Change {
    QDate from;
    QString rate;
    int mode = 0;  // 0 new payment, 1 same payment
};

// On the rate changes tab: a new row filled through the fields.
void addChange(LoanWindowHarness& h, const Change& c)
{
    h.tabs()->setCurrentIndex(rateTab(h));
    h.click("cmdAddRateChange");
    typeIn(h, "dtRateFrom", LocaleText::shortDateText(c.from));
    typeIn(h, "txtNewRate", c.rate);
    if (h.messages.texts().isEmpty()) choose(h, "cboRateMode", c.mode);
}

QStringList changeRows(LoanWindowHarness& h)
{
    QStringList rows;
    const QAbstractItemModel* model = h.w<QTableView>("flxRateChanges")->model();
    for (int row = 0; row < model->rowCount(); ++row) rows << LoanWindowHarness::rowTexts(model, row).join('|');
    return rows;
}

// The rows of the payment table marked as where a change took effect, with their tooltips.
QStringList markedRows(LoanWindowHarness& h)
{
    QStringList marked;
    const QAbstractItemModel* model = h.results();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex cell = model->index(row, 0);
        if (cell.data(Qt::DecorationRole).isNull())
            continue;
        marked << QStringLiteral("%1: %2").arg(row + 1).arg(cell.data(Qt::ToolTipRole).toString());
        // The marker leaves the payment's number and date whole.
        auto* table = h.w<QTableView>("flxResults");
        // The delegate's margins: before the icon, between icon and text, after the text.
        const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
        const int needed = table->fontMetrics().horizontalAdvance(cell.data().toString()) +
                           table->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, table) + 3 * margin;
        if (table->columnWidth(0) < needed)
            marked << QStringLiteral("%1: cut").arg(row + 1);
    }
    return marked;
}

// 100,000 at 6 % over 30 years, monthly from 1 February 2025, calculated.
void house(LoanWindowHarness& h)
{
    h.enterLoan("House", 2, "6", 1, "30", "100000", "", QDate(2025, 2, 1));
    h.calculate();
}

}  // namespace

Q_DECLARE_METATYPE(Change)

class tst_LoanWindowRates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinLocale(); }

    void changesReachTheTableAndTheStore_data()
    {
        QTest::addColumn<int>("setting");  // in kRegionalSettings
        QTest::addColumn<QList<Change>>("changes");
        QTest::addColumn<int>("deleted");  // the row deleted after adding them all, -1 none
        QTest::addColumn<QList<Change>>("edits");  // typed over the first row's fields afterwards
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QString>("lastRow");  // the payment number and balance of the table's last row
        const int us = 0, de = 3;
        QTest::newRow("one, new payment")
            << us << QList<Change>{{QDate(2030, 2, 1), "7.25", 0}} << -1 << QList<Change>{}
            << QStringList{"2/1/2030|7.25|New payment"}
            << QStringList{"61: Rate change 1 from 2/1/2030 takes effect: 7.25 % (New payment)"} << "360|0.00";
        QTest::newRow("one, edited: date, rate and mode")
            << us << QList<Change>{{QDate(2030, 2, 1), "7.25", 0}} << -1
            << QList<Change>{{QDate(2028, 2, 1), "5.5", 1}} << QStringList{"2/1/2028|5.5|Same payment"}
            << QStringList{"37: Rate change 1 from 2/1/2028 takes effect: 5.5 % (Same payment)"} << "";
        QTest::newRow("dated between payments")
            << us << QList<Change>{{QDate(2030, 1, 15), "7.25", 0}} << -1 << QList<Change>{}
            << QStringList{"1/15/2030|7.25|New payment"}
            << QStringList{"61: Rate change 1 from 1/15/2030 takes effect: 7.25 % (New payment)"} << "360|0.00";
        QTest::newRow("two, the second keeps the payment")
            << us << QList<Change>{{QDate(2030, 2, 1), "7.25", 0}, {QDate(2035, 2, 1), "4", 1}} << -1 << QList<Change>{}
            << QStringList{"2/1/2030|7.25|New payment", "2/1/2035|4|Same payment"}
            << QStringList{"61: Rate change 1 from 2/1/2030 takes effect: 7.25 % (New payment)",
                           "121: Rate change 2 from 2/1/2035 takes effect: 4 % (Same payment)"}
            << "";
        QTest::newRow("two, the first deleted")
            << us << QList<Change>{{QDate(2030, 2, 1), "7.25", 0}, {QDate(2035, 2, 1), "8", 0}} << 0 << QList<Change>{}
            << QStringList{"2/1/2035|8|New payment"}
            << QStringList{"121: Rate change 1 from 2/1/2035 takes effect: 8 % (New payment)"} << "360|0.00";
        QTest::newRow("German decimal comma")
            << de << QList<Change>{{QDate(2030, 2, 1), "7,25", 0}} << -1 << QList<Change>{}
            << QStringList{"01.02.2030|7,25|New payment"}
            << QStringList{"61: Rate change 1 from 01.02.2030 takes effect: 7,25 % (New payment)"} << "360|0,00";
    }

    // Added, deleted, recalculated, saved and opened again: the same rows, the
    // same marks, the same last row; each edit counts as a change.
    void changesReachTheTableAndTheStore()
    {
        QFETCH(int, setting);
        QFETCH(QList<Change>, changes);
        QFETCH(int, deleted);
        QFETCH(QList<Change>, edits);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, marked);
        QFETCH(QString, lastRow);
        PinnedLocale pinned(kRegionalSettings[setting].locale);
        LoanWindowHarness h(QDate(2024, 1, 10));
        h.open();
        h.show();
        h.enterLoan("House", 2, "6", 1, "30", "100000", "", QDate(2025, 2, 1));
        h.calculate();
        QVERIFY(h.window->save());
        QVERIFY(!h.window->DataHasChanged());
        for (const Change& c : changes) addChange(h, c);
        if (deleted >= 0) {
            h.w<QTableView>("flxRateChanges")->setCurrentIndex(
                h.w<QTableView>("flxRateChanges")->model()->index(deleted, 0));
            h.click("cmdDeleteRateChange");
        }
        for (const Change& c : edits) {
            QTableView* table = h.w<QTableView>("flxRateChanges");
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualRect(table->model()->index(0, 0)).center());
            typeIn(h, "dtRateFrom", LocaleText::shortDateText(c.from));
            typeIn(h, "txtNewRate", c.rate);
            choose(h, "cboRateMode", c.mode);
        }
        QVERIFY(h.window->DataHasChanged());
        h.click("cmdRecalculateRates");
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(changeRows(h), rows);
        QCOMPARE(markedRows(h), marked);
        const QStringList last = h.resultRow(h.results()->rowCount() - 1);
        if (!lastRow.isEmpty()) {
            QVERIFY2(last.first().startsWith(lastRow.section('|', 0, 0)), qPrintable(last.join('|')));
            QCOMPARE(last.last(), lastRow.section('|', 1));
        }
        // The marked row's texts are those of a row without a mark.
        QVERIFY(h.result(60, 0).startsWith(QStringLiteral("061 - ")) || marked.first().startsWith("121"));
        const QStringList table = [&] {
            QStringList all;
            for (int row = 0; row < h.results()->rowCount(); ++row) all << h.resultRow(row).join('|');
            return all;
        }();

        // The close prompt asks about the edits.
        h.messages.dismiss();
        QVERIFY(!h.window->queryClose());
        h.messages.clear();
        QVERIFY(h.window->save());
        const int key = h.window->Loan();
        h.open(1, key);
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(changeRows(h), rows);
        QCOMPARE(markedRows(h), marked);
        QStringList reopened;
        for (int row = 0; row < h.results()->rowCount(); ++row) reopened << h.resultRow(row).join('|');
        QCOMPARE(reopened, table);
        QVERIFY(!h.window->DataHasChanged() && !h.window->IsDataChanged());
    }

    void refusedWithTheFocusOnTheField_data()
    {
        QTest::addColumn<QList<Change>>("changes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("row");  // the row the fields show
        QTest::newRow("rate not a number")
            << QList<Change>{{QDate(2030, 2, 1), "seven", 0}} << "The rate of rate change 1 must be numeric."
            << "txtNewRate" << 0;
        QTest::newRow("rate negative")
            << QList<Change>{{QDate(2030, 2, 1), "7", 0}, {QDate(2031, 2, 1), "-1", 0}}
            << "The rate of rate change 2 cannot be a negative number." << "txtNewRate" << 1;
        QTest::newRow("rate blank") << QList<Change>{{QDate(2030, 2, 1), "", 0}}
                                    << "The rate of rate change 1 must be entered." << "txtNewRate" << 0;
        QTest::newRow("two on one date")
            << QList<Change>{{QDate(2030, 2, 1), "7", 0}, {QDate(2030, 2, 1), "8", 0}}
            << "Rate changes 1 and 2 both apply from 2/1/2030; keep one of them." << "dtRateFrom" << 1;
        QTest::newRow("same payment below the interest")
            << QList<Change>{{QDate(2030, 2, 1), "20", 1}}
            << "Under rate change 1 (20 % from 2/1/2030, \"Same payment\") the payment of $599.55 does not exceed the "
               "interest of $1,550.91 due with payment 61 on 2/1/2030, so the balance would never fall. Give that "
               "change \"New payment\" or a lower rate."
            << "txtNewRate" << 0;
    }

    // A rate that does not read is named when the box is left; a list the run
    // cannot follow is named at Recalculate. Either way the fields show the
    // change and the focus is where it must be mended; nothing is run.
    void refusedWithTheFocusOnTheField()
    {
        QFETCH(QList<Change>, changes);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(int, row);
        LoanWindowHarness h(QDate(2024, 1, 10));
        h.open();
        h.show();
        house(h);
        const QStringList before = h.resultRow(359);
        for (const Change& c : changes) addChange(h, c);
        if (h.messages.texts().isEmpty()) h.click("cmdRecalculateRates");
        QCOMPARE(h.messages.texts(), QStringList{message});
        QCOMPARE(h.tabs()->currentIndex(), rateTab(h));
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(h.w<QTableView>("flxRateChanges")->currentIndex().row(), row);
        QCOMPARE(h.resultRow(359), before);
    }

    void typedRateTakenBySave_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");  // empty: saved
        QTest::newRow("a rate") << "6.75" << "";
        QTest::newRow("no number") << "6,,75" << "The rate of rate change 1 must be numeric.";
    }

    // Save straight from the rate box (no Tab): what was typed is read
    // first, stored when it is a rate, refused by name when not.
    void typedRateTakenBySave()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        LoanWindowHarness h(QDate(2024, 1, 10));
        h.open();
        h.show();
        house(h);
        addChange(h, {QDate(2030, 2, 1), "7", 0});
        QLineEdit* rate = h.box("txtNewRate");
        rate->setFocus(Qt::TabFocusReason);
        rate->selectAll();
        QTest::keyClicks(rate, typed);
        const bool saved = h.window->save();
        QCOMPARE(saved, message.isEmpty());
        if (!saved) {
            QCOMPARE(h.messages.texts(), QStringList{message});
            QCOMPARE(QApplication::focusWidget(), rate);
            QCOMPARE(rate->text(), typed);
            QCOMPARE(h.store->listLoans().loans.size(), size_t(0));
            return;
        }
        const RateChangeList stored = h.store->readRateChanges(h.window->Loan());
        QCOMPARE(stored.rows.size(), size_t(1));
        QCOMPARE(stored.rows[0].annualPercent, std::optional<double>(6.75));
    }

    void storedChangesThatCannotBeShown_data()
    {
        QTest::addColumn<QString>("stored");  // the rate change row's values as another program wrote them
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown payment rule")
            << "'2030-02-01', 7, 7"
            << "380 - Invalid property value: rate change 1 is stored with the payment rule 7, which this program "
               "does not know";
        QTest::newRow("negative rate")
            << "'2030-02-01', -7, 0"
            << "380 - Invalid property value: The rate of rate change 1 cannot be a negative number.";
        QTest::newRow("no date") << "NULL, 7, 0" << "94 - Invalid use of Null";
    }

    // A stored rate change the window cannot show is named; the loan counts as
    // read in part, so a save does not replace the stored loan (a copy is offered).
    void storedChangesThatCannotBeShown()
    {
        QFETCH(QString, stored);
        QFETCH(QString, message);
        LoanWindowHarness h(QDate(2024, 1, 10));
        const int key = h.storeLoan(1);
        QCOMPARE(rawSql(h.store->path(), QStringLiteral("INSERT INTO tblRateChanges (Loan_FK, FromDate, AnnualRate, "
                                                        "Mode) VALUES (%1, %2)").arg(key).arg(stored)),
                 QStringList());
        const QByteArray before = rawBytes(h.store->path());
        frmLoan& window = h.open(1, key);
        QCOMPARE(h.messages.texts(Kind::Critical), QStringList{message});
        QVERIFY(!window.loadedWhole());
        h.messages.clear();
        h.messages.answer(false);  // no copy
        QVERIFY(!window.save());
        QCOMPARE(rawBytes(h.store->path()), before);
    }

    // A date that is no date is named by its caption and keeps the focus.
    void dateThatIsNoDate()
    {
        LoanWindowHarness h(QDate(2024, 1, 10));
        h.open();
        h.show();
        house(h);
        h.tabs()->setCurrentIndex(rateTab(h));
        h.click("cmdAddRateChange");
        typeIn(h, "dtRateFrom", "2/30/2030");
        QCOMPARE(h.messages.texts(), QStringList{DateBox::refusal(QStringLiteral("From"))});
        QCOMPARE(QApplication::focusWidget(), h.w("dtRateFrom"));
        QCOMPARE(h.text("dtRateFrom"), QStringLiteral("2/30/2030"));
    }

    void calculateChooser_data()
    {
        QTest::addColumn<int>("choice");     // Payment, Loan amount, Interest rate, Term
        QTest::addColumn<int>("termType");   // 0 months, 1 years
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("loanAmount");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QStringList>("shown");  // rate, term, loan amount, payment, payments, payoff; or the message
        QTest::newRow("payment, as before the list")
            << 0 << 0 << "360" << "6" << "100000" << ""
            << QStringList{"6", "360", "$100,000.00", "$599.55", "360", "1/1/2055"};
        QTest::newRow("payment with a blank amount derives the amount, as before")
            << 0 << 0 << "360" << "6" << "" << "599.55"
            << QStringList{"6", "360", "$99,999.91", "$599.55", "360", "1/1/2055"};
        QTest::newRow("loan amount, the typed amount left out")
            << 1 << 0 << "360" << "6" << "5" << "599.55"
            << QStringList{"6", "360", "$99,999.91", "$599.55", "360", "1/1/2055"};
        QTest::newRow("interest rate") << 2 << 0 << "360" << "" << "100000" << "599.55"
                                       << QStringList{"6", "360", "$100,000.00", "$599.55", "360", "1/1/2055"};
        QTest::newRow("term in months") << 3 << 0 << "" << "6" << "100000" << "599.55"
                                        << QStringList{"6", "360", "$100,000.00", "$599.55", "360", "1/1/2055"};
        QTest::newRow("term in years") << 3 << 1 << "" << "6" << "100000" << "599.55"
                                       << QStringList{"6", "30", "$100,000.00", "$599.55", "360", "1/1/2055"};
        QTest::newRow("term landing on whole years")
            << 3 << 1 << "" << "6" << "100000" << "700"
            << QStringList{"6", "21", "$100,000.00", "$700.00", "252", "1/1/2046"};
        QTest::newRow("term between whole years")
            << 3 << 1 << "" << "6" << "100000" << "650"
            << QStringList{"6", "25", "$100,000.00", "$650.00", "294", "7/1/2049"};
        QTest::newRow("no rate gives the payment")
            << 2 << 0 << "360" << "" << "100000" << "200"
            << QStringList{"No interest rate of 0 % or more gives a Payment Amount of $200.00 on a Loan Amount of "
                           "$100,000.00 over this term: even without interest the payment is larger."};
        QTest::newRow("payment below the interest")
            << 3 << 0 << "" << "6" << "100000" << "400"
            << QStringList{"The Payment Amount $400.00 does not exceed the interest of the first period on a Loan "
                           "Amount of $100,000.00, so the loan would never be repaid."};
    }

    // "Calculate:" chosen with the keyboard; the box it names is written, the
    // others keep what was typed; what cannot be solved names the payment box.
    void calculateChooser()
    {
        QFETCH(int, choice);
        QFETCH(int, termType);
        QFETCH(QString, term);
        QFETCH(QString, rate);
        QFETCH(QString, loanAmount);
        QFETCH(QString, payment);
        QFETCH(QStringList, shown);
        LoanWindowHarness h(QDate(2024, 1, 10));
        h.open();
        h.show();
        h.enterLoan("House", 2, rate, termType, term, loanAmount, payment, QDate(2025, 2, 1));
        choose(h, "cboCalculate", choice);
        h.calculate();
        if (shown.size() == 1) {
            QCOMPARE(h.messages.texts(), shown);
            QCOMPARE(QApplication::focusWidget(), h.w("txtPaymentAmount"));
            QCOMPARE(h.results()->rowCount(), 0);
            return;
        }
        QCOMPARE(h.messages.texts(), QStringList());
        const int payments = h.results()->rowCount();
        QCOMPARE((QStringList{h.text("txtInterestRate"), h.text("txtTerm"), h.text("txtLoanAmount"),
                              h.text("txtPaymentAmount"), QString::number(payments), h.text("txtOrigPayoffDate")}),
                 shown);
        // A solved term also says how many payments it takes and when the last is due.
        auto* found = h.w<QLabel>("lblTermFound");
        QCOMPARE(found->isVisible(), choice == 3);
        if (choice == 3)
            QCOMPARE(found->text(), QStringLiteral("%1 payments, the last on %2").arg(shown[4], shown[5]));

        // The choice is part of the loan: saved, and back when it is opened.
        QVERIFY(h.window->save());
        h.open(1, h.window->Loan());
        QCOMPARE(h.w<QComboBox>("cboCalculate")->currentIndex(), choice);
        QCOMPARE(h.results()->rowCount(), payments);
        QCOMPARE(h.messages.texts(), QStringList());
    }

    // The list is reached with its access key, and a new window derives the payment.
    void chooserAccessKeyAndDefault()
    {
        LoanWindowHarness h(QDate(2024, 1, 10));
        h.open();
        h.show();
        QCOMPARE(h.w<QComboBox>("cboCalculate")->currentText(), QStringLiteral("Payment"));
        QTest::keyClick(h.window.get(), Qt::Key_U, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), h.w("cboCalculate"));
    }

    // The Formulas page explains both rules and the solving.
    void formulasExplainTheRule()
    {
        LoanWindowHarness h;
        h.open();
        const QString text = h.w<QLabel>("lblRateChanges")->text();
        for (const char* part : {"New payment", "Same payment", "Interest rate", "Term", "Newton"})
            QVERIFY2(text.contains(QLatin1String(part)), part);
    }
};


QTEST_MAIN(tst_LoanWindowRates)
#include "tst_loanwindow_rates.moc"
