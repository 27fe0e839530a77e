#include "cli/WavCommandLine.h"

#include "common/FileErrors.h"
#include "common/Numbers.h"
#include "parameters/Parameters.h"
#include "signs/SignTable.h"
#include "signs/Windows1252.h"
#include "sound/Conditions.h"
#include "sound/DurationFormat.h"
#include "sound/RenderExerciseFiles.h"
#include "sound/SoundFileEncoder.h"
#include "sound/SoundProblems.h"
#include "sound/ToneSynthesis.h"
#include "sound/WavHeader.h"
#include "timing/Timing.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

// The rendering sweeps the temporary files of every format after a stop: it must know them all.
constexpr bool everyFormatSwept()
{
    for (const SoundFormat& format : SoundFormats) {
        if (std::find(std::begin(SoundFileExtensions), std::end(SoundFileExtensions),
                      std::u16string_view(format.name)) == std::end(SoundFileExtensions))
            return false;
    }
    return true;
}
static_assert(everyFormatSwept());

// A number as typed: optional sign, digits with "." or "," as decimal point, optional exponent, nothing else.
std::optional<double> parseNumber(const QString& text)
{
    const auto typed = ReadTypedNumber(text, {.decimalComma = true, .exponent = true});
    return typed ? std::optional<double>(typed->value) : std::nullopt; // infinite when beyond every double
}

QString outOfRange(const QString& option, const QString& value, const QString& expected)
{
    return u"Valeur hors plage pour " + option + u"\u202F: «\u202F" + value + u"\u202F» (attendu\u202F: " + expected +
           u").";
}

const Conditions::Condition* conditionNamed(QStringView key)
{
    for (const Conditions::Condition& condition : Conditions::All) {
        if (key == QStringView(condition.key))
            return &condition;
    }
    return nullptr;
}

// Each option's effect: the options as given, the option's name as typed and its value.
using Setter = Failure (*)(WavCommandLine& o, const QString& name, const QString& value);

Failure setHelp(WavCommandLine& o, const QString& /*name*/, const QString& /*value*/)
{
    o.help = true;
    return {};
}

Failure setBase(WavCommandLine& o, const QString& name, const QString& value)
{
    if (value.isEmpty())
        return u"L'option " + name + u" attend un nom de fichier non vide.";
    o.base = value;
    return {};
}

template <std::optional<QString> WavCommandLine::*Field>
Failure setText(WavCommandLine& o, const QString& /*name*/, const QString& value)
{
    o.*Field = value;
    return {};
}

Result<double> numberOf(const QString& name, const QString& value)
{
    const auto number = parseNumber(value);
    if (!number)
        return Fail(u"Valeur non numérique pour " + name + u"\u202F: «\u202F" + value + u"\u202F».");
    if (!std::isfinite(*number))
        return Fail(outOfRange(name, value, QStringLiteral("un nombre de taille raisonnable")));
    return *number;
}

template <std::optional<double> WavCommandLine::*Field, bool Positive = false>
Failure setNumber(WavCommandLine& o, const QString& name, const QString& value)
{
    const Result<double> number = numberOf(name, value);
    if (!number)
        return number.failure();
    if (Positive && !(*number > 0))
        return outOfRange(name, value, QStringLiteral("un nombre positif"));
    o.*Field = *number;
    return {};
}

template <std::optional<int> WavCommandLine::*Field, int Low, int High>
Failure setWhole(WavCommandLine& o, const QString& name, const QString& value)
{
    const Result<double> number = numberOf(name, value);
    if (!number)
        return number.failure();
    const double v = *number;
    if (v != std::floor(v) || v < Low || v > High)
        return outOfRange(name, value, u"un nombre entier de " + QString::number(Low) + u" à " + QString::number(High));
    o.*Field = int(v);
    return {};
}

Failure setCondition(WavCommandLine& o, const QString& name, const QString& value)
{
    const QString key = name.mid(2);
    ReceptionConditions check;
    if (const Failure failed = Conditions::SetFromText(*conditionNamed(key), value, name, check))
        return *failed;
    o.conditions.emplace_back(key, value);
    return {};
}

