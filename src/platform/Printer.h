#pragma once

#include <QImage>

// The default printer.
class Printer
{
public:
    virtual ~Printer() = default;
    // Prints `image` scaled to the page, without a dialog. False when there is no printer or printing failed.
    virtual bool printImage(const QImage& image) = 0;
};
