#include "marking/CopyMarking.h"

#include "common/Numbers.h"
#include "marking/EditDistance.h"

#include <QHash>
#include <QLocale>
#include <QMap>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// The alignment's table for 10,000 characters with 10 % errors takes about 10 million cells (one byte each).
constexpr qsizetype MaxAlignedCells = 32 * 1024 * 1024;

struct Grouped
{
    Characters characters;
    std::vector<bool> starts;     // begins a group
    std::vector<qsizetype> group; // its group's number
};

Grouped grouped(const QString& normalised)
{
    Grouped g;
    bool start = true;
    qsizetype group = -1;
    for (const char32_t c : QStringView(normalised).toUcs4()) {
        if (c == U' ') {
            start = true;
            continue;
        }
        if (start)
            ++group;
        g.characters.push_back(c);
        g.starts.push_back(start);
        g.group.push_back(group);
        start = false;
    }
    return g;
}

// One character as text; the few characters of a text share their strings.
QString text(char32_t c)
{
    static thread_local QHash<char32_t, QString> texts;
    auto found = texts.find(c);
    if (found == texts.end())
        found = texts.insert(c, QString::fromUcs4(&c, 1));
    return *found;
}

struct Column
{
    MarkedCharacter character;
    // Where the column is shown: 2g for sent group g, 2g + 1 for extra characters after it (one group per copied
    // group, `copyGroup`); -1 before the first sent group.
    qsizetype place = 0;
    qsizetype copyGroup = 0;
};

// The sent groups around an extra character: the one reached so far (-1 before the first) and the next one's
// (-1 after the last); the same group when the extra character falls inside it.
struct SentAround
{
    qsizetype reached = -1, next = -1;
};

// Where an extra character goes: into the sent group beside which the rest of its copied group is, into the sent
// group it falls inside (anywhere else the copy would read out of order), else into a group of its own after the
// sent group reached.
qsizetype extraPlace(const std::vector<Step>& steps, size_t at, const std::vector<qsizetype>& pairSentGroup,
                     const std::vector<qsizetype>& pairCopyGroup, qsizetype copyGroup, SentAround around)
{
    for (size_t t = at; t-- > 0;) {
        if (steps[t] == Step::Pair) {
            if (pairCopyGroup[t] == copyGroup)
                return 2 * pairSentGroup[t];
            break;
        }
    }
    for (size_t t = at + 1; t < steps.size(); ++t) {
        if (steps[t] == Step::Pair) {
            if (pairCopyGroup[t] == copyGroup)
                return 2 * pairSentGroup[t];
            break;
        }
    }
    if (around.reached >= 0 && around.reached == around.next)
        return 2 * around.reached;
    return around.reached < 0 ? -1 : 2 * around.reached + 1;
}

std::vector<Column> columnsOf(const std::vector<Step>& steps, const Grouped& sent, const Grouped& copy)
{
    // The groups of each pair, so that extra characters can look around them.
    std::vector<qsizetype> pairSentGroup(steps.size(), -1), pairCopyGroup(steps.size(), -1);
    for (size_t t = 0, i = 0, j = 0; t < steps.size(); ++t) {
        if (steps[t] == Step::Pair) {
            pairSentGroup[t] = sent.group[i];
            pairCopyGroup[t] = copy.group[j];
        }
        i += steps[t] != Step::Extra ? 1 : 0;
        j += steps[t] != Step::Missing ? 1 : 0;
    }
    std::vector<Column> columns;
    columns.reserve(steps.size());
    for (size_t t = 0, i = 0, j = 0; t < steps.size(); ++t) {
        Column column;
        if (steps[t] == Step::Extra) {
            column.character = {QString(), text(copy.characters[j]), Mark::Extra};
            column.copyGroup = copy.group[j];
            const SentAround around{i == 0 ? -1 : sent.group[i - 1],
                                    i < sent.group.size() ? sent.group[i] : qsizetype(-1)};
            column.place = extraPlace(steps, t, pairSentGroup, pairCopyGroup, copy.group[j], around);
            ++j;
        } else if (steps[t] == Step::Missing) {
            column.character = {text(sent.characters[i]), QString(), Mark::Missing};
            column.place = 2 * sent.group[i];
            ++i;
        } else {
            const bool right = sent.characters[i] == copy.characters[j];
            column.character = {text(sent.characters[i]), text(copy.characters[j]), right ? Mark::Right : Mark::Wrong};
            column.place = 2 * sent.group[i];
            ++i;
            ++j;
        }
        if (column.character.mark != Mark::Extra || column.place % 2 == 0)
            column.copyGroup = 0;
        columns.push_back(std::move(column));
    }
    // Extra characters put into the next group come before that group's missing ones: only then is there anything
    // to sort.
    const auto before = [](const Column& a, const Column& b) {
        return std::tie(a.place, a.copyGroup) < std::tie(b.place, b.copyGroup);
    };
    if (!std::is_sorted(columns.begin(), columns.end(), before))
        std::stable_sort(columns.begin(), columns.end(), before);
    return columns;
}

