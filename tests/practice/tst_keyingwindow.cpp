// The window "Manipulation" on the fakes: keys of the keyboard decoded as a straight key or through the keyer, the
// mode kept, a sent exercise marked, and its place in the menu.
#include "TestMain.h"
#include "common/Numbers.h"
#include "fakes/BuildFolder.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeKeyingSource.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeSidetone.h"
#include "fakes/ScriptedRandomSource.h"
#include "fakes/TestApp.h"
#include "practice/ElementsView.h"
#include "practice/KeyingController.h"
#include "signs/SignTable.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedBarSeries>
#include <QTimer>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The X key symbols of the two Ctrl keys.
constexpr quint32 LeftControl = 0xffe3;
constexpr quint32 RightControl = 0xffe4;

// Keying written as tokens: "S+"/"S-" Space down/up, "[+", "]+", "L+", "R+" (Left and Right Ctrl) likewise, "r" an
// auto-repeated press and release of Space, a number a wait in dots (the window's timer ticking every 10 ms).
class Keyer
{
public:
    Keyer(TestApp& app, double dotMs) : m_app(app), m_dotMs(dotMs) {}

    void run(const QString& script)
    {
        for (const QString& token : script.split(u' ', Qt::SkipEmptyParts)) {
            bool number = false;
            const double dots = token.toDouble(&number);
            if (number)
                wait(dots);
            else if (token == u"r")
                repeat();
            else
                key(token[0], token[1] == u'+');
        }
        wait(20);
    }

    void wait(double dots)
    {
        const qint64 end = m_app.clock.elapsedMs + std::llround(dots * m_dotMs);
        while (m_app.clock.elapsedMs < end) {
            m_app.clock.elapsedMs = std::min(end, m_app.clock.elapsedMs + 10);
            TestApp::tick(m_app.window->keying().window()->timer());
        }
    }

private:
    // Sent to a control of the window: the keys are the key's wherever the focus is in it.
    static QWidget* target(TestApp& app) { return app.window->keying().window()->findChild<QComboBox*>(u"mode"_s); }

    void key(QChar which, bool down)
    {
        const auto type = down ? QEvent::KeyPress : QEvent::KeyRelease;
        if (which == u'L' || which == u'R') {
            QKeyEvent event(type, Qt::Key_Control, Qt::NoModifier, 0, which == u'L' ? LeftControl : RightControl, 0);
            QApplication::sendEvent(target(m_app), &event);
            return;
        }
        const Qt::Key code =
            which == u'S' ? Qt::Key_Space : (which == u'[' ? Qt::Key_BracketLeft : Qt::Key_BracketRight);
        QTest::sendKeyEvent(down ? QTest::Press : QTest::Release, target(m_app), code, which == u'S' ? u' ' : which,
                            Qt::NoModifier);
    }

    // The pair arrives a little late when the program is busy: a third of a dot apart.
    void repeat()
    {
        for (const auto type : {QEvent::KeyRelease, QEvent::KeyPress}) {
            QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, u" "_s, true);
            QApplication::sendEvent(target(m_app), &event);
            m_app.clock.elapsedMs += std::llround(m_dotMs / 3);
        }
    }

    TestApp& m_app;
    double m_dotMs;
};

// A straight key sending dots and dashes by the book: " " between letters, "/" between words; "r" in a dash: the
// key's auto-repeat while it is held.
QString StraightKeying(const QString& morse, bool autoRepeat = false)
{
    QString script;
    for (const QChar c : morse) {
        if (c == u'.')
            script += u"S+ 1 S- 1 "_s;
        else if (c == u'-')
            script += autoRepeat ? u"S+ 1 r 1 r 1 S- 1 "_s : u"S+ 3 S- 1 "_s;
        else
            script += c == u' ' ? u"2 "_s : u"6 "_s;
    }
    return script;
}

double DotMs(TestApp& app)
{
    return LeadingNumber(app.ui().TP->text());
}

