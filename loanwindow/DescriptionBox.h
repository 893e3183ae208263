#pragma once

#include "LongTextHistory.h"
#include "LongTextWindow.h"
#include "TextBox.h"

#include <QList>

class QTextLayout;

// The loan's description box. Texts up to kLongText characters are edited by
// QLineEdit itself, exactly as any other box. A longer text (a pasted
// megabyte, a description stored so) stays whole in QLineEdit's text() but
// is not shown by it: QLineEdit lays out and shapes its whole text, which
// for ten megabytes takes seconds, a gigabyte and half a core for every
// cursor blink. Such a text is shown, hit-tested and edited here through a
// window of a few thousand characters around the cursor; every edit replaces
// the text at once and keeps its own undo step instead of QLineEdit's one
// step per character.
class DescriptionBox : public TextBox {
    Q_OBJECT
public:
    static constexpr qsizetype kLongText = 32767;

    explicit DescriptionBox(QWidget* parent = nullptr);

    // Sets the text as the program assigns it (a loaded loan): a long text
    // is never laid out whole. Clears the undo steps.
    void setWholeText(const QString& text);
    bool isLong() const { return m_long; }

public slots:
    void undoEdit();
    void redoEdit();

protected:
    void insertFromOutside(const QString& text) override;
    int positionAt(const QPoint& point) override;
    void adjustContextMenu(QMenu* menu) override;

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    void followLength();
    void setLong(bool on);
    // Replaces [from, to) by `with` as one undo step.
    void replace(qsizetype from, qsizetype to, const QString& with);
    void apply(qsizetype from, qsizetype to, const QString& with);
    void replaceSelection(const QString& with);
    void copySelection();
    void cutSelection();
    void deleteSelection();
    void moveTo(qsizetype position, bool mark);
    qsizetype anchor() const;
    QRect textArea() const;
    // Lays out the shown window, scrolled so the cursor is visible.
    void layOutWindow(QTextLayout& layout);

    bool m_long = false;
    LongTextWindow m_window;       // the part of a long text laid out
    qsizetype m_pressAnchor = -1;  // where a mouse selection started
    LongTextHistory m_history;     // undo and redo of long edits
};
