#include "Messages.h"

#include "DialogFlags.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>

#include <algorithm>

namespace {

// A narrow box ("6 - Overflow") would leave the frame too little room for
// "Brimvale" beside its icon and buttons; QMessageBox's own allowance is too
// small for most window managers. The layout gets a strut that wide.
void keepTitleWhole(QMessageBox& box)
{
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int titleHeight = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    // The window icon, and close, maximise and minimise buttons, each about
    // as wide as the bar is high, plus the gaps between them.
    const int frameButtons = 4 * std::max(titleHeight, 24) + 24;
    const int needed = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + frameButtons;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
}

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton)
{
    QMessageBox box(icon, kAppTitle, text, buttons, parent, kDialogFlags);
    keepTitleWhole(box);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
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
    // Only Yes and No: closing the box with Escape counts as No. The questions
    // ask before deleting or replacing a loan, so Enter answers No too.
    return show(parent, QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

Messages::Answer QtMessages::ask(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kAppTitle, text, QMessageBox::Yes | QMessageBox::No, parent, kDialogFlags);
    keepTitleWhole(box);
    // Esc and the close button press the escape button; an unseen one of its
    // own keeps them from pressing No, while only Yes and No are shown.
    auto* dismiss = new QPushButton(&box);
    box.addButton(dismiss, QMessageBox::RejectRole);
    dismiss->hide();
    box.setEscapeButton(dismiss);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return Answer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return Answer::No;
    return Answer::Dismissed;
}
