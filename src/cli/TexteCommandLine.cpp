#include "cli/TexteCommandLine.h"

#include "common/RandomSource.h"
#include "common/Result.h"
#include "exercise/RandomGroups.h"
#include "playback/TextSource.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

// The plain-language part of the exam, and of --clair.
constexpr int PlainCharacters = 180;

enum class Kind
{
    None,
    Qso,
    Words,
    Plain,
    Exam,
};

struct TexteOptions
{
    Kind kind = Kind::None;
    int words = 0;
    int count = 1;
    std::optional<quint32> seed;
    std::optional<QString> allowed;
    bool help = false;
};

// 10000 as "10 000", with the narrow no-break space of French typography.
QString Grouped(qint64 value)
{
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QChar(0x202F));
    return digits;
}

Result<qint64> Number(const QString& option, const QString& text, qint64 low, qint64 high)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < low || value > high)
        return Fail(u"L'option "_s + option + u" attend un nombre entier de "_s + Grouped(low) + u" à "_s +
                    Grouped(high) + u", pas «\u202F"_s + text + u"\u202F»."_s);
    return value;
}

Failure SetKind(TexteOptions& o, Kind kind)
{
    if (o.kind != Kind::None)
        return u"Une seule sorte de texte à la fois\u202F: --qso, --mots, --clair ou --examen."_s;
    o.kind = kind;
    return {};
}

// The option `arg` that takes a value, with it.
Failure ParseValue(TexteOptions& o, const QString& arg, const QString& value)
{
    if (arg == u"--jeu"_s) {
        if (value.isEmpty())
            return u"L'option --jeu attend les caractères appris."_s;
        o.allowed = value.toLower();
        return {};
    }
    const qint64 high = arg == u"--graine"_s ? 4'294'967'295LL : arg == u"--mots"_s ? 10'000 : 1'000;
    const Result<qint64> n = Number(arg, value, arg == u"--graine"_s ? 0 : 1, high);
    if (!n)
        return n.failure();
    if (arg == u"--graine"_s)
        o.seed = static_cast<quint32>(*n);
    else if (arg == u"--nombre"_s)
        o.count = static_cast<int>(*n);
    else if (Failure failed = SetKind(o, Kind::Words))
        return failed;
    else
        o.words = static_cast<int>(*n);
    return {};
}

Result<TexteOptions> Parse(const QStringList& arguments)
{
    static const QStringList valued{u"--mots"_s, u"--jeu"_s, u"--graine"_s, u"--nombre"_s};
    static const QHash<QString, Kind> kinds{
        {u"--qso"_s, Kind::Qso}, {u"--clair"_s, Kind::Plain}, {u"--examen"_s, Kind::Exam}};
    TexteOptions o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString arg = arguments[i].section(u'=', 0, 0);
        const bool inlineValue = arguments[i].contains(u'=');
        Failure failed;
        if (arg == u"--help"_s || arg == u"-h"_s) {
            o.help = true;
        } else if (kinds.contains(arg) && !inlineValue) {
            failed = SetKind(o, kinds[arg]);
        } else if (valued.contains(arg)) {
            if (!inlineValue && i + 1 >= arguments.size())
                return Fail(u"L'option "_s + arg + u" attend une valeur."_s);
            failed = ParseValue(o, arg, inlineValue ? arguments[i].section(u'=', 1) : arguments[++i]);
        } else {
            return Fail(u"Option inconnue\u202F: «\u202F"_s + arguments[i] + u"\u202F»."_s);
        }
        if (failed)
            return Fail(*failed);
    }
    if (!o.help && o.kind == Kind::None)
        return Fail(u"Dites quel texte écrire\u202F: --qso, --mots N, --clair ou --examen."_s);
    return o;
}

class SeededRandom : public RandomSource
{
public:
    explicit SeededRandom(quint32 seed) { startFrom({seed, 0x74, 0x65, 0x78, 0x74, 0x65, 0, 0}); }
};

