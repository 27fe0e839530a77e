#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/ScriptedRandomSource.h"
#include "fakes/TestApp.h"
#include "sound/PlayerView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startUp_emptyStore();
    void startUp_showsAtItsOwnSize();
    void startUp_signFileProblems_data();
    void startUp_signFileProblems();
    void storedEmptyCharacterGap();
    void startUp_tellsWhySilent_data();
    void startUp_tellsWhySilent();
    void save_thenNextStartReadsValues();
    void reset_putsExamValues();
    void settingsView_hidesMenusAndUnticksCache();
    void timer1_blinksAndDraws();
    void timing_followsFields();
    void typedValues_notCompleted_data();
    void typedValues_notCompleted();
    void listsFollowTheirText_data();
    void listsFollowTheirText();
    void altLetter_typesNothing();
    void sameValueAssigned_stillRecomputes();
    void exerciseText_wrapsAfterSixGroups();
};

static QString text(const TestApp& app, const char* name)
{
    if (auto* e = app.find<QLineEdit>(QString::fromLatin1(name)))
        return e->text();
    return app.find<QComboBox>(QString::fromLatin1(name))->currentText();
}

void TestMainWindow::startUp_emptyStore()
{
    TestApp app;
    QVERIFY(!app.startUpError);
    QCOMPARE(app.window->windowTitle(), QStringLiteral("Tonique,  Version :2.0.1"));

    auto* sets = app.find<QComboBox>("TEXT1");
    QCOMPARE(sets->count(), 25);
    QCOMPARE(sets->itemText(7), QStringLiteral("egmz0ahtr1nujf2idpc3wbyq4xovl5sk786=+?/9"));
    QCOMPARE(sets->itemText(8), QStringLiteral("eish5"));
    QCOMPARE(sets->itemText(24), QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz.,?/+'<*"));
    QCOMPARE(sets->currentText(), sets->itemText(24));

    const QList<std::pair<const char*, QString>> defaults = {
        {"Text20", "PARIS"}, {"Text21", "1"},       {"Text22", "3"},           {"Text23", "9"}, {"Text24", "3"},
        {"Combo1", "12"},    {"Text8", ".,?/+'<*"}, {"Text9", "VVV"},          {"Text4", "+"},  {"Text15", "1"},
        {"Texte", "0"},      {"Text11", "TEST"},    {"TP", "97.7198697068404"}};
    for (const auto& [name, value] : defaults)
        QVERIFY2(text(app, name) == value, name);
    QCOMPARE(app.find<QScrollBar>("vol")->value(), 64);
    QCOMPARE(app.find<QScrollBar>("HScroll4")->value(), 800);

    QCOMPARE(app.find<QComboBox>("Combo1")->count(), 59);
    QCOMPARE(app.find<QComboBox>("Texte")->count(), 30);
    QCOMPARE(app.find<QPushButton>("Command25")->text(), QStringLiteral("EXERCICES"));
    QVERIFY(app.find<QGroupBox>("Frame1")->isHidden());
    QVERIFY(app.find<QGroupBox>("Frame2")->isHidden());
    QCOMPARE(app.player.interval, 999);
    QCOMPARE(app.beep.count, 0);
}

namespace {

// The size of a window each time it is shown.
class ShownSizes : public QObject
{
public:
    QList<QSize> sizes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            sizes << static_cast<QWidget*>(watched)->size();
        return false;
    }
};

} // namespace

// The window appears at its own size: shown at another, it would be drawn and laid out twice before the user sees
// it, and a window manager would show it small for a moment.
void TestMainWindow::startUp_showsAtItsOwnSize()
{
    TestApp::Options options;
    options.startUp = false;
    TestApp app(options);
    ShownSizes shown;
    app.window->installEventFilter(&shown);
    QVERIFY(!app.window->startUp());
    QCOMPARE(shown.sizes, QList<QSize>{app.window->size()});
    QCOMPARE(app.find<QGroupBox>("Frame1")->width(), app.ui().central->width());
}

void TestMainWindow::startUp_signFileProblems_data()
{
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << true << QByteArray() << 0 << "introuvable";
    QTest::newRow("101 lines") << false << QByteArray("e .\r\n").repeated(101) << 101 << "101";
}

