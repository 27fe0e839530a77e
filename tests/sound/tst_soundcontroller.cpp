#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestApp.h"
#include "fakes/TestWav.h"
#include "sound/DurationFormat.h"
#include "sound/PlayerView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <unistd.h>

namespace {

// What the window shows of the sound: player open, player shown, Command3, Text14, Text25.
QString state(TestApp& app)
{
    const Form& ui = app.ui();
    auto flag = [](bool on, char c) { return on ? QChar(c) : QChar(u'-'); };
    return QString() + flag(app.player.isOpen(), 'O') + flag(!app.ui().MMControl1->isHidden(), 'V') +
           flag(!ui.Command3->isHidden(), '3') + flag(!ui.Text14->isHidden(), 'T') + flag(!ui.Text25->isHidden(), 'C');
}

} // namespace

class TstSoundController : public QObject
{
    Q_OBJECT

private slots:
    void playbackStates_data()
    {
        // steps (r render, x text changed, p Play pressed, e playback ended, t tone test, d timing changed), state
        QTest::addColumn<QString>("row");
        QTest::newRow("prepared") << "r OV-T-";
        QTest::newRow("text changed: not prepared") << "rx --3--";
        QTest::newRow("playing, started by the user") << "rp OV-TC";
        QTest::newRow("ended and rewound") << "rpe OV-T-";
        QTest::newRow("tone test plays without count-down") << "t OV-T-";
        QTest::newRow("timing changed") << "rd --3T-";
    }
    void playbackStates()
    {
        QFETCH(QString, row);
        const QString steps = row.section(u' ', 0, 0);
        TestApp app;
        app.player.commands.clear();
        const QHash<QChar, std::function<void()>> actions{
            {u'r', [&] { app.ui().Command3->click(); }},
            {u'x', [&] { app.exercise().append(u"k"); }},
            {u'p', [&] { app.pressPlay(); }},
            {u'e', [&] { app.player.finish(); }},
            {u't', [&] { app.ui().Command1->click(); }},
            {u'd', [&] { app.ui().Texte->setEditText(QStringLiteral("1")); }},
        };
        for (const QChar step : steps)
            actions[step]();
        QCOMPARE(state(app), row.section(u' ', 1));
        if (steps.endsWith(u'e')) {
            QCOMPARE(app.player.commands.last(), QStringLiteral("Prev"));
            QCOMPARE(app.ui().Text27->text(), QStringLiteral("0"));
            QVERIFY(app.ui().Timer3->isActive());
        }
        if (steps == u"t")
            QCOMPARE(app.player.commands.last(), QStringLiteral("Play"));
    }

    // A playback started with the transmitter keyed ends exactly once whatever stops it: the line goes down, the
    // count-down is hidden and the typed characters are played again. Closing the window releases the line even
    // when CK was unticked meanwhile.
    void playbackEndsOnce_data()
    {
        QTest::addColumn<QString>("stop");
        for (const char* stop :
             {"sound ran out", "Stop button", "key typed in the text", "LETTRES", "tone moved", "speed changed",
              "EXERCICES", "exam preset", "window closed", "CK unticked, window closed"})
            QTest::newRow(stop) << QString::fromLatin1(stop);
    }
    void playbackEndsOnce()
    {
        QFETCH(QString, stop);
        TestApp app;
        Form& ui = app.ui();
        ui.CK->setChecked(true);
        app.pressPlay();
        QVERIFY(app.serial.rts && !ui.Text25->isHidden());
        const QHash<QString, std::function<void()>> stops{
            {"sound ran out", [&] { app.player.finish(); }},
            {"Stop button", [&] { app.find<QToolButton>("stopButton")->click(); }},
            {"key typed in the text", [&] { QTest::keyClick(ui.Text2, Qt::Key_K); }},
            {"LETTRES", [&] { ui.Command5->click(); }},
            {"tone moved", [&] { ui.HScroll4->setValue(810); }},
            {"speed changed", [&] { ui.Combo1->setEditText(QStringLiteral("13")); }},
            {"EXERCICES", [&] { ui.Command25->click(); }},
            {"exam preset", [&] { ui.ex1->trigger(); }},
            {"window closed", [&] { app.window->close(); }},
            {"CK unticked, window closed",
             [&] {
                 ui.CK->setChecked(false);
                 app.window->close();
             }},
        };
        stops[stop]();
        QCOMPARE(app.player.ends, 1);
        QVERIFY(!app.serial.rts && !app.serial.opened);
        QVERIFY(ui.Text25->isHidden());
        if (stop.contains(u"window")) {
            QVERIFY(!ui.Timer2->isActive());
            return;
        }
        ui.Text26->setText(QStringLiteral("e"));
        app.tick(app.ui().Timer2);
        QCOMPARE(app.player.commands.last(), QStringLiteral("Play"));
    }

