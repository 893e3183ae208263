#include "DescriptionBox.h"

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

// Characters laid out around the cursor: wider than any screen.
constexpr qsizetype kWindow = 4096;
// QLineEdit's own margins inside its contents rectangle.
constexpr int kHorizontalMargin = 2;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

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
    m_first = 0;
    m_pressAnchor = -1;
    // With NoEcho QLineEdit keeps the text but lays out none of it.
    setEchoMode(on ? QLineEdit::NoEcho : QLineEdit::Normal);
    if (!on)
        setInputMethodHints(Qt::ImhNone);
    update();
}

void DescriptionBox::setWholeText(const QString& text)
{
    m_undo.clear();
    m_redo.clear();
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
    m_undo.append({from, removed, with});
    m_redo.clear();
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
    if (m_undo.isEmpty())
        return;
    const Edit edit = m_undo.takeLast();
    // A text set since by the program makes the step meaningless.
    if (QStringView(text()).mid(edit.at, edit.inserted.size()) != edit.inserted) {
        m_undo.clear();
        m_redo.clear();
        return;
    }
    apply(edit.at, edit.at + edit.inserted.size(), edit.removed);
    m_redo.append(edit);
}

void DescriptionBox::redoEdit()
{
    if (isRedoAvailable()) {
        redo();
        return;
    }
    if (m_redo.isEmpty())
        return;
    const Edit edit = m_redo.takeLast();
    if (QStringView(text()).mid(edit.at, edit.removed.size()) != edit.removed) {
        m_undo.clear();
        m_redo.clear();
        return;
    }
    apply(edit.at, edit.at + edit.removed.size(), edit.inserted);
    m_undo.append(edit);
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

qsizetype DescriptionBox::nextPosition(qsizetype position) const
{
    const QString whole = text();
    if (position >= whole.size())
        return whole.size();
    ++position;
    if (position < whole.size() && whole.at(position).isLowSurrogate())
        ++position;
    return position;
}

qsizetype DescriptionBox::previousPosition(qsizetype position) const
{
    const QString whole = text();
    if (position <= 0)
        return 0;
    --position;
    if (position > 0 && whole.at(position).isLowSurrogate())
        --position;
    return position;
}

qsizetype DescriptionBox::nextWord(qsizetype position) const
{
    const QString whole = text();
    while (position < whole.size() && isWordCharacter(whole.at(position)))
        ++position;
    while (position < whole.size() && !isWordCharacter(whole.at(position)))
        ++position;
    return position;
}

qsizetype DescriptionBox::previousWord(qsizetype position) const
{
    const QString whole = text();
    while (position > 0 && !isWordCharacter(whole.at(position - 1)))
        --position;
    while (position > 0 && isWordCharacter(whole.at(position - 1)))
        --position;
    return position;
}

void DescriptionBox::keyPressEvent(QKeyEvent* event)
{
    if (!m_long) {
        // Our steps lie under QLineEdit's own, which a long edit cleared.
        if (event->matches(QKeySequence::Undo) && !isUndoAvailable() && !m_undo.isEmpty()) {
            undoEdit();
            return;
        }
        if (event->matches(QKeySequence::Redo) && !isRedoAvailable() && !m_redo.isEmpty()) {
            redoEdit();
            return;
        }
        TextBox::keyPressEvent(event);
        return;
    }

    const qsizetype cursor = cursorPosition();
    const qsizetype size = text().size();
    event->accept();
    if (event->matches(QKeySequence::MoveToNextChar))
        moveTo(hasSelectedText() ? selectionEnd() : nextPosition(cursor), false);
    else if (event->matches(QKeySequence::MoveToPreviousChar))
        moveTo(hasSelectedText() ? selectionStart() : previousPosition(cursor), false);
    else if (event->matches(QKeySequence::SelectNextChar))
        moveTo(nextPosition(cursor), true);
    else if (event->matches(QKeySequence::SelectPreviousChar))
        moveTo(previousPosition(cursor), true);
    else if (event->matches(QKeySequence::MoveToNextWord))
        moveTo(nextWord(cursor), false);
    else if (event->matches(QKeySequence::MoveToPreviousWord))
        moveTo(previousWord(cursor), false);
    else if (event->matches(QKeySequence::SelectNextWord))
        moveTo(nextWord(cursor), true);
    else if (event->matches(QKeySequence::SelectPreviousWord))
        moveTo(previousWord(cursor), true);
    else if (event->matches(QKeySequence::MoveToStartOfLine) || event->matches(QKeySequence::MoveToStartOfBlock) ||
             event->matches(QKeySequence::MoveToStartOfDocument))
        moveTo(0, false);
    else if (event->matches(QKeySequence::MoveToEndOfLine) || event->matches(QKeySequence::MoveToEndOfBlock) ||
             event->matches(QKeySequence::MoveToEndOfDocument))
        moveTo(size, false);
    else if (event->matches(QKeySequence::SelectStartOfLine) || event->matches(QKeySequence::SelectStartOfBlock) ||
             event->matches(QKeySequence::SelectStartOfDocument))
        moveTo(0, true);
    else if (event->matches(QKeySequence::SelectEndOfLine) || event->matches(QKeySequence::SelectEndOfBlock) ||
             event->matches(QKeySequence::SelectEndOfDocument))
        moveTo(size, true);
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
            replace(previousPosition(cursor), cursor, QString());
        else
            replace(cursor, nextPosition(cursor), QString());
    } else if (event->matches(QKeySequence::DeleteStartOfWord))
        hasSelectedText() ? deleteSelection() : replace(previousWord(cursor), cursor, QString());
    else if (event->matches(QKeySequence::DeleteEndOfWord))
        hasSelectedText() ? deleteSelection() : replace(cursor, nextWord(cursor), QString());
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
    const QString whole = text();
    const qsizetype cursor = cursorPosition();
    const int width = qMax(1, textArea().width());
    auto layOut = [&layout, &whole](qsizetype first, qsizetype count) {
        QString shown = whole.mid(first, count);
        // As QLineEdit shows them: control characters as spaces.
        for (QChar& c : shown)
            if ((c.unicode() < 0x20 && c.unicode() != 0x09) || c == QChar::LineSeparator ||
                c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter)
                c = QLatin1Char(' ');
        layout.setText(shown);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
    };
    m_first = qMin(m_first, whole.size());
    if (cursor < m_first)
        m_first = cursor;
    if (cursor - m_first <= kWindow) {
        layOut(m_first, kWindow);
        if (layout.lineAt(0).cursorToX(int(cursor - m_first)) <= width - 1)
            return;
    }
    // Scroll so the cursor stands at the right edge.
    const qsizetype before = qMin(cursor, kWindow);
    layOut(cursor - before, before);
    const QTextLine line = layout.lineAt(0);
    const qreal end = line.cursorToX(int(before));
    m_first = cursor - before + line.xToCursor(end - width + 1, QTextLine::CursorOnCharacter) + 1;
    m_first = qMin(m_first, cursor);
    if (m_first > 0 && m_first < whole.size() && whole.at(m_first).isLowSurrogate())
        ++m_first;
    layOut(m_first, kWindow);
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

    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        const qsizetype start = qMax<qsizetype>(selectionStart() - m_first, 0);
        const qsizetype end = qMin<qsizetype>(selectionEnd() - m_first, layout.text().size());
        if (end > start) {
            QTextLayout::FormatRange range;
            range.start = int(start);
            range.length = int(end - start);
            range.format.setBackground(palette().brush(QPalette::Highlight));
            range.format.setForeground(palette().brush(QPalette::HighlightedText));
            selections << range;
        }
    }
    painter.setPen(palette().color(QPalette::Text));
    layout.draw(&painter, origin, selections);
    // A steady cursor: blinking would repaint for nothing.
    if (hasFocus() && !isReadOnly())
        layout.drawCursor(&painter, origin, int(cursorPosition() - m_first),
                          style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
}