void TestMainWindow::startUp_signFileProblems()
{
    QFETCH(bool, missing);
    QFETCH(QByteArray, bytes);
    QFETCH(int, listed);
    QFETCH(QString, says);
    TestApp::Options options;
    options.missingSignFile = missing;
    if (!missing)
        options.signFile = bytes;
    TestApp app(options);
    QVERIFY(app.startUpError);
    QVERIFY(app.startUpError->contains(QStringLiteral("telkey.ref")));
    QVERIFY(app.startUpError->contains(says));
    QCOMPARE(app.find<QListWidget>("List2")->count(), listed);
}

// An emptied character gap is refilled with "1" at start-up too, and the exercise has its sound.
void TestMainWindow::storedEmptyCharacterGap()
{
    TestApp::Options options;
    options.settings = {{"espb", QString()}};
    TestApp app(options);
    QVERIFY(!app.startUpError);
    QCOMPARE(text(app, "Text22"), QStringLiteral("1"));
    QCOMPARE(text(app, "TP"), QString::number(60000.0 / (12 * 35 + 99 - 1), 'g', 15));
    QVERIFY(QFileInfo(app.folder() + "/TEST.wav").size() > 58 * 100);
}

// A sign file or settings that give no sound: the program starts as its settings say, and tells once, without
// waiting for an answer, what is wrong and how to put it right.
void TestMainWindow::startUp_tellsWhySilent_data()
{
    QTest::addColumn<QByteArray>("signs"); // empty: the delivered file
    QTest::addColumn<QString>("key");      // a stored parameter...
    QTest::addColumn<QString>("value");    // ...and its value
    QTest::addColumn<QString>("said");     // empty: nothing to say
    QFile delivered(BuildFolder::file("telkey.ref"));
    QVERIFY(delivered.open(QIODevice::ReadOnly));
    const QByteArray good = delivered.readAll();
    QTest::newRow("all well") << QByteArray() << "mn"
                              << "12" << QString();
    QTest::newRow("LF line ends") << QByteArray(good).replace("\r\n", "\n") << "mn"
                                  << "12"
                                  << "fins de ligne LF";
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + good << "paris"
                                     << "ARIS"
                                     << "marque d'ordre des octets";
    QTest::newRow("capitals") << good.toUpper() << "mn"
                              << "12"
                              << "en majuscules";
    QTest::newRow("empty file") << QByteArray("\r\n") << "mn"
                                << "12"
                                << "est vide";
    QTest::newRow("speed 0") << QByteArray() << "mn"
                             << "0"
                             << "ne donnent pas de temps du point positif";
    QTest::newRow("dash of -1000") << QByteArray() << "tp"
                                   << "-1000"
                                   << "ne donnent pas de temps du point positif";
    QTest::newRow("thinking time 1e12") << QByteArray() << "supl"
                                        << "1e12"
                                        << "durée négative ou démesurée";
}

void TestMainWindow::startUp_tellsWhySilent()
{
    QFETCH(QByteArray, signs);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, said);
    TestApp::Options options;
    if (!signs.isEmpty())
        options.signFile = signs;
    options.settings = {{key, value}};
    TestApp app(options);
    QVERIFY(!app.startUpError);
    if (said.isEmpty()) {
        QVERIFY(app.messages.warnings.isEmpty());
        return;
    }
    QCOMPARE(app.messages.warnings.size(), 1);
    QVERIFY2(app.messages.warnings[0].contains(said), qPrintable(app.messages.warnings[0]));
    QVERIFY(app.ui().TP->toolTip().contains(said));
}

