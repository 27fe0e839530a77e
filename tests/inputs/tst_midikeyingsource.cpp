#include "TestMain.h"
#include "inputs/InputTime.h"
#include "inputs/MidiKeyNotes.h"
#include "inputs/MidiKeyingSource.h"

#include <QFileInfo>
#include <QTest>

#include <algorithm>
#include <alsa/asoundlib.h>
#include <optional>

using namespace Qt::StringLiterals;

using Events = QList<snd_seq_event_t>;
Q_DECLARE_METATYPE(Events)

namespace {

snd_seq_event_t Note(snd_seq_event_type_t type, unsigned note, unsigned velocity, unsigned channel = 0)
{
    snd_seq_event_t event{};
    event.type = type;
    event.data.note.channel = static_cast<unsigned char>(channel);
    event.data.note.note = static_cast<unsigned char>(note);
    event.data.note.velocity = static_cast<unsigned char>(velocity);
    return event;
}

snd_seq_event_t On(unsigned note, unsigned velocity = 100, unsigned channel = 0)
{
    return Note(SND_SEQ_EVENT_NOTEON, note, velocity, channel);
}

snd_seq_event_t Off(unsigned note, unsigned velocity = 0, unsigned channel = 0)
{
    return Note(SND_SEQ_EVENT_NOTEOFF, note, velocity, channel);
}

// A channel message other than a note, about the value 1 (a controller, a program) on channel 0.
snd_seq_event_t Control(snd_seq_event_type_t type)
{
    snd_seq_event_t event{};
    event.type = type;
    event.data.control.param = 1;
    event.data.control.value = 1;
    return event;
}

// An edge as "S" (straight key), "P" (dot lever) or "T" (dash lever), then "+" down or "-" up.
QString Text(KeyInput input, bool down)
{
    const char16_t name = input == KeyInput::Straight ? u'S' : input == KeyInput::DotLever ? u'P' : u'T';
    return QString(QChar(name)) + (down ? u'+' : u'-');
}

// A client of the test's own that sends from one port, as a key adapter does.
class Sender
{
public:
    Sender() { snd_seq_open(&m_seq, "default", SND_SEQ_OPEN_DUPLEX, 0); }
    ~Sender()
    {
        if (m_seq)
            snd_seq_close(m_seq);
    }
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;

    bool isOpen() const { return m_seq != nullptr; }
    // A port open to subscribers or not (then only the connections the sender makes itself reach anyone).
    void openPort(bool subscribable)
    {
        const unsigned caps = SND_SEQ_PORT_CAP_READ | (subscribable ? SND_SEQ_PORT_CAP_SUBS_READ : 0U);
        m_port =
            snd_seq_create_simple_port(m_seq, "Clé", caps, SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE);
    }
    // Tonique's input as a user finds it, by its names (the latest client of that name).
    std::optional<snd_seq_addr_t> tonique() const
    {
        std::optional<snd_seq_addr_t> found;
        snd_seq_client_info_t* client = nullptr;
        snd_seq_port_info_t* port = nullptr;
        snd_seq_client_info_malloc(&client);
        snd_seq_port_info_malloc(&port);
        snd_seq_client_info_set_client(client, -1);
        while (snd_seq_query_next_client(m_seq, client) >= 0) {
            if (qstrcmp(snd_seq_client_info_get_name(client), "Tonique") != 0)
                continue;
            snd_seq_port_info_set_client(port, snd_seq_client_info_get_client(client));
            snd_seq_port_info_set_port(port, -1);
            while (snd_seq_query_next_port(m_seq, port) >= 0)
                if (qstrcmp(snd_seq_port_info_get_name(port), "Manipulateur") == 0)
                    found = *snd_seq_port_info_get_addr(port);
        }
        snd_seq_port_info_free(port);
        snd_seq_client_info_free(client);
        return found;
    }
    bool connectTo(snd_seq_addr_t to) { return snd_seq_connect_to(m_seq, m_port, to.client, to.port) >= 0; }
    bool isConnectedTo(snd_seq_addr_t to) const
    {
        snd_seq_port_subscribe_t* subscription = nullptr;
        snd_seq_port_subscribe_malloc(&subscription);
        const snd_seq_addr_t from{static_cast<unsigned char>(snd_seq_client_id(m_seq)),
                                  static_cast<unsigned char>(m_port)};
        snd_seq_port_subscribe_set_sender(subscription, &from);
        snd_seq_port_subscribe_set_dest(subscription, &to);
        const bool connected = snd_seq_get_port_subscription(m_seq, subscription) == 0;
        snd_seq_port_subscribe_free(subscription);
        return connected;
    }
    void send(const Events& events)
    {
        for (snd_seq_event_t event : events) {
            snd_seq_ev_set_source(&event, m_port);
            snd_seq_ev_set_subs(&event);
            snd_seq_ev_set_direct(&event);
            snd_seq_event_output_direct(m_seq, &event);
        }
    }

private:
    snd_seq_t* m_seq = nullptr;
    int m_port = -1;
};

} // namespace

class TestMidiKeyingSource : public QObject
{
    Q_OBJECT

private slots:
    void notes_data();
    void notes();
    void withoutSequencer();
    void sequencer_data();
    void sequencer();
};

