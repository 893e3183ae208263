#include "ChangeTracker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

ChangeTracker::ChangeTracker(QObject* parent) : QObject(parent) {}

void ChangeTracker::mark(QObject* control)
{
    m_changed.insert(control);
}

void ChangeTracker::watch(QLineEdit* box)
{
    m_watched.insert(box);
    connect(box, &QLineEdit::textChanged, this, [this, box] { mark(box); });
    connect(box, &QObject::destroyed, this, [this, box] {
        m_watched.remove(box);
        m_changed.remove(box);
    });
}

void ChangeTracker::watch(QComboBox* list)
{
    m_watched.insert(list);
    connect(list, &QComboBox::currentIndexChanged, this, [this, list] { mark(list); });
    connect(list, &QObject::destroyed, this, [this, list] {
        m_watched.remove(list);
        m_changed.remove(list);
    });
}

void ChangeTracker::watch(QCheckBox* check)
{
    m_watched.insert(check);
    connect(check, &QCheckBox::stateChanged, this, [this, check] { mark(check); });
    connect(check, &QObject::destroyed, this, [this, check] {
        m_watched.remove(check);
        m_changed.remove(check);
    });
}

void ChangeTracker::assign(QLineEdit* box, const QString& text)
{
    box->setText(text);
    if (m_watched.contains(box))
        mark(box);
}

void ChangeTracker::clear()
{
    m_changed.clear();
}

bool ChangeTracker::isChanged() const
{
    return !m_changed.isEmpty();
}

bool ChangeTracker::isChanged(const QObject* control) const
{
    return m_changed.contains(control);
}

QStringList ChangeTracker::changedNames() const
{
    QStringList names;
    for (const QObject* control : m_changed)
        names << control->objectName();
    names.sort();
    return names;
}
