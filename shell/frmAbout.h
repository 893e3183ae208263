#pragma once

#include <QDialog>

class Messages;

// The about box: title, version, description and disclaimer, and a button
// that starts the system information tool.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(Messages& messages, QWidget* parent = nullptr);

private:
    Messages& m_messages;
};

inline const QString kAppDescription = QStringLiteral(
    "This program is intended for personal use and should not be used to validate any lending institutions data.");
