#include "training/CharacterNeeds.h"

#include "marking/MarkingReport.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString counted(qsizetype count, const QString& singular, const QString& plural)
{
    return QString::number(count) + u' ' + (count < 2 ? singular : plural);
}

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
        into.missent += w.missent;
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
        need.errorRate = std::min(1.0, (h.wrong + h.missent + MiscopiedWeight * h.miscopied + 1.0) /
                                           (h.sent + h.missent + h.miscopied + 2.0));
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

QString NeedText(const CharacterNeed& need)
{
    const CharacterWeakness& h = need.history;
    QString copies = u"Copies\u202F: "_s;
    if (h.sent > 0)
        copies += u"envoyé "_s + QString::number(h.sent) + u" fois, "_s + counted(h.wrong, u"erreur"_s, u"erreurs"_s) +
                  u" ("_s + AccuracyText(int(std::lround(1000.0 * h.wrong / h.sent))) + u')';
    else
        copies += u"jamais envoyé"_s;
    if (h.miscopied > 0)
        copies += u", écrit à la place d'un autre "_s + QString::number(h.miscopied) + u" fois"_s;
    QStringList lines{need.character.toUpper(), copies};
    if (!h.confusions.isEmpty()) {
        QStringList confusions;
        for (const Confusion& confusion : h.confusions)
            confusions << ConfusionText(confusion);
        lines << u"Confusions\u202F: "_s + confusions.join(u"\u202F; "_s);
    }
    lines << (h.medianMs ? u"Clavier\u202F: "_s + QString::number(std::lround(*h.medianMs)) +
                               u"\u202Fms (médiane de "_s + counted(h.answers, u"réponse)"_s, u"réponses)"_s)
                         : u"Clavier\u202F: pas encore de réponse"_s);
    if (h.missent > 0)
        lines << u"Manipulation\u202F: mal manipulé "_s + QString::number(h.missent) + u" fois"_s;
    return lines.join(u'\n');
}

namespace {

double RecognitionMedian(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

QList<CharacterWeakness> RecognitionWeaknesses(const QList<RecognitionRecord>& records)
{
    QHash<QString, CharacterWeakness> byCharacter;
    QHash<QString, QList<double>> times; // newest last
    QStringList order;
    for (const RecognitionRecord& r : records) {
        const QString c = r.character.toLower();
        if (!byCharacter.contains(c))
            order.append(c);
        CharacterWeakness& w = byCharacter[c];
        w.character = c;
        ++w.sent;
        if (!r.right)
            ++w.wrong;
        else if (r.ms)
            times[c].append(*r.ms);
    }
    QList<CharacterWeakness> found;
    order.sort();
    for (const QString& c : order) {
        CharacterWeakness w = byCharacter.value(c);
        const QList<double> last = times.value(c).mid(std::max<qsizetype>(0, times.value(c).size() - 20));
        w.answers = int(last.size());
        if (!last.isEmpty())
            w.medianMs = RecognitionMedian(last);
        found.append(w);
    }
    return found;
}
