#include "SystemInfo.h"

#include "Messages.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool GetKeyValue(const KeyValueSource& source, std::uint32_t root, const QString& keyName,
                 const QString& subKeyRef, QString& keyVal)
{
    const std::optional<KeyValue> value = source.lookup(root, keyName, subKeyRef);
    if (!value) {
        keyVal.clear();
        return false;
    }
    switch (value->type) {
    case KeyValue::Type::String: {
        QString text = value->text;
        if (text.endsWith(QChar(u'\0')))
            text.chop(1);
        keyVal = text;
        break;
    }
    case KeyValue::Type::DWord:
        // Every byte as two digits, most significant first, so the text reads
        // back as the same number (0x0102 gives &h00000102, not &h012).
        keyVal = QStringLiteral("&h") + QStringLiteral("%1").arg(value->number, 8, 16, QChar(u'0')).toUpper();
        break;
    case KeyValue::Type::Other:
        break;
    }
    return true;
}

bool ProcessLauncher::fileExists(const QString& path) const
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool ProcessLauncher::start(const QString& program)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, {});
}

DesktopSystemInfoSource::DesktopSystemInfoSource(QStringList candidates)
    : m_candidates(std::move(candidates))
{
    if (m_candidates.isEmpty())
        m_candidates = {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
                        QStringLiteral("gnome-system-monitor")};
}

std::optional<KeyValue> DesktopSystemInfoSource::lookup(std::uint32_t root, const QString& keyName,
                                                        const QString& valueName) const
{
    if (root != KeyRoot::LocalMachine || keyName.compare(kMsInfoKey, Qt::CaseInsensitive) != 0
        || valueName.compare(kMsInfoValue, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    for (const QString& name : m_candidates) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return KeyValue{KeyValue::Type::String, found, 0};
    }
    return std::nullopt;
}

void StartSysInfo(const KeyValueSource& source, ProgramLauncher& launcher, Messages& messages,
                  QWidget* parent)
{
    QString path;
    if (GetKeyValue(source, KeyRoot::LocalMachine, kMsInfoKey, kMsInfoValue, path)) {
        if (launcher.start(path))
            return;
    } else if (GetKeyValue(source, KeyRoot::LocalMachine, kMsInfoLocationKey, kMsInfoLocationValue, path)) {
        while (path.endsWith(u'/') || path.endsWith(u'\\'))
            path.chop(1);
        const QString program = path + QLatin1Char('/') + kMsInfoProgram;
        if (launcher.fileExists(program) && launcher.start(program))
            return;
    }
    messages.information(parent, kSysInfoUnavailable);
}
