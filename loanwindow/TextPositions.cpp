#include "TextPositions.h"

#include <QKeyEvent>

namespace TextPositions {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

qsizetype next(const QString& text, qsizetype position)
{
    if (position >= text.size())
        return text.size();
    ++position;
    if (position < text.size() && text.at(position).isLowSurrogate())
        ++position;
    return position;
}

qsizetype previous(const QString& text, qsizetype position)
{
    if (position <= 0)
        return 0;
    --position;
    if (position > 0 && text.at(position).isLowSurrogate())
        --position;
    return position;
}

qsizetype nextWord(const QString& text, qsizetype position)
{
    while (position < text.size() && isWordCharacter(text.at(position)))
        ++position;
    while (position < text.size() && !isWordCharacter(text.at(position)))
        ++position;
    return position;
}

qsizetype previousWord(const QString& text, qsizetype position)
{
    while (position > 0 && !isWordCharacter(text.at(position - 1)))
        --position;
    while (position > 0 && isWordCharacter(text.at(position - 1)))
        --position;
    return position;
}

std::pair<qsizetype, qsizetype> wordAround(const QString& text, qsizetype position)
{
    qsizetype start = position, end = position;
    while (start > 0 && isWordCharacter(text.at(start - 1)))
        --start;
    while (end < text.size() && isWordCharacter(text.at(end)))
        ++end;
    return {start, end};
}

std::optional<KeyMove> keyMove(const QKeyEvent& event, const QString& text, qsizetype cursor, qsizetype selectionStart,
                               qsizetype selectionEnd)
{
    const auto is = [&event](auto... keys) { return (event.matches(keys) || ...); };
    const bool selected = selectionStart >= 0;
    if (is(QKeySequence::MoveToNextChar))
        return KeyMove{selected ? selectionEnd : next(text, cursor), false};
    if (is(QKeySequence::MoveToPreviousChar))
        return KeyMove{selected ? selectionStart : previous(text, cursor), false};
    if (is(QKeySequence::SelectNextChar))
        return KeyMove{next(text, cursor), true};
    if (is(QKeySequence::SelectPreviousChar))
        return KeyMove{previous(text, cursor), true};
    if (is(QKeySequence::MoveToNextWord))
        return KeyMove{nextWord(text, cursor), false};
    if (is(QKeySequence::MoveToPreviousWord))
        return KeyMove{previousWord(text, cursor), false};
    if (is(QKeySequence::SelectNextWord))
        return KeyMove{nextWord(text, cursor), true};
    if (is(QKeySequence::SelectPreviousWord))
        return KeyMove{previousWord(text, cursor), true};
    if (is(QKeySequence::MoveToStartOfLine, QKeySequence::MoveToStartOfBlock, QKeySequence::MoveToStartOfDocument))
        return KeyMove{0, false};
    if (is(QKeySequence::MoveToEndOfLine, QKeySequence::MoveToEndOfBlock, QKeySequence::MoveToEndOfDocument))
        return KeyMove{text.size(), false};
    if (is(QKeySequence::SelectStartOfLine, QKeySequence::SelectStartOfBlock, QKeySequence::SelectStartOfDocument))
        return KeyMove{0, true};
    if (is(QKeySequence::SelectEndOfLine, QKeySequence::SelectEndOfBlock, QKeySequence::SelectEndOfDocument))
        return KeyMove{text.size(), true};
    return std::nullopt;
}

}  // namespace TextPositions
