#pragma once

#include "sending/KeyingSource.h"

#include <atomic>
#include <memory>
#include <thread>

class ModemLineFilter;
class ModemLines;

// A straight key or a paddle on the modem lines of a serial port (CTS: the dot lever or the straight key, DSR: the
// dash lever), read by a thread of its own that the kernel wakes at each change of either line.
//
// The port is the push-to-talk's: this input only reads it and never raises RTS. Linux raises DTR and RTS at every
// open of a serial device whose speed is not 0, even when another descriptor holds it already; RTS is put back at
// once (a pulse of a few microseconds) unless it was raised before, by the push-to-talk keying the transmitter or as
// the system shows it for a built-in port (/proc/tty/driver/serial). DTR stays raised: it often feeds the key's
// contacts. The two share the port: while the transmitter is keyed the push-to-talk holds it, and the key is still
// read.
class SerialKeyingSource : public KeyingSource
{
    Q_OBJECT

public:
    struct Port
    {
        QString device;                // "/dev/ttyS0"; empty when no device has the push-to-talk's number
        int debounceMs = 10;           // the group "manipulation", key "antirebond"
        bool transmitterKeyed = false; // the push-to-talk holds the port with RTS raised
    };

    explicit SerialKeyingSource(Port port, QObject* parent = nullptr);
    // Reads `lines` rather than opening the port.
    SerialKeyingSource(Port port, std::unique_ptr<ModemLines> lines, QObject* parent = nullptr);
    ~SerialKeyingSource() override;

    bool start(QString& failure) override;
    void stop() override;

    // Why the port cannot be opened or read, from the system's error number, in French.
    static QString describeFailure(int error, const QString& device);
    // Whether the system's table of built-in serial ports (the text of /proc/tty/driver/serial) shows RTS raised on
    // `device`; false for any other device.
    static bool tableShowsRts(const QString& table, const QString& device);

private:
    bool open(QString& failure);
    void run();
    bool readLines(ModemLineFilter& filter);
    void fail(int error);

    Port m_port;
    std::unique_ptr<ModemLines> m_lines;
    std::thread m_reader;
    std::atomic<bool> m_stopping = false;
    std::atomic<bool> m_finished = false;
};