QString Decoded(TestApp& app)
{
    return app.window->keying().window()->findChild<QPlainTextEdit*>(u"decode"_s)->toPlainText().trimmed();
}

void OpenWindow(TestApp& app, int mode)
{
    app.window->findChild<QAction*>(u"manipulation"_s)->trigger();
    app.window->keying().window()->findChild<QComboBox*>(u"mode"_s)->setCurrentIndex(mode);
}

const QString Paris = u".--. .- .-. .. .../.--. .- .-. .. ..."_s;

} // namespace

class TstKeyingWindow : public QObject
{
    Q_OBJECT

private slots:
    void keyboardDecoded_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("keying");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("straight key") << 0 << StraightKeying(Paris) << u"paris paris"_s;
        QTest::newRow("straight key held with auto-repeat") << 0 << StraightKeying(Paris, true) << u"paris paris"_s;
        // "s", "t", then "c" squeezed dash first and let go during its last dot.
        const QString brackets = u"[+ 4.5 [- 4 ]+ 2 ]- 5 ]+ 0.5 [+ 10 ]- [- 5 "_s;
        const QString controls = u"L+ 4.5 L- 4 R+ 2 R- 5 R+ 0.5 L+ 10 R- L- 5 "_s;
        QTest::newRow("paddle A, brackets") << 1 << brackets + u"6 "_s + brackets << u"stc stc"_s;
        QTest::newRow("paddle A, Ctrl keys") << 1 << controls + u"6 "_s + controls << u"stc stc"_s;
        // Mode B adds the dash that was due when the levers were let go.
        QTest::newRow("paddle B, brackets") << 2 << brackets + u"6 "_s + brackets << u"st[-.-.-] st[-.-.-]"_s;
        QTest::newRow("paddle levers on a straight key") << 0 << brackets + StraightKeying(u".-"_s) << u"a"_s;
    }
    void keyboardDecoded()
    {
        QFETCH(int, mode);
        QFETCH(QString, keying);
        QFETCH(QString, decoded);
        TestApp app;
        OpenWindow(app, mode);
        Keyer(app, DotMs(app)).run(keying);
        QCOMPARE(Decoded(app), decoded);
        // Every element decoded was heard, at the tone of the settings.
        qsizetype elements = 0;
        for (const DecodedSign& sign : app.window->keying().window()->findChild<ElementsView*>()->signs())
            elements += qsizetype(sign.elements.size());
        QCOMPARE(app.sidetone.trace, u"v^"_s.repeated(elements));
        QVERIFY(app.sidetone.tone.startsWith(QString::number(app.ui().HScroll4->value()) + u" Hz"_s));
        QVERIFY(app.window->keying().window()->findChild<QLabel*>(u"vitesse"_s)->text().contains(u"mots par minute"_s));
    }

    void choicesKeptInTheirOwnGroup()
    {
        FakeSettingsStore store;
        FakeClock clock;
        const SignTable signs = SignTable::fromLines({});
        const auto services = [&] {
            return KeyingController::Services{signs, clock, &store, [] { return 60.0; }, {}, {}};
        };
        {
            KeyingController keying(services(), nullptr);
            QCOMPARE(keying.mode(), KeyingMode::StraightKey);
            keying.setMode(KeyingMode::IambicB);
        }
        QCOMPARE(store.values, (QMap<QString, QString>{{u"mode"_s, u"iambiqueB"_s}}));
        KeyingController again(services(), nullptr);
        QCOMPARE(again.mode(), KeyingMode::IambicB);
        store.values[u"mode"_s] = u"n'importe quoi"_s;
        QCOMPARE(KeyingController(services(), nullptr).mode(), KeyingMode::StraightKey);

        // What "Écho" plays and its time to answer: read into the window, kept when changed there, and a time out of
        // range or unreadable brought back to one the window can show.
        const auto shown = [&](KeyingController& keying) {
            keying.manipulation();
            auto* plays = keying.window()->findChild<QComboBox*>(u"jeuEcho"_s);
            auto* seconds = keying.window()->findChild<QSpinBox*>(u"delaiEcho"_s);
            return std::pair{plays, seconds};
        };
        store.values[u"jeuEcho"_s] = u"indicatif"_s;
        store.values[u"delaiEcho"_s] = u"12"_s;
        {
            KeyingController keying(services(), nullptr);
            const auto [plays, seconds] = shown(keying);
            QCOMPARE(plays->currentIndex(), 2);
            QCOMPARE(seconds->value(), 12);
            plays->setCurrentIndex(1);
            seconds->setValue(20);
        }
        QCOMPARE(store.values[u"jeuEcho"_s], u"groupe"_s);
        QCOMPARE(store.values[u"delaiEcho"_s], u"20"_s);
        for (const auto& [kept, seconds] : {std::pair{u"99"_s, 30}, {u"0"_s, 1}, {u"cinq"_s, 5}}) {
            store.values[u"delaiEcho"_s] = kept;
            KeyingController keying(services(), nullptr);
            QCOMPARE(shown(keying).second->value(), seconds);
        }
    }

    void sentExerciseMarked()
    {
        TestApp app;
        app.exercise().set(u"paris  pares paris"_s);
        OpenWindow(app, 0);
        KeyingWindow* window = app.window->keying().window();
        window->findChild<QComboBox*>(u"exercice"_s)->setCurrentIndex(1);
        QVERIFY(window->findChild<QLabel*>(u"texteAEnvoyer"_s)->text().endsWith(u"paris pares paris"_s));
        // A pause to think between the words is no word gap.
        Keyer(app, DotMs(app)).run(StraightKeying(Paris) + u"60 "_s + StraightKeying(u".--. .- .-. .. ..."_s));
        window->findChild<QPushButton*>(u"termine"_s)->click();
        const QString result = window->findChild<QLabel*>(u"resultat"_s)->text();
        QVERIFY2(result.startsWith(u"1 erreur sur 15 caractères"_s), qPrintable(result));
        QVERIFY2(result.contains(u"entre mots\u202F: 7,0"_s), qPrintable(result));
    }

    void echo_data()
    {
        QTest::addColumn<int>("plays");
        QTest::addColumn<QString>("played");
        QTest::addColumn<QString>("keying");
        QTest::addColumn<QString>("result");
        const QString c = u"-.-."_s;
        QTest::newRow("sent back") << 0 << c << StraightKeying(c) << u"Juste\u202F: «\u00a0c\u00a0» — 1 juste sur 1"_s;
        QTest::newRow("another character")
            << 0 << c << StraightKeying(u"-.--"_s)
            << u"Faux\u202F: «\u00a0y\u00a0» envoyé, «\u00a0c\u00a0» attendu — 0 juste sur 1"_s;
        QTest::newRow("nothing sent in time")
            << 0 << c << u"40"_s << u"Temps écoulé\u202F: «\u00a0c\u00a0» attendu — 0 juste sur 1"_s;
        const QString group = QStringList(5, c).join(u' ');
        QTest::newRow("group sent back") << 1 << group << StraightKeying(group)
                                         << u"Juste\u202F: «\u00a0ccccc\u00a0» — 1 juste sur 1"_s;
        // One character wrong in the middle: the group is wrong, said once the fifth is sent.
        QTest::newRow("group with a character wrong")
            << 1 << group << StraightKeying(u"-.-. -.-. -.-- -.-. -.-."_s)
            << u"Faux\u202F: «\u00a0ccycc\u00a0» envoyé, «\u00a0ccccc\u00a0» attendu — 0 juste sur 1"_s;
        QTest::newRow("group left unfinished") << 1 << group << StraightKeying(u"-.-. -.-."_s) + u"60"_s
                                               << u"Temps écoulé\u202F: «\u00a0ccccc\u00a0» attendu — 0 juste sur 1"_s;
        // The stream always at 0.8 draws the call sign "U8U", whatever the set.
        const QString u8u = u"..- ---.. ..-"_s;
        QTest::newRow("call sign sent back")
            << 2 << u8u << StraightKeying(u8u) << u"Juste\u202F: «\u00a0u8u\u00a0» — 1 juste sur 1"_s;
        QTest::newRow("call sign with a figure wrong")
            << 2 << u8u << StraightKeying(u"..- --... ..-"_s)
            << u"Faux\u202F: «\u00a0u7u\u00a0» envoyé, «\u00a0u8u\u00a0» attendu — 0 juste sur 1"_s;
        // Without a sound output nothing is played, nothing answered is marked, and nothing is recorded.
        QTest::newRow("no sound output")
            << 0 << QString() << StraightKeying(u"-.-."_s)
            << u"Aucune sortie son\u202F: les caractères de l'Écho ne s'entendent pas, et rien n'en est enregistré. "
               "Branchez une sortie son (casque, haut-parleurs), puis choisissez de nouveau «\u202FÉcho\u202F»."_s;
    }
    void echo()
    {
        QFETCH(int, plays);
        QFETCH(QString, played);
        QFETCH(QString, keying);
        QFETCH(QString, result);
        ScriptedRandomSource random({0.8});
        TestApp::Options options;
        options.random = &random;
        TestApp app(options);
        app.sidetone.silent = played.isEmpty();
        app.ui().TEXT1->setEditText(u"c"_s);
        OpenWindow(app, 0);
        KeyingWindow* window = app.window->keying().window();
        window->findChild<QComboBox*>(u"jeuEcho"_s)->setCurrentIndex(plays);
        window->findChild<QComboBox*>(u"exercice"_s)->setCurrentIndex(2);
        Keyer keyer(app, DotMs(app));
        double dots = 0; // the playing's length, a letter gap after each character
        for (const QChar c : QString(played + u' '))
            dots += c == u'-' ? 4 : 2;
        keyer.wait(1000 / DotMs(app) + dots); // the pause, then the whole of it played
        QCOMPARE(app.sidetone.trace, u"v^"_s.repeated(played.count(u'.') + played.count(u'-')));
        keyer.run(keying);
        QCOMPARE(window->findChild<QLabel*>(u"resultat"_s)->text(), result);
        window->findChild<QPushButton*>(u"termine"_s)->click();
        QCOMPARE(app.history.sendingRuns(QDateTime())->size(), played.isEmpty() || !keying.contains(u'S') ? 0 : 1);
    }

    // A run recorded at "Terminé" (once), "Écho" from what was answered: its marking, its characters mis-sent and its
    // timing; nothing when nothing was keyed, and the window says why when there is no history. The histograms under
    // the result count the lengths measured.
    void runRecorded_data()
    {
        QTest::addColumn<int>("exercise");
        QTest::addColumn<QString>("keying");
        QTest::addColumn<bool>("history");
        QTest::addColumn<QString>("recorded");      // kind, characters, errors, mis-sent; empty: nothing
        QTest::addColumn<QList<int>>("histograms"); // dots, dashes, element and letter gaps; empty: not drawn
        QTest::newRow("free") << 0 << StraightKeying(Paris) << true << u"libre 10 0 "_s << QList<int>{20, 8, 18, 8};
        // "paris pares" sent as "paris paris": the "e" keyed as an "i".
        QTest::newRow("exercise with a letter wrong")
            << 1 << StraightKeying(Paris) << true << u"exercice 10 1 e×1"_s << QList<int>{20, 8, 18, 8};
        QTest::newRow("echo sent back wrong")
            << 2 << StraightKeying(u"-.--"_s) << true << u"echo 1 1 c×1"_s << QList<int>{1, 3, 3, 0};
        QTest::newRow("echo sent back right")
            << 2 << StraightKeying(u"-.-."_s) << true << u"echo 1 0 "_s << QList<int>{2, 2, 3, 0};
        QTest::newRow("echo left to time out") << 2 << u"40"_s << true << QString() << QList<int>{};
        QTest::newRow("nothing keyed") << 1 << u"5"_s << true << QString() << QList<int>{};
        QTest::newRow("no history") << 0 << StraightKeying(Paris) << false << QString() << QList<int>{20, 8, 18, 8};
    }
    void runRecorded()
    {
        QFETCH(int, exercise);
        QFETCH(QString, keying);
        QFETCH(bool, history);
        QFETCH(QString, recorded);
        QFETCH(QList<int>, histograms);
        ScriptedRandomSource random({0.8});
        TestApp::Options options;
        options.random = &random;
        if (!history)
            options.noHistory = u"un autre Tonique l'utilise."_s;
        TestApp app(options);
        app.ui().TEXT1->setEditText(u"c"_s);
        app.exercise().set(u"paris pares"_s);
        OpenWindow(app, 0);
        KeyingWindow* window = app.window->keying().window();
        window->findChild<QComboBox*>(u"exercice"_s)->setCurrentIndex(exercise);
        Keyer keyer(app, DotMs(app));
        if (exercise == 2)
            keyer.wait(1000 / DotMs(app) + 14); // the pause, then "c" played
        keyer.run(keying);
        app.window->findChild<QAction*>(u"progres"_s)->trigger(); // left open, it follows the run kept
        window->findChild<QPushButton*>(u"termine"_s)->click();
        window->findChild<QPushButton*>(u"termine"_s)->click();
        const auto windows = QApplication::topLevelWidgets();
        const auto progress = std::find_if(windows.begin(), windows.end(),
                                           [](const QWidget* w) { return w->objectName() == u"Progres"_s; });
        QVERIFY(progress != windows.end());
        const auto* speeds = (*progress)->findChild<QChartView*>(u"envoiVitesse"_s);
        QCOMPARE(speeds->findChild<QLabel*>(u"vide"_s)->isVisibleTo(speeds), recorded.isEmpty());

        const QList<SendingRunRecord> runs = *app.history.sendingRuns(QDateTime());
        QCOMPARE(runs.size(), recorded.isEmpty() ? 0 : 1);
        if (!runs.isEmpty()) {
            const SendingRunRecord& run = runs.first();
            QStringList missent;
            for (const MissentCharacter& m : run.missent)
                missent << m.character + u"×"_s + QString::number(m.count);
            const QString kind = QStringList{u"libre"_s, u"exercice"_s, u"echo"_s}[int(run.kind)];
            QCOMPARE(u"%1 %2 %3 %4"_s.arg(kind).arg(run.characters).arg(run.errors).arg(missent.join(u' ')), recorded);
            // Keyed by the book at the speed of the settings.
            QVERIFY2(std::abs(run.wpm - 1200 / DotMs(app)) < 0.6, qPrintable(QString::number(run.wpm)));
            QVERIFY2(std::abs(run.dashDotRatio - 3) < 0.1, qPrintable(QString::number(run.dashDotRatio)));
            QVERIFY2(std::abs(run.elementGapRatio - 1) < 0.1, qPrintable(QString::number(run.elementGapRatio)));
            QVERIFY(run.spreads[SendingRunRecord::Dots] < 0.1);
        }
        const QString result = window->findChild<QLabel*>(u"resultat"_s)->text();
        QCOMPARE(result.contains(u"Cet envoi n'est pas enregistré dans l'historique\u202F: un autre Tonique"_s),
                 !history);

        auto* view = window->findChild<QChartView*>(u"histogrammes"_s);
        QCOMPARE(view->isVisibleTo(window), !histograms.isEmpty());
        if (histograms.isEmpty())
            return;
        const auto* series = qobject_cast<QAbstractBarSeries*>(view->chart()->series().first());
        QList<int> sums;
        for (const QBarSet* set : series->barSets())
            sums << int(set->sum());
        QCOMPARE(sums, histograms);
        // By the book, every dot in the quarter from 1 dot, every dash in the one from 3.
        auto* bins = qobject_cast<QBarCategoryAxis*>(view->chart()->axes(Qt::Horizontal).first());
        QCOMPARE(series->barSets()[0]->at(bins->categories().indexOf(u"1"_s)), histograms[0]);
        QCOMPARE(series->barSets()[1]->at(bins->categories().indexOf(u"3"_s)), histograms[1]);
        QVERIFY(view->isVisibleTo(window));
        // Keying again after "Terminé" is a new run, kept at the next "Terminé" with only what it keyed.
        if (!recorded.isEmpty() && exercise != 2) {
            keyer.run(StraightKeying(u"."_s));
            QCOMPARE(Decoded(app), u"e"_s);
            window->findChild<QPushButton*>(u"termine"_s)->click();
            const QList<SendingRunRecord> again = *app.history.sendingRuns(QDateTime());
            QCOMPARE(again.size(), 2);
            QCOMPARE(again.last().kind, again.first().kind);
            QCOMPARE(again.last().characters, exercise == 0 ? 1 : 10);
        }
        window->findChild<QPushButton*>(u"effacer"_s)->click();
        QVERIFY(!view->isVisibleTo(window));
    }

    // An input beside the keyboard: its edges decoded at the times it stamped them, the straight key on the dot line,
    // the sidetone silent for a microphone, an input that cannot start or stops told in the window while the keyboard
    // keys on, the input kept and stopped with the window.
    void inputsBesideTheKeyboard_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<QString>("failure"); // what the source says when it cannot start
        QTest::addColumn<bool>("sidetone");   // whether the source wants it
        QTest::addColumn<int>("tones");       // the key-downs heard
        QTest::addColumn<QString>("decoded"); // "paris" sent on the dot line, then "e" on the keyboard
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("trace"); // the source's starts, stops and end
        QTest::newRow("serial port") << 1 << QString() << true << 15 << u"paris e"_s << QString() << u">|~"_s;
        QTest::newRow("microphone, no sidetone")
            << 3 << QString() << false << 0 << u"paris e"_s << QString() << u">|~"_s;
        QTest::newRow("busy port") << 1 << u"Le port est occupé."_s << true << 1 << u"e"_s << u"Le port est occupé."_s
                                   << u">~"_s;
        QTest::newRow("not on this system")
            << 2 << u"-"_s << true << 1 << u"e"_s
            << u"Cette entrée n'est pas disponible sur ce système\u202F; le clavier reste "
               u"utilisable."_s
            << QString();
    }
    void inputsBesideTheKeyboard()
    {
        QFETCH(int, input);
        QFETCH(QString, failure);
        QFETCH(bool, sidetone);
        QFETCH(int, tones);
        QFETCH(QString, decoded);
        QFETCH(QString, message);
        QFETCH(QString, trace);
        FakeSettingsStore store;
        store.values[u"entree"_s] = input == 1 ? u"serie"_s : (input == 2 ? u"midi"_s : u"micro"_s);
        FakeClock clock;
        FakeSidetone heard;
        const SignTable signs = SignTable::fromLines(LoadSignFile(BuildFolder::file("telkey.ref")).lines);
        QString sourceTrace;
        QPointer<FakeKeyingSource> source;
        KeyingController::Services services{signs, clock, &store, [] { return 60.0; }, {}, {}};
        services.decoding = KeyingThreading::CallersThread;
        services.sidetone = &heard;
        services.openInput = [&](KeyingInput opened) -> std::unique_ptr<KeyingSource> {
            if (failure == u"-" || int(opened) != input)
                return nullptr;
            auto made = std::make_unique<FakeKeyingSource>(&sourceTrace, failure, sidetone);
            source = made.get();
            return made;
        };
        KeyingController keying(services, nullptr);
        keying.manipulation();
        KeyingWindow* window = keying.window();
        QCOMPARE(window->findChild<QComboBox*>(u"entree"_s)->currentIndex(), input);
        const auto wait = [&](qint64 ms) {
            for (const qint64 end = clock.elapsedMs + ms; clock.elapsedMs < end; clock.elapsedMs += 10)
                TestApp::tick(window->timer());
        };
        // The edges come late to the window's thread, as from a reader thread: each is stamped 20 ms before it is
        // handed over.
        qint64 at = clock.elapsedMs + 100;
        for (const QChar c : u".--. .- .-. .. ..."_s) {
            const qint64 down = c == u' ' ? 0 : (c == u'.' ? 60 : 180);
            if (down > 0 && source) {
                wait(at + 20 - clock.elapsedMs);
                source->send(KeyInput::DotLever, true, at * 1000);
                wait(at + down + 20 - clock.elapsedMs);
                source->send(KeyInput::DotLever, false, (at + down) * 1000);
            }
            at += down + (c == u' ' ? 120 : 60);
        }
        wait(at + 600 - clock.elapsedMs);
        QTest::sendKeyEvent(QTest::Press, window->findChild<QComboBox*>(u"mode"_s), Qt::Key_Space, u' ',
                            Qt::NoModifier);
        wait(60);
        QTest::sendKeyEvent(QTest::Release, window->findChild<QComboBox*>(u"mode"_s), Qt::Key_Space, u' ',
                            Qt::NoModifier);
        wait(1000);
        QCOMPARE(window->findChild<QPlainTextEdit*>(u"decode"_s)->toPlainText().trimmed(), decoded);
        QCOMPARE(window->findChild<QLabel*>(u"message"_s)->text(), message.isEmpty() ? QString() : message);
        QCOMPARE(heard.trace.count(u'v'), tones);
        window->close();
        QCOMPARE(sourceTrace, trace);
    }

    void inputStopsAndIsKept()
    {
        FakeSettingsStore store;
        FakeClock clock;
        const SignTable signs = SignTable::fromLines({});
        QString trace;
        QPointer<FakeKeyingSource> source;
        KeyingController::Services services{signs, clock, &store, [] { return 60.0; }, {}, {}};
        services.decoding = KeyingThreading::CallersThread;
        services.openInput = [&](KeyingInput) -> std::unique_ptr<KeyingSource> {
            auto made = std::make_unique<FakeKeyingSource>(&trace);
            source = made.get();
            return made;
        };
        KeyingController keying(services, nullptr);
        keying.manipulation();
        QCOMPARE(trace, QString()); // the keyboard alone by default
        keying.window()->findChild<QComboBox*>(u"entree"_s)->setCurrentIndex(1);
        QCOMPARE(store.values[u"entree"_s], u"serie"_s);
        QCOMPARE(trace, u">"_s);
        // The serial port's debounce, shown for that input only, kept and the port opened again with it.
        auto* debounce = keying.window()->findChild<QSpinBox*>(u"antirebond"_s);
        QVERIFY(debounce->isVisibleTo(keying.window()));
        QCOMPARE(debounce->value(), 10);
        debounce->setValue(25);
        QCOMPARE(store.values[u"antirebond"_s], u"25"_s);
        QCOMPARE(trace, u">|~>"_s);
        // A key held down on the port, then the port gone: both said.
        source->send(KeyInput::DotLever, true, clock.elapsedMs * 1000);
        for (const qint64 end = clock.elapsedMs + 6000; clock.elapsedMs < end; clock.elapsedMs += 10)
            TestApp::tick(keying.window()->timer());
        source->fail(u"Le port série a disparu."_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(source.isNull());
        clock.elapsedMs += 100;
        TestApp::tick(keying.window()->timer());
        QCOMPARE(keying.window()->findChild<QLabel*>(u"message"_s)->text(),
                 u"Manipulateur bloqué\u202F?\nLe port série a disparu."_s);
        // Neither is said of the next input.
        keying.window()->findChild<QComboBox*>(u"entree"_s)->setCurrentIndex(3);
        clock.elapsedMs += 100;
        TestApp::tick(keying.window()->timer());
        QCOMPARE(keying.window()->findChild<QLabel*>(u"message"_s)->text(), QString());
        QCOMPARE(store.values[u"entree"_s], u"micro"_s);
        QVERIFY(!debounce->isVisibleTo(keying.window()));
        keying.window()->findChild<QComboBox*>(u"entree"_s)->setCurrentIndex(0);
        QCOMPARE(trace, u">|~>~>|~"_s);
        QVERIFY(source.isNull());
    }

    // 20,000 edges handed over at once, as an input's queue delivers them after the window was held up: the window is
    // drawn again at most 30 times a second whatever the flood, every key-down is heard and everything is decoded by
    // the end of the run, whether the keyer and the decoder work on a thread of their own or step by step.
    void floodOfEdges_data()
    {
        QTest::addColumn<KeyingThreading>("decoding");
        QTest::newRow("own thread") << KeyingThreading::OwnThread;
        QTest::newRow("step by step") << KeyingThreading::CallersThread;
    }
    void floodOfEdges()
    {
        QFETCH(KeyingThreading, decoding);
        FakeClock clock;
        FakeSidetone heard;
        const SignTable signs = SignTable::fromLines(LoadSignFile(BuildFolder::file("telkey.ref")).lines);
        QString trace;
        QPointer<FakeKeyingSource> source;
        FakeSettingsStore store;
        store.values[u"entree"_s] = u"serie"_s;
        KeyingController::Services services{signs, clock, &store, [] { return 60.0; }, {}, {}};
        services.decoding = decoding;
        services.sidetone = &heard;
        services.openInput = [&](KeyingInput) -> std::unique_ptr<KeyingSource> {
            auto made = std::make_unique<FakeKeyingSource>(&trace);
            source = made.get();
            return made;
        };
        KeyingController keying(services, nullptr);
        keying.manipulation();
        KeyingWindow* window = keying.window();
        QSignalSpy drawn(window->findChild<QPlainTextEdit*>(u"decode"_s), &QPlainTextEdit::textChanged);
        // "hello" has 16 elements: 625 of them are 20,000 edges, at 20 words per minute.
        constexpr KeyTime Dot = 60'000;
        KeyTime at = Dot;
        for (int word = 0; word < 625; ++word) {
            for (const QChar c : u".... . .-.. .-.. ---/"_s) {
                const KeyTime down = c == u'.' ? Dot : (c == u'-' ? 3 * Dot : 0);
                if (down > 0) {
                    source->send(KeyInput::DotLever, true, at);
                    source->send(KeyInput::DotLever, false, at + down);
                }
                at += down + (c == u' ' ? 2 : (c == u'/' ? 6 : 1)) * Dot;
            }
        }
        clock.elapsedMs = at / 1000;
        for (int ticks = 0; ticks < 100; ++ticks) {
            clock.elapsedMs += 10;
            TestApp::tick(window->timer());
        }
        QCOMPARE_LE(drawn.count(), 1000 / 34 + 1);
        window->findChild<QPushButton*>(u"termine"_s)->click();
        QCOMPARE(window->findChild<QPlainTextEdit*>(u"decode"_s)->toPlainText().trimmed(),
                 QStringList(625, u"hello"_s).join(u' '));
        QCOMPARE(heard.trace.count(u'v'), 10'000);
    }

    void heldKeyTold()
    {
        TestApp app;
        OpenWindow(app, 0);
        Keyer keyer(app, DotMs(app));
        keyer.run(StraightKeying(u"... ---"_s) + u"S+ 100"_s);
        const QString shown = app.window->keying().window()->findChild<QLabel*>(u"message"_s)->text();
        QCOMPARE(shown, u"Manipulateur bloqué\u202F?"_s);
    }

    void placeInTheMenu()
    {
        TestApp app;
        const QList<QAction*> items = app.ui().entrainement->actions();
        QCOMPARE(items.last()->text(), u"&Manipulation..."_s);
        items.last()->trigger();
        QWidget* window = app.window->keying().window();
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        window->close();
        QCOMPARE(app.sidetone.trace, u"x"_s);
        QCOMPARE(window->windowTitle(), u"Manipulation"_s);
    }
};

TONIQUE_TEST(TstKeyingWindow, Widgets)
#include "tst_keyingwindow.moc"
