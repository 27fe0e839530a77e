#include "TestMain.h"
#include "fakes/FailingHistory.h"
#include "fakes/TestApp.h"
#include "marking/MarkingController.h"
#include "parameters/LearnerSettings.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QValueAxis>

using namespace Qt::StringLiterals;

namespace {

QWidget* topLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

// "Correction de la copie" opened from the menu, after `text` was prepared.
QWidget* openMarking(TestApp& app, const QString& text)
{
    app.exercise().set(text);
    app.ui().Command3->click();
    app.find<QAction>(u"corrigerCopie"_s)->trigger();
    return topLevel(u"Correction"_s);
}

void type(QWidget* field, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList items(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

QStringList items(const QComboBox* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->itemText(row);
    return texts;
}

QStringList categories(QWidget* progress, const char* chart)
{
    auto* view = progress->findChild<QChartView*>(QString::fromLatin1(chart));
    const auto axes = view->chart()->axes(Qt::Horizontal);
    return axes.isEmpty() ? QStringList() : qobject_cast<QBarCategoryAxis*>(axes.first())->categories();
}

qsizetype accuracyPoints(QWidget* progress)
{
    auto* view = progress->findChild<QChartView*>(u"exactitude"_s);
    return qobject_cast<QLineSeries*>(view->chart()->series().first())->count();
}

const CharacterWeakness* weaknessOf(const QList<CharacterWeakness>& weaknesses, const QString& character)
{
    for (const CharacterWeakness& w : weaknesses) {
        if (w.character == character)
            return &w;
    }
    return nullptr;
}

} // namespace

class TestMarkingWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
    }

