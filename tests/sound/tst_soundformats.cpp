// tonique-wav --format: the exercise in FLAC, Ogg Vorbis, Ogg Opus and MP3, decoded back with libsndfile against the
// program's own WAV of the same run; refusals and failures that must leave no file behind.
#include "TestMain.h"
#include "cli/LameEncoder.h"
#include "cli/SndfileEncoder.h"
#include "cli/VorbisEncoder.h"
#include "cli/WavCommandLine.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestWav.h"
#include "sound/SoundFileEncoder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <numbers>
#include <random>
#include <sndfile.h>
#include <sys/resource.h>

namespace {

struct Decoded
{
    int major = 0;
    int rate = 0;
    std::vector<short> samples;
};

Decoded decode(const QString& path)
{
    Decoded d;
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return d;
    d.major = info.format & SF_FORMAT_TYPEMASK;
    d.rate = info.samplerate;
    short chunk[4096];
    for (sf_count_t n; (n = sf_read_short(file, chunk, 4096)) > 0;)
        d.samples.insert(d.samples.end(), chunk, chunk + n);
    sf_close(file);
    return d;
}

std::vector<short> wavSamples(const QByteArray& wav)
{
    std::vector<short> s(size_t(wav.size() - 58) / 2);
    qFromLittleEndian<qint16>(wav.constData() + 58, qsizetype(s.size()), s.data());
    return s;
}

// How close the decoded sound is to the program's own samples, in dB: the tone and its timing, sample for sample.
double fidelity(const std::vector<short>& sent, const std::vector<short>& heard)
{
    double signal = 0, error = 0;
    for (size_t i = 0; i < std::min(sent.size(), heard.size()); ++i) {
        signal += double(sent[i]) * sent[i];
        error += (double(sent[i]) - heard[i]) * (double(sent[i]) - heard[i]);
    }
    return 10 * std::log10(signal / std::max(error, 1.0));
}

class FakeEncoder : public SoundFileEncoder
{
public:
    Failure createFailure, closeFailure;
    Failure create(const QString& path) override
    {
        if (createFailure)
            return createFailure;
        m_file.setFileName(path);
        return m_file.open(QIODevice::WriteOnly) ? Failure() : Failure(QStringLiteral("ouverture"));
    }
    using ByteSink::append;
    void append(const char* data, qsizetype size) override { m_file.write(data, size); }
    Failure close() override
    {
        m_file.close();
        return closeFailure;
    }
    quint64 sampleBytes() const override { return 0; }

private:
    QFile m_file;
};

} // namespace

