#pragma once

#include "sending/KeyEdge.h"
#include "sending/KeyInput.h"

#include <QObject>
#include <QString>

// Where the key's edges come from beside the window's keyboard: the serial port's modem lines, a MIDI key adapter,
// the tone of a microphone. A source stamps each edge with the time it happened, in µs of the monotonic clock
// (std::chrono::steady_clock), on its own thread when it has one, and hands it to the window's thread queued: the
// edges of one source come in time order.
class KeyingSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts listening. False when the input cannot be used, with the reason in French in `failure`.
    virtual bool start(QString& failure) = 0;
    // Stops listening; no edge comes after it returns.
    virtual void stop() = 0;
    // Whether the program sounds the sidetone for this input (not for a microphone: the learner already hears the
    // oscillator).
    virtual bool wantsSidetone() const { return true; }

signals:
    // A key or a lever went down or came up at `time`.
    void edge(KeyInput input, bool down, KeyTime time);
    // The input stopped working (a port unplugged): why, in French. No edge comes after it.
    void failed(const QString& message);
};
