#include "TestMain.h"
#include "cli/TexteCommandLine.h"
#include "fakes/BuildFolder.h"
#include "signs/SignTable.h"
#include "texts/DataTextSource.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TestToniqueTexte : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
};

void TestToniqueTexte::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // a pattern of the whole output
    QTest::addColumn<QString>("err"); // a part of the error output
    QTest::newRow("no text asked") << QStringList{u"--graine"_s, u"3"_s} << 2 << u"^$"_s << u"--qso, --mots N"_s;
    QTest::newRow("two kinds") << QStringList{u"--qso"_s, u"--clair"_s} << 2 << u"^$"_s << u"Une seule sorte"_s;
    QTest::newRow("unknown option") << QStringList{u"--qsl"_s} << 2 << u"^$"_s << u"«\u202F--qsl\u202F»"_s;
    QTest::newRow("no word count") << QStringList{u"--mots"_s} << 2 << u"^$"_s << u"attend une valeur"_s;
    QTest::newRow("zero words") << QStringList{u"--mots=0"_s} << 2 << u"^$"_s << u"de 1 à 10\u202F000"_s;
    QTest::newRow("seed not a number") << QStringList{u"--qso"_s, u"--graine"_s, u"x"_s} << 2 << u"^$"_s
                                       << u"«\u202Fx\u202F»"_s;
    QTest::newRow("three contacts") << QStringList{u"--qso"_s, u"--nombre"_s, u"3"_s} << 0
                                    << u"^(CQ|QRL)[^\\n]*\\*[^\\n]*\\n\\n(CQ|QRL)[^\\n]*\\n\\n(CQ|QRL)[^\\n]*\\n$"_s
                                    << QString();
    QTest::newRow("exam") << QStringList{u"--examen"_s} << 0
                          << u"^([a-z]{5} ){29}[a-z]{5} ([0-9]{5} ){5}[0-9]{5}\\n[a-zé][^\\n]{120,}\\.\\n$"_s
                          << QString();
    QTest::newRow("words of a few letters") << QStringList{u"--mots"_s, u"4"_s, u"--jeu"_s, u"EISHTMOARN"_s} << 0
                                            << u"^[eishtmoarn]+( [eishtmoarn]+){3}\\n$"_s << QString();
    QTest::newRow("contact of a few letters") << QStringList{u"--qso"_s, u"--jeu"_s, u"eishtmoarn"_s} << 0
                                              << u"^[EISHTMOARN ]*\\n$"_s << u"laissé de côté\u202F: Indicatif"_s;
    QTest::newRow("no word of figures") << QStringList{u"--mots"_s, u"5"_s, u"--jeu"_s, u"0123"_s} << 2 << u"^$"_s
                                        << u"Aucun mot"_s;
}

// Every run twice with the same seed: the same texts.
void TestToniqueTexte::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QStringList outputs;
    for (int run = 0; run < 2; ++run) {
        DataTextSource texts({BuildFolder::file("textes")}, LoadSignFile(BuildFolder::file("telkey.ref")).table);
        QString written;
        QString errors;
        TexteEnvironment env{&texts, [&](const QString& s) { written += s; }, [&](const QString& s) { errors += s; },
                             [run] { return quint32(run); }};
        QCOMPARE(RunToniqueTexte(QStringList{u"--graine=9"_s} + arguments, env), status);
        QVERIFY2(QRegularExpression(out).match(written).hasMatch(), qPrintable(written));
        QVERIFY2(errors.contains(err), qPrintable(errors));
        outputs << written;
    }
    QCOMPARE(outputs[0], outputs[1]);
}

TONIQUE_TEST(TestToniqueTexte, Core)
#include "tst_toniquetexte.moc"