void addDetail(MarkedCopy& marked, const std::vector<Step>& steps, const Grouped& sent, const Grouped& copy)
{
    const std::vector<Column> columns = columnsOf(steps, sent, copy);
    QMap<std::tuple<int, QString, QString>, int> confusions;
    QMap<QString, CharacterTally> tallies;
    for (size_t c = 0; c < columns.size(); ++c) {
        const MarkedCharacter& character = columns[c].character;
        if (c == 0 || columns[c].place != columns[c - 1].place || columns[c].copyGroup != columns[c - 1].copyGroup)
            marked.groups.append(MarkedGroup());
        marked.groups.last().append(character);
        if (character.mark != Mark::Right)
            ++confusions[{int(character.mark), character.sent, character.copied}];
        if (character.mark != Mark::Extra) {
            CharacterTally& tally = tallies[character.sent];
            tally.character = character.sent;
            ++tally.sent;
            tally.wrong += character.mark == Mark::Right ? 0 : 1;
        }
    }
    for (auto it = confusions.cbegin(); it != confusions.cend(); ++it)
        marked.confusions.append({Mark(std::get<0>(it.key())), std::get<1>(it.key()), std::get<2>(it.key()), *it});
    // Most frequent first; then wrong, missing, extra; then by character (the map's order, kept).
    std::stable_sort(marked.confusions.begin(), marked.confusions.end(),
                     [](const Confusion& a, const Confusion& b) { return a.count > b.count; });
    marked.tallies = tallies.values();
}

// Where each character of `text`, spaces not counted, begins in it (UTF-16 offsets).
std::vector<qsizetype> characterOffsets(QStringView text)
{
    std::vector<qsizetype> offsets;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const bool secondHalf = at > 0 && text[at].isLowSurrogate() && text[at - 1].isHighSurrogate();
        if (!secondHalf && !text[at].isSpace())
            offsets.push_back(at);
    }
    return offsets;
}

// The steps of the alignment that mark the sent characters from `first` to `last` (their own steps, the extra
// characters between them, and the extra ones beside them in the same copied group), and what they say.
struct FieldSteps
{
    qsizetype errors = 0;
    QString copied;
};

class StepWalk
{
public:
    StepWalk(const std::vector<Step>& steps, const Grouped& copy) : m_steps(steps), m_copy(copy)
    {
        for (size_t t = 0, j = 0; t < steps.size(); ++t) {
            if (steps[t] != Step::Extra)
                m_stepOfSent.push_back(t);
            m_copyAt.push_back(j);
            j += steps[t] != Step::Missing ? 1 : 0;
        }
    }
    qsizetype sentCount() const { return qsizetype(m_stepOfSent.size()); }

    FieldSteps field(size_t first, size_t last, const Grouped& sent) const
    {
        size_t lo = m_stepOfSent[first], hi = m_stepOfSent[last];
        const std::optional<qsizetype> leftGroup = pairGroup(lo, hi, true), rightGroup = pairGroup(lo, hi, false);
        while (lo > 0 && m_steps[lo - 1] == Step::Extra && copyGroup(lo - 1) == leftGroup)
            --lo;
        while (hi + 1 < m_steps.size() && m_steps[hi + 1] == Step::Extra && copyGroup(hi + 1) == rightGroup)
            ++hi;
        FieldSteps marked;
        std::optional<qsizetype> group;
        for (size_t t = lo, i = first; t <= hi; ++t) {
            const Step step = m_steps[t];
            const bool right = step == Step::Pair && sent.characters[i] == m_copy.characters[m_copyAt[t]];
            marked.errors += right ? 0 : 1;
            i += step != Step::Extra ? 1 : 0;
            if (step == Step::Missing)
                continue;
            if (group && *group != copyGroup(t))
                marked.copied += u' ';
            group = copyGroup(t);
            marked.copied += text(m_copy.characters[m_copyAt[t]]).toUpper();
        }
        return marked;
    }

private:
    qsizetype copyGroup(size_t t) const { return m_copy.group[m_copyAt[t]]; }
    // The copied group of the first (or last) sent character of the steps that was copied at all.
    std::optional<qsizetype> pairGroup(size_t lo, size_t hi, bool fromFirst) const
    {
        for (size_t n = 0; n <= hi - lo; ++n) {
            const size_t t = fromFirst ? lo + n : hi - n;
            if (m_steps[t] == Step::Pair)
                return copyGroup(t);
        }
        return std::nullopt;
    }

    const std::vector<Step>& m_steps;
    const Grouped& m_copy;
    std::vector<size_t> m_stepOfSent;
    std::vector<size_t> m_copyAt; // the copied character at each step, or the next one
};

