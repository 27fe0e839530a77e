#include "progress/ProgressController.h"

#include "marking/History.h"
#include "marking/MarkingReport.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "progress/ProgressView.h"
#include "signs/SignTable.h"
#include "training/CharacterNeeds.h"

#include <QDir>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

// The characters of the sign table, once each, in the file's order.
QString signCharacters(const SignTable* signs)
{
    QString characters;
    for (int j = 1; signs && j <= SignTable::Capacity; ++j) {
        const QString& c = signs->entry(j).character;
        if (!c.isEmpty() && !characters.contains(c))
            characters += c;
    }
    return characters;
}

void bringForward(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

ProgressController::ProgressController(Services services) : m_services(std::move(services)) {}

ProgressController::~ProgressController()
{
    delete m_progress.data();
}

QWidget* ProgressController::progressWindow() const
{
    return m_progress.data();
}

void ProgressController::progres()
{
    if (!m_progress) {
        const Result<ProgressView*> made =
            m_services.makeWindow ? m_services.makeWindow()
                                  : Result<ProgressView*>(Fail(u"«\u202FProgrès\u202F» n'est pas disponible."_s));
        if (!made) {
            m_services.messages.critical(made.failure());
            return;
        }
        ProgressView* window = *made;
        QObject::connect(window, &ProgressView::periodChanged, window, [this] { showProgress(); });
        QObject::connect(window, &ProgressView::exportRequested, window, [this] { exportHistory(); });
        QObject::connect(window, &ProgressView::moreCopiesWanted, window, [this] { listMoreCopies(); });
        QObject::connect(window, &ProgressView::deleteRequested, window, [this](qint64 id) { deleteCopy(id); });
        QObject::connect(window, &ProgressView::characterChosen, window, [this](const QString& character) {
            if (m_services.reinforce)
                m_services.reinforce(character);
        });
        m_progress = window;
    }
    showProgress();
    bringForward(m_progress);
}

QDateTime ProgressController::periodStart() const
{
    const int days = m_progress->periodDays();
    // The last 7 days: today and the six days before, from midnight.
    return days > 0 ? QDateTime(m_services.clock.now().date().addDays(1 - days), QTime(0, 0)) : QDateTime();
}

void ProgressController::showProgress()
{
    if (!m_progress)
        return;
    const QDateTime since = periodStart();
    ProgressData data;
    const Result<CopyChart> chart = m_services.history.copyChart(since, m_progress->chartColumns());
    data.copies = chart ? *chart : CopyChart();
    data.newest = ReadOrEmpty(m_services.history.newestCopies(since, 0, ProgressView::CopyPage));
    data.weaknesses = ReadOrEmpty(m_services.history.weaknesses(since));
    data.fieldLosses = ReadOrEmpty(m_services.history.fieldLosses(since));
    data.runs = ReadOrEmpty(m_services.history.drawnSendingRuns(since));
    data.races = ReadOrEmpty(m_services.history.races(since));
    data.recognitions = RecognitionWeaknesses(ReadOrEmpty(m_services.history.recognitions(since)));
    data.map = CharacterNeeds(signCharacters(m_services.signs), data.weaknesses);
    data.pass = m_services.passMark ? m_services.passMark() : PassMark{};
    data.historyAvailable = m_services.history.available();
    m_progress->showProgress(data);
}

void ProgressController::listMoreCopies()
{
    m_progress->appendCopies(ReadOrEmpty(
        m_services.history.newestCopies(periodStart(), m_progress->listedCopies(), ProgressView::CopyPage)));
}

void ProgressController::copyMarked(const MarkedCopy&)
{
    if (m_progress && m_progress->isVisible())
        showProgress();
}

void ProgressController::drillAnswered()
{
    if (m_progress && m_progress->isVisible())
        showProgress();
}

void ProgressController::runKept()
{
    if (m_progress && m_progress->isVisible())
        showProgress();
}

void ProgressController::deleteCopy(qint64 id)
{
    const Result<bool> deleted = m_services.history.deleteCopy(id);
    if (deleted && !*deleted && m_services.history.available())
        m_services.messages.information(
            u"Cette copie a été enregistrée par une version précédente de Tonique, le même jour que d'autres\u202F: "
            u"ses "
            "caractères ne peuvent pas être séparés des leurs. Elle reste dans l'historique."_s);
    showProgress();
    for (ResultsListener* listener : m_resultsListeners)
        listener->copyDeleted();
}

void ProgressController::exportHistory()
{
    const QString path = m_services.fileDialog.getSaveFileName(u"CSV (*.csv)"_s, u"historique.csv"_s);
    if (path.isEmpty())
        return;
    const QByteArray bytes = HistoryCsv(ReadOrEmpty(m_services.history.copies(QDateTime())),
                                        ReadOrEmpty(m_services.history.drillAnswers(QDateTime()))) +
                             SendingRunsCsv(ReadOrEmpty(m_services.history.sendingRuns(QDateTime())));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        m_services.messages.critical(u"L'historique n'a pas pu être exporté dans «\u202F"_s +
                                     QDir::toNativeSeparators(path) + u"\u202F»\u202F: "_s + file.errorString());
}
