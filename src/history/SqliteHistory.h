#pragma once

#include "marking/History.h"

#include <QMap>
#include <QString>

class QSqlError;
class QSqlQuery;

// The history in an SQLite file through Qt SQL: one transaction per recorded result, write-ahead logging, and the
// file held by this program alone while it is open (another Tonique finds it locked). The schema's version is the
// file's user_version; an older file is brought up to date, a newer, damaged or foreign one is left untouched.
class SqliteHistory : public History
{
public:
    // 1: the copies and the drill answers. 2: the characters of the copies per day, and indexes by date and character.
    // 3: the confusions of the copies per day. 4: the characters and confusions of each copy, so that a copy can be
    // deleted with them (the copies recorded before are listed apart). 5: the pieces of information of each copy
    // (call signs, report, name...): kind, sent, copied, right. 6: the sending runs of "Manipulation", their timing
    // and their mis-sent characters. 7: the runs of the call-sign race. 8: the copies summed up by day for the charts
    // (accuracy and speed at their lowest and highest), kept by triggers. 9: the characters of the instant
    // recognition's runs.
    static constexpr int SchemaVersion = 9;

    SqliteHistory();
    ~SqliteHistory() override;
    SqliteHistory(const SqliteHistory&) = delete;
    SqliteHistory& operator=(const SqliteHistory&) = delete;

    // "historique.sqlite" in the program's data folder (on Linux ~/.local/share/Tonique).
    static QString DefaultPath();

    // Opens the file (created when missing; ":memory:" for a history that lasts as long as the object) and brings
    // its schema up to date. On failure the file is closed as it was found, and nothing is recorded.
    Failure open(const QString& path);
    bool isOpen() const { return m_open; }

    Failure recordCopy(const CopyRecord& copy) override;
    Failure recordDrillAnswer(const DrillAnswerRecord& answer) override;
    Failure recordSendingRun(const SendingRunRecord& record) override;
    Result<QList<SendingRunRecord>> sendingRuns(const QDateTime& since) override;
    Result<QList<SendingRunRecord>> drawnSendingRuns(const QDateTime& since) override;
    Result<QList<CopyRecord>> copies(const QDateTime& since) override;
    // Summed up by SQLite, column by column: a few thousand rows read, however many copies there are.
    Result<CopyChart> copyChart(const QDateTime& since, int columns) override;
    Result<QList<CopyRecord>> newestCopies(const QDateTime& since, qsizetype skip, qsizetype count) override;
    Result<QList<DrillAnswerRecord>> drillAnswers(const QDateTime& since) override;
    Failure recordRace(const RaceRecord& race) override;
    Result<QList<RaceRecord>> races(const QDateTime& since) override;
    Failure recordRecognitions(const QList<RecognitionRecord>& run) override;
    Result<QList<RecognitionRecord>> recognitions(const QDateTime& since) override;
    Result<QList<CharacterWeakness>> weaknesses(const QDateTime& since) override;
    Result<QList<FieldLoss>> fieldLosses(const QDateTime& since) override;
    // A copy recorded before the history kept each copy's characters is deleted only when it is the one copy of its
    // day: the day's tallies are then its own.
    Result<bool> deleteCopy(qint64 id) override;

private:
    // The French message for a failure of the file at `m_path`.
    QString failureText(const QSqlError& error) const;
    QString notOpen() const;
    Failure migrate(int from);
    // The columns of `chart`, whose count and times are known.
    Failure addColumns(CopyChart& chart, const QDateTime& since, int columns);
    Failure addDays(CopyChart& chart, const QDateTime& since, int columns);
    Failure readColumns(QSqlQuery& query, CopyChart& chart);
    // The median reaction time of each character's last 20 drill answers since `since`.
    Failure addReactionTimes(QMap<QString, CharacterWeakness>& found, const QDateTime& since);
    // What each character was copied as when it was sent wrong, and how often it was copied in another's place.
    Failure addConfusions(QMap<QString, CharacterWeakness>& found, const QDateTime& since);
    // How often each character was sent wrong on the key.
    Failure addMissent(QMap<QString, CharacterWeakness>& found, const QDateTime& since);
    // Each run's mis-sent characters, read into the runs by their number.
    Failure readMissent(QList<SendingRunRecord>& runs, const QDateTime& since);
    Failure opened(const QString& path);
    // A message when the file or one of its journals is a symbolic link.
    Failure symbolicLink(const QString& path) const;
    // The copy's own characters and confusions, beside the day's.
    Failure recordDetails(qint64 copy, const CopyRecord& record);
    Failure recordFields(qint64 copy, const CopyRecord& record);
    // A message when the file holds pieces of a kind this program does not know: a newer Tonique wrote them.
    Failure unknownKinds(const QString& path);
    // Within deleteCopy's transaction: the copy's tallies taken out of its day's, or false when they cannot be.
    Result<bool> removeTallies(qint64 id, const QDateTime& at);

    QString m_connection;
    QString m_path;
    bool m_open = false;
};
