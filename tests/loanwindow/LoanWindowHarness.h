#pragma once

#include "DateBox.h"
#include "Loans.h"
#include "LocaleText.h"
#include "PinnedLocale.h"
#include "RawStore.h"
#include "ScriptedMessages.h"
#include "TestStore.h"
#include "frmLoan.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <memory>

using Kind = ScriptedMessages::Kind;

// A loan window over a real store file, shown and active so the focus moves
// as a user moves it, with scripted messages and a fixed today. Values are
// entered as a user enters them: focus, keys, Tab away.
class LoanWindowHarness {
public:
    explicit LoanWindowHarness(QDate today = QDate(2024, 1, 10)) : clock(today) {}

    // A window as the main window makes one: a new loan (0) or the stored one.
    frmLoan& open(int key = 0)
    {
        window = std::make_unique<frmLoan>(*store, messages, clock);
        window->load(key);
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("window did not become active");
        return *window;
    }

    template <typename T = QWidget>
    T* w(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    QString text(const char* name) const { return w<QLineEdit>(name)->text(); }
    QTabWidget* tabs() const { return w<QTabWidget>("tabLoan"); }
    QAbstractItemModel* model(const char* table) const { return w<QTableView>(table)->model(); }
    QString cell(const char* table, int row, int column) const { return model(table)->index(row, column).data().toString(); }
    QStringList row(const char* table, int row) const
    {
        QStringList texts;
        for (int column = 0; column < model(table)->columnCount(); ++column) texts << cell(table, row, column);
        return texts;
    }

    // Into the box: focus it as Tab does, replace its text key by key; then
    // Tab away unless `leave` is false (Calculate or Save pressed in the box).
    void type(const char* name, const QString& text, bool leave = true)
    {
        QWidget* box = w(name);
        showPageOf(box);
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        if (leave) QTest::keyClick(box, Qt::Key_Tab);
    }
    // A list's entry chosen with the keyboard.
    void choose(const char* name, int index)
    {
        auto* list = w<QComboBox>(name);
        showPageOf(list);
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
    }
    void click(const char* name)
    {
        showPageOf(w(name));
        QTest::mouseClick(w<QAbstractButton>(name), Qt::LeftButton);
    }
    void calculate() { click("cmdCalculate"); }
    void showPageOf(const QWidget* control)
    {
        for (int tab = 0; tab < tabs()->count(); ++tab)
            if (tabs()->widget(tab)->isAncestorOf(control) && tabs()->currentIndex() != tab) tabs()->setCurrentIndex(tab);
    }

    // The boxes of "Loan Information"; frequency and unit as list positions.
    void enterLoan(const QString& description, int frequency, const QString& rate, int termType, const QString& term,
                   const QString& loanAmount, const QString& paymentAmount = {}, QDate first = QDate(2024, 1, 15))
    {
        type("txtLoan", description);
        type("dtStartDate", LocaleText::shortDateText(first));
        choose("cboppt", frequency);
        type("txtInterestRate", rate);
        choose("cboTerm", termType);
        type("txtTerm", term);
        type("txtLoanAmount", loanAmount);
        type("txtPaymentAmount", paymentAmount);
    }
    // 1,000.00 at 12 % over 3 months from 15 January 2024, calculated.
    void carLoan()
    {
        enterLoan(QStringLiteral("Car"), 2, QStringLiteral("12"), 0, QStringLiteral("3"), QStringLiteral("1000"));
        calculate();
    }

    // "Add Payment", then the new row's fields as a user fills them.
    void addPayment(bool lumpSum, QDate start, QDate stop, const QString& amount)
    {
        click("cmdAddPayment");
        if (lumpSum) click("optType_0");
        type("dtBeginDate", LocaleText::shortDateText(start));
        if (!lumpSum) type("dtEndDate", LocaleText::shortDateText(stop));
        type("txtXPaymentAmount", amount);
    }

    // A loan stored as another window would have saved it.
    int storeLoan(const SampleLoan& loan = {}, const std::vector<ExtraPaymentRow>& extras = {},
                  const std::vector<RateChangeRow>& rates = {})
    {
        int mode = 0, key = 0;
        if (auto error = store->saveLoan(mode, key, typedLoan(loan), {extras, rates, {}})) qFatal("%s", error->text().c_str());
        return key;
    }
    // A statement on another connection, as another program changes the file.
    void changeStore(const QString& statement) { QCOMPARE(rawSql(store.path(), statement), QStringList()); }

    TestStore store;
    ScriptedMessages messages;
    FixedClock clock;
    std::unique_ptr<frmLoan> window;
};
