#include "TestMain.h"
#include "inputs/InputTime.h"
#include "inputs/MidiKeyNotes.h"
#include "inputs/MidiKeyingSource.h"

#include <QFileInfo>
#include <QTest>

#include <algorithm>
#include <alsa/asoundlib.h>

using namespace Qt::StringLiterals;

using Events = QList<snd_seq_event_t>;
Q_DECLARE_METATYPE(Events)

namespace {

// A note, or another message about the same number (a key's pressure, controller 1, program 1), on a channel.
snd_seq_event_t Note(snd_seq_event_type_t type, int note, int velocity, int channel = 0)
{
    snd_seq_event_t event{};
    event.type = type;
    event.data.note = {static_cast<unsigned char>(channel), static_cast<unsigned char>(note),
                       static_cast<unsigned char>(velocity), 0, 0};
    return event;
}
snd_seq_event_t On(int note, int velocity = 100, int channel = 0)
{
    return Note(SND_SEQ_EVENT_NOTEON, note, velocity, channel);
}
snd_seq_event_t Off(int note, int velocity = 0, int channel = 0)
{
    return Note(SND_SEQ_EVENT_NOTEOFF, note, velocity, channel);
}
// An edge as "S" (straight key), "P" (dot lever) or "T" (dash lever), then "+" down or "-" up.
QString Text(KeyInput input, bool down)
{
    return QChar(u"SPT"[int(input)]) + QChar(down ? u'+' : u'-');
}

// A client of the test's own that sends from one port, as a key adapter does.
struct Sender
{
    snd_seq_t* seq = nullptr;
    int port = -1;

    Sender() { snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, 0); }
    ~Sender()
    {
        if (seq)
            snd_seq_close(seq);
    }
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;

    // A port open to subscribers or not (then only the connections the sender makes itself reach anyone).
    void openPort(bool subscribable)
    {
        port = snd_seq_create_simple_port(seq, "Clé",
                                          SND_SEQ_PORT_CAP_READ | (subscribable ? SND_SEQ_PORT_CAP_SUBS_READ : 0U),
                                          SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE);
    }
    bool isConnectedTo(snd_seq_addr_t to) const
    {
        snd_seq_port_subscribe_t* subscription = nullptr;
        snd_seq_port_subscribe_malloc(&subscription);
        const snd_seq_addr_t from{static_cast<unsigned char>(snd_seq_client_id(seq)), static_cast<unsigned char>(port)};
        snd_seq_port_subscribe_set_sender(subscription, &from);
        snd_seq_port_subscribe_set_dest(subscription, &to);
        const bool connected = snd_seq_get_port_subscription(seq, subscription) == 0;
        snd_seq_port_subscribe_free(subscription);
        return connected;
    }
    void send(const Events& events)
    {
        for (snd_seq_event_t event : events) {
            snd_seq_ev_set_source(&event, port);
            snd_seq_ev_set_subs(&event);
            snd_seq_ev_set_direct(&event);
            snd_seq_event_output_direct(seq, &event);
        }
    }
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
                                                                         Note(SND_SEQ_EVENT_CONTROLLER, 0, 1),
                                                                         Note(SND_SEQ_EVENT_PGMCHANGE, 2, 1),
                                                                         Note(SND_SEQ_EVENT_CHANPRESS, 0, 1),
                                                                         Note(SND_SEQ_EVENT_PITCHBEND, 2, 1)}
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
    QVERIFY(sender.seq);
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
    // Tonique's input as a user finds it, by its names.
    snd_seq_addr_t tonique{};
    QCOMPARE(snd_seq_parse_address(sender.seq, &tonique, "Tonique:0"), 0);
    snd_seq_port_info_t* input = nullptr;
    snd_seq_port_info_alloca(&input);
    QCOMPARE(snd_seq_get_any_port_info(sender.seq, tonique.client, tonique.port, input), 0);
    QCOMPARE(snd_seq_port_info_get_name(input), "Manipulateur");
    if (!subscribable)
        QCOMPARE(snd_seq_connect_to(sender.seq, sender.port, tonique.client, tonique.port), 0);
    QTRY_VERIFY(sender.isConnectedTo(tonique));

    const KeyTime before = InputTimeNow();
    sender.send({On(1), On(60), Note(SND_SEQ_EVENT_CONTROLLER, 1, 0), Off(1), On(0, 100, 5), On(0, 0, 5)});
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
