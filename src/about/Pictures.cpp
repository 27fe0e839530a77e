#include "about/Pictures.h"

#include <QPainter>
#include <QPainterPath>

QPixmap KeyPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    // Base plate
    p.setPen(QPen(QColor(60, 40, 20), 1.5));
    p.setBrush(QColor(139, 90, 43));
    p.drawRoundedRect(QRectF(8, 68, 84, 16), 4, 4);
    // Lever on its pivot
    p.setBrush(QColor(190, 160, 60));
    p.drawRect(QRectF(40, 52, 8, 16));
    QPainterPath lever;
    lever.moveTo(14, 52);
    lever.lineTo(86, 46);
    lever.lineTo(86, 52);
    lever.lineTo(14, 58);
    lever.closeSubpath();
    p.drawPath(lever);
    // Knob
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QRectF(72, 30, 22, 14));
    p.drawRect(QRectF(80, 42, 6, 6));
    // Dot and dash above
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 100, 0));
    p.drawEllipse(QRectF(18, 18, 10, 10));
    p.drawRoundedRect(QRectF(36, 19, 30, 8), 4, 4);
    return pixmap;
}

QPixmap ProgramIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);
    painter.setPen(QPen(QColor(20, 60, 120), 2));
    painter.setBrush(QColor(230, 238, 250));
    painter.drawEllipse(QRectF(2, 2, 44, 44));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 60, 120));
    painter.drawEllipse(QRectF(9, 20, 8, 8));
    painter.drawRoundedRect(QRectF(21, 20, 19, 8), 3, 3);
    return pixmap;
}
