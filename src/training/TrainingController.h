#pragma once

#include "marking/History.h"
#include "marking/ResultsListener.h"
#include "playback/PreparedExercise.h"
#include "training/Progression.h"
#include "training/TrainingViews.h"

#include <optional>

class Clock;
class ExercisePresets;
class QComboBox;
class RandomSource;
class SettingsStore;

// The training that adapts: "Exercice ciblé" draws the weakest characters of the set most often, the offer of the
// next progressive set after three good copies on the current one, and the weakest character proposed beside
// "Renforce le caractére". Where the learner stands is kept in the group "entrainement" (keys `serie` and
// `serieReussies`); a set accepted is also kept as the parameter `prog`, so that TEXT1 starts there next time.
class TrainingController : public PreparedExerciseListener, public ResultsListener
{
public:
    struct Controls
    {
        QComboBox* TEXT1 = nullptr;       // the character set; the offer, accepted, sets it
        const QLineEdit* Text3 = nullptr; // the count of groups
        QLineEdit* Text12 = nullptr;      // the reinforced character; the suggestion, clicked, fills it
        TrainingForm form;
    };
    struct Services
    {
        History& history;
        Clock& clock;
        SettingsStore& settings;   // the group "entrainement"
        SettingsStore& parameters; // the group "param": "Oui" keeps the set accepted as `prog`
        RandomSource& random;
        ExercisePresets& presets;
    };
    TrainingController(const Controls& controls, const Services& services);

    void exerciceCible();     // the menu item
    void offreOui();          // the offer accepted
    void offrePlusTard();     // the offer put off
    void suggestionClicked(); // the suggestion into Text12
    void TEXT1Changed();      // the suggestion follows the set

    void exercisePrepared(const PreparedExercise& prepared) override;
    void copyMarked(const MarkedCopy& copy) override;
    void drillAnswered() override;
    void copyDeleted() override;

private:
    // The history of the last 30 days read again, and the suggestion shown from it.
    void historyChanged();
    void showSuggestion();
    void storeProgression();

    Controls m_ui;
    Services m_services;
    Progression m_progression;
    QString m_preparedFrom;         // the set the prepared exercise was drawn from, empty when it was not
    bool m_preparedCounted = false; // a copy of it has counted already
    std::optional<QString> m_offered;
    QList<CharacterWeakness> m_recent; // the history's last 30 days, as last read
    std::optional<QString> m_suggested;
};
