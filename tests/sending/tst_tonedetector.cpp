#include "Keying.h"
#include "TestMain.h"
#include "fakes/TestWav.h"
#include "marking/EditDistance.h"
#include "sending/MorseDecoder.h"
#include "sending/ToneDetector.h"
#include "sound/RenderExerciseFiles.h"
#include "sound/WavHeader.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// `text` rendered as the window renders an exercise (8000 Hz, 16-bit) with band conditions.
std::vector<std::int16_t> Render(const SignTable& signs, const QString& text, double wpm, int toneHz,
                                 const ReceptionConditions& conditions)
{
    const SampleRuns runs = *MakeSampleRuns(MakeTonePeriod(toneHz, 64), DotMicroseconds(wpm) / 1000, 1, 3, 7, 0);
    ExerciseRenderer renderer(signs, runs);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.wav"));
    QByteArray header = MakeWavHeader();
    if (WriteExerciseWav(path, header, renderer, u"", text, u"", {}, {}, {conditions, 5}))
        return {};
    const QByteArray wav = TestWav::read(path);
    std::vector<std::int16_t> samples;
    for (qsizetype i = 58; i + 1 < wav.size(); i += 2)
        samples.push_back(qFromLittleEndian<qint16>(wav.constData() + i));
    return samples;
}

// The samples through the detector in blocks of uneven lengths, its edges through the decoder.
QString Decode(const SignTable& signs, const std::vector<std::int16_t>& samples, int rateHz)
{
    ToneDetector detector(rateHz);
    MorseDecoder decoder(signs);
    std::vector<DecodedSign> decoded;
    for (std::size_t done = 0, block = 1; done < samples.size(); done += block, block = block * 7 % 1999 + 1) {
        detector.feed(samples.data() + done, std::min(block, samples.size() - done));
        for (const KeyEdge& edge : detector.takeEdges())
            decoder.keyEdge(edge);
        decoder.advanceTo(detector.now());
    }
    detector.finish();
    for (const KeyEdge& edge : detector.takeEdges())
        decoder.keyEdge(edge);
    decoder.advanceTo(detector.now() + 10 * MicrosecondsPerSecond);
    return TextOf(decoder.takeDecoded()).simplified();
}

Characters CharactersOf(const QString& text)
{
    Characters characters;
    for (const char32_t c : text.toUcs4())
        if (c != U' ')
            characters.push_back(c);
    return characters;
}

// The characters of `copy` right against `sent`, spaces and case aside.
qsizetype Right(const QString& sent, const QString& copy)
{
    const Characters characters = CharactersOf(sent.toLower());
    return qsizetype(characters.size()) - ErrorCount(characters, CharactersOf(copy.toLower()));
}

// What multimon-ng's Morse decoder reads in the samples (8000 Hz, resampled to the 22050 Hz it reads); nothing when
// it is not installed.
std::optional<QString> OtherDecoder(const std::vector<std::int16_t>& samples)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("multimon-ng"));
    if (program.isEmpty())
        return std::nullopt;
    QByteArray raw;
    for (double t = 0; t + 1 < double(samples.size()); t += 8000.0 / 22050) {
        const auto i = std::size_t(t);
        TestWav::put(raw, qint16(std::lround(samples[i] + (t - double(i)) * (samples[i + 1] - samples[i]))));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.raw"));
    TestWav::write(path, raw);
    QProcess p;
    p.start(program, {"-q", "-t", "raw", "-a", "MORSE_CW", path});
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

ReceptionConditions Rough(double snrDb, bool rough)
{
    ReceptionConditions conditions;
    conditions.noise = snrDb > 0;
    conditions.snrDb = snrDb;
    conditions.hand = conditions.edges = conditions.fading = rough;
    conditions.handPercent = 25;
    conditions.fadingDepth = 60;
    return conditions;
}

} // namespace

class TestToneDetector : public QObject
{
    Q_OBJECT

private slots:
    void renderedExercises_data();
    void renderedExercises();
    void readsMoreThanAnotherDecoder_data() { renderedExercises_data(); }
    void readsMoreThanAnotherDecoder();
};

void TestToneDetector::renderedExercises_data()
{
    QTest::addColumn<double>("wpm");
    QTest::addColumn<int>("toneHz");
    QTest::addColumn<double>("snrDb"); // 0: no noise
    QTest::addColumn<bool>("rough");   // hand-sent 25 %, soft edges, fading 60 %
    QTest::newRow("clean, 20 wpm, 800 Hz") << 20.0 << 800 << 0.0 << false;
    QTest::newRow("rough, 12 wpm, 400 Hz, 6 dB") << 12.0 << 400 << 6.0 << true;
    QTest::newRow("rough, 20 wpm, 700 Hz, 6 dB") << 20.0 << 700 << 6.0 << true;
    QTest::newRow("rough, 30 wpm, 1000 Hz, 6 dB") << 30.0 << 1000 << 6.0 << true;
    QTest::newRow("rough, 25 wpm, 550 Hz, 12 dB") << 25.0 << 550 << 12.0 << true;
    QTest::newRow("rough, 16 wpm, 850 Hz, no noise") << 16.0 << 850 << 0.0 << true;
}

void TestToneDetector::renderedExercises()
{
    QFETCH(double, wpm);
    QFETCH(int, toneHz);
    QFETCH(double, snrDb);
    QFETCH(bool, rough);
    const SignTable signs = DeliveredSigns();
    std::mt19937 random(unsigned(wpm * 1000 + toneHz));
    const QString text = RandomText(signs, 400, random);
    const QString decoded = Decode(signs, Render(signs, text, wpm, toneHz, Rough(snrDb, rough)), 8000);
    const auto errors = ErrorCount(CharactersOf(text), CharactersOf(decoded));
    const double accuracy = 1 - double(errors) / double(CharactersOf(text).size());
    if (accuracy < 0.98)
        qWarning().noquote() << "sent   " << text << "\ndecoded" << decoded;
    QVERIFY2(accuracy >= 0.98, qPrintable(QString::number(errors) + " errors"));
}

// On the same rendered exercises, at least as many characters right as another decoder, more when the keying is
// hand-sent; letters and figures only, which both know.
void TestToneDetector::readsMoreThanAnotherDecoder()
{
    QFETCH(double, wpm);
    QFETCH(int, toneHz);
    QFETCH(double, snrDb);
    QFETCH(bool, rough);
    const SignTable signs = DeliveredSigns();
    std::mt19937 random(unsigned(wpm * 100 + toneHz));
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    QString text;
    for (int i = 1; i <= 300; ++i)
        text += i % 6 == 0 ? u' ' : letters[qsizetype(random() % 36)];
    const std::vector<std::int16_t> samples = Render(signs, text, wpm, toneHz, Rough(snrDb, rough));
    const std::optional<QString> other = OtherDecoder(samples);
    if (!other)
        QSKIP("multimon-ng is not installed");
    const qsizetype ours = Right(text, Decode(signs, samples, 8000));
    const qsizetype theirs = Right(text, *other);
    QVERIFY2(rough ? ours > theirs : ours >= theirs,
             qPrintable(QString::number(ours) + u" against "_s + QString::number(theirs)));
}

TONIQUE_TEST(TestToneDetector, None)
#include "tst_tonedetector.moc"
