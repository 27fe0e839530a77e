#pragma once

#include "platform/MessageBox.h"

#include <QStringList>

// Records the messages instead of showing them.
class FakeMessageBox : public MessageBox
{
public:
    void information(const QString& text) override { informations << text; }
    void critical(const QString& text) override { criticals << text; }
    void warningLater(const QString& text) override { warnings << text; }

    QStringList informations, criticals, warnings;
};
