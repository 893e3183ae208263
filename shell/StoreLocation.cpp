#include "StoreLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace {

QString shippedStore(const QStringList& candidates)
{
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return {};
}

// Creates the folder with its parents; empty on success, else the reason.
QString makeFolder(const QString& folder)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdString()), error);
    if (error)
        return QString::fromStdString(error.message());
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("it is not a folder");
    return {};
}

// Copies the whole of `source` to `target` through a temporary file in the target's
// folder, so an interrupted copy never leaves a partial store behind, and an existing
// target (even one that appeared meanwhile) is kept.
QString copyWithoutReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("The empty store %1 cannot be read: %2.").arg(source, in.errorString());
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError || content.size() != in.size())
        return QStringLiteral("The empty store %1 cannot be read: %2.")
            .arg(source, in.error() != QFileDevice::NoError ? in.errorString() : QStringLiteral("the read stopped part-way"));

    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    if (!out.open())
        return QStringLiteral("The store %1 cannot be written: %2.").arg(target, out.errorString());
    if (out.write(content) != content.size() || !out.flush())
        return QStringLiteral("The store %1 cannot be written: %2.").arg(target, out.errorString());
    out.close();
    if (!QFile::rename(out.fileName(), target) && !QFileInfo::exists(target))
        return QStringLiteral("The store %1 cannot be written: it cannot be put in place.").arg(target);
    return {};
}

}  // namespace

StoreLocation::Found StoreLocation::find(const Places& places)
{
    if (!places.commandLine.isEmpty())
        return {places.commandLine, {}};

    const QString beside = QDir(places.programFolder).filePath(kFileName);
    if (QFileInfo::exists(beside))
        return {beside, {}};

    if (places.userDataFolder.isEmpty())
        return {{}, QStringLiteral("There is no %1 beside the program in %2, and the user's data folder is unknown. "
                                   "Give a store with --store.")
                        .arg(kFileName, QDir::toNativeSeparators(places.programFolder))};
    const QString own = QDir(places.userDataFolder).filePath(kFileName);
    if (QFileInfo::exists(own) || QFileInfo(own).isSymLink())
        return {own, {}};

    const QString source = shippedStore(places.shippedStores);
    if (source.isEmpty())
        return {own, QStringLiteral("The store %1 does not exist, and the empty store installed with the program, "
                                    "which would be copied there, was not found in: %2.")
                         .arg(own, places.shippedStores.join(QStringLiteral(", ")))};
    if (const QString reason = makeFolder(places.userDataFolder); !reason.isEmpty())
        return {own, QStringLiteral("The folder %1 for the store cannot be created: %2.").arg(places.userDataFolder, reason)};
    if (const QString failure = copyWithoutReplacing(source, own); !failure.isEmpty())
        return {own, failure};
    return {own, {}};
}

QString StoreLocation::describe(const Places& places)
{
    return QStringLiteral("The loan store is, in this order: the file given with --store (or as the argument); %1 "
                          "when it exists; otherwise %2, which the first start copies from the empty store installed "
                          "with the program (%3).")
        .arg(QDir(places.programFolder).filePath(kFileName), QDir(places.userDataFolder).filePath(kFileName),
             places.shippedStores.join(QStringLiteral(", ")));
}
