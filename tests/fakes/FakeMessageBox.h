#pragma once

#include "platform/MessageBox.h"

#include <QStringList>

#include <functional>

// Records the messages instead of showing them.
class FakeMessageBox : public MessageBox
{
public:
    void information(const QString& text) override { informations << text; }
    void critical(const QString& text) override
    {
        if (criticalShown)
            criticalShown();
        criticals << text;
    }
    void warningLater(const QString& text) override { warnings << text; }

    QStringList informations, criticals, warnings;
    std::function<void()> criticalShown; // what the program has on screen as the message shows
};
