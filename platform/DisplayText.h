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

// A description as a caption (a window's title, its Window menu entry): elided,
// and on one line, each line break shown as a space.
inline QString caption(const QString& text)
{
    QString shown = elided(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : shown) {
        switch (c.unicode()) {
        case '\n': case '\r': case '\v': case '\f': case 0x85: case 0x2028: case 0x2029:
            c = QLatin1Char(' ');
            break;
        default:
            break;
        }
    }
    return shown;
}

}  // namespace DisplayText
