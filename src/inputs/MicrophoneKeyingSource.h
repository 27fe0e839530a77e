#pragma once

#include "sending/KeyingSource.h"

#include <QThread>

class MicrophoneReader;

// The tone of a practice oscillator or of a transceiver's sidetone, heard through the default audio input (a
// microphone or the line input). A thread of its own reads the sound as it comes, finds the tone in it and stamps
// each edge on the monotonic clock: see StreamClock. The learner already hears the tone: no sidetone.
class MicrophoneKeyingSource : public KeyingSource
{
    Q_OBJECT

public:
    explicit MicrophoneKeyingSource(QObject* parent = nullptr);
    ~MicrophoneKeyingSource() override;

    bool start(QString& failure) override;
    void stop() override;
    bool wantsSidetone() const override { return false; }

private:
    QThread m_thread;
    MicrophoneReader* m_reader = nullptr; // lives in m_thread
};
