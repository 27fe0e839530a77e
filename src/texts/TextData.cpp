#include "texts/TextData.h"

#include <QSet>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString Where(const QString& file, int line)
{
    return u"«\u202F"_s + file + u"\u202F», ligne "_s + QString::number(line) + u"\u202F: "_s;
}

// Drops the characters that cannot be sounded, reporting each once per file.
class CharacterFilter
{
public:
    CharacterFilter(QString file, const SoundableCheck& soundable, QStringList& warnings)
        : m_file(std::move(file)), m_soundable(soundable), m_warnings(warnings)
    {}

    // `keep` lists characters of the file's own syntax that stay whatever the sign table says.
    QString filter(QStringView text, int line, QStringView keep = {})
    {
        QString kept;
        kept.reserve(text.size());
        for (const QChar c : text) {
            if (c.isSpace()) {
                kept += u' ';
            } else if (keep.contains(c) || m_soundable(c)) {
                kept += c;
            } else if (!m_reported.contains(c)) {
                m_reported.insert(c);
                m_warnings << Where(m_file, line) + u"le caractère «\u202F"_s + c +
                                  u"\u202F» n'est pas dans le fichier des signes, il est retiré."_s;
            }
        }
        return kept;
    }

private:
    QString m_file;
    const SoundableCheck& m_soundable;
    QStringList& m_warnings;
    QSet<QChar> m_reported;
};

bool IsName(QStringView name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (!(c.isDigit() || (c.isLetter() && c.isLower()) || c == u'_'))
            return false;
    }
    return true;
}

// "text | weight" split into the text and its weight (1 without "|").
Result<std::pair<QString, int>> SplitWeight(const QString& file, int line, QStringView entry)
{
    const qsizetype bar = entry.lastIndexOf(u'|');
    if (bar < 0)
        return std::pair{entry.toString(), 1};
    bool ok = false;
    const int weight = entry.mid(bar + 1).trimmed().toInt(&ok);
    if (!ok || weight < 1 || weight > 1'000'000)
        return Fail(Where(file, line) + u"le poids «\u202F"_s + entry.mid(bar + 1).trimmed() +
                    u"\u202F» n'est pas un nombre entier de 1 à 1\u202F000\u202F000."_s);
    return std::pair{entry.left(bar).toString(), weight};
}

bool IsComment(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(u'#');
}

std::optional<FieldKind> KindNamed(QStringView name)
{
    static const QHash<QString, FieldKind> kinds{
        {u"indicatif"_s, FieldKind::CallSign}, {u"report"_s, FieldKind::Report},
        {u"prenom"_s, FieldKind::Name},        {u"qth"_s, FieldKind::Qth},
        {u"puissance"_s, FieldKind::Power},    {u"equipement"_s, FieldKind::Equipment},
        {u"meteo"_s, FieldKind::Weather},
    };
    const auto found = kinds.constFind(name.toString());
    return found == kinds.cend() ? std::nullopt : std::optional(*found);
}

} // namespace

Result<WordList> ParseWordList(const QString& file, const QString& text, const SoundableCheck& soundable,
                               QStringList& warnings)
{
    WordList list{file, {}, 0};
    CharacterFilter filter(file, soundable, warnings);
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i + 1);
        if (IsComment(lines[i]))
            continue;
        const auto entry = SplitWeight(file, line, lines[i]);
        if (!entry)
            return Fail(entry.failure());
        const QString item = filter.filter(entry->first, line, u"#@").simplified();
        if (item.isEmpty())
            continue;
        list.items << ListItem{item, entry->second};
        list.totalWeight += entry->second;
    }
    if (list.items.isEmpty())
        return Fail(u"«\u202F"_s + file + u"\u202F»\u202F: le fichier est vide, il ne donne rien à tirer."_s);
    return list;
}

namespace {

class GrammarParser
{
public:
    GrammarParser(const QString& file, const SoundableCheck& soundable, QStringList& warnings)
        : m_filter(file, soundable, warnings)
    {
        m_grammar.file = file;
    }

    Failure parse(const QString& text);

    Grammar& grammar() { return m_grammar; }

private:
    QString where(int line) const { return Where(m_grammar.file, line); }

    Failure parseLine(QStringView text, int line);

    Failure parseBody(QStringView body, int line, QList<GrammarPiece>& pieces);

