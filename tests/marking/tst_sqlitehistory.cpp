#include "TestMain.h"
#include "fakes/FailingHistory.h"
#include "history/HistoryGuard.h"
#include "history/SqliteHistory.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Start(QDate(2024, 3, 1), QTime(12, 0));

// A file written the way the first version of the history wrote it, with one copy and one drill answer.
void writeVersion1(const QString& path, int version = 1)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"v1"_s);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString& statement :
             {u"CREATE TABLE copies (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, characters INTEGER NOT NULL, "
              "errors INTEGER NOT NULL, wpm REAL NOT NULL, pass INTEGER NOT NULL, received INTEGER NOT NULL)"_s,
              u"CREATE TABLE drill_answers (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, character TEXT NOT NULL, "
              "ms INTEGER NOT NULL)"_s,
              u"INSERT INTO copies VALUES (1, %1, 200, 4, 12, 500, 1)"_s.arg(Start.toMSecsSinceEpoch()),
              u"INSERT INTO drill_answers VALUES (1, %1, 'k', 420)"_s.arg(Start.toMSecsSinceEpoch()),
              u"PRAGMA user_version = %1"_s.arg(version)})
            QVERIFY2(q.exec(statement), qPrintable(statement));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"v1"_s);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes the file at `path` (or what stands in its way) and may keep it open in `holder`.
using Setup = std::function<void(const QString& path, std::unique_ptr<SqliteHistory>& holder)>;

