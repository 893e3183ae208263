#include "DescriptionBox.h"

#include "TextPositions.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextLayout>

namespace {

// QLineEdit's own margins inside its contents rectangle.
constexpr int kHorizontalMargin = 2;

QString menuText(const char* text, QKeySequence::StandardKey key)
{
    QString caption = QCoreApplication::translate("QLineEdit", text);
    if (QGuiApplication::styleHints()->showShortcutsInContextMenus())
        caption += QLatin1Char('\t') + QKeySequence(key).toString(QKeySequence::NativeText);
    return caption;
}

}  // namespace

DescriptionBox::DescriptionBox(QWidget* parent) : TextBox(parent)
{
    // A text set through QLineEdit::setText (not setWholeText) is laid out
    // once by QLineEdit before the box takes it over.
    connect(this, &QLineEdit::textChanged, this, &DescriptionBox::followLength);
}

void DescriptionBox::followLength()
{
    const qsizetype size = text().size();
    if (size > kLongText && !m_long)
        setLong(true);
    else if (size <= kLongText && m_long)
        setLong(false);
}

void DescriptionBox::setLong(bool on)
{
    m_long = on;
    m_window.reset();
    m_pressAnchor = -1;
    // With NoEcho QLineEdit keeps the text but lays out none of it.
    setEchoMode(on ? QLineEdit::NoEcho : QLineEdit::Normal);
    if (!on)
        setInputMethodHints(Qt::ImhNone);
    update();
}

void DescriptionBox::setWholeText(const QString& text)
{
    m_history.clear();
    if (text.size() > kLongText && !m_long)
        setLong(true);
    setText(text);
}

void DescriptionBox::apply(qsizetype from, qsizetype to, const QString& with)
{
    const QString old = text();
    QString next;
    next.reserve(old.size() - (to - from) + with.size());
    next.append(QStringView(old).left(from));
    next.append(with);
    next.append(QStringView(old).mid(to));
    if (next.size() > kLongText && !m_long)
        setLong(true);
    setText(next);  // leaves the long mode through followLength when short again
    setCursorPosition(int(from + with.size()));
}

void DescriptionBox::replace(qsizetype from, qsizetype to, const QString& with)
{
    if (from == to && with.isEmpty())
        return;
    const QString removed = text().mid(from, to - from);
    apply(from, to, with);
    m_history.record({from, removed, with});
}

void DescriptionBox::replaceSelection(const QString& with)
{
    if (hasSelectedText())
        replace(selectionStart(), selectionEnd(), with);
    else
        replace(cursorPosition(), cursorPosition(), with);
}

void DescriptionBox::undoEdit()
{
    if (isUndoAvailable()) {  // QLineEdit's own steps come after ours
        undo();
        return;
    }
    if (const auto step = m_history.takeUndo(text()))
        apply(step->at, step->at + step->inserted.size(), step->removed);
}

void DescriptionBox::redoEdit()
{
    if (isRedoAvailable()) {
        redo();
        return;
    }
    if (const auto step = m_history.takeRedo(text()))
        apply(step->at, step->at + step->removed.size(), step->inserted);
}

void DescriptionBox::insertFromOutside(const QString& inserted)
{
    if (!m_long && text().size() - selectionLength() + inserted.size() <= kLongText) {
        insert(inserted);
        return;
    }
    replaceSelection(inserted);
}

void DescriptionBox::copySelection()
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText());
}

void DescriptionBox::cutSelection()
{
    copySelection();
    deleteSelection();
}

void DescriptionBox::deleteSelection()
{
    if (hasSelectedText())
        replaceSelection(QString());
}

qsizetype DescriptionBox::anchor() const
{
    if (!hasSelectedText())
        return cursorPosition();
    return cursorPosition() == selectionStart() ? selectionEnd() : selectionStart();
}

void DescriptionBox::moveTo(qsizetype position, bool mark)
{
    if (mark) {
        const qsizetype from = anchor();
        setSelection(int(from), int(position - from));
    } else {
        setCursorPosition(int(position));
    }
}

