// Creates the empty store beside the programs at build time:
//   brimvale_mkstore <schema.sql> <store file>
// An existing store is left alone, so a rebuild never loses saved loans.
#include "StoreFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: brimvale_mkstore <schema.sql> <store file>\n");
        return 2;
    }
    const QString schemaPath = args.at(1);
    const QString storePath = args.at(2);
    if (QFile::exists(storePath)) return 0;
    if (auto failure = createStoreFile(storePath, schemaPath)) {
        std::fprintf(stderr, "%s\n", qPrintable(*failure));
        return 1;
    }
    return 0;
}
