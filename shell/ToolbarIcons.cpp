#include "ToolbarIcons.h"

#include <QFont>
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
    return {};
}

QPixmap programPicture(int size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 32.0, size / 32.0);
    // Calculator body.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0, 128, 128));
    p.drawRoundedRect(QRectF(5.5, 1.5, 21, 29), 2, 2);
    // Display.
    p.setBrush(QColor(224, 255, 224));
    p.drawRect(QRectF(8.5, 4.5, 15, 6));
    p.setPen(Qt::black);
    QFont font;
    font.setPixelSize(6);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(8.5, 4.5, 14, 6), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("$"));
    // Keys.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 240, 240));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(9 + col * 5.2, 13 + row * 4.2, 3.6, 3));
    return pixmap;
}
