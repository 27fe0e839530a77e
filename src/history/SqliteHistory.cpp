#include "history/SqliteHistory.h"

#include "common/FileErrors.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

int g_connections = 0;

// The sending runs of "Manipulation" and the characters each sent wrong (version 6).
QStringList SendingRunsStep()
{
    return {u"CREATE TABLE sending_runs (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, kind TEXT NOT NULL, "
            "characters INTEGER NOT NULL, errors INTEGER NOT NULL, wpm REAL NOT NULL, dash_dot REAL NOT NULL, "
            "element_gap REAL NOT NULL, letter_gap REAL NOT NULL, word_gap REAL NOT NULL, weight REAL NOT NULL, "
            "dot_spread REAL NOT NULL, dash_spread REAL NOT NULL, element_gap_spread REAL NOT NULL, "
            "letter_gap_spread REAL NOT NULL, word_gap_spread REAL NOT NULL)"_s,
            u"CREATE INDEX sending_runs_by_date ON sending_runs(at)"_s,
            u"CREATE TABLE sending_missent (run INTEGER NOT NULL, character TEXT NOT NULL, count INTEGER NOT NULL, "
            "PRIMARY KEY (run, character)) WITHOUT ROWID"_s};
}

// A copy's local day (a Julian day, as QDate gives it) and accuracy in tenths of a percent, for the copies `r`.
QString sqlDayOf(const QString& r)
{
    return u"CAST(julianday(%1.at / 1000.0, 'unixepoch', 'localtime') + 0.5 AS INTEGER)"_s.arg(r);
}

QString accuracyOf(const QString& r)
{
    return u"CASE WHEN %1.characters <= 0 THEN 0 ELSE (2000 * max(0, %1.characters - %1.errors) + %1.characters) / "
           "(2 * %1.characters) END"_s.arg(r);
}

// The copies summed up by day for the charts of a long period, kept by the copies' own triggers (version 7). Taken
// again over a file that has them already, it sums the days up afresh.
QStringList CopyDaysStep()
{
    const QString summed = u"SELECT %1, count(*), min(c.at), max(c.at), min(%2), max(%2), min(c.wpm), max(c.wpm) "
                           "FROM copies AS c "_s.arg(sqlDayOf(u"c"_s), accuracyOf(u"c"_s));
    return {u"CREATE TABLE IF NOT EXISTS copy_days (day INTEGER PRIMARY KEY, copies INTEGER NOT NULL, first_at INTEGER "
            u"NOT NULL, "
            "last_at INTEGER NOT NULL, low_accuracy INTEGER NOT NULL, high_accuracy INTEGER NOT NULL, "
            "low_wpm REAL NOT NULL, high_wpm REAL NOT NULL)"_s,
            u"CREATE TRIGGER IF NOT EXISTS copy_days_added AFTER INSERT ON copies BEGIN INSERT INTO copy_days VALUES "
            u"(%1, 1, "
            "NEW.at, NEW.at, %2, %2, NEW.wpm, NEW.wpm) ON CONFLICT (day) DO UPDATE SET copies = copies + 1, "
            "first_at = min(first_at, excluded.first_at), last_at = max(last_at, excluded.last_at), "
            "low_accuracy = min(low_accuracy, excluded.low_accuracy), high_accuracy = max(high_accuracy, "
            "excluded.high_accuracy), low_wpm = min(low_wpm, excluded.low_wpm), high_wpm = max(high_wpm, "
            "excluded.high_wpm); END"_s.arg(sqlDayOf(u"NEW"_s), accuracyOf(u"NEW"_s)),
            // A day is summed up again from its copies, found by time within a day and a bit on each side.
            u"CREATE TRIGGER IF NOT EXISTS copy_days_removed AFTER DELETE ON copies BEGIN DELETE FROM copy_days WHERE "
            u"day = %1; "
            "INSERT INTO copy_days %2 WHERE c.at BETWEEN OLD.at - 90000000 AND OLD.at + 90000000 AND %3 = %1 "
            "GROUP BY 1; END"_s.arg(sqlDayOf(u"OLD"_s), summed, sqlDayOf(u"c"_s)),
            u"INSERT OR REPLACE INTO copy_days "_s + summed + u"GROUP BY 1"_s};
}

