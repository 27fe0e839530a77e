#include "marking/CharacterNeeds.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

constexpr double SlowestFactor = 2, FastestFactor = 0.5;

// The history by character, capitals and small letters together (the marking compares in small letters, the
// drill records the character as the set spells it).
QHash<QString, CharacterWeakness> folded(const QList<CharacterWeakness>& weaknesses)
{
    QHash<QString, CharacterWeakness> byCharacter;
    for (const CharacterWeakness& w : weaknesses) {
        CharacterWeakness& into = byCharacter[w.character.toLower()];
        into.character = w.character.toLower();
        into.sent += w.sent;
        into.wrong += w.wrong;
        into.miscopied += w.miscopied;
        into.confusions += w.confusions;
        if (w.answers > into.answers) {
            into.answers = w.answers;
            into.medianMs = w.medianMs;
        }
    }
    for (CharacterWeakness& w : byCharacter)
        std::stable_sort(w.confusions.begin(), w.confusions.end(),
                         [](const Confusion& a, const Confusion& b) { return a.count > b.count; });
    return byCharacter;
}

// The learner's reaction time: the median of the characters' medians.
std::optional<double> learnerMedian(const QHash<QString, CharacterWeakness>& byCharacter)
{
    QList<double> medians;
    for (const CharacterWeakness& w : byCharacter) {
        if (w.medianMs)
            medians.append(*w.medianMs);
    }
    if (medians.isEmpty())
        return std::nullopt;
    std::sort(medians.begin(), medians.end());
    const qsizetype n = medians.size();
    return n % 2 ? medians[n / 2] : (medians[n / 2 - 1] + medians[n / 2]) / 2;
}

} // namespace

QList<CharacterNeed> CharacterNeeds(QStringView characters, const QList<CharacterWeakness>& weaknesses)
{
    const QHash<QString, CharacterWeakness> byCharacter = folded(weaknesses);
    const std::optional<double> typical = learnerMedian(byCharacter);
    QList<CharacterNeed> needs;
    QSet<QString> seen;
    for (const uint code : characters.toUcs4()) {
        const auto c = char32_t(code);
        const QString character = QString::fromUcs4(&c, 1);
        if (character.trimmed().isEmpty() || seen.contains(character))
            continue;
        seen.insert(character);
        CharacterNeed need;
        need.character = character;
        need.history = byCharacter.value(character.toLower());
        const CharacterWeakness& h = need.history;
        need.errorRate = std::min(1.0, (h.wrong + MiscopiedWeight * h.miscopied + 1.0) / (h.sent + h.miscopied + 2.0));
        if (h.medianMs && typical && *typical > 0)
            need.speedFactor = std::clamp(*h.medianMs / *typical, FastestFactor, SlowestFactor);
        needs.append(need);
    }
    return needs;
}

const CharacterNeed* WeakestCharacter(const QList<CharacterNeed>& needs)
{
    const CharacterNeed* weakest = nullptr;
    for (const CharacterNeed& need : needs) {
        if (need.shownWeak() && (!weakest || need.need() > weakest->need()))
            weakest = &need;
    }
    return weakest;
}
