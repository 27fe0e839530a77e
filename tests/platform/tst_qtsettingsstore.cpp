// The parameters reach the per-user settings file under the program's names, and come back as text.
#include "platform/QtSettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestQtSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void writeThenRead();
};

void TestQtSettingsStore::writeThenRead()
{
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    {
        QtSettingsStore store;
        QCOMPARE(store.read(QStringLiteral("mn"), QStringLiteral("12")), QStringLiteral("12")); // absent: default
        store.write(QStringLiteral("mn"), QStringLiteral("20"));
        store.write(QStringLiteral("deb"), QStringLiteral("VVV é"));
        store.write(QStringLiteral("paris"), QString()); // an emptied field is stored empty, not removed
    }
    QtSettingsStore again;
    QCOMPARE(again.read(QStringLiteral("mn"), QStringLiteral("12")), QStringLiteral("20"));
    QCOMPARE(again.read(QStringLiteral("deb"), QString()), QStringLiteral("VVV é"));
    QCOMPARE(again.read(QStringLiteral("paris"), QStringLiteral("PARIS")), QString());

    QFile file(folder + QStringLiteral("/tonique/tonique.conf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.contains("[param]"));
    QVERIFY(content.contains("mn=20"));
}

int main(int argc, char* argv[])
{
    // Never the user's own settings.
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    QCoreApplication app(argc, argv);
    TestQtSettingsStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qtsettingsstore.moc"