// What each version adds to the one before it.
const QList<QStringList>& Migrations()
{
    static const QList<QStringList> steps{
        {u"CREATE TABLE copies (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, characters INTEGER NOT NULL, "
         "errors INTEGER NOT NULL, wpm REAL NOT NULL, pass INTEGER NOT NULL, received INTEGER NOT NULL)"_s,
         u"CREATE TABLE drill_answers (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, character TEXT NOT NULL, "
         "ms INTEGER NOT NULL)"_s},
        {u"CREATE TABLE character_days (character TEXT NOT NULL, day INTEGER NOT NULL, sent INTEGER NOT NULL, "
         "wrong INTEGER NOT NULL, PRIMARY KEY (character, day)) WITHOUT ROWID"_s,
         u"CREATE INDEX copies_by_date ON copies(at)"_s, u"CREATE INDEX drill_answers_by_date ON drill_answers(at)"_s,
         u"CREATE INDEX drill_answers_by_character ON drill_answers(character, at)"_s},
        // An empty `sent` is an extra character, an empty `copied` a missing one.
        {u"CREATE TABLE confusion_days (sent TEXT NOT NULL, copied TEXT NOT NULL, day INTEGER NOT NULL, "
         "count INTEGER NOT NULL, PRIMARY KEY (sent, copied, day)) WITHOUT ROWID"_s},
        {u"CREATE TABLE copy_characters (copy INTEGER NOT NULL, character TEXT NOT NULL, sent INTEGER NOT NULL, "
         "wrong INTEGER NOT NULL, PRIMARY KEY (copy, character)) WITHOUT ROWID"_s,
         u"CREATE TABLE copy_confusions (copy INTEGER NOT NULL, sent TEXT NOT NULL, copied TEXT NOT NULL, "
         "count INTEGER NOT NULL, PRIMARY KEY (copy, sent, copied)) WITHOUT ROWID"_s,
         u"CREATE TABLE copies_without_details (id INTEGER PRIMARY KEY)"_s,
         u"INSERT INTO copies_without_details SELECT id FROM copies"_s},
        {u"CREATE TABLE copy_fields (copy INTEGER NOT NULL, position INTEGER NOT NULL, kind TEXT NOT NULL, "
         "sent TEXT NOT NULL, copied TEXT NOT NULL, correct INTEGER NOT NULL, PRIMARY KEY (copy, position)) "
         "WITHOUT ROWID"_s,
         u"CREATE INDEX copy_fields_by_kind ON copy_fields(kind, correct)"_s},
        SendingRunsStep(),
        // The call-sign race's finished runs.
        {u"CREATE TABLE IF NOT EXISTS race_runs (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, score INTEGER NOT NULL, "
         "top_cpm INTEGER NOT NULL, calls INTEGER NOT NULL, missed INTEGER NOT NULL)"_s,
         u"CREATE INDEX IF NOT EXISTS race_runs_by_date ON race_runs(at)"_s},
        CopyDaysStep(),
        // The characters of the recognition runs; a null time is a key pressed before the sound ended.
        {u"CREATE TABLE IF NOT EXISTS recognitions (id INTEGER PRIMARY KEY, at INTEGER NOT NULL, character TEXT NOT "
         u"NULL, "
         "ms INTEGER, right INTEGER NOT NULL)"_s,
         u"CREATE INDEX IF NOT EXISTS recognitions_by_date ON recognitions(at)"_s},
    };
    return steps;
}

// Each kind of information as the history names it; a name not in this list comes from a newer Tonique.
const QList<std::pair<FieldKind, QString>>& KindNames()
{
    static const QList<std::pair<FieldKind, QString>> names{
        {FieldKind::CallSign, u"indicatif"_s}, {FieldKind::Report, u"report"_s},
        {FieldKind::Name, u"prenom"_s},        {FieldKind::Qth, u"qth"_s},
        {FieldKind::Power, u"puissance"_s},    {FieldKind::Equipment, u"equipement"_s},
        {FieldKind::Weather, u"meteo"_s},      {FieldKind::Part, u"partie"_s}};
    return names;
}

QString kindName(FieldKind kind)
{
    for (const auto& [known, name] : KindNames()) {
        if (known == kind)
            return name;
    }
    return {};
}

std::optional<FieldKind> kindNamed(const QString& name)
{
    for (const auto& [kind, known] : KindNames()) {
        if (known == name)
            return kind;
    }
    return std::nullopt;
}

const std::pair<SendingKind, QString> SendingKindNames[] = {
    {SendingKind::Free, u"libre"_s}, {SendingKind::Exercise, u"exercice"_s}, {SendingKind::Echo, u"echo"_s}};

QString sendingKindName(SendingKind kind)
{
    for (const auto& [known, name] : SendingKindNames) {
        if (known == kind)
            return name;
    }
    return {};
}

SendingKind sendingKindNamed(const QString& name)
{
    for (const auto& [kind, known] : SendingKindNames) {
        if (known == name)
            return kind;
    }
    return SendingKind::Free;
}

// "'indicatif', 'report', ...": the names known, for an SQL list.
QString knownKindList()
{
    QStringList quoted;
    for (const auto& entry : KindNames())
        quoted << u'\'' + entry.second + u'\'';
    return quoted.join(u", "_s);
}

qint64 sinceMs(const QDateTime& since)
{
    return since.isValid() ? since.toMSecsSinceEpoch() : LLONG_MIN;
}

// The local day of a time, as the tallies are kept.
qint64 dayOf(const QDateTime& at)
{
    return at.isValid() ? at.toLocalTime().date().toJulianDay() : LLONG_MIN;
}

// The confusions kept for a character, the most frequent first.
constexpr qsizetype MainConfusions = 3;

// In 64 bits: two times near the largest stored value add up beyond an int.
double median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? double(values[n / 2]) : (double(values[n / 2 - 1]) + double(values[n / 2])) / 2.0;
}

// What went wrong with the file, and what the learner can do about it, from the driver's error code.
struct Reason
{
    QString what;
    QString todo;
};

Reason reasonOf(const QSqlError& error)
{
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case 13: // full
        return {u"le disque est plein"_s, u"Libérez de la place sur le disque, puis relancez Tonique."_s};
    case 10: // I/O error
        return {u"le disque ne répond pas correctement (erreur d'entrée-sortie)"_s,
                u"Vérifiez le disque ou la clé qui le porte, puis relancez Tonique."_s};
    case 8:  // read-only
    case 3:  // permission
    case 23: // authorization
        return {u"le fichier ou son dossier ne peut pas être écrit"_s,
                u"Donnez-vous le droit d'y écrire, puis relancez Tonique."_s};
    case 14: // cannot open
        return {u"le fichier ne peut être ni ouvert ni créé"_s,
                u"Vérifiez que son dossier existe et peut être écrit, puis relancez Tonique."_s};
    default:
        return {
            u"la base de données a refusé l'opération"_s,
            u"Relancez Tonique\u202F; si cela se reproduit, mettez le fichier de côté pour repartir d'un historique "
            "vide."_s};
    }
}

