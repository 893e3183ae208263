#pragma once

#include <QObject>
#include <QSet>

class QLineEdit;

// The per-control changed flags of one window: a watched control's flag is set
// by every change of its value, typed or assigned by the program, and cleared
// only by clear(). Controls that are not watched never count as changed.
class ChangeTracker : public QObject {
    Q_OBJECT
public:
    explicit ChangeTracker(QObject* parent = nullptr);

    // `changed` is the control's signal for a new value (textChanged,
    // currentIndexChanged, stateChanged...).
    template <typename Control, typename Signal>
    void watch(Control* control, Signal changed)
    {
        add(control);
        connect(control, changed, this, [this, control] { mark(control); });
    }

    // Sets a box's text as the program assigns it: the flag is set even when
    // the text stays the same, since the program wrote the value.
    void assign(QLineEdit* box, const QString& text);

    void clear();
    bool isChanged() const;
    bool isChanged(const QObject* control) const;
    // Names of the changed controls, for diagnostics and tests.
    QStringList changedNames() const;

private:
    void add(QObject* control);
    void mark(QObject* control);

    QSet<const QObject*> m_watched;
    QSet<const QObject*> m_changed;
};