void TestMidiKeyingSource::notes_data()
{
    QTest::addColumn<Events>("events");
    QTest::addColumn<QString>("edges");
    QTest::newRow("each key down and up") << Events{On(0), Off(0), On(1), On(2), Off(1), Off(2)} << "S+ S- P+ T+ P- T-";
    QTest::newRow("a note-on of velocity 0 is a key-up")
        << Events{On(1, 90), On(1, 0), On(2, 1), On(2, 0)} << "P+ P- T+ T-";
    QTest::newRow("a note-off with a release velocity") << Events{On(2), Off(2, 64)} << "T+ T-";
    QTest::newRow("any channel") << Events{On(0, 100, 9), Off(0, 0, 15), On(1, 100, 15), On(1, 0, 3)} << "S+ S- P+ P-";
    QTest::newRow("other notes key nothing") << Events{On(3), On(60), On(127), Off(3), Off(60)} << "";
    QTest::newRow("other messages leave the keys as they are") << Events{On(1),
                                                                         Note(SND_SEQ_EVENT_KEYPRESS, 1, 0),
                                                                         Note(SND_SEQ_EVENT_NOTE, 1, 0),
                                                                         Note(SND_SEQ_EVENT_KEYPRESS, 0, 100),
                                                                         Note(SND_SEQ_EVENT_NOTE, 2, 100),
                                                                         Control(SND_SEQ_EVENT_CONTROLLER),
                                                                         Control(SND_SEQ_EVENT_PGMCHANGE),
                                                                         Control(SND_SEQ_EVENT_CHANPRESS),
                                                                         Control(SND_SEQ_EVENT_PITCHBEND),
                                                                         Control(SND_SEQ_EVENT_CLOCK)}
                                                               << "P+";
    QTest::newRow("a key said down or up again keys once")
        << Events{Off(1), On(1), On(1, 80), Off(1), Off(1), On(0, 0)} << "P+ P-";
    QTest::newRow("levers held together") << Events{On(1), On(2), Off(1), On(1), Off(2), Off(1)} << "P+ T+ P- P+ T- P-";
}

void TestMidiKeyingSource::notes()
{
    QFETCH(Events, events);
    QFETCH(QString, edges);
    MidiKeyNotes notes;
    QStringList read;
    for (const snd_seq_event_t& event : events)
        if (const auto edge = notes.read(event))
            read << Text(edge->input, edge->down);
    QCOMPARE(read.join(u' '), edges);
}

// Where this machine has no sequencer: the input says so in French and stays harmless (the window keeps the keyboard).
void TestMidiKeyingSource::withoutSequencer()
{
    if (QFileInfo::exists(u"/dev/snd/seq"_s))
        QSKIP("this machine has a sequencer: the test below opens it");
    MidiKeyingSource source;
    for (int attempt = 0; attempt < 2; ++attempt) {
        QString failure;
        QVERIFY(!source.start(failure));
        QVERIFY2(failure.startsWith(u"Aucun séquenceur MIDI"_s), qPrintable(failure));
        QVERIFY(failure.contains(u"le clavier reste utilisable"_s));
        source.stop();
    }
}

void TestMidiKeyingSource::sequencer_data()
{
    QTest::addColumn<bool>("openedFirst");
    QTest::addColumn<bool>("subscribable");
    QTest::newRow("an adapter there when Tonique starts") << true << true;
    QTest::newRow("an adapter plugged in while Tonique listens") << false << true;
    QTest::newRow("a program that connects itself to Tonique") << false << false;
}

// The real sequencer, where this machine has one: a client of the test's own sends notes as a key adapter does.
void TestMidiKeyingSource::sequencer()
{
    QFETCH(bool, openedFirst);
    QFETCH(bool, subscribable);
    if (!QFileInfo::exists(u"/dev/snd/seq"_s))
        QSKIP("no sequencer on this machine: the test above checks what the learner is told");
    Sender sender;
    QVERIFY(sender.isOpen());
    if (openedFirst)
        sender.openPort(subscribable);
    MidiKeyingSource source;
    QStringList edges;
    QList<KeyTime> times;
    QObject here; // the edges come from the reader's thread, queued to this one
    connect(&source, &KeyingSource::edge, &here, [&](KeyInput input, bool down, KeyTime time) {
        edges << Text(input, down);
        times << time;
    });
    QString failure;
    QVERIFY2(source.start(failure), qPrintable(failure));
    if (!openedFirst)
        sender.openPort(subscribable);
    const std::optional<snd_seq_addr_t> tonique = sender.tonique();
    QVERIFY(tonique);
    if (!subscribable)
        QVERIFY(sender.connectTo(*tonique));
    QTRY_VERIFY(sender.isConnectedTo(*tonique));

    const KeyTime before = InputTimeNow();
    sender.send({On(1), On(60), Control(SND_SEQ_EVENT_CONTROLLER), Off(1), On(0, 100, 5), On(0, 0, 5)});
    QTRY_COMPARE(edges.join(u' '), u"P+ P- S+ S-"_s);
    QVERIFY(std::is_sorted(times.begin(), times.end()));
    QVERIFY(times.first() >= before && times.last() <= InputTimeNow());

    source.stop();
    sender.send({On(2)});
    QTest::qWait(100);
    QCOMPARE(edges.size(), 4);
}

TONIQUE_TEST(TestMidiKeyingSource, Core)

#include "tst_midikeyingsource.moc"
