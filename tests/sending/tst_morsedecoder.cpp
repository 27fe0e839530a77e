#include "Keying.h"
#include "TestMain.h"
#include "marking/EditDistance.h"
#include "sending/MorseDecoder.h"

#include <QTest>

namespace {

// The decoder's output as one text, its messages between braces.
QString Decode(MorseDecoder& decoder, const std::vector<KeyEdge>& edges, KeyTime tickUs)
{
    KeyTime now = 0;
    for (const auto& edge : edges) {
        // A window's timer calls in between, when there is one.
        for (; tickUs > 0 && now + tickUs < edge.time; now += tickUs)
            decoder.advanceTo(now + tickUs);
        decoder.keyEdge(edge);
    }
    decoder.advanceTo((edges.empty() ? 0 : edges.back().time) + 20 * MicrosecondsPerSecond);
    QString text;
    for (const auto& sign : decoder.takeDecoded())
        text += sign.kind == DecodedSign::Kind::Message ? u'{' + sign.text + u'}' : sign.text;
    return text.trimmed();
}

Characters CharactersOf(const QString& text)
{
    Characters characters;
    for (const char32_t c : text.toUcs4())
        characters.push_back(c);
    return characters;
}

// Hand-written keying at 20 words per minute: "." and "-" elements, " " between letters, "/" between words, "S" a
// key held down for 6 s, "g" a click of 3 ms in the silence, "_" a dash with a dropout of 3 ms in its middle.
std::vector<KeyEdge> Keyed(const QString& keying)
{
    const double dot = DotMicroseconds(20);
    std::vector<KeyEdge> edges;
    double time = 0;
    double gap = 0;
    const auto key = [&edges](double down, double up) {
        edges.push_back({std::llround(down), true});
        edges.push_back({std::llround(up), false});
    };
    for (const QChar c : keying) {
        if (c == u' ' || c == u'/') {
            gap = std::max(gap, c == u' ' ? 3.0 : 7.0);
        } else if (c == u'g') {
            key(time + 0.5 * dot, time + 0.5 * dot + 3000);
        } else {
            time += gap * dot;
            const double length = c == u'S' ? 6e6 : (c == u'.' ? 1 : 3) * dot;
            if (c == u'_') {
                key(time, time + 1.5 * dot);
                key(time + 1.5 * dot + 3000, time + length);
            } else {
                key(time, time + length);
            }
            time += length;
            gap = 1;
        }
    }
    return edges;
}

} // namespace

class TestMorseDecoder : public QObject
{
    Q_OBJECT

private slots:
    void generatedKeying_data();
    void generatedKeying();
    void speedJump_data();
    void speedJump();
    void speedAfterTwentyElements_data();
    void speedAfterTwentyElements();
    void keyedSigns_data();
    void keyedSigns();
};

