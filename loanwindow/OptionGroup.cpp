#include "OptionGroup.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

OptionGroup::OptionGroup(const QString& title, QWidget* parent) : QGroupBox(title, parent), m_buttons(new QButtonGroup(this))
{
    new QHBoxLayout(this);
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int position, bool on) {
        if (on)
            emit currentChanged(position);
    });
    connect(m_buttons, &QButtonGroup::idClicked, this, &OptionGroup::chosen);
}

QRadioButton* OptionGroup::addOption(const QString& text, const char* name)
{
    auto* option = new QRadioButton(text, this);
    option->setObjectName(QString::fromLatin1(name));
    m_buttons->addButton(option, int(m_buttons->buttons().size()));
    layout()->addWidget(option);
    return option;
}

int OptionGroup::current() const
{
    return m_buttons->checkedId();
}

void OptionGroup::setCurrent(int position)
{
    if (QAbstractButton* option = m_buttons->button(position))
        option->setChecked(true);
}
