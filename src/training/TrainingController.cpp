#include "training/TrainingController.h"

#include "common/Numbers.h"
#include "exercise/ExercisePresets.h"
#include "marking/MarkingReport.h"
#include "parameters/Parameters.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "training/CharacterNeeds.h"
#include "training/TargetedGroups.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString ItemKey = u"serie"_s;
const QString InARowKey = u"serieReussies"_s;

} // namespace

TrainingController::TrainingController(const Controls& controls, const Services& services)
    : m_ui(controls), m_services(services),
      m_progression({m_services.settings.read(ItemKey, QString()),
                     std::clamp(m_services.settings.read(InARowKey, u"0"_s).toInt(), 0, Progression::CopiesToMoveOn)})
{
    historyChanged();
}

void TrainingController::exerciceCible()
{
    historyChanged();
    const TargetedDraw draw(CharacterNeeds(m_ui.TEXT1->currentText(), m_recent));
    const double count = LeadingNumber(m_ui.Text3->text());
    m_services.presets.makeExercise(
        [&](const TextSink& append) { AppendTargetedGroups(count, draw, m_services.random, append); });
}

void TrainingController::exercisePrepared(const PreparedExercise& prepared)
{
    // A drilled or typed character, or the tone test, is no exercise of the set: the one prepared before stays.
    if (prepared.origin != SoundOrigin::Exercise)
        return;
    const QString set = m_ui.TEXT1->currentText();
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
        storeProgression();
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
    storeProgression();
    // That key alone: the other parameters wait for "SAUVE".
    m_services.parameters.write(Parameters::name(Parameters::prog), next);
    // As the learner would: the item chosen from the list (typed in when it is not there).
    const int index = m_ui.TEXT1->findText(next, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        m_ui.TEXT1->setCurrentIndex(index);
    if (m_ui.TEXT1->currentText() != next)
        m_ui.TEXT1->setEditText(next);
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

void TrainingController::TEXT1Changed()
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
    const QList<CharacterNeed> needs = CharacterNeeds(m_ui.TEXT1->currentText(), m_recent);
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

void TrainingController::storeProgression()
{
    m_services.settings.write(ItemKey, m_progression.state().item);
    m_services.settings.write(InARowKey, QString::number(m_progression.state().inARow));
}
