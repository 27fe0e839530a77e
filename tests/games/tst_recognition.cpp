#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeMediaPlayer.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeSpeech.h"
#include "fakes/ScriptedRandomSource.h"
#include "games/RecognitionController.h"
#include "games/RecognitionWindow.h"
#include "signs/SignTable.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Keeps the recognitions in memory; nothing else.
class RecognitionHistory : public History
{
public:
    Failure recordCopy(const CopyRecord&) override { return {}; }
    Failure recordDrillAnswer(const DrillAnswerRecord&) override { return {}; }
    Result<QList<CopyRecord>> copies(const QDateTime&) override { return QList<CopyRecord>(); }
    Result<QList<DrillAnswerRecord>> drillAnswers(const QDateTime&) override { return QList<DrillAnswerRecord>(); }
    Result<QList<CharacterWeakness>> weaknesses(const QDateTime&) override { return QList<CharacterWeakness>(); }
    Failure recordRecognitions(const QList<RecognitionRecord>& run) override
    {
        ++runs;
        kept += run;
        return {};
    }
    Result<QList<RecognitionRecord>> recognitions(const QDateTime&) override { return kept; }
    QList<RecognitionRecord> kept;
    int runs = 0;
};

const SignTable& Signs()
{
    static const SignTable table = LoadSignFile(BuildFolder::file("telkey.ref")).table;
    return table;
}

// The recognition on fakes: the learner's set `set`, the typing time `reflexMs` already measured (none: not yet).
struct Recognition
{
    explicit Recognition(const QString& set = u"KM"_s, std::optional<int> reflexMs = 200)
    {
        if (reflexMs)
            settings.values.insert(u"reflexe"_s, QString::number(*reflexMs));
        RecognitionController::Services services{Signs(), player, random, history, speech, clock, settings, dir.path()};
        services.characters = [set] { return set; };
        services.tone = [] { return RaceTone{100, 700, 100}; };
        controller = std::make_unique<RecognitionController>(std::move(services));
        controller->show();
        window = controller->window();
    }
    void type(const QString& key) { controller->keyTyped(key); }

    QTemporaryDir dir;
    FakeMediaPlayer player;
    ScriptedRandomSource random;
    RecognitionHistory history;
    FakeSpeech speech;
    FakeClock clock;
    FakeSettingsStore settings;
    std::unique_ptr<RecognitionController> controller;
    RecognitionWindow* window = nullptr;
};

} // namespace

class TestRecognition : public QObject
{
    Q_OBJECT

private slots:
    // One character, the key timed from the player's end notice, not from the start of its playback: the typing
    // time taken off, a key before the end a miss without a time (never 0 ms), a wrong key a miss with its time.
    void answerTimes_data()
    {
        QTest::addColumn<int>("reflexMs");
        QTest::addColumn<int>("endMs"); // the player's notice; -1: none before the key
        QTest::addColumn<int>("keyMs");
        QTest::addColumn<QString>("key"); // "=": the character played
        QTest::addColumn<int>("ms");      // -1: no time
        QTest::addColumn<bool>("right");
        QTest::newRow("reflex taken off") << 200 << 900 << 1500 << u"="_s << 400 << true;
        QTest::newRow("from the end, not the start") << 0 << 2500 << 2800 << u"="_s << 300 << true;
        QTest::newRow("key before the end") << 200 << -1 << 1500 << u"="_s << -1 << false;
        QTest::newRow("key at once, faster than the reflex") << 300 << 900 << 950 << u"="_s << 0 << true;
        QTest::newRow("wrong key") << 100 << 900 << 1500 << u"é"_s << 500 << false;
    }
    void answerTimes()
    {
        QFETCH(int, reflexMs);
        QFETCH(int, endMs);
        QFETCH(int, keyMs);
        QFETCH(QString, key);
        QFETCH(int, ms);
        QFETCH(bool, right);
        Recognition r(u"K"_s, reflexMs);
        r.controller->start();
        QVERIFY(r.player.playing);
        QFile played(r.player.file); // the player's end is the character's: no silence after its last sample
        QVERIFY(played.open(QIODevice::ReadOnly));
        QVERIFY(played.readAll().right(2) != QByteArray(2, '\0'));
        if (endMs >= 0) {
            r.clock.elapsedMs = endMs;
            r.player.finish();
        }
        r.clock.elapsedMs = keyMs;
        r.type(key == u"="_s ? u"k"_s : key);
        QCOMPARE(r.player.commands.count(u"Play"_s), 2); // the next character at once
        for (int i = 1; i < RecognitionRun::Characters; ++i) {
            r.player.finish();
            r.type(u"k"_s);
        }
        QCOMPARE(r.history.runs, 1);
        const RecognitionRecord first = r.history.kept.first();
        QCOMPARE(first.character, u"K"_s);
        QCOMPARE(first.ms, ms < 0 ? std::nullopt : std::optional<int>(ms));
        QCOMPARE(first.right, right);
    }

