#include "LongTextWindow.h"

#include <QPalette>

namespace {

// Characters laid out around the cursor: wider than any screen.
constexpr qsizetype kWindow = 4096;

}  // namespace

void LongTextWindow::layOut(QTextLayout& layout, const QString& whole, qsizetype cursor, int width)
{
    auto layOutPart = [&layout, &whole](qsizetype first, qsizetype count) {
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
        layOutPart(m_first, kWindow);
        if (layout.lineAt(0).cursorToX(int(cursor - m_first)) <= width - 1)
            return;
    }
    // Scroll so the cursor stands at the right edge.
    const qsizetype before = qMin(cursor, kWindow);
    layOutPart(cursor - before, before);
    const QTextLine line = layout.lineAt(0);
    const qreal end = line.cursorToX(int(before));
    m_first = cursor - before + line.xToCursor(end - width + 1, QTextLine::CursorOnCharacter) + 1;
    m_first = qMin(m_first, cursor);
    if (m_first > 0 && m_first < whole.size() && whole.at(m_first).isLowSurrogate())
        ++m_first;
    layOutPart(m_first, kWindow);
}

QList<QTextLayout::FormatRange> LongTextWindow::selection(const QTextLayout& layout, qsizetype start, qsizetype end,
                                                          const QPalette& palette) const
{
    start = qMax<qsizetype>(start - m_first, 0);
    end = qMin<qsizetype>(end - m_first, layout.text().size());
    if (end <= start)
        return {};
    QTextLayout::FormatRange range;
    range.start = int(start);
    range.length = int(end - start);
    range.format.setBackground(palette.brush(QPalette::Highlight));
    range.format.setForeground(palette.brush(QPalette::HighlightedText));
    return {range};
}
