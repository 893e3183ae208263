#pragma once

#include <QString>

#include <optional>
#include <utility>

class QKeyEvent;

// Cursor positions in a text as the arrow keys and double-clicks move over
// it: whole characters (a surrogate pair is one) and words.
namespace TextPositions {

bool isWordCharacter(QChar c);
qsizetype next(const QString& text, qsizetype position);
qsizetype previous(const QString& text, qsizetype position);
// The start of the next word, past the rest of this one and the gap after it.
qsizetype nextWord(const QString& text, qsizetype position);
// The start of this word, or of the one before when between words.
qsizetype previousWord(const QString& text, qsizetype position);
// The word around `position`, [first, second).
std::pair<qsizetype, qsizetype> wordAround(const QString& text, qsizetype position);

// Where a movement key takes the cursor, and whether it extends the
// selection (mark); none for any other key. A selection, if any, is
// [selectionStart, selectionEnd), else both are -1.
struct KeyMove {
    qsizetype to;
    bool mark;
};
std::optional<KeyMove> keyMove(const QKeyEvent& event, const QString& text, qsizetype cursor, qsizetype selectionStart,
                               qsizetype selectionEnd);

}  // namespace TextPositions
