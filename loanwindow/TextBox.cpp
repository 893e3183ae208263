#include "TextBox.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}

void TextBox::setLengthLimit(int limit, std::function<void()> refused)
{
    m_limit = limit;
    m_refused = std::move(refused);
}

qsizetype TextBox::selectionLength() const
{
    return hasSelectedText() ? selectionEnd() - selectionStart() : 0;
}

bool TextBox::admits(qsizetype removed, qsizetype added)
{
    if (m_limit < 0 || text().size() - removed + added <= m_limit)
        return true;
    if (m_refused)
        m_refused();
    return false;
}

void TextBox::insertFromOutside(const QString& text)
{
    insert(text);
}

int TextBox::positionAt(const QPoint& point)
{
    return cursorPositionAt(point);
}

void TextBox::adjustContextMenu(QMenu*) {}

void TextBox::pasteChecked()
{
    if (isReadOnly())
        return;
    const QString clip = QGuiApplication::clipboard()->text();
    if (clip.isEmpty() && !hasSelectedText())
        return;
    if (admits(selectionLength(), clip.size()))
        insertFromOutside(clip);
}

bool isAccessKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return (modifiers & Qt::AltModifier) && !(modifiers & (Qt::ControlModifier | Qt::GroupSwitchModifier)) &&
           !event->text().isEmpty() && event->text().at(0).isPrint();
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    if (isAccessKey(event)) {
        event->ignore();
        return;
    }
    if (!isReadOnly()) {
        if (event->matches(QKeySequence::Paste)) {
            pasteChecked();
            event->accept();
            return;
        }
        // A Ctrl shortcut (Ctrl+A, Ctrl+Z) types nothing, whatever text its event carries.
        const QString typed = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier) ? QString() : event->text();
        if (m_limit >= 0 && !typed.isEmpty() && typed.at(0).isPrint() && !admits(selectionLength(), typed.size())) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard Paste goes straight to QLineEdit::paste, around the check.
    for (QAction* action : menu->actions())
        if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
            disconnect(action, &QAction::triggered, this, &QLineEdit::paste))
            connect(action, &QAction::triggered, this, &TextBox::pasteChecked);
    adjustContextMenu(menu);
    menu->popup(event->globalPos());
}

void TextBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && !isReadOnly() && QGuiApplication::clipboard()->supportsSelection()) {
        const QString selection = QGuiApplication::clipboard()->text(QClipboard::Selection);
        deselect();
        if (!selection.isEmpty() && admits(0, selection.size()))
            insertFromOutside(selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TextBox::dropEvent(QDropEvent* event)
{
    const QString dropped = event->mimeData()->text();
    // A move within the box keeps its length; QLineEdit does that well.
    if (dropped.isEmpty() || isReadOnly() || event->source() == this) {
        QLineEdit::dropEvent(event);
        return;
    }
    if (!admits(0, dropped.size())) {
        event->ignore();
        return;
    }
    setCursorPosition(positionAt(event->position().toPoint()));
    event->acceptProposedAction();
    insertFromOutside(dropped);
}

void TextBox::inputMethodEvent(QInputMethodEvent* event)
{
    const qsizetype replaced = event->replacementLength() > 0 ? event->replacementLength() : selectionLength();
    if (!event->commitString().isEmpty() && !isReadOnly() && !admits(replaced, event->commitString().size())) {
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}
