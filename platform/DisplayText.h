#pragma once

#include <QString>

// A description as captions, menus, lists and message boxes show it: whole
// up to kDisplayLength characters, beyond that cut and ended with an
// ellipsis. The text itself (in its box and in the store) is never shortened;
// laying out megabytes in a title bar or a message box freezes the program.
namespace DisplayText {

inline constexpr qsizetype kDisplayLength = 120;

inline QString elided(const QString& text)
{
    if (text.size() <= kDisplayLength) return text;
    qsizetype cut = kDisplayLength - 1;
    if (text.at(cut).isLowSurrogate()) --cut;  // keep a character whole
    return text.left(cut) + QChar(0x2026);
}

}  // namespace DisplayText
