#pragma once

#include <QGroupBox>

class QButtonGroup;
class QRadioButton;

// Option buttons in a frame as one field: `current` is the position of the
// checked one (the field's user property, as a row editor reads it), and
// chosen() tells that the user picked one (a click, a key, an arrow).
class OptionGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int current READ current WRITE setCurrent NOTIFY currentChanged USER true)
public:
    explicit OptionGroup(const QString& title, QWidget* parent = nullptr);

    QRadioButton* addOption(const QString& text, const char* name);
    int current() const;
    void setCurrent(int position);

signals:
    void currentChanged(int position);
    void chosen(int position);

private:
    QButtonGroup* m_buttons;
};