// Runs a statement of its own, such as "BEGIN" or "COMMIT": the driver's transaction calls drop the error's code,
// which tells a full disk from a broken one. An invalid error when it went through.
QSqlError run(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    return query.exec(statement) ? QSqlError() : query.lastError();
}

// The driver's own words, kept as a detail for whoever helps the learner.
QString detailOf(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QString() : u"\nDétail technique\u202F: "_s + text;
}

// `failed` (a sentence without its end), why, that the program goes on without the history, and what to do.
QString explained(const QString& failed, const QSqlError& error, const QString& kept)
{
    const Reason reason = reasonOf(error);
    return failed + u"\u202F: "_s + reason.what + u". Tonique continue sans historique"_s + kept + u". "_s +
           reason.todo + detailOf(error);
}

// A copy read as "SELECT at, characters, errors, wpm, pass, received, id" gives it.
CopyRecord copyOf(const QSqlQuery& query)
{
    CopyRecord copy;
    copy.at = QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong());
    copy.characters = query.value(1).toInt();
    copy.errors = query.value(2).toInt();
    copy.wpm = query.value(3).toDouble();
    copy.pass.hundredths = query.value(4).toInt();
    copy.received = query.value(5).toInt() != 0;
    copy.id = query.value(6).toLongLong();
    return copy;
}

} // namespace

SqliteHistory::SqliteHistory() : m_connection(u"historique-"_s + QString::number(++g_connections)) {}

SqliteHistory::~SqliteHistory()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QString SqliteHistory::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(u"historique.sqlite"_s);
}

QString SqliteHistory::failureText(const QSqlError& error) const
{
    const QString where = u"L'historique «\u202F"_s + QDir::toNativeSeparators(m_path) + u"\u202F»"_s;
    const QString goOn = u" Tonique continue sans historique\u202F; le fichier n'est ni effacé ni modifié."_s;
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case 5: // busy
    case 6: // locked
        return where + u" est utilisé par un autre Tonique."_s + goOn;
    case 11: // corrupt
    case 26: // not a database
        return where + u" est endommagé ou n'est pas un historique de Tonique."_s + goOn;
    default:
        return explained(where + u" ne peut pas être utilisé"_s, error,
                         u"\u202F; le fichier n'est ni effacé ni modifié"_s);
    }
}

QString SqliteHistory::notOpen() const
{
    return u"L'historique n'est pas ouvert."_s;
}

Failure SqliteHistory::open(const QString& path)
{
    m_path = path;
    Failure failed = opened(path);
    if (failed) {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    m_open = !failed;
    return failed;
}

Failure SqliteHistory::opened(const QString& path)
{
    errno = 0;
    if (path != u":memory:"_s && !QDir().mkpath(QFileInfo(path).absolutePath()))
        return u"Le dossier de l'historique «\u202F"_s + QDir::toNativeSeparators(QFileInfo(path).absolutePath()) +
               u"\u202F» ne peut pas être créé\u202F: "_s + WriteFailureReason(path, errno) +
               u". Tonique continue sans historique."_s;
    if (Failure linked = symbolicLink(path))
        return linked;
    QSqlDatabase db = QSqlDatabase::contains(m_connection) ? QSqlDatabase::database(m_connection, false)
                                                           : QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connection);
    if (!db.isValid())
        return u"Le pilote SQLite de Qt est absent (paquet libqt6sql6-sqlite)\u202F: Tonique continue sans historique."_s;
    db.setDatabaseName(path);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0"_s); // another Tonique's file is reported at once
    if (!db.open())
        return failureText(db.lastError());

    // Nothing is written before the version is known to be this program's.
    QSqlQuery query(db);
    if (!query.exec(u"PRAGMA locking_mode=EXCLUSIVE"_s) || !query.exec(u"PRAGMA user_version"_s) || !query.next())
        return failureText(query.lastError());
    const int version = query.value(0).toInt();
    if (version < 0 || version > SchemaVersion)
        return u"L'historique «\u202F"_s + QDir::toNativeSeparators(path) +
               u"\u202F» vient d'une version plus récente de Tonique. Tonique continue sans historique\u202F; le "
               u"fichier "
               "n'est ni effacé ni modifié."_s;
    if (version >= 5) {
        if (Failure newer = unknownKinds(path))
            return newer;
    }
    if (version == 0) {
        if (!query.exec(u"SELECT count(*) FROM sqlite_master"_s) || !query.next())
            return failureText(query.lastError());
        if (query.value(0).toInt() > 0)
            return u"Le fichier «\u202F"_s + QDir::toNativeSeparators(path) +
                   u"\u202F» n'est pas un historique de Tonique. Tonique continue sans historique\u202F; le fichier "
                   u"n'est ni "
                   "effacé ni modifié."_s;
    }
    if (!query.exec(u"PRAGMA journal_mode=WAL"_s) || !query.next())
        return failureText(query.lastError());
    const QString mode = query.value(0).toString();
    if (mode != u"wal"_s && mode != u"memory"_s)
        return failureText(QSqlError(QString(), u"journal "_s + mode, QSqlError::ConnectionError));
    if (!query.exec(u"PRAGMA synchronous=NORMAL"_s))
        return failureText(query.lastError());
    return migrate(version);
}

