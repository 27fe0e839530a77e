#pragma once

#include "platform/Printer.h"

#include <QList>

class FakePrinter : public Printer
{
public:
    Failure printImage(const QImage& image) override
    {
        printed << image;
        return available ? Failure() : Failure(QStringLiteral("aucune imprimante par défaut"));
    }
    QList<QImage> printed;
    bool available = true;
};
