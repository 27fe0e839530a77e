#include "TestMain.h"
#include "common/BufferedFileWriter.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestWav.h"
#include "signs/SignTable.h"
#include "sound/DurationFormat.h"
#include "sound/ExerciseTextFile.h"
#include "sound/RenderExerciseFiles.h"
#include "sound/WavHeader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

struct MemorySink : ByteSink
{
    using ByteSink::append;
    void append(const char* data, qsizetype size) override { bytes.append(data, size); }
    QByteArray bytes;
};

// Small distinct runs so that every piece of the sound can be told apart.
const SampleRuns Runs{"DDDgg", "TTTTTTDDDgg", "c", "www", 2};

// The expected sound written as: "." dot, "-" dash, "c" character gap, "w" word gap, "F." / "F-" a last element
// without its element gap.
QByteArray expected(const QString& tokens)
{
    QByteArray out;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const bool last = tokens[i] == u'F';
        const QChar t = tokens[i += last];
        const QByteArray& run = t == u'.' ? Runs.dot : t == u'-' ? Runs.dash : t == u'c' ? Runs.charGap : Runs.wordGap;
        out += last ? run.chopped(Runs.elementGap) : run;
    }
    return out;
}

} // namespace

class TstExerciseRenderer : public QObject
{
    Q_OBJECT

private slots:
    void duration_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("total") << qint64(125300) << QStringLiteral("2' 05\" 300'''");
        QTest::newRow("negative, floor") << qint64(-574) << QStringLiteral("-1' 59\" 426'''");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("0' 00\" 000'''");
    }
    void duration()
    {
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        QCOMPARE(FormatDuration(ms), text);
    }

    void textFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray record = QByteArray(36, 'x') + "\r\r\n";
        QTest::newRow("100 characters") << QString(100, u'x')
                                        << record + record + QByteArray(28, 'x') + "\r\r\n\r\r\n\r\r\n";
        QTest::newRow("empty") << QString() << QByteArray("\r\r\n\r\r\n");
        QTest::newRow("exactly one record") << QString(36, u'y') << QByteArray(36, 'y') + "\r\r\n\r\r\n\r\r\n";
        QTest::newRow("code page, spaces kept")
            << QStringLiteral(" é€ж ") << QByteArray(" \xe9\x80? \r\r\n\r\r\n\r\r\n");
    }
    void textFile()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ExerciseTextFileBytes(text), bytes);
    }

    void sound_data()
    {
        // start marks | text | end marks | expected sound
        QTest::addColumn<QString>("row");
        QTest::newRow("marks and text") << "VVV|abc|+|...-c...-c...-cw.-c-...c-.-.cw.-.-F.";
        QTest::newRow("capitals sound the same") << "|ABC||.-c-...c-.-.c";
        QTest::newRow("empty text") << "e||t|.cwwF-";
        QTest::newRow("no marks, no text") << "|||";
        QTest::newRow("each space a word gap") << "|a  b||.-cww-...c";
        QTest::newRow("missing characters silent") << "|a#\nb||.-c-...c";
        QTest::newRow("final on last end mark only") << "|s|ss|...cw...c..F.";
        QTest::newRow("stray symbol is a dash") << "|q||.--c";
        QTest::newRow("empty pattern") << "|k||c";
    }
    void sound()
    {
        QFETCH(QString, row);
        const QStringList f = row.split(u'|');
        const SignFile file = LoadSignFile(BuildFolder::file("telkey.ref"));
        QVERIFY(file.status == SignFile::Status::Loaded);
        QStringList lines = file.lines;
        lines[16] = QStringLiteral("q . x"); // q: dot, stray space, x
        lines[10] = QStringLiteral("k");
        const SignTable table = SignTable::fromLines(lines);
        ExerciseRenderer renderer(table, Runs);
        MemorySink sink;
        renderer.writeSamples(sink, f[0], f[1], f[2]);
        QCOMPARE(sink.bytes, expected(f[3]));
        QCOMPARE(renderer.wavLength(f[0], f[1], f[2]), quint64(58 + sink.bytes.size()));
    }

    // Both files written, the WAV streamed and patched, the text file untrimmed, a second rendering replacing both
    // and leaving nothing else behind.
    void files()
    {
        QTemporaryDir dir;
        const ExerciseFiles files = ExerciseFiles::forBase(dir.filePath(QStringLiteral("TEST")));
        const SignTable table = LoadSignFile(BuildFolder::file("telkey.ref")).table;
        ExerciseRenderer renderer(table, Runs);
        QByteArray header = MakeWavHeader();
        for (const QString& text : {QStringLiteral("  ab c "), QStringLiteral("e")}) {
            bool between = false;
            const ExerciseSource source{
                [&] { return text; }, [] { return QStringLiteral("VVV"); }, [] { return QStringLiteral("+"); }, {}, {}};
            QCOMPARE(RenderExerciseFiles(files, table, Runs, header, source, [&] { between = true; }), Failure());
            QVERIFY(between);
            QCOMPARE(TestWav::read(files.txt), ExerciseTextFileBytes(text));
            QByteArray patched = MakeWavHeader();
            PatchWavHeader(patched, renderer.wavLength(u"VVV", text.trimmed(), u"+"));
            MemorySink samples;
            renderer.writeSamples(samples, u"VVV", text.trimmed(), u"+");
            QCOMPARE(TestWav::read(files.wav), patched + samples.bytes);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"TEST.txt", "TEST.wav"}));
        }
    }

    // A rendering that fails part way, here on a file-size limit standing for a full disk, leaves the previous pair
    // of files as it was and no half-written file; while one is being written, the final names keep the old pair.
    void failureKeepsThePreviousPair()
    {
        QTemporaryDir dir;
        const ExerciseFiles files = ExerciseFiles::forBase(dir.filePath(QStringLiteral("TEST")));
        const SignTable table = LoadSignFile(BuildFolder::file("telkey.ref")).table;
        QByteArray header = MakeWavHeader();
        const SampleRuns runs{QByteArray(400, 'D'), QByteArray(900, 'T'), QByteArray(300, '\0'), QByteArray(700, '\0'),
                              100};
        auto source = [](const QString& text) {
            return ExerciseSource{[text] { return text; }, [] { return QString(); }, [] { return QString(); }, {}, {}};
        };
        QCOMPARE(RenderExerciseFiles(files, table, runs, header, source(QStringLiteral("ab"))), Failure());
        const QByteArray wav = TestWav::read(files.wav), txt = TestWav::read(files.txt);
        bool oldPairMeanwhile = false;
        RenderExerciseFiles(files, table, runs, header, source(QStringLiteral("cd")), [&] {
            oldPairMeanwhile = TestWav::read(files.txt) == txt && TestWav::read(files.wav) == wav;
        });
        QVERIFY(oldPairMeanwhile);
        const QByteArray wav2 = TestWav::read(files.wav), txt2 = TestWav::read(files.txt);

        rlimit before{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 64 << 10;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const Failure failed = RenderExerciseFiles(files, table, runs, header, source(QString(2000, u'e')));
        setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY(failed && failed->contains(QStringLiteral("TEST.wav\u202F»")));
        QCOMPARE(TestWav::read(files.wav), wav2);
        QCOMPARE(TestWav::read(files.txt), txt2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"TEST.txt", "TEST.wav"}));
    }

    void diskFull()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        BufferedFileWriter writer(QStringLiteral("/dev/full"), 16);
        QVERIFY(writer.create());
        writer.append(QByteArray(100, 'x'));
        QVERIFY(!writer.flush());
        QCOMPARE(writer.reason(), QStringLiteral("le disque est plein"));
    }
};

TONIQUE_TEST(TstExerciseRenderer, None)
#include "tst_exerciserenderer.moc"
