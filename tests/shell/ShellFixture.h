#pragma once

#include "LoanRecord.h"
#include "ScriptedMessages.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class LoanStore;
class QAction;
class frmLoan;
class mdiMain;

// What a loan window's first tab holds.
struct LoanInput {
    QString description;
    QString amount = QStringLiteral("200000");
    QString rate = QStringLiteral("6.5");
    QString term = QStringLiteral("30");
    int termType = 1;   // Years
    int frequency = 2;  // Monthly
};

// A real store file in a temporary folder, opened, and a shown main window on it.
class ShellFixture {
public:
    ShellFixture();
    ~ShellFixture();

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<LoanStore> store;
    ScriptedMessages messages;
    FixedClock clock;
    std::unique_ptr<mdiMain> main;

    QAction* action(const QString& name) const;
    // File > New, returning the window it made.
    frmLoan* newWindow();
    static void fill(frmLoan* window, const LoanInput& input);
    static QString text(frmLoan* window, const char* name);
    // Adds a lump sum through the window's extra payments editor.
    static void addLumpSum(frmLoan* window, const QString& amount);

    // Writes a loan straight into the store; returns its key.
    int storeLoan(const LoanInput& input);
    std::vector<LoanListEntry> stored() const;
    std::optional<LoanRecord> record(int key) const;
    // A statement on a second connection to the same file.
    bool runSql(const QString& statement);
    // Lets closed windows go away.
    static void settle();
};