Failure SqliteHistory::unknownKinds(const QString& path)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(u"SELECT kind FROM copy_fields WHERE kind NOT IN ("_s + knownKindList() + u") LIMIT 1"_s))
        return failureText(query.lastError());
    if (!query.next())
        return {};
    return u"L'historique «\u202F"_s + QDir::toNativeSeparators(path) +
           u"\u202F» vient d'une version plus récente de Tonique (information «\u202F"_s + query.value(0).toString() +
           u"\u202F» inconnue). Tonique continue sans historique\u202F; le fichier n'est ni effacé ni modifié."_s;
}

Failure SqliteHistory::symbolicLink(const QString& path) const
{
    // The history is written where it is, never through a link to some other file, nor its journals.
    for (const QString& suffix : {u""_s, u"-wal"_s, u"-shm"_s, u"-journal"_s}) {
        const QString file = path + suffix;
        if (QFileInfo(file).isSymLink())
            return u"L'historique «\u202F"_s + QDir::toNativeSeparators(file) +
                   u"\u202F» est un lien symbolique\u202F: Tonique n'écrit pas à travers un lien. Remplacez-le par le "
                   "fichier lui-même, ou supprimez-le pour repartir d'un historique vide. Tonique continue sans "
                   "historique\u202F; ni le lien ni ce vers quoi il pointe ne sont modifiés."_s;
    }
    return {};
}

Failure SqliteHistory::migrate(int from)
{
    if (from == SchemaVersion)
        return {};
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    if (const QSqlError error = run(db, u"BEGIN"_s); error.isValid())
        return failureText(error);
    for (int version = from; version < SchemaVersion; ++version) {
        for (const QString& statement : Migrations()[version]) {
            if (!query.exec(statement)) {
                const QSqlError error = query.lastError();
                db.rollback();
                return failureText(error);
            }
        }
    }
    const QSqlError error = query.exec(u"PRAGMA user_version = "_s + QString::number(SchemaVersion))
                                ? run(db, u"COMMIT"_s)
                                : query.lastError();
    if (error.isValid()) {
        db.rollback();
        return failureText(error);
    }
    return {};
}

Failure SqliteHistory::recordCopy(const CopyRecord& copy)
{
    if (!m_open)
        return notOpen();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    auto failed = [&](const QSqlError& error) -> Failure {
        db.rollback();
        return explained(u"Le résultat n'a pas pu être enregistré dans l'historique"_s, error, QString());
    };
    if (const QSqlError error = run(db, u"BEGIN"_s); error.isValid())
        return failed(error);
    query.prepare(u"INSERT INTO copies (at, characters, errors, wpm, pass, received) VALUES (?, ?, ?, ?, ?, ?)"_s);
    for (const QVariant& value :
         {QVariant(copy.at.toMSecsSinceEpoch()), QVariant(copy.characters), QVariant(copy.errors), QVariant(copy.wpm),
          QVariant(copy.pass.hundredths), QVariant(copy.received ? 1 : 0)})
        query.addBindValue(value);
    if (!query.exec())
        return failed(query.lastError());
    const qint64 id = query.lastInsertId().toLongLong();
    Failure details = recordDetails(id, copy);
    if (!details)
        details = recordFields(id, copy);
    if (details) {
        db.rollback();
        return details;
    }
    // The characters are kept per day: a period's tallies are then a few hundred rows whatever the copies.
    query.prepare(u"INSERT INTO character_days (character, day, sent, wrong) VALUES (?, ?, ?, ?) ON CONFLICT "
                  "(character, day) DO UPDATE SET sent = sent + excluded.sent, wrong = wrong + excluded.wrong"_s);
    for (const CharacterTally& tally : copy.tallies) {
        for (const QVariant& value :
             {QVariant(tally.character), QVariant(dayOf(copy.at)), QVariant(tally.sent), QVariant(tally.wrong)})
            query.addBindValue(value);
        if (!query.exec())
            return failed(query.lastError());
    }
    query.prepare(u"INSERT INTO confusion_days (sent, copied, day, count) VALUES (?, ?, ?, ?) ON CONFLICT "
                  "(sent, copied, day) DO UPDATE SET count = count + excluded.count"_s);
    for (const Confusion& confusion : copy.confusions) {
        // A missing or extra character's side is empty, never NULL.
        for (const QVariant& value : {QVariant(confusion.sent.isNull() ? u""_s : confusion.sent),
                                      QVariant(confusion.copied.isNull() ? u""_s : confusion.copied),
                                      QVariant(dayOf(copy.at)), QVariant(confusion.count)})
            query.addBindValue(value);
        if (!query.exec())
            return failed(query.lastError());
    }
    if (const QSqlError error = run(db, u"COMMIT"_s); error.isValid())
        return failed(error);
    return {};
}

Failure SqliteHistory::recordDrillAnswer(const DrillAnswerRecord& answer)
{
    if (!m_open)
        return notOpen();
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(u"INSERT INTO drill_answers (at, character, ms) VALUES (?, ?, ?)"_s);
    query.addBindValue(answer.at.toMSecsSinceEpoch());
    query.addBindValue(answer.character);
    query.addBindValue(answer.ms);
    if (!query.exec())
        return explained(u"La réponse n'a pas pu être enregistrée dans l'historique"_s, query.lastError(), QString());
    return {};
}

