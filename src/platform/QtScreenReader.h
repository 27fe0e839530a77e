#pragma once

#include "platform/ScreenReader.h"

// Through Qt's accessibility events, which the desktop's accessibility bus (AT-SPI) carries to the screen reader.
class QtScreenReader : public ScreenReader
{
public:
    void valueChanged(QWidget* control, const QString& text) override;
};
