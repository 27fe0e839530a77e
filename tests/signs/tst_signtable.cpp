#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "signs/SignTable.h"
#include "signs/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSignTable : public QObject
{
    Q_OBJECT

private slots:
    void splitLines_data();
    void splitLines();
    void entries();
    void findSign();
    void capacity_data();
    void capacity();
    void missingFile();
    void deliveredFile();
    void windows1252();
};

void TestSignTable::splitLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a .-\r\nb -...\r\n") << QStringList{"a .-", "b -..."};
    QTest::newRow("lone CR") << QByteArray("a .-\rb -...") << QStringList{"a .-", "b -..."};
    QTest::newRow("LF stays in the line") << QByteArray("a .-\nb -...\r\n") << QStringList{"a .-\nb -..."};
    QTest::newRow("empty line kept") << QByteArray("a .-\r\n\r\nb -...") << QStringList{"a .-", "", "b -..."};
    QTest::newRow("no final line end") << QByteArray("e .") << QStringList{"e ."};
    QTest::newRow("CR CR LF") << QByteArray("e .\r\r\n") << QStringList{"e .", ""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("Windows-1252") << QByteArray("\xe9 ..-..") << QStringList{QStringLiteral("é ..-..")};
}

void TestSignTable::splitLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(SplitSignFileLines(bytes), lines);
}

void TestSignTable::entries()
{
    const SignTable t = SignTable::fromLines({"a .-", "b.-", "", "x", "p 12345678901234", "e ."});
    QCOMPARE(t.entry(1).character, QStringLiteral("a"));
    QCOMPARE(t.entry(1).pattern, QStringLiteral(".-"));
    // Column 2 is dropped whatever it holds.
    QCOMPARE(t.entry(2).pattern, QStringLiteral("-"));
    QVERIFY(t.entry(3).character.isEmpty());
    QCOMPARE(t.entry(4).character, QStringLiteral("x"));
    QVERIFY(t.entry(4).pattern.isEmpty());
    // Columns 3 to 12 only.
    QCOMPARE(t.entry(5).pattern, QStringLiteral("1234567890"));
    QCOMPARE(t.FindSign(u"e"), 6);
}

void TestSignTable::findSign()
{
    const SignTable t = SignTable::fromLines({"A .-", "e .", "e -", "", "a .-"});
    QCOMPARE(t.FindSign(u"a"), 5); // the upper-case line never matches "a"
    QCOMPARE(t.FindSign(u"A"), 1);
    QCOMPARE(t.FindSign(u"e"), 2); // first of the duplicates
    QCOMPARE(t.FindSign(u"z"), std::nullopt);
    QCOMPARE(t.FindSign(u""), std::nullopt); // empty entries and unused ones never match
    QCOMPARE(t.patternOf(u"e"), QStringLiteral("."));
}

void TestSignTable::capacity_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<bool>("loads");
    QTest::newRow("100 lines") << 100 << true;
    QTest::newRow("101 lines") << 101 << false;
}

void TestSignTable::capacity()
{
    QFETCH(int, lineCount);
    QFETCH(bool, loads);
    QByteArray bytes;
    for (int i = 1; i < lineCount; ++i)
        bytes += "# .\r\n";
    bytes += "z --..\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("telkey.ref"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    const SignFile file = LoadSignFile(path);
    QCOMPARE(file.lines.size(), lineCount); // the line too many is listed all the same
    if (loads) {
        QCOMPARE(file.status, SignFile::Status::Loaded);
        QCOMPARE(file.table.FindSign(u"z"), 100);
    } else {
        QCOMPARE(file.status, SignFile::Status::TooManyLines);
        QVERIFY(file.errorText.contains(QStringLiteral("101")));
        QVERIFY(file.errorText.contains(path));
    }
}

void TestSignTable::missingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("telkey.ref"));
    const SignFile file = LoadSignFile(path);
    QCOMPARE(file.status, SignFile::Status::NotFound);
    QVERIFY(file.errorText.contains(path));
    QVERIFY(file.errorText.contains(QStringLiteral("introuvable")));

    // A folder in its place cannot be read.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("telkey.ref")));
    const SignFile folder = LoadSignFile(path);
    QVERIFY(folder.status != SignFile::Status::Loaded);
    QVERIFY(!folder.errorText.isEmpty());
}

void TestSignTable::deliveredFile()
{
    const SignFile file = LoadSignFile(BuildFolder::file("telkey.ref"));
    QCOMPARE(file.status, SignFile::Status::Loaded);
    QVERIFY(file.lines.size() <= SignTable::Capacity);
    // Every character the generators and the default parameters produce has a pattern of dots and dashes.
    const QString needed = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789.,?/+'<*=");
    for (const QChar c : needed) {
        const auto pattern = file.table.patternOf(QString(c));
        QVERIFY2(pattern && !pattern->isEmpty(), qPrintable(QString(c)));
        for (const QChar s : *pattern)
            QVERIFY2(s == u'.' || s == u'-', qPrintable(QString(c)));
    }
    QCOMPARE(file.table.patternOf(u"<"), QStringLiteral(".-..."));
    QCOMPARE(file.table.patternOf(u"*"), QStringLiteral("...-.-"));
    QCOMPARE(file.table.patternOf(u"é"), QStringLiteral("..-.."));
    // Line ends are CR LF.
    QFile raw(BuildFolder::file("telkey.ref"));
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    QCOMPARE(bytes.count("\r\n"), file.lines.size());
    QCOMPARE(bytes.count('\n'), file.lines.size());
}

void TestSignTable::windows1252()
{
    const QByteArray high("\x80\x9c\xe9\xff", 4);
    QCOMPARE(FromWindows1252(high), QStringLiteral("€œéÿ"));
    QCOMPARE(ToWindows1252(QStringLiteral("€œéÿ")), high);
    QCOMPARE(ToWindows1252(QStringLiteral("a\u4e2db")), QByteArray("a?b"));
    QCOMPARE(Windows1252Code(QChar(0x2019)), 0x92);
    // UTF-8 when valid, otherwise Windows-1252; a byte-order mark is dropped.
    QCOMPARE(DecodeTextFile("\xc3\xa9t\xc3\xa9"), QStringLiteral("été"));
    QCOMPARE(DecodeTextFile("\xe9t\xe9"), QStringLiteral("été"));
    QCOMPARE(DecodeTextFile("\xef\xbb\xbf"
                            "abc"),
             QStringLiteral("abc"));
}

TONIQUE_TEST(TestSignTable, None)
#include "tst_signtable.moc"
