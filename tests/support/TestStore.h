#pragma once

// The one temporary store of the tests: a real SQLite file made from the
// program's own schema in a folder of its own, opened as the program opens it.
#include "LoanStore.h"
#include "StoreFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <variant>

class TestStore {
public:
    // `folder` below the temporary folder (created), so paths with awkward
    // characters can be tried; `schema` another layout's file to start from.
    explicit TestStore(const QString& folder = {}, const QString& schema = QStringLiteral(BRIMVALE_SCHEMA_FILE))
    {
        QString place = m_dir.path();
        if (!folder.isEmpty()) {
            QDir(place).mkpath(folder);
            place = QDir(place).filePath(folder);
        }
        m_path = QDir(place).filePath(QStringLiteral("Brimvaledb.mdb"));
        if (const auto failure = createStoreFile(m_path, schema))
            qFatal("cannot create the test store: %s", qPrintable(*failure));
        reopen();
    }

    const QString& path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    LoanStore& operator*() const { return *m_store; }
    LoanStore* operator->() const { return m_store.get(); }
    LoanStore* get() const { return m_store.get(); }

    // Closes the connection (a null store until reopen()).
    void close() { m_store.reset(); }
    // The store replaced by a copy of `file` (one another program made), opened.
    void copyFrom(const QString& file)
    {
        close();
        QFile::remove(m_path);
        if (!QFile::copy(file, m_path) || !QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner))
            qFatal("cannot copy %s", qPrintable(file));
        reopen();
    }
    // Opens the file again, as a new start of the program would.
    void reopen()
    {
        m_store.reset();
        auto opened = LoanStore::open(m_path);
        if (auto* error = std::get_if<engine::NumberedError>(&opened))
            qFatal("cannot open the test store: %s", error->text().c_str());
        m_store = std::move(std::get<std::unique_ptr<LoanStore>>(opened));
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<LoanStore> m_store;
};
