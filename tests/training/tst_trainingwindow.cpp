#include "TestMain.h"
#include "fakes/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString First = u"egmz0"_s, Second = u"egmz0ahtr1"_s;

QWidget* topLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

// The learner prepares `sent`, copies it as `copy` and marks it.
void markCopy(TestApp& app, const QString& sent, const QString& copy)
{
    app.exercise().set(sent);
    app.ui().Command3->click();
    app.find<QAction>(u"corrigerCopie"_s)->trigger();
    QWidget* window = topLevel(u"Correction"_s);
    window->findChild<QPlainTextEdit*>(u"copie"_s)->setPlainText(copy);
    window->findChild<QPushButton*>(u"corriger"_s)->click();
}

// A good copy (90 % or more: one error) of a new exercise drawn from "egmz0".
void goodCopy(TestApp& app)
{
    static int made = 0;
    const QString sent = u"egmz0 zmge0 "_s + QString(++made, u'm');
    markCopy(app, sent, sent.chopped(1) + u'e');
}

QFrame* offer(TestApp& app)
{
    return app.find<QFrame>(u"offreProgression"_s);
}

QStringList menuTexts(QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? u"-"_s : action->text());
    return texts;
}

// A history where, over the last days, "z" was missed 6 times in 10 and the rest of "egmz0" copied right; "m" was
// slow at the drill. One copy of 40 days ago, out of the period, missed "e" a hundred times.
void fillHistory(History& history, const QDateTime& now)
{
    history.recordCopy({now.addDays(-40), 10, 10, 12, PassMark{}, false, {{u"e"_s, 100, 100}}, {}});
    history.recordCopy({now.addDays(-2),
                        50,
                        6,
                        12,
                        PassMark{},
                        false,
                        {{u"e"_s, 10, 0}, {u"g"_s, 10, 0}, {u"m"_s, 10, 0}, {u"z"_s, 10, 6}, {u"0"_s, 10, 0}},
                        {{Mark::Wrong, u"z"_s, u"g"_s, 4}, {Mark::Missing, u"z"_s, {}, 2}}});
    for (const auto& [character, ms] : QList<std::pair<QString, int>>{{u"e"_s, 300}, {u"m"_s, 900}, {u"g"_s, 400}})
        history.recordDrillAnswer({now.addDays(-1), character, ms});
}

} // namespace

class TestTrainingWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isWindow())
                w->close();
        }
    }

    // "Exercice ciblé" right after "Progrès...": the count of groups of Text3 drawn from TEXT1, however the learner
    // changed them (typed, chosen from the list, the exam values), written whole, then one rendering; an empty set
    // writes nothing and says nothing.
    void targetedExercise_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("set");
        QTest::addColumn<int>("groups");
        QTest::newRow("set and count put in") << u"put"_s << u"ab"_s << 4;
        QTest::newRow("set and count typed") << u"typed"_s << u"k7"_s << 3;
        QTest::newRow("first item chosen") << u"item"_s << u"egmz0"_s << 2;
        QTest::newRow("exam values") << u"exam"_s << u"0123456789abcdefghijklmnopqrstuvwxyz.,?/+'<*"_s << 2;
        QTest::newRow("set emptied") << u"put"_s << QString() << 0;
    }
    void targetedExercise()
    {
        QFETCH(QString, how);
        QFETCH(QString, set);
        QFETCH(int, groups);
        TestApp app;
        const QStringList menu = menuTexts(app.ui().entrainement);
        const qsizetype at = menu.indexOf(u"Exercice ci&blé"_s);
        QCOMPARE(menu.mid(at - 1, 3), (QStringList{u"&Progrès..."_s, u"Exercice ci&blé"_s, u"-"_s}));

        app.ui().TEXT1->setEditText(u"xyz"_s);
        app.ui().Text3->setText(QString::number(groups));
        if (how == u"put") {
            app.ui().TEXT1->setEditText(set);
        } else if (how == u"typed") {
            app.ui().Text3->clear();
            app.ui().TEXT1->clearEditText();
            QTest::keyClicks(app.ui().TEXT1->lineEdit(), set);
            QTest::keyClicks(app.ui().Text3, QString::number(groups));
        } else if (how == u"item") {
            app.ui().TEXT1->setCurrentIndex(0);
        } else {
            app.ui().Command23->click();
        }
        QCOMPARE(app.ui().TEXT1->currentText(), set);
        app.player.commands.clear();
        app.find<QAction>(u"exerciceCible"_s)->trigger();
        if (set.isEmpty()) {
            QCOMPARE(app.exercise().text().trimmed(), QString());
            QVERIFY(app.messages.criticals.isEmpty() && app.messages.warnings.isEmpty());
            return;
        }
        const QString drawn = u'[' + QRegularExpression::escape(set) + u']';
        const QString groupOf5 = drawn + u"{5}"_s;
        const QRegularExpression expected(u"^("_s + groupOf5 + u" ){"_s + QString::number(groups - 1) + u'}' +
                                          groupOf5 + u'$');
        QVERIFY2(expected.match(app.exercise().text()).hasMatch(), qPrintable(app.exercise().text()));
        QCOMPARE(app.player.commands.count(u"Open"_s), 1);
        QFile rendered(app.folder() + u"/TEST.txt"_s);
        QVERIFY(rendered.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(rendered.readAll()).remove(u"\r\r\n"_s).trimmed(),
                 app.exercise().text().trimmed());
    }

    // After exactly the third good copy on the item (the same copy marked twice, a text not drawn from it, a
    // drilled character and a bad copy do not count), the bar offers the next item; "Oui" sets TEXT1 as the learner
    // would and remembers it over a restart.
    void offerAccepted()
    {
        TestApp app;
        app.ui().TEXT1->setEditText(First);
        QVERIFY(offer(app)->isHidden());
        goodCopy(app);
        topLevel(u"Correction"_s)->findChild<QPushButton*>(u"corriger"_s)->click(); // again: not a new copy
        markCopy(app, u"f6abc f5xyz"_s, u"f6abc f5xyz"_s);                          // call signs
        goodCopy(app);
        QVERIFY(offer(app)->isHidden());
        app.ui().Clavier->trigger(); // a character of the item, drilled then copied right
        const QString drilled = app.ui().Label19->text();
        app.ui().Command11->click();
        QWidget* marking = topLevel(u"Correction"_s);
        marking->findChild<QPlainTextEdit*>(u"copie"_s)->setPlainText(drilled);
        marking->findChild<QPushButton*>(u"corriger"_s)->click();
        QVERIFY(offer(app)->isHidden());
        goodCopy(app);
        QVERIFY(offer(app)->isVisible());
        QCOMPARE(app.find<QLabel>(u"offreTexte"_s)->text(), u"Passer à «\u202Fegmz0ahtr1\u202F»\u202F?"_s);

        app.find<QPushButton>(u"offreOui"_s)->click();
        QVERIFY(offer(app)->isHidden());
        QCOMPARE(app.ui().TEXT1->currentText(), Second);
        QCOMPARE(app.ui().TEXT1->currentIndex(), app.ui().TEXT1->findText(Second));
        QCOMPARE(app.training.values.value(u"serie"_s), Second);
        QCOMPARE(app.training.values.value(u"serieReussies"_s), u"0"_s);
        // Of "param", only the set is kept (the rest waits for SAUVE): the next start is at the new level.
        QCOMPARE(app.settings.writes, QStringList{u"prog"_s});
        TestApp::Options options;
        options.settings = app.settings.values;
        options.training = app.training.values;
        TestApp again(options);
        QCOMPARE(again.ui().TEXT1->currentText(), Second);
    }

    // "Plus tard" puts the offer off for the session; the count is kept over a restart, the refusal is not.
    void offerPutOff()
    {
        TestApp::Options options;
        options.training = {{u"serie"_s, First}, {u"serieReussies"_s, u"1"_s}};
        QMap<QString, QString> kept;
        {
            TestApp app(options);
            app.ui().TEXT1->setEditText(First);
            goodCopy(app);
            QVERIFY(offer(app)->isHidden());
            goodCopy(app);
            QVERIFY(offer(app)->isVisible());
            app.find<QPushButton>(u"offrePlusTard"_s)->click();
            QVERIFY(offer(app)->isHidden());
            for (int i = 0; i < 4; ++i)
                goodCopy(app);
            QVERIFY(offer(app)->isHidden());
            QCOMPARE(app.ui().TEXT1->currentText(), First);
            kept = app.training.values;
        }
        options.training = kept;
        TestApp again(options);
        again.ui().TEXT1->setEditText(First);
        goodCopy(again);
        QVERIFY(again.find<QFrame>(u"offreProgression"_s)->isVisible());
    }

    // The weakest character of the set over the last 30 days is proposed beside "Renforce le caractére", which only
    // a click fills; the proposal follows TEXT1. The history is opened once the window has been drawn, and the
    // proposal shows when it has been read.
    void suggestion()
    {
        SqliteHistory history;
        QVERIFY(!history.open(u":memory:"_s));
        fillHistory(history, FakeClock().date);
        TestApp::Options options;
        int opened = 0;
        options.openHistory = [&]() -> Result<History*> {
            ++opened;
            return &history;
        };
        TestApp app(options);
        QCOMPARE(opened, 0);
        QLineEdit* text12 = app.ui().Text12;
        const QString before = text12->text();
        const QRect field = text12->geometry();
        auto* button = app.find<QToolButton>(u"suggestionRenforce"_s);
        QVERIFY(button->geometry().left() > field.right());
        app.ui().TEXT1->setEditText(First);
        QCOMPARE(button->text(), u"?"_s);
        QTRY_COMPARE(button->text(), u"Z"_s);
        QCOMPARE(opened, 1);
        QVERIFY(button->toolTip().contains(u"Z reçu comme G\u202F: 4 fois"_s));
        app.ui().TEXT1->setEditText(u"eg0"_s); // "e" was missed 40 days ago only
        QCOMPARE(button->text(), u"G"_s);
        app.ui().TEXT1->setEditText(u"xyw"_s);
        QVERIFY(!button->isEnabled());
        QCOMPARE(text12->text(), before);
        QCOMPARE(text12->geometry(), field);
        app.ui().TEXT1->setEditText(First);
        button->click();
        QCOMPARE(text12->text(), u"z"_s);
    }

    // "Progrès..." shows every character of the sign table once, its numbers in the tooltip, its recognition time
    // under it; a click puts it in "Renforce le caractére".
    void characterMap()
    {
        SqliteHistory history;
        QVERIFY(!history.open(u":memory:"_s));
        fillHistory(history, FakeClock().date);
        const QDateTime at = FakeClock().date.addDays(-1);
        history.recordRecognitions({{at, u"K"_s, 300, true}, {at, u"K"_s, 500, true}, {at, u"K"_s, {}, false}});
        TestApp::Options options;
        options.history = &history;
        TestApp app(options);
        app.find<QAction>(u"progres"_s)->trigger();
        auto* map = topLevel(u"Progres"_s)->findChild<QGroupBox*>(u"carte"_s);
        QStringList shown;
        QToolButton* z = nullptr;
        QToolButton* m = nullptr;
        QToolButton* k = nullptr;
        for (QToolButton* button : map->findChildren<QToolButton*>()) {
            shown << button->text();
            if (button->text() == u"Z"_s)
                z = button;
            if (button->text() == u"M"_s)
                m = button;
            if (button->text().startsWith(u'K'))
                k = button;
        }
        QCOMPARE(shown.size(), QSet<QString>(shown.begin(), shown.end()).size());
        for (const QString& c : {u"A"_s, u"Z"_s, u"0"_s, u"9"_s, u"?"_s, u"/"_s})
            QVERIFY2(shown.contains(c), qPrintable(c));
        QVERIFY2(z->toolTip().contains(u"envoyé 10 fois, 6 erreurs"_s), qPrintable(z->toolTip()));
        QVERIFY(z->toolTip().contains(u"Confusions\u202F: Z reçu comme G\u202F: 4 fois"_s));
        QVERIFY2(m->toolTip().contains(u"Clavier\u202F: 900\u202Fms"_s), qPrintable(m->toolTip()));
        QCOMPARE(k->text(), u"K\n400"_s);
        QVERIFY2(k->toolTip().contains(u"Reconnaissance\u202F: 400\u00A0ms, 2 sur 3 reconnus"_s),
                 qPrintable(k->toolTip()));
        z->click();
        QCOMPARE(app.ui().Text12->text(), u"z"_s);
    }
};

TONIQUE_TEST(TestTrainingWindow, Widgets)
#include "tst_trainingwindow.moc"
