#include "marking/MarkingController.h"

#include "marking/History.h"
#include "marking/MarkingReport.h"
#include "marking/MarkingWindow.h"
#include "marking/ResultsListener.h"
#include "parameters/LearnerSettings.h"
#include "platform/Clock.h"
#include "platform/ScreenReader.h"

#include <QAction>
#include <QMenu>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

PreparedShown shown(const PreparedExercise& prepared, const QDateTime& at)
{
    return {MarkedLength(prepared.text), at.time(), prepared.wpm};
}

void bringForward(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

MarkingMenu BuildMarkingMenu(QMenu& entrainement)
{
    MarkingMenu menu;
    menu.corriger = entrainement.addAction(u"&Corriger ma copie..."_s);
    menu.corriger->setObjectName(u"corrigerCopie"_s);
    menu.progres = entrainement.addAction(u"&Progrès..."_s);
    menu.progres->setObjectName(u"progres"_s);
    return menu;
}

MarkingController::MarkingController(Services services) : m_services(std::move(services)) {}

MarkingController::~MarkingController()
{
    delete m_marking.data();
}

QWidget* MarkingController::markingWindow() const
{
    return m_marking.data();
}

PassMark MarkingController::passMark() const
{
    // The window's pass mark is the learner's: each change made there is kept at once.
    return m_services.learner.passMark();
}

void MarkingController::corriger()
{
    if (!m_marking) {
        // A window of its own: the learner types there while the main window plays.
        auto* window = new MarkingWindow(nullptr);
        window->setPassMark(m_services.learner.passMark());
        window->setPrepared(m_prepared ? std::optional(shown(*m_prepared, m_preparedAt)) : std::nullopt);
        window->setPlayer(playerState());
        QObject::connect(window, &MarkingWindow::markRequested, window, [this] { markCopy(); });
        QObject::connect(window, &MarkingWindow::playRequested, window, [this] { m_services.play(); });
        QObject::connect(window, &MarkingWindow::passMarkChanged, window,
                         [this](PassMark pass) { m_services.learner.setPassMark(pass); });
        m_marking = window;
    }
    bringForward(m_marking);
}

void MarkingController::exercisePrepared(const PreparedExercise& prepared)
{
    m_playerHoldsExercise = prepared.origin == SoundOrigin::Exercise;
    if (m_marking)
        m_marking->setPlayer(playerState());
    if (!m_playerHoldsExercise)
        return;
    m_prepared = prepared;
    m_preparedAt = m_services.clock.now();
    // A copy of the new exercise is a new copy, even when it reads as the last one recorded.
    m_lastRecorded.clear();
    if (m_marking)
        m_marking->startExercise(shown(prepared, m_preparedAt));
}

void MarkingController::playerChanged(bool open, bool playing)
{
    m_playerOpen = open;
    m_playing = playing;
    if (m_marking)
        m_marking->setPlayer(playerState());
}

MarkingWindow::Player MarkingController::playerState() const
{
    if (!m_playerOpen)
        return MarkingWindow::Player::Closed;
    if (m_playing)
        return MarkingWindow::Player::Playing;
    // After a drill round or a typed character the player holds that character's sound, not the exercise marked.
    return m_playerHoldsExercise ? MarkingWindow::Player::Exercise : MarkingWindow::Player::OtherSound;
}

void MarkingController::answered(const QString& character, int reactionMs)
{
    m_services.history.recordDrillAnswer({m_services.clock.now(), character, reactionMs});
    for (ResultsListener* listener : m_resultsListeners)
        listener->drillAnswered();
}

void MarkingController::markCopy()
{
    if (!m_prepared || !m_marking)
        return;
    const PassMark pass = m_marking->passMark();
    const QString copy = m_marking->copy();
    // Nothing typed is nothing heard yet, not a copy with every character missed.
    const Result<MarkedCopy> marked =
        NormalisedForMarking(copy).isEmpty()
            ? Result<MarkedCopy>(Fail(u"Rien à corriger\u202f: tapez ce que vous avez entendu."_s))
            : MarkCopy(m_prepared->text, copy, pass, m_prepared->fields);
    if (!marked) {
        m_marking->showRefusal(marked.failure());
        m_services.screenReader.announce(m_marking->resultView(), marked.failure());
        return;
    }
    m_marking->showMarked(*marked);
    QString said = SummaryText(*marked);
    for (const MarkedPart& part : marked->parts)
        said += u". "_s + PartText(part);
    m_services.screenReader.announce(m_marking->resultView(), said);
    record(*marked, copy, pass);
}

void MarkingController::record(const MarkedCopy& marked, const QString& copy, PassMark pass)
{
    if (marked.verdict == Verdict::Nothing)
        return;
    // Marking the same copy again records nothing more.
    const QString recorded =
        NormalisedForMarking(m_prepared->text) + u'\n' + NormalisedForMarking(copy) + u'\n' + FormatPassMark(pass);
    if (recorded != m_lastRecorded) {
        m_lastRecorded = recorded;
        // The speed heard, to a tenth of a word per minute.
        const double wpm = std::round(m_prepared->wpm * 10) / 10;
        m_services.history.recordCopy({m_services.clock.now(), int(marked.characters), int(marked.errors), wpm, pass,
                                       marked.verdict == Verdict::Received, marked.tallies, marked.confusions, 0,
                                       marked.fields});
        for (ResultsListener* listener : m_resultsListeners)
            listener->copyMarked(marked);
    }
    // Without a history (another Tonique holds it, or it was lost, also at this very copy) the window says so.
    if (!m_services.history.available())
        m_marking->showNotRecorded(m_services.history.unavailableReason());
}
