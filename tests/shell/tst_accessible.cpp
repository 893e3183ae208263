// What a screen reader finds in each window: every control the keyboard can
// reach has a name of its own, taken from the label beside it; each access
// key leads to its box; Tab walks the loan's inputs in reading order; the
// charts say their figures.
#include "ShellFixture.h"

#include "HelpWindow.h"
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
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w) || qobject_cast<QChartView*>(w);
}

// The controls a user can see and reach (a list's own parts are the list's;
// a toolbar's buttons are for the mouse but named all the same).
QList<QWidget*> shownControls(QWidget* root)
{
    QList<QWidget*> controls;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const bool reached = w->focusPolicy() != Qt::NoFocus || qobject_cast<QToolBar*>(w->parentWidget());
        if (isControl(w) && w->isVisible() && reached && !qobject_cast<QComboBox*>(w->parentWidget()))
            controls << w;
    }
    return controls;
}

QLabel* buddyLabel(QWidget* control)
{
    for (QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label;
    return nullptr;
}

// The name a screen reader says: a list without a name of its own is read by its label.
QString accessibleName(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    if (qobject_cast<QComboBox*>(w) && w->accessibleName().isEmpty()) {
        const auto labels = iface->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : withoutAccessKey(labels.first().first->text(QAccessible::Name));
    }
    return iface->text(QAccessible::Name);
}

const QStringList kTabs = {"Loan Information", "Extra Payments", "Amortization Table", "Summary Graph",
                           "Savings Summary",  "Formulas",       "Balance",            "Rate Changes"};

}  // namespace

class AccessibleTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ShellFixture> f;

    // The window or page of a row, shown; owned by the fixture or by `keep`.
    QWidget* show(const QString& where, std::unique_ptr<QWidget>& keep)
    {
        if (kTabs.contains(where)) {
            auto* pages = child<QTabWidget>(f->calculatedLoan("House"), "tabLoan");
            pages->setCurrentIndex(int(kTabs.indexOf(where)));
            QCoreApplication::processEvents();
            return qobject_cast<QScrollArea*>(pages->currentWidget())->widget();
        }
        if (where == "Compare Loans") {
            f->calculatedLoan("House");
            f->run("mnuWindowCompare");
            return f->main->findChild<frmCompare*>();
        }
        if (where == "Toolbar")
            return child<QToolBar>(f->main.get(), "Toolbar1");
        if (where == "Open") {
            f->storeLoan("Stored");
            keep = std::make_unique<frmOpen>(*f->store, f->main->loanWindows(), f->messages, f->main.get());
        } else if (where == "About") {
            keep = std::make_unique<frmAbout>(f->messages, f->main.get());
        } else {
            keep = std::make_unique<HelpWindow>(f->main.get());
        }
        keep->show();
        return QTest::qWaitForWindowExposed(keep.get()) ? keep.get() : nullptr;
    }

