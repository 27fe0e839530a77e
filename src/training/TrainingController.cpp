#include "training/TrainingController.h"

#include "exercise/ExercisePresets.h"
#include "marking/MarkingReport.h"
#include "parameters/LearnerSettings.h"
#include "platform/Clock.h"
#include "training/CharacterNeeds.h"
#include "training/TargetedGroups.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

ProgressionState bounded(ProgressionState state)
{
    state.inARow = std::clamp(state.inARow, 0, Progression::CopiesToMoveOn);
    return state;
}

} // namespace

TrainingController::TrainingController(const Controls& controls, const Services& services)
    : m_ui(controls), m_services(services), m_progression(bounded(services.learner.progression()))
{
    showSuggestion();
}

void TrainingController::exerciceCible()
{
    historyChanged();
    const TargetedDraw draw(CharacterNeeds(m_services.learner.characterSet(), m_recent));
    const double count = m_services.learner.groupCount();
    m_services.presets.makeExercise(
        [&](const TextSink& append) { AppendTargetedGroups(count, draw, m_services.random, append); });
}

void TrainingController::exercisePrepared(const PreparedExercise& prepared)
{
    // A drilled or typed character, or the tone test, is no exercise of the set: the one prepared before stays.
    if (prepared.origin != SoundOrigin::Exercise)
        return;
    const QString& set = m_services.learner.characterSet();
    m_preparedFrom = DrawnFrom(prepared.text, set) ? set : QString();
    m_preparedCounted = false;
}

void TrainingController::copyMarked(const MarkedCopy& copy)
{
    historyChanged();
    // Marking the same exercise again (another pass mark, a second hearing) does not count again.
    if (m_preparedCounted)
        return;
    m_preparedCounted = true;
    const ProgressionState before = m_progression.state();
    const std::optional<QString> next = m_progression.copyMarked(m_preparedFrom, copy.characters, copy.errors);
    if (m_progression.state() != before)
        m_services.learner.setProgression(m_progression.state());
    if (!next)
        return;
    m_offered = next;
    m_ui.form.offreTexte->setText(u"Passer à «\u202F"_s + *next + u"\u202F»\u202F?"_s);
    m_ui.form.offre->show();
}

void TrainingController::drillAnswered()
{
    historyChanged();
}

void TrainingController::copyDeleted()
{
    historyChanged();
}

void TrainingController::offreOui()
{
    m_ui.form.offre->hide();
    if (!m_offered)
        return;
    const QString next = *std::exchange(m_offered, std::nullopt);
    m_progression.moveOn(next);
    m_services.learner.setProgression(m_progression.state());
    m_services.learner.keepStartingSet(next);
    m_services.learner.setCharacterSet(next);
}

void TrainingController::offrePlusTard()
{
    m_ui.form.offre->hide();
    m_offered.reset();
    m_progression.putOff();
}

void TrainingController::suggestionClicked()
{
    if (m_suggested)
        m_ui.Text12->setText(*m_suggested);
}

void TrainingController::characterSetChanged()
{
    showSuggestion();
}

void TrainingController::historyChanged()
{
    m_recent = ReadOrEmpty(m_services.history.weaknesses(m_services.clock.now().addDays(-NeedPeriodDays)));
    showSuggestion();
}

void TrainingController::showSuggestion()
{
    const QList<CharacterNeed> needs = CharacterNeeds(m_services.learner.characterSet(), m_recent);
    const CharacterNeed* weakest = WeakestCharacter(needs);
    QToolButton* button = m_ui.form.suggestion;
    button->setEnabled(weakest != nullptr);
    if (!weakest) {
        m_suggested.reset();
        button->setText(u"?"_s);
        const bool known = std::any_of(needs.begin(), needs.end(), [](const CharacterNeed& n) { return n.known(); });
        button->setToolTip(known
                               ? u"Aucun caractère faible dans cette série (30 derniers jours)\u202F:\npas d'erreur de "
                                 "copie, pas de réaction plus lente que d'habitude."_s
                               : u"Pas encore de résultat pour ces caractères\u202F: corrigez une copie ou faites "
                                 "l'exercice Clavier, et le plus faible sera proposé ici."_s);
        return;
    }
    m_suggested = weakest->character;
    button->setText(weakest->character.toUpper());
    button->setToolTip(u"Le caractère le plus faible de la série (30 derniers jours)\u202F:\n"_s + NeedText(*weakest) +
                       u"\nCliquer pour le mettre dans «\u202FRenforce le caractére\u202F»"_s);
}
