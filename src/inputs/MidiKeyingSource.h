#pragma once

#include "sending/KeyingSource.h"

#include <memory>

// A key adapter that presents itself as a MIDI device, read through the ALSA sequencer. Tonique appears there as
// the client "Tonique" with one input port, "Manipulateur", that any client may connect to; on start it connects
// itself to every port other clients offer for reading, and to those that appear while it listens (an adapter
// plugged in later). Key adapters do not name themselves in any way the sequencer tells apart, and the notes that
// key (0, 1 and 2) lie below any instrument's range, so listening to every sender misreads nothing.
// A thread of its own waits on the sequencer and stamps each note the moment it reads it.
class MidiKeyingSource : public KeyingSource
{
    Q_OBJECT

public:
    explicit MidiKeyingSource(QObject* parent = nullptr);
    ~MidiKeyingSource() override;

    bool start(QString& failure) override;
    void stop() override;

private:
    struct Sequencer;

    void readUntilStopped(Sequencer& sequencer);
    bool readPending(Sequencer& sequencer);

    std::unique_ptr<Sequencer> m_sequencer;
};
