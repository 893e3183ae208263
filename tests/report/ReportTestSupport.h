// Shared by the report tests: a window with the worked example calculated,
// the external readers that check what the program wrote, and a file read back.
#pragma once

#include "LoanResult.h"
#include "LoanWindowHarness.h"

#include <QFile>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

// Runs a reader program; its standard output, or a failed test.
inline QString readWith(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        qWarning("%s is needed by this test (scripts/setup test installs it)", qPrintable(program));
        return {};
    }
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Each test gets a fresh window (created in init(), dropped in cleanup()).
class ReportFixture : public QObject {
protected:
    std::unique_ptr<LoanWindowHarness> h;

    // The worked example: 1,000.00 at 12 % over 3 months from 15 January 2024.
    std::shared_ptr<const LoanResult> carLoan(const QString& description)
    {
        h->open();
        h->carLoan();
        h->window->setDescription(description);
        return h->window->lastResult();
    }
    QString description() const { return h->window->description(); }
};
