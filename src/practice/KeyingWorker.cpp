#include "practice/KeyingWorker.h"

#include <QMutexLocker>

#include <algorithm>
#include <utility>

KeyingWorker::KeyingWorker(const SignTable& signs, KeyingThreading threading) : m_threading(threading), m_decoder(signs)
{
    if (m_threading == KeyingThreading::OwnThread) {
        m_thread.setObjectName(QStringLiteral("manipulation"));
        m_waker.moveToThread(&m_thread);
        m_thread.start();
    }
}

KeyingWorker::~KeyingWorker()
{
    m_thread.quit();
    m_thread.wait();
}

void KeyingWorker::setKeyer(std::optional<IambicKeyer> keyer)
{
    post({.kind = Command::Kind::SetKeyer, .keyer = std::move(keyer)});
}

void KeyingWorker::edge(KeyInput input, bool down, KeyTime time)
{
    post({.kind = Command::Kind::Edge, .input = input, .down = down, .time = time});
}

void KeyingWorker::advanceTo(KeyTime time)
{
    post({.kind = Command::Kind::Advance, .time = time});
}

void KeyingWorker::post(Command command)
{
    bool wake = false;
    {
        const QMutexLocker inbox(&m_inboxLock);
        m_inbox.push_back(std::move(command));
        // A flood of edges wakes the thread once: it takes them all together.
        wake = !std::exchange(m_wakePending, true);
    }
    if (m_threading == KeyingThreading::CallersThread)
        pump();
    else if (wake)
        QMetaObject::invokeMethod(
            &m_waker, [this] { pump(); }, Qt::QueuedConnection);
}

void KeyingWorker::pump()
{
    // One pump at a time, whichever the thread: the edges are keyed and decoded in the order they were handed over.
    const QMutexLocker work(&m_workLock);
    std::vector<Command> commands;
    {
        const QMutexLocker inbox(&m_inboxLock);
        commands.swap(m_inbox);
        m_wakePending = false;
    }
    for (Command& command : commands)
        this->work(command);
    std::vector<DecodedSign> decoded = m_decoder.takeDecoded();
    const QMutexLocker outbox(&m_outboxLock);
    std::move(decoded.begin(), decoded.end(), std::back_inserter(m_outbox.signs));
    m_outbox.wordsPerMinute = m_decoder.wordsPerMinute();
    m_outbox.until = m_pumpedTo;
}

void KeyingWorker::work(Command& command)
{
    switch (command.kind) {
    case Command::Kind::Edge:
        workEdge(command);
        break;
    case Command::Kind::Advance:
        m_pumpedTo = std::max(command.time, m_pumpedTo);
        if (m_keyer)
            m_keyer->advanceTo(m_pumpedTo);
        takeKeyerEdges();
        m_decoder.advanceTo(m_pumpedTo);
        return;
    case Command::Kind::SetKeyer:
        m_keyer = std::move(command.keyer);
        break;
    case Command::Kind::Reset:
        m_decoder.reset();
        break;
    }
    takeKeyerEdges();
}

void KeyingWorker::workEdge(const Command& command)
{
    const KeyTime time = std::max(command.time, m_pumpedTo);
    if (command.input == KeyInput::Straight) {
        if (m_keyer)
            m_keyer->straightKeyEdge({time, command.down});
        else
            m_decoder.keyEdge({time, command.down});
    } else if (m_keyer) {
        m_keyer->paddleEdge(command.input == KeyInput::DotLever ? ElementKind::Dot : ElementKind::Dash, command.down,
                            time);
    }
}

void KeyingWorker::takeKeyerEdges()
{
    if (!m_keyer)
        return;
    for (const KeyEdge& edge : m_keyer->takeEdges()) {
        emit keyed(edge.down);
        m_decoder.keyEdge(edge);
    }
}

void KeyingWorker::reset()
{
    post({.kind = Command::Kind::Reset});
    pump();
    const QMutexLocker outbox(&m_outboxLock);
    m_outbox.signs.clear();
}

KeyingWorker::Decoded KeyingWorker::take()
{
    const QMutexLocker outbox(&m_outboxLock);
    return {std::exchange(m_outbox.signs, {}), m_outbox.wordsPerMinute, m_outbox.until};
}
