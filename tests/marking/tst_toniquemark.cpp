#include "TestMain.h"
#include "cli/MarkCommandLine.h"
#include "fakes/BuildFolder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using Files = QMap<QString, QByteArray>;

// tonique-mark: its lines, its CSV, its messages and exit statuses.
class TestToniqueMark : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<Files>("files");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const Files class1{{u"envoi.txt"_s, "abcde fghij\r\n"}, {u"c1.txt"_s, "ABCDEFGHIJ"}, {u"c2.txt"_s, "abcde"}};
        QTest::newRow("one line per copy") << QStringList{u"envoi.txt"_s, u"c1.txt"_s, u"c2.txt"_s} << class1 << 0
                                           << u"c1.txt\u202F: 0 erreur sur 10 caractères (100,0\u202F%) — Reçu\n"
                                              "c2.txt\u202F: 5 erreurs sur 10 caractères (50,0\u202F%) — Refusé\n"_s
                                           << QString();
        QTest::newRow("csv, pass mark") << QStringList{u"--csv"_s, u"--admis=50"_s, u"envoi.txt"_s, u"c2.txt"_s}
                                        << class1 << 0
                                        << u"copie;caractères;erreurs;exactitude;verdict\nc2.txt;10;5;50,0;Reçu\n"_s
                                        << QString();
        QTest::newRow("decoded like opened texts")
            << QStringList{u"--admis"_s, u"0"_s, u"ansi.txt"_s, u"utf16.txt"_s, u"utf8.txt"_s}
            << Files{{u"ansi.txt"_s, "\xe9l\xe8ve"},
                     {u"utf16.txt"_s, QByteArray("\xff\xfe\xe9\0l\0\xe8\0v\0e\0", 12)},
                     {u"utf8.txt"_s, "\xef\xbb\xbf\xc3\xa9l\xc3\xa8ve"}}
            << 0
            << u"utf16.txt\u202F: 0 erreur sur 5 caractères (100,0\u202F%) — Reçu\n"
               "utf8.txt\u202F: 0 erreur sur 5 caractères (100,0\u202F%) — Reçu\n"_s
            << QString();
        QTest::newRow("a copy missing: the others marked")
            << QStringList{u"envoi.txt"_s, u"absent.txt"_s, u"c1.txt"_s} << class1 << 2
            << u"c1.txt\u202F: 0 erreur sur 10 caractères (100,0\u202F%) — Reçu\n"_s
            << u"«\u202Fabsent.txt\u202F»\u202F: il n'existe pas"_s;
        QTest::newRow("sent file missing") << QStringList{u"absent.txt"_s, u"c1.txt"_s} << class1 << 2 << QString()
                                           << u"«\u202Fabsent.txt\u202F»\u202F: il n'existe pas"_s;
        QTest::newRow("no copy") << QStringList{u"envoi.txt"_s} << class1 << 2 << QString() << u"au moins une copie"_s;
        QTest::newRow("bad pass mark") << QStringList{u"--admis"_s, u"cinq"_s, u"envoi.txt"_s, u"c1.txt"_s} << class1
                                       << 2 << QString() << u"--admis\u202F: «\u202Fcinq\u202F»"_s;
        QTest::newRow("unknown option") << QStringList{u"--classe"_s, u"envoi.txt"_s, u"c1.txt"_s} << class1 << 2
                                        << QString() << u"Option inconnue\u202F: «\u202F--classe\u202F»"_s;
        QTest::newRow("copy too long") << QStringList{u"envoi.txt"_s, u"long.txt"_s}
                                       << Files{{u"envoi.txt"_s, "abc"}, {u"long.txt"_s, QByteArray(30000, 'e')}} << 2
                                       << QString() << u"trop longue"_s;
        // Read no further than the limit, whatever size the file reports.
        QTest::newRow("endless device") << QStringList{u"envoi.txt"_s, u"/dev/zero"_s} << class1 << 2 << QString()
                                        << u"«\u202F/dev/zero\u202F» est trop grand"_s;
        QTest::newRow("standard input twice") << QStringList{u"-"_s, u"-"_s} << class1 << 2 << QString()
                                              << u"L'entrée standard ne peut être lue qu'une fois"_s;
    }
    void run()
    {
        QFETCH(QStringList, args);
        QFETCH(Files, files);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir dir;
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile f(dir.filePath(it.key()));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(*it);
        }
        QString printed, complained;
        const QString here = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const int result =
            RunToniqueMark(args, {[&](const QString& t) { printed += t; }, [&](const QString& t) { complained += t; }});
        QDir::setCurrent(here);
        QCOMPARE(result, status);
        QCOMPARE(printed, out);
        QVERIFY2(err.isEmpty() ? complained.isEmpty() : complained.contains(err), qPrintable(complained));
    }

    // The program itself: its exit status, its UTF-8 lines, its standard input and output.
    void program_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("input");  // a file as standard input
        QTest::addColumn<QString>("output"); // a file as standard output
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("a copy missing")
            << QStringList{u"envoi.txt"_s, u"copie.txt"_s, u"rien.txt"_s} << QString() << QString() << 2
            << u"copie.txt\u202F: 0 erreur sur 5 caractères (100,0\u202F%) — Reçu\n"_s
            << u"tonique-mark\u202F: Impossible de lire «\u202Frien.txt\u202F»\u202F: il n'existe pas.\n"_s;
        QTest::newRow("copy on standard input")
            << QStringList{u"envoi.txt"_s, u"-"_s} << u"copie.txt"_s << QString() << 0
            << u"-\u202F: 0 erreur sur 5 caractères (100,0\u202F%) — Reçu\n"_s << QString();
        QTest::newRow("endless standard input")
            << QStringList{u"envoi.txt"_s, u"-"_s} << u"/dev/zero"_s << QString() << 2 << QString()
            << u"tonique-mark\u202F: L'entrée standard est trop longue pour être corrigée (plus de 1\u202FMo).\n"_s;
        QTest::newRow("output lost")
            << QStringList{u"envoi.txt"_s, u"copie.txt"_s} << QString() << u"/dev/full"_s << 2 << QString()
            << u"tonique-mark\u202F: impossible d'écrire sur la sortie standard\u202F: le disque "
               "est plein.\n"_s;
    }
    void program()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir dir;
        for (const char* name : {"envoi.txt", "copie.txt"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("abcde");
        }
        QProcess mark;
        mark.setWorkingDirectory(dir.path());
        if (!input.isEmpty())
            mark.setStandardInputFile(QDir(dir.path()).absoluteFilePath(input));
        if (!output.isEmpty())
            mark.setStandardOutputFile(output);
        mark.start(BuildFolder::file("tonique-mark"), args);
        QVERIFY(mark.waitForFinished(20000));
        QCOMPARE(mark.exitCode(), status);
        QCOMPARE(QString::fromUtf8(mark.readAllStandardOutput()), out);
        QCOMPARE(QString::fromUtf8(mark.readAllStandardError()), err);
    }
};

TONIQUE_TEST(TestToniqueMark, Core)
#include "tst_toniquemark.moc"
