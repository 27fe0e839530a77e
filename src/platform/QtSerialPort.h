#pragma once

#include "platform/SerialPort.h"

#include <QSerialPort>
#include <QStringList>

// The push-to-talk port through QSerialPort. Only RTS is driven; the line settings stay as the system has them.
//
// Port number n reaches:
// - on Windows, "COMn";
// - elsewhere, the n-th serial device the system reports (QSerialPortInfo), ordered built-in ports first
//   (ttyS*), then USB-serial adapters (ttyUSB*, then ttyACM*), then any other device by name, each family by its
//   number (ttyS2 before ttyS10). macOS's "tty.*" dial-in twins are left out: their "cu.*" devices open at once.
//   A machine with one built-in port and one adapter thus has 1 = /dev/ttyS0 and 2 = /dev/ttyUSB0.
class QtSerialPort : public SerialPort
{
public:
    QtSerialPort() = default;
    // A transmitter is never left keyed: RTS is lowered before the port is let go.
    ~QtSerialPort() override;

    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    QString deviceName(int number) const override;
    Failure open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    Failure setRequestToSend(bool raised) override;

    // The rule above on a list of device paths: the device of `number`, empty when there is none.
    static QString deviceForNumber(int number, const QStringList& systemLocations);

private:
    QString describeError() const;

    QSerialPort m_port;
    int m_number = 1;
};