Failure setSeed(WavCommandLine& o, const QString& name, const QString& value)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool ok = false;
    const quint64 seed = value.toULongLong(&ok);
    if (!digits.match(value).hasMatch() || !ok)
        return outOfRange(name, value, QStringLiteral("un nombre entier de 0 à 18446744073709551615"));
    o.seed = seed;
    return {};
}

Failure setFormat(WavCommandLine& o, const QString& /*name*/, const QString& value)
{
    o.format = FindSoundFormat(value);
    if (!o.format)
        return u"Format inconnu\u202F: «\u202F" + value + u"\u202F» (attendu\u202F: wav, flac, ogg, opus ou mp3).";
    return {};
}

Failure setKbps(WavCommandLine& o, const QString& name, const QString& value)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(value).hasMatch())
        return u"Valeur non numérique pour " + name + u"\u202F: «\u202F" + value +
               u"\u202F» (un nombre entier de kbit/s).";
    o.kbps = value.toInt();
    return {};
}

// The bit rate goes with the format, whichever of the two options comes first.
Failure checkKbps(WavCommandLine& o)
{
    if (!o.kbps)
        return {};
    const SoundFormat& format = *o.format;
    if (format.minKbps == 0)
        return u"L'option --debit ne s'applique pas au format " + QString::fromUtf16(format.name) +
               u"\u202F: seuls mp3 (24 à 64\u202Fkbit/s) et opus (6 à 256\u202Fkbit/s) ont un débit réglable.";
    if (*o.kbps < format.minKbps || *o.kbps > format.maxKbps)
        return outOfRange(QStringLiteral("--debit"), QString::number(*o.kbps),
                          u"de " + QString::number(format.minKbps) + u" à " + QString::number(format.maxKbps) +
                              u"\u202Fkbit/s pour " + QString::fromUtf16(format.name));
    return {};
}

// One option of tonique-wav: how it is parsed and how the help tells it.
struct OptionInfo
{
    const char16_t* name;       // its French name
    const char16_t* aliases[2]; // the other names it takes (its English ones), told in the help
    const char16_t* value;      // what follows it in the help; null for an option without a value
    const char16_t* help;       // its lines in the help
    Setter set;
    bool condition = false; // told among the reception conditions
};

using O = WavCommandLine;