void DescriptionBox::keyPressEvent(QKeyEvent* event)
{
    if (!m_long) {
        // Our steps lie under QLineEdit's own, which a long edit cleared.
        if (event->matches(QKeySequence::Undo) && !isUndoAvailable() && m_history.canUndo()) {
            undoEdit();
            return;
        }
        if (event->matches(QKeySequence::Redo) && !isRedoAvailable() && m_history.canRedo()) {
            redoEdit();
            return;
        }
        TextBox::keyPressEvent(event);
        return;
    }

    const QString whole = text();
    const qsizetype cursor = cursorPosition();
    const qsizetype size = whole.size();
    event->accept();
    if (const auto move = TextPositions::keyMove(*event, whole, cursor, hasSelectedText() ? selectionStart() : -1,
                                                 hasSelectedText() ? selectionEnd() : -1))
        moveTo(move->to, move->mark);
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else if (event->matches(QKeySequence::Copy))
        copySelection();
    else if (isReadOnly())
        event->ignore();
    else if (event->matches(QKeySequence::Paste))
        pasteChecked();
    else if (event->matches(QKeySequence::Cut))
        cutSelection();
    else if (event->matches(QKeySequence::Undo))
        undoEdit();
    else if (event->matches(QKeySequence::Redo))
        redoEdit();
    else if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        if (hasSelectedText())
            deleteSelection();
        else if (event->key() == Qt::Key_Backspace)
            replace(TextPositions::previous(whole, cursor), cursor, QString());
        else
            replace(cursor, TextPositions::next(whole, cursor), QString());
    } else if (event->matches(QKeySequence::DeleteStartOfWord))
        hasSelectedText() ? deleteSelection() : replace(TextPositions::previousWord(whole, cursor), cursor, QString());
    else if (event->matches(QKeySequence::DeleteEndOfWord))
        hasSelectedText() ? deleteSelection() : replace(cursor, TextPositions::nextWord(whole, cursor), QString());
    else if (event->matches(QKeySequence::DeleteEndOfLine))
        replace(cursor, size, QString());
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        QLineEdit::keyPressEvent(event);  // returnPressed, editingFinished
    else if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
             !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        replaceSelection(event->text());
    else
        event->ignore();
    update();
}

QRect DescriptionBox::textArea() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
    return area.adjusted(kHorizontalMargin, 0, -kHorizontalMargin, 0);
}

void DescriptionBox::layOutWindow(QTextLayout& layout)
{
    m_window.layOut(layout, text(), cursorPosition(), qMax(1, textArea().width()));
}

void DescriptionBox::paintEvent(QPaintEvent* event)
{
    if (!m_long) {
        TextBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect area = textArea();
    painter.setClipRect(area);

    QTextLayout layout(QString(), font());
    layOutWindow(layout);
    const QFontMetrics metrics = fontMetrics();
    const QPointF origin(area.x(), area.y() + (area.height() - metrics.height() + 1) / 2);

    const auto selections = hasSelectedText()
                                ? m_window.selection(layout, selectionStart(), selectionEnd(), palette())
                                : QList<QTextLayout::FormatRange>();
    painter.setPen(palette().color(QPalette::Text));
    layout.draw(&painter, origin, selections);
    // A steady cursor: blinking would repaint for nothing.
    if (hasFocus() && !isReadOnly())
        layout.drawCursor(&painter, origin, int(cursorPosition() - m_window.first()),
                          style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
}

int DescriptionBox::positionAt(const QPoint& point)
{
    if (!m_long)
        return TextBox::positionAt(point);
    QTextLayout layout(QString(), font());
    layOutWindow(layout);
    return int(m_window.first() + layout.lineAt(0).xToCursor(point.x() - textArea().x()));
}

void DescriptionBox::mousePressEvent(QMouseEvent* event)
{
    if (!m_long) {
        TextBox::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::RightButton)
        return;
    const int position = positionAt(event->position().toPoint());
    const bool mark = event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier);
    m_pressAnchor = mark ? anchor() : position;
    moveTo(position, mark);
    if (event->button() != Qt::LeftButton)
        m_pressAnchor = -1;
}

void DescriptionBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_long) {
        TextBox::mouseMoveEvent(event);
        return;
    }
    if (m_pressAnchor < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    const int position = positionAt(event->position().toPoint());
    setSelection(int(m_pressAnchor), int(position - m_pressAnchor));
}

void DescriptionBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_long && event->button() == Qt::LeftButton) {
        m_pressAnchor = -1;
        if (QGuiApplication::clipboard()->supportsSelection() && hasSelectedText())
            QGuiApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
        return;
    }
    TextBox::mouseReleaseEvent(event);
}

void DescriptionBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_long) {
        TextBox::mouseDoubleClickEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const auto [start, end] = TextPositions::wordAround(text(), positionAt(event->position().toPoint()));
    setSelection(int(start), int(end - start));
    m_pressAnchor = -1;
}

void DescriptionBox::dragMoveEvent(QDragMoveEvent* event)
{
    if (!m_long) {
        TextBox::dragMoveEvent(event);
        return;
    }
    if (!isReadOnly() && event->mimeData()->hasText()) {
        setCursorPosition(positionAt(event->position().toPoint()));
        event->acceptProposedAction();
        update();
    }
}

void DescriptionBox::adjustContextMenu(QMenu* menu)
{
    // After a long edit QLineEdit has no undo step left, but we do.
    for (QAction* action : menu->actions()) {
        if (!isUndoAvailable() && m_history.canUndo() &&
            (disconnect(action, SIGNAL(triggered()), this, SLOT(undo())) ||
             disconnect(action, &QAction::triggered, this, &QLineEdit::undo))) {
            connect(action, &QAction::triggered, this, &DescriptionBox::undoEdit);
            action->setEnabled(true);
        }
        if (!isRedoAvailable() && m_history.canRedo() &&
            (disconnect(action, SIGNAL(triggered()), this, SLOT(redo())) ||
             disconnect(action, &QAction::triggered, this, &QLineEdit::redo))) {
            connect(action, &QAction::triggered, this, &DescriptionBox::redoEdit);
            action->setEnabled(true);
        }
    }
}

void DescriptionBox::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_long) {
        TextBox::contextMenuEvent(event);
        return;
    }
    // QLineEdit's own menu would copy nothing (NoEcho) and delete a
    // selection one undo step per character.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool editable = !isReadOnly();
    auto add = [this, menu](const char* text, QKeySequence::StandardKey key, bool enabled, void (DescriptionBox::*slot)()) {
        QAction* action = menu->addAction(menuText(text, key));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    add("&Undo", QKeySequence::Undo, editable && (isUndoAvailable() || m_history.canUndo()), &DescriptionBox::undoEdit);
    add("&Redo", QKeySequence::Redo, editable && (isRedoAvailable() || m_history.canRedo()), &DescriptionBox::redoEdit);
    menu->addSeparator();
    add("Cu&t", QKeySequence::Cut, editable && hasSelectedText(), &DescriptionBox::cutSelection);
    add("&Copy", QKeySequence::Copy, hasSelectedText(), &DescriptionBox::copySelection);
    add("&Paste", QKeySequence::Paste, editable && !QGuiApplication::clipboard()->text().isEmpty(),
        &TextBox::pasteChecked);
    add("Delete", QKeySequence::Delete, editable && hasSelectedText(), &DescriptionBox::deleteSelection);
    menu->addSeparator();
    add("Select All", QKeySequence::SelectAll, true, &QLineEdit::selectAll);
    menu->popup(event->globalPos());
}

void DescriptionBox::inputMethodEvent(QInputMethodEvent* event)
{
    if (!m_long) {
        TextBox::inputMethodEvent(event);
        return;
    }
    if (!isReadOnly() && !event->commitString().isEmpty())
        replaceSelection(event->commitString());
    event->accept();
}

QVariant DescriptionBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (m_long) {
        // An input method is not handed megabytes on every cursor move.
        switch (query) {
        case Qt::ImSurroundingText:
        case Qt::ImCurrentSelection:
        case Qt::ImTextBeforeCursor:
        case Qt::ImTextAfterCursor: return QString();
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition: return 0;
        default: break;
        }
    }
    return TextBox::inputMethodQuery(query);
}
