#pragma once

#include "marking/History.h"
#include "marking/ResultsListener.h"
#include "playback/PreparedExercise.h"
#include "training/Progression.h"
#include "training/TrainingViews.h"

#include <optional>

class Clock;
class ExercisePresets;
class LearnerSettings;
class RandomSource;

// The training that adapts: "Exercice ciblé" draws the weakest characters of the set most often, the offer of the
// next progressive set after three good copies on the current one, and the weakest character proposed beside
// "Renforce le caractére". The set, the count of groups and where the learner stands are the learner's settings;
// a set accepted becomes the set in use and is kept as the one the next start begins with.
class TrainingController : public PreparedExerciseListener, public ResultsListener
{
public:
    struct Controls
    {
        QLineEdit* Text12 = nullptr; // the reinforced character; the suggestion, clicked, fills it
        TrainingForm form;
    };
    struct Services
    {
        History& history;
        Clock& clock;
        LearnerSettings& learner; // the set and the count drawn from, the progression; "Oui" changes the set
        RandomSource& random;
        ExercisePresets& presets;
    };
    TrainingController(const Controls& controls, const Services& services);

    void exerciceCible();       // the menu item
    void offreOui();            // the offer accepted
    void offrePlusTard();       // the offer put off
    void suggestionClicked();   // the suggestion into Text12
    void characterSetChanged(); // the suggestion follows the set
    // The history of the last 30 days read again, and the suggestion shown from it: the window calls it once the
    // history is open.
    void historyChanged();

    void exercisePrepared(const PreparedExercise& prepared) override;
    void copyMarked(const MarkedCopy& copy) override;
    void drillAnswered() override;
    void copyDeleted() override;

private:
    void showSuggestion();

    Controls m_ui;
    Services m_services;
    Progression m_progression;
    QString m_preparedFrom;         // the set the prepared exercise was drawn from, empty when it was not
    bool m_preparedCounted = false; // a copy of it has counted already
    std::optional<QString> m_offered;
    QList<CharacterWeakness> m_recent; // the history's last 30 days, as last read
    std::optional<QString> m_suggested;
};