    CharacterFilter m_filter;
    Grammar m_grammar;
};

Failure GrammarParser::parse(const QString& text)
{
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (IsComment(lines[i]))
            continue;
        if (Failure failed = parseLine(lines[i], static_cast<int>(i + 1)))
            return failed;
    }
    return {};
}

Failure GrammarParser::parseLine(QStringView text, int line)
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return where(line) + u"il manque «\u202F=\u202F» (une ligne s'écrit «\u202Fnom = texte\u202F»)."_s;
    QStringView head = text.left(equals).trimmed();
    const bool variable = head.startsWith(u'$');
    if (variable)
        head = head.mid(1);
    const qsizetype colon = head.indexOf(u':');
    const QStringView name = colon < 0 ? head : head.left(colon);
    if (!IsName(name))
        return where(line) + u"le nom «\u202F"_s + head +
               u"\u202F» ne convient pas (lettres minuscules, chiffres, «\u202F_\u202F»)."_s;
    std::optional<FieldKind> kind;
    if (colon >= 0 && !(kind = KindNamed(head.mid(colon + 1))))
        return where(line) + u"la sorte «\u202F"_s + head.mid(colon + 1) +
               u"\u202F» est inconnue (indicatif, report, prenom, qth, puissance, equipement, meteo)."_s;
    const auto body = SplitWeight(m_grammar.file, line, text.mid(equals + 1));
    if (!body)
        return body.failure();
    Alternative alternative{{}, body->second, line};
    if (Failure failed = parseBody(body->first.trimmed(), line, alternative.pieces))
        return failed;
    GrammarRule& rule = m_grammar.rules[(variable ? u"$"_s : QString()) + name.toString()];
    if (rule.alternatives.isEmpty())
        rule = GrammarRule{name.toString(), variable, kind, {}, line, 0};
    else if (kind && rule.kind != kind)
        return where(line) + u"«\u202F"_s + name + u"\u202F» a déjà une autre sorte."_s;
    rule.alternatives << alternative;
    rule.totalWeight += alternative.weight;
    return {};
}

Failure GrammarParser::parseBody(QStringView body, int line, QList<GrammarPiece>& pieces)
{
    QString literal;
    auto flush = [&] {
        const QString kept = m_filter.filter(literal, line, u"#@");
        if (!kept.isEmpty())
            pieces << GrammarPiece{GrammarPiece::Kind::Literal, kept};
        literal.clear();
    };
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'$') {
            qsizetype end = i + 1;
            while (end < body.size() && IsName(body.mid(end, 1)))
                ++end;
            if (end == i + 1)
                return where(line) + u"«\u202F$\u202F» doit être suivi du nom d'une variable."_s;
            flush();
            pieces << GrammarPiece{GrammarPiece::Kind::Variable, u"$"_s + body.mid(i + 1, end - i - 1)};
            i = end - 1;
        } else if (c == u'{' || c == u'<') {
            const qsizetype close = body.indexOf(c == u'{' ? u'}' : u'>', i + 1);
            const QStringView name = close < 0 ? QStringView() : body.mid(i + 1, close - i - 1);
            if (!IsName(name)) {
                if (c == u'<') { // the sign "<" itself
                    literal += c;
                    continue;
                }
                return where(line) + u"«\u202F{\u202F» doit être suivi du nom d'une liste et de «\u202F}\u202F»."_s;
            }
            flush();
            pieces << GrammarPiece{c == u'{' ? GrammarPiece::Kind::List : GrammarPiece::Kind::Rule, name.toString()};
            i = close;
        } else {
            literal += c;
        }
    }
    flush();
    return {};
}

QString Named(const GrammarRule& rule)
{
    return (rule.variable ? u"la variable «\u202F$"_s : u"la règle «\u202F"_s) + rule.name + u"\u202F»"_s;
}

// Every rule and variable referred to exists, and every list is read.
Failure Resolve(Grammar& grammar, const DataFileReader& read, const SoundableCheck& soundable, QStringList& warnings)
{
    for (const GrammarRule& rule : std::as_const(grammar.rules)) {
        for (const Alternative& alternative : rule.alternatives) {
            for (const GrammarPiece& piece : alternative.pieces) {
                if (piece.kind == GrammarPiece::Kind::Literal)
                    continue;
                if (piece.kind != GrammarPiece::Kind::List) {
                    if (!grammar.rules.contains(piece.text))
                        return Where(grammar.file, alternative.line) +
                               (piece.kind == GrammarPiece::Kind::Rule ? u"la règle «\u202F"_s
                                                                       : u"la variable «\u202F"_s) +
                               piece.text + u"\u202F» n'est définie nulle part."_s;
                    continue;
                }
                if (grammar.lists.contains(piece.text))
                    continue;
                const QString file = piece.text + u".txt"_s;
                const Result<QString> text = read(file);
                if (!text)
                    return Where(grammar.file, alternative.line) + text.failure();
                Result<WordList> list = ParseWordList(file, *text, soundable, warnings);
                if (!list)
                    return list.failure();
                grammar.lists.insert(piece.text, *list);
            }
        }
    }
    return {};
}

