#include "StoreLocation.h"

#include "LoanStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace {

QString shippedStore(const QStringList& candidates)
{
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return {};
}

// Creates the folder with its missing parents, each for its owner only (0700,
// as the XDG Base Directory rules ask): the store holds the user's finances.
// Empty on success, else the reason.
QString makeFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    QStringList missing;
    for (QString at = clean; !QFileInfo(at).exists() && !QFileInfo(at).isSymLink(); at = QFileInfo(at).path()) {
        missing.prepend(at);
        if (QDir(at).isRoot())
            break;
    }
    for (const QString& at : missing)
        if (::mkdir(QFile::encodeName(at).constData(), S_IRWXU) != 0 && errno != EEXIST)
            return QString::fromLocal8Bit(std::strerror(errno));
    if (!QFileInfo(clean).isDir())
        return QString::fromLocal8Bit(std::strerror(ENOTDIR));
    return {};
}

// A symbolic link whose target is missing: the store is there in name only.
QString brokenLink(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink() || info.exists())
        return {};
    return QStringLiteral("The store %1 is a symbolic link to %2, which does not exist. Restore the file it "
                          "points to, or remove the link to start with an empty store.")
        .arg(path, info.symLinkTarget());
}

// Copies the whole of `source` to `target` through a temporary file in the target's
// folder, so an interrupted copy never leaves a partial store behind, and an existing
// target (even one that appeared meanwhile) is kept. The copy is opened as a store
// before it is put in place: a damaged installation gives no store that fails
// on every later start.
QString copyWithoutReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("The empty store %1 cannot be read: %2.").arg(source, in.errorString());
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError || content.size() != in.size())
        return QStringLiteral("The empty store %1 cannot be read: %2.")
            .arg(source, in.error() != QFileDevice::NoError ? in.errorString() : QStringLiteral("the read stopped part-way"));
    if (content.isEmpty())
        return QStringLiteral("The empty store %1 installed with the program is an empty file. Nothing was copied to "
                              "%2; reinstall the program.").arg(source, target);

    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    if (!out.open())
        return QStringLiteral("The store %1 cannot be written: %2.").arg(target, out.errorString());
    if (out.write(content) != content.size() || !out.flush())
        return QStringLiteral("The store %1 cannot be written: %2.").arg(target, out.errorString());
    out.close();
    {
        auto opened = LoanStore::open(out.fileName());
        if (const auto* error = std::get_if<engine::NumberedError>(&opened))
            return QStringLiteral("The empty store %1 installed with the program is not a store this program can use "
                                  "(%2). Nothing was copied to %3; reinstall the program.")
                .arg(source, QString::fromStdString(error->description), target);
    }
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
    if (const QString broken = brokenLink(beside); !broken.isEmpty())
        return {beside, broken};

    if (places.userDataFolder.isEmpty())
        return {{}, QStringLiteral("There is no %1 beside the program in %2, and the user's data folder is unknown. "
                                   "Give a store with --store.")
                        .arg(kFileName, QDir::toNativeSeparators(places.programFolder))};
    const QString own = QDir(places.userDataFolder).filePath(kFileName);
    // A link in its place counts as the user's store, even one whose target is
    // gone: the empty store is never written through it.
    if (const QString broken = brokenLink(own); !broken.isEmpty())
        return {own, broken};
    if (QFileInfo::exists(own))
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

QString StoreLocation::userDataFolder(const QString& xdgDataHome, const QString& home, const QString& program)
{
    // Relative values are to be ignored: they would give each start folder a
    // store of its own.
    const QString base = !xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome)
                             ? xdgDataHome
                             : QDir(home).filePath(QStringLiteral(".local/share"));
    return QDir::cleanPath(QDir(base).filePath(program));
}

QString StoreLocation::describe(const Places& places)
{
    // One place a line, so a terminal's reader finds each one.
    QString text = QStringLiteral("The loan store is the first of:\n"
                                  "  1. the file given with --store <path>, or as the argument [store]\n"
                                  "  2. %1, when that file exists\n")
                       .arg(QDir::toNativeSeparators(QDir(places.programFolder).filePath(kFileName)));
    if (places.userDataFolder.isEmpty())
        return text;
    text += QStringLiteral("  3. %1;\n"
                           "     a first start copies it there from the empty store installed with the program,\n"
                           "     the first found of:")
                .arg(QDir::toNativeSeparators(QDir(places.userDataFolder).filePath(kFileName)));
    for (const QString& shipped : places.shippedStores)
        text += QStringLiteral("\n       ") + QDir::toNativeSeparators(shipped);
    return text;
}