Failure SqliteHistory::recordSendingRun(const SendingRunRecord& record)
{
    if (!m_open)
        return notOpen();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    auto failed = [&](const QSqlError& error) -> Failure {
        db.rollback();
        return explained(u"L'envoi n'a pas pu être enregistré dans l'historique"_s, error, QString());
    };
    if (const QSqlError error = run(db, u"BEGIN"_s); error.isValid())
        return failed(error);
    query.prepare(u"INSERT INTO sending_runs (at, kind, characters, errors, wpm, dash_dot, element_gap, letter_gap, "
                  "word_gap, weight, dot_spread, dash_spread, element_gap_spread, letter_gap_spread, word_gap_spread) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    for (const QVariant& value :
         {QVariant(record.at.toMSecsSinceEpoch()), QVariant(sendingKindName(record.kind)), QVariant(record.characters),
          QVariant(record.errors), QVariant(record.wpm), QVariant(record.dashDotRatio),
          QVariant(record.elementGapRatio), QVariant(record.letterGapRatio), QVariant(record.wordGapRatio),
          QVariant(record.weightPercent)})
        query.addBindValue(value);
    for (const double spread : record.spreads)
        query.addBindValue(spread);
    if (!query.exec())
        return failed(query.lastError());
    const qint64 id = query.lastInsertId().toLongLong();
    query.prepare(u"INSERT INTO sending_missent (run, character, count) VALUES (?, ?, ?) ON CONFLICT (run, character) "
                  "DO UPDATE SET count = count + excluded.count"_s);
    for (const MissentCharacter& missent : record.missent) {
        for (const QVariant& value : {QVariant(id), QVariant(missent.character), QVariant(missent.count)})
            query.addBindValue(value);
        if (!query.exec())
            return failed(query.lastError());
    }
    if (const QSqlError error = run(db, u"COMMIT"_s); error.isValid())
        return failed(error);
    return {};
}

Result<QList<SendingRunRecord>> SqliteHistory::sendingRuns(const QDateTime& since)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT at, kind, characters, errors, wpm, dash_dot, element_gap, letter_gap, word_gap, weight, "
                  "dot_spread, dash_spread, element_gap_spread, letter_gap_spread, word_gap_spread, id "
                  "FROM sending_runs WHERE at >= ? ORDER BY at, id"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    QList<SendingRunRecord> runs;
    while (query.next()) {
        SendingRunRecord r;
        r.at = QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong());
        r.kind = sendingKindNamed(query.value(1).toString());
        r.characters = query.value(2).toInt();
        r.errors = query.value(3).toInt();
        r.wpm = query.value(4).toDouble();
        r.dashDotRatio = query.value(5).toDouble();
        r.elementGapRatio = query.value(6).toDouble();
        r.letterGapRatio = query.value(7).toDouble();
        r.wordGapRatio = query.value(8).toDouble();
        r.weightPercent = query.value(9).toDouble();
        for (int i = 0; i < SendingRunRecord::SpreadCount; ++i)
            r.spreads[size_t(i)] = query.value(10 + i).toDouble();
        r.id = query.value(15).toLongLong();
        runs.append(std::move(r));
    }
    if (const Failure failed = readMissent(runs, since))
        return Fail(*failed);
    return runs;
}

Result<QList<SendingRunRecord>> SqliteHistory::drawnSendingRuns(const QDateTime& since)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT at, kind, characters, errors, wpm, dash_dot, id FROM sending_runs WHERE at >= ? "
                  "ORDER BY at, id"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    QList<SendingRunRecord> runs;
    while (query.next()) {
        SendingRunRecord r;
        r.at = QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong());
        r.kind = sendingKindNamed(query.value(1).toString());
        r.characters = query.value(2).toInt();
        r.errors = query.value(3).toInt();
        r.wpm = query.value(4).toDouble();
        r.dashDotRatio = query.value(5).toDouble();
        r.id = query.value(6).toLongLong();
        runs.append(std::move(r));
    }
    return runs;
}

Failure SqliteHistory::readMissent(QList<SendingRunRecord>& runs, const QDateTime& since)
{
    QHash<qint64, SendingRunRecord*> byId;
    for (SendingRunRecord& r : runs)
        byId.insert(r.id, &r);
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT m.run, m.character, m.count FROM sending_missent AS m JOIN sending_runs AS r ON "
                  "r.id = m.run WHERE r.at >= ? ORDER BY m.run, m.count DESC, m.character"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return failureText(query.lastError());
    while (query.next()) {
        if (SendingRunRecord* r = byId.value(query.value(0).toLongLong()))
            r->missent.append({query.value(1).toString(), query.value(2).toInt()});
    }
    return {};
}

Failure SqliteHistory::addMissent(QMap<QString, CharacterWeakness>& found, const QDateTime& since)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT m.character, sum(m.count) FROM sending_missent AS m JOIN sending_runs AS r ON r.id = m.run "
                  "WHERE r.at >= ? GROUP BY m.character"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return failureText(query.lastError());
    while (query.next())
        found[query.value(0).toString()].missent += query.value(1).toInt();
    return {};
}

Failure SqliteHistory::recordRace(const RaceRecord& race)
{
    if (!m_open)
        return notOpen();
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(u"INSERT INTO race_runs (at, score, top_cpm, calls, missed) VALUES (?, ?, ?, ?, ?)"_s);
    query.addBindValue(race.at.toMSecsSinceEpoch());
    query.addBindValue(race.score);
    query.addBindValue(race.topCpm);
    query.addBindValue(race.calls);
    query.addBindValue(race.missed);
    if (!query.exec())
        return explained(u"La course n'a pas pu être enregistrée dans l'historique"_s, query.lastError(), QString());
    return {};
}

Result<QList<RaceRecord>> SqliteHistory::races(const QDateTime& since)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT at, score, top_cpm, calls, missed FROM race_runs WHERE at >= ? ORDER BY at, id"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    QList<RaceRecord> runs;
    while (query.next())
        runs.append({QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong()), query.value(1).toInt(),
                     query.value(2).toInt(), query.value(3).toInt(), query.value(4).toInt()});
    return runs;
}

