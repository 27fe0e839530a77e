// The folder where the program reads its sign file and writes its exercise files: its own when it can, the user's
// data folder when it is installed.
#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<bool>("besideExecutable");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("userCopy");
        QTest::addColumn<bool>("delivered");
        QTest::addColumn<QString>("folder"); // "bin" or "data"
        QTest::addColumn<QString>("copyFrom");
        // The build folder, also when an installed copy of the program has left a user copy.
        QTest::newRow("build folder") << true << true << true << true << "bin"
                                      << "";
        QTest::newRow("first start once installed") << false << false << false << true << "data"
                                                    << "share";
        QTest::newRow("later starts keep the user's copy") << false << false << true << true << "data"
                                                           << "";
        // Root may write into /usr/bin: without a sign file there it is still an installation.
        QTest::newRow("writable folder without a sign file") << false << true << false << true << "data"
                                                             << "share";
        QTest::newRow("read-only folder with its own sign file") << true << false << false << true << "data"
                                                                 << "bin";
        QTest::newRow("no sign file anywhere") << false << false << false << false << "data"
                                               << "";
    }
    void choice()
    {
        QFETCH(bool, besideExecutable);
        QFETCH(bool, writable);
        QFETCH(bool, userCopy);
        QFETCH(bool, delivered);
        QFETCH(QString, folder);
        QFETCH(QString, copyFrom);
        const QString bin = QStringLiteral("/usr/bin"), data = QStringLiteral("/home/a/.local/share/Tonique");
        const QString share = QStringLiteral("/usr/share/tonique/telkey.ref");
        const ProgramFolder chosen =
            ChooseProgramFolder({bin, besideExecutable, writable, data, userCopy, share, delivered});
        const QString expected = folder == u"bin" ? bin : data;
        QCOMPARE(chosen.folder, expected);
        QCOMPARE(chosen.portable, folder == u"bin");
        QCOMPARE(chosen.signFile, expected + u"/telkey.ref");
        const QString from = copyFrom == u"share" ? share : copyFrom == u"bin" ? bin + u"/telkey.ref" : QString();
        QCOMPARE(chosen.copyFrom, from);
    }

    // A data folder that cannot be made (its place taken by a file): the delivered sign file is read where it is.
    void deliveredFileReadWhenNoCopyCanBeMade()
    {
        QTemporaryDir root;
        const QDir dir(root.path());
        dir.mkpath(QStringLiteral("bin"));
        dir.mkpath(QStringLiteral("share/tonique"));
        QFile::copy(BuildFolder::file("telkey.ref"), dir.filePath(QStringLiteral("share/tonique/telkey.ref")));
        QFile blocker(dir.filePath(QStringLiteral("data")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        const ProgramFolder chosen = SetUpProgramFolder(dir.filePath(QStringLiteral("bin")));
        QCOMPARE(chosen.signFile, dir.filePath(QStringLiteral("share/tonique/telkey.ref")));
        QVERIFY(chosen.copyFrom.isEmpty());
    }
};

TONIQUE_TEST(TstProgramFolder, Core)
#include "tst_programfolder.moc"
