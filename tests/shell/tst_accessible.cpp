// What a screen reader finds in each window: every control the keyboard can
// reach has a name of its own, taken from the label beside it, the charts say
// their figures, and Tab walks the loan's inputs in the order they are read.
#include "ShellFixture.h"

#include "BalanceChart.h"
#include "HelpWindow.h"
#include "LocaleText.h"
#include "SummaryChart.h"
#include "frmAbout.h"
#include "frmCompare.h"
#include "frmOpen.h"

#include <QAccessible>
#include <QChartView>

namespace {

// A caption as the user reads it: "Loan &Amount:" is "Loan Amount:", "&&" one "&".
QString withoutAccessKey(QString text)
{
    for (qsizetype at = text.indexOf(u'&'); at >= 0 && at < text.size(); at = text.indexOf(u'&', at + 1))
        text.remove(at, 1);
    return text;
}

bool isControl(QWidget* w)
{
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QChartView*>(w);
}

// The controls of a page a user can see and reach, in no particular order.
QList<QWidget*> shownControls(QWidget* root)
{
    QList<QWidget*> controls;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        // A list's own parts are the list's; a toolbar's buttons are for the mouse but named all the same.
        const bool reached = w->focusPolicy() != Qt::NoFocus || qobject_cast<QToolBar*>(w->parentWidget());
        if (isControl(w) && w->isVisible() && reached && !qobject_cast<QComboBox*>(w->parentWidget()))
            controls << w;
    }
    if (isControl(root))
        controls << root;
    return controls;
}

QLabel* buddyLabel(QWidget* root, QWidget* control)
{
    for (QLabel* label : root->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label;
    return nullptr;
}

// The name a screen reader says. A list's own name is its value on this
// desktop unless it is given one; the label beside it comes as its label relation.
QString accessibleName(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    if (!iface)
        return QString();
    if (qobject_cast<QComboBox*>(w) && w->accessibleName().isEmpty()) {
        const auto labels = iface->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : withoutAccessKey(labels.first().first->text(QAccessible::Name));
    }
    return iface->text(QAccessible::Name);
}

}  // namespace

class AccessibleTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

    frmLoan* calculatedLoan()
    {
        frmLoan* w = f->newWindow(QStringLiteral("House"));
        child<QPushButton>(w, "cmdCalculate")->click();
        return w;
    }

    // The window or page of a row, shown; owned by the fixture or by `keep`.
    QWidget* show(const QString& where, std::unique_ptr<QWidget>& keep)
    {
        static const QStringList tabs = {"Loan Information", "Extra Payments", "Amortization Table", "Summary Graph",
                                         "Savings Summary", "Formulas", "Balance", "Rate Changes"};
        if (tabs.contains(where)) {
            frmLoan* w = calculatedLoan();
            auto* pages = child<QTabWidget>(w, "tabLoan");
            const int tab = int(tabs.indexOf(where));
            pages->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            return qobject_cast<QScrollArea*>(pages->widget(tab))->widget();
        }
        if (where == "Compare Loans") {
            calculatedLoan();
            f->run(QStringLiteral("mnuWindowCompare"));
            return f->main->findChild<frmCompare*>();
        }
        if (where == "Open") {
            f->storeLoan(QStringLiteral("Stored"));
            keep = std::make_unique<frmOpen>(*f->store, f->main->loanWindows(), f->messages,
                                             f->main.get());
        } else if (where == "About") {
            keep = std::make_unique<frmAbout>(f->messages, f->main.get());
        } else if (where == "Help") {
            keep = std::make_unique<HelpWindow>(f->main.get());
        } else if (where == "Toolbar") {
            return child<QToolBar>(f->main.get(), "Toolbar1");
        }
        keep->show();
        return QTest::qWaitForWindowExposed(keep.get()) ? keep.get() : nullptr;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { QVERIFY(startActive(f)); }
    void cleanup() { endUnprompted(f); }

    // Each control names itself, uniquely on its page, by its label where one is its buddy.
    void everyControlNamed_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Loan Information")
            << "Loan Information"
            << QStringList{"Loan Description:", "Date of First Payment:", "Frequency:", "Interest Rate:", "Term:",
                           "Term length", "Loan Amount:", "Payment Amount:", "Calculate:", "Calculate"};
        QTest::newRow("Extra Payments")
            << "Extra Payments"
            << QStringList{"Suppress Future Payments in Amortization Table", "Extra payments", "Lump Sum", "Repeating",
                           "Start Date:", "End Date:", "Amount:", "Add Payment", "Delete Payment", "Recalculate"};
        QTest::newRow("Amortization Table")
            << "Amortization Table" << QStringList{"Each payment", "Each year", "Amortization table, each payment"};
        QTest::newRow("Summary Graph") << "Summary Graph"
                                       << QStringList{"Summary Graph", "Principal:", "Extra Payments:", "Interest:",
                                                      "Total Principal Paid", "Total All Payments"};
        QTest::newRow("Savings Summary")
            << "Savings Summary"
            << QStringList{"Loan Amount:", "Payoff Date:", "Interest Paid:", "Total All Payments:",
                           "Principal Amount Paid Early:", "Adjusted Payoff Date:", "Adjusted Interest Paid:",
                           "Adjusted Total Payments:", "Number of Payments Saved:", "Total Saved:"};
        QTest::newRow("Formulas") << "Formulas" << QStringList{};
        QTest::newRow("Balance") << "Balance" << QStringList{"Balance"};
        QTest::newRow("Rate Changes") << "Rate Changes"
                                      << QStringList{"Rate changes", "From:", "New rate %:", "Payment:",
                                                     "Add Rate Change", "Delete Rate Change", "Recalculate"};
        QTest::newRow("Compare Loans") << "Compare Loans" << QStringList{"Compared loans", "Balance"};
        QTest::newRow("Open") << "Open" << QStringList{"Select a Loan", "Open", "Exit", "New"};
        QTest::newRow("About") << "About" << QStringList{"OK", "System Info..."};
        QTest::newRow("Help") << "Help" << QStringList{"User guide"};
        QTest::newRow("Toolbar") << "Toolbar"
                                 << QStringList{"New", "Open", "Save", "Save As Copy", "Delete", "Compare Loans"};
    }
    void everyControlNamed()
    {
        QFETCH(QString, where);
        QFETCH(QStringList, names);
        std::unique_ptr<QWidget> keep;
        QWidget* root = show(where, keep);
        QVERIFY(root);

        QStringList found;
        for (QWidget* control : shownControls(root)) {
            const QString name = accessibleName(control);
            const QString what = where + u' ' + control->objectName() + u' ' + control->metaObject()->className();
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(what + " has no name"));
            QVERIFY2(!found.contains(name), qPrintable(what + " shares its name " + name));
            // A list's name is never its own value (a screen reader would say "Years, Years").
            if (auto* list = qobject_cast<QComboBox*>(control))
                QVERIFY2(name != list->currentText(), qPrintable(what + " is named by its value " + name));
            if (QLabel* label = buddyLabel(root, control))
                QCOMPARE(name, withoutAccessKey(label->text()));
            found << name;
        }
        found.sort();
        names.sort();
        QCOMPARE(found, names);
    }

    // Each access key of a page is its own (the main menu's Alt+F, W and H too)
    // and takes the focus to the box its label names.
    void accessKeysFocusTheirBoxes_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("keys");  // "letter box", the box's object name
        QTest::newRow("Loan Information")
            << "Loan Information"
            << QStringList{"D txtLoan",  "P dtStartDate",     "E cboppt",         "R txtInterestRate",
                           "T cboTerm",  "A txtLoanAmount",   "M txtPaymentAmount", "U cboCalculate"};
        QTest::newRow("Extra Payments")
            << "Extra Payments" << QStringList{"S dtBeginDate", "E dtEndDate", "A txtXPaymentAmount"};
        QTest::newRow("Rate Changes") << "Rate Changes"
                                      << QStringList{"M dtRateFrom", "R txtNewRate", "Y cboRateMode"};
    }
    void accessKeysFocusTheirBoxes()
    {
        QFETCH(QString, where);
        QFETCH(QStringList, keys);
        std::unique_ptr<QWidget> keep;
        QWidget* page = show(where, keep);
        QVERIFY(page);
        if (where == "Extra Payments")
            child<QRadioButton>(page, "optType_1")->click();  // the end date shows for a repeating payment
        if (where == "Rate Changes")
            child<QPushButton>(page, "cmdAddRateChange")->click();  // its boxes take a change's figures

        QStringList taken{"F", "W", "H"};  // File, Window, Help
        auto accessKey = [](const QString& text) {
            const QString key = QKeySequence::mnemonic(text).toString(QKeySequence::PortableText);
            return key.startsWith(QLatin1String("Alt+")) ? key.mid(4) : QString();
        };
        for (QWidget* w : page->findChildren<QWidget*>()) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(w))
                text = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                text = button->text();
            const QString key = accessKey(text);
            if (!w->isVisible() || key.isEmpty())
                continue;
            QVERIFY2(!taken.contains(key), qPrintable(where + ": Alt+" + key + " twice, " + text));
            taken << key;
        }
        for (const QString& entry : keys) {
            const QString letter = entry.section(u' ', 0, 0);
            QWidget* box = page->findChild<QWidget*>(entry.section(u' ', 1));
            QVERIFY2(box, qPrintable(entry));
            QVERIFY2(taken.contains(letter), qPrintable(entry));
            page->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(letter.at(0).unicode()), Qt::AltModifier);
            QVERIFY2(QApplication::focusWidget() == box,
                     qPrintable(entry + ", focus on " + QApplication::focusWidget()->objectName()));
        }
    }

    // Tab from the description reaches each input of the loan in the order it is read:
    // row by row, left to right.
    void tabFollowsReadingOrder()
    {
        frmLoan* w = f->newWindow(QStringLiteral("House"));
        QWidget* frame = child<QGroupBox>(w, "fraLoan");
        QList<QWidget*> inputs;
        for (QWidget* control : shownControls(frame))
            if (control->focusPolicy() & Qt::TabFocus)
                inputs << control;
        auto centre = [frame](QWidget* c) { return c->mapTo(frame, c->rect().center()); };
        std::sort(inputs.begin(), inputs.end(), [&](QWidget* a, QWidget* b) {
            const QPoint pa = centre(a), pb = centre(b);
            const int rowHeight = std::min(a->height(), b->height()) / 2;
            if (std::abs(pa.y() - pb.y()) > rowHeight)
                return pa.y() < pb.y();
            return pa.x() < pb.x();
        });
        QVERIFY(inputs.size() >= 9);

        QStringList read{"txtLoan"}, tabbed;
        for (QWidget* input : inputs)
            read << input->objectName();
        child<QLineEdit>(w, "txtLoan")->setFocus();
        tabbed << QApplication::focusWidget()->objectName();
        for (qsizetype stop = 1; stop < read.size(); ++stop) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            tabbed << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(tabbed, read);
    }

    // The charts say what they show: their figures, kept current with each run.
    void chartsDescribeTheirFigures_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        // 150,000 at 6.5% for 30 years, then 100,000; first payment in February 2026.
        QTest::newRow("summary") << "Summary Graph" << "chSummary"
                                 << QStringList{"Interest: $191,318.64, Extra Payments: $2.64, Principal: $149,997.36"}
                                 << QStringList{"Principal: $100,000.00"};
        QTest::newRow("balance") << "Balance" << "chBalance"
                                 << QStringList{"With extra payments: $150,000.00 on 12/15/2025", "to $.00 on 12/15/2055",
                                                "Without extra payments: $150,000.00 on 12/15/2025"}
                                 << QStringList{"With extra payments: $100,000.00 on "};
        QTest::newRow("comparison") << "Compare Loans" << "chCompare"
                                    << QStringList{"House: $150,000.00 on 12/15/2025", "to $.00 on 12/15/2055"}
                                    << QStringList{"House: $100,000.00 on "};
    }
    void chartsDescribeTheirFigures()
    {
        QFETCH(QString, where);
        QFETCH(QString, chart);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        std::unique_ptr<QWidget> keep;
        QVERIFY(show(where, keep));
        auto* view = f->main->findChild<QChartView*>(chart);
        QVERIFY(view);
        auto describe = [view] {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(view);
            return iface->text(QAccessible::Description);
        };
        for (const QString& figure : before)
            QVERIFY2(describe().contains(figure), qPrintable(describe()));

        // A smaller loan amount typed on the first tab and run; then the chart's page again.
        frmLoan* w = f->main->openLoans().first();
        auto* pages = child<QTabWidget>(w, "tabLoan");
        const int chartTab = pages->currentIndex();
        pages->setCurrentIndex(0);
        auto* amount = child<QLineEdit>(w, "txtLoanAmount");
        amount->setFocus();
        amount->selectAll();
        QTest::keyClicks(amount, QStringLiteral("100000"));
        QTest::keyClick(amount, Qt::Key_Tab);
        QTest::mouseClick(child<QPushButton>(w, "cmdCalculate"), Qt::LeftButton);
        pages->setCurrentIndex(chartTab);
        QCoreApplication::processEvents();
        for (const QString& figure : after)
            QVERIFY2(describe().contains(figure), qPrintable(describe()));
    }
};

QTEST_MAIN(AccessibleTest)
#include "tst_accessible.moc"
