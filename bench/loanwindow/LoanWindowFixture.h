#pragma once

#include "LoanStore.h"
#include "ScriptedMessages.h"
#include "StoreFile.h"
#include "frmLoan.h"

#include <QApplication>
#include <QComboBox>
#include "DateBox.h"
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

// A shown loan window on a fresh store: a weekly loan of 250,000.00 at 6 %
// from 1 January 2024 over the given term, not yet calculated.
struct LoanWindowFixture {
    QTemporaryDir dir;
    std::unique_ptr<LoanStore> store;
    ScriptedMessages messages;
    FixedClock clock{QDate(2024, 6, 1)};
    std::unique_ptr<frmLoan> window;

    LoanWindowFixture(int termType, int term)
    {
        const QString path = dir.filePath(QStringLiteral("Brimvaledb.mdb"));
        if (auto error = createStoreFile(path, QStringLiteral(BRIMVALE_SCHEMA_FILE)))
            qFatal("%s", qPrintable(*error));
        store = std::move(std::get<std::unique_ptr<LoanStore>>(LoanStore::open(path)));
        window = std::make_unique<frmLoan>(*store, messages, clock);
        window->load();
        window->show();
        set("txtLoan", QStringLiteral("Benchmark"));
        window->findChild<DateBox*>(QStringLiteral("dtStartDate"))->setDate(QDate(2024, 1, 1));
        window->findChild<QComboBox*>(QStringLiteral("cboppt"))->setCurrentIndex(0);  // Weekly
        set("txtInterestRate", QStringLiteral("6"));
        window->findChild<QComboBox*>(QStringLiteral("cboTerm"))->setCurrentIndex(termType);
        set("txtTerm", QString::number(term));
        set("txtLoanAmount", QStringLiteral("250000"));
        QApplication::processEvents();
    }

    void set(const char* name, const QString& text)
    {
        window->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
    }

    // One press of Calculate, then the user's move to the table, painted.
    int calculateAndPaint()
    {
        window->findChild<QPushButton*>(QStringLiteral("cmdCalculate"))->click();
        tabs()->setCurrentIndex(2);
        auto* table = window->findChild<QTableView*>(QStringLiteral("flxResults"));
        table->viewport()->repaint();
        QApplication::processEvents();
        return table->model()->rowCount();
    }

    QTabWidget* tabs() const { return window->findChild<QTabWidget*>(QStringLiteral("tabLoan")); }
};


// The main() of a widget benchmark: offscreen unless a platform is named,
// United States texts.
inline int runWidgetBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
