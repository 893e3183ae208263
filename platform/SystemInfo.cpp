#include "SystemInfo.h"

#include "Messages.h"

#include <QProcess>
#include <QStandardPaths>

void StartSysInfo(Messages& messages, QWidget* parent)
{
    for (const QString& name : kSystemInfoPrograms) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty() && QProcess::startDetached(program, {}))
            return;
    }
    messages.information(parent, kSysInfoUnavailable);
}
