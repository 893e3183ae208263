#include "ShellFixture.h"

#include "LoanStore.h"
#include "StoreFile.h"
#include "frmLoan.h"
#include "mdiMain.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

ShellFixture::ShellFixture() : clock(QDate(2026, 1, 15))
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
    if (const auto failure = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
        qFatal("cannot create the test store: %s", qPrintable(*failure));
    auto opened = LoanStore::open(path);
    if (auto* error = std::get_if<StoreError>(&opened))
        qFatal("cannot open the test store: %s", qPrintable(error->text()));
    store = std::move(std::get<std::unique_ptr<LoanStore>>(opened));
    main = std::make_unique<mdiMain>(*store, messages, clock);
    main->show();
    if (!QTest::qWaitForWindowExposed(main.get()))
        qWarning("main window not exposed");
}

ShellFixture::~ShellFixture()
{
    // Windows first: they hold the store.
    main.reset();
    settle();
}

QAction* ShellFixture::action(const QString& name) const
{
    return main->findChild<QAction*>(name);
}

frmLoan* ShellFixture::newWindow()
{
    action(QStringLiteral("mnuFileNew"))->trigger();
    return main->activeLoan();
}

void ShellFixture::fill(frmLoan* window, const LoanInput& input)
{
    window->findChild<QLineEdit*>(QStringLiteral("txtLoan"))->setText(input.description);
    window->findChild<QComboBox*>(QStringLiteral("cboppt"))->setCurrentIndex(input.frequency);
    window->findChild<QLineEdit*>(QStringLiteral("txtInterestRate"))->setText(input.rate);
    window->findChild<QComboBox*>(QStringLiteral("cboTerm"))->setCurrentIndex(input.termType);
    window->findChild<QLineEdit*>(QStringLiteral("txtTerm"))->setText(input.term);
    window->findChild<QLineEdit*>(QStringLiteral("txtLoanAmount"))->setText(input.amount);
}

QString ShellFixture::text(frmLoan* window, const char* name)
{
    auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(name));
    return edit ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

void ShellFixture::addLumpSum(frmLoan* window, const QString& amount)
{
    window->findChild<QPushButton*>(QStringLiteral("cmdCalculate"))->click();
    window->findChild<QTabWidget*>(QStringLiteral("tabLoan"))->setCurrentIndex(1);
    window->findChild<QRadioButton*>(QStringLiteral("optType_0"))->setChecked(true);
    window->findChild<QDateEdit*>(QStringLiteral("dtBeginDate"))->setDate(QDate(2027, 3, 1));
    window->findChild<QLineEdit*>(QStringLiteral("txtXPaymentAmount"))->setText(amount);
    window->findChild<QPushButton*>(QStringLiteral("cmdAddPayment"))->click();
    window->findChild<QTabWidget*>(QStringLiteral("tabLoan"))->setCurrentIndex(0);
}

int ShellFixture::storeLoan(const LoanInput& input)
{
    LoanRecordTexts texts;
    texts.description = input.description;
    texts.startDate = QDate(2026, 2, 1);
    texts.origAmount = input.amount;
    texts.interestRate = input.rate;
    texts.term = input.term;
    texts.termType = input.termType;
    texts.frequency = input.frequency;
    int mode = 0;
    int key = 0;
    if (const auto error = store->saveLoan(mode, key, texts, {}))
        qFatal("cannot store a test loan: %s", qPrintable(error->text()));
    return key;
}

std::vector<LoanListEntry> ShellFixture::stored() const
{
    auto listed = store->listLoans();
    if (auto* error = std::get_if<StoreError>(&listed))
        qFatal("cannot list the test store: %s", qPrintable(error->text()));
    return std::get<std::vector<LoanListEntry>>(listed);
}

std::optional<LoanRecord> ShellFixture::record(int key) const
{
    auto read = store->readLoan(key);
    if (auto* loan = std::get_if<LoanRecord>(&read))
        return *loan;
    return std::nullopt;
}

bool ShellFixture::runSql(const QString& statement)
{
    const QString name = QStringLiteral("shell-test-side");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            ok = query.exec(statement);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void ShellFixture::settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