    // A run nobody can hear stops at once and records nothing, saying why: no sound output when "Départ" is pressed,
    // the output lost during the run, or a character's sound that cannot be opened.
    void unheardRunStops_data()
    {
        QTest::addColumn<int>("when"); // 0: no output at the start, 1: lost after one answer, 2: the file refused
        QTest::addColumn<QString>("why");
        QTest::newRow("no output") << 0 << u"Aucune sortie son"_s;
        QTest::newRow("output lost") << 1 << u"Aucune sortie son"_s;
        QTest::newRow("sound refused") << 2 << u"Impossible d'ouvrir le fichier"_s;
    }
    void unheardRunStops()
    {
        QFETCH(int, when);
        QFETCH(QString, why);
        Recognition r(u"K"_s);
        r.player.silent = when == 0;
        r.player.failOpen = when == 2;
        r.controller->start();
        if (when == 1) {
            r.player.finish();
            r.type(u"k"_s);
            r.player.setSilent(true);
            QCoreApplication::processEvents(); // told from inside the player: looked at after it
            r.player.finish();
            r.type(u"k"_s);
        }
        QVERIFY2(r.window->summary->toPlainText().startsWith(why), qPrintable(r.window->summary->toPlainText()));
        QVERIFY(r.window->summary->toPlainText().contains(u"rien n'en est enregistré"_s));
        QCOMPARE(r.history.runs, 0);
        QVERIFY(!r.player.playing);
        QVERIFY(r.window->start->isEnabled() && !r.window->keys->isEnabled());
    }

    // Keys while nothing is asked are ignored (before a run, while the answer is said); a run closed midway records
    // nothing and leaves the player closed, a closed window's keys and the player's late notices change nothing.
    void strayKeysAndAbandonedRun()
    {
        Recognition r(u"K"_s);
        r.type(u"k"_s); // before any run
        r.controller->start();
        r.player.finish();
        r.type(u"k"_s);
        QCOMPARE(r.player.commands.count(u"Play"_s), 2);
        r.window->spokenAnswer->setChecked(true);
        r.player.finish();
        r.type(u"k"_s);
        QCOMPARE(r.speech.said, QStringList{u"Kilo"_s});
        r.type(u"k"_s); // while it is said
        QCOMPARE(r.player.commands.count(u"Play"_s), 2);
        r.window->close();
        QVERIFY(!r.player.opened);
        r.player.finish();
        r.type(u"m"_s);
        QCOMPARE(r.history.runs, 0);
        QVERIFY(r.window->start->isEnabled());
        QVERIFY(!r.window->keys->isEnabled());
    }

    // Before the first run the letter shown is typed ten times; the median time is kept and the run starts.
    // Wrong keys do not count.
    void reflexBeforeTheFirstRun()
    {
        Recognition r(u"KM"_s, std::nullopt);
        r.controller->start();
        QVERIFY(!r.player.playing);
        const QList<int> times{250, 300, 900, 280, 310, 300, 290, 320, 305, 305};
        for (const int t : times) {
            r.type(u"!"_s);
            r.clock.elapsedMs += t;
            r.type(r.window->shown->text().toLower());
        }
        QCOMPARE(r.settings.values.value(u"reflexe"_s), u"302"_s);
        QVERIFY(r.player.playing);
    }

    // The characters recognised slowest (or missed) in the history are played more often than the quick ones.
    void slowCharactersDrawnMoreOften()
    {
        Recognition r(u"KMRS"_s);
        const QDateTime at = r.clock.now();
        for (int i = 0; i < 5; ++i) {
            r.history.kept << RecognitionRecord{at, u"K"_s, 200, true} << RecognitionRecord{at, u"M"_s, 220, true}
                           << RecognitionRecord{at, u"R"_s, 1200, true} << RecognitionRecord{at, u"S"_s, 210, true};
        }
        r.history.kept << RecognitionRecord{at, u"S"_s, std::nullopt, false};
        const qsizetype before = r.history.kept.size();
        for (int i = 0; i <= RecognitionRun::Characters; ++i)
            r.random.script << (i + 0.5) / (RecognitionRun::Characters + 1);
        r.controller->start();
        for (int i = 0; i < RecognitionRun::Characters; ++i) {
            r.player.finish();
            r.type(u"x"_s);
        }
        QMap<QString, int> played;
        for (const RecognitionRecord& rec : r.history.kept.mid(before))
            ++played[rec.character];
        QVERIFY2(played[u"R"_s] > played[u"K"_s] && played[u"R"_s] > played[u"M"_s],
                 qPrintable(QString::number(played[u"R"_s])));
        QVERIFY(played[u"S"_s] > played[u"K"_s]);
    }
};

TONIQUE_TEST(TestRecognition, Widgets)
#include "tst_recognition.moc"
