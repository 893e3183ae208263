#include "LongTextHistory.h"

void LongTextHistory::record(Step step)
{
    m_undo.append(std::move(step));
    m_redo.clear();
}

void LongTextHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}

std::optional<LongTextHistory::Step> LongTextHistory::takeUndo(QStringView text)
{
    if (m_undo.isEmpty())
        return std::nullopt;
    Step step = m_undo.takeLast();
    if (text.mid(step.at, step.inserted.size()) != step.inserted) {
        clear();
        return std::nullopt;
    }
    m_redo.append(step);
    return step;
}

std::optional<LongTextHistory::Step> LongTextHistory::takeRedo(QStringView text)
{
    if (m_redo.isEmpty())
        return std::nullopt;
    Step step = m_redo.takeLast();
    if (text.mid(step.at, step.removed.size()) != step.removed) {
        clear();
        return std::nullopt;
    }
    m_undo.append(step);
    return step;
}
