#include "ResultsHeader.h"

#include "ResultsModel.h"

#include <QPainter>
#include <QStyleOptionHeader>

ResultsHeader::ResultsHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
}

QSize ResultsHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    const int line = fontMetrics().height() + 6;
    size.setHeight(2 * std::max(line, size.height() / 2));
    return size;
}

QList<QPair<int, int>> ResultsHeader::topGroups() const
{
    QList<QPair<int, int>> groups;
    if (!model())
        return groups;
    QString previous;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        const QString text = model()->headerData(logical, orientation(), ResultsModel::TopHeadingRole).toString();
        if (!groups.isEmpty() && text == previous)
            groups.last().second = logical;
        else
            groups.append({logical, logical});
        previous = text;
    }
    return groups;
}

void ResultsHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    // The lower row only; the upper row is painted across merged sections.
    QRect lower = rect;
    lower.setTop(rect.top() + rect.height() / 2);
    QHeaderView::paintSection(painter, lower, logicalIndex);
}

void ResultsHeader::paintEvent(QPaintEvent* event)
{
    QHeaderView::paintEvent(event);
    if (!model())
        return;
    QPainter painter(viewport());
    const int upperHeight = height() / 2;
    for (const auto& [first, last] : topGroups()) {
        const int left = sectionViewportPosition(first);
        const int right = sectionViewportPosition(last) + sectionSize(last);
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = QRect(left, 0, right - left, upperHeight);
        option.section = first;
        option.text = model()->headerData(first, orientation(), ResultsModel::TopHeadingRole).toString();
        option.textAlignment = Qt::AlignCenter;
        option.position = QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
    }
}