// clang-format off
constexpr OptionInfo kOptions[] = {
    {u"-o", {}, u"BASE", u"nom des fichiers produits, sans extension (par défaut TEST, dossier courant)", &setBase},
    {u"--format", {}, u"FORMAT", u"format du son\u202F: wav (par défaut), flac, ogg (Vorbis), opus ou mp3\u202F; le "
        "fichier son\nprend l'extension du format, le fichier texte reste BASE.txt", &setFormat},
    {u"--debit", {}, u"KBPS", u"débit en kbit/s\u202F: mp3 de 24 à 64 (32 par défaut), opus de 6 à 256 (24 par "
        "défaut)", &setKbps},
    {u"--ref", {}, u"MOT", u"mot de référence de la vitesse (PARIS, CODEX...)", &setText<&O::referenceWord>},
    {u"--vitesse", {u"--wpm"}, u"N", u"vitesse en mots par minute", &setNumber<&O::wpm, true>},
    {u"--espa", {}, u"N", u"espace en points entre signes", &setNumber<&O::espa>},
    {u"--espb", {}, u"N", u"espace en points entre caractères", &setNumber<&O::espb>},
    {u"--espc", {}, u"N", u"espace en points entre mots", &setNumber<&O::espc>},
    {u"--trait", {u"--dash"}, u"N", u"temps en points du trait (calcul de la vitesse)", &setNumber<&O::dash>},
    {u"--supl", {}, u"N", u"temps de réflexion supplémentaire, en points", &setNumber<&O::supl>},
    {u"--point", {u"--dot"}, u"MS", u"temps du point en ms, utilisé tel quel (remplace le calcul par la vitesse)",
        &setNumber<&O::dotMs, true>},
    {u"--tonalite", {u"--tone"}, u"HZ", u"fréquence de la tonalité, de 300 à 2000\u202FHz",
        &setWhole<&O::toneHz, Parameters::ToneMin, Parameters::ToneMax>},
    {u"--volume", {}, u"N", u"volume, de 1 à 127", &setWhole<&O::volume, Parameters::VolumeMin, Parameters::VolumeMax>},
    {u"--debut", {u"--start"}, u"TEXTE", u"caractères indiquant le début de l'exercice", &setText<&O::start>},
    {u"--fin", {u"--end"}, u"TEXTE", u"caractères indiquant la fin de l'exercice", &setText<&O::end>},
    {u"--signes", {u"--signs"}, u"FICHIER", u"fichier des signes (par défaut telkey.ref à côté du programme, ou la "
        "copie de\nl'utilisateur dans ~/.local/share/Tonique quand Tonique est installé)", &setText<&O::signFile>},
    {u"--aide", {u"--help", u"-h"}, nullptr, u"affiche cette aide", &setHelp},
    {u"--bruit", {}, u"DB", u"bruit blanc, rapport signal/bruit de \u221210 à 30\u202FdB", &setCondition, true},
    {u"--qsb", {}, u"PROFONDEUR,PERIODE", u"fading\u202F: profondeur de 0 à 100\u202F%, période de 1 à 30\u202Fs",
        &setCondition, true},
    {u"--qrm", {}, u"DECALAGE,NIVEAU", u"une autre station\u202F: tonalité décalée de \u2212500 à 500\u202FHz,\n"
        "niveau de \u221220 à 6\u202FdB par rapport au signal", &setCondition, true},
    {u"--manuel", {}, u"POURCENT", u"manipulation manuelle\u202F: écart des durées de 0 à 30\u202F%", &setCondition,
        true},
    {u"--fronts", {}, u"MS", u"fronts adoucis de 1 à 10\u202Fms", &setCondition, true},
    {u"--graine", {}, u"N", u"rend le tirage des conditions répétable (entier de 0 à 2^64 \u2212 1)", &setSeed, true},
};
// clang-format on

bool named(const OptionInfo& option, QStringView name)
{
    return name == QStringView(option.name) ||
           std::any_of(std::begin(option.aliases), std::end(option.aliases),
                       [&](const char16_t* alias) { return alias && name == QStringView(alias); });
}

const OptionInfo* findOption(QStringView name)
{
    for (const OptionInfo& candidate : kOptions) {
        if (named(candidate, name))
            return &candidate;
    }
    return nullptr;
}

// The text as "Ouvrir" puts it into the exercise: the lines joined without separator.
QString joinLines(const QString& decoded)
{
    QString text;
    text.reserve(decoded.size());
    for (const QChar c : decoded) {
        if (c != u'\r' && c != u'\n')
            text.append(c);
    }
    return text;
}

} // namespace

const SoundFormat* FindSoundFormat(QStringView name)
{
    for (const SoundFormat& format : SoundFormats) {
        if (name == QStringView(format.name))
            return &format;
    }
    return nullptr;
}

namespace {

// The option at arguments[i], with its value: after "=", or the next argument, which it then takes.
Failure parseOption(const QStringList& arguments, qsizetype& i, WavCommandLine& options)
{
    const QString& arg = arguments[i];
    QString name = arg;
    std::optional<QString> value;
    const qsizetype eq = arg.indexOf(u'=');
    if (arg.startsWith(u"--") && eq > 0) {
        name = arg.left(eq);
        value = arg.mid(eq + 1);
    }
    const OptionInfo* option = findOption(name);
    if (!option || (!option->value && value))
        return u"Option inconnue\u202F: «\u202F" + name + u"\u202F».";
    if (option->value && !value) {
        if (i + 1 >= arguments.size())
            return u"L'option " + name + u" attend une valeur.";
        value = arguments[++i];
    }
    return option->set(options, name, value.value_or(QString()));
}

// "--point, --dot MS"
QString syntaxOf(const OptionInfo& option)
{
    QString syntax = QString::fromUtf16(option.name);
    for (const char16_t* alias : option.aliases) {
        if (alias)
            syntax += u", " + QString::fromUtf16(alias);
    }
    return option.value ? syntax + u' ' + QString::fromUtf16(option.value) : syntax;
}

// The options of one part of the help, each with its names, then its description in a column.
QString optionLines(bool conditions)
{
    qsizetype width = 0;
    for (const OptionInfo& option : kOptions) {
        if (option.condition == conditions)
            width = std::max(width, syntaxOf(option).size());
    }
    QString lines;
    for (const OptionInfo& option : kOptions) {
        if (option.condition == conditions)
            lines += u"  " + syntaxOf(option).leftJustified(width + 2) +
                     QString::fromUtf16(option.help).replace(u'\n', u'\n' + QString(width + 4, u' ')) + u'\n';
    }
    return lines;
}

} // namespace

