#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestWav.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// The tonique-wav program, run as a user would, with its own settings folder.
class TstToniqueWav : public QObject
{
    Q_OBJECT

    struct Run
    {
        int status = -1;
        QString err;
        QByteArray wav, txt;
    };

    // Runs in a fresh folder holding "in.txt"; `stored` is the [param] section of the settings file.
    Run run(const QStringList& args, const QByteArray& input, const QByteArray& stored = {},
            const QByteArray& stdinBytes = {}, const QString& stdinFile = {})
    {
        QTemporaryDir work;
        const QDir dir(work.path());
        dir.mkpath(QStringLiteral("config/tonique"));
        TestWav::write(dir.filePath("config/tonique/tonique.conf"), "[param]\n" + stored);
        TestWav::write(dir.filePath("in.txt"), input);
        for (const char* folder : {"folder.wav", "folder.mp3"})
            dir.mkpath(QString::fromLatin1(folder));
        Run r;
        r.status = TestWav::run(BuildFolder::file("tonique-wav"), work.path(), args, stdinBytes, &r.err, stdinFile);
        r.wav = TestWav::read(dir.filePath("TEST.wav"));
        r.txt = TestWav::read(dir.filePath("TEST.txt"));
        if (r.status != 0)
            r.wav += QByteArray::number(dir.entryList(QDir::Files).size()); // only in.txt may remain
        return r;
    }

private slots:
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown option") << QStringList{"--speed", "3", "in.txt"}
                                        << "Option inconnue\u202F: «\u202F--speed\u202F»";
        QTest::newRow("not a number") << QStringList{"--espa", "un", "in.txt"} << "Valeur non numérique pour --espa";
        QTest::newRow("tone too low") << QStringList{"--tone", "200", "in.txt"} << "Valeur hors plage pour --tone";
        QTest::newRow("dot of zero") << QStringList{"--dot", "0", "in.txt"} << "Valeur hors plage pour --dot";
        QTest::newRow("missing text file")
            << QStringList{"absent.txt"} << "«\u202Fabsent.txt\u202F»\u202F: il n'existe pas.";
        QTest::newRow("missing sign file") << QStringList{"--signs", "nul.ref", "in.txt"} << "nul.ref";
        QTest::newRow("negative gaps") << QStringList{"--espc", "1", "in.txt"} << "durée négative";
        QTest::newRow("unknown reference letter") << QStringList{"--ref", "P#RIS", "in.txt"} << "«\u202FP#RIS\u202F»";
        QTest::newRow("unwritable output")
            << QStringList{"-o", "nowhere/x", "in.txt"}
            << "Impossible de créer le fichier «\u202Fnowhere/x.txt\u202F»\u202F: le dossier";
        QTest::newRow("name refused") << QStringList{"-o", QString(300, u'n'), "in.txt"} << "le nom est trop long";
        // Causes told in French, whatever the system's own words.
        QTest::newRow("number beyond every double")
            << QStringList{"--wpm", "1e400", "in.txt"} << "Valeur hors plage pour --wpm\u202F: «\u202F1e400\u202F»";
        QTest::newRow("a folder as text")
            << QStringList{"config"} << "«\u202Fconfig\u202F»\u202F: c'est un dossier, pas un fichier.";
        QTest::newRow("endless input") << QStringList{"-"} << "l'entrée standard dépasse 64\u202FMo";
        // Neither file replaced when one of them cannot be: the text stays with its sound.
        QTest::newRow("a folder in the sound's place")
            << QStringList{"-o", "folder", "in.txt"}
            << "Impossible de remplacer le fichier «\u202Ffolder.wav\u202F»\u202F: c'est un";
        QTest::newRow("a folder in the MP3's place") << QStringList{"--format", "mp3", "-o", "folder", "in.txt"}
                                                     << "«\u202Ffolder.mp3\u202F»\u202F: c'est un dossier";
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const bool endless = QByteArray(QTest::currentDataTag()) == "endless input";
        const Run r = run(args, "abc", {}, {}, endless ? QStringLiteral("/dev/zero") : QString());
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith(u"tonique-wav\u202F: ") && r.err.contains(message), qPrintable(r.err));
        QCOMPARE(r.wav, QByteArray("1"));
    }

    // Runs that must give the same files as the reference run (by default: default parameters, the text "abc de").
    void sameFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input"); // in.txt, or standard input with "-"
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QStringList>("reference");
        const QStringList file{"in.txt"};
        QTest::newRow("lines joined") << file << QByteArray("ab\r\nc \rd\ne") << QByteArray() << file;
        QTest::newRow("standard input") << QStringList{"-"} << QByteArray("abc de") << QByteArray() << file;
        QTest::newRow("dot as typed, decimal comma")
            << QStringList{"--dot", "97,7198697068404", "in.txt"} << QByteArray("abc de") << QByteArray() << file;
        QTest::newRow("stored values overridden")
            << QStringList{"--wpm", "12", "--tone", "800", "--start=VVV", "--end", "+", "in.txt"}
            << QByteArray("abc de") << QByteArray("mn=20\ntona=1200\ndeb=AB\nfin=\n") << file;
        QTest::newRow("French names") << QStringList{"--vitesse",   "12",    "--tonalite", "800",
                                                     "--debut=VVV", "--fin", "+",          "in.txt"}
                                      << QByteArray("abc de") << QByteArray("mn=20\ntona=1200\ndeb=AB\nfin=\n") << file;
        QTest::newRow("carriage return before a number")
            << QStringList{"--wpm", "\r12", "in.txt"} << QByteArray("abc de") << QByteArray() << file;
        QTest::newRow("stored tone below 300 is 800")
            << file << QByteArray("abc de") << QByteArray("tona=250\n") << file;
        QTest::newRow("Windows-1252 as UTF-8") << file << QByteArray("abc\xe9") << QByteArray() << file;
        QTest::newRow("stored values apply")
            << file << QByteArray("abc de") << QByteArray("mn=5\n") << QStringList{"--wpm", "5", "in.txt"};
    }
    void sameFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, reference);
        const bool accented = input.endsWith('\xe9');
        const Run expected = run(reference, accented ? QByteArray("abc\xc3\xa9") : "abc de");
        QCOMPARE(expected.status, 0);
        const bool piped = args.contains(QStringLiteral("-"));
        const Run r = run(args, piped ? QByteArray() : input, stored, piped ? input : QByteArray());
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(r.txt, expected.txt);
        QVERIFY(r.wav == expected.wav);
    }

    // Stopped during a long render: no half-written file stays, and one left by a killed run goes at the next.
    void interrupted_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGKILL, then another format") << SIGKILL;
    }
    void interrupted()
    {
        QFETCH(int, signal);
        QTemporaryDir work;
        const QDir dir(work.path());
        TestWav::write(dir.filePath("long.txt"), QByteArray("paris ").repeated(20000));
        TestWav::write(dir.filePath("in.txt"), "abc");
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.start(BuildFolder::file("tonique-wav"), {"--bruit", "10", "long.txt"});
        QVERIFY(p.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(dir.filePath("TEST.wav.partiel")).size() > 0, 20000);
        ::kill(pid_t(p.processId()), signal);
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        QStringList left{"in.txt", "long.txt"};
        if (signal == SIGKILL) {
            QCOMPARE(TestWav::run(BuildFolder::file("tonique-wav"), work.path(), {"--format", "flac", "in.txt"}), 0);
            left = QStringList{"TEST.flac", "TEST.txt"} + left;
        }
        QCOMPARE(dir.entryList(QDir::Files, QDir::Name), left);
    }

    // Standard output that cannot be written: an error, not a silent loss.
    void lostOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("summary line") << QStringList{"in.txt"};
        QTest::newRow("help") << QStringList{"--help"};
    }
    void lostOutput()
    {
        QFETCH(QStringList, args);
        QTemporaryDir work;
        TestWav::write(work.filePath("in.txt"), "abc");
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(BuildFolder::file("tonique-wav"), args);
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
                 QStringLiteral("tonique-wav\u202F: impossible d'écrire sur la sortie standard\u202F: le disque est "
                                "plein.\n"));
    }
};

TONIQUE_TEST(TstToniqueWav, Core)
#include "tst_toniquewav.moc"
