#pragma once

#include <QList>
#include <QString>
#include <QTextLayout>

class QPalette;

// The few thousand characters of a long text that are laid out and shown,
// around the cursor: laying out the whole text would take seconds.
class LongTextWindow {
public:
    // Lays out the shown part of `text` into `layout`, scrolled so the
    // cursor is visible in `width` pixels.
    void layOut(QTextLayout& layout, const QString& text, qsizetype cursor, int width);
    // The first character shown; positions in the layout are counted from it.
    qsizetype first() const { return m_first; }
    void reset() { m_first = 0; }
    // The highlight of the selected characters [start, end) that are shown.
    QList<QTextLayout::FormatRange> selection(const QTextLayout& layout, qsizetype start, qsizetype end,
                                              const QPalette& palette) const;

private:
    qsizetype m_first = 0;
};
