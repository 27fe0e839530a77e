#include "TestMain.h"
#include "fakes/TestApp.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

namespace {

// Text3 and Text6 show the counts of the presets' last groups; one reinforced character (ks) per letter group.
struct Preset
{
    QString preset, reinforced, shape; // shape: L a letter group, F a figure group
    qsizetype ks;
    QString counts;
};

// Right key presses from the start of `before`, then `keys`: \b Backspace, \x7f Delete, \n Enter, \v Shift+Enter,
// \x1a Ctrl+Z, \x19 Ctrl+Y, any other character typed.
struct Typing
{
    QString before;
    int steps;
    QString keys, after;
};

struct Edit
{
    QString control, before, count, set, after; // count: into Text3, Text6, Text7 and Combo1; set: into TEXT1, Text8
    int writes;                                 // each withdraws the sound: one "Close"; -1: not counted
};

} // namespace

Q_DECLARE_METATYPE(Preset)
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Typing)

// The generators, presets and tools as the window runs them: fields read, writes made, sound rendered.
class TestExerciseController : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    QString text() { return app->exercise().text(); }
    qsizetype commands(const QString& command) { return app->player.commands.count(command); }
    // The text as the generator left it: the rendering trims Text2 in place but its text file (TEST.txt, records of
    // 36 characters ending in CR CR LF) keeps it whole.
    QString rendered()
    {
        QFile file(app->folder() + QStringLiteral("/TEST.txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).remove(QStringLiteral("\r\r\n"))
                                              : QString();
    }
    void run(const QString& control) { app->run(control); }

private slots:
    void init()
    {
        app = std::make_unique<TestApp>();
        app->exercise().set(QStringLiteral("old "));
        app->player.commands.clear();
    }

    void startUpOpensOnExam()
    {
        // init() wrote "old " after the start-up, whose rendering of the exam exercise is still on disk.
        QVERIFY(QRegularExpression(QStringLiteral("^([a-z]{5} ){30}([0-9]{5} ){6}$")).match(rendered()).hasMatch());
    }

    void presets_data()
    {
        QTest::addColumn<Preset>("p");
        QTest::newRow("ex1") << Preset{"ex1", "", "(L){30}(F){6}", 0, "30 6"};
        QTest::newRow("ex1, # reinforced") << Preset{"ex1", "#", "(L){30}(F){6}", 30, "30 6"};
        QTest::newRow("EX2") << Preset{"EX2", "", "((L){5}F){6}", 0, "5 1"};
        QTest::newRow("diag, # reinforced") << Preset{"diag", "#", "(L){5}F((L){4}F){5}(L){5}", 30, "5 1"};
        QTest::newRow("melange, # unused") << Preset{"melange", "#", "([0-9a-z.,?/+'<*]{5} ){36}", 0, "36 8"};
        QTest::newRow("indicatifs") << Preset{
            "indicatifs", "", "(([A-Z]{1,2}/)?([A-Z][0-9][A-Z]|[0-9][A-Z]{2})[A-Z]{0,2}(/M|/MM|/P)? ){36}", 0, "7 8"};
    }

    void presets()
    {
        QFETCH(Preset, p);
        app->ui().Text12->setText(p.reinforced);
        app->ui().Text3->setText(QStringLiteral("7"));
        app->ui().Text6->setText(QStringLiteral("8"));
        run(p.preset);
        QCOMPARE(rendered().trimmed(), text());
        const QString shape = u'^' + p.shape.replace(u'L', "[a-z#]{5} ").replace(u'F', "[0-9]{5} ") + u'$';
        QVERIFY2(QRegularExpression(shape).match(rendered()).hasMatch(), qPrintable(rendered()));
        QCOMPARE(text().count(u'#'), p.ks);
        QCOMPARE(app->ui().Text3->text() + u' ' + app->ui().Text6->text(), p.counts);
        QCOMPARE(commands("Open"), 1);
        if (p.preset == u"melange") // the default set gives letters, figures and signs alike
            for (const char* kind : {"[a-z]", "[0-9]", "[.,?/+'<*]"})
                QVERIFY(text().contains(QRegularExpression(kind)));
    }

    void edits_data()
    {
        QTest::addColumn<Edit>("e");
        QTest::newRow("LETTRES 2.9") << Edit{"Command5", "old ", "2.9", "abc123", "^old ([abc]{5} ){2}$", 12};
        QTest::newRow("LETTRES douze") << Edit{"Command5", "old ", "douze", "abc", "^old $", 0};
        QTest::newRow("CHIFFRES") << Edit{"Command6", "old ", "1", "0123456789", "^old [0-9]{5} $", 6};
        QTest::newRow("DIV") << Edit{"Command8", "old ", "2", "?/", "^old ([?/]{5} ){2}$", 12};
        QTest::newRow("DIV, empty set") << Edit{"Command8", "old ", "2", "", "^old   $", 12};
        QTest::newRow("CLS") << Edit{"Command7", "old ", "", "", "^$", 1};
        QTest::newRow("inv") << Edit{"inv", "abc d\r\ne", "", "", "^e\n\rd cba$", 2}; // its own Close, then the write
        QTest::newRow("double") << Edit{"double", "ab cd", "", "", "^a b   c d $", 6};
        QTest::newRow("double, beyond 16 bits") << Edit{"double", "a\U0001F600", "", "", "^a \U0001F600 $", 3};
        QTest::newRow("acc") << Edit{"acc", "Élève: Ç!-()\"oui\";«»", "", "", "^eleve  c    'oui',«»$", 1};
        QTest::newRow("acc, capitals") << Edit{"acc", "ÉÈÊÀÇÎÔÙÛ ÂËÏÜ", "", "", "^eeeaciouu âëïü$", 1};
        QTest::newRow("acc, beyond 16 bits") << Edit{"acc", "\U00010400É", "", "", "^\U00010428e$", 1};
        // The speed check renders, empties the start and end marks and comes back to the exercise view.
        QTest::newRow("speed check 12") << Edit{"Command4", "old ", "12", "", "^(PARIS ){11}PARIS$", -1}; // 71 chars
        QTest::newRow("speed check 12.5") << Edit{"Command4", "old ", "12.5", "", "^(PARIS ){12}$", -1};
    }

    void edits()
    {
        QFETCH(Edit, e);
        Form& ui = app->ui();
        for (QLineEdit* field : {ui.Text3, ui.Text6, ui.Text7})
            field->setText(e.count);
        ui.Combo1->setCurrentText(e.count);
        app->ui().afff->trigger();
        ui.TEXT1->setCurrentText(e.set);
        ui.Text8->setText(e.set);
        app->exercise().set(e.before);
        app->player.commands.clear();
        run(e.control);
        const bool check = e.control == u"Command4";
        const QString result = check ? rendered() : text();
        QVERIFY2(QRegularExpression(e.after).match(result).hasMatch(), qPrintable(result));
        if (e.writes >= 0)
            QCOMPARE(int(commands("Close")), e.writes);
        QCOMPARE(commands("Open"), check ? 1 : 0);
        QCOMPARE(ui.Text4->text().isEmpty() && ui.Text9->text().isEmpty() && ui.Frame1->isHidden(), check);
    }

    void typing_data()
    {
        QTest::addColumn<Typing>("t");
        QTest::newRow("untouched around the edit") << Typing{"a\u00A0b\tc\nd\re", 9, "xé", "a\u00A0b\tc\nd\rexé"};
        QTest::newRow("Enter") << Typing{"ab", 1, "\n", "a\r\nb"};
        QTest::newRow("Shift+Enter") << Typing{"ab", 1, "\v", "a\r\nb"};
        QTest::newRow("CR LF deleted whole") << Typing{"a\r\nb\nc", 1, "\x7f", "ab\nc"};
        QTest::newRow("slash then letter") << Typing{"ESMM", 2, "/x", "ES/xMM"};
        QTest::newRow("Backspace after a slash") << Typing{"ES/MM M", 3, "\b", "ESMM M"};
        QTest::newRow("Delete before a slash") << Typing{"ES/MM", 2, "\x7f", "ESMM"};
        QTest::newRow("steps over signs") << Typing{"A-B?C/D", 6, "x", "A-B?C/xD"};
        QTest::newRow("undone, redone") << Typing{"ES\nMM", 2, "/M\x1a\x1a\x19", "ES/M\nMM"};
    }

    // Keys typed into Text2 change the exercise text where they are typed and nowhere else, with changes of the view
    // that stay within the words typed into, and what is written for the sound is the text itself.
    // Doubling the spaces of a long text shows its progress and, cancelled part way, leaves the text as it was.
    void spreadCancelled()
    {
        const QString before = QString(140000, u'k');
        app->exercise().set(before);
        app->progress.cancelAt = 0.4;
        app->ui().doubleSpaces->trigger();
        QCOMPARE(app->progress.labels.last(), QStringLiteral("Espaces doublés..."));
        QCOMPARE(text(), before);
    }

    // A paragraph of many lines is shown as blocks cut where the view's lines start anyway: the lines are those of
    // one paragraph, and keys at the edge of a block change the text there only.
    void longParagraph()
    {
        QString groups;
        for (int i = 0; i < 400; ++i)
            groups += QStringLiteral("abc") + QChar(u'a' + i % 26) + QStringLiteral("e ");
        app->exercise().set(groups);
        QPlainTextEdit* view = app->ui().Text2;
        QTextDocument* document = view->document();
        QCOMPARE(document->blockCount(), 2);
        qsizetype shownLines = 0;
        for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
            for (int i = 0; i < block.layout()->lineCount(); ++i, ++shownLines) {
                const QTextLine line = block.layout()->lineAt(i);
                if (shownLines < 66)
                    QCOMPARE(line.textLength(), 36);
            }
        }
        QCOMPARE(shownLines, 67); // 2400 characters, 36 to a line
        QTextCursor cursor(document->findBlockByNumber(1));
        view->setTextCursor(cursor);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Backspace);
        QCOMPARE(text(), QString(groups).remove(48 * 36 - 1, 1));
        QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QStringLiteral("x"), Qt::NoModifier);
        QCOMPARE(text(), QString(groups).replace(48 * 36 - 1, 1, u'x'));
    }

    void typing()
    {
        QFETCH(Typing, t);
        const QString words = u' ' + QString(40, u'z');
        QPlainTextEdit* view = app->ui().Text2;
        app->exercise().set(t.before + words);
        app->player.commands.clear();
        QSignalSpy changes(view->document(), &QTextDocument::contentsChange);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < t.steps; ++i)
            QTest::keyClick(view, Qt::Key_Right);
        for (const QChar key : t.keys) {
            if (key == u'\b')
                QTest::keyClick(view, Qt::Key_Backspace);
            else if (key == u'\x7f')
                QTest::keyClick(view, Qt::Key_Delete);
            else if (key == u'\n' || key == u'\v')
                QTest::keyClick(view, Qt::Key_Return, key == u'\v' ? Qt::ShiftModifier : Qt::NoModifier);
            else if (key == u'\x1a' || key == u'\x19')
                QTest::keyClick(view, key == u'\x1a' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
            else
                QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QString(key), Qt::NoModifier);
        }
        QCOMPARE(text(), t.after + words);
        QVERIFY(commands("Close") > 0);
        for (const QList<QVariant>& change : changes)
            QVERIFY(change[1].toInt() + change[2].toInt() < words.size());
        // The view shows the text: its line ends as paragraphs, nothing more, nothing less.
        QString shown = view->document()->toRawText();
        shown.remove(QChar(0x200D));
        QString lines = text();
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n').replace(u'\n', QChar(0x2029));
        QCOMPARE(shown, lines);
        app->ui().Command3->click();
        QCOMPARE(rendered(), text());
    }

    // A copy carries the exercise text itself, not the view's joiners; pasting it back gives the same text again.
    void copyPaste()
    {
        const QString calls = QStringLiteral("ES/C4GDY/MM\u00A0F5ABC\r\nDL-K2?\nX");
        app->exercise().set(calls);
        QPlainTextEdit* view = app->ui().Text2;
        view->setFocus();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), calls);
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text(), calls + QStringLiteral("ES/C4GDY/MM\u00A0F5ABC\r\nDL-K2?\r\nX")); // typed line ends: CR LF
    }

    void ouvrir_data()
    {
        QTest::addColumn<QString>("name"); // empty: cancelled
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("warned"); // a notice naming the file
        QTest::newRow("ABC/DEF") << "a.txt" << QByteArray("ABC\r\nDEF\r\n") << "ABCDEF" << false;
        QTest::newRow("LF, CR, empty line, no final end")
            << "b.txt" << QByteArray("A\nB\rC\r\n\r\nD") << "ABCD" << false;
        QTest::newRow("UTF-8 with BOM") << "c.txt" << QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\n") << "été" << false;
        QTest::newRow("Windows-1252") << "d.txt" << QByteArray("\xE9t\xE9 \x80") << "été €" << false;
        QTest::newRow("UTF-16 LE") << "u.txt" << QByteArray("\xFF\xFE\xE9\0t\0\r\0\n\0\x3D\xD8\0\xDE", 14)
                                   << "ét\U0001F600" << false;
        QTest::newRow("UTF-16 BE") << "v.txt" << QByteArray("\xFE\xFF\0A\0\n\0B", 8) << "AB" << false;
        QTest::newRow("binary") << "e.txt" << QByteArray("GIF89a\0\0\x01", 9) << "" << true;
        QTest::newRow("UTF-16 without its mark") << "w.txt" << QByteArray("A\0B\0", 4) << "" << true;
        QTest::newRow("missing") << "f.txt" << QByteArray() << "" << false;
        QTest::newRow("cancelled") << "" << QByteArray() << "" << false;
    }

    // "Imprimer" sends the window as it is shown to the printer, and says nothing when there is none.
    void imprimer()
    {
        app->ui().imprimer->trigger();
        QCOMPARE(app->printer.printed.size(), 1);
        QCOMPARE(app->printer.printed[0].size(), app->window->grab().size());
        QCOMPARE(app->printer.printed[0], app->window->grab().toImage());
        app->printer.available = false;
        app->ui().imprimer->trigger();
        QVERIFY(app->messages.criticals.isEmpty() && app->messages.warnings.isEmpty());
    }

    void ouvrir()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFile file(name.isEmpty() ? QString() : app->folder() + u'/' + name);
        if (!bytes.isEmpty())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        app->fileDialog.nextFile = file.fileName();
        app->ui().ouvrir->trigger();
        QTEST(text(), "expected");
        QFETCH(bool, warned);
        QCOMPARE(app->messages.warnings.size(), warned ? 1 : 0);
        if (warned)
            QVERIFY2(app->messages.warnings.front().contains(name), qPrintable(app->messages.warnings.front()));
    }
};

TONIQUE_TEST(TestExerciseController, Widgets)
#include "tst_exercisecontroller.moc"
