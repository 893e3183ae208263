#pragma once

#include <QString>
#include <QStringList>

class Messages;
class QWidget;

// The system information programs Debian's desktops ship, in the order the
// about box tries them: HardInfo, KDE's Info Center, Xfce's About, GNOME's
// and MATE's System Monitor.
inline const QStringList kSystemInfoPrograms{QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
                                             QStringLiteral("xfce4-about"), QStringLiteral("gnome-system-monitor"),
                                             QStringLiteral("mate-system-monitor")};
inline const QString kSysInfoUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

// Starts the first of those programs found on the user's PATH; when there is
// none, or it does not start, says "System Information Is Unavailable At This Time".
void StartSysInfo(Messages& messages, QWidget* parent);