void TestMainWindow::save_thenNextStartReadsValues()
{
    QMap<QString, QString> stored;
    {
        TestApp app;
        app.ui().afff->trigger();
        app.find<QComboBox>("Text20")->setEditText(QStringLiteral("CODEX"));
        app.find<QLineEdit>("Text21")->setText(QStringLiteral("2"));
        app.find<QComboBox>("Combo1")->setEditText(QStringLiteral("20"));
        app.find<QLineEdit>("Text9")->setText(QStringLiteral("VVV VVV"));
        app.find<QLineEdit>("Text15")->setText(QStringLiteral("3"));
        app.find<QComboBox>("Texte")->setEditText(QStringLiteral("0.5"));
        app.find<QScrollBar>("HScroll4")->setValue(1000);
        app.find<QScrollBar>("vol")->setValue(100);
        QTest::mouseClick(app.find<QPushButton>("Command24"), Qt::LeftButton);
        QCOMPARE(app.settings.writes, (QStringList{"paris", "espa", "espb", "espc", "tp", "mn", "prog", "com", "ponctu",
                                                   "deb", "fin", "supl", "tona", "vol"}));
        QCOMPARE(app.settings.values.value("tona"), QStringLiteral("1000"));
        QVERIFY(app.find<QGroupBox>("Frame1")->isHidden()); // back to the exercise view
        stored = app.settings.values;
    }
    TestApp::Options options;
    options.settings = stored;
    TestApp next(options);
    QCOMPARE(text(next, "Text20"), QStringLiteral("CODEX"));
    QCOMPARE(text(next, "Text21"), QStringLiteral("2"));
    QCOMPARE(text(next, "Combo1"), QStringLiteral("20"));
    QCOMPARE(text(next, "Text9"), QStringLiteral("VVV VVV"));
    QCOMPARE(text(next, "Text15"), QStringLiteral("3"));
    QCOMPARE(text(next, "Texte"), QStringLiteral("0.5"));
    QCOMPARE(next.find<QScrollBar>("HScroll4")->value(), 1000);
    QCOMPARE(next.find<QScrollBar>("vol")->value(), 100);
}

void TestMainWindow::reset_putsExamValues()
{
    TestApp::Options options;
    options.settings = {{"paris", "CODEX"}, {"mn", "20"}, {"com", "3"}, {"deb", ""}, {"tona", "1200"}, {"vol", "20"}};
    TestApp app(options);
    QCOMPARE(text(app, "Text20"), QStringLiteral("CODEX"));
    app.ui().afff->trigger();
    QTest::mouseClick(app.find<QPushButton>("Command23"), Qt::LeftButton);
    QCOMPARE(text(app, "Text20"), QStringLiteral("PARIS"));
    QCOMPARE(text(app, "Combo1"), QStringLiteral("12"));
    QCOMPARE(text(app, "Text9"), QStringLiteral("VVV"));
    QCOMPARE(text(app, "Text15"), QStringLiteral("3")); // the port is left alone
    QCOMPARE(text(app, "TP"), QStringLiteral("97.7198697068404"));
    QCOMPARE(app.find<QScrollBar>("HScroll4")->value(), 900);
    QCOMPARE(app.find<QScrollBar>("vol")->value(), 64);
    QVERIFY(app.settings.writes.isEmpty());              // nothing saved
    QVERIFY(app.find<QGroupBox>("Frame1")->isVisible()); // the view does not change
}

void TestMainWindow::settingsView_hidesMenusAndUnticksCache()
{
    TestApp app;
    Form& ui = app.ui();
    const int fullHeight = app.window->height();
    ui.Check2->setChecked(true);
    QVERIFY(app.window->height() < fullHeight / 2);
    // The panel's picture and the sign list's colours are made when the panel is first shown.
    QVERIFY(ui.Image1->pixmap().isNull());

    ui.afff->trigger();
    QVERIFY(!ui.Image1->pixmap().isNull());
    QVERIFY(ui.List2->styleSheet().contains(u"yellow"));
    QVERIFY(!ui.Check2->isChecked());
    QCOMPARE(app.window->height(), fullHeight);
    for (QMenu* hidden : {ui.fichier, ui.gpa, ui.act, ui.entrainement})
        QVERIFY(!hidden->menuAction()->isVisible());
    QVERIFY(!ui.afff->isVisible());
    QVERIFY(ui.Clavier->isVisible());
    QVERIFY(ui.appp->menuAction()->isVisible());
    QVERIFY(ui.Frame1->isVisible());
    QCOMPARE(ui.Frame1->geometry().topLeft(), QPoint(0, 0));

    QVERIFY(!ui.MMControl1->isHidden());
    QTest::mouseClick(ui.Command25, Qt::LeftButton);
    QVERIFY(ui.Frame1->isHidden());
    QVERIFY(ui.fichier->menuAction()->isVisible());
    QVERIFY(ui.afff->isVisible());
    QVERIFY(ui.MMControl1->isHidden()); // the exercise view starts unprepared
}

void TestMainWindow::timer1_blinksAndDraws()
{
    ScriptedRandomSource random({0.5});
    TestApp::Options options;
    options.random = &random;
    TestApp app(options);
    auto* button = app.find<QPushButton>("Command25");
    const qsizetype draws = random.draws;
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        app.tick(app.ui().Timer1);
        seen << button->text();
    }
    QCOMPARE(seen, (QStringList{"OK", "", "OK", ""}));
    QCOMPARE(random.draws - draws, 4);
}