bool Ends(const Alternative& alternative, const QSet<QString>& ending)
{
    for (const GrammarPiece& piece : alternative.pieces) {
        const bool refers = piece.kind == GrammarPiece::Kind::Rule || piece.kind == GrammarPiece::Kind::Variable;
        if (refers && !ending.contains(piece.text))
            return false;
    }
    return true;
}

// Whether `name` comes back to itself through the rules that cannot end: the loop itself, rather than a rule that
// merely calls into it.
bool ReachesItself(const Grammar& grammar, const QString& name, const QSet<QString>& ending)
{
    QSet<QString> seen;
    QStringList todo{name};
    while (!todo.isEmpty()) {
        const QString current = todo.takeLast();
        for (const Alternative& alternative : grammar.rules.constFind(current)->alternatives) {
            for (const GrammarPiece& piece : alternative.pieces) {
                const bool refers =
                    piece.kind == GrammarPiece::Kind::Rule || piece.kind == GrammarPiece::Kind::Variable;
                if (!refers || ending.contains(piece.text))
                    continue;
                if (piece.text == name)
                    return true;
                if (!seen.contains(piece.text)) {
                    seen.insert(piece.text);
                    todo << piece.text;
                }
            }
        }
    }
    return false;
}

// A rule can end when one of its alternatives refers only to rules that can end.
Failure CheckEnds(const Grammar& grammar)
{
    QSet<QString> ending;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto it = grammar.rules.cbegin(); it != grammar.rules.cend(); ++it) {
            if (ending.contains(it.key()))
                continue;
            for (const Alternative& alternative : it->alternatives) {
                if (Ends(alternative, ending)) {
                    ending.insert(it.key());
                    grew = true;
                    break;
                }
            }
        }
    }
    const GrammarRule* first = nullptr;
    for (auto it = grammar.rules.cbegin(); it != grammar.rules.cend(); ++it) {
        if (!ending.contains(it.key()) && ReachesItself(grammar, it.key(), ending) &&
            (!first || it->line < first->line))
            first = &*it;
    }
    if (!first)
        return {};
    return Where(grammar.file, first->line) + Named(*first) +
           u" ne peut jamais finir\u202F: chacune de ses variantes revient à elle-même."_s;
}

// Each reference points at its rule or list, so that drawing a text looks no name up.
void Link(Grammar& grammar)
{
    for (GrammarRule& rule : grammar.rules) {
        for (Alternative& alternative : rule.alternatives) {
            for (GrammarPiece& piece : alternative.pieces) {
                if (piece.kind == GrammarPiece::Kind::List)
                    piece.target = &*grammar.lists.constFind(piece.text);
                else if (piece.kind != GrammarPiece::Kind::Literal)
                    piece.target = &*grammar.rules.constFind(piece.text);
            }
        }
    }
}

} // namespace

Result<Grammar> LoadGrammar(const QString& file, const QString& start, const DataFileReader& read,
                            const SoundableCheck& soundable, QStringList& warnings)
{
    const Result<QString> text = read(file);
    if (!text)
        return Fail(text.failure());
    GrammarParser parser(file, soundable, warnings);
    if (const Failure failed = parser.parse(*text))
        return Fail(*failed);
    Grammar& grammar = parser.grammar();
    if (grammar.rules.isEmpty())
        return Fail(u"«\u202F"_s + file + u"\u202F»\u202F: le fichier est vide, il ne définit aucune règle."_s);
    if (!grammar.rules.contains(start))
        return Fail(u"«\u202F"_s + file + u"\u202F»\u202F: la règle «\u202F"_s + start +
                    u"\u202F», par laquelle tout commence, manque."_s);
    if (const Failure failed = Resolve(grammar, read, soundable, warnings))
        return Fail(*failed);
    if (const Failure failed = CheckEnds(grammar))
        return Fail(*failed);
    Link(grammar);
    return std::move(grammar);
}