// Files may not grow beyond `bytes` while it lives; the signal that would end the program is ignored.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        m_signal = signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
};

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestSqliteHistory : public QObject
{
    Q_OBJECT

private slots:
    // The charts of "Progrès" and the list of its copies, read from SQLite, are what the copies read one by one
    // give: a column per copy, numbers or times scaled to the columns, days gathered then merged, after a deletion, and
    // the days of a file written before they were kept.
    void chartsAsReadOneByOne_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("minutesApart");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("periodDays"); // 0 for all
        QTest::addColumn<bool>("deleting");  // the third copy
        QTest::addColumn<bool>("version7");  // the file taken back to version 7, then opened again
        QTest::newRow("a column per copy") << 5 << 3000 << 300 << 0 << false << false;
        QTest::newRow("numbers scaled") << 30 << 17 << 7 << 0 << false << false;
        QTest::newRow("times scaled") << 40 << 331 << 25 << 0 << false << false;
        QTest::newRow("by day") << 90 << 317 << 30 << 0 << false << false;
        QTest::newRow("by day, days merged") << 200 << 700 << 10 << 0 << false << false;
        QTest::newRow("by day, the last 30 days") << 200 << 700 << 10 << 30 << false << false;
        QTest::newRow("by day, after a deletion") << 90 << 317 << 30 << 0 << true << false;
        QTest::newRow("by day, from version 7") << 90 << 317 << 30 << 0 << false << true;
    }

    void chartsAsReadOneByOne()
    {
        QFETCH(int, count);
        QFETCH(int, minutesApart);
        QFETCH(int, columns);
        QFETCH(int, periodDays);
        QFETCH(bool, deleting);
        QFETCH(bool, version7);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"historique.sqlite"_s);
        {
            SqliteHistory written;
            QVERIFY(!written.open(path));
            for (int i = 0; i < count; ++i) {
                // Some copies without a character, some with more errors than characters.
                const int characters = (i * 37) % 11 == 0 ? 0 : 50 + (i * 13) % 70, errors = (i * 7) % 61;
                const double wpm = 8 + (i * 5) % 17 + 0.5 * (i % 3);
                QVERIFY(!written.recordCopy(
                    {Start.addSecs(qint64(i) * minutesApart * 60), characters, errors, wpm, PassMark{}, true, {}, {}}));
            }
            for (int i = 0; i < 4; ++i) {
                SendingRunRecord run;
                run.at = Start.addSecs(qint64(i) * minutesApart * 90);
                run.kind = SendingKind(i % 3);
                run.characters = 20 + i;
                run.errors = i;
                run.wpm = 11.5 + i;
                run.dashDotRatio = 2.75 + i;
                run.letterGapRatio = 3;
                run.missent = {{u"k"_s, 1}};
                QVERIFY(!written.recordSendingRun(run));
            }
        }
        if (version7) {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"v7"_s);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const QString& statement : {u"DROP TABLE copy_days"_s, u"DROP TRIGGER copy_days_added"_s,
                                             u"DROP TRIGGER copy_days_removed"_s, u"PRAGMA user_version = 7"_s})
                QVERIFY2(q.exec(statement), qPrintable(statement));
            db.close();
        }
        QSqlDatabase::removeDatabase(u"v7"_s);
        SqliteHistory history;
        QVERIFY(!history.open(path));
        if (deleting)
            QVERIFY(*history.deleteCopy(history.copies(QDateTime())->at(2).id));
        const QDateTime last = history.copies(QDateTime())->last().at;
        const QDateTime since = periodDays ? last.addDays(-periodDays) : QDateTime();
        const Result<CopyChart> summed = history.copyChart(since, columns);
        QVERIFY2(summed, summed ? "" : qPrintable(summed.failure()));
        const CopyChart expected = history.History::copyChart(since, columns).operator*();
        QVERIFY(expected.columns.size() <= columns && expected.count > 0);
        QCOMPARE(summed->count, expected.count);
        QCOMPARE(summed->first, expected.first);
        QCOMPARE(summed->last, expected.last);
        QCOMPARE(summed->columns.size(), expected.columns.size());
        for (qsizetype c = 0; c < expected.columns.size(); ++c)
            QCOMPARE(summed->columns[c], expected.columns[c]);
        const auto ids = [](const QList<CopyRecord>& copies) {
            QList<qint64> found;
            for (const CopyRecord& copy : copies)
                found << copy.id;
            return found;
        };
        QCOMPARE(ids(*history.newestCopies(since, 3, 7)), ids(*history.History::newestCopies(since, 3, 7)));
        const auto drawn = [](const QList<SendingRunRecord>& runs) {
            QStringList found;
            for (const SendingRunRecord& r : runs)
                found << u"%1 %2 %3 %4 %5 %6 %7"_s.arg(r.at.toString(Qt::ISODateWithMs))
                             .arg(int(r.kind))
                             .arg(r.characters)
                             .arg(r.errors)
                             .arg(r.wpm)
                             .arg(r.dashDotRatio)
                             .arg(r.id);
            return found;
        };
        QCOMPARE(drawn(*history.drawnSendingRuns(since)), drawn(*history.sendingRuns(since)));
    }

    // What is recorded comes back by period; the reaction time is the median of each character's last 20 answers.
    void recordAndRead()
    {
        QTemporaryDir dir;
        SqliteHistory history;
        QVERIFY(!history.open(dir.filePath(u"sub/historique.sqlite"_s)));
        CopyRecord copy{Start, 200, 6, 12.5, PassMark{250}, false, {{u"b"_s, 10, 3}, {u"é"_s, 4, 0}}, {}};
        QVERIFY(!history.recordCopy(copy));
        copy.at = Start.addDays(10);
        copy.tallies = {{u"b"_s, 10, 1}};
        QVERIFY(!history.recordCopy(copy));
        for (int i = 1; i <= 25; ++i)
            QVERIFY(!history.recordDrillAnswer({Start.addSecs(i), u"e"_s, i * 10}));
        QVERIFY(!history.recordDrillAnswer({Start.addDays(10), u"t"_s, 300}));
        // Times near the largest an int holds: their sum does not.
        QVERIFY(!history.recordDrillAnswer({Start.addDays(10), u"z"_s, 2'000'000'000}));
        QVERIFY(!history.recordDrillAnswer({Start.addDays(10), u"z"_s, 2'100'000'000}));

        const auto all = history.copies(QDateTime());
        QCOMPARE(all->size(), 2);
        QCOMPARE(all->first().at, Start);
        QCOMPARE(all->first().wpm, 12.5);
        QCOMPARE(all->first().pass, PassMark{250});
        QCOMPARE(history.copies(Start.addDays(5))->size(), 1);
        QCOMPARE(history.drillAnswers(Start.addDays(5))->size(), 3);

        const auto weak = history.weaknesses(QDateTime());
        QCOMPARE(weak->size(), 5); // b, e, t, z, é
        QCOMPARE(weak->at(0).sent, 20);
        QCOMPARE(weak->at(0).wrong, 4);
        QCOMPARE(weak->at(1).answers, 20);
        QCOMPARE(weak->at(1).medianMs, 155.0); // 60 to 250 ms
        QCOMPARE(weak->at(3).medianMs, 2'050'000'000.0);
        QCOMPARE(history.weaknesses(Start.addDays(5))->size(), 3);
    }

    // A file of the first version keeps what it holds and takes the copies' characters and confusions from then on.
    void migratesFromVersion1()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"historique.sqlite"_s);
        writeVersion1(path);
        {
            SqliteHistory history;
            QVERIFY(!history.open(path));
            QCOMPARE(history.copies(QDateTime())->first().errors, 4);
            QCOMPARE(history.weaknesses(QDateTime())->first().medianMs, 420.0);
            const QList<Confusion> confusions{{Mark::Wrong, u"a"_s, u"n"_s, 2}, {Mark::Missing, u"a"_s, {}, 1}};
            QVERIFY(!history.recordCopy({Start, 5, 3, 10, PassMark{}, true, {{u"a"_s, 5, 3}}, confusions}));
            QVERIFY(!history.recordCopy({Start, 5, 1, 10, PassMark{}, true, {{u"a"_s, 5, 1}}, {confusions.last()}}));
        }
        SqliteHistory again;
        QVERIFY(!again.open(path));
        const auto weak = again.weaknesses(QDateTime());
        QCOMPARE(weak->first().sent, 10);
        QCOMPARE(weak->first().wrong, 4);
        // The confusions of both copies added up, the most frequent first (equals by what was copied); "n" copied in
        // another's place twice.
        QCOMPARE(weak->first().confusions,
                 (QList<Confusion>{{Mark::Missing, u"a"_s, {}, 2}, {Mark::Wrong, u"a"_s, u"n"_s, 2}}));
        QCOMPARE(weak->at(2).character, u"n"_s);
        QCOMPARE(weak->at(2).miscopied, 2);

        // The first version's copy shares its day's tallies with the others: it stays until it is alone there. A
        // later copy leaves with its own characters and confusions.
        const auto copies = again.copies(QDateTime());
        QCOMPARE(copies->size(), 3);
        const auto deleting = [&again, &copies](int copy) {
            const Result<bool> deleted = again.deleteCopy(copies->at(copy).id);
            return deleted ? (*deleted ? u"supprimée"_s : u"gardée"_s) : deleted.failure();
        };
        QCOMPARE(deleting(0), u"gardée"_s);
        QCOMPARE(deleting(1), u"supprimée"_s);
        const auto left = again.weaknesses(QDateTime());
        QCOMPARE((QList<int>{left->first().sent, left->first().wrong}), (QList<int>{5, 1}));
        QCOMPARE(left->first().confusions, (QList<Confusion>{{Mark::Missing, u"a"_s, {}, 1}}));
        QCOMPARE(left->size(), 2); // "n" is gone, "k" drilled
        QCOMPARE(deleting(2), u"supprimée"_s);
        QCOMPARE(deleting(0), u"supprimée"_s);
        QVERIFY(again.copies(QDateTime())->isEmpty());
        QCOMPARE(again.weaknesses(QDateTime())->size(), 1);
    }

    // The pieces of each copy are kept with it: the kind lost most often comes first, by period, and a copy deleted
    // takes its pieces with it.
    void fieldsPerCopy()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"historique.sqlite"_s);
        writeVersion1(path);
        SqliteHistory history;
        QVERIFY(!history.open(path));
        const MarkedField call{FieldKind::CallSign, u"F6ABC"_s, u"F6ABC"_s, true};
        const MarkedField town{FieldKind::Qth, u"LYON"_s, u"LYOM"_s, false};
        const MarkedField name{FieldKind::Name, u"JEAN"_s, {}, false};
        CopyRecord first{Start, 40, 5, 12, PassMark{}, false, {}, {}, 0, {call, call, town, name}};
        QVERIFY(!history.recordCopy(first));
        first.at = Start.addDays(10);
        first.fields = {
            call, {FieldKind::CallSign, u"F5XYZ"_s, u"F5XY"_s, false}, {town.kind, town.sent, town.sent, true}};
        QVERIFY(!history.recordCopy(first));

        QCOMPARE(*history.fieldLosses(QDateTime()),
                 (QList<FieldLoss>{{FieldKind::Name, 1, 1}, {FieldKind::Qth, 2, 1}, {FieldKind::CallSign, 4, 1}}));
        QCOMPARE(*history.fieldLosses(Start.addDays(5)),
                 (QList<FieldLoss>{{FieldKind::CallSign, 2, 1}, {FieldKind::Qth, 1, 0}}));
        const qint64 firstId = history.copies(QDateTime())->at(1).id;
        QVERIFY(*history.deleteCopy(firstId));
        QCOMPARE(*history.fieldLosses(QDateTime()),
                 (QList<FieldLoss>{{FieldKind::CallSign, 2, 1}, {FieldKind::Qth, 1, 0}}));
        QVERIFY(*history.deleteCopy(history.copies(QDateTime())->at(1).id));
        QVERIFY(history.fieldLosses(QDateTime())->isEmpty());
        // The next copy may take the number of the last one deleted: none of that one's pieces come back with it.
        first.fields = {{FieldKind::Report, u"599"_s, u"599"_s, true}};
        QVERIFY(!history.recordCopy(first));
        QCOMPARE(*history.fieldLosses(QDateTime()), (QList<FieldLoss>{{FieldKind::Report, 1, 0}}));
    }

    // A file of version 5, made by this test from a fresh one with the later tables taken out, keeps every copy
    // with its pieces and characters and takes the sending runs from then on: read back by period, their mis-sent
    // characters the most frequent first and counted in the characters' weaknesses.
    void sendingRunsAfterVersion5()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"historique.sqlite"_s);
        const MarkedField call{FieldKind::CallSign, u"F6ABC"_s, u"F6ABD"_s, false};
        {
            SqliteHistory history;
            QVERIFY(!history.open(path));
            QVERIFY(!history.recordCopy({Start, 20, 2, 12, PassMark{}, true, {{u"c"_s, 3, 1}}, {}, 0, {call}}));
            QVERIFY(!history.recordCopy({Start.addDays(1), 30, 0, 14, PassMark{}, true, {{u"c"_s, 2, 0}}, {}}));
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"v5"_s);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const QString& statement :
                 {u"DROP TABLE sending_missent"_s, u"DROP TABLE sending_runs"_s, u"DROP TABLE race_runs"_s,
                  u"DROP TABLE recognitions"_s, u"PRAGMA user_version = 5"_s})
                QVERIFY2(q.exec(statement), qPrintable(statement));
            db.close();
        }
        QSqlDatabase::removeDatabase(u"v5"_s);

        SqliteHistory history;
        QVERIFY(!history.open(path));
        const auto copies = history.copies(QDateTime());
        QCOMPARE(copies->size(), 2);
        QCOMPARE((QList<int>{copies->at(0).characters, copies->at(1).characters}), (QList<int>{20, 30}));
        QCOMPARE(*history.fieldLosses(QDateTime()), (QList<FieldLoss>{{FieldKind::CallSign, 1, 1}}));

        SendingRunRecord run;
        run.at = Start.addDays(2);
        run.kind = SendingKind::Exercise;
        run.characters = 15;
        run.errors = 3;
        run.wpm = 11.5;
        run.dashDotRatio = 2.8;
        run.weightPercent = 47.5;
        run.spreads = {0.1, 0.2, 0.3, 0.4, 0.5};
        run.missent = {{u"c"_s, 2}, {u"é"_s, 1}};
        QVERIFY(!history.recordSendingRun(run));
        run.at = Start.addDays(10);
        run.kind = SendingKind::Echo;
        run.missent = {{u"c"_s, 1}};
        QVERIFY(!history.recordSendingRun(run));
        QVERIFY(history.copies(Start.addDays(5))->isEmpty());

        const auto runs = history.sendingRuns(QDateTime());
        QCOMPARE(runs->size(), 2);
        QCOMPARE(runs->at(0).kind, SendingKind::Exercise);
        QCOMPARE((QList<double>{runs->at(0).wpm, runs->at(0).dashDotRatio, runs->at(0).weightPercent}),
                 (QList<double>{11.5, 2.8, 47.5}));
        QCOMPARE(runs->at(0).spreads, run.spreads);
        QCOMPARE(runs->at(0).missent, (QList<MissentCharacter>{{u"c"_s, 2}, {u"é"_s, 1}}));
        QCOMPARE(runs->at(1).kind, SendingKind::Echo);
        QCOMPARE(history.sendingRuns(Start.addDays(5))->size(), 1);
        const auto weak = history.weaknesses(QDateTime());
        QCOMPARE(weak->first().character, u"c"_s);
        QCOMPARE((QList<int>{weak->first().sent, weak->first().wrong, weak->first().missent}), (QList<int>{5, 1, 3}));
        QCOMPARE(history.weaknesses(Start.addDays(5))->first().missent, 1);

        // The recognitions too, a key typed too soon without a time.
        const QList<RecognitionRecord> recognised{{Start.addDays(3), u"k"_s, 420, true},
                                                  {Start.addDays(3), u"é"_s, std::nullopt, false}};
        QVERIFY(!history.recordRecognitions(recognised));
        QCOMPARE(*history.recognitions(QDateTime()), recognised);
        QVERIFY(history.recognitions(Start.addDays(5))->isEmpty());
    }

    // One French message, and the file as it was.
    void faults_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("message");
        QTest::newRow("damaged") << Setup([](const QString& path, auto&) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("Ceci n'est pas un historique.\n").repeated(200));
        }) << u"est endommagé"_s;
        QTest::newRow("newer") << Setup([](const QString& path, auto&) {
            writeVersion1(path, SqliteHistory::SchemaVersion + 1);
        }) << u"version plus récente"_s;
        for (const int version : {-1, -3, INT_MIN})
            QTest::addRow("unknown version %d", version)
                << Setup([version](const QString& path, auto&) { writeVersion1(path, version); })
                << u"version plus récente"_s;
        QTest::newRow("link to an empty file") << Setup([](const QString& path, auto&) {
            QFile target(path + u".cible"_s);
            QVERIFY(target.open(QIODevice::WriteOnly));
            QVERIFY(QFile::link(target.fileName(), path));
        }) << u"lien symbolique"_s;
        QTest::newRow("link to a missing file")
            << Setup([](const QString& path, auto&) { QVERIFY(QFile::link(path + u".cible"_s, path)); })
            << u"lien symbolique"_s;
        QTest::newRow("a kind of information from a newer Tonique") << Setup([](const QString& path, auto&) {
            {
                SqliteHistory newer;
                QVERIFY(!newer.open(path));
                QVERIFY(!newer.recordCopy(
                    {Start, 5, 0, 12, PassMark{}, true, {}, {}, 0, {{FieldKind::Qth, u"LYON"_s, u"LYON"_s, true}}}));
            }
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"newer"_s);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(u"UPDATE copy_fields SET kind = 'locator'"_s));
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(u"newer"_s);
        }) << u"version plus récente"_s;
        QTest::newRow("another program's") << Setup([](const QString& path, auto&) { writeVersion1(path, 0); })
                                           << u"n'est pas un historique de Tonique"_s;
        QTest::newRow("locked by another Tonique") << Setup([](const QString& path, auto& holder) {
            holder = std::make_unique<SqliteHistory>();
            QVERIFY(!holder->open(path));
        }) << u"utilisé par un autre Tonique"_s;
        QTest::newRow("folder cannot be made") << Setup([](const QString& path, auto&) {
            QVERIFY(QDir().rmdir(path.section(u'/', 0, -2)));
            QFile f(path.section(u'/', 0, -2));
            QVERIFY(f.open(QIODevice::WriteOnly)); // a file where the folder should be
        }) << u"ne peut pas être créé"_s;
    }
    void faults()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Tonique/historique.sqlite"_s);
        QDir().mkpath(dir.filePath(u"Tonique"_s));
        std::unique_ptr<SqliteHistory> other;
        setup(path, other);
        const QByteArray before = contents(path);
        SqliteHistory history;
        const Failure failed = history.open(path);
        QVERIFY(failed && failed->contains(message));
        QVERIFY(!history.isOpen());
        QCOMPARE(contents(path), before);
        QVERIFY(history.recordDrillAnswer({Start, u"e"_s, 100}).has_value());
    }

    // A full or failing disk is told in French with what to do; the driver's own words only come after, as a detail.
    void diskFailuresInFrench_data()
    {
        QTest::addColumn<bool>("copies");
        QTest::addColumn<bool>("full"); // or the files may no longer grow at all: the writes themselves fail
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("detail");
        QTest::newRow("full, copies") << true << true << "le disque est plein"
                                      << "database or disk is full";
        QTest::newRow("full, drill answers") << false << true << "le disque est plein"
                                             << "database or disk is full";
        QTest::newRow("writes refused, copies") << true << false << "erreur d'entrée-sortie"
                                                << "disk I/O error";
        QTest::newRow("writes refused, drill answers") << false << false << "erreur d'entrée-sortie"
                                                       << "disk I/O error";
    }
    void diskFailuresInFrench()
    {
        QFETCH(bool, copies);
        QFETCH(bool, full);
        QFETCH(QString, said);
        QFETCH(QString, detail);
        QTemporaryDir dir;
        SqliteHistory history;
        QVERIFY(!history.open(dir.filePath(u"historique.sqlite"_s)));
        const QString connection = QSqlDatabase::connectionNames().filter(u"historique-"_s).constLast();
        QVERIFY(QSqlQuery(QSqlDatabase::database(connection)).exec(u"PRAGMA max_page_count = 1"_s) || !full);
        // Writes past the first byte of any file fail with EFBIG, as the system reports a failing disk.
        const FileSizeLimit limit(full ? RLIM_INFINITY : 1);
        Failure failed;
        for (int i = 0; i < 2000 && !failed; ++i)
            failed = copies ? history.recordCopy({Start, 5, 0, 12, PassMark{}, true, {{QString::number(i), 5, 0}}, {}})
                            : history.recordDrillAnswer({Start, QString::number(i), 100});
        QVERIFY(failed);
        const QString told = failed->section(u"Détail technique"_s, 0, 0);
        QVERIFY2(told.contains(said) && told.contains(u"puis relancez Tonique"_s), qPrintable(told));
        QVERIFY2(!told.contains(u"disk"_s) && !told.contains(u"database"_s), qPrintable(told));
        QVERIFY2(failed->contains(detail), qPrintable(*failed));
    }

    // Without a history, once it has failed (told once), or when it cannot be opened at its first use (told once),
    // every caller gets the same answers: writes record nothing and fail with nothing, reads are empty lists, a
    // deletion deletes nothing, and it says why.
    void unavailable_data()
    {
        QTest::addColumn<int>("how"); // 0: none, 1: lost at its first failure, 2: opened at its first use
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<QString>("why");
        QTest::newRow("none from the start") << 0 << QStringList() << u"Tonique fonctionne sans historique."_s;
        QTest::newRow("lost at its first failure") << 1 << QStringList{u"disque plein"_s} << u"disque plein"_s;
        QTest::newRow("not opened at its first use") << 2 << QStringList{u"verrouillé"_s} << u"verrouillé"_s;
    }
    void unavailable()
    {
        QFETCH(int, how);
        QFETCH(QStringList, told);
        QFETCH(QString, why);
        FailingHistory failing(u"disque plein"_s);
        QStringList heard;
        const auto tell = [&heard](const QString& text) { heard << text; };
        int opens = 0;
        HistoryGuard guard = how == 2 ? HistoryGuard(
                                            [&opens]() -> Result<History*> {
                                                ++opens;
                                                return Fail(u"verrouillé"_s);
                                            },
                                            tell)
                                      : HistoryGuard(how == 0 ? nullptr : &failing, tell);
        QCOMPARE(opens, 0);
        History& history = guard;
        QVERIFY(!history.recordDrillAnswer({Start, u"e"_s, 100}));
        QVERIFY(!history.recordCopy({}));
        QVERIFY(history.copies(QDateTime()) && history.copies(QDateTime())->isEmpty());
        QVERIFY(history.drillAnswers(QDateTime()) && history.drillAnswers(QDateTime())->isEmpty());
        QVERIFY(history.weaknesses(QDateTime()) && history.weaknesses(QDateTime())->isEmpty());
        QVERIFY(history.fieldLosses(QDateTime()) && history.fieldLosses(QDateTime())->isEmpty());
        const Result<bool> deleted = history.deleteCopy(1);
        QVERIFY(deleted && !*deleted);
        QCOMPARE(heard, told);
        QVERIFY(!history.available());
        QCOMPARE(history.unavailableReason(), why);
        QCOMPARE(opens, how == 2 ? 1 : 0);
        // Read without the guard, a failed read is an empty list too.
        QVERIFY(ReadOrEmpty(failing.weaknesses(QDateTime())).isEmpty());
    }
};

TONIQUE_TEST(TestSqliteHistory, Core)
#include "tst_sqlitehistory.moc"