int DescriptionBox::positionAt(const QPoint& point)
{
    if (!m_long)
        return TextBox::positionAt(point);
    QTextLayout layout(QString(), font());
    layOutWindow(layout);
    return int(m_first + layout.lineAt(0).xToCursor(point.x() - textArea().x()));
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
    const qsizetype position = positionAt(event->position().toPoint());
    const QString whole = text();
    qsizetype start = position, end = position;
    while (start > 0 && isWordCharacter(whole.at(start - 1)))
        --start;
    while (end < whole.size() && isWordCharacter(whole.at(end)))
        ++end;
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
        if (!isUndoAvailable() && !m_undo.isEmpty() &&
            (disconnect(action, SIGNAL(triggered()), this, SLOT(undo())) ||
             disconnect(action, &QAction::triggered, this, &QLineEdit::undo))) {
            connect(action, &QAction::triggered, this, &DescriptionBox::undoEdit);
            action->setEnabled(true);
        }
        if (!isRedoAvailable() && !m_redo.isEmpty() &&
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
    add("&Undo", QKeySequence::Undo, editable && (isUndoAvailable() || !m_undo.isEmpty()), &DescriptionBox::undoEdit);
    add("&Redo", QKeySequence::Redo, editable && (isRedoAvailable() || !m_redo.isEmpty()), &DescriptionBox::redoEdit);
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
