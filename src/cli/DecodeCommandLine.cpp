#include "cli/DecodeCommandLine.h"

#include "common/FileErrors.h"
#include "common/Result.h"
#include "sending/MorseDecoder.h"
#include "sending/TimingAnalysis.h"
#include "sending/ToneDetector.h"
#include "signs/SignTable.h"

#include <QDir>

#include <memory>
#include <sndfile.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct DecodeOptions
{
    bool timing = false;
    bool help = false;
    QString signFile;
    QString file;
};

Result<DecodeOptions> parse(const QStringList& arguments, const QString& defaultSigns)
{
    DecodeOptions o;
    o.signFile = defaultSigns;
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (optionsEnded || !arg.startsWith(u'-') || arg == u"-"_s) {
            files << arg;
        } else if (arg == u"--"_s) {
            optionsEnded = true;
        } else if (arg == u"--help"_s || arg == u"-h"_s || arg == u"--aide"_s) {
            o.help = true;
        } else if (arg == u"--timing"_s || arg == u"--rythme"_s) {
            o.timing = true;
        } else if (arg == u"--signes"_s || arg == u"--signs"_s) {
            if (i + 1 >= arguments.size())
                return Fail(u"L'option "_s + arg + u" attend un fichier."_s);
            o.signFile = arguments[++i];
        } else {
            return Fail(u"Option inconnue\u202F: «\u202F"_s + arg + u"\u202F»."_s);
        }
    }
    if (!o.help && files.size() != 1)
        return Fail(u"Il faut un fichier son, ou «\u00a0-\u00a0» pour l'entrée standard."_s);
    o.file = files.value(0);
    return o;
}

struct SoundCloser
{
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using Sound = std::unique_ptr<SNDFILE, SoundCloser>;

// "96 000": a number's thousands apart, as French writes them.
QString grouped(int number)
{
    QString digits = QString::number(number);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u'\u202F');
    return digits;
}

// Why libsndfile refused a sound, in French.
QString refusal(int error)
{
    return error == SF_ERR_UNRECOGNISED_FORMAT ? u"ce n'est pas un son d'un format connu (WAV, FLAC, Ogg, MP3…)"_s
                                               : u"le son est tronqué ou endommagé"_s;
}

// The sound file opened, or standard input read as it comes (a pipe is never sought).
Result<Sound> openSound(const QString& path, SF_INFO& info)
{
    const bool piped = path == u"-"_s;
    const QString name = piped ? u"l'entrée standard"_s : u"«\u202F"_s + QDir::toNativeSeparators(path) + u"\u202F»"_s;
    if (!piped) {
        QFile file(path);
        if (const Failure failed = OpenForReading(file))
            return Fail(u"Impossible de lire "_s + name + u"\u202F: "_s + *failed + u'.');
        if (file.size() == 0 && !file.isSequential())
            return Fail(u"Impossible de lire "_s + name + u"\u202F: le fichier est vide."_s);
    }
    Sound sound(piped ? sf_open_fd(STDIN_FILENO, SFM_READ, &info, SF_FALSE)
                      : sf_open(QFile::encodeName(path).constData(), SFM_READ, &info));
    if (!sound)
        return Fail(u"Impossible de lire "_s + name + u"\u202F: "_s + refusal(sf_error(nullptr)) + u'.');
    if (info.samplerate < ToneDetector::MinRateHz || info.samplerate > ToneDetector::MaxRateHz || info.channels < 1)
        return Fail(u"Impossible de lire "_s + name + u"\u202F: il est échantillonné à "_s + grouped(info.samplerate) +
                    u"\u202FHz, et seuls 8\u202F000 à 48\u202F000\u202FHz sont lus."_s);
    return sound;
}

// A length in dots, one decimal, with a decimal comma.
QString dots(double value)
{
    return QString::number(value, 'f', 1).replace(u'.', u',');
}

// "a  .-  1,0 2,9": a character, its pattern and its elements' lengths in the sender's dots.
QString timingLine(const DecodedSign& sign)
{
    QStringList lengths;
    for (const MeasuredElement& element : sign.elements)
        lengths << dots(double(element.downUs) / sign.dotUs);
    return sign.text + u"  "_s + sign.pattern + u"  "_s + lengths.join(u' ') + u'\n';
}

QString timingSummary(const std::vector<DecodedSign>& signs)
{
    const TimingReport report = AnalyseTiming(signs);
    const QString weight =
        report.weightPercent > 0 ? QString::number(std::lround(report.weightPercent)) + u"\u202F%"_s : MeasuredText(0);
    return u"\nTrait/point\u202F: "_s + MeasuredText(report.dashDotRatio) + u"\nEspace entre éléments\u202F: "_s +
           MeasuredText(report.elementGapRatio) + u"\nEspace entre lettres\u202F: "_s +
           MeasuredText(report.letterGapRatio) + u"\nEspace entre mots\u202F: "_s + MeasuredText(report.wordGapRatio) +
           u"\nPoids\u202F: "_s + weight + u'\n' + TimingAdvice(report) + u'\n';
}