Failure ParseWavCommandLine(const QStringList& arguments, WavCommandLine& options)
{
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == u"--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.startsWith(u'-') && arg != u"-") {
            if (Failure message = parseOption(arguments, i, options))
                return message;
            continue;
        }
        if (!options.textFile.isEmpty())
            return u"Un seul fichier texte est accepté\u202F; «\u202F" + arg + u"\u202F» est en trop.";
        options.textFile = arg;
    }
    if (!options.help && options.textFile.isEmpty())
        return QStringLiteral("Aucun fichier texte indiqué.");
    return checkKbps(options);
}

QString WavCommandLineHelp()
{
    return QStringLiteral(
               "Usage\u202F: tonique-wav [options] FICHIER_TEXTE\n"
               "Transforme un texte en exercice de lecture au son (Morse)\u202F: écrit BASE.wav (8000\u202FHz, "
               "16\u202Fbits, mono)\n"
               "et BASE.txt, comme «\u202FPréparer La Musique\u202F» de Tonique. FICHIER_TEXTE «\u202F-\u202F» lit "
               "l'entrée standard.\n"
               "Les paramètres sont ceux enregistrés par SAUVE (valeurs par défaut sinon)\u202F; les options les "
               "remplacent.\n"
               "\n") +
           optionLines(false) +
           QStringLiteral("\n"
                          "Conditions de réception (par défaut celles réglées dans Tonique\u202F; «\u202Fnon\u202F» en "
                          "retire une, même\n"
                          "enregistré avec sa case cochée)\u202F:\n") +
           optionLines(true) +
           QStringLiteral(
               "\n"
               "Les options anciennement en anglais (--wpm, --tone...) gardent ce nom à côté de leur nom français.\n"
               "Les nombres s'écrivent avec un point ou une virgule décimale\u202F; dans les conditions, la virgule "
               "sépare\n"
               "les deux valeurs et la décimale s'écrit avec un point. En cas d'erreur (disque plein compris), un\n"
               "message est écrit sur la sortie d'erreur, aucun fichier n'est laissé, la paire précédente reste "
               "telle\n"
               "quelle et le code de sortie est 2\u202F; de même quand la sortie standard ne peut être écrite.\n"
               "Pendant l'écriture, les fichiers s'appellent BASE.wav.partiel et BASE.txt.partiel\u202F: arrêté "
               "par\n"
               "Ctrl+C, SIGTERM ou SIGHUP, le programme les efface\u202F; ceux d'un arrêt brutal le sont à la "
               "préparation\n"
               "suivante.\n");
}

