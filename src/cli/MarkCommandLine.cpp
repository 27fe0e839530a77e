#include "cli/MarkCommandLine.h"

#include "common/FileErrors.h"
#include "common/Result.h"
#include "marking/CopyMarking.h"
#include "marking/MarkingReport.h"
#include "signs/Windows1252.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// A file larger than this cannot hold a copy short enough to be marked.
constexpr qint64 MaxFileBytes = 1 << 20;

struct MarkOptions
{
    PassMark pass;
    bool csv = false;
    bool help = false;
    QStringList files; // the sent text, then the copies
};

Result<MarkOptions> parse(const QStringList& arguments)
{
    MarkOptions o;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (optionsEnded || !arg.startsWith(u'-') || arg == u"-"_s) {
            o.files << arg;
        } else if (arg == u"--"_s) {
            optionsEnded = true;
        } else if (arg == u"--help"_s || arg == u"-h"_s) {
            o.help = true;
        } else if (arg == u"--csv"_s) {
            o.csv = true;
        } else if (arg == u"--admis"_s || arg.startsWith(u"--admis="_s)) {
            if (arg == u"--admis"_s && i + 1 >= arguments.size())
                return Fail(u"L'option --admis attend un pourcentage."_s);
            const Result<PassMark> pass = ParsePassMark(arg == u"--admis"_s ? arguments[++i] : arg.mid(8));
            if (!pass)
                return Fail(u"--admis\u202F: "_s + pass.failure());
            o.pass = *pass;
        } else {
            return Fail(u"Option inconnue\u202F: «\u202F"_s + arg + u"\u202F»."_s);
        }
    }
    if (!o.help && o.files.size() < 2)
        return Fail(u"Il faut le fichier envoyé, puis au moins une copie."_s);
    if (o.files.count(u"-"_s) > 1)
        return Fail(u"L'entrée standard ne peut être lue qu'une fois\u202f: «\u00a0-\u00a0» ne peut nommer qu'un "
                    "fichier."_s);
    return o;
}

// The bytes of a file, or of standard input for "-", read no further than the limit: a device or a pipe tells no
// size and may never end.
Result<QByteArray> readBytes(const QString& path)
{
    const bool piped = path == u"-"_s;
    const QString name = QDir::toNativeSeparators(path);
    QFile file(piped ? QString() : path);
    const Failure failed = piped ? Failure() : OpenForReading(file);
    if (failed)
        return Fail(u"Impossible de lire «\u202F"_s + name + u"\u202F»\u202F: "_s + *failed + u'.');
    if (piped && !file.open(stdin, QIODevice::ReadOnly))
        return Fail(u"Impossible de lire l'entrée standard."_s);
    QByteArray bytes;
    for (QByteArray chunk; bytes.size() <= MaxFileBytes && !(chunk = file.read(1 << 16)).isEmpty();)
        bytes += chunk;
    if (bytes.size() > MaxFileBytes)
        return Fail(piped ? u"L'entrée standard est trop longue pour être corrigée (plus de 1\u202FMo)."_s
                          : u"«\u202F"_s + name + u"\u202F» est trop grand pour être corrigé (plus de 1\u202FMo)."_s);
    if (file.error() != QFileDevice::NoError)
        return Fail(u"Impossible de lire «\u202F"_s + name + u"\u202F»\u202F: "_s + FileFailureReason(0, file.error()) +
                    u'.');
    return bytes;
}

// A text file decoded as an opened exercise text is.
Result<QString> readText(const QString& path)
{
    const Result<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return Fail(bytes.failure());
    return DecodeTextFile(*bytes);
}

} // namespace

QString MarkCommandLineHelp()
{
    return u"Usage\u202F: tonique-mark [--admis POURCENT] [--csv] ENVOYE.txt COPIE.txt...\n"
           "Corrige chaque copie d'après le texte envoyé, comme «\u202FCorriger ma copie...\u202F» de Tonique\u202F: "
           "les erreurs\n"
           "sont les caractères faux, manquants ou en trop (les espaces ne comptent pas), et la copie est reçue\n"
           "quand elles ne dépassent pas le pourcentage admis des caractères envoyés, arrondi à l'erreur entière.\n"
           "\n"
           "  --admis POURCENT  erreurs admises, de 0 à 100 (par défaut 5)\n"
           "  --csv             une ligne CSV par copie\u202F: copie;caractères;erreurs;exactitude;verdict\n"
           "  --help            affiche cette aide\n"
           "\n"
           "«\u00a0-\u00a0» lit l'entrée standard\u202f; un fichier est lu jusqu'à 1\u202FMo au plus.\n"
           "L'historique de Tonique n'est pas modifié. En cas d'erreur (option, fichier illisible, sortie standard\n"
           "qui ne peut être écrite), un message est écrit sur la sortie d'erreur et le code de sortie est 2.\n"_s;
}

int RunToniqueMark(const QStringList& arguments, const MarkEnvironment& env)
{
    auto complain = [&env](const QString& message) { env.err(u"tonique-mark\u202F: "_s + message + u'\n'); };
    const Result<MarkOptions> options = parse(arguments);
    if (!options) {
        complain(options.failure() + u"\nEssayez «\u202Ftonique-mark --help\u202F»."_s);
        return 2;
    }
    if (options->help) {
        env.out(MarkCommandLineHelp());
        return 0;
    }
    const Result<QString> sent = readText(options->files.first());
    if (!sent) {
        complain(sent.failure());
        return 2;
    }
    if (options->csv)
        env.out(MarkCsvHeader() + u'\n');
    int status = 0;
    for (const QString& path : options->files.mid(1)) {
        const Result<QString> copy = readText(path);
        const Result<MarkedCopy> marked = copy ? MarkCopy(*sent, *copy, options->pass) : Fail(copy.failure());
        if (!marked) {
            complain(marked.failure());
            status = 2;
            continue;
        }
        const QString name = QDir::toNativeSeparators(path);
        env.out((options->csv ? MarkCsvLine(name, *marked) : name + u"\u202F: "_s + SummaryText(*marked)) + u'\n');
    }
    return status;
}
