#include "texts/GrammarExpander.h"

#include "common/RandomSource.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Beyond these a grammar is taken to loop (a rule calling itself more often than it ends).
constexpr int MaxDepth = 40;
constexpr int MaxSteps = 100'000;
// Draws of a variable until it differs from the others of its kind (two call signs, two names).
constexpr int MaxRedraws = 20;

QString Label(const GrammarRule& rule)
{
    if (rule.kind)
        return FieldKindName(*rule.kind);
    return QString(rule.name).replace(u'_', u' ');
}

} // namespace

GrammarExpander::GrammarExpander(const Grammar& grammar, RandomSource& random, const std::optional<QString>& allowed)
    : m_grammar(grammar), m_random(random)
{
    if (allowed)
        m_allowed = allowed->toLower();
    for (char16_t c = u'a'; c <= u'z'; ++c) {
        if (!m_allowed || m_allowed->contains(QChar(c)))
            m_letters += QChar(c).toUpper();
    }
    for (char16_t c = u'0'; c <= u'9'; ++c) {
        if (!m_allowed || m_allowed->contains(QChar(c)))
            m_figures += QChar(c);
    }
}

bool GrammarExpander::expand(const QString& rule)
{
    return expandRule(*m_grammar.rules.constFind(rule), 0, true);
}

GeneratedText GrammarExpander::take()
{
    if (m_out.text.endsWith(u' '))
        m_out.text.chop(1);
    return std::exchange(m_out, {});
}

bool GrammarExpander::stop(const GrammarRule& rule, const QString& why)
{
    m_failure = u"«\u202F"_s + m_grammar.file + u"\u202F», ligne "_s + QString::number(rule.line) + u"\u202F: "_s +
                why + u" (règle «\u202F"_s + rule.name + u"\u202F»)\u202F; ses règles tournent sans fin."_s;
    return false;
}

bool GrammarExpander::expandRule(const GrammarRule& rule, int depth, bool marked)
{
    if (depth > MaxDepth)
        return stop(rule, u"le texte s'imbrique sur plus de "_s + QString::number(MaxDepth) + u" niveaux"_s);
    if (++m_steps > MaxSteps)
        return stop(rule, u"le texte dépasse "_s + QString::number(MaxSteps) + u" étapes"_s);
    const Alternative* alternative = pick(rule);
    if (!alternative) {
        leaveOut(Label(rule));
        return true;
    }
    const qsizetype before = m_out.text.size();
    const qsizetype leftOut = m_out.leftOut.size();
    const qsizetype fields = m_out.fields.size();
    const int dropped = m_dropped;
    if (!expandPieces(*alternative, depth))
        return false;
    if (rule.kind && (m_dropped > dropped || m_out.text.mid(before).trimmed().isEmpty())) {
        // A piece of information is whole or left out (a report of two figures would be wrong), named by its kind.
        m_out.text.truncate(before);
        m_out.fields.resize(fields);
        m_out.leftOut.resize(leftOut);
        leaveOut(Label(rule));
    } else if (rule.kind && marked) {
        record(*rule.kind, before);
    }
    return true;
}

bool GrammarExpander::expandPieces(const Alternative& alternative, int depth)
{
    for (const GrammarPiece& piece : alternative.pieces) {
        switch (piece.kind) {
        case GrammarPiece::Kind::Literal:
            appendFitting(piece.text);
            break;
        case GrammarPiece::Kind::Rule:
            if (!expandRule(*static_cast<const GrammarRule*>(piece.target), depth + 1, true))
                return false;
            break;
        case GrammarPiece::Kind::Variable:
            if (!useVariable(*static_cast<const GrammarRule*>(piece.target), depth + 1))
                return false;
            break;
        case GrammarPiece::Kind::List:
            drawFrom(piece.text, *static_cast<const WordList*>(piece.target));
            break;
        }
    }
    return true;
}

bool GrammarExpander::useVariable(const GrammarRule& variable, int depth)
{
    if (!m_values.contains(&variable) && !bind(variable, depth))
        return false;
    const QString& value = m_values[&variable];
    const qsizetype before = m_out.text.size();
    append(value);
    if (variable.kind && !value.isEmpty())
        record(*variable.kind, before);
    return true;
}

// The variable is drawn where the text stands, then taken out of it to be kept.
bool GrammarExpander::bind(const GrammarRule& variable, int depth)
{
    const qsizetype before = m_out.text.size();
    const qsizetype fields = m_out.fields.size();
    const qsizetype leftOut = m_out.leftOut.size();
    QString value;
    for (int draw = 0; draw < MaxRedraws; ++draw) {
        if (!expandRule(variable, depth, false))
            return false;
        value = m_out.text.mid(before).trimmed();
        m_out.text.truncate(before);
        m_out.fields.resize(fields);
        if (!clashes(variable, value))
            break;
        m_out.leftOut.resize(leftOut);
    }
    m_values.insert(&variable, value);
    return true;
}

