#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

QPixmap blank(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawPage(QPainter& p, const QRectF& r)
{
    const qreal fold = 3;
    QPolygonF page;
    page << r.topLeft() << QPointF(r.right() - fold, r.top()) << QPointF(r.right(), r.top() + fold)
         << r.bottomRight() << r.bottomLeft();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF() << QPointF(r.right() - fold, r.top()) << QPointF(r.right() - fold, r.top() + fold)
                                << QPointF(r.right(), r.top() + fold));
}

QPixmap newPage()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    drawPage(p, QRectF(3.5, 1.5, 9, 13));
    return pixmap;
}

QPixmap openFolder()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    // Back of the folder with its tab.
    p.setBrush(QColor(255, 255, 128));
    p.drawPolygon(QPolygonF() << QPointF(0.5, 3.5) << QPointF(4.5, 3.5) << QPointF(5.5, 4.5)
                              << QPointF(11.5, 4.5) << QPointF(11.5, 13.5) << QPointF(0.5, 13.5));
    // The front flap swinging open.
    p.setBrush(QColor(192, 160, 0));
    p.drawPolygon(QPolygonF() << QPointF(0.5, 13.5) << QPointF(3.5, 7.5) << QPointF(15.5, 7.5)
                              << QPointF(12.5, 13.5));
    // The arrow that says "opening".
    p.drawPolyline(QPolygonF() << QPointF(9.5, 2.5) << QPointF(12.5, 0.5) << QPointF(14.5, 3.5));
    p.drawLine(QPointF(14.5, 3.5), QPointF(14.5, 1.5));
    return pixmap;
}

QPixmap floppy()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0, 0, 128));
    p.drawPolygon(QPolygonF() << QPointF(1.5, 1.5) << QPointF(13.5, 1.5) << QPointF(14.5, 2.5)
                              << QPointF(14.5, 14.5) << QPointF(1.5, 14.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 6));  // label
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(4.5, 10.5, 7, 4));  // shutter
    p.fillRect(QRectF(9, 11, 2, 3), QColor(0, 0, 128));
    return pixmap;
}

QPixmap twoPages()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    drawPage(p, QRectF(0.5, 0.5, 8, 10));
    drawPage(p, QRectF(6.5, 4.5, 8, 10));
    return pixmap;
}

QPixmap cross()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(3, 3), QPointF(13, 13));
    p.drawLine(QPointF(13, 3), QPointF(3, 13));
    return pixmap;
}

// Loans side by side: three bars of different heights on a base line.
QPixmap bars()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    const QColor colours[] = {QColor(0, 0, 128), QColor(0, 128, 0), QColor(128, 0, 0)};
    const int heights[] = {11, 7, 4};
    for (int bar = 0; bar < 3; ++bar) {
        p.setBrush(colours[bar]);
        p.drawRect(QRectF(1.5 + 5 * bar, 14.5 - heights[bar], 3, heights[bar]));
    }
    p.drawLine(QPointF(0.5, 14.5), QPointF(15.5, 14.5));
    return pixmap;
}

}  // namespace

QIcon toolbarIcon(const QString& key)
{
    if (key == QLatin1String("New"))
        return QIcon(newPage());
    if (key == QLatin1String("Open"))
        return QIcon(openFolder());
    if (key == QLatin1String("Save"))
        return QIcon(floppy());
    if (key == QLatin1String("Copy"))
        return QIcon(twoPages());
    if (key == QLatin1String("Delete"))
        return QIcon(cross());
    if (key == QLatin1String("Compare"))
        return QIcon(bars());
    return {};
}

QIcon programIcon()
{
    // The resources live in the static shell library, so they are registered by hand, once.
    [[maybe_unused]] static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}
