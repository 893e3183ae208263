#include "Messages.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, kAppTitle, text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

}  // namespace

void QtMessages::warning(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

void QtMessages::critical(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

void QtMessages::information(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

bool QtMessages::question(QWidget* parent, const QString& text)
{
    // Only Yes and No: closing the box with Escape counts as No.
    return show(parent, QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}
