#pragma once

#include "platform/Speech.h"

#include <QStringList>

// A voice that keeps what it was asked to say; unavailable with a reason when `reason` is set.
class FakeSpeech : public Speech
{
public:
    bool available() const override { return reason.isEmpty(); }
    QString unavailableReason() const override { return reason; }
    void say(const QString& text) override { said << text; }
    QString reason;
    QStringList said;
};
