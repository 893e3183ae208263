#pragma once

#include <QLineEdit>

#include <functional>

class QKeyEvent;
class QMenu;

// Alt with a letter is an access key: when no control answers to it, the
// box must not type the letter (Alt+Y after a question box has gone would
// put "y" into a number). AltGr and Ctrl+Alt compose characters and type.
bool isAccessKey(const QKeyEvent* event);

// A QLineEdit through which every text from outside (a paste by key or
// menu, a drop, a middle-click paste, an input method's commit, a typed key)
// passes one hook before any of it reaches the box. QLineEdit itself records
// an undo step for every inserted character and lays out its whole text, so
// a 10 MB paste left to it costs seconds and hundreds of megabytes even when
// the box then refuses it.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    // At most `limit` characters: text from outside that would make the box
    // longer is refused whole, the box keeps its text, and `refused` is
    // called (it tells the user).
    void setLengthLimit(int limit, std::function<void()> refused);

public slots:
    // The clipboard's text inserted at the selection, through the hook.
    void pasteChecked();

protected:
    // Inserts `text` from outside in place of the selection.
    virtual void insertFromOutside(const QString& text);
    // The position a drop at `point` lands on.
    virtual int positionAt(const QPoint& point);
    // Lets a box rewire the standard context menu's actions.
    virtual void adjustContextMenu(QMenu* menu);

    // Whether the box may become `added` characters longer after losing
    // `removed` ones; if not, tells the user.
    bool admits(qsizetype removed, qsizetype added);
    qsizetype selectionLength() const;

    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    int m_limit = -1;
    std::function<void()> m_refused;
};
