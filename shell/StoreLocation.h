#pragma once

#include <QString>
#include <QStringList>

// Where the program finds its store at start-up. In this order:
//   1. the path given on the command line;
//   2. Brimvaledb.mdb beside the program, when that file exists (the build
//      folder, a portable copy);
//   3. Brimvaledb.mdb in the user's own data folder. When it is not there yet,
//      the empty store installed with the program is copied there, creating
//      the folder (for its owner only). The copy must open as a store, else
//      nothing is copied. An existing file is never replaced, a symbolic link
//      there counts as the store even when its target is gone, and no store is
//      ever made from nothing.
class StoreLocation {
public:
    static inline const QString kFileName = QStringLiteral("Brimvaledb.mdb");

    struct Places {
        QString commandLine;        // empty when none was given
        QString programFolder;
        QString userDataFolder;
        QStringList shippedStores;  // where the installed empty store may be, first match wins
    };

    // The store to open, or why there is none (naming the path and the reason).
    struct Found {
        QString path;
        QString error;
        bool ok() const { return error.isEmpty(); }
    };

    static Found find(const Places& places);

    // The user's data folder for `program`: $XDG_DATA_HOME/program when that is
    // an absolute path, else home/.local/share/program.
    static QString userDataFolder(const QString& xdgDataHome, const QString& home, const QString& program);

    // The places looked at, in order, for --help.
    static QString describe(const Places& places);
};
