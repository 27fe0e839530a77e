#pragma once

#include "common/Result.h"

#include <QString>

// The serial port whose RTS line keys the transmitter. Only RTS is used; no data is sent or received.
class SerialPort
{
public:
    virtual ~SerialPort() = default;
    // Port number 1 to 9 (1 = the first serial port); taken at the next open().
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // The device that port number `number` reaches on this system ("COM3", "/dev/ttyUSB0"...), for the user.
    virtual QString deviceName(int number) const = 0;
    // Opens the port; the French reason when it does not exist, is busy or refuses.
    virtual Failure open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Raises or lowers RTS on the open port; the French reason when the port refuses.
    virtual Failure setRequestToSend(bool raised) = 0;
};
