#pragma once

#include "platform/Printer.h"

#include <QList>

class FakePrinter : public Printer
{
public:
    bool printImage(const QImage& image) override
    {
        printed << image;
        return available;
    }
    QList<QImage> printed;
    bool available = true;
};
