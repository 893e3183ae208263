#pragma once

#include <QString>

class QWidget;

// Every message box and question of the program goes through this, so tests
// can script the answers. Titles are always "Brimvale".
class Messages {
public:
    // A question whose "No" throws work away: dismissing the box (Esc, its
    // close button) must not count as either answer.
    enum class Answer { Yes, No, Dismissed };

    virtual ~Messages() = default;
    virtual void warning(QWidget* parent, const QString& text) = 0;      // exclamation icon, OK
    virtual void critical(QWidget* parent, const QString& text) = 0;     // stop icon, OK
    virtual void information(QWidget* parent, const QString& text) = 0;  // no icon, OK
    virtual bool question(QWidget* parent, const QString& text) = 0;     // Yes/No, no icon; true = Yes
    // Yes/No, no icon, like question(); a dismissed box answers Dismissed.
    virtual Answer ask(QWidget* parent, const QString& text) = 0;
};

// The real one, with QMessageBox.
class QtMessages : public Messages {
public:
    void warning(QWidget* parent, const QString& text) override;
    void critical(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    Answer ask(QWidget* parent, const QString& text) override;
};

inline const QString kAppTitle = QStringLiteral("Brimvale");
