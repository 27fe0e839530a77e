#include "TestMain.h"
#include "fakes/TestApp.h"
#include "playback/PreparedExercise.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// The sounds prepared, as the marking hears of them.
struct Prepared : PreparedExerciseListener
{
    void exercisePrepared(const PreparedExercise& prepared) override { sounds << prepared; }
    QList<PreparedExercise> sounds;
};

TextField callSign(qsizetype start)
{
    return {FieldKind::CallSign, start, 5, {}};
}

// A text as a generator gives it, and what becomes of its pieces after `then`.
struct Fields
{
    QString text;
    TextFields given;
    QString then;       // a control run after the text was prepared ("" none, "key" a key typed into Text2)
    TextFields sounded; // the fields of the last sound prepared, "Préparer La Musique" pressed after `then`
};

} // namespace

// A field as a failed comparison shows it.
char* toString(const TextField& field)
{
    return QTest::toString(FieldKindName(field.kind) + u' ' + field.label + u'@' + QString::number(field.start) + u'+' +
                           QString::number(field.length));
}

Q_DECLARE_METATYPE(Fields)

// The menu "Textes" as the window runs it, on a fake generator of French texts.
class TestTextsMenu : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    Prepared prepared;
    QString text() { return app->exercise().text(); }

    void start(TestApp::Options options = {})
    {
        prepared.sounds.clear();
        app = std::make_unique<TestApp>(options);
        app->window->addPreparedListener(&prepared);
        app->exercise().set(QStringLiteral("old "));
        app->player.commands.clear();
        app->texts.text = {QStringLiteral("CQ DE F4ABC K"), {callSign(6)}, {}};
    }
    void run(const QString& control) { app->run(control); }

