#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeMediaPlayer.h"
#include "fakes/FakeSpeech.h"
#include "fakes/ScriptedRandomSource.h"
#include "fakes/TestApp.h"
#include "games/RaceCalls.h"
#include "games/RaceController.h"
#include "games/RaceSound.h"
#include "games/RaceWindow.h"
#include "history/SqliteHistory.h"
#include "signs/SignTable.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Keeps the finished runs in memory; nothing else.
class RaceHistory : public History
{
public:
    Failure recordCopy(const CopyRecord&) override { return {}; }
    Failure recordDrillAnswer(const DrillAnswerRecord&) override { return {}; }
    Result<QList<CopyRecord>> copies(const QDateTime&) override { return QList<CopyRecord>(); }
    Result<QList<DrillAnswerRecord>> drillAnswers(const QDateTime&) override { return QList<DrillAnswerRecord>(); }
    Result<QList<CharacterWeakness>> weaknesses(const QDateTime&) override { return QList<CharacterWeakness>(); }
    Failure recordRace(const RaceRecord& race) override
    {
        runs << race;
        return {};
    }
    Result<QList<RaceRecord>> races(const QDateTime&) override { return runs; }
    QList<RaceRecord> runs;
};

const SignTable& Signs()
{
    static const SignTable table = LoadSignFile(BuildFolder::file("telkey.ref")).table;
    return table;
}

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(u"indicatifs.txt"_s);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    return path;
}

// The race on fakes, its calls from a file that holds `calls` (one per line).
struct Race
{
    explicit Race(const QByteArray& calls = "F4ABC\n", int startCpm = 60)
    {
        files.nextFile = WriteFile(dir, calls);
        RaceController::Services services{Signs(), player, random, history, speech, files, dir.path()};
        services.tone = [] { return RaceTone{60, 700, 100}; };
        controller = std::make_unique<RaceController>(std::move(services));
        controller->show();
        window = controller->window();
        controller->chooseFile();
        window->startSpeed->setValue(startCpm);
    }
    void type(const QString& text)
    {
        window->answer->setText(text);
        controller->answerEntered();
    }
    int plays() const { return int(player.commands.count(u"Play"_s)); }
    QByteArray playing() const
    {
        QFile file(player.file);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    FakeMediaPlayer player;
    ScriptedRandomSource random{{0.0}};
    RaceHistory history;
    FakeSpeech speech;
    FakeFileDialog files;
    std::unique_ptr<RaceController> controller;
    RaceWindow* window = nullptr;
};

} // namespace

class TestRace : public QObject
{
    Q_OBJECT

private slots:
    // A race nobody can hear stops at once and records nothing, saying why: no sound output at "Départ", the output
    // lost during the race, or a call's sound that cannot be opened.
    void unheardRaceStops_data()
    {
        QTest::addColumn<int>("when"); // 0: no output at the start, 1: lost after one answer, 2: the file refused
        QTest::addColumn<QString>("why");
        QTest::newRow("no output") << 0 << u"Aucune sortie son"_s;
        QTest::newRow("output lost") << 1 << u"Aucune sortie son"_s;
        QTest::newRow("sound refused") << 2 << u"Impossible d'ouvrir le fichier"_s;
    }
    void unheardRaceStops()
    {
        QFETCH(int, when);
        QFETCH(QString, why);
        Race race;
        race.player.silent = when == 0;
        race.player.failOpen = when == 2;
        race.window->start->click();
        if (when == 1) {
            race.type(u"F4ABC"_s);
            race.player.setSilent(true);
            QCoreApplication::processEvents(); // told from inside the player: looked at after it
        }
        for (int i = 0; i < RaceRun::Calls; ++i)
            race.type(u"F4ABC"_s);
        QVERIFY2(race.window->summary->toPlainText().startsWith(why), qPrintable(race.window->summary->toPlainText()));
        QVERIFY(race.window->summary->toPlainText().contains(u"rien n'en est enregistré"_s));
        QVERIFY(race.history.runs.isEmpty());
        QVERIFY(!race.player.playing);
        QVERIFY(race.window->start->isEnabled() && !race.window->answer->isEnabled());
    }

