// Tonique installed into a scratch prefix and run from there as a user would: the exercise files in the user's data
// folder and the sign file copied there once, the build's portable mode untouched; the installed desktop files
// checked by the desktop's own validators.
#include "TestMain.h"
#include "fakes/BuildFolder.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TstInstalled : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;

    QString installed(const QString& path) const { return QDir(m_prefix.path()).filePath(path); }

    // A process with its own user folders under `home`, the window on the offscreen platform.
    static void prepare(QProcess& p, const QString& home, const QString& workingFolder)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + u"/data");
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + u"/config");
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(workingFolder);
    }

    // tonique-wav on `text`, in `folder`: its status.
    static int renderText(const QString& program, const QString& home, const QString& folder, const QByteArray& text)
    {
        writeFile(folder + u"/in.txt", text);
        QProcess p;
        prepare(p, home, folder);
        p.start(program, {QStringLiteral("in.txt")});
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    // The window started, left until its first exercise is written into `exerciseFolder`, then ended.
    static bool windowWritesItsExercise(const QString& program, const QString& home, const QString& exerciseFolder)
    {
        QProcess p;
        prepare(p, home, home);
        p.start(program, {});
        p.waitForStarted();
        QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired() && p.state() == QProcess::Running &&
               !(QFile::exists(exerciseFolder + u"/TEST.wav") && QFile::exists(exerciseFolder + u"/TEST.txt")))
            p.waitForFinished(50);
        const bool written = p.state() == QProcess::Running;
        p.terminate();
        return p.waitForFinished(10000) && written;
    }

