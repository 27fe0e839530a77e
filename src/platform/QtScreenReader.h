#pragma once

#include "platform/ScreenReader.h"

// Through Qt's accessibility events, which the desktop's accessibility bus (AT-SPI) carries to the screen reader.
class QtScreenReader : public ScreenReader
{
public:
    QtScreenReader();
    void valueChanged(QWidget* control, const QString& text) override;
    // The text becomes the name of a notification of the control's window, an invisible line shown anew each time:
    // screen readers speak a notification as it appears.
    void announce(QWidget* control, const QString& text) override;
};