void TestMainWindow::timing_followsFields()
{
    TestApp app;
    auto* tp = app.find<QLineEdit>("TP");
    auto* speed = app.find<QComboBox>("Combo1");
    speed->setEditText(QStringLiteral("5"));
    QCOMPARE(tp->text(), QStringLiteral("240"));

    // A character the table lacks: one beep per recomputation, the dot length stays.
    app.find<QComboBox>("Text20")->setEditText(QStringLiteral("PAR#S"));
    QCOMPARE(app.beep.count, 1);
    QCOMPARE(tp->text(), QStringLiteral("240"));
    app.find<QComboBox>("Text20")->setEditText(QStringLiteral("paris"));
    QCOMPARE(tp->text(), QStringLiteral("240"));
    app.find<QComboBox>("Text20")->setEditText(QString());
    QCOMPARE(tp->text(), QStringLiteral("3000")); // W = -3 at 5 wpm: D = -15 + 36 - 1 = 20

    // An emptied character gap comes back as "1".
    app.find<QComboBox>("Text20")->setEditText(QStringLiteral("PARIS"));
    auto* charGap = app.find<QLineEdit>("Text22");
    charGap->clear();
    QCOMPARE(charGap->text(), QStringLiteral("1"));
    QCOMPARE(tp->text(), QString::number(60000.0 / (5 * 35 + 36 - 1), 'g', 15));

    // No dot in the minute: the last dot length stays, no failure.
    const QString before = tp->text();
    speed->setEditText(QStringLiteral("0"));
    QCOMPARE(tp->text(), before);
    speed->setEditText(QString());
    QCOMPARE(tp->text(), before);

    // A typed dot length is kept until the next computation.
    tp->setText(QStringLiteral("60"));
    QCOMPARE(tp->text(), QStringLiteral("60"));
    speed->setEditText(QStringLiteral("12"));
    QCOMPARE(tp->text(), QString::number(60000.0 / (12 * 35 + 99 - 1), 'g', 15));
}

// What the user types in a list field is its value: no completion from the list's items.
void TestMainWindow::typedValues_notCompleted_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("speed") << "Combo1"
                           << "1";
    QTest::newRow("reference word") << "Text20"
                                    << "C";
    QTest::newRow("thinking time") << "Texte"
                                   << "-";
    QTest::newRow("character set") << "TEXT1"
                                   << "e";
}

void TestMainWindow::typedValues_notCompleted()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    TestApp app;
    app.ui().afff->trigger();
    auto* combo = app.find<QComboBox>(field);
    QApplication::setActiveWindow(app.window.get());
    combo->setFocus();
    combo->clearEditText();
    QTest::keyClicks(combo->lineEdit(), typed);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
    QCOMPARE(combo->currentText(), typed);
}

// A list stands at the item its field shows, none when the text is no item: Enter in the opened list keeps the
// value, Down in the field gives the next item.
void TestMainWindow::listsFollowTheirText_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("speed") << "Combo1";
    QTest::newRow("word gap") << "Text23";
    QTest::newRow("thinking time") << "Texte";
    QTest::newRow("reference word") << "Text20";
}

void TestMainWindow::listsFollowTheirText()
{
    QFETCH(QString, field);
    TestApp app;
    app.ui().afff->trigger();
    auto* combo = app.find<QComboBox>(field);
    QApplication::setActiveWindow(app.window.get());
    combo->setFocus();
    const QString shown = combo->currentText();
    const int item = combo->findText(shown);
    QVERIFY(item >= 0);
    combo->showPopup();
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QCOMPARE(combo->currentText(), shown);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), combo->itemText(std::min(item + 1, combo->count() - 1)));

    QTest::keyClick(combo, Qt::Key_End);
    QTest::keyClicks(combo, QStringLiteral("0"));
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->lineEdit()->cursorPosition(), combo->currentText().size());
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), combo->itemText(0));
}