namespace {

QString stored(const WavEnvironment& env, const Parameters::Key& key)
{
    return env.store ? Parameters::Stored(*env.store, key) : Parameters::defaultValue(key);
}

Result<int> toneOf(const WavCommandLine& o, const WavEnvironment& env)
{
    return o.toneHz ? Result<int>(*o.toneHz) : Parameters::ToneFromStored(stored(env, Parameters::tona));
}

// The element runs of the given or stored timing, through the same rules as the window.
Result<SampleRuns> runsOf(const WavCommandLine& o, const WavEnvironment& env, const SignTable& signs,
                          const QStringList& signFormHints)
{
    const Result<int> tone = toneOf(o, env);
    if (!tone)
        return Fail(tone.failure());
    const Result<int> volume =
        o.volume ? Result<int>(*o.volume) : Parameters::VolumeFromStored(stored(env, Parameters::vol));
    if (!volume)
        return Fail(volume.failure());

    auto number = [&](const std::optional<double>& given, const Parameters::Key& key) {
        return given ? *given : LeadingNumber(stored(env, key));
    };
    TimingFields timing;
    timing.referenceWord = o.referenceWord ? *o.referenceWord : stored(env, Parameters::paris);
    timing.espa = number(o.espa, Parameters::espa);
    timing.espb = number(o.espb, Parameters::espb);
    timing.espc = number(o.espc, Parameters::espc);
    timing.dash = number(o.dash, Parameters::tp);
    timing.wpm = number(o.wpm, Parameters::mn);

    // The dot length goes through its text, as TP holds it in the window, so both read the same 15 digits.
    QString dotText;
    if (o.dotMs)
        dotText = FormatNumber(*o.dotMs, QLocale::c());
    else if (const DotLengthResult result = DotLengthOf(timing, signs); result.status == DotLengthResult::Status::Ok)
        dotText = FormatNumber(result.dotMs, QLocale::c());
    const double supl = number(o.supl, Parameters::supl);
    if (const QStringList problems = SoundProblems(signs, signFormHints, timing, dotText, supl); !problems.isEmpty())
        return Fail(problems.join(u'\n'));
    auto runs = MakeSampleRuns(MakeTonePeriod(*tone, *volume), DotLengthFromText(dotText), timing.espa, timing.espb,
                               timing.espc, supl);
    if (!runs)
        return Fail(QStringLiteral("Ces espacements et ce temps du point ne donnent pas de son."));
    return std::move(*runs);
}

// The most text tonique-wav reads: far beyond any exercise (a hundred hours of Morse are under 2 MB), and refused
// before it is all read, so that endless input ends with a message instead of exhausting the memory.
constexpr qint64 MaxTextBytes = qint64(64) << 20;

// The exercise text as "Ouvrir" would put it into the window: the lines joined without separator.
Result<QString> textOf(const WavCommandLine& o)
{
    const bool piped = o.textFile == u"-";
    QFile file;
    if (piped) {
        if (!file.open(stdin, QIODevice::ReadOnly))
            return Fail(QStringLiteral("Impossible de lire l'entrée standard."));
    } else {
        file.setFileName(o.textFile);
        if (const Failure reason = OpenForReading(file))
            return Fail(u"Impossible de lire le fichier texte «\u202F" + QDir::toNativeSeparators(o.textFile) +
                        u"\u202F»\u202F: " + *reason + u'.');
    }
    const QString shown = piped ? QStringLiteral("l'entrée standard")
                                : u"le fichier texte «\u202F" + QDir::toNativeSeparators(o.textFile) + u"\u202F»";
    QByteArray bytes;
    for (QByteArray chunk; bytes.size() <= MaxTextBytes && !(chunk = file.read(1 << 20)).isEmpty();)
        bytes += chunk;
    if (bytes.size() > MaxTextBytes)
        return Fail(u"Texte trop long\u202F: " + shown +
                    u" dépasse 64\u202FMo, bien au-delà de ce qu'un fichier WAV de "
                    u"4\u202FGo peut faire entendre. Découpez-le en plusieurs exercices.");
    if (file.error() != QFileDevice::NoError)
        return Fail(u"Impossible de lire " + shown + u"\u202F: " + FileFailureReason(0, file.error()) + u'.');
    return joinLines(DecodeTextFile(bytes));
}

struct Marks
{
    QString start, end;
};

// The stored conditions, then those of the options, each over its own.
Result<ReceptionConditions> conditionsOf(const WavCommandLine& o, const WavEnvironment& env)
{
    Result<ReceptionConditions> conditions = ReceptionConditions();
    if (env.conditionsStore)
        conditions = Conditions::Stored(*env.conditionsStore);
    if (!conditions)
        return conditions;
    for (const auto& [key, value] : o.conditions)
        Conditions::SetFromText(*conditionNamed(key), value, key, *conditions);
    return conditions;
}

// The highest frequency of the sound: the tone, or the other station's when it is above; the whole band (0) with
// noise, which is white, and when the settings are refused (the rendering then says why).
int highestFrequencyOf(const WavCommandLine& o, const WavEnvironment& env)
{
    const Result<int> tone = toneOf(o, env);
    const Result<ReceptionConditions> conditions = conditionsOf(o, env);
    if (!tone || !conditions || conditions->noise)
        return 0;
    return *tone + (conditions->qrm ? std::max(0, int(std::ceil(conditions->qrmOffsetHz))) : 0);
}

// The encoder of the format, none for WAV.
Result<std::unique_ptr<SoundFileEncoder>> encoderOf(const WavCommandLine& o, const WavEnvironment& env)
{
    if (o.format == &SoundFormats[0])
        return std::unique_ptr<SoundFileEncoder>();
    if (!env.encoderFor)
        return Fail(u"Le format " + QString::fromUtf16(o.format->name) + u" n'est pas disponible.");
    return env.encoderFor(*o.format, o.kbps.value_or(o.format->defaultKbps), highestFrequencyOf(o, env));
}

} // namespace

