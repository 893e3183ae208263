#pragma once

#include <QDialog>

class KeyValueSource;
class Messages;
class ProgramLauncher;

// The about box: title, version, description and disclaimer, and a button
// that starts the system information tool.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(const KeyValueSource& sysInfoSource, ProgramLauncher& launcher, Messages& messages,
             QWidget* parent = nullptr);

    void StartSysInfo();

private:
    const KeyValueSource& m_source;
    ProgramLauncher& m_launcher;
    Messages& m_messages;
};

inline const QString kAppDescription = QStringLiteral(
    "This program is intended for personal use and should not be used to validate any lending institutions data.");
