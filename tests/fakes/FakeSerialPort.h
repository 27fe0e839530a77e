#pragma once

#include "platform/SerialPort.h"

#include <QStringList>

// A serial port that records what was asked of it ("open 3", "rts 1", "rts 0", "close").
class FakeSerialPort : public SerialPort
{
public:
    void setPortNumber(int n) override
    {
        number = n;
        log << QStringLiteral("port %1").arg(n);
    }
    int portNumber() const override { return number; }
    QString deviceName(int n) const override { return QStringLiteral("/dev/fake%1").arg(n); }
    Failure open() override
    {
        log << QStringLiteral("open %1").arg(number);
        if (failOpen || opened)
            return error;
        opened = true;
        return {};
    }
    void close() override
    {
        log << QStringLiteral("close");
        opened = false;
        rts = false;
    }
    bool isOpen() const override { return opened; }
    Failure setRequestToSend(bool raised) override
    {
        log << QStringLiteral("rts %1").arg(raised ? 1 : 0);
        if (!opened || failRts)
            return error;
        rts = raised;
        return {};
    }

    int number = 1;
    bool opened = false;
    bool rts = false;
    bool failOpen = false;
    bool failRts = false;
    QString error = QStringLiteral("le périphérique n'existe pas"); // what a failing port says
    QStringList log;
};
