// tonique-decode run as a user runs it: sounds of every rate and channel count, standard input, the timing, and
// files that are no sound at all.
#include "Keying.h"
#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestWav.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// `text` keyed at 20 words per minute on a tone of `toneHz`, after half a second of silence, 16-bit PCM with
// `channels` interleaved (the tone on the first only, so that the others must be mixed in), white noise of `noise`
// (full scale 1) on every channel.
QByteArray KeyedSound(const QString& text, int rateHz, int channels, int toneHz, double noise)
{
    std::mt19937 random(3);
    const std::vector<KeyEdge> edges = KeyText(DeliveredSigns(), text, {}, random);
    const qint64 offset = rateHz / 2;
    const qint64 frames = offset + (edges.empty() ? 0 : edges.back().time * rateHz / MicrosecondsPerSecond) + rateHz;
    std::normal_distribution<double> hiss(0, noise);
    QByteArray data;
    std::size_t next = 0;
    bool down = false;
    for (qint64 i = 0; i < frames; ++i) {
        const KeyTime t = (i - offset) * MicrosecondsPerSecond / rateHz;
        for (; next < edges.size() && edges[next].time <= t; ++next)
            down = edges[next].down;
        for (int c = 0; c < channels; ++c) {
            const double tone = c == 0 && down ? 0.5 * std::sin(2 * std::numbers::pi * toneHz * double(i) / rateHz) : 0;
            TestWav::put(data, qint16(std::clamp(std::lround(32767 * (tone + hiss(random))), -32767L, 32767L)));
        }
    }
    return TestWav::file(data, true, -1, quint32(rateHz), quint16(channels));
}

struct Run
{
    int status = -1;
    QString out, err;
};

Run Decode(const QStringList& arguments, const QString& inputFile = {})
{
    QTemporaryDir home;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    p.setProcessEnvironment(env);
    if (!inputFile.isEmpty())
        p.setStandardInputFile(inputFile);
    p.start(BuildFolder::file("tonique-decode"), arguments);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestToniqueDecode : public QObject
{
    Q_OBJECT

private slots:
    void sounds_data();
    void sounds();
    void timing();
};

void TestToniqueDecode::sounds_data()
{
    QTest::addColumn<QByteArray>("sound"); // the file's bytes, or "<path>" for a path of the system
    QTest::addColumn<bool>("piped");       // given on standard input as "-"
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // the whole of standard output
    QTest::addColumn<QString>("err"); // a pattern standard error must hold; empty: nothing on it

    const QString text = QStringLiteral("cq de f6abc 73");
    const QString decoded = text + u'\n';
    QTest::newRow("8 kHz mono") << KeyedSound(text, 8000, 1, 700, 0) << false << 0 << decoded << QString();
    QTest::newRow("44.1 kHz stereo, noisy")
        << KeyedSound(text, 44100, 2, 450, 0.05) << false << 0 << decoded << QString();
    QTest::newRow("48 kHz, 1400 Hz, piped")
        << KeyedSound(text, 48000, 1, 1400, 0.02) << true << 0 << decoded << QString();
    QTest::newRow("silence") << KeyedSound({}, 8000, 1, 700, 0) << false << 0 << QString() << QString();
    QTest::newRow("white noise") << KeyedSound(QString(' ').repeated(60), 22050, 2, 700, 0.3) << false << 0 << QString()
                                 << QString();
    const QString unreadable = QStringLiteral("^tonique-decode\u202F: Impossible de lire «\u202F.*\u202F»\u202F: ");
    QTest::newRow("empty file") << QByteArray() << false << 2 << QString() << unreadable + u"le fichier est vide";
    QTest::newRow("text") << QByteArray("cq de f6abc\n") << false << 2 << QString()
                          << unreadable + u"ce n'est pas un son";
    QTest::newRow("/dev/zero") << QByteArray("</dev/zero>") << false << 2 << QString()
                               << unreadable + u"ce n'est pas un son";
    QTest::newRow("/dev/zero piped") << QByteArray("</dev/zero>") << true << 2 << QString()
                                     << QStringLiteral("l'entrée standard\u202F: ce n'est pas un son");
    QTest::newRow("96 kHz") << TestWav::file(QByteArray(9600, '\0'), true, -1, 96000) << false << 2 << QString()
                            << unreadable + u"il est échantillonné à 96\u202F000\u202FHz";
}

void TestToniqueDecode::sounds()
{
    QFETCH(QByteArray, sound);
    QFETCH(bool, piped);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("son.wav"));
    if (sound.startsWith('<'))
        path = QString::fromLatin1(sound.mid(1, sound.size() - 2));
    else
        QVERIFY(TestWav::write(path, sound));
    const Run run = piped ? Decode({QStringLiteral("-")}, path) : Decode({path});
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, out);
    if (err.isEmpty())
        QCOMPARE(run.err, QString());
    else
        QVERIFY2(QRegularExpression(err).match(run.err).hasMatch(), qPrintable(run.err));
}

// Each character on a line of its own with its elements in dots, then the proportions of the run.
void TestToniqueDecode::timing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("son.wav"));
    QVERIFY(
        TestWav::write(path, KeyedSound(QStringLiteral("paris paris paris paris paris paris"), 8000, 1, 800, 0.01)));
    const Run run = Decode({QStringLiteral("--timing"), path});
    QCOMPARE(run.status, 0);
    const QStringList lines = run.out.split(u'\n');
    const QStringList expected{"p  .--.", "a  .-", "r  .-.", "i  ..", "s  ...", "p  .--."};
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QVERIFY2(lines.value(i).startsWith(expected[i] + u"  "), qPrintable(run.out));
        const QStringList lengths = lines[i].mid(expected[i].size() + 2).split(u' ');
        const QString pattern = expected[i].mid(3);
        QCOMPARE(lengths.size(), pattern.size());
        for (qsizetype j = 0; j < pattern.size(); ++j)
            QVERIFY2(std::abs(QString(lengths[j]).replace(u',', u'.').toDouble() - (pattern[j] == u'-' ? 3 : 1)) <=
                         0.15,
                     qPrintable(lines[i]));
    }
    // The proportions of the run, near those it was keyed with.
    const QRegularExpressionMatch ratios =
        QRegularExpression(
            u"\nTrait/point\u202F: (\\d,\\d)\nEspace entre éléments\u202F: (\\d,\\d)\nEspace entre lettres\u202F: (\\d,\\d)\n"_s)
            .match(run.out);
    QVERIFY2(ratios.hasMatch(), qPrintable(run.out));
    const double keyed[] = {3, 1, 3};
    const double tolerance[] = {0.35, 0.25, 0.35}; // dots
    for (int i = 0; i < 3; ++i)
        QVERIFY2(std::abs(ratios.captured(i + 1).replace(u',', u'.').toDouble() - keyed[i]) <= tolerance[i],
                 qPrintable(run.out));
}

TONIQUE_TEST(TestToniqueDecode, None)
#include "tst_toniquedecode.moc"