// Alt with a letter that names no menu types nothing into any field; Alt with a menu's letter opens it.
void TestMainWindow::altLetter_typesNothing()
{
    TestApp app;
    Form& ui = app.ui();
    QApplication::setActiveWindow(app.window.get());
    auto fields = [&]() -> QString { return ui.Text3->text() + u'|' + ui.Text11->text() + u'|' + ui.Text12->text(); };
    const QString before = fields();
    const QString exercise = app.exercise().text();
    for (QWidget* field : std::initializer_list<QWidget*>{ui.Text3, ui.Text11, ui.Text2, ui.Text12}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_B, Qt::AltModifier);
    }
    QCOMPARE(fields(), before);
    QCOMPARE(app.exercise().text(), exercise);
    QVERIFY(app.player.isOpen());
    QTest::keyClick(ui.Text3, Qt::Key_F, Qt::AltModifier);
    QVERIFY(ui.fichier->isVisible());
    ui.fichier->close();
}

// R.A.Z. and a list item chosen again recompute the dot length even when the field keeps its text.
void TestMainWindow::sameValueAssigned_stillRecomputes()
{
    TestApp app;
    Form& ui = app.ui();
    ui.afff->trigger();
    const QString exam = ui.TP->text();
    for (int press = 0; press < 2; ++press) {
        ui.TP->setText(QStringLiteral("50"));
        ui.Command23->click();
        QCOMPARE(ui.TP->text(), exam);
    }
    ui.TP->setText(QStringLiteral("50"));
    ui.Combo1->setCurrentIndex(ui.Combo1->findText(QStringLiteral("12")));
    QCOMPARE(ui.TP->text(), QStringLiteral("50")); // the same text: nothing has changed yet
    ui.Combo1->showPopup();
    QAbstractItemView* items = ui.Combo1->view();
    items->setCurrentIndex(items->model()->index(ui.Combo1->currentIndex(), 0));
    QTest::keyClick(items, Qt::Key_Return);
    QCOMPARE(ui.TP->text(), exam);
}

void TestMainWindow::exerciseText_wrapsAfterSixGroups()
{
    TestApp app;
    QString groups;
    for (int i = 0; i < 37; ++i)
        groups += QStringLiteral("abcde ");
    app.exercise().set(groups);
    QPlainTextEdit* text = app.ui().Text2;
    QPlainTextEdit* margin = app.ui().Text5;
    QCOMPARE(text->toPlainText(), groups);
    QVERIFY(text->font().fixedPitch() && text->font().bold());
    QCOMPARE(margin->font(), text->font());
    QTextLayout* layout = text->document()->firstBlock().layout();
    QCOMPARE(layout->lineCount(), 7);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(layout->lineAt(i).textLength(), 36);
    const qreal lineHeight = layout->lineAt(0).height();
    // Each margin line stands level with the line of groups it numbers.
    QTextCursor number(margin->document());
    QTextCursor group(text->document());
    for (int i = 0; i < 7; ++i) {
        number.setPosition(margin->document()->findBlockByNumber(i).position());
        group.setPosition(36 * i);
        QCOMPARE(margin->mapTo(app.window.get(), margin->cursorRect(number).topLeft()).y(),
                 text->mapTo(app.window.get(), text->cursorRect(group).topLeft()).y());
    }

    // Without spaces the text still wraps after 36 characters.
    app.exercise().set(QString(100, u'w'));
    QCOMPARE(text->document()->firstBlock().layout()->lineAt(0).textLength(), 36);

    // Call signs, "/" or "-" in the middle, are never cut at the end of a line: every line ends with its space.
    const QStringList signs{"ES/C4GDY/MM", "F5ABC", "DL/K2XY/P", "ON4XYZ/M", "G3ABC", "EA8-TZ?", "HB9/F8RS/MM"};
    QString calls;
    for (int i = 0; i < 36; ++i)
        calls += signs[i % signs.size()] + u' ';
    app.exercise().set(calls);
    QCOMPARE(app.exercise().text(), calls);
    const QTextBlock block = text->document()->firstBlock();
    QVERIFY(block.layout()->lineCount() > 8);
    for (int i = 0; i < block.layout()->lineCount(); ++i) {
        const QTextLine line = block.layout()->lineAt(i);
        QVERIFY2(block.text().at(line.textStart() + line.textLength() - 1) == u' ',
                 qPrintable(block.text().mid(line.textStart(), line.textLength())));
        // What keeps them whole takes no room: the lines stay as high as the margin's.
        QCOMPARE(line.height(), lineHeight);
    }
}

TONIQUE_TEST(TestMainWindow, Widgets)
#include "tst_mainwindow.moc"
