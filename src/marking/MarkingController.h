#pragma once

#include "drill/DrillAnswers.h"
#include "marking/CopyMarking.h"
#include "marking/MarkingWindow.h"
#include "marking/ResultsListener.h"
#include "sound/PreparedExercise.h"

#include <QDateTime>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class Clock;
class FileDialog;
class HistoryGuard;
class MessageBox;
class ProgressWindow;
class ScreenReader;
class QAction;
class QMenu;
class QWidget;
class SettingsStore;
class SignTable;

// The items of the menu "&Entraînement" that this subsystem adds.
struct MarkingMenu
{
    QAction* corriger = nullptr; // "&Corriger ma copie..."
    QAction* progres = nullptr;  // "&Progrès..."
};
MarkingMenu BuildMarkingMenu(QMenu& entrainement);

// Copy marking and progress: the windows "Correction de la copie" and "Progrès", the pass mark setting, and the
// recording of every marked copy and drill answer in the history.
class MarkingController : public PreparedExerciseListener, public DrillAnswers, private ResultsListener
{
public:
    struct Services
    {
        HistoryGuard& history;
        SettingsStore* settings; // the group of the marking's settings; none: the defaults, nothing kept
        Clock& clock;
        FileDialog& fileDialog;
        MessageBox& messages;
        ScreenReader& screenReader;       // told each verdict
        std::function<void()> play;       // the player's Play button, or Stop while it plays
        const SignTable* signs = nullptr; // the characters of the map in "Progrès"
        // A character of the map clicked: the learner wants it reinforced.
        std::function<void(const QString& character)> reinforce = {};
    };
    explicit MarkingController(Services services);
    ~MarkingController() override;
    MarkingController(const MarkingController&) = delete;
    MarkingController& operator=(const MarkingController&) = delete;

    void corriger(); // opens "Correction de la copie"
    void progres();  // opens "Progrès"
    QWidget* markingWindow() const;
    QWidget* progressWindow() const;

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
    void showProgress();
    // The open "Progrès" follows each new result.
    void copyMarked(const MarkedCopy& copy) override;
    void drillAnswered() override;
    void deleteCopy(qint64 id);
    void exportHistory();
    PassMark storedPassMark() const;
    void storePassMark(PassMark pass);

    Services m_services;
    std::optional<PreparedExercise> m_prepared; // the last exercise prepared, the one a copy is marked against
    QDateTime m_preparedAt;
    bool m_playerOpen = false, m_playing = false;
    bool m_playerHoldsExercise = false; // the sound in the player is the exercise, not a drilled or typed character
    QString m_lastRecorded;             // what was last recorded, so that marking it again records nothing more
    QPointer<MarkingWindow> m_marking;
    QPointer<ProgressWindow> m_progress;
    std::vector<ResultsListener*> m_resultsListeners;
};
