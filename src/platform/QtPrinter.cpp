#include "platform/QtPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

Failure QtPrinter::printImage(const QImage& image)
{
    // No default printer: nothing to do, and no dialog to ask for one.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return QStringLiteral("aucune imprimante par défaut");
    if (image.isNull())
        return QStringLiteral("rien à imprimer");

    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Tonique"));
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("l'imprimante «\u202F%1\u202F» refuse le travail").arg(info.printerName());
    // As large as the page allows, keeping the window's proportions, from the top left corner.
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(image.rect());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, image);
    if (!painter.end())
        return QStringLiteral("l'impression sur «\u202F%1\u202F» a échoué").arg(info.printerName());
    return {};
}