Result<QList<CopyRecord>> SqliteHistory::copies(const QDateTime& since)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(
        u"SELECT at, characters, errors, wpm, pass, received, id FROM copies WHERE at >= ? ORDER BY at, id"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    QList<CopyRecord> copies;
    while (query.next())
        copies.append(copyOf(query));
    return copies;
}

Result<CopyChart> SqliteHistory::copyChart(const QDateTime& since, int columns)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT count(*), min(at), max(at) FROM copies WHERE at >= ?"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec() || !query.next())
        return Fail(failureText(query.lastError()));
    CopyChart chart;
    chart.count = query.value(0).toLongLong();
    if (chart.count == 0)
        return chart;
    chart.first = QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong());
    chart.last = QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong());
    if (const Failure failed =
            ReadByDay(chart, columns) ? addDays(chart, since, columns) : addColumns(chart, since, columns))
        return Fail(*failed);
    return chart;
}

Failure SqliteHistory::addDays(CopyChart& chart, const QDateTime& since, int columns)
{
    // The days after the one `since` falls on summed up already; that one from its copies since `since`.
    const qint64 firstMs = chart.first.toMSecsSinceEpoch(), lastMs = chart.last.toMSecsSinceEpoch();
    const qint64 nextDay =
        since.isValid() ? since.toLocalTime().date().addDays(1).startOfDay().toMSecsSinceEpoch() : LLONG_MIN;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT min(first_at), max(last_at), min(low_accuracy) / 10.0, max(high_accuracy) / 10.0, "
                  "min(low_wpm), max(high_wpm), sum(copies) FROM (SELECT * FROM copy_days WHERE day > ? UNION ALL "
                  "SELECT %1, count(*), min(c.at), max(c.at), min(%2), max(%2), min(c.wpm), max(c.wpm) FROM copies "
                  "AS c WHERE c.at >= ? AND c.at < ? GROUP BY 1) GROUP BY (first_at - %3) * %4 / %5 ORDER BY 1"_s
                      .arg(sqlDayOf(u"c"_s), accuracyOf(u"c"_s))
                      .arg(firstMs)
                      .arg(columns)
                      .arg(lastMs - firstMs + 1));
    for (const QVariant& value : {QVariant(dayOf(since)), QVariant(sinceMs(since)), QVariant(nextDay)})
        query.addBindValue(value);
    return readColumns(query, chart);
}

Failure SqliteHistory::readColumns(QSqlQuery& query, CopyChart& chart)
{
    if (!query.exec())
        return failureText(query.lastError());
    while (query.next()) {
        chart.columns.append({query.value(0).toDouble(), query.value(1).toDouble(), query.value(2).toDouble(),
                              query.value(3).toDouble(), query.value(4).toDouble(), query.value(5).toDouble(),
                              query.value(6).toLongLong()});
    }
    return {};
}

Failure SqliteHistory::addColumns(CopyChart& chart, const QDateTime& since, int columns)
{
    // A column per copy; or the copies' numbers, or their times, scaled to the columns. The copies are numbered in
    // SQL only when needed: it reads them all in order.
    const bool numbered = CountedInOrder(chart.first, chart.last);
    const qint64 firstMs = chart.first.toMSecsSinceEpoch(), lastMs = chart.last.toMSecsSinceEpoch();
    QString column = u"(at - %1) * %2 / %3"_s.arg(firstMs).arg(columns).arg(lastMs - firstMs + 1);
    QString copies = u"SELECT * FROM copies WHERE at >= ?"_s;
    if (chart.count <= columns || numbered) {
        column = chart.count <= columns ? u"n"_s : u"(n - 1) * %1 / %2"_s.arg(columns).arg(chart.count);
        copies = u"SELECT row_number() OVER (ORDER BY at, id) AS n, * FROM copies WHERE at >= ?"_s;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT min(%1), max(%1), min(accuracy), max(accuracy), min(wpm), max(wpm), count(*) FROM "
                  "(SELECT *, %4 / 10.0 AS accuracy FROM (%3) AS c) GROUP BY %2 ORDER BY %2"_s.arg(
                      numbered ? u"n"_s : u"at"_s, column, copies, accuracyOf(u"c"_s)));
    query.addBindValue(sinceMs(since));
    return readColumns(query, chart);
}

Result<QList<CopyRecord>> SqliteHistory::newestCopies(const QDateTime& since, qsizetype skip, qsizetype count)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT at, characters, errors, wpm, pass, received, id FROM copies WHERE at >= ? "
                  "ORDER BY at DESC, id DESC LIMIT ? OFFSET ?"_s);
    for (const QVariant& value : {QVariant(sinceMs(since)), QVariant(count), QVariant(skip)})
        query.addBindValue(value);
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    QList<CopyRecord> copies;
    while (query.next())
        copies.append(copyOf(query));
    return copies;
}

Result<QList<DrillAnswerRecord>> SqliteHistory::drillAnswers(const QDateTime& since)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT at, character, ms FROM drill_answers WHERE at >= ? ORDER BY at, id"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    QList<DrillAnswerRecord> answers;
    while (query.next())
        answers.append({QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong()), query.value(1).toString(),
                        query.value(2).toInt()});
    return answers;
}

