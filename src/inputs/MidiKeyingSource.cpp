#include "inputs/MidiKeyingSource.h"

#include "inputs/InputTime.h"
#include "inputs/MidiKeyNotes.h"

#include <alsa/asoundlib.h>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// How other programs see Tonique in the sequencer (the names a user connects a program to).
constexpr char ClientName[] = "Tonique";
constexpr char PortName[] = "Manipulateur";

QString OpenFailure(int error)
{
    if (error == -ENOENT || error == -ENODEV)
        return u"Aucun séquenceur MIDI sur ce système (/dev/snd/seq) ; le clavier reste utilisable."_s;
    if (error == -EACCES || error == -EPERM)
        return u"Le séquenceur MIDI est refusé à Tonique : ajoutez votre compte au groupe « audio » puis "
               u"reconnectez-vous ; le clavier reste utilisable."_s;
    return u"Le séquenceur MIDI ne s'ouvre pas (%1) ; le clavier reste utilisable."_s.arg(
        QString::fromLocal8Bit(snd_strerror(error)));
}

// Whether a port of another client sends to whoever subscribes to it: what a key adapter's port does.
bool SendsToSubscribers(const snd_seq_port_info_t* port)
{
    const unsigned caps = snd_seq_port_info_get_capability(port);
    const unsigned wanted = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
    return (caps & wanted) == wanted && (caps & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
}

template <typename Info, int (*Make)(Info**), void (*Free)(Info*)> std::unique_ptr<Info, void (*)(Info*)> Allocated()
{
    Info* info = nullptr;
    Make(&info);
    return {info, Free};
}

auto PortInfo()
{
    return Allocated<snd_seq_port_info_t, snd_seq_port_info_malloc, snd_seq_port_info_free>();
}

} // namespace

struct MidiKeyingSource::Sequencer
{
    snd_seq_t* seq = nullptr;
    int port = -1;
    int wake = -1; // written to by stop(): the reader's poll returns
    std::thread reader;
    MidiKeyNotes notes;

    Sequencer() = default;
    Sequencer(const Sequencer&) = delete;
    Sequencer& operator=(const Sequencer&) = delete;
    ~Sequencer()
    {
        if (seq)
            snd_seq_close(seq);
        if (wake >= 0)
            close(wake);
    }

    // Opens the client and its port; the French reason when it cannot.
    std::optional<QString> open();
    // Listens to a port that another client has just opened, when it sends to subscribers.
    void connectTo(const snd_seq_addr_t& sender);
    // Listens to every port of the other clients that sends to subscribers, and hears of the ports opened later.
    void connectToSenders();
};

std::optional<QString> MidiKeyingSource::Sequencer::open()
{
    if (const int error = snd_seq_open(&seq, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK); error < 0) {
        seq = nullptr;
        return OpenFailure(error);
    }
    snd_seq_set_client_name(seq, ClientName);
    port = snd_seq_create_simple_port(seq, PortName, SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (port < 0)
        return OpenFailure(port);
    wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0)
        return OpenFailure(-errno);
    return std::nullopt;
}

void MidiKeyingSource::Sequencer::connectTo(const snd_seq_addr_t& sender)
{
    auto info = PortInfo();
    if (sender.client != snd_seq_client_id(seq) &&
        snd_seq_get_any_port_info(seq, sender.client, sender.port, info.get()) >= 0 && SendsToSubscribers(info.get()))
        snd_seq_connect_from(seq, port, sender.client, sender.port);
}

void MidiKeyingSource::Sequencer::connectToSenders()
{
    auto client = Allocated<snd_seq_client_info_t, snd_seq_client_info_malloc, snd_seq_client_info_free>();
    auto info = PortInfo();
    snd_seq_client_info_set_client(client.get(), -1);
    while (snd_seq_query_next_client(seq, client.get()) >= 0) {
        const int id = snd_seq_client_info_get_client(client.get());
        if (id == SND_SEQ_CLIENT_SYSTEM || id == snd_seq_client_id(seq))
            continue;
        snd_seq_port_info_set_client(info.get(), id);
        snd_seq_port_info_set_port(info.get(), -1);
        while (snd_seq_query_next_port(seq, info.get()) >= 0)
            if (SendsToSubscribers(info.get()))
                snd_seq_connect_from(seq, port, id, snd_seq_port_info_get_port(info.get()));
    }
    snd_seq_connect_from(seq, port, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
}

MidiKeyingSource::MidiKeyingSource(QObject* parent) : KeyingSource(parent) {}

MidiKeyingSource::~MidiKeyingSource()
{
    stop();
}

bool MidiKeyingSource::start(QString& failure)
{
    stop();
    auto sequencer = std::make_unique<Sequencer>();
    if (const std::optional<QString> error = sequencer->open()) {
        failure = *error;
        return false;
    }
    sequencer->connectToSenders();
    m_sequencer = std::move(sequencer);
    m_sequencer->reader = std::thread([this, sequencer = m_sequencer.get()] { readUntilStopped(*sequencer); });
    return true;
}

void MidiKeyingSource::stop()
{
    if (!m_sequencer)
        return;
    const std::uint64_t one = 1;
    // Writing 1 to an eventfd of our own cannot fail: its count is far from overflowing.
    [[maybe_unused]] const ssize_t written = write(m_sequencer->wake, &one, sizeof one);
    m_sequencer->reader.join();
    m_sequencer.reset();
}

void MidiKeyingSource::readUntilStopped(Sequencer& sequencer)
{
    const int count = snd_seq_poll_descriptors_count(sequencer.seq, POLLIN);
    std::vector<pollfd> waits(std::size_t(count) + 1);
    snd_seq_poll_descriptors(sequencer.seq, waits.data(), unsigned(count), POLLIN);
    waits.back() = {sequencer.wake, POLLIN, 0};
    for (;;) {
        if (poll(waits.data(), waits.size(), -1) < 0 && errno != EINTR)
            break;
        if (waits.back().revents != 0)
            return;
        if (!readPending(sequencer))
            break;
    }
    emit failed(u"Le séquenceur MIDI ne répond plus : l'entrée MIDI s'est arrêtée ; le clavier reste utilisable."_s);
}

// Reads every event the sequencer holds; false when it can no longer be read.
bool MidiKeyingSource::readPending(Sequencer& sequencer)
{
    for (;;) {
        snd_seq_event_t* event = nullptr;
        const int result = snd_seq_event_input(sequencer.seq, &event);
        if (result == -EAGAIN)
            return true;
        if (result == -ENOSPC)
            continue; // events lost while the reader was late: the next ones still key
        if (result < 0 || event == nullptr)
            return result >= 0;
        if (event->type == SND_SEQ_EVENT_PORT_START)
            sequencer.connectTo(event->data.addr);
        else if (const std::optional<MidiKeyNotes::Edge> key = sequencer.notes.read(*event))
            emit edge(key->input, key->down, InputTimeNow());
    }
}
