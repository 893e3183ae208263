#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The undo and redo steps of a long description: one step per edit, each
// replacing a stretch of the text at once, where QLineEdit would keep one
// step per character.
class LongTextHistory {
public:
    struct Step {
        qsizetype at;
        QString removed;
        QString inserted;
    };

    // A new edit: it can be undone, and nothing undone can be redone any more.
    void record(Step step);
    void clear();
    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }

    // The step to undo against `text` (replace `inserted` at `at` by
    // `removed`), now redoable; none when there is none, or when the text was
    // set since by the program, which makes every step meaningless.
    std::optional<Step> takeUndo(QStringView text);
    // The step to redo (replace `removed` at `at` by `inserted`), as takeUndo.
    std::optional<Step> takeRedo(QStringView text);

private:
    QList<Step> m_undo;
    QList<Step> m_redo;
};
