#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The tonique-wav program, run as a user would, with its own settings folder.
class TstToniqueWav : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Run
    {
        int status;
        QString err;
        QByteArray wav, txt;
    };

    // Runs in a fresh folder holding "in.txt"; `stored` is the [param] section of the settings file.
    Run run(const QStringList& args, const QByteArray& input, const QByteArray& stored = {},
            const QByteArray& stdinBytes = {})
    {
        QTemporaryDir work(m_dir.filePath(QStringLiteral("run-XXXXXX")));
        QDir dir(work.path());
        dir.mkpath(QStringLiteral("config/tonique"));
        QFile conf(dir.filePath(QStringLiteral("config/tonique/tonique.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write("[param]\n" + stored);
        conf.close();
        QFile in(dir.filePath(QStringLiteral("in.txt")));
        in.open(QIODevice::WriteOnly);
        in.write(input);
        in.close();

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(work.path());
        p.start(QStringLiteral(TONIQUE_WAV), args);
        p.write(stdinBytes);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        Run r{p.exitCode(), QString::fromUtf8(p.readAllStandardError()), {}, {}};
        QFile wav(dir.filePath(QStringLiteral("TEST.wav"))), txt(dir.filePath(QStringLiteral("TEST.txt")));
        if (wav.open(QIODevice::ReadOnly))
            r.wav = wav.readAll();
        if (txt.open(QIODevice::ReadOnly))
            r.txt = txt.readAll();
        if (r.status != 0)
            r.wav += QByteArray::number(dir.entryList(QDir::Files).size()); // only in.txt may remain
        return r;
    }

private slots:
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown option") << QStringList{"--speed", "3", "in.txt"} << "Option inconnue : « --speed »";
        QTest::newRow("missing value") << QStringList{"in.txt", "--wpm"} << "L'option --wpm attend une valeur.";
        QTest::newRow("not a number") << QStringList{"--espa", "un", "in.txt"} << "Valeur non numérique pour --espa";
        QTest::newRow("tone too low") << QStringList{"--tone", "200", "in.txt"} << "Valeur hors plage pour --tone";
        QTest::newRow("volume not whole") << QStringList{"--volume=6.5", "in.txt"} << "Valeur hors plage pour --volume";
        QTest::newRow("dot of zero") << QStringList{"--dot", "0", "in.txt"} << "Valeur hors plage pour --dot";
        QTest::newRow("no text file") << QStringList{"--wpm", "5"} << "Aucun fichier texte indiqué.";
        QTest::newRow("missing text file") << QStringList{"absent.txt"} << "« absent.txt » : il n'existe pas.";
        QTest::newRow("missing sign file") << QStringList{"--signs", "nul.ref", "in.txt"} << "nul.ref";
        QTest::newRow("negative gaps") << QStringList{"--espc", "1", "in.txt"} << "durée négative";
        QTest::newRow("unknown reference letter") << QStringList{"--ref", "P#RIS", "in.txt"} << "« P#RIS »";
        QTest::newRow("unwritable output") << QStringList{"-o", "nowhere/x", "in.txt"}
                                           << "Impossible de créer le fichier « nowhere/x.txt » : le dossier";
        QTest::newRow("name refused") << QStringList{"-o", QString(300, u'n'), "in.txt"} << "le nom est trop long";
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Run r = run(args, "abc");
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith(u"tonique-wav : ") && r.err.contains(message), qPrintable(r.err));
        QCOMPARE(r.wav, QByteArray("1"));
    }

    // Runs that must give the same files as the reference run (default parameters, the text "abc de").
    void sameFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input"); // in.txt, or standard input with "-"
        QTest::addColumn<QByteArray>("stored");
        const QStringList file{"in.txt"};
        QTest::newRow("lines joined") << file << QByteArray("ab\r\nc \rd\ne") << QByteArray();
        QTest::newRow("standard input") << QStringList{"-"} << QByteArray("abc de") << QByteArray();
        QTest::newRow("dot as typed, decimal comma")
            << QStringList{"--dot", "97,7198697068404", "in.txt"} << QByteArray("abc de") << QByteArray();
        QTest::newRow("stored values overridden")
            << QStringList{"--wpm", "12", "--tone", "800", "--start=VVV", "--end", "+", "in.txt"}
            << QByteArray("abc de") << QByteArray("mn=20\ntona=1200\ndeb=AB\nfin=\n");
        QTest::newRow("stored tone below 300 is 800") << file << QByteArray("abc de") << QByteArray("tona=250\n");
        QTest::newRow("Windows-1252 as UTF-8") << file << QByteArray("abc\xe9") << QByteArray();
    }
    void sameFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, stored);
        const bool accented = input.endsWith('\xe9');
        const Run reference = run({QStringLiteral("in.txt")}, accented ? QByteArray("abc\xc3\xa9") : "abc de");
        QCOMPARE(reference.status, 0);
        const bool piped = args.contains(QStringLiteral("-"));
        const Run r = run(args, piped ? QByteArray() : input, stored, piped ? input : QByteArray());
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(r.txt, reference.txt);
        QVERIFY(r.wav == reference.wav);
    }

    void storedParametersApply()
    {
        const Run slow = run({QStringLiteral("in.txt")}, "abc", "mn=5\n");
        const Run fast = run({QStringLiteral("in.txt")}, "abc");
        QCOMPARE(slow.status, 0);
        QVERIFY(slow.wav.size() > 2 * fast.wav.size());
    }
};

QTEST_GUILESS_MAIN(TstToniqueWav)
#include "tst_toniquewav.moc"
