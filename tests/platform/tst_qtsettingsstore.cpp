// The parameters reach the per-user settings file under the program's names, and come back as text.
#include "TestMain.h"
#include "platform/QtSettingsStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString settingsFile()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/tonique/tonique.conf");
}

} // namespace

// The store as the program opens it.
static QtSettingsStore paramStore()
{
    return QtSettingsStore(QStringLiteral("tonique"), QStringLiteral("tonique"), QStringLiteral("param"));
}

class TestQtSettingsStore : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        // Never the user's own settings.
        static QTemporaryDir folder;
        qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    }

private slots:
    void writeThenRead_data();
    void writeThenRead();
    void handEdited_data();
    void handEdited();
};

void TestQtSettingsStore::writeThenRead_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("number") << "20";
    QTest::newRow("accents") << "VVV é";
    QTest::newRow("empty") << ""; // an emptied field is stored empty, not removed
    QTest::newRow("commas") << ".,?/+'<*";
    QTest::newRow("quotes and backslashes") << "\"a\",\\b\\";
    QTest::newRow("blanks around") << "  1, 200 ";
    QTest::newRow("comment and equals signs") << "a;b=c #d";
    QTest::newRow("control characters") << "a\tb\nc\r";
}

void TestQtSettingsStore::writeThenRead()
{
    QFETCH(QString, value);
    QFile::remove(settingsFile());
    {
        QtSettingsStore store = paramStore();
        QCOMPARE(store.read(QStringLiteral("deb"), QStringLiteral("absent")), QStringLiteral("absent"));
        store.write(QStringLiteral("deb"), value);
    }
    QCOMPARE(paramStore().read(QStringLiteral("deb"), QStringLiteral("absent")), value);
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("[param]\ndeb="));
}

// Values typed into the file by hand come back as typed, commas included.
void TestQtSettingsStore::handEdited_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default punctuation") << QByteArray("[param]\nponctu=.,?/+'<*\n") << "ponctu"
                                         << ".,?/+'<*";
    QTest::newRow("character set") << QByteArray("[param]\nprog=abc,def\n") << "prog"
                                   << "abc,def";
    QTest::newRow("decimal comma, CR LF") << QByteArray("[param]\r\ntona = 1,200 \r\n") << "tona"
                                          << "1,200";
    QTest::newRow("blanks inside kept") << QByteArray("[param]\ndeb=  a , b\t\n") << "deb"
                                        << "a , b";
    QTest::newRow("quotes and escapes undone") << QByteArray("[param]\nfin=\"x, y\",\\x41\\t\\\"\n") << "fin"
                                               << "x, y,A\t\"";
    QTest::newRow("accents") << QByteArray("[param]\ndeb=\xc3\xa9,\xc3\xa0\n") << "deb"
                             << "é,à";
    QTest::newRow("comment after the value") << QByteArray("[param]\nsupl=1,5 ; demi\n") << "supl"
                                             << "1,5";
    QTest::newRow("long hexadecimal escape") << QByteArray("[param]\ndeb=\\x4000000041,b\n") << "deb"
                                             << "A,b";
    // QSettings' own encodings typed by hand: the text, quietly.
    QTest::newRow("variant of an unknown type")
        << QByteArray("[param]\ntona=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5Machin)\n") << "tona"
        << QStringLiteral("@Variant(\0\0\0\x7f\0\0\0\x05Machin)");
    QTest::newRow("section and key matched")
        << QByteArray("[General]\nmn=1,2\n[param]\nmn2=3,4\nmn=5,6\n[autre]\nmn=7,8\n") << "mn"
        << "5,6";
}

void TestQtSettingsStore::handEdited()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QVERIFY(QDir().mkpath(QFileInfo(settingsFile()).path()));
    QFile out(settingsFile());
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(file);
    out.flush();
    // A new time for each file: the settings reread a file only when its size or time changed.
    static int row = 0;
    QVERIFY(out.setFileTime(QDateTime::currentDateTime().addSecs(++row), QFileDevice::FileModificationTime));
    out.close();
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QCOMPARE(paramStore().read(key, QStringLiteral("absent")), expected);
}

TONIQUE_TEST(TestQtSettingsStore, Core)

#include "tst_qtsettingsstore.moc"
