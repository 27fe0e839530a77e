#pragma once

#include "platform/Printer.h"

// The system's default printer, used without a dialog.
class QtPrinter : public Printer
{
public:
    Failure printImage(const QImage& image) override;
};