bool GrammarExpander::clashes(const GrammarRule& variable, const QString& value) const
{
    if (!variable.kind || value.isEmpty())
        return false;
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        if (it.key()->kind == variable.kind && it.value() == value)
            return true;
    }
    return false;
}

const GrammarExpander::Fitting& GrammarExpander::fitting(const GrammarRule& rule)
{
    auto found = m_fitting.find(&rule);
    if (found != m_fitting.end())
        return *found;
    Fitting fitting;
    for (qsizetype i = 0; i < rule.alternatives.size(); ++i) {
        bool fit = true;
        for (const GrammarPiece& piece : rule.alternatives[i].pieces)
            fit = fit && (piece.kind != GrammarPiece::Kind::Literal || fitsItem(piece.text));
        if (fit) {
            fitting.indices << i;
            fitting.total += rule.alternatives[i].weight;
        }
    }
    return *m_fitting.insert(&rule, fitting);
}

const GrammarExpander::Fitting& GrammarExpander::fitting(const WordList& list)
{
    auto found = m_fitting.find(&list);
    if (found != m_fitting.end())
        return *found;
    Fitting fitting;
    for (qsizetype i = 0; i < list.items.size(); ++i) {
        if (fitsItem(list.items[i].text)) {
            fitting.indices << i;
            fitting.total += list.items[i].weight;
        }
    }
    return *m_fitting.insert(&list, fitting);
}

// An item by weight: all of them with every character allowed, otherwise those that fit (none when none does).
template <typename Item> const Item* GrammarExpander::draw(const QList<Item>& items, int total, const Fitting* fitting)
{
    double r = m_random.next() * (fitting ? fitting->total : total);
    if (!fitting) {
        for (const Item& item : items) {
            if ((r -= item.weight) < 0)
                return &item;
        }
        return items.isEmpty() ? nullptr : &items.last();
    }
    for (const qsizetype i : fitting->indices) {
        if ((r -= items[i].weight) < 0)
            return &items[i];
    }
    return fitting->indices.isEmpty() ? nullptr : &items[fitting->indices.last()];
}

const Alternative* GrammarExpander::pick(const GrammarRule& rule)
{
    const Alternative* chosen = draw(rule.alternatives, rule.totalWeight, m_allowed ? &fitting(rule) : nullptr);
    if (chosen || rule.alternatives.isEmpty())
        return chosen;
    // None fits: one is taken all the same, its words that do not fit left out (appendFitting).
    return &rule.alternatives[m_random.pickIndex(rule.alternatives.size())];
}

void GrammarExpander::drawFrom(const QString& name, const WordList& list)
{
    const ListItem* chosen = draw(list.items, list.totalWeight, m_allowed ? &fitting(list) : nullptr);
    if (chosen)
        appendDrawn(chosen->text);
    else
        leaveOut(QString(name).replace(u'_', u' '));
}

void GrammarExpander::appendDrawn(QStringView text)
{
    QString drawn = text.toString();
    for (QChar& c : drawn) {
        if (c == u'#')
            c = m_figures[m_random.pickIndex(m_figures.size())];
        else if (c == u'@')
            c = m_letters[m_random.pickIndex(m_letters.size())];
    }
    append(drawn);
}

void GrammarExpander::appendFitting(QStringView text)
{
    if (!m_allowed || fitsItem(text)) {
        appendDrawn(text);
        return;
    }
    const QList<QStringView> words = text.split(u' ');
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (i > 0)
            append(u" ");
        if (fitsItem(words[i]))
            appendDrawn(words[i]);
        else
            leaveOut(u"« "_s + words[i] + u" »"_s);
    }
}

bool GrammarExpander::fits(QStringView text) const
{
    if (!m_allowed)
        return true;
    for (const QChar c : text) {
        if (c != u' ' && !m_allowed->contains(c.toLower()))
            return false;
    }
    return true;
}

bool GrammarExpander::fitsItem(QStringView item) const
{
    for (const QChar c : item) {
        const bool fit = c == u'#' ? !m_figures.isEmpty() : c == u'@' ? !m_letters.isEmpty() : fits(QStringView(&c, 1));
        if (!fit)
            return false;
    }
    return true;
}

void GrammarExpander::append(QStringView text)
{
    for (const QChar c : text) {
        if (c == u' ' && (m_out.text.isEmpty() || m_out.text.endsWith(u' ')))
            continue;
        m_out.text += c;
    }
}

void GrammarExpander::record(FieldKind kind, qsizetype before)
{
    qsizetype start = before;
    qsizetype end = m_out.text.size();
    while (start < end && m_out.text[start] == u' ')
        ++start;
    while (end > start && m_out.text[end - 1] == u' ')
        --end;
    if (end > start)
        m_out.fields << TextField{kind, start, end - start, {}};
}

void GrammarExpander::leaveOut(const QString& piece)
{
    ++m_dropped;
    if (!m_out.leftOut.contains(piece))
        m_out.leftOut << piece;
}