Result<QList<CharacterWeakness>> SqliteHistory::weaknesses(const QDateTime& since)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    QMap<QString, CharacterWeakness> found;
    query.prepare(u"SELECT character, sum(sent), sum(wrong) FROM character_days WHERE day >= ? GROUP BY character"_s);
    query.addBindValue(dayOf(since));
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    while (query.next()) {
        CharacterWeakness& w = found[query.value(0).toString()];
        w.sent = query.value(1).toInt();
        w.wrong = query.value(2).toInt();
    }
    if (const Failure failed = addConfusions(found, since))
        return Fail(*failed);
    if (const Failure failed = addReactionTimes(found, since))
        return Fail(*failed);
    if (const Failure failed = addMissent(found, since))
        return Fail(*failed);
    QList<CharacterWeakness> weaknesses;
    for (auto it = found.begin(); it != found.end(); ++it) {
        it->character = it.key();
        weaknesses.append(*it);
    }
    return weaknesses;
}

Failure SqliteHistory::addReactionTimes(QMap<QString, CharacterWeakness>& found, const QDateTime& since)
{
    // The drilled characters one index seek at a time, then each one's last 20 answers of the period: a few
    // hundred rows read, however many answers there are.
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery next(db), last(db);
    next.prepare(u"SELECT min(character) FROM drill_answers WHERE character > coalesce(?, '')"_s);
    last.prepare(u"SELECT ms FROM drill_answers WHERE character = ? AND at >= ? ORDER BY at DESC, id DESC LIMIT 20"_s);
    for (QString character;;) {
        next.addBindValue(character);
        if (!next.exec() || !next.next())
            return failureText(next.lastError());
        if (next.value(0).isNull())
            return {};
        character = next.value(0).toString();
        last.addBindValue(character);
        last.addBindValue(sinceMs(since));
        if (!last.exec())
            return failureText(last.lastError());
        QList<qint64> times;
        while (last.next())
            times.append(last.value(0).toLongLong());
        if (!times.isEmpty()) {
            found[character].answers = int(times.size());
            found[character].medianMs = median(times);
        }
    }
}

Failure SqliteHistory::addConfusions(QMap<QString, CharacterWeakness>& found, const QDateTime& since)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT sent, copied, sum(count) FROM confusion_days WHERE day >= ? GROUP BY sent, copied"_s);
    query.addBindValue(dayOf(since));
    if (!query.exec())
        return failureText(query.lastError());
    while (query.next()) {
        const QString sent = query.value(0).toString(), copied = query.value(1).toString();
        const int count = query.value(2).toInt();
        if (!sent.isEmpty())
            found[sent].confusions.append({copied.isEmpty() ? Mark::Missing : Mark::Wrong, sent, copied, count});
        if (!copied.isEmpty())
            found[copied].miscopied += count;
    }
    for (CharacterWeakness& w : found) {
        std::stable_sort(w.confusions.begin(), w.confusions.end(),
                         [](const Confusion& a, const Confusion& b) { return a.count > b.count; });
        w.confusions.resize(std::min(w.confusions.size(), MainConfusions));
    }
    return {};
}

Failure SqliteHistory::recordDetails(qint64 copy, const CopyRecord& record)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(u"INSERT INTO copy_characters (copy, character, sent, wrong) VALUES (?, ?, ?, ?) ON CONFLICT "
                  "(copy, character) DO UPDATE SET sent = sent + excluded.sent, wrong = wrong + excluded.wrong"_s);
    for (const CharacterTally& tally : record.tallies) {
        for (const QVariant& value :
             {QVariant(copy), QVariant(tally.character), QVariant(tally.sent), QVariant(tally.wrong)})
            query.addBindValue(value);
        if (!query.exec())
            return failureText(query.lastError());
    }
    query.prepare(u"INSERT INTO copy_confusions (copy, sent, copied, count) VALUES (?, ?, ?, ?) ON CONFLICT "
                  "(copy, sent, copied) DO UPDATE SET count = count + excluded.count"_s);
    for (const Confusion& confusion : record.confusions) {
        for (const QVariant& value :
             {QVariant(copy), QVariant(confusion.sent.isNull() ? u""_s : confusion.sent),
              QVariant(confusion.copied.isNull() ? u""_s : confusion.copied), QVariant(confusion.count)})
            query.addBindValue(value);
        if (!query.exec())
            return failureText(query.lastError());
    }
    return {};
}

Failure SqliteHistory::recordFields(qint64 copy, const CopyRecord& record)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(u"INSERT INTO copy_fields (copy, position, kind, sent, copied, correct) VALUES (?, ?, ?, ?, ?, ?)"_s);
    for (qsizetype position = 0; position < record.fields.size(); ++position) {
        const MarkedField& field = record.fields[position];
        for (const QVariant& value :
             {QVariant(copy), QVariant(position), QVariant(kindName(field.kind)), QVariant(field.sent),
              QVariant(field.copied.isNull() ? u""_s : field.copied), QVariant(field.right ? 1 : 0)})
            query.addBindValue(value);
        if (!query.exec())
            return failureText(query.lastError());
    }
    return {};
}

Result<QList<FieldLoss>> SqliteHistory::fieldLosses(const QDateTime& since)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT f.kind, count(*), sum(1 - f.correct) FROM copy_fields AS f JOIN copies AS c ON "
                  "c.id = f.copy WHERE c.at >= ? GROUP BY f.kind"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    QList<FieldLoss> losses;
    while (query.next()) {
        if (const std::optional<FieldKind> kind = kindNamed(query.value(0).toString()))
            losses.append({*kind, query.value(1).toInt(), query.value(2).toInt()});
    }
    // The kind lost most often first; then in the order of the kinds.
    std::sort(losses.begin(), losses.end(), [](const FieldLoss& a, const FieldLoss& b) {
        const qint64 left = qint64(a.lost) * b.sent, right = qint64(b.lost) * a.sent;
        return left != right ? left > right : a.kind < b.kind;
    });
    return losses;
}