    // Typed while it plays, marked with Ctrl+Return against the prepared text, recorded once with its speed.
    void markTypedCopy()
    {
        TestApp app;
        QWidget* window = openMarking(app, u"  abcde fghij "_s);
        auto* copy = window->findChild<QPlainTextEdit*>(u"copie"_s);
        auto* play = window->findChild<QPushButton*>(u"lecture"_s);
        QVERIFY(QTest::qWaitForWindowActive(window));
        copy->setFocus();
        type(copy, u"ABCDE FGHIX"_s);
        QTest::mouseClick(play, Qt::LeftButton);
        QCOMPARE(app.player.commands.last(), "Play");
        QCOMPARE(window->focusWidget(), copy);
        // Edited after the sound was prepared, then a rendering that fails: the prepared sound's text counts.
        app.ui().Text11->setText(u"absent/TEST"_s);
        app.exercise().set(u"klmno"_s);
        app.ui().Command3->click();
        QCOMPARE(app.messages.criticals.size(), 1);

        QTest::keyClick(copy, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(window->findChild<QLabel*>(u"resultat"_s)->text(),
                 u"1 erreur sur 10 caractères (90,0\u202F%) — Refusé"_s);
        QCOMPARE(window->findChild<QLabel*>(u"seuil"_s)->text(), u"Erreurs admises\u202F: 5\u202F%, soit 0 erreur"_s);
        QCOMPARE(items(window->findChild<QListWidget*>(u"confusions"_s)),
                 QStringList{u"J reçu comme X\u202F: 1 fois"_s});
        QCOMPARE(copy->toPlainText(), u"ABCDE FGHIX"_s); // Ctrl+Return typed nothing

        window->findChild<QPushButton*>(u"corriger"_s)->click(); // the same copy again: nothing more recorded
        window->findChild<QDoubleSpinBox*>(u"admis"_s)->setValue(10);
        QCOMPARE(app.markingSettings.values.value(u"admis"_s), u"10"_s);
        window->findChild<QPushButton*>(u"corriger"_s)->click();
        QVERIFY(window->findChild<QLabel*>(u"resultat"_s)->text().endsWith(u"Reçu"_s));
        const auto copies = app.history.copies(QDateTime());
        QCOMPARE(copies->size(), 2);
        QCOMPARE(copies->first().at, app.clock.date);
        QCOMPARE(copies->first().wpm, 12.0);
        QCOMPARE(copies->last().received, true);
    }

    // A new exercise clears the copy and the verdict of the last one and says which one is marked now; a drilled
    // or typed character and the tone test leave the exercise in place; a blank copy is neither marked nor recorded.
    void markedExercise()
    {
        TestApp app;
        QWidget* window = openMarking(app, u"abcde fghij"_s);
        auto* copy = window->findChild<QPlainTextEdit*>(u"copie"_s);
        auto* result = window->findChild<QLabel*>(u"resultat"_s);
        auto* mark = window->findChild<QPushButton*>(u"corriger"_s);
        copy->setPlainText(u"abcde fghij"_s);
        mark->click();
        app.clock.date = app.clock.date.addSecs(32 * 60);
        app.ui().Text3->setText(u"3"_s);
        app.ui().Command7->click(); // CLS, LETTRES, "Préparer La Musique": a new exercise of 15 characters
        app.ui().Command5->click();
        app.ui().Command3->click();
        QCOMPARE(copy->toPlainText(), QString());
        QVERIFY(!result->text().contains(u"erreur"_s));
        QCOMPARE(window->findChild<QLabel*>(u"exercice"_s)->text(),
                 u"Exercice préparé à 10\u00a0h\u00a032\u202f: 15 caractères à recevoir, à 12\u00a0mots par minute."_s);

        const QString sent = app.exercise().text();
        app.ui().TEXT1->setEditText(u"e"_s);
        app.ui().Clavier->trigger();
        app.ui().Text17->setText(u"e"_s);
        app.ui().Command11->click();
        app.ui().Text26->setText(u"x"_s);
        app.tick(app.ui().Timer2);
        app.ui().Command1->click();
        QCOMPARE(app.exercise().text(), u"x"_s);
        copy->setPlainText(u"   \n "_s);
        mark->click();
        QCOMPARE(result->text(), u"Rien à corriger\u202f: tapez ce que vous avez entendu."_s);
        copy->setPlainText(sent);
        mark->click();
        QVERIFY2(result->text().startsWith(u"0 erreur sur 15 caractères"_s), qPrintable(result->text()));
        const auto copies = app.history.copies(QDateTime());
        QCOMPARE(copies->size(), 2);
        QCOMPARE(copies->last().characters, 15);
    }

    // An exercise made of pieces: each piece of information listed as copied, each part judged apart, the pieces
    // recorded; "Progrès" lists the kind of information lost most often first. A text without pieces shows neither.
    void markedByPiece()
    {
        TestApp app;
        LearnerSettings learner({app.settings, app.training, nullptr, nullptr});
        MarkingController marking({app.history, learner, app.clock, app.screenReader, [] {}});
        const QString contact = u"F5XYZ DE F6ABC UR RST 599 QTH LYON K"_s;
        TextFields fields;
        for (const auto& [kind, words] : QList<std::pair<FieldKind, QString>>{{FieldKind::CallSign, u"F5XYZ"_s},
                                                                              {FieldKind::CallSign, u"F6ABC"_s},
                                                                              {FieldKind::Report, u"599"_s},
                                                                              {FieldKind::Qth, u"LYON"_s}})
            fields.append({kind, contact.indexOf(words), words.size(), {}});
        marking.exercisePrepared({contact, 100, 12, 600, 50, SoundOrigin::Exercise, fields});
        marking.corriger();
        QWidget* window = marking.markingWindow();
        auto* copy = window->findChild<QPlainTextEdit*>(u"copie"_s);
        auto* list = window->findChild<QListWidget*>(u"champs"_s);
        auto* parts = window->findChild<QLabel*>(u"parties"_s);
        copy->setPlainText(u"f5xyz de f6abc ur rst 599 qth lyom k"_s);
        window->findChild<QPushButton*>(u"corriger"_s)->click();
        QCOMPARE(items(list),
                 (QStringList{u"QTH\u202F: LYON copié «\u202FLYOM\u202F»"_s, u"Indicatif\u202F: F5XYZ juste"_s,
                              u"Indicatif\u202F: F6ABC juste"_s, u"Report\u202F: 599 juste"_s}));
        QVERIFY(list->isVisible() && !parts->isVisible());

        const QString exam = u"ABCDE 12345 LE CHAT"_s;
        marking.exercisePrepared(
            {exam,
             100,
             12,
             600,
             50,
             SoundOrigin::Exercise,
             {{FieldKind::Part, 0, 11, u"Groupes"_s}, {FieldKind::Part, 12, 7, u"Texte en clair"_s}}});
        copy->setPlainText(u"abcde 12345 le chas"_s);
        window->findChild<QPushButton*>(u"corriger"_s)->click();
        QCOMPARE(parts->text(), u"Groupes\u202F: 0 erreur sur 10 caractères (100,0\u202F%) — Reçu\n"
                                "Texte en clair\u202F: 1 erreur sur 6 caractères (83,3\u202F%) — Refusé"_s);
        QVERIFY(parts->isVisible() && !list->isVisible());
        QVERIFY(app.screenReader.spoken.last().second.contains(u"Texte en clair"_s));

        marking.exercisePrepared({u"ABCDE"_s, 100, 12, 600, 50, SoundOrigin::Exercise, {}});
        copy->setPlainText(u"abcdx"_s);
        window->findChild<QPushButton*>(u"corriger"_s)->click();
        QVERIFY(!parts->isVisible() && !list->isVisible());

        app.find<QAction>(u"progres"_s)->trigger();
        QWidget* progress = topLevel(u"Progres"_s);
        auto* losses = progress->findChild<QTreeWidget*>(u"informations"_s);
        QStringList rows;
        for (int row = 0; row < losses->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = losses->topLevelItem(row);
            rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join(u'|');
        }
        QCOMPARE(rows,
                 (QStringList{u"QTH|1|1|100,0\u202F%"_s, u"Indicatif|2|0|0,0\u202F%"_s, u"Report|1|0|0,0\u202F%"_s}));
    }

    // The speed recorded is the speed heard: the speed box's when the dot length was computed from it, the one
    // the reference word and spacing give to a dot length typed into TP.
    void speedHeard_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("dotMs"); // typed into TP after the speed, when not empty
        QTest::addColumn<double>("wpm");
        QTest::newRow("computed") << u"15"_s << QString() << 15.0;
        QTest::newRow("typed 60 ms") << u"12"_s << u"60"_s << 19.4;
    }
    void speedHeard()
    {
        QFETCH(QString, speed);
        QFETCH(QString, dotMs);
        QFETCH(double, wpm);
        TestApp app;
        app.ui().Combo1->setEditText(speed);
        if (!dotMs.isEmpty())
            app.ui().TP->setText(dotMs);
        QWidget* window = openMarking(app, u"abcde"_s);
        window->findChild<QPlainTextEdit*>(u"copie"_s)->setPlainText(u"abcde"_s);
        window->findChild<QPushButton*>(u"corriger"_s)->click();
        QCOMPARE(app.history.copies(QDateTime())->first().wpm, wpm);
    }

