#include "DateBox.h"

#include "TextBox.h"

#include "LocaleText.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

namespace {

// A small calendar page, for desktops whose icon theme has none.
QIcon drawnCalendarIcon(const QPalette& palette)
{
    QPixmap page(16, 16);
    page.fill(Qt::transparent);
    QPainter painter(&page);
    painter.setPen(palette.color(QPalette::Text));
    painter.setBrush(palette.color(QPalette::Base));
    painter.drawRect(1, 2, 13, 12);
    painter.fillRect(2, 3, 12, 3, palette.color(QPalette::Highlight));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            painter.fillRect(3 + column * 3, 7 + row * 2 + row, 2, 2, palette.color(QPalette::Text));
    return QIcon(page);
}

}  // namespace

DateBox::DateBox(QWidget* parent) : QLineEdit(parent)
{
    QAction* pick = addAction(QIcon::fromTheme(QStringLiteral("x-office-calendar"), drawnCalendarIcon(palette())),
                              QLineEdit::TrailingPosition);
    pick->setToolTip(QStringLiteral("Pick the date from a calendar (Alt+Down)"));
    connect(pick, &QAction::triggered, this, &DateBox::showCalendar);
    setDate(QDate::currentDate());
}

void DateBox::setDate(const QDate& date)
{
    if (!date.isValid() && !m_blankAllowed) return;
    const QString text = date.isValid() ? LocaleText::shortDateText(date) : QString();
    if (this->text() != text) setText(text);
    if (date == m_date) return;
    m_date = date;
    emit dateChanged(m_date);
}

void DateBox::setBlankAllowed(bool allowed)
{
    m_blankAllowed = allowed;
    if (allowed) setDate(QDate());
}

bool DateBox::takeTypedDate()
{
    if (m_blankAllowed && text().trimmed().isEmpty()) {
        setDate(QDate());
        return true;
    }
    const auto typed = LocaleText::readShortDate(text());
    if (!typed || *typed < m_minimum || *typed > m_maximum) return false;
    setDate(*typed);
    return true;
}

bool DateBox::showsDate() const
{
    return text() == (m_date.isValid() ? LocaleText::shortDateText(m_date) : QString());
}

QString DateBox::refusal(const QString& caption)
{
    const QString example = LocaleText::shortDateText(QDate(QDate::currentDate().year(), 12, 31));
    return QStringLiteral("%1 must be a valid date, such as %2.").arg(caption, example);
}

void DateBox::leave()
{
    if (showsDate()) return;
    if (!takeTypedDate()) emit typedDateRefused();
}

void DateBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The calendar, a context menu, the menu bar or another window taking the
    // focus is not the user leaving the box.
    switch (event->reason()) {
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::MenuBarFocusReason:
        return;
    default:
        leave();
    }
}

void DateBox::keyPressEvent(QKeyEvent* event)
{
    if (isAccessKey(event)) {
        event->ignore();
        return;
    }
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_F4:
        if (event->modifiers() != Qt::NoModifier)
            break;
        showCalendar();
        return;
    case Qt::Key_Down:
        if (alt) {
            showCalendar();
            return;
        }
        step(-1);
        return;
    case Qt::Key_Up:
        if (alt) break;
        step(1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        leave();
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

int DateBox::fieldAtCursor() const
{
    // The digits under the cursor, or those just before it.
    const QString s = text();
    const int at = cursorPosition();
    const int upTo = at < s.size() && s.at(at).isDigit() ? at : at - 1;
    int field = -1;
    for (int i = 0; i <= upTo && i < s.size(); ++i)
        if (s.at(i).isDigit() && (i == 0 || !s.at(i - 1).isDigit())) ++field;
    return std::clamp(field, 0, 2);
}

void DateBox::step(int amount)
{
    const auto typed = LocaleText::readShortDate(text());
    // A blank box steps from today.
    const QDate from = typed ? *typed : m_date.isValid() ? m_date : QDate::currentDate();
    const int field = fieldAtCursor();
    const QChar unit = LocaleText::shortDateOrder().at(field);
    QDate to = unit == QLatin1Char('d')   ? from.addDays(amount)
               : unit == QLatin1Char('M') ? from.addMonths(amount)
                                          : from.addYears(amount);
    to = std::clamp(to, m_minimum, m_maximum);
    setDate(to);
    emit dateEdited();
    // The cursor stays in the field it was stepping.
    const QString s = text();
    int seen = -1;
    bool inDigits = false;
    int position = int(s.size());
    for (int i = 0; i < s.size(); ++i) {
        const bool digit = s.at(i).isDigit();
        if (digit && !inDigits) ++seen;
        if (!digit && inDigits && seen == field) {
            position = i;
            break;
        }
        inDigits = digit;
    }
    setCursorPosition(position);
}

void DateBox::showCalendar()
{
    if (!m_calendar) {
        m_calendar = new QCalendarWidget(this);
        m_calendar->setWindowFlags(Qt::Popup);
        m_calendar->setDateRange(m_minimum, m_maximum);
        m_calendar->installEventFilter(this);
        auto choose = [this](QDate date) {
            m_calendar->hide();
            setDate(date);
            emit dateEdited();
            setFocus(Qt::PopupFocusReason);
        };
        connect(m_calendar, &QCalendarWidget::clicked, this, choose);
        connect(m_calendar, &QCalendarWidget::activated, this, choose);
    }
    const auto typed = LocaleText::readShortDate(text());
    m_calendar->setSelectedDate(typed ? *typed : m_date.isValid() ? m_date : QDate::currentDate());
    m_calendar->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* shown = screen()) {
        const QRect room = shown->availableGeometry();
        const QSize size = m_calendar->sizeHint();
        if (at.y() + size.height() > room.bottom()) at.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - size.width())));
    }
    m_calendar->move(at);
    m_calendar->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

bool DateBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_calendar && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_calendar->hide();
        setFocus(Qt::PopupFocusReason);
        return true;
    }
    return QLineEdit::eventFilter(watched, event);
}
