#include "ChangeTracker.h"

#include <QLineEdit>

ChangeTracker::ChangeTracker(QObject* parent) : QObject(parent) {}

void ChangeTracker::mark(QObject* control)
{
    m_changed.insert(control);
}

void ChangeTracker::add(QObject* control)
{
    m_watched.insert(control);
    connect(control, &QObject::destroyed, this, [this, control] {
        m_watched.remove(control);
        m_changed.remove(control);
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