private slots:
    void initTestCase()
    {
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND), {"--install", BuildFolder::path(), "--prefix", m_prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    }

    // Where the exercise files go and whether the user gets a copy of the sign file, for both programs installed
    // and both copied with a sign file beside them (portable).
    void folders_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("portable");
        QTest::newRow("tonique-wav installed") << "tonique-wav" << false;
        QTest::newRow("window installed") << "tonique" << false;
        QTest::newRow("tonique-wav portable") << "tonique-wav" << true;
        QTest::newRow("window portable") << "tonique" << true;
    }
    void folders()
    {
        QFETCH(QString, program);
        QFETCH(bool, portable);
        QTemporaryDir home;
        QString executable = installed(u"bin/" + program);
        if (portable) {
            const QString folder = home.filePath(QStringLiteral("portable"));
            QDir().mkpath(folder);
            QVERIFY(QFile::copy(executable, folder + u'/' + program));
            QVERIFY(QFile::copy(installed(QStringLiteral("share/tonique/telkey.ref")), folder + u"/telkey.ref"));
            executable = folder + u'/' + program;
        }
        const QString dataFolder = home.filePath(QStringLiteral("data/Tonique"));
        if (program == u"tonique-wav") {
            // Its exercise files go where it is asked, the current folder by default.
            QCOMPARE(renderText(executable, home.path(), home.path(), "paris"), 0);
            QVERIFY(QFile::exists(home.filePath(QStringLiteral("TEST.wav"))));
        } else {
            const QString exerciseFolder = portable ? QFileInfo(executable).path() : dataFolder;
            QVERIFY(windowWritesItsExercise(executable, home.path(), exerciseFolder));
            // One data folder for all the user's things: the history is kept beside the sign file's copy.
            QVERIFY(QFile::exists(dataFolder + u"/historique.sqlite"));
        }
        QCOMPARE(QFile::exists(dataFolder + u"/telkey.ref"), !portable);
        QVERIFY(!QFile::exists(installed(QStringLiteral("bin/TEST.wav"))));
        if (!portable)
            QCOMPARE(readFile(dataFolder + u"/telkey.ref"),
                     readFile(installed(QStringLiteral("share/tonique/telkey.ref"))));
    }

    // The installed window finds the module of its sound output, serial port and printer where it was installed, and
    // loads it once it has been drawn.
    void windowLoadsItsServices()
    {
        QTemporaryDir home;
        QProcess p;
        prepare(p, home.path(), home.path());
        p.start(installed(QStringLiteral("bin/tonique")), {});
        QVERIFY(p.waitForStarted());
        const QString maps = QStringLiteral("/proc/%1/maps").arg(p.processId());
        QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired() && p.state() == QProcess::Running &&
               !readFile(maps).contains(QByteArray(m_prefix.path().toUtf8() + "/lib")))
            p.waitForFinished(50);
        const QByteArray mapped = readFile(maps);
        p.terminate();
        p.waitForFinished(10000);
        QVERIFY2(mapped.contains("tonique-services.so"), "the installed window did not load its services module");
    }

    // The libraries that the module holds are not those of the installed window's start: the dynamic loader maps
    // none of them before the first paint, the module brings them after it.
    void startLeavesModuleLibraries_data()
    {
        QTest::addColumn<QString>("library");
        QTest::newRow("sound output and microphone") << "libQt6Multimedia.so";
        QTest::newRow("MIDI") << "libasound.so";
        QTest::newRow("voice") << "libQt6TextToSpeech.so";
        QTest::newRow("serial port") << "libQt6SerialPort.so";
        QTest::newRow("printer") << "libQt6PrintSupport.so";
        QTest::newRow("charts") << "libQt6Charts.so";
        QTest::newRow("charts' OpenGL") << "libQt6OpenGL";
    }
    void startLeavesModuleLibraries()
    {
        QFETCH(QString, library);
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), {installed(QStringLiteral("bin/tonique"))});
        QVERIFY(ldd.waitForFinished(30000) && ldd.exitCode() == 0);
        const QString loaded = QString::fromLocal8Bit(ldd.readAllStandardOutput());
        QVERIFY(loaded.contains(u"libQt6Widgets.so"));
        QVERIFY2(!loaded.contains(library), qPrintable(loaded));
    }

    // The user's copy is made once, then read as the user left it.
    void userCopyKeptAndRead()
    {
        QTemporaryDir home;
        const QString program = installed(QStringLiteral("bin/tonique-wav"));
        QCOMPARE(renderText(program, home.path(), home.path(), "eee"), 0);
        const QByteArray delivered = readFile(home.filePath(QStringLiteral("TEST.wav")));
        const QString copy = home.filePath(QStringLiteral("data/Tonique/telkey.ref"));
        QByteArray edited = readFile(copy);
        QVERIFY(edited.startsWith("e .\r\n") || edited.contains("\ne .\r\n"));
        edited.replace("e .\r\n", "e -\r\n");
        QVERIFY(writeFile(copy, edited));
        QCOMPARE(renderText(program, home.path(), home.path(), "eee"), 0);
        QVERIFY(readFile(home.filePath(QStringLiteral("TEST.wav"))) != delivered);
        QCOMPARE(readFile(copy), edited);
    }

    void icons_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%d px", size) << size;
    }
    void icons()
    {
        QFETCH(int, size);
        const QImage icon(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/tonique.png").arg(size)));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.pixelColor(size / 2, size / 2).alpha() == 255); // the plate, not a blank image
        QVERIFY(icon.pixelColor(0, 0).alpha() == 0);
    }

    // The scalable icon is a whole SVG document: a broken one leaves the menu entry without a picture.
    void scalableIcon()
    {
        QXmlStreamReader svg(readFile(installed(QStringLiteral("share/icons/hicolor/scalable/apps/tonique.svg"))));
        QVERIFY(svg.readNextStartElement() && svg.name() == u"svg" &&
                svg.attributes().hasAttribute(QStringLiteral("viewBox")));
        while (!svg.atEnd())
            svg.readNext();
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    }

    // The validators of the desktop: nothing but hints.
    void validators_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("desktop entry") << "desktop-file-validate"
                                       << QStringList{installed("share/applications/org.tonique.tonique.desktop")};
        QTest::newRow("AppStream") << "appstreamcli"
                                   << QStringList{"validate", "--no-net", "--explain",
                                                  installed("share/metainfo/org.tonique.tonique.metainfo.xml")};
    }
    void validators()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QProcess p;
        p.start(program, args);
        QVERIFY2(p.waitForFinished(60000), qPrintable(program + u" absent : ./scripts/setup l'installe"));
        const QString output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        QVERIFY2(p.exitCode() == 0 && !output.contains(QRegularExpression(QStringLiteral("(error|warning|^[EW]:)"),
                                                                          QRegularExpression::MultilineOption)),
                 qPrintable(output));
    }

    // tonique-texte reads the delivered texts, and the user's own copy of a file when there is one.
    void texteReadsUserCopyFirst()
    {
        QTemporaryDir home;
        const auto words = [&] {
            QProcess p;
            prepare(p, home.path(), home.path());
            p.start(installed(QStringLiteral("bin/tonique-texte")), {"--mots", "3", "--graine", "1"});
            p.waitForFinished(30000);
            return p.exitCode() == 0 ? p.readAllStandardOutput() : p.readAllStandardError();
        };
        const QByteArray delivered = words();
        QVERIFY2(QRegularExpression(QStringLiteral("^[a-zéà]+ [a-zéà]+ [a-zéà]+\n$"))
                     .match(QString::fromUtf8(delivered))
                     .hasMatch(),
                 delivered.constData());
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("data/Tonique/textes"))));
        QVERIFY(writeFile(home.filePath(QStringLiteral("data/Tonique/textes/mots.txt")), "radio\n"));
        QCOMPARE(words(), QByteArray("radio radio radio\n"));
    }

    // The manual page of each command-line tool tells every option its --help tells.
    void manualListsEveryOption_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<int>("options"); // at least
        QTest::newRow("tonique-wav") << "tonique-wav" << 30;
        QTest::newRow("tonique-mark") << "tonique-mark" << 3;
        QTest::newRow("tonique-texte") << "tonique-texte" << 8;
        QTest::newRow("tonique-decode") << "tonique-decode" << 4;
    }
    void manualListsEveryOption()
    {
        QFETCH(QString, tool);
        QFETCH(int, options);
        QProcess help;
        help.start(installed(u"bin/" + tool), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(30000));
        QProcess manual;
        manual.start(QStringLiteral("gzip"), {"-dc", installed(u"share/man/man1/" + tool + u".1.gz")});
        QVERIFY(manual.waitForFinished(30000));
        const QString page = QString::fromUtf8(manual.readAllStandardOutput()).remove(u'\\');
        QVERIFY2(page.startsWith(u".TH " + tool.toUpper() + u' '), qPrintable(page.left(80)));
        // Every name of every option: "  --point, --dot MS".
        static const QRegularExpression option(QStringLiteral("(?:^ +|, )(-[a-z]\\b|--[a-z]+)"),
                                               QRegularExpression::MultilineOption);
        int told = 0;
        for (const QRegularExpressionMatch& m : option.globalMatch(QString::fromUtf8(help.readAllStandardOutput()))) {
            ++told;
            QVERIFY2(page.contains(m.captured(1)), qPrintable(m.captured(1)));
        }
        QVERIFY(told >= options);
    }
};

TONIQUE_TEST(TstInstalled, Core)
#include "tst_installed.moc"