    // A scripted run, answer by answer: "R" right, "W" wrong, "F" F6 pressed twice before the answer that follows.
    void scriptedRun_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<int>>("speeds"); // after each answer
        QTest::addColumn<QList<int>>("scores"); // of each call
        QTest::newRow("right answers climb") << 60 << u"RRR"_s << QList<int>{70, 80, 90} << QList<int>{300, 350, 400};
        QTest::newRow("a miss brings it down") << 60 << u"WRW"_s << QList<int>{50, 60, 50} << QList<int>{0, 250, 0};
        QTest::newRow("never below 10") << 20 << u"WWWR"_s << QList<int>{10, 10, 10, 20} << QList<int>{0, 0, 0, 50};
        QTest::newRow("F6 halves the points") << 60 << u"FRR"_s << QList<int>{70, 80} << QList<int>{150, 350};
        QTest::newRow("F6 then a miss") << 60 << u"FWR"_s << QList<int>{50, 60} << QList<int>{0, 250};
    }
    void scriptedRun()
    {
        QFETCH(int, start);
        QFETCH(QString, script);
        QFETCH(QList<int>, speeds);
        QFETCH(QList<int>, scores);
        Race race("F4ABC\n", start);
        race.controller->start();
        int speed = start;
        int call = 0;
        for (const QChar step : script) {
            // Each call sounds at the speed the answers left, in its tone.
            QCOMPARE(race.playing(), RenderRaceCall(u"F4ABC"_s, {speed, 700, 100}, Signs()));
            if (step == u'F') {
                const int before = race.plays();
                race.controller->repeatAsked();
                race.controller->repeatAsked(); // once only
                QCOMPARE(race.plays(), before + 1);
                continue;
            }
            race.type(step == u'R' ? u" f4abc "_s : u"F4AB"_s);
            speed = speeds[call];
            QVERIFY2(race.window->progress->text().contains(QString::number(speed) + u"\u00A0car./min"_s),
                     qPrintable(race.window->progress->text()));
            int total = 0;
            for (int i = 0; i <= call; ++i)
                total += scores[i];
            QVERIFY(race.window->progress->text().endsWith(u"\u202F: "_s + QString::number(total)));
            ++call;
        }
    }

    void wholeRunIsRecordedWithItsMisses()
    {
        Race race;
        race.window->variableTone->setChecked(true);
        race.random.script = {0.0, 0.0, 0.999};
        race.controller->start();
        int expected = 0;
        int speed = 60;
        for (int i = 0; i < RaceRun::Calls; ++i) {
            QVERIFY(race.player.playing);
            const QByteArray wav = race.playing();
            QVERIFY(wav == RenderRaceCall(u"F4ABC"_s, {speed, 500, 100}, Signs()) ||
                    wav == RenderRaceCall(u"F4ABC"_s, {speed, 900, 100}, Signs()));
            race.type(i == 10 ? u"F4ABD"_s : u"F4ABC"_s);
            expected += i == 10 ? 0 : 5 * speed;
            speed += i == 10 ? -10 : 10;
        }
        QCOMPARE(race.history.runs.size(), 1);
        const RaceRecord run = race.history.runs.first();
        QCOMPARE(run.score, expected);
        QCOMPARE(run.calls, 50);
        QCOMPARE(run.missed, 1);
        QCOMPARE(run.topCpm, 60 + 10 * 49 - 20); // the miss cost two steps
        QVERIFY(race.window->summary->toPlainText().contains(u"F4ABC — tapé\u202F: F4ABD"_s));
        QCOMPARE(race.window->best->count(), 1);
        // The run is over: what is typed now is no answer.
        race.type(u"F4ABC"_s);
        QCOMPARE(race.history.runs.size(), 1);
    }

    void abandonedRunRecordsNothing()
    {
        Race race;
        race.type(u"F4ABC"_s); // nothing asked yet
        race.controller->repeatAsked();
        QCOMPARE(race.plays(), 0);
        race.controller->start();
        race.type(u"F4ABC"_s);
        race.window->close();
        QVERIFY(!race.player.playing);
        QVERIFY(!race.player.isOpen());
        QVERIFY(race.history.runs.isEmpty());
        QVERIFY(!race.window->answer->isEnabled());
        // A new run starts from its first call.
        race.controller->start();
        QVERIFY(race.window->progress->text().startsWith(u"Indicatif 1 sur 50"_s));
    }

    // From the menu, just before "Manipulation...": the race plays through its own player and files, the exercise, its
    // files and the window's player stay as they were.
    void raceLeavesTheExerciseAlone()
    {
        TestApp app;
        const QString text = app.window->exerciseText().text();
        const QStringList playerCommands = app.player.commands;
        const QStringList folder = QDir(app.folder()).entryList(QDir::Files);
        auto* menu = app.window->findChild<QMenu*>(u"entrainement"_s);
        const QList<QAction*> items = menu->actions();
        QCOMPARE(items[items.size() - 2]->objectName(), u"courseIndicatifs"_s);
        items[items.size() - 2]->trigger();
        RaceWindow* window = app.window->race().window();
        QVERIFY(window->isVisible());
        window->start->click();
        for (int i = 0; i < 3; ++i) {
            QVERIFY(app.racePlayer.playing);
            QVERIFY(app.racePlayer.file.contains(u"course-"_s));
            window->answer->setText(u"F4ABC"_s);
            emit window->answer->returnPressed();
        }
        window->close();
        QCOMPARE(app.window->exerciseText().text(), text);
        QCOMPARE(app.player.commands, playerCommands);
        QCOMPARE(QDir(app.folder()).entryList(QDir::Files).filter(u"TEST"_s), folder.filter(u"TEST"_s));
        QVERIFY(ReadOrEmpty(app.history.races(QDateTime())).isEmpty());
    }

    void spokenAnswer_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("a voice") << QString() << QStringList{u"Fox-trot, quatre, Alpha, barre, Papa"_s};
        QTest::newRow("no voice") << u"Pas de voix française."_s << QStringList();
    }
    void spokenAnswer()
    {
        QFETCH(QString, reason);
        QFETCH(QStringList, said);
        Race race("F4A/P\n");
        race.speech.reason = reason;
        race.controller.reset(); // made again with the speech as it is now
        RaceController::Services services{Signs(),     race.player, race.random,    race.history,
                                          race.speech, race.files,  race.dir.path()};
        race.controller = std::make_unique<RaceController>(std::move(services));
        race.controller->show();
        race.window = race.controller->window();
        race.controller->chooseFile();
        QTRY_COMPARE(race.window->spokenAnswer->isEnabled(), reason.isEmpty());
        QTRY_COMPARE(race.window->spokenAnswer->toolTip(), reason);
        race.window->spokenAnswer->setChecked(true);
        race.controller->start();
        race.type(u"F4B/P"_s);
        QCOMPARE(race.speech.said, said);
        // With the answer being said, the next call waits for it.
        QCOMPARE(race.plays(), said.isEmpty() ? 2 : 1);
    }

    void callSignFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "missing": no file at all
        QTest::addColumn<QString>("withoutSign");
        QTest::addColumn<int>("calls");
        QTest::addColumn<QString>("message");
        QTest::newRow("good") << QByteArray("F4ABC\r\nf5xyz/p\n\nDL1AB\n") << QString() << 3 << QString();
        QTest::newRow("missing") << QByteArray("missing") << QString() << 0 << u"ne peut pas être lu"_s;
        QTest::newRow("empty") << QByteArray() << QString() << 0 << u"aucun indicatif utilisable"_s;
        QTest::newRow("binary") << QByteArray("F4ABC\n\0\x01\x02", 9) << QString() << 0 << u"pas un fichier texte"_s;
        QTest::newRow("enormous") << QByteArray("F4ABC\n").repeated(200000) << QString() << 174762
                                  << u"seul son premier mégaoctet a été lu"_s;
        QTest::newRow("not call signs") << QByteArray("F4ABC\nbonjour\n12345\nF/4\nÉ4ABC\n") << QString() << 1
                                        << u"4\u00A0lignes qui ne sont pas des indicatifs"_s;
        QTest::newRow("signs missing from the table")
            << QByteArray("F4ABC\nF4QQ\nON4XY/P\n") << u"q"_s << 2
            << u"1\u00A0ligne avec des caractères absents de la table des signes, laissée de côté"_s;
    }
    void callSignFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, withoutSign);
        QFETCH(int, calls);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = bytes == "missing" ? dir.filePath(u"absent.txt"_s) : WriteFile(dir, bytes);
        QStringList lines = LoadSignFile(BuildFolder::file("telkey.ref")).lines;
        if (!withoutSign.isEmpty())
            lines.removeIf([&](const QString& line) { return line.startsWith(withoutSign); });
        const CallSignFile read = ReadCallSignFile(path, SignTable::fromLines(lines));
        QCOMPARE(read.calls.size(), calls);
        QVERIFY2(message.isEmpty() ? read.message.isEmpty() : read.message.contains(message), qPrintable(read.message));
    }

    void badFileStillRuns()
    {
        Race race(QByteArray("\0\0\0", 3));
        QVERIFY(race.window->summary->toPlainText().contains(u"pas un fichier texte"_s));
        race.controller->start();
        QVERIFY(race.player.playing);
        QVERIFY(!race.playing().isEmpty());
    }

    void drawnCallsLookLikeTheAir()
    {
        RandomSource random;
        int french = 0;
        int portable = 0;
        for (int i = 0; i < 2000; ++i) {
            const QString call = DrawRaceCall(random);
            QVERIFY2(LooksLikeCallSign(call), qPrintable(call));
            french += call.startsWith(u"F4"_s) || call.startsWith(u"F5"_s) || call.startsWith(u"F6"_s) ||
                      call.startsWith(u"F8"_s);
            portable += call.endsWith(u"/P"_s) || call.endsWith(u"/M"_s);
        }
        QVERIFY2(french > 800 && french < 1400, qPrintable(QString::number(french)));
        QVERIFY2(portable > 60 && portable < 400, qPrintable(QString::number(portable)));
    }

    void runsKeptInTheHistory()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"historique.sqlite"_s);
        const RaceRecord run{QDateTime::fromMSecsSinceEpoch(1'700'000'000'000), 12345, 210, 50, 7};
        {
            SqliteHistory history;
            QVERIFY(!history.open(path));
            QVERIFY(!history.recordRace(run));
        }
        SqliteHistory history;
        QVERIFY(!history.open(path));
        QCOMPARE(ReadOrEmpty(history.races(QDateTime())), QList<RaceRecord>{run});
        QVERIFY(ReadOrEmpty(history.races(run.at.addSecs(1))).isEmpty());
    }
};

TONIQUE_TEST(TestRace, Widgets)
#include "tst_race.moc"
