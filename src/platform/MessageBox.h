#pragma once

#include <QString>

// Message boxes with a single OK button.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    // Informs the user; returns when OK is pressed.
    virtual void information(const QString& text) = 0;
    // Reports a failure; returns when OK is pressed.
    virtual void critical(const QString& text) = 0;
    // Shows a notice without waiting for the user (the program goes on at once).
    virtual void warningLater(const QString& text) = 0;
};
