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
            if (!expandRule(*m_grammar.rules.constFind(piece.text), depth + 1, true))
                return false;
            break;
        case GrammarPiece::Kind::Variable:
            if (!useVariable(*m_grammar.rules.constFind(piece.text), depth + 1))
                return false;
            break;
        case GrammarPiece::Kind::List:
            drawFrom(piece.text, *m_grammar.lists.constFind(piece.text));
            break;
        }
    }
    return true;
}

bool GrammarExpander::useVariable(const GrammarRule& variable, int depth)
{
    const QString key = u"$"_s + variable.name;
    if (!m_values.contains(key) && !bind(variable, depth))
        return false;
    const QString& value = m_values[key];
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
    m_values.insert(u"$"_s + variable.name, value);
    return true;
}

bool GrammarExpander::clashes(const GrammarRule& variable, const QString& value) const
{
    if (!variable.kind || value.isEmpty())
        return false;
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        if (it.value() == value && m_grammar.rules.constFind(it.key())->kind == variable.kind)
            return true;
    }
    return false;
}

const Alternative* GrammarExpander::pick(const GrammarRule& rule)
{
    QList<const Alternative*> fitting;
    int total = 0;
    for (const Alternative& alternative : rule.alternatives) {
        bool fit = true;
        for (const GrammarPiece& piece : alternative.pieces)
            fit = fit && (piece.kind != GrammarPiece::Kind::Literal || fitsItem(piece.text));
        if (fit) {
            fitting << &alternative;
            total += alternative.weight;
        }
    }
    double r = m_random.next() * total;
    for (const Alternative* alternative : fitting) {
        r -= alternative->weight;
        if (r < 0)
            return alternative;
    }
    if (!fitting.isEmpty())
        return fitting.last();
    // None fits: one is taken all the same, its words that do not fit left out (appendFitting).
    return rule.alternatives.isEmpty() ? nullptr : &rule.alternatives[m_random.pickIndex(rule.alternatives.size())];
}

void GrammarExpander::drawFrom(const QString& name, const WordList& list)
{
    QList<const ListItem*> fitting;
    int total = 0;
    for (const ListItem& item : list.items) {
        if (fitsItem(item.text)) {
            fitting << &item;
            total += item.weight;
        }
    }
    if (fitting.isEmpty()) {
        leaveOut(QString(name).replace(u'_', u' '));
        return;
    }
    double r = m_random.next() * total;
    const ListItem* chosen = fitting.last();
    for (const ListItem* item : fitting) {
        r -= item->weight;
        if (r < 0) {
            chosen = item;
            break;
        }
    }
    appendDrawn(chosen->text);
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
    if (fitsItem(text)) {
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