void TestMorseDecoder::generatedKeying_data()
{
    QTest::addColumn<double>("wpm");
    QTest::addColumn<double>("drift");
    QTest::addColumn<qint64>("tickUs");
    for (const double wpm : {5, 8, 12, 16, 20, 25, 30, 35, 40}) {
        const QByteArray name = QByteArray::number(wpm) + " wpm";
        QTest::newRow(QByteArray(name + ", ±25 %").constData()) << wpm << 0.0 << qint64{0};
        QTest::newRow(QByteArray(name + ", ±25 %, drifting ±30 %").constData()) << wpm << 0.3 << qint64{0};
    }
    QTest::newRow("12 wpm, drifting, a timer every 10 ms") << 12.0 << 0.3 << qint64{10'000};
    QTest::newRow("30 wpm, drifting, a timer every 10 ms") << 30.0 << 0.3 << qint64{10'000};
}

void TestMorseDecoder::generatedKeying()
{
    QFETCH(double, wpm);
    QFETCH(double, drift);
    QFETCH(qint64, tickUs);
    const SignTable signs = DeliveredSigns();
    std::mt19937 random(static_cast<unsigned>(wpm * 100 + drift * 10 + static_cast<double>(tickUs)));
    const QString text = RandomText(signs, 600, random);
    MorseDecoder decoder(signs);
    const QString decoded = Decode(decoder, KeyText(signs, text, {wpm, 0.25, drift}, random), tickUs);
    const auto errors = ErrorCount(CharactersOf(text), CharactersOf(decoded));
    const double accuracy = 1 - static_cast<double>(errors) / static_cast<double>(text.size());
    if (accuracy < 0.995)
        qWarning().noquote() << "sent   " << text << "\ndecoded" << decoded;
    QVERIFY2(accuracy >= 0.995, qPrintable(QString::number(errors) + " errors"));
}

void TestMorseDecoder::speedJump_data()
{
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("after");
    QTest::addColumn<unsigned>("seed");
    for (const auto& [before, after] : {std::pair{15, 30}, {30, 12}, {10, 40}, {40, 10}}) {
        for (const unsigned seed : {2, 5})
            QTest::addRow("%d to %d wpm, seed %u", before, after, seed) << double(before) << double(after) << seed;
    }
}

// Another sender, at another speed, after a word gap: the decoder is reading right again well before 250
// characters.
void TestMorseDecoder::speedJump()
{
    QFETCH(double, before);
    QFETCH(double, after);
    QFETCH(unsigned, seed);
    const SignTable signs = DeliveredSigns();
    std::mt19937 random(seed);
    const QString first = RandomText(signs, 300, random);
    const QString second = RandomText(signs, 300, random);
    auto edges = KeyText(signs, first, {before, 0.25}, random);
    const KeyTime end = edges.back().time + std::llround(7 * DotMicroseconds(before));
    for (auto edge : KeyText(signs, second, {after, 0.25}, random))
        edges.push_back({edge.time + end, edge.down});
    MorseDecoder decoder(signs);
    const QString decoded = Decode(decoder, edges, 0);
    QCOMPARE(decoded.right(250), second.right(250));
    QVERIFY(std::abs(decoder.wordsPerMinute() - after) < 0.1 * after);
}

void TestMorseDecoder::speedAfterTwentyElements_data()
{
    QTest::addColumn<double>("wpm");
    QTest::addColumn<double>("jitter");
    for (const double wpm : {5, 12, 20, 30, 40, 50})
        QTest::newRow(QByteArray(QByteArray::number(wpm) + " wpm").constData()) << wpm << 0.0;
    QTest::newRow("25 wpm, ±5 %") << 25.0 << 0.05;
}

void TestMorseDecoder::speedAfterTwentyElements()
{
    QFETCH(double, wpm);
    QFETCH(double, jitter);
    const SignTable signs = DeliveredSigns();
    std::mt19937 random(static_cast<unsigned>(wpm));
    const auto edges = KeyText(signs, RandomText(signs, 40, random), {wpm, jitter}, random);
    MorseDecoder decoder(signs);
    for (size_t i = 0; i < 40; ++i)
        decoder.keyEdge(edges[i]);
    QVERIFY2(std::abs(decoder.wordsPerMinute() - wpm) <= 1, qPrintable(QString::number(decoder.wordsPerMinute())));
}

void TestMorseDecoder::keyedSigns_data()
{
    QTest::addColumn<QStringList>("extraSigns");
    QTest::addColumn<QString>("keying");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("accented letters") << QStringList{} << "-.-. --.- / ..-.. .--.-" << QStringLiteral("cq éà");
    QTest::newRow("the user's own sign") << QStringList{QStringLiteral("ç -.-..")} << "-.-. --.- / -.-.."
                                         << QStringLiteral("cq ç");
    QTest::newRow("unknown pattern") << QStringList{} << "-.-. --.- / ........ .-"
                                     << "cq [........]a";
    QTest::newRow("key held down") << QStringList{} << "-.-. --.- / -.S / ..."
                                   << QStringLiteral("cq {Manipulateur bloqué\u202F?}s");
    QTest::newRow("key held down at the start")
        << QStringList{} << "S / -.-. --.-" << QStringLiteral("{Manipulateur bloqué\u202F?}cq");
    QTest::newRow("a click between letters") << QStringList{} << "-.-. g --.-"
                                             << "cq";
    QTest::newRow("a click between words") << QStringList{} << "-.-. --.- /g -.. ."
                                           << "cq de";
    QTest::newRow("a dropout inside dashes") << QStringList{} << "-.-. --.- / _.-. _-._"
                                             << "cq cq";
    QTest::newRow("a lone letter") << QStringList{} << "-.-"
                                   << "k";
}

void TestMorseDecoder::keyedSigns()
{
    QFETCH(QStringList, extraSigns);
    QFETCH(QString, keying);
    QFETCH(QString, decoded);
    const SignTable signs = SignTable::fromLines(LoadSignFile(BuildFolder::file("telkey.ref")).lines + extraSigns);
    MorseDecoder decoder(signs);
    QCOMPARE(Decode(decoder, Keyed(keying), 0), decoded);
}

TONIQUE_TEST(TestMorseDecoder, None)
#include "tst_morsedecoder.moc"
