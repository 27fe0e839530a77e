#pragma once

#include "drill/DrillAnswers.h"
#include "marking/CopyMarking.h"
#include "marking/MarkingWindow.h"
#include "marking/ResultsListener.h"
#include "playback/PreparedExercise.h"

#include <QDateTime>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class Clock;
class History;
class LearnerSettings;
class ScreenReader;
class QAction;
class QMenu;
class QWidget;

// The items of the menu "&Entraînement" that this subsystem adds.
struct MarkingMenu
{
    QAction* corriger = nullptr; // "&Corriger ma copie..."
    QAction* progres = nullptr;  // "&Progrès..."
};
MarkingMenu BuildMarkingMenu(QMenu& entrainement);

// Copy marking: the window "Correction de la copie", the pass mark setting, and the recording of every marked copy
// and drill answer in the history.
class MarkingController : public PreparedExerciseListener, public DrillAnswers
{
public:
    struct Services
    {
        History& history;
        LearnerSettings& learner; // the pass mark kept
        Clock& clock;
        ScreenReader& screenReader; // told each verdict
        std::function<void()> play; // the player's Play button, or Stop while it plays
    };
    explicit MarkingController(Services services);
    ~MarkingController() override;
    MarkingController(const MarkingController&) = delete;
    MarkingController& operator=(const MarkingController&) = delete;

    void corriger(); // opens "Correction de la copie"
    QWidget* markingWindow() const;
    // The pass mark, as the marking window last set it.
    PassMark passMark() const;

    // Told of each new result, in the order added.
    void addResultsListener(ResultsListener* listener) { m_resultsListeners.push_back(listener); }

    // Only an exercise is marked: a drilled or typed character, or the tone test, leaves the last one in place.
    void exercisePrepared(const PreparedExercise& prepared) override;
    // The player opened, closed, started or stopped: what "Lecture" of the marking window can do.
    void playerChanged(bool open, bool playing);
    void answered(const QString& character, int reactionMs) override;

private:
    void markCopy();
    MarkingWindow::Player playerState() const;
    // The copy marked is recorded (unless it is the same as the last one); without a history, the window says so.
    void record(const MarkedCopy& marked, const QString& copy, PassMark pass);

    Services m_services;
    std::optional<PreparedExercise> m_prepared; // the last exercise prepared, the one a copy is marked against
    QDateTime m_preparedAt;
    bool m_playerOpen = false, m_playing = false;
    bool m_playerHoldsExercise = false; // the sound in the player is the exercise, not a drilled or typed character
    QString m_lastRecorded;             // what was last recorded, so that marking it again records nothing more
    QPointer<MarkingWindow> m_marking;
    std::vector<ResultsListener*> m_resultsListeners;
};
