// The history: recording one result, and "Progrès..." opened over 10,000 copies and 100,000 drill answers up to its
// first paint. Run with QT_QPA_PLATFORM=offscreen.

#include "fakes/FakeClock.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeMessageBox.h"
#include "history/HistoryGuard.h"
#include "history/SqliteHistory.h"
#include "progress/ProgressController.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

const QString Set = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789.,?/");

CopyRecord copyAt(const QDateTime& at, int n)
{
    CopyRecord copy{at, 180, n % 20, 12.0 + n % 8, PassMark{}, n % 20 <= 9, {}, {}};
    for (const QChar c : Set)
        copy.tallies.append({QString(c), 5, n % 3});
    return copy;
}

double percentile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[qsizetype(p * double(values.size() - 1))];
}

// 10,000 copies over a year and 100,000 drill answers, in one transaction, beside the history's own records.
void fill(const QString& path, const QDateTime& now)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(path);
        db.open();
        db.transaction();
        QSqlQuery copy(db), tally(db), answer(db);
        copy.prepare(QStringLiteral("INSERT INTO copies (at, characters, errors, wpm, pass, received) VALUES "
                                    "(?, 180, ?, 12, 500, 1)"));
        tally.prepare(QStringLiteral("INSERT INTO copy_characters (copy, character, sent, wrong) VALUES (?, ?, 5, ?)"));
        answer.prepare(QStringLiteral("INSERT INTO drill_answers (at, character, ms) VALUES (?, ?, ?)"));
        for (int i = 0; i < 10000; ++i) {
            copy.addBindValue(now.addSecs(-i * 3153).toMSecsSinceEpoch());
            copy.addBindValue(i % 20);
            copy.exec();
            const QVariant id = copy.lastInsertId();
            for (const QChar c : Set) {
                tally.addBindValue(id);
                tally.addBindValue(QString(c));
                tally.addBindValue(i % 3);
                tally.exec();
            }
        }
        for (int i = 0; i < 100000; ++i) {
            answer.addBindValue(now.addSecs(-i * 315).toMSecsSinceEpoch());
            answer.addBindValue(QString(Set[i % Set.size()]));
            answer.addBindValue(200 + (i * 37) % 900);
            answer.exec();
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("historique.sqlite"));
    FakeClock clock;
    clock.date = QDateTime::currentDateTime();

    QList<double> copyMs, answerMs;
    {
        SqliteHistory history;
        if (const Failure failed = history.open(path)) {
            std::printf("%s\n", qPrintable(*failed));
            return 1;
        }
        for (int i = 0; i < 300; ++i) {
            QElapsedTimer timer;
            timer.start();
            history.recordCopy(copyAt(clock.date, i));
            copyMs.append(timer.nsecsElapsed() / 1e6);
            timer.restart();
            history.recordDrillAnswer({clock.date, QStringLiteral("e"), 300 + i});
            answerMs.append(timer.nsecsElapsed() / 1e6);
        }
    }
    std::printf("recording a marked copy (%d characters' tallies): median %.2f ms, p95 %.2f ms\n", int(Set.size()),
                percentile(copyMs, 0.5), percentile(copyMs, 0.95));
    std::printf("recording a drill answer: median %.2f ms, p95 %.2f ms\n", percentile(answerMs, 0.5),
                percentile(answerMs, 0.95));

    fill(path, clock.date);
    SqliteHistory history;
    history.open(path);
    HistoryGuard guard(&history, {});
    FakeFileDialog files;
    FakeMessageBox messages;
    ProgressController progress({guard, clock, files, messages, [] { return PassMark{}; }});
    QElapsedTimer timer;
    timer.start();
    progress.progres();
    progress.progressWindow()->grab();
    std::printf("\"Progrès...\" over 10,300 copies and 100,300 answers, 30 days: first paint %.0f ms\n",
                timer.nsecsElapsed() / 1e6);
    timer.restart();
    progress.progressWindow()->findChild<QComboBox*>(QStringLiteral("periode"))->setCurrentIndex(2); // "Tout"
    progress.progressWindow()->grab();
    std::printf("then \"Tout\" (10,300 points a chart): drawn in %.0f ms\n", timer.nsecsElapsed() / 1e6);
    return 0;
}