int RunToniqueWav(const QStringList& arguments, const WavEnvironment& env)
{
    auto fail = [&](const QString& message) {
        env.err(u"tonique-wav\u202F: " + message + u'\n');
        return 2;
    };
    WavCommandLine o;
    if (const Failure message = ParseWavCommandLine(arguments, o))
        return fail(*message + u"\nEssayez «\u202Ftonique-wav --help\u202F».");
    if (o.help) {
        env.out(WavCommandLineHelp());
        return 0;
    }
    // Asked before anything is read or written: a format that cannot be written leaves no file.
    Result<std::unique_ptr<SoundFileEncoder>> made = encoderOf(o, env);
    if (!made)
        return fail(made.failure());
    const std::unique_ptr<SoundFileEncoder> encoder = std::move(*made);

    const QString signPath = o.signFile ? *o.signFile : env.signFile;
    const SignFile signFile = LoadSignFile(signPath);
    if (signFile.status != SignFile::Status::Loaded)
        return fail(signFile.errorText);
    const Result<SampleRuns> runs = runsOf(o, env, signFile.table, signFile.formHints);
    if (!runs)
        return fail(runs.failure());
    const Result<QString> text = textOf(o);
    if (!text)
        return fail(text.failure());
    Result<ReceptionConditions> conditions = conditionsOf(o, env);
    if (!conditions)
        return fail(conditions.failure());
    const RenderConditions render{*conditions, o.seed ? *o.seed : QRandomGenerator::system()->generate64()};

    ExerciseSource source;
    source.text = [&text] { return *text; };
    const Marks marks{o.start ? *o.start : stored(env, Parameters::deb), o.end ? *o.end : stored(env, Parameters::fin)};
    source.startMarks = [&marks] { return marks.start; };
    source.endMarks = [&marks] { return marks.end; };
    const ExerciseFiles files = ExerciseFiles::forBase(o.base, o.format->name);
    QByteArray header = MakeWavHeader();
    const ExerciseFiles partial = PartialExerciseFiles(files);
    if (env.removeOnStop)
        env.removeOnStop({partial.wav, partial.txt});
    const Failure failed = RenderExerciseFiles(files, signFile.table, *runs, header, source, {}, render, encoder.get());
    if (env.removeOnStop)
        env.removeOnStop({});
    if (failed)
        return fail(*failed);

    const quint64 length = QFile(files.wav).size();
    const quint64 sampleBytes = encoder ? encoder->sampleBytes() : length - WavFormat::HeaderSize;
    env.out(QDir::toNativeSeparators(files.wav) + u"\u202F: " +
            FormatDuration(qint64(sampleBytes / WavFormat::BytesPerMs)) + u" (" + QString::number(length) +
            u"\u202Foctets), " + QDir::toNativeSeparators(files.txt) + u'\n');
    if (render.conditions.any())
        env.out(u"Conditions de réception\u202F: " + Conditions::Summary(render.conditions) + u"\u202F; graine " +
                QString::number(render.seed) + u'\n');
    return 0;
}
