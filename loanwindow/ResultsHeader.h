#pragma once

#include <QHeaderView>

// A horizontal header with two heading rows: the lower one is the model's
// DisplayRole heading of each column, the upper one its TopHeadingRole text,
// merged across neighbouring columns with the same text ("Principal" over
// columns 1 to 3). Being the header, both rows stay put while the table scrolls.
class ResultsHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit ResultsHeader(QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // The merged groups of the upper row: first and last column of each.
    QList<QPair<int, int>> topGroups() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};
