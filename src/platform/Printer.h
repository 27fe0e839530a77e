#pragma once

#include "common/Result.h"

#include <QImage>

// The default printer.
class Printer
{
public:
    virtual ~Printer() = default;
    // Prints `image` scaled to the page, without a dialog; the French reason when there is no printer or printing
    // failed.
    virtual Failure printImage(const QImage& image) = 0;
};