private slots:
    void init() { start(); }

    // Between "Groupes aléatoire" and "Actions", gone with them in the settings view and back with them.
    void menuPlaceAndViews()
    {
        Form& ui = app->ui();
        QStringList bar;
        for (QAction* a : app->window->menuBar()->actions())
            bar << a->text();
        const qsizetype groups = bar.indexOf(QStringLiteral("&Groupes aléatoire"));
        QCOMPARE(bar.mid(groups, 3), QStringList({QStringLiteral("&Groupes aléatoire"), QStringLiteral("&Textes"),
                                                  QStringLiteral("&Actions")}));
        QStringList items;
        for (QAction* a : ui.textes->actions())
            items << (a->isSeparator() ? QStringLiteral("--") : a->text());
        QCOMPARE(items, QStringList({"&QSO", "&Mots", "&Texte en clair", "Examen &complet", "--",
                                     "Seulement les caractères appris"}));
        QVERIFY(ui.appris->isCheckable());
        QVERIFY(!ui.appris->isChecked());

        ui.afff->trigger();
        QVERIFY(!ui.textes->menuAction()->isVisible());
        ui.Command25->click();
        QVERIFY(ui.textes->menuAction()->isVisible());
    }

    void items_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("learnedOnly");
        QTest::newRow("QSO") << "qso"
                             << "qso" << 0 << false;
        QTest::newRow("Mots, 36 words") << "mots"
                                        << "mots" << 36 << false;
        QTest::newRow("Texte en clair, 180 characters") << "clair"
                                                        << "clair" << 180 << false;
        QTest::newRow("QSO, learned characters only") << "qso"
                                                      << "qso" << 0 << true;
        QTest::newRow("Mots, learned characters only") << "mots"
                                                       << "mots" << 36 << true;
    }

    // Each item asks its generator once (for the learner's characters when ticked), writes the text with its pieces
    // and prepares its sound once.
    void items()
    {
        QFETCH(QString, item);
        QFETCH(QString, kind);
        QFETCH(int, size);
        QFETCH(bool, learnedOnly);
        app->ui().TEXT1->setCurrentText(QStringLiteral("egmz0ahtr1"));
        app->ui().appris->setChecked(learnedOnly);
        app->player.commands.clear();
        QSignalSpy shown(app->ui().Text2, &QPlainTextEdit::textChanged);
        run(item);
        QCOMPARE(app->texts.requests.size(), 1);
        QCOMPARE(app->texts.requests[0].kind, kind);
        QCOMPARE(app->texts.requests[0].size, size);
        QCOMPARE(app->texts.requests[0].allowed,
                 learnedOnly ? std::optional<QString>(QStringLiteral("egmz0ahtr1")) : std::nullopt);
        QCOMPARE(text(), QStringLiteral("CQ DE F4ABC K"));
        QCOMPARE(app->player.commands.count(QStringLiteral("Open")), 1);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(prepared.sounds.size(), 1);
        QCOMPARE(prepared.sounds[0].fields, TextFields{callSign(6)});
        QVERIFY(app->messages.warnings.isEmpty());
    }

    // The choice is kept in the group "textes" and read again at the next start.
    void learnedOnlyKept()
    {
        app->ui().appris->setChecked(true);
        QCOMPARE(app->textsSettings.values.value(QStringLiteral("appris")), QStringLiteral("true"));
        TestApp::Options options;
        options.textChoices = {{QStringLiteral("appris"), QStringLiteral("true")}};
        start(options);
        QVERIFY(app->ui().appris->isChecked());
        app->ui().appris->setChecked(false);
        QCOMPARE(app->textsSettings.values.value(QStringLiteral("appris")), QStringLiteral("false"));
    }

    void fields_data()
    {
        QTest::addColumn<Fields>("f");
        const TextFields two{callSign(6), {FieldKind::Qth, 12, 4, {}}};
        const QString qso = QStringLiteral("CQ DE F4ABC LYON K");
        QTest::newRow("prepared again") << Fields{qso, two, "Command3", two};
        QTest::newRow("a key typed") << Fields{qso, two, "key", {}};
        QTest::newRow("a preset") << Fields{qso, two, "ex1", {}};
        QTest::newRow("a text tool") << Fields{qso, two, "inv", {}};
        QTest::newRow("cleared") << Fields{qso, two, "Command7", {}};
        // Positions in the text as it is sounded, without its outer spaces.
        QTest::newRow("trimmed") << Fields{"   CQ DE F4ABC K  ", {callSign(9)}, "", {callSign(6)}};
        QTest::newRow("trimmed, cut at both ends")
            << Fields{"  F4ABC  ",
                      {{FieldKind::Name, 0, 4, {}}, {FieldKind::Name, 4, 5, {}}, {FieldKind::Name, 7, 2, {}}},
                      "",
                      {{FieldKind::Name, 0, 2, {}}, {FieldKind::Name, 2, 3, {}}}};
    }

    // The pieces of a generated text go with it into the sound; anything else written or typed takes them away, and
    // the copy is then marked as plain text.
    void fields()
    {
        QFETCH(Fields, f);
        app->texts.text = {f.text, f.given, {}};
        app->ui().qso->trigger();
        if (f.then == u"key") {
            app->ui().Text2->setFocus();
            QTest::sendKeyEvent(QTest::Click, app->ui().Text2, Qt::Key_unknown, QStringLiteral("x"), Qt::NoModifier);
        } else if (!f.then.isEmpty()) {
            run(f.then);
        }
        app->ui().Command3->click();
        QCOMPARE(prepared.sounds.last().fields, f.sounded);
        QCOMPARE(app->exercise().fields(), f.sounded);
    }

    // The exam preset's very groups from the same random stream, then the plain language, marked as two parts.
    void examenComplet()
    {
        TestApp preset;
        preset.ui().ex1->trigger();
        app->texts.text = {QStringLiteral("LE CHAT DORT."), {}, {}};
        app->ui().examenComplet->trigger();
        const QString groups = preset.exercise().text() + u' ';
        QCOMPARE(groups.size(), 216);
        QCOMPARE(text(), groups + QStringLiteral("LE CHAT DORT."));
        QCOMPARE(app->texts.requests.size(), 1);
        QCOMPARE(app->texts.requests[0].size, 180);
        QCOMPARE(app->player.commands.count(QStringLiteral("Open")), 1);
        const TextFields parts{{FieldKind::Part, 0, 215, QStringLiteral("Groupes")},
                               {FieldKind::Part, 216, 13, QStringLiteral("Texte en clair")}};
        QCOMPARE(prepared.sounds.last().fields, parts);
    }

    // Nothing to generate with, or a generator that fails: the user is told, the text stays as it was and no sound
    // is prepared; the exam still gets its groups.
    void unavailable()
    {
        TestApp::Options options;
        options.noTexts = true;
        start(options);
        for (QAction* item : {app->ui().qso, app->ui().mots, app->ui().clair, app->ui().examenComplet})
            item->trigger();
        QCOMPARE(app->messages.warnings.size(), 4);
        QVERIFY(app->messages.warnings[0].startsWith(QStringLiteral("Les textes (QSO, mots, texte en clair) ne sont")));
        QCOMPARE(text(), QStringLiteral("old "));
        QCOMPARE(app->player.commands.count(QStringLiteral("Open")), 0);

        start();
        app->texts.failure = QStringLiteral("mots.txt, ligne 3 : erreur");
        app->ui().mots->trigger();
        QCOMPARE(app->messages.warnings, QStringList{*app->texts.failure});
        QCOMPARE(text(), QStringLiteral("old "));
        app->ui().examenComplet->trigger();
        QCOMPARE(text().size(), 215); // the groups, trimmed by their rendering
        QCOMPARE(app->player.commands.count(QStringLiteral("Open")), 1);
        QCOMPARE(app->messages.warnings.size(), 2);
    }

    // What a generator left out is told once for the characters in use, again when they change.
    void leftOutToldOnce()
    {
        app->ui().appris->setChecked(true);
        app->texts.text.leftOut = QStringList{QStringLiteral("QTH")};
        app->ui().qso->trigger();
        app->ui().qso->trigger();
        QCOMPARE(app->messages.warnings.size(), 1);
        QVERIFY(app->messages.warnings[0].contains(QStringLiteral("\u202F: QTH.")));
        app->texts.text.leftOut << QStringLiteral("prénom");
        app->ui().qso->trigger();
        QCOMPARE(app->messages.warnings.size(), 2);
        QVERIFY(app->messages.warnings[1].contains(QStringLiteral("\u202F: prénom.")));
        app->ui().TEXT1->setCurrentText(QStringLiteral("egmz0"));
        app->ui().qso->trigger();
        QCOMPARE(app->messages.warnings.size(), 3);
    }
};

TONIQUE_TEST(TestTextsMenu, Widgets)
#include "tst_textsmenu.moc"
