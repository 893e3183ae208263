#pragma once

#include "LoanStore.h"
#include "LocaleText.h"
#include "RawStore.h"
#include "SaveTexts.h"
#include "ScriptedMessages.h"
#include "StoreFile.h"
#include "DateBox.h"
#include "frmLoan.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A loan window over a real store file in a temporary folder, with scripted
// messages and a fixed today.
class LoanWindowHarness {
public:
    explicit LoanWindowHarness(QDate today = QDate(2024, 1, 10)) : clock(today)
    {
        const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        if (auto error = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE))) qFatal("store file: %s", qPrintable(*error));
        auto opened = LoanStore::open(path);
        if (auto* error = std::get_if<engine::NumberedError>(&opened)) qFatal("store open: %s", error->text().c_str());
        store = std::move(std::get<std::unique_ptr<LoanStore>>(opened));
    }

    // A window as the main window makes one: mode and key, then load.
    frmLoan& open(int mode = 0, int key = 0)
    {
        window = std::make_unique<frmLoan>(*store, messages, clock);
        window->load(mode == 1 ? key : 0);
        return *window;
    }

    // Shown and active, so focus changes behave as for a user.
    void show()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("window did not become active");
    }

    template <typename T = QWidget>
    T* w(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    QLineEdit* box(const char* name) const { return w<QLineEdit>(name); }
    QString text(const char* name) const { return box(name)->text(); }
    QTabWidget* tabs() const { return w<QTabWidget>("tabLoan"); }
    QTableView* payments() const { return w<QTableView>("flxPayments"); }
    int paymentCount() const { return payments()->model()->rowCount(); }
    QAbstractItemModel* results() const { return w<QTableView>("flxResults")->model(); }
    QString result(int row, int column) const { return results()->index(row, column).data().toString(); }
    static QStringList rowTexts(const QAbstractItemModel* model, int row)
    {
        QStringList texts;
        for (int column = 0; column < model->columnCount(); ++column) texts << model->index(row, column).data().toString();
        return texts;
    }
    QStringList resultRow(int row) const { return rowTexts(results(), row); }
    QStringList paymentRow(int row) const { return rowTexts(payments()->model(), row); }
    // What a cell of the extra payments table shows.
    QString payment(int row, int column) const { return payments()->model()->index(row, column).data().toString(); }

    // Replaces a box's text the way a user would: select all, type.
    void type(const char* name, const QString& text)
    {
        QLineEdit* edit = box(name);
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, text);
    }

    // The inputs of tab 0 (press "&Calculate" with calculate()).
    void enterLoan(const QString& description, int frequency, const QString& rate, int termType,
                   const QString& term, const QString& loanAmount, const QString& paymentAmount,
                   QDate firstPayment)
    {
        type("txtLoan", description);
        type("dtStartDate", LocaleText::shortDateText(firstPayment));
        w<QComboBox>("cboppt")->setCurrentIndex(frequency);
        type("txtInterestRate", rate);
        w<QComboBox>("cboTerm")->setCurrentIndex(termType);
        type("txtTerm", term);
        type("txtLoanAmount", loanAmount);
        type("txtPaymentAmount", paymentAmount);
    }
    // 1,000.00 at 12 % monthly, calculated.
    void carLoan(QDate firstPayment = QDate(2024, 1, 15), const QString& term = QStringLiteral("3"))
    {
        enterLoan(QStringLiteral("Car"), 2, QStringLiteral("12"), 0, term, QStringLiteral("1000"), {}, firstPayment);
        calculate();
    }
    void click(const char* name) { QTest::mouseClick(w<QAbstractButton>(name), Qt::LeftButton); }
    void calculate() { click("cmdCalculate"); }

    // Moves the focus to a control (the previous one loses it).
    void focus(const char* name)
    {
        w(name)->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }

    // On tab 1: adds a row and fills it through the entry fields.
    void addPayment(bool lumpSum, QDate start, QDate stop, const QString& amount)
    {
        click("cmdAddPayment");
        click(lumpSum ? "optType_0" : "optType_1");
        focus("dtBeginDate");
        type("dtBeginDate", LocaleText::shortDateText(start));
        focus("dtEndDate");
        if (!lumpSum) type("dtEndDate", LocaleText::shortDateText(stop));
        focus("txtXPaymentAmount");
        type("txtXPaymentAmount", amount);
        focus("cmdAddPayment");
    }

    // A monthly loan of 10,000.00 at 6 % from 15 January 2024, saved through the
    // store. A term unit the window cannot show (another program's) is written
    // into the stored row afterwards, as the store takes only typed units.
    int storeLoan(int termType, const std::vector<ExtraPaymentTexts>& extras = {})
    {
        const bool shown = termType == 0 || termType == 1;
        const LoanSaveTexts loan{QStringLiteral("Car"), QDate(2024, 1, 15), QStringLiteral("10000"), {},
                                 QStringLiteral("6"), QStringLiteral("3"), shown ? termType : 1, 2};
        int mode = 0, key = 0;
        if (auto error = saveTexts(*store, mode, key, loan, extras)) qFatal("saveLoan: %s", error->text().c_str());
        if (!shown && !rawSql(store->path(), QStringLiteral("UPDATE tblLoanDetail SET TermType = %1 WHERE SeqNo = %2")
                                                  .arg(termType).arg(key)).isEmpty())
            qFatal("raw update of the term unit");
        return key;
    }

    QTemporaryDir dir;
    std::unique_ptr<LoanStore> store;
    ScriptedMessages messages;
    FixedClock clock;
    std::unique_ptr<frmLoan> window;
};

inline void pinLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}