MarkedPart markedPart(const QString& label, qsizetype characters, qsizetype errors, PassMark pass)
{
    MarkedPart part{label, characters, errors, AllowedErrors(characters, pass)};
    if (characters > 0) {
        part.accuracyTenths = AccuracyTenths(characters, errors);
        part.verdict = errors <= part.allowed ? Verdict::Received : Verdict::Refused;
    }
    return part;
}

void addFields(MarkedCopy& marked, const StepWalk& walk, const Grouped& sent, QStringView sentText,
               const TextFields& fields)
{
    const std::vector<qsizetype> offsets = characterOffsets(sentText);
    if (qsizetype(offsets.size()) != walk.sentCount())
        return;
    for (const TextField& field : fields) {
        if (field.start < 0 || field.length <= 0 || field.start + field.length > sentText.size())
            continue;
        const auto first = size_t(std::lower_bound(offsets.begin(), offsets.end(), field.start) - offsets.begin());
        const auto end =
            size_t(std::lower_bound(offsets.begin(), offsets.end(), field.start + field.length) - offsets.begin());
        if (first >= end)
            continue;
        const FieldSteps steps = walk.field(first, end - 1, sent);
        if (field.kind == FieldKind::Part) {
            marked.parts.append(markedPart(field.label, qsizetype(end - first), steps.errors, marked.pass));
        } else {
            const QString shownSent = sentText.sliced(field.start, field.length).toString().simplified();
            marked.fields.append({field.kind, shownSent, steps.copied, steps.errors == 0});
        }
    }
}

} // namespace

int AccuracyTenths(qint64 characters, qint64 errors)
{
    if (characters <= 0)
        return 0;
    const qint64 right = std::max<qint64>(0, characters - errors);
    return int((2000 * right + characters) / (2 * characters));
}

qsizetype AllowedErrors(qsizetype characters, PassMark pass)
{
    return characters * pass.hundredths / 10000;
}

namespace {

// The lower case of one character, one character: the first of its full lower case where that has more than one
// (the dotted capital I gives "i").
char32_t LowerCase(char32_t c)
{
    const char32_t simple = QChar::toLower(c);
    if (simple != c || c < 0x80)
        return simple;
    const QList<uint> full = QString::fromUcs4(&c, 1).toLower().toUcs4();
    return full.isEmpty() ? c : char32_t(full.front());
}

} // namespace

QString NormalisedForMarking(QStringView text)
{
    QString normalised;
    normalised.reserve(text.size());
    bool space = false;
    // Each character to its own lower case, one for one: a full lower casing makes two characters of some capitals
    // (the dotted capital I), and the count of characters sent would change.
    for (const char32_t c : text.toUcs4()) {
        if (QChar::isSpace(c)) {
            space = !normalised.isEmpty();
            continue;
        }
        if (space)
            normalised += u' ';
        normalised += QChar::fromUcs4(LowerCase(c));
        space = false;
    }
    return normalised;
}

qsizetype MarkedLength(QStringView text)
{
    qsizetype length = 0;
    for (const char32_t c : text.toUcs4())
        length += QChar::isSpace(c) ? 0 : 1;
    return length;
}

Result<MarkedCopy> MarkCopy(QStringView sentText, QStringView copyText, PassMark pass, const TextFields& fields)
{
    const Grouped sent = grouped(NormalisedForMarking(sentText));
    const Grouped copy = grouped(NormalisedForMarking(copyText));
    const QString limit = QLocale(QLocale::French).toString(MaxMarkedCharacters);
    if (qsizetype(sent.characters.size()) > MaxMarkedCharacters)
        return Fail(u"Le texte envoyé est trop long pour être corrigé (plus de "_s + limit + u" caractères)."_s);
    if (qsizetype(copy.characters.size()) > MaxMarkedCharacters)
        return Fail(u"La copie est trop longue pour être corrigée (plus de "_s + limit + u" caractères)."_s);

    MarkedCopy marked;
    marked.pass = pass;
    marked.characters = qsizetype(sent.characters.size());
    marked.errors = ErrorCount(sent.characters, copy.characters);
    marked.allowed = AllowedErrors(marked.characters, pass);
    if (marked.characters > 0) {
        marked.accuracyTenths = AccuracyTenths(marked.characters, marked.errors);
        marked.verdict = marked.errors <= marked.allowed ? Verdict::Received : Verdict::Refused;
    }
    const auto steps =
        AlignTexts({sent.characters, sent.starts, copy.characters, copy.starts}, marked.errors, MaxAlignedCells);
    marked.detailed = steps.has_value();
    if (steps) {
        addDetail(marked, *steps, sent, copy);
        if (!fields.isEmpty())
            addFields(marked, StepWalk(*steps, copy), sent, sentText, fields);
    }
    return marked;
}