// The exam as the window's preset makes it: 30 groups of five letters and 6 of five figures (of the set, when one
// is given), then the plain-language part.
Result<GeneratedText> Exam(TextSource& texts, RandomSource& random, const std::optional<QString>& allowed)
{
    const QString set = allowed.value_or(u"abcdefghijklmnopqrstuvwxyz0123456789"_s);
    QString groups;
    const TextSink append = [&groups](QStringView piece) { groups += piece; };
    const bool letters = AppendLetterGroups(30, set, {}, random, append);
    const bool figures = AppendFigureGroups(6, set, random, append);
    if (!letters || !figures)
        return Fail(u"Le jeu «\u202F"_s + set +
                    u"\u202F» n'a pas de quoi faire les groupes de lettres et de chiffres."_s);
    Result<GeneratedText> plain = texts.plainText(PlainCharacters, random, allowed);
    if (!plain)
        return plain;
    plain->text = groups.trimmed() + u'\n' + plain->text;
    return plain;
}

Result<GeneratedText> Make(const TexteOptions& o, TextSource& texts, RandomSource& random)
{
    switch (o.kind) {
    case Kind::Qso:
        return texts.qso(random, o.allowed);
    case Kind::Words:
        return texts.words(o.words, random, o.allowed);
    case Kind::Plain:
        return texts.plainText(PlainCharacters, random, o.allowed);
    case Kind::Exam:
        return Exam(texts, random, o.allowed);
    case Kind::None:
        break;
    }
    return Fail(QString());
}

} // namespace

QString TexteCommandLineHelp()
{
    return u"Usage\u202F: tonique-texte (--qso | --mots N | --clair | --examen) [--jeu CARACTERES] [--graine N]\n"
           "                     [--nombre N]\n"
           "Écrit des textes d'exercice en français, tirés des fichiers du dossier «\u202Ftextes\u202F» de Tonique.\n"
           "\n"
           "  --qso             un contact complet entre deux stations\n"
           "  --mots N          N mots courants (de 1 à 10\u202F000)\n"
           "  --clair           un texte en clair d'environ 180 caractères\n"
           "  --examen          l'examen complet\u202F: 30 groupes de lettres, 6 groupes de chiffres, un texte en "
           "clair\n"
           "  --jeu CARACTERES  seulement ces caractères (ceux que l'élève a appris)\n"
           "  --graine N        le même N donne les mêmes textes (de 0 à 4294967295)\n"
           "  --nombre N        N textes, séparés par une ligne vide (de 1 à 1\u202F000)\n"
           "  --help            affiche cette aide\n"
           "\n"
           "Ce que le jeu de caractères oblige à laisser de côté est dit sur la sortie d'erreur. En cas d'erreur\n"
           "(option, fichier de données abîmé, sortie standard qui ne peut être écrite), un message est écrit sur\n"
           "la sortie d'erreur et le code de sortie est 2.\n"_s;
}

int RunToniqueTexte(const QStringList& arguments, const TexteEnvironment& env)
{
    auto complain = [&env](const QString& message) { env.err(u"tonique-texte\u202F: "_s + message + u'\n'); };
    const Result<TexteOptions> options = Parse(arguments);
    if (!options) {
        complain(options.failure() + u"\nEssayez «\u202Ftonique-texte --help\u202F»."_s);
        return 2;
    }
    if (options->help) {
        env.out(TexteCommandLineHelp());
        return 0;
    }
    SeededRandom random(options->seed ? *options->seed : env.freshSeed());
    for (int i = 0; i < options->count; ++i) {
        const Result<GeneratedText> text = Make(*options, *env.texts, random);
        if (!text) {
            complain(text.failure());
            return 2;
        }
        for (const QString& note : text->leftOut)
            complain(u"laissé de côté\u202F: "_s + note);
        env.out((i > 0 ? u"\n"_s : QString()) + text->text + u'\n');
    }
    return 0;
}