    // Before any sound is prepared "Corriger" says why it cannot mark; the first rendering enables it. The pass mark
    // is read from its own group of settings, not from the parameters; a hand-edited one that is not a percentage
    // gives the default.
    void nothingPrepared_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("shown");
        QTest::newRow("decimal comma") << u"2,5"_s << 2.5;
        QTest::newRow("not a number") << u"douze"_s << 5.0;
        QTest::newRow("above 100") << u"150"_s << 5.0;
    }
    void nothingPrepared()
    {
        QFETCH(QString, stored);
        QFETCH(double, shown);
        TestApp::Options options;
        options.startUp = false;
        options.settings = {{u"admis"_s, u"7"_s}};
        TestApp app(options);
        app.markingSettings.values[u"admis"_s] = stored;
        app.find<QAction>(u"corrigerCopie"_s)->trigger();
        QWidget* window = topLevel(u"Correction"_s);
        auto* mark = window->findChild<QPushButton*>(u"corriger"_s);
        QVERIFY(!mark->isEnabled());
        QVERIFY(mark->toolTip().contains(u"Préparer La Musique"_s));
        QCOMPARE(window->findChild<QDoubleSpinBox*>(u"admis"_s)->value(), shown);
        QVERIFY(!app.window->startUp());
        QVERIFY(mark->isEnabled());
    }

    // F5 plays the prepared sound and stops it while it plays; with nothing to play (after CLS) "Lecture" is greyed
    // out and says why.
    void playKey()
    {
        TestApp app;
        QWidget* window = openMarking(app, u"abcde"_s);
        auto* play = window->findChild<QPushButton*>(u"lecture"_s);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F5);
        QVERIFY(app.player.playing);
        QTest::keyClick(window, Qt::Key_F5);
        QVERIFY(!app.player.playing);
        QCOMPARE(app.player.ends, 1);
        app.ui().Command7->click();
        QVERIFY(!play->isEnabled());
        QVERIFY2(play->toolTip().contains(u"Préparer La Musique"_s), qPrintable(play->toolTip()));
        app.ui().Command3->click();
        QVERIFY(play->isEnabled());
        // A drilled character in the player is not the exercise marked: "Lecture" does not play it in its place.
        app.ui().TEXT1->setEditText(u"e"_s);
        app.ui().Clavier->trigger();
        app.player.finish();
        QVERIFY(!play->isEnabled());
        QVERIFY2(play->toolTip().contains(u"caractère isolé"_s), qPrintable(play->toolTip()));
        QTest::keyClick(window, Qt::Key_F5);
        QVERIFY(!app.player.playing);
    }

    // A paste that would make the copy too long is refused with a message; the field keeps its text.
    void pasteTooLong()
    {
        TestApp app;
        QWidget* window = openMarking(app, u"abcde"_s);
        auto* copy = window->findChild<QPlainTextEdit*>(u"copie"_s);
        copy->setPlainText(u"abc"_s);
        QApplication::clipboard()->setText(QString(1 << 20, u'e'));
        copy->paste();
        QCOMPARE(copy->toPlainText(), u"abc"_s);
        QVERIFY(window->findChild<QLabel*>(u"resultat"_s)->text().contains(u"n'est pas collé"_s));
    }

    // A right answer of the drill is dated and recorded with the time measured from the end of its sound, however
    // late the counter's ticks came; answered before that end, it keeps its place in the drill's own list but is no
    // reaction time to record.
    void drillAnswersRecorded()
    {
        TestApp app;
        Form& ui = app.ui();
        ui.TEXT1->setEditText(u"e"_s);
        app.pressPlay(); // the exercise's end starts the counter, which runs on into the drill's first sound
        app.player.finish();
        ui.Clavier->trigger();
        for (int i = 0; i < 30; ++i)
            app.tick(ui.Timer3);
        ui.Text17->setText(u"e"_s);
        ui.Text17->setText(u"e"_s); // before the counter ran at all
        app.player.finish();
        for (int i = 0; i < 23; ++i)
            app.tick(ui.Timer3);
        app.clock.elapsedMs += 412; // those 23 ticks came late: 412 ms went by
        ui.Text17->setText(u"x"_s); // wrong: not recorded
        ui.Text17->setText(u"E"_s);
        QCOMPARE(items(ui.Combo2), (QStringList{u"0000 e"_s, u"0230 e"_s, u"0300 e"_s}));
        const auto answers = app.history.drillAnswers(QDateTime());
        QCOMPARE(answers->size(), 1);
        QCOMPARE(answers->first().character, u"e"_s);
        QCOMPARE(answers->first().ms, 412);
        QCOMPARE(answers->first().at, app.clock.date);
    }

    // Without a history, each copy marked says that it is not recorded, and why: another Tonique holds the history
    // from the start, or it failed at this copy.
    void notRecorded_data()
    {
        QTest::addColumn<bool>("fromStart");
        QTest::addColumn<QString>("why");
        QTest::newRow("second window") << true << u"L'historique est utilisé par un autre Tonique."_s;
        QTest::newRow("lost") << false << u"base verrouillée"_s;
    }
    void notRecorded()
    {
        QFETCH(bool, fromStart);
        QFETCH(QString, why);
        FailingHistory broken(u"base verrouillée"_s);
        TestApp::Options options;
        options.history = &broken;
        if (fromStart)
            options.noHistory = why;
        TestApp app(options);
        QWidget* window = openMarking(app, u"abcde"_s);
        window->findChild<QPlainTextEdit*>(u"copie"_s)->setPlainText(u"abcdf"_s);
        for (int twice = 0; twice < 2; ++twice) {
            window->findChild<QPushButton*>(u"corriger"_s)->click();
            QCOMPARE(window->findChild<QLabel*>(u"nonEnregistree"_s)->text(),
                     u"Cette copie n'est pas enregistrée dans l'historique\u202f: "_s + why);
        }
        QCOMPARE(app.messages.warnings.size(), fromStart ? 0 : 1);
    }

    // A history that fails: one message, the marking and the drill go on, "Progrès" says there is no history.
    void brokenHistory()
    {
        FailingHistory broken(u"base verrouillée"_s);
        TestApp::Options options;
        options.history = &broken;
        TestApp app(options);
        QWidget* window = openMarking(app, u"abcde"_s);
        window->findChild<QPlainTextEdit*>(u"copie"_s)->setPlainText(u"abcde"_s);
        window->findChild<QPushButton*>(u"corriger"_s)->click();
        app.ui().TEXT1->setEditText(u"e"_s);
        app.ui().Clavier->trigger();
        app.ui().Text17->setText(u"e"_s);
        app.ui().Text17->setText(u"e"_s);
        QCOMPARE(app.messages.warnings.size(), 1);
        QVERIFY(window->findChild<QLabel*>(u"resultat"_s)->text().endsWith(u"Reçu"_s));
        app.find<QAction>(u"progres"_s)->trigger();
        QWidget* progress = topLevel(u"Progres"_s);
        QVERIFY(progress->findChild<QLabel*>(u"etat"_s)->text().startsWith(u"Pas d'historique"_s));
        QVERIFY(!progress->findChild<QPushButton*>(u"exporter"_s)->isEnabled());
    }

    // Without the charts' module, "Progrès..." says why each time it is chosen, and "Manipulation" works without its
    // histograms, saying why in their place.
    void withoutCharts()
    {
        TestApp::Options options;
        const QString why = u"Le module «\u202F/x/tonique-charts.so\u202F» est introuvable"_s;
        options.noCharts = why;
        TestApp app(options);
        for (int twice = 0; twice < 2; ++twice)
            app.find<QAction>(u"progres"_s)->trigger();
        QCOMPARE(app.messages.criticals, QStringList(2, why));
        QVERIFY(!topLevel(u"Progres"_s));
        app.find<QAction>(u"manipulation"_s)->trigger();
        auto* missing = topLevel(u"Manipulation"_s)->findChild<QLabel*>(u"sansHistogrammes"_s);
        QVERIFY(missing && missing->text().endsWith(why));
    }

    // The period chosen, the characters worst and slowest first, and the export through the save dialog.
    void progress()
    {
        TestApp app;
        const QDateTime now = app.clock.date; // 10:00
        // The last 7 days are today and the 6 days before, from midnight.
        for (const QDateTime& at :
             {now.addDays(-40), now.addDays(-20), QDateTime(now.date().addDays(-7), QTime(23, 59)),
              QDateTime(now.date().addDays(-6), QTime(0, 1)), now.addDays(-1)})
            app.history.recordCopy({at, 100, 3, 12, PassMark{}, true, {}, {}});
        app.history.recordCopy(
            {now, 10, 3, 15, PassMark{}, false, {{u"b"_s, 4, 4}, {u"d"_s, 5, 3}, {u"e"_s, 1, 0}}, {}});
        for (const auto& [character, ms] : QList<std::pair<QString, int>>{{u"k"_s, 300}, {u"q"_s, 900}, {u"a"_s, 200}})
            app.history.recordDrillAnswer({now, character, ms});
        app.history.recordRace({now.addDays(-40), 9000, 150, 50, 3});
        app.history.recordRace({now, 12000, 190, 50, 1});
        app.find<QAction>(u"progres"_s)->trigger();
        QWidget* progress = topLevel(u"Progres"_s);
        auto* period = progress->findChild<QComboBox*>(u"periode"_s);
        QCOMPARE(accuracyPoints(progress), 5); // 30 days
        // The race's runs of the period: their scores, and their top speeds on an axis of their own.
        const QList<QAbstractSeries*> races = progress->findChild<QChartView*>(u"courses"_s)->chart()->series();
        QCOMPARE(races.size(), 2);
        QCOMPARE(qobject_cast<QLineSeries*>(races[0])->points(), QList<QPointF>{QPointF(1, 12000)});
        QCOMPARE(qobject_cast<QLineSeries*>(races[1])->points(), QList<QPointF>{QPointF(1, 190)});
        period->setCurrentIndex(period->findText(u"7 derniers jours"_s));
        QCOMPARE(accuracyPoints(progress), 3);
        period->setCurrentIndex(period->findText(u"Tout"_s));
        QCOMPARE(accuracyPoints(progress), 6);
        QCOMPARE(categories(progress, "erreurs"), (QStringList{u"B"_s, u"D"_s, u"E"_s}));
        // A rate is a percentage of what was sent: its axis ends at 100 even over a character always missed.
        auto* errors = progress->findChild<QChartView*>(u"erreurs"_s);
        QCOMPARE(qobject_cast<QValueAxis*>(errors->chart()->axes(Qt::Vertical).first())->max(), 100.0);
        QCOMPARE(categories(progress, "reaction"), (QStringList{u"Q"_s, u"K"_s, u"A"_s}));

        // The sending runs: the accuracy of those marked, the speed and the dash/dot ratio of all, and the
        // characters mis-sent in the map.
        SendingRunRecord run;
        run.at = now.addDays(-1);
        run.characters = 12;
        run.wpm = 9.5;
        run.dashDotRatio = 2.5;
        app.history.recordSendingRun(run);
        run.at = now;
        run.kind = SendingKind::Echo;
        run.errors = 3;
        run.dashDotRatio = 3.25;
        run.missent = {{u"b"_s, 2}};
        app.history.recordSendingRun(run);
        period->setCurrentIndex(period->findText(u"30 derniers jours"_s));
        const auto points = [progress](const char* name) {
            auto* view = progress->findChild<QChartView*>(QString::fromLatin1(name));
            return qobject_cast<QLineSeries*>(view->chart()->series().first())->points();
        };
        QCOMPARE(points("envoiExactitude"), (QList<QPointF>{{1, 75}}));
        QCOMPARE(points("envoiVitesse"), (QList<QPointF>{{1, 9.5}, {2, 9.5}}));
        QCOMPARE(points("traitPoint"), (QList<QPointF>{{1, 2.5}, {2, 3.25}}));
        QVERIFY(progress->findChild<QLabel*>(u"etat"_s)->text().endsWith(u", 2 envois"_s));
        QToolButton* b = nullptr;
        for (QToolButton* button : progress->findChild<QGroupBox*>(u"carte"_s)->findChildren<QToolButton*>())
            b = button->text() == u"B"_s ? button : b;
        QVERIFY(b && b->toolTip().contains(u"Manipulation\u202F: mal manipulé 2 fois"_s));

        app.fileDialog.nextFile = app.folder() + u"/export.csv"_s;
        progress->findChild<QPushButton*>(u"exporter"_s)->click();
        QFile csv(app.fileDialog.nextFile);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        // The copies and drill answers as before, then an empty line, the runs' header and a line each.
        QCOMPARE(csv.readAll().count("\r\n"), 1 + 6 + 3 + 1 + 1 + 2);
        app.fileDialog.nextFile = app.folder() + u"/absent/export.csv"_s;
        progress->findChild<QPushButton*>(u"exporter"_s)->click();
        QCOMPARE(app.messages.criticals.size(), 1);
    }

    // Opened on an empty history, each chart says so instead of drawing empty axes, and the window fits a 768-pixel
    // screen. Left open, it follows each copy marked and each drill answer; the copies of a day stand in their order.
    void progressFollows()
    {
        TestApp app;
        app.find<QAction>(u"progres"_s)->trigger();
        QWidget* progress = topLevel(u"Progres"_s);
        QVERIFY(progress->height() <= 700);
        QVERIFY2(progress->minimumSizeHint().height() <= 680,
                 qPrintable(QString::number(progress->minimumSizeHint().height())));
        for (const char* name : {"exactitude", "vitesse", "erreurs", "reaction", "courses"}) {
            auto* view = progress->findChild<QChartView*>(QString::fromLatin1(name));
            QVERIFY2(view->chart()->axes().isEmpty(), name);
            auto* note = view->findChild<QLabel*>(u"vide"_s);
            QVERIFY2(note && note->isVisibleTo(view) && note->text().startsWith(u"Aucun"_s), name);
        }

        QWidget* marking = openMarking(app, u"abcde fghij"_s);
        for (const QString& copy : {u"abcde fghij"_s, u"abcde fghix"_s}) {
            marking->findChild<QPlainTextEdit*>(u"copie"_s)->setPlainText(copy);
            marking->findChild<QPushButton*>(u"corriger"_s)->click();
        }
        QCOMPARE(progress->findChild<QLabel*>(u"etat"_s)->text(), u"2 copies corrigées"_s);
        auto* accuracy = progress->findChild<QChartView*>(u"exactitude"_s);
        QVERIFY(!accuracy->findChild<QLabel*>(u"vide"_s)->isVisible());
        const auto* axis = qobject_cast<QValueAxis*>(accuracy->chart()->axes(Qt::Horizontal).first());
        QVERIFY(axis && axis->titleText().startsWith(u"Copies du "_s));
        const auto* series = qobject_cast<QLineSeries*>(accuracy->chart()->series().first());
        QCOMPARE(series->points(), (QList<QPointF>{{1, 100}, {2, 90}}));
        QVERIFY(axis->min() < 1 && axis->max() > 2);

        app.ui().TEXT1->setEditText(u"e"_s);
        app.ui().Clavier->trigger();
        app.player.finish(); // the drilled character heard to its end starts the counter
        for (int i = 0; i < 25; ++i)
            app.tick(app.ui().Timer3);
        app.ui().Text17->setText(u"e"_s);
        QCOMPARE(categories(progress, "reaction"), QStringList{u"E"_s});
    }

    // The copies of the period are listed, the newest first; one is deleted only once confirmed, and its characters
    // and confusions leave the charts and the weights with it.
    void deleteCopy()
    {
        TestApp app;
        const QDateTime now = app.clock.date;
        app.history.recordCopy(
            {now.addDays(-1), 150, 3, 12, PassMark{}, true, {{u"b"_s, 4, 1}}, {{Mark::Wrong, u"b"_s, u"d"_s, 1}}});
        app.history.recordCopy({now,
                                10,
                                5,
                                19.4,
                                PassMark{},
                                false,
                                {{u"b"_s, 4, 3}, {u"d"_s, 5, 1}},
                                {{Mark::Wrong, u"b"_s, u"d"_s, 3}, {Mark::Missing, u"d"_s, {}, 1}}});
        app.find<QAction>(u"progres"_s)->trigger();
        QWidget* progress = topLevel(u"Progres"_s);
        progress->findChild<QTabWidget*>(u"pages"_s)->setCurrentIndex(1);
        auto* list = progress->findChild<QTreeWidget*>(u"copies"_s);
        auto* remove = progress->findChild<QPushButton*>(u"supprimer"_s);
        auto* confirmation = progress->findChild<QFrame*>(u"confirmation"_s);
        QCOMPARE(list->topLevelItemCount(), 2);
        const QTreeWidgetItem* newest = list->topLevelItem(0);
        QCOMPARE((QStringList{newest->text(0), newest->text(1), newest->text(2), newest->text(3)}),
                 (QStringList{now.toString(u"dd/MM/yyyy HH:mm"_s), u"10"_s, u"5"_s, u"19,4\u202Fmots/min"_s}));
        QVERIFY(!remove->isEnabled());

        list->setCurrentItem(list->topLevelItem(0));
        remove->click();
        QVERIFY(confirmation->isVisible());
        QVERIFY(confirmation->findChild<QLabel*>()->text().contains(u"10 caractères, 5 erreurs"_s));
        confirmation->findChild<QPushButton*>(u"annulerSuppression"_s)->click();
        QVERIFY(!confirmation->isVisible());
        QCOMPARE(app.history.copies(QDateTime())->size(), 2);

        remove->click();
        confirmation->findChild<QPushButton*>(u"confirmerSuppression"_s)->click();
        QCOMPARE(list->topLevelItemCount(), 1);
        const auto copies = app.history.copies(QDateTime());
        QCOMPARE(copies->size(), 1);
        QCOMPARE(copies->first().characters, 150);
        const auto weak = app.history.weaknesses(QDateTime());
        const CharacterWeakness* b = weaknessOf(*weak, u"b"_s);
        const CharacterWeakness* d = weaknessOf(*weak, u"d"_s);
        QVERIFY(b && d);
        QCOMPARE((QList<int>{b->sent, b->wrong, d->sent, d->miscopied}), (QList<int>{4, 1, 0, 1}));
        QCOMPARE(b->confusions, (QList<Confusion>{{Mark::Wrong, u"b"_s, u"d"_s, 1}}));
        QCOMPARE(d->confusions, QList<Confusion>{});
        QCOMPARE(categories(progress, "erreurs"), QStringList{u"B"_s});
        QCOMPARE(progress->findChild<QLabel*>(u"etat"_s)->text(), u"1 copie corrigée"_s);
    }
};

TONIQUE_TEST(TestMarkingWindow, Widgets)
#include "tst_markingwindow.moc"
