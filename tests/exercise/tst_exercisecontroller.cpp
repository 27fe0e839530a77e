#include "app/AppController.h"
#include "exercise/ExerciseController.h"
#include "fakes/TestApp.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// The generators, presets and tools as the window runs them: fields read, writes made, sound rendered.
class TestExerciseController : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    QString text() { return app->ctx().exercise.text(); }
    qsizetype commands(const QString& command) { return app->player.commands.count(command); }
    // The text as the generator left it: the rendering trims Text2 in place but its text file (TEST.txt, records of
    // 36 characters ending in CR CR LF) keeps it whole.
    QString rendered()
    {
        QFile file(app->folder() + QStringLiteral("/TEST.txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).remove(QStringLiteral("\r\r\n"))
                                              : QString();
    }
    void run(const QString& handler)
    {
        using E = ExerciseController;
        // clang-format off
        static const QMap<QString, void (E::*)()> handlers{
            {"Command5Click", &E::Command5Click}, {"Command6Click", &E::Command6Click},
            {"Command7Click", &E::Command7Click}, {"Command8Click", &E::Command8Click}, {"ex1", &E::ex1},
            {"EX2", &E::EX2}, {"diag", &E::diag}, {"melange", &E::melange}, {"indicatifs", &E::indicatifs},
            {"inv", &E::inv}, {"double", &E::doubleSpaces}, {"acc", &E::acc}, {"Command4Click", &E::Command4Click}};
        // clang-format on
        (app->ctx().exercises->*handlers.value(handler))();
    }

private slots:
    void init()
    {
        app = std::make_unique<TestApp>();
        app->ctx().exercise.set(QStringLiteral("old "));
        app->player.commands.clear();
    }

    void startUpOpensOnExam()
    {
        // init() wrote "old " after the start-up, whose rendering of the exam exercise is still on disk.
        QVERIFY(QRegularExpression(QStringLiteral("^([a-z]{5} ){30}([0-9]{5} ){6}$")).match(rendered()).hasMatch());
    }

    void presets_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("reinforced");
        QTest::addColumn<QString>("shape"); // the whole text
        QTest::addColumn<int>("ks");        // reinforced characters: one per letter group
        QTest::addColumn<QString>("text3");
        QTest::addColumn<QString>("text6");
        const auto row = [](const char* tag, QString preset, QString k, QString shape, int ks, QString t3, QString t6) {
            QTest::newRow(tag) << preset << k << QString(shape).replace("L", "[a-z#]{5} ").replace("F", "[0-9]{5} ")
                               << ks << t3 << t6;
        };
        row("ex1", "ex1", "", "^(L){30}(F){6}$", 0, "30", "6");
        row("ex1, # reinforced", "ex1", "#", "^(L){30}(F){6}$", 30, "30", "6");
        row("EX2", "EX2", "", "^((L){5}F){6}$", 0, "5", "1");
        row("diag, # reinforced", "diag", "#", "^(L){5}F((L){4}F){5}(L){5}$", 30, "5", "1"); // 6, 11, ... 31
        row("melange, # unused", "melange", "#", "^([0-9a-z.,?/+'<*]{5} ){36}$", 0, "36", "8");
        row("indicatifs", "indicatifs", "",
            "^(([A-Z]{1,2}/)?([A-Z][0-9][A-Z]|[0-9][A-Z]{2})[A-Z]{0,2}(/M|/MM|/P)? ){36}$", 0, "7", "8");
    }

    void presets()
    {
        QFETCH(QString, preset);
        QFETCH(QString, reinforced);
        QFETCH(QString, shape);
        app->ui().Text12->setText(reinforced);
        app->ui().Text3->setText(QStringLiteral("7"));
        app->ui().Text6->setText(QStringLiteral("8"));
        run(preset);
        QCOMPARE(rendered().trimmed(), text());
        QVERIFY2(QRegularExpression(shape).match(rendered()).hasMatch(), qPrintable(rendered()));
        QTEST(int(text().count(u'#')), "ks");
        QTEST(app->ui().Text3->text(), "text3");
        QTEST(app->ui().Text6->text(), "text6");
        QCOMPARE(commands("Open"), 1);
        if (preset == u"melange") // the default set gives letters, figures and signs alike
            for (const char* kind : {"[a-z]", "[0-9]", "[.,?/+'<*]"})
                QVERIFY(text().contains(QRegularExpression(kind)));
    }

    void edits_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("count"); // into Text3, Text6, Text7 and the speed Combo1
        QTest::addColumn<QString>("set");   // into TEXT1 and Text8
        QTest::addColumn<QString>("after"); // pattern
        QTest::addColumn<int>("writes");    // each withdraws the sound: one "Close"; -1: not counted
        const auto row = [](const char* tag, QString handler, QString before, QString count, QString set, QString after,
                            int writes) { QTest::newRow(tag) << handler << before << count << set << after << writes; };
        row("LETTRES 2.9", "Command5Click", "old ", "2.9", "abc123", "^old ([abc]{5} ){2}$", 12);
        row("LETTRES douze", "Command5Click", "old ", "douze", "abc", "^old $", 0);
        row("CHIFFRES", "Command6Click", "old ", "1", "0123456789", "^old [0-9]{5} $", 6);
        row("DIV", "Command8Click", "old ", "2", "?/", "^old ([?/]{5} ){2}$", 12);
        row("DIV, empty set", "Command8Click", "old ", "2", "", "^old   $", 12);
        row("CLS", "Command7Click", "old ", "", "", "^$", 1);
        row("inv", "inv", "abc de", "", "", "^ed cba$", 2); // its own Close, then the write
        row("inv, line break", "inv", "a\r\nb", "", "", "^b\n\ra$", 2);
        row("double", "double", "ab cd", "", "", "^a b   c d $", 6);
        row("acc", "acc", "Élève: Ç!-()\"oui\";«»", "", "", "^eleve  c    'oui',«»$", 1);
        row("acc, capitals", "acc", "ÉÈÊÀÇÎÔÙÛ ÂËÏÜ", "", "", "^eeeaciouu âëïü$", 1);
        row("speed check 12", "Command4Click", "old ", "12", "", "^(PARIS ){11}PARIS$", -1); // 71 characters
        row("speed check 12.5", "Command4Click", "old ", "12.5", "", "^(PARIS ){12}$", -1);
    }

    void edits()
    {
        QFETCH(QString, handler);
        QFETCH(QString, before);
        QFETCH(QString, count);
        QFETCH(QString, set);
        QFETCH(QString, after);
        Form& ui = app->ui();
        for (QLineEdit* field : {ui.Text3, ui.Text6, ui.Text7})
            field->setText(count);
        ui.Combo1->setCurrentText(count);
        app->ctx().app->ShowSettingsView();
        ui.TEXT1->setCurrentText(set);
        ui.Text8->setText(set);
        app->ctx().exercise.set(before);
        app->player.commands.clear();
        run(handler);
        const bool check = handler == u"Command4Click";
        const QString result = check ? rendered() : text();
        QVERIFY2(QRegularExpression(after).match(result).hasMatch(), qPrintable(result));
        QFETCH(int, writes);
        if (writes >= 0)
            QCOMPARE(int(commands("Close")), writes);
        // Only the speed check renders, empties the start and end marks and comes back to the exercise view.
        QCOMPARE(commands("Open"), check ? 1 : 0);
        QCOMPARE(ui.Text4->text().isEmpty() && ui.Text9->text().isEmpty() && ui.Frame1->isHidden(), check);
    }

    void ouvrir_data()
    {
        QTest::addColumn<QString>("name"); // empty: cancelled
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, QString name, QByteArray bytes, QString expected) {
            QTest::newRow(tag) << name << bytes << expected;
        };
        row("ABC/DEF", "a.txt", "ABC\r\nDEF\r\n", "ABCDEF");
        row("LF, CR, empty line, no final end", "b.txt", "A\nB\rC\r\n\r\nD", "ABCD");
        row("UTF-8 with BOM", "c.txt", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\n", "été");
        row("Windows-1252", "d.txt", "\xE9t\xE9 \x80", "été €");
        row("binary", "e.txt", QByteArray("GIF89a\0\0\x01", 9), "");
        row("missing", "f.txt", {}, "");
        row("cancelled", "", {}, "");
    }

    void ouvrir()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = name.isEmpty() ? QString() : app->folder() + u'/' + name;
        QFile file(path);
        if (!bytes.isEmpty())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        app->fileDialog.nextFile = path;
        app->ctx().exercises->ouvrir();
        QTEST(text(), "expected");
        QCOMPARE(app->fileDialog.filters, QStringList{"TXT (*.txt)"});
    }
};

QTEST_MAIN(TestExerciseController)
#include "tst_exercisecontroller.moc"
