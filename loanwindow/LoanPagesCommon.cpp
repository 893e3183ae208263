#include "LoanPages.h"

#include "TextBox.h"

#include "LocaleText.h"

#include "DateBox.h"
#include "RateChangeRow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QTableView>

#include <limits>

namespace LoanPages {

QLineEdit* makeTextBox(const char* name, QWidget* parent)
{
    auto* box = new TextBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    // QLineEdit cuts text at 32,767 characters by default; a pasted or stored
    // text must never be shortened without a word.
    box->setMaxLength(std::numeric_limits<int>::max());
    // Room for an amount at least; a narrower window scrolls instead.
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("$999,999.99")) + 10);
    return box;
}

QLineEdit* makeResultBox(const char* name, QWidget* parent)
{
    auto* box = makeTextBox(name, parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    pal.setColor(QPalette::Text, Qt::black);
    box->setPalette(pal);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("$999,999.99")) + 10);
    return box;
}

DateBox* makeDatePicker(const char* name, QWidget* parent)
{
    auto* picker = new DateBox(parent);
    picker->setObjectName(QString::fromLatin1(name));
    // Room for the longest short date and the calendar button.
    picker->setMinimumWidth(picker->fontMetrics().horizontalAdvance(LocaleText::shortDateText(QDate(2088, 12, 28))) +
                            picker->height() + 12);
    return picker;
}

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QComboBox* makePaymentRuleList(const char* name, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (auto mode : {engine::RateChangeMode::NewPayment, engine::RateChangeMode::SamePayment})
        list->addItem(rateChangeModeText(mode));
    return list;
}

QLabel* addField(QGridLayout& fields, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption, field->parentWidget());
    label->setBuddy(field);
    const int line = fields.rowCount() == 1 && !fields.itemAtPosition(0, 0) ? 0 : fields.rowCount();
    fields.addWidget(label, line, 0);
    fields.addWidget(field, line, 1);
    return label;
}

QTableView* makeRowsTable(const char* name, QAbstractItemModel* model, QWidget* parent)
{
    auto* table = new QTableView(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setModel(model);
    // One Tab stop: Tab leaves the table, the arrows move inside it.
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    return table;
}

void showRoundingNote(QLabel& note, QLineEdit& box, const QString& text)
{
    note.setText(text);
    // The note's line stays reserved, so nothing below it jumps when it shows.
    QSizePolicy policy = note.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    note.setSizePolicy(policy);
    note.setVisible(!text.isEmpty());
    box.setToolTip(note.text());
}

}  // namespace LoanPages