    // Play takes the focus, and the Tab it sends moves on from the player whatever had the focus before: the next
    // key goes to the control after the player, not into the DIV count.
    void playMovesFocusOn()
    {
        TestApp app;
        Form& ui = app.ui();
        QVERIFY(QTest::qWaitForWindowActive(app.window.get()));
        ui.Text26->setFocus();
        QTest::mouseClick(app.find<QToolButton>("playButton"), Qt::LeftButton);
        QVERIFY(app.player.playing);
        QCOMPARE(QApplication::focusWidget(), ui.Text12);
    }

    // The player's buttons show the style's own pictures at the first paint, and the desktop theme's icons, read
    // once the window has been drawn, from then on.
    void themeIconsAfterFirstPaint()
    {
        QTemporaryDir themes;
        const QString folder = themes.filePath(QStringLiteral("essai/16x16/actions"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(TestWav::write(themes.filePath(QStringLiteral("essai/index.theme")),
                               "[Icon Theme]\nName=essai\nDirectories=16x16/actions\n\n[16x16/actions]\nSize=16\n"));
        QImage picture(16, 16, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(folder + u"/media-playback-start.png"));
        const QStringList paths = QIcon::themeSearchPaths();
        const QString name = QIcon::themeName();
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName(QStringLiteral("essai"));
        TestApp app;
        auto* play = app.find<QToolButton>("playButton");
        const QString atFirstPaint = play->icon().name();
        QVERIFY(QTest::qWaitForWindowExposed(app.window.get()));
        QTRY_COMPARE(play->icon().name(), QStringLiteral("media-playback-start"));
        QIcon::setThemeName(name);
        QIcon::setThemeSearchPaths(paths);
        QCOMPARE(atFirstPaint, QString());
    }

    // The file name's tooltip tells where the files go: the user's data folder once Tonique is installed.
    void folderShown()
    {
        TestApp app;
        QVERIFY2(app.ui().Text11->toolTip().endsWith(u"Dossier des fichiers\u202F: " +
                                                     QDir::toNativeSeparators(app.folder())),
                 qPrintable(app.ui().Text11->toolTip()));
    }

    void countDown()
    {
        TestApp app;
        app.player.length = 125300;
        app.pressPlay();
        app.player.tick();
        QCOMPARE(app.ui().Text25->text(), QStringLiteral("2' 04\" 301'''"));
        app.player.finish();
        app.player.length = 425;
        app.pressPlay();
        app.player.tick();
        QCOMPARE(app.ui().Text25->text(), QStringLiteral("-1' 59\" 426'''"));
    }

    void toneCaption()
    {
        TestApp app;
        app.ui().HScroll4->setValue(810);
        QCOMPARE(app.ui().Command1->text(), QStringLiteral("Test tonalité à ( 810Hz Vol=64)"));
        QCOMPARE(state(app).left(3), QStringLiteral("--3"));
        // The new tone is the one rendered: the same bytes as tonique-wav's at 810 Hz.
        app.exercise().set(QStringLiteral("e"));
        app.ui().Command3->click();
        QTemporaryDir cli;
        QVERIFY(TestWav::write(cli.filePath("in.txt"), "e"));
        QCOMPARE(TestWav::run(BuildFolder::file("tonique-wav"), cli.path(), {"--tone", "810", "in.txt"}), 0);
        QVERIFY(TestWav::read(cli.filePath("TEST.wav")) == TestWav::read(app.folder() + u"/TEST.wav"));
        // The longest caption fits its button.
        app.ui().HScroll4->setValue(2000);
        app.ui().vol->setValue(127);
        QVERIFY(app.ui().Command1->sizeHint().width() <= app.ui().Command1->width());
    }

    // Both files as the window writes them, the text trimmed in Text2 only; a timer asking for a second rendering
    // during the yield is served by the first one.
    void renderedFiles()
    {
        TestApp app;
        app.ui().Text11->setText(QStringLiteral("exo"));
        app.exercise().set(QStringLiteral("  Bonjour à tous, 73 !  "));
        app.player.commands.clear();
        QTimer::singleShot(0, [&app] { app.ui().Command3->click(); });
        app.ui().Command3->click();
        QCOMPARE(app.player.commands.count(QStringLiteral("Open")), 1);
        QCOMPARE(app.exercise().text(), QStringLiteral("Bonjour à tous, 73 !"));
        QCOMPARE(app.player.fileName(), QDir(app.folder()).filePath(QStringLiteral("exo.wav")));
        QCOMPARE(app.ui().Text14->text(), FormatDuration(app.player.length));

        // The command-line renderer with the same (default) parameters writes the same bytes.
        QTemporaryDir cli;
        QVERIFY(TestWav::write(cli.filePath("in.txt"), "  Bonjour \xc3\xa0 tous,\r\n 73 !  "));
        QCOMPARE(TestWav::run(BuildFolder::file("tonique-wav"), cli.path(), {"in.txt"}), 0);
        QCOMPARE(TestWav::read(cli.filePath("TEST.txt")), TestWav::read(app.folder() + u"/exo.txt"));
        QVERIFY(TestWav::read(cli.filePath("TEST.wav")) == TestWav::read(app.folder() + u"/exo.wav"));
    }

    // An empty file name still names two files inside the folder, ".wav" and ".txt", never "<folder>.wav" beside it.
    void emptyFileName()
    {
        TestApp app;
        app.ui().Text11->clear();
        app.ui().Command3->click();
        const QStringList beside{app.folder() + u".wav", app.folder() + u".txt"};
        const bool besideWritten = QFile::exists(beside[0]) || QFile::exists(beside[1]);
        for (const QString& file : beside)
            QFile::remove(file);
        QVERIFY(!besideWritten);
        QCOMPARE(app.player.fileName(), app.folder() + u"/.wav");
        QVERIFY(QFile::exists(app.folder() + u"/.txt"));
    }

    // A long rendering shows its progress; cancelled part way, it leaves the previous files as they were and says
    // nothing more.
    void renderingCancelled()
    {
        TestApp app;
        const QByteArray wav = TestWav::read(app.folder() + u"/TEST.wav");
        const QByteArray txt = TestWav::read(app.folder() + u"/TEST.txt");
        app.progress.cancelAt = 0.4;
        app.exercise().set(QString(140000, u'#')); // silent characters: a long text, a small file
        app.ui().Command3->click();
        QCOMPARE(app.progress.labels.last(), QStringLiteral("Préparation de la musique..."));
        QCOMPARE(app.progress.ends, app.progress.labels.size());
        QVERIFY(app.messages.criticals.isEmpty());
        QCOMPARE(state(app).left(3), QStringLiteral("--3"));
        QCOMPARE(TestWav::read(app.folder() + u"/TEST.wav"), wav);
        QCOMPARE(TestWav::read(app.folder() + u"/TEST.txt"), txt);
        QCOMPARE(QDir(app.folder()).entryList({"TEST*"}, QDir::Files), (QStringList{"TEST.txt", "TEST.wav"}));
    }

    void failures_data()
    {
        QTest::addColumn<bool>("tooLong");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("missing"); // a folder to write in that is missing from the read-only one
        QTest::newRow("read-only folder") << false << "Impossible de créer le fichier «\u202F"
                                          << "";
        QTest::newRow("missing in a read-only folder") << false << "Impossible de créer le fichier «\u202F"
                                                       << "Tonique";
        QTest::newRow("beyond 4 GiB") << true << "L'exercice est trop long\u202F: le fichier «\u202F"
                                      << "";
    }
    void failures()
    {
        QFETCH(bool, tooLong);
        QFETCH(QString, message);
        QFETCH(QString, missing);
        TestApp app;
        QString folder = app.folder();
        if (tooLong) {
            // A character gap of 20000 dots (31 MB): 150 letters pass 4 GiB.
            app.ui().Texte->setEditText(QStringLiteral("20000"));
            app.exercise().set(QString(150, u'e'));
        } else {
            // The superuser writes anywhere a permission allows; sysfs refuses new files to everyone.
            folder = geteuid() == 0 ? QStringLiteral("/sys") : app.folder() + u"/ro";
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            if (!missing.isEmpty())
                folder += u'/' + missing;
            app.ui().Text11->setText(folder + u"/TEST");
        }
        const QByteArray before = TestWav::read(app.folder() + u"/TEST.wav");
        // The progress box is gone before the message shows: it would stand over it, at 0 %.
        int progressOpen = -1;
        app.messages.criticalShown = [&] { progressOpen = int(app.progress.labels.size()) - app.progress.ends; };
        app.ui().Command3->click();
        QCOMPARE(progressOpen, 0);
        QCOMPARE(app.messages.criticals.size(), 1);
        const QString file = QDir(folder).filePath(tooLong ? "TEST.wav" : "TEST.txt");
        QVERIFY2(app.messages.criticals[0].startsWith(message + file + u"\u202F»"),
                 qPrintable(app.messages.criticals[0]));
        // Said to be unwritable, not merely missing.
        QCOMPARE(app.messages.criticals[0].contains(u"ne peut pas être écrit"), !missing.isEmpty());
        QCOMPARE(state(app).left(3), QStringLiteral("--3"));
        QCOMPARE(TestWav::read(app.folder() + u"/TEST.wav"), before);
    }
};

TONIQUE_TEST(TstSoundController, Widgets)
#include "tst_soundcontroller.moc"
