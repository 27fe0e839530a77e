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

namespace {

// The icon's shapes on a plate of 48 units, drawn in this order: once in pixels, once as SVG.
struct IconShape
{
    QRectF rect;
    qreal radius; // of the corners; an ellipse when negative
    QRgb fill;
    QRgb stroke;
    qreal strokeWidth; // none when 0
};

constexpr QRgb Ink = 0xff143c78;
const IconShape ProgramIconShapes[] = {
    {QRectF(2, 2, 44, 44), -1, 0xffe6eefa, Ink, 2}, // the plate
    {QRectF(9, 20, 8, 8), -1, Ink, 0, 0},           // the dot
    {QRectF(21, 20, 19, 8), 3, Ink, 0, 0},          // the dash
};

QString svgColor(QRgb rgb)
{
    return QColor(rgb).name(QColor::HexRgb);
}

} // namespace

QImage ProgramIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);
    for (const IconShape& shape : ProgramIconShapes) {
        painter.setPen(shape.strokeWidth > 0 ? QPen(QColor(shape.stroke), shape.strokeWidth) : QPen(Qt::NoPen));
        painter.setBrush(QColor(shape.fill));
        if (shape.radius < 0)
            painter.drawEllipse(shape.rect);
        else
            painter.drawRoundedRect(shape.rect, shape.radius, shape.radius);
    }
    return image;
}

QPixmap ProgramIcon(int size)
{
    return QPixmap::fromImage(ProgramIconImage(size));
}

QByteArray ProgramIconSvg()
{
    QString svg =
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" viewBox=\"0 0 48 48\">\n");
    for (const IconShape& shape : ProgramIconShapes) {
        const QRectF& r = shape.rect;
        const QString paint = u" fill=\"" + svgColor(shape.fill) + u'"' +
                              (shape.strokeWidth > 0 ? u" stroke=\"" + svgColor(shape.stroke) + u"\" stroke-width=\"" +
                                                           QString::number(shape.strokeWidth) + u'"'
                                                     : QString());
        if (shape.radius < 0)
            svg += QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"")
                       .arg(r.center().x())
                       .arg(r.center().y())
                       .arg(r.width() / 2)
                       .arg(r.height() / 2);
        else
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"")
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height())
                       .arg(shape.radius);
        svg += paint + u"/>\n";
    }
    svg += u"</svg>\n";
    return svg.toUtf8();
}
