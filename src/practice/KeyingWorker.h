#pragma once

#include "sending/DecodedSign.h"
#include "sending/IambicKeyer.h"
#include "sending/KeyInput.h"
#include "sending/MorseDecoder.h"

#include <QMutex>
#include <QObject>
#include <QThread>

#include <cstdint>
#include <optional>
#include <vector>

class SignTable;

// Where the keyer and the decoder of the window "Manipulation" work.
enum class KeyingThreading : std::uint8_t
{
    OwnThread,     // a thread of their own: thousands of edges a second never hold up the window
    CallersThread, // each call worked through at once on the caller's thread, for tests that need every step
};

// The keyer and the decoder, away from the window's thread. The window's thread hands over edges and the time as they
// come, which costs it a few instructions each, and takes what was decoded when it draws, at most 30 times a second;
// the edges the keyer sends come back at once through keyed(), for the sidetone.
class KeyingWorker : public QObject
{
    Q_OBJECT

public:
    // What was decoded since the last take: the signs, the speed learned and the time decoded to.
    struct Decoded
    {
        std::vector<DecodedSign> signs;
        double wordsPerMinute = 0;
        KeyTime until = 0;
    };

    KeyingWorker(const SignTable& signs, KeyingThreading threading);
    ~KeyingWorker() override;
    KeyingWorker(const KeyingWorker&) = delete;
    KeyingWorker& operator=(const KeyingWorker&) = delete;

    // From any thread, worked through in the order given. A paddle needs a keyer; without one its levers mean nothing
    // and the straight key is decoded as it is.
    void setKeyer(std::optional<IambicKeyer> keyer);
    // A key or a lever went down or up at `time`; an edge older than what was decoded counts as now.
    void edge(KeyInput input, bool down, KeyTime time);
    // No edge until `time`: the keyer sends what is due and the decoder ends what the silence ends.
    void advanceTo(KeyTime time);

    // Works through everything handed over on the calling thread, the worker's own waiting meanwhile.
    void pump();
    // A new run: what was handed over is worked through, then the keying and the learned speed are forgotten.
    void reset();
    Decoded take();

signals:
    // The keyer sent a key edge: the sidetone follows it. Emitted in order, from the thread that pumps, with the
    // worker's lock held: a slot hands nothing over, and is queued to another thread (on its own thread, the worker
    // pumps on the window's thread too when a run ends).
    void keyed(bool down);

private:
    struct Command
    {
        enum class Kind : std::uint8_t
        {
            Edge,
            Advance,
            SetKeyer,
            Reset,
        };
        Kind kind = Kind::Advance;
        KeyInput input = KeyInput::Straight;
        bool down = false;
        KeyTime time = 0;
        std::optional<IambicKeyer> keyer = {};
    };

    void post(Command command);
    void work(Command& command);
    void workEdge(const Command& command);
    void takeKeyerEdges();

    KeyingThreading m_threading;
    QMutex m_inboxLock; // m_inbox, m_wakePending
    std::vector<Command> m_inbox;
    bool m_wakePending = false;
    QMutex m_workLock; // the keyer, the decoder, m_pumpedTo
    MorseDecoder m_decoder;
    std::optional<IambicKeyer> m_keyer;
    KeyTime m_pumpedTo = 0;
    QMutex m_outboxLock; // m_outbox
    Decoded m_outbox;
    QObject m_waker; // lives on m_thread: pump() is queued to it
    QThread m_thread;
};