// Reads the sound to its end through the detector and the decoder, printing as it goes.
class Reader
{
public:
    Reader(const SignTable& signs, int rateHz, bool timing, const DecodeEnvironment& env)
        : m_decoder(signs), m_detector(rateHz), m_timing(timing), m_env(env)
    {}

    void read(SNDFILE* sound, int channels);

private:
    void pass();
    void print();

    MorseDecoder m_decoder;
    ToneDetector m_detector;
    bool m_timing;
    const DecodeEnvironment& m_env;
    QString m_line;
    std::vector<DecodedSign> m_kept;
};

void Reader::read(SNDFILE* sound, int channels)
{
    constexpr sf_count_t Frames = 4096;
    std::vector<float> samples(size_t(Frames * channels));
    std::vector<float> mono(Frames);
    for (sf_count_t n; (n = sf_readf_float(sound, samples.data(), Frames)) > 0;) {
        for (sf_count_t i = 0; i < n; ++i) {
            float sum = 0;
            for (int c = 0; c < channels; ++c)
                sum += samples[size_t(i * channels + c)];
            mono[size_t(i)] = sum / float(channels);
        }
        m_detector.feed(mono.data(), size_t(n));
        pass();
    }
    m_detector.finish();
    pass();
    // Long enough after the last edge for the last character and word to end.
    m_decoder.advanceTo(m_detector.now() + 10 * MicrosecondsPerSecond);
    print();
    if (!m_line.trimmed().isEmpty())
        m_env.out(m_line.trimmed() + u'\n');
    if (m_timing && !m_kept.empty())
        m_env.out(timingSummary(m_kept));
}

void Reader::pass()
{
    for (const KeyEdge& edge : m_detector.takeEdges())
        m_decoder.keyEdge(edge);
    m_decoder.advanceTo(m_detector.now());
    print();
}

// Text by lines of at most 72 characters, broken between words; with the timing, a line per character.
void Reader::print()
{
    for (DecodedSign& sign : m_decoder.takeDecoded()) {
        if (sign.kind == DecodedSign::Kind::Message) {
            m_env.err(u"tonique-decode\u202F: "_s + sign.text + u'\n');
        } else if (m_timing) {
            if (sign.kind == DecodedSign::Kind::Character)
                m_env.out(timingLine(sign));
            m_kept.push_back(std::move(sign));
        } else if (sign.kind == DecodedSign::Kind::WordSpace && m_line.size() >= 72) {
            m_env.out(std::exchange(m_line, {}).trimmed() + u'\n');
        } else if (!(sign.kind == DecodedSign::Kind::WordSpace && m_line.isEmpty())) {
            m_line += sign.text;
        }
    }
}

} // namespace

QString DecodeCommandLineHelp()
{
    return u"Usage\u202F: tonique-decode [--timing] [--signes FICHIER] SON\n"
           "Lit le code Morse d'un fichier son (WAV, FLAC, Ogg, MP3\u202F; mono ou stéréo, de 8\u202F000 à "
           "48\u202F000\u202FHz)\n"
           "et écrit le texte décodé, en minuscules comme le fichier des signes. La tonalité est trouvée seule\n"
           "entre 300 et 1\u202F500\u202FHz et la vitesse apprise au fil du texte.\n"
           "\n"
           "  --timing, --rythme  chaque caractère avec la longueur de ses éléments en points, puis les rapports\n"
           "  --signes, --signs FICHIER  fichier des signes (par défaut telkey.ref à côté du programme)\n"
           "  --help, --aide      affiche cette aide\n"
           "\n"
           "«\u00a0-\u00a0» lit l'entrée standard. Un son sans Morse n'écrit rien. En cas d'erreur (option, fichier "
           "qui\n"
           "n'est pas un son lisible), un message est écrit sur la sortie d'erreur et le code de sortie est 2.\n"_s;
}

int RunToniqueDecode(const QStringList& arguments, const DecodeEnvironment& env)
{
    auto complain = [&env](const QString& message) { env.err(u"tonique-decode\u202F: "_s + message + u'\n'); };
    const Result<DecodeOptions> options = parse(arguments, env.signFile);
    if (!options) {
        complain(options.failure() + u"\nEssayez «\u202Ftonique-decode --help\u202F»."_s);
        return 2;
    }
    if (options->help) {
        env.out(DecodeCommandLineHelp());
        return 0;
    }
    const SignFile signFile = LoadSignFile(options->signFile);
    if (signFile.status != SignFile::Status::Loaded) {
        complain(signFile.errorText);
        return 2;
    }
    SF_INFO info{};
    const Result<Sound> sound = openSound(options->file, info);
    if (!sound) {
        complain(sound.failure());
        return 2;
    }
    Reader(signFile.table, info.samplerate, options->timing, env).read(sound->get(), info.channels);
    return 0;
}