private slots:
    void init() { f = std::make_unique<ShellFixture>(); }
    void cleanup() { f.reset(); }

    // Each control names itself, uniquely in its page or window, by its label
    // where one is its buddy, never by its value; each access key of a page
    // is its own and takes the focus to the box its label names.
    void everyControlNamed_data()
    {
        QTest::addColumn<QString>("where");
        for (const QString& where : kTabs + QStringList{"Compare Loans", "Open", "About", "Help", "Toolbar"})
            QTest::newRow(qPrintable(where)) << where;
    }
    void everyControlNamed()
    {
        QFETCH(QString, where);
        std::unique_ptr<QWidget> keep;
        QWidget* root = show(where, keep);
        QVERIFY(root);
        if (where == "Extra Payments")
            QTest::mouseClick(child<QPushButton>(root, "cmdAddPayment"), Qt::LeftButton);
        if (where == "Rate Changes")
            QTest::mouseClick(child<QPushButton>(root, "cmdAddRateChange"), Qt::LeftButton);
        QStringList names, keys{"F", "W", "H"};  // the menus' File, Window, Help
        for (QWidget* control : shownControls(root)) {
            const QString name = accessibleName(control);
            const QString what = where + u' ' + control->objectName() + ": " + name;
            QVERIFY2(!name.trimmed().isEmpty() && !names.contains(name), qPrintable(what));
            if (auto* list = qobject_cast<QComboBox*>(control))
                QVERIFY2(name != list->currentText(), qPrintable(what));
            names << name;
            QLabel* label = buddyLabel(control);
            auto* button = qobject_cast<QAbstractButton*>(control);
            const QString caption = label ? label->text() : button ? button->text() : QString();
            const QString key = QKeySequence::mnemonic(caption).toString(QKeySequence::PortableText).mid(4);
            QVERIFY2(key.isEmpty() || !keys.contains(key), qPrintable(what + " Alt+" + key));
            keys << key;
            if (!label)
                continue;
            QCOMPARE(name, withoutAccessKey(label->text()));
            if (key.isEmpty() || !control->isEnabled())
                continue;
            root->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key.at(0).unicode()), Qt::AltModifier);
            QVERIFY2(QApplication::focusWidget() == control, qPrintable(what + " Alt+" + key));
        }
    }

    // Tab from the description reaches each input of the loan in reading
    // order: row by row, left to right.
    void tabFollowsReadingOrder()
    {
        frmLoan* w = f->typeLoan("House");
        QWidget* frame = child<QGroupBox>(w, "fraLoan");
        QList<QWidget*> inputs;
        for (QWidget* control : shownControls(frame))
            if (control->focusPolicy() & Qt::TabFocus)
                inputs << control;
        const auto centre = [frame](QWidget* c) { return c->mapTo(frame, c->rect().center()); };
        std::sort(inputs.begin(), inputs.end(), [&](QWidget* a, QWidget* b) {
            const QPoint pa = centre(a), pb = centre(b);
            if (std::abs(pa.y() - pb.y()) > std::min(a->height(), b->height()) / 2)
                return pa.y() < pb.y();
            return pa.x() < pb.x();
        });
        QStringList read{"txtLoan"}, tabbed{"txtLoan"};
        for (QWidget* input : inputs)
            read << input->objectName();
        child<QWidget>(w, "txtLoan")->setFocus();
        while (tabbed.size() < read.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            tabbed << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(tabbed, read);
    }

    // The charts say what they show, kept current with each run.
    void chartsDescribeTheirFigures_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("chart");
        QTest::newRow("summary") << "Summary Graph" << "chSummary";
        QTest::newRow("balance") << "Balance" << "chBalance";
        QTest::newRow("comparison") << "Compare Loans" << "chCompare";
    }
    void chartsDescribeTheirFigures()
    {
        QFETCH(QString, where);
        QFETCH(QString, chart);
        std::unique_ptr<QWidget> keep;
        QVERIFY(show(where, keep));
        auto* view = f->main->findChild<QChartView*>(chart);
        const auto describe = [view] { return QAccessible::queryAccessibleInterface(view)->text(QAccessible::Description); };
        QVERIFY2(describe().contains("$150,000.00") || describe().contains("$149,"), qPrintable(describe()));
        frmLoan* w = f->main->openLoans().first();
        auto* pages = child<QTabWidget>(w, "tabLoan");
        const int chartTab = pages->currentIndex();
        pages->setCurrentIndex(0);
        typeInto(child<QWidget>(w, "txtLoanAmount"), "100000");
        QTest::mouseClick(child<QPushButton>(w, "cmdCalculate"), Qt::LeftButton);
        pages->setCurrentIndex(chartTab);
        QCoreApplication::processEvents();
        QVERIFY2(describe().contains("$100,000.00") || describe().contains("$99,"), qPrintable(describe()));
    }
};

QTEST_MAIN(AccessibleTest)
#include "tst_accessible.moc"