Result<bool> SqliteHistory::deleteCopy(qint64 id)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (const QSqlError error = run(db, u"BEGIN"_s); error.isValid())
        return Fail(failureText(error));
    QSqlQuery query(db);
    const auto failed = [&](const QSqlError& error) -> Result<bool> {
        db.rollback();
        return Fail(failureText(error));
    };
    query.prepare(u"SELECT at FROM copies WHERE id = ?"_s);
    query.addBindValue(id);
    if (!query.exec())
        return failed(query.lastError());
    if (!query.next()) { // gone already
        db.rollback();
        return true;
    }
    Result<bool> removed = removeTallies(id, QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong()));
    if (!removed || !*removed) {
        db.rollback();
        return removed;
    }
    for (const QString& statement :
         {u"DELETE FROM copy_characters WHERE copy = ?"_s, u"DELETE FROM copy_confusions WHERE copy = ?"_s,
          u"DELETE FROM copy_fields WHERE copy = ?"_s, u"DELETE FROM copies_without_details WHERE id = ?"_s,
          u"DELETE FROM copies WHERE id = ?"_s}) {
        query.prepare(statement);
        query.addBindValue(id);
        if (!query.exec())
            return failed(query.lastError());
    }
    if (const QSqlError error = run(db, u"COMMIT"_s); error.isValid())
        return failed(error);
    return true;
}

Result<bool> SqliteHistory::removeTallies(qint64 id, const QDateTime& at)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    const qint64 day = dayOf(at);
    query.prepare(u"SELECT count(*) FROM copies_without_details WHERE id = ?"_s);
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return Fail(failureText(query.lastError()));
    // Each statement with the values of its "?", in order.
    QList<std::pair<QString, QVariantList>> statements;
    if (query.value(0).toInt() > 0) {
        // Recorded before each copy kept its own: the day's tallies are its own only when it is alone on its day.
        const QDateTime start = at.toLocalTime().date().startOfDay();
        query.prepare(u"SELECT count(*) FROM copies WHERE at >= ? AND at < ? AND id <> ?"_s);
        for (const QVariant& value :
             {QVariant(start.toMSecsSinceEpoch()), QVariant(start.addDays(1).toMSecsSinceEpoch()), QVariant(id)})
            query.addBindValue(value);
        if (!query.exec() || !query.next())
            return Fail(failureText(query.lastError()));
        if (query.value(0).toInt() > 0)
            return false;
        statements = {{u"DELETE FROM character_days WHERE day = ?"_s, {day}},
                      {u"DELETE FROM confusion_days WHERE day = ?"_s, {day}}};
    } else {
        statements = {
            {u"UPDATE character_days SET sent = character_days.sent - c.sent, wrong = character_days.wrong - c.wrong "
             "FROM copy_characters AS c WHERE c.copy = ? AND c.character = character_days.character AND "
             "character_days.day = ?"_s,
             {id, day}},
            {u"DELETE FROM character_days WHERE day = ? AND sent <= 0 AND wrong <= 0"_s, {day}},
            {u"UPDATE confusion_days SET count = confusion_days.count - c.count FROM copy_confusions AS c "
             "WHERE c.copy = ? AND c.sent = confusion_days.sent AND c.copied = confusion_days.copied AND "
             "confusion_days.day = ?"_s,
             {id, day}},
            {u"DELETE FROM confusion_days WHERE day = ? AND count <= 0"_s, {day}}};
    }
    for (const auto& [statement, values] : statements) {
        query.prepare(statement);
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec())
            return Fail(failureText(query.lastError()));
    }
    return true;
}

Failure SqliteHistory::recordRecognitions(const QList<RecognitionRecord>& records)
{
    if (!m_open)
        return notOpen();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    auto failed = [&](const QSqlError& error) -> Failure {
        db.rollback();
        return explained(u"La reconnaissance n'a pas pu être enregistrée dans l'historique"_s, error, QString());
    };
    if (const QSqlError error = run(db, u"BEGIN"_s); error.isValid())
        return failed(error);
    QSqlQuery query(db);
    query.prepare(u"INSERT INTO recognitions (at, character, ms, right) VALUES (?, ?, ?, ?)"_s);
    for (const RecognitionRecord& r : records) {
        query.addBindValue(r.at.toMSecsSinceEpoch());
        query.addBindValue(r.character);
        query.addBindValue(r.ms ? QVariant(*r.ms) : QVariant(QMetaType::fromType<int>()));
        query.addBindValue(int(r.right));
        if (!query.exec())
            return failed(query.lastError());
    }
    if (const QSqlError error = run(db, u"COMMIT"_s); error.isValid())
        return failed(error);
    return {};
}

Result<QList<RecognitionRecord>> SqliteHistory::recognitions(const QDateTime& since)
{
    if (!m_open)
        return Fail(notOpen());
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(u"SELECT at, character, ms, right FROM recognitions WHERE at >= ? ORDER BY at, id"_s);
    query.addBindValue(sinceMs(since));
    if (!query.exec())
        return Fail(failureText(query.lastError()));
    QList<RecognitionRecord> found;
    while (query.next())
        found.append({QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong()), query.value(1).toString(),
                      query.value(2).isNull() ? std::nullopt : std::optional<int>(query.value(2).toInt()),
                      query.value(3).toBool()});
    return found;
}
