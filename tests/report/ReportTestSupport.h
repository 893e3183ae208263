// Shared by the report tests: loans made without a window, a folder for the
// files, and the other programs that read what the program wrote.
#pragma once

#include "Loans.h"
#include "PinnedLocale.h"
#include "ScriptedMessages.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The worked example: 1,000.00 at 12 % over 3 months from 15 January 2024.
inline const SampleLoan kCarLoan{.description = QStringLiteral("Car"), .amount = 1000.0, .ratePercent = 12.0,
                                 .term = 3, .unit = engine::TermUnit::Months};

// Runs a reader program; its standard output, or nothing (with a warning).
inline QString readWith(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(program), arguments);
    if (!process.waitForFinished(300000) || process.exitCode() != 0)
        qWarning("%s failed (scripts/setup test installs it): %s", qPrintable(program),
                 process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Each test's folder for the files it writes, and its scripted messages.
struct ReportFolder {
    QTemporaryDir dir;
    ScriptedMessages messages;
    QString file(const QString& name) const { return dir.filePath(name); }
    // The loan store's file, which no export may write over.
    QString store() const
    {
        QFile file(dir.filePath("Brimvaledb.mdb"));
        file.open(QIODevice::WriteOnly);
        return file.fileName();
    }
};