class TstSoundFormats : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("frame");         // samples the length may differ by
        QTest::addColumn<int>("cbrKbps");       // the MP3 file's rate, 0 when not constant
        QTest::addColumn<int>("maxKbps");       // the file's rate at most
        QTest::addColumn<QStringList>("sound"); // the sound's settings, for both runs
        const int flac = SF_FORMAT_FLAC, ogg = SF_FORMAT_OGG, mp3 = SF_FORMAT_MPEG;
        const QStringList tone{"--tone", "700"};
        QTest::newRow("flac") << QStringList{"--format", "flac"} << flac << 0 << 0 << 128 << tone;
        QTest::newRow("ogg") << QStringList{"--format", "ogg"} << ogg << 256 << 0 << 40 << tone;
        // Opus's last page cuts the decoded sound to the very sample sent.
        QTest::newRow("opus") << QStringList{"--format", "opus"} << ogg << 1 << 0 << 28 << tone;
        QTest::newRow("opus 64") << QStringList{"--format", "opus", "--debit", "64"} << ogg << 1 << 0 << 74 << tone;
        QTest::newRow("mp3") << QStringList{"--format", "mp3"} << mp3 << 576 << 32 << 0 << tone;
        QTest::newRow("mp3 24") << QStringList{"--debit", "24", "--format", "mp3"} << mp3 << 576 << 24 << 0 << tone;
        QTest::newRow("mp3 64") << QStringList{"--format", "mp3", "--debit", "64"} << mp3 << 576 << 64 << 0 << tone;
        // The encoder leaves out what lies above the sound's highest frequency: the other station's when it is the
        // higher, louder than the tone at the top of its range; noise fills the whole band, all of it kept.
        QTest::newRow("mp3, the other station above the highest tone")
            << QStringList{"--format", "mp3"} << mp3 << 576 << 32 << 0
            << QStringList{"--tone", "2000", "--qrm", "500,6", "--graine", "1"};
        QTest::newRow("mp3, white noise") << QStringList{"--format", "mp3"} << mp3 << 576 << 32 << 0
                                          << QStringList{"--tone", "700", "--bruit", "10", "--graine", "1"};
    }
    void roundTrip()
    {
        QFETCH(QStringList, args);
        QFETCH(int, major);
        QFETCH(int, frame);
        QFETCH(int, cbrKbps);
        QFETCH(int, maxKbps);
        QFETCH(QStringList, sound);
        QTemporaryDir wavRun, encodedRun;
        const QByteArray text = "cq cq de f6abc f6abc pse k 73 ";
        const QStringList common = sound + QStringList{"--wpm", "20", "in.txt"};
        for (const QTemporaryDir* dir : {&wavRun, &encodedRun})
            TestWav::write(dir->filePath("in.txt"), text.repeated(4));
        QCOMPARE(TestWav::run(BuildFolder::file("tonique-wav"), wavRun.path(), common), 0);
        QString err;
        QCOMPARE(TestWav::run(BuildFolder::file("tonique-wav"), encodedRun.path(), args + common, {}, &err), 0);

        const QString extension = args[args.indexOf("--format") + 1];
        QCOMPARE(QDir(encodedRun.path()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"TEST." + extension, "TEST.txt", "in.txt"}));
        QCOMPARE(TestWav::read(encodedRun.filePath("TEST.txt")), TestWav::read(wavRun.filePath("TEST.txt")));
        const std::vector<short> wav = wavSamples(TestWav::read(wavRun.filePath("TEST.wav")));
        const Decoded decoded = decode(encodedRun.filePath("TEST." + extension));
        QCOMPARE(decoded.major, major);
        QCOMPARE(decoded.rate, 8000);
        QVERIFY2(std::abs(qint64(decoded.samples.size()) - qint64(wav.size())) <= frame,
                 qPrintable(QStringLiteral("%1 samples against %2").arg(decoded.samples.size()).arg(wav.size())));
        if (frame == 0)
            QVERIFY(decoded.samples == wav);

        // The same tone, keyed at the same moments: a sound late by a tenth of its period is below 10 dB.
        const double dB = fidelity(wav, decoded.samples);
        QVERIFY2(dB > 18, qPrintable(QString::number(dB)));

        const double seconds = double(wav.size()) / 8000;
        const double kbps = double(QFileInfo(encodedRun.filePath("TEST." + extension)).size()) * 8 / 1000 / seconds;
        if (cbrKbps)
            QVERIFY2(std::abs(kbps - cbrKbps) < cbrKbps * 0.1, qPrintable(QString::number(kbps)));
        else
            QVERIFY2(kbps < maxKbps, qPrintable(QString::number(kbps)));
    }

    // The MP3 and Vorbis encoders cut the sound into stretches encoded side by side, here short ones (16 frames of
    // 576 samples, 4 blocks of at most 1024): decoded back, the joined stream has the length of the sound to the
    // sample, and no cut shows.
    void segments_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("samples");
        QTest::addColumn<bool>("keyed"); // a tone keyed on and off, or one that never stops
        const int segment = 16 * 576;
        for (const QString format : {"mp3", "ogg"}) {
            const auto row = [&format](const char* name) -> QTestData& {
                return QTest::addRow("%s, %s", qPrintable(format), name);
            };
            row("shorter than a stretch") << format << 5 * 576 + 100 << true;
            row("ends at a cut") << format << 3 * segment << true;
            row("one sample past a cut") << format << 2 * segment + 1 << true;
            row("last stretch shorter than the margins") << format << 3 * segment + 300 << true;
            row("tone across every cut, no silence") << format << 7 * segment + 77 << false;
            row("no sound at all") << format << 0 << true;
        }
    }
    void segments()
    {
        QFETCH(QString, format);
        QFETCH(int, samples);
        QFETCH(bool, keyed);
        std::vector<short> sent(static_cast<size_t>(samples));
        for (int i = 0; i < samples; ++i) {
            const double level = keyed ? ((i / 700) % 3 != 2 ? 8000 : 0) : 6000 + 3000 * std::sin(i * 0.0007);
            sent[size_t(i)] = short(std::lround(level * std::sin(2 * std::numbers::pi * 700 * i / 8000)));
        }
        QTemporaryDir dir;
        auto encoder = format == u"mp3" ? MakeLameEncoder(32, 16) : MakeVorbisEncoder(4);
        QVERIFY(encoder);
        QCOMPARE((*encoder)->create(dir.filePath("TEST." + format)), Failure());
        QByteArray bytes(2 * samples, Qt::Uninitialized);
        if (samples > 0)
            qToLittleEndian<qint16>(sent.data(), samples, bytes.data());
        for (qsizetype at = 0; at < bytes.size(); at += 1001) // odd pieces, as the rendering hands them over
            (*encoder)->append(bytes.constData() + at, std::min<qsizetype>(1001, bytes.size() - at));
        QCOMPARE((*encoder)->close(), Failure());

        const Decoded decoded = decode(dir.filePath("TEST." + format));
        QCOMPARE(decoded.major, int(format == u"mp3" ? SF_FORMAT_MPEG : SF_FORMAT_OGG));
        QCOMPARE(qsizetype(decoded.samples.size()), qsizetype(samples));
        // Every stretch of a frame's length on its own, silent or not, against the tone's full power: one bad frame
        // among many shows.
        for (int from = 0; from + 576 <= samples; from += 576) {
            double error = 0;
            for (int i = from; i < from + 576; ++i)
                error += std::pow(double(sent[size_t(i)]) - decoded.samples[size_t(i)], 2);
            const double dB = 10 * std::log10(576 * 8000.0 * 8000.0 / 2 / std::max(error, 1.0));
            QVERIFY2(dB > 15, qPrintable(QStringLiteral("%1 dB at sample %2").arg(dB).arg(from)));
        }
    }

    // tonique-wav's libraries sort with a qsort() of the program's own, linked into these tests too: arrays of
    // pointers merged, equal elements kept in their order, as the C library's stable sort does.
    void librarySort_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("keys"); // how many different values, few for many ties
        QTest::newRow("empty") << 0 << 1;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("sorted by insertion") << 12 << 5;
        QTest::newRow("one merge") << 13 << 5;
        QTest::newRow("a block's, many ties") << 256 << 7;
        QTest::newRow("the longest merged by the program") << 1025 << 1000;
        QTest::newRow("left to the C library") << 1026 << 1000;
    }
    void librarySort()
    {
        QFETCH(int, count);
        QFETCH(int, keys);
        std::mt19937 random{unsigned(count)};
        std::vector<int> values(static_cast<size_t>(count));
        for (int& value : values)
            value = int(random() % unsigned(keys));
        std::vector<const int*> sorted;
        sorted.reserve(values.size() + 1); // never a null array, even empty: qsort() may not be given one
        for (const int& value : values)
            sorted.push_back(&value);
        std::vector<const int*> expected = sorted;
        std::stable_sort(expected.begin(), expected.end(), [](const int* a, const int* b) { return *a < *b; });
        std::qsort(sorted.data(), sorted.size(), sizeof(const int*), [](const void* a, const void* b) {
            const int x = **static_cast<const int*const*>(a), y = **static_cast<const int*const*>(b);
            return int(x > y) - int(x < y);
        });
        QVERIFY(sorted == expected);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown format") << QStringList{"--format", "aac"} << "Format inconnu\u202F: «\u202Faac\u202F»";
        QTest::newRow("rate of a WAV") << QStringList{"--debit", "32"} << "ne s'applique pas au format wav";
        QTest::newRow("rate before a lossless format")
            << QStringList{"--debit", "32", "--format", "flac"} << "ne s'applique pas au format flac";
        QTest::newRow("rate of a Vorbis file") << QStringList{"--format", "ogg", "--debit", "32"} << "format ogg";
        QTest::newRow("MP3 too fast") << QStringList{"--format", "mp3", "--debit", "96"}
                                      << "de 24 à 64\u202Fkbit/s pour mp3";
        QTest::newRow("MP3 too slow to say its delay")
            << QStringList{"--format", "mp3", "--debit", "16"} << "de 24 à 64";
        QTest::newRow("Opus too slow") << QStringList{"--format=opus", "--debit=5"}
                                       << "de 6 à 256\u202Fkbit/s pour opus";
        QTest::newRow("rate not whole") << QStringList{"--format", "mp3", "--debit", "24.5"}
                                        << "Valeur non numérique pour --debit";
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        WavCommandLine options;
        const Failure failed = ParseWavCommandLine(args + QStringList{"in.txt"}, options);
        QVERIFY2(failed && failed->contains(message), qPrintable(failed.value_or(QStringLiteral("accepted"))));
    }

    // An encoder that cannot be had or that fails: status 2, the reason told, and the folder as it was.
    void encoderFailure_data()
    {
        QTest::addColumn<QString>("failing"); // "format", "create", "close" or "full"
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("message");
        QTest::newRow("format the library lacks") << "format"
                                                  << "mp3"
                                                  << "tonique-wav\u202F: Le format mp3 ne peut pas";
        QTest::newRow("file not created") << "create"
                                          << "mp3"
                                          << "Impossible de créer le fichier";
        QTest::newRow("writing fails") << "close"
                                       << "mp3"
                                       << "Impossible d'écrire le fichier";
        QTest::newRow("the real MP3 encoder, no room left")
            << "full"
            << "mp3"
            << "TEST.mp3\u202F»\u202F: le fichier dépasse la taille permise.";
        QTest::newRow("the real Vorbis encoder, no room left")
            << "full"
            << "ogg"
            << "TEST.ogg\u202F»\u202F: le fichier dépasse la taille permise.";
        QTest::newRow("the real Opus encoder, no room left")
            << "full"
            << "opus"
            << "TEST.opus\u202F»\u202F: le fichier dépasse la taille permise.";
    }
    void encoderFailure()
    {
        QFETCH(QString, failing);
        QFETCH(QString, format);
        QFETCH(QString, message);
        QTemporaryDir dir;
        TestWav::write(dir.filePath("in.txt"), failing == u"full" ? QByteArray("paris ").repeated(300) : "abc");
        TestWav::write(dir.filePath("TEST." + format), "before");
        TestWav::write(dir.filePath("TEST.txt"), "before");
        QString err;
        WavEnvironment env;
        env.signFile = BuildFolder::file("telkey.ref");
        env.out = [](const QString&) {};
        env.err = [&err](const QString& text) { err += text; };
        env.encoderFor = [&](const SoundFormat&, int, int) -> Result<std::unique_ptr<SoundFileEncoder>> {
            if (failing == u"format")
                return Fail(QStringLiteral("Le format mp3 ne peut pas être écrit."));
            auto encoder = std::make_unique<FakeEncoder>();
            (failing == u"create" ? encoder->createFailure : encoder->closeFailure) = QStringLiteral("disque plein");
            return std::unique_ptr<SoundFileEncoder>(std::move(encoder));
        };
        // Files may grow to 64 KiB, as if the disk were then full.
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        const rlimit full{failing == u"full" ? 65536 : unlimited.rlim_cur, unlimited.rlim_max};
        if (failing == u"full")
            env.encoderFor = MakeSndfileEncoder;
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &full);
        const int status = RunToniqueWav({"--format", format, "-o", dir.filePath("TEST"), dir.filePath("in.txt")}, env);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QCOMPARE(status, 2);
        QVERIFY2(err.contains(message), qPrintable(err));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"TEST." + format, "TEST.txt", "in.txt"}));
        QCOMPARE(TestWav::read(dir.filePath("TEST." + format)) + TestWav::read(dir.filePath("TEST.txt")),
                 "beforebefore");
    }
};

TONIQUE_TEST(TstSoundFormats, Core)
#include "tst_soundformats.moc"
