#include "games/RaceSound.h"

#include "common/ByteSink.h"
#include "platform/MediaPlayer.h"
#include "sound/ExerciseRenderer.h"
#include "sound/ToneSynthesis.h"
#include "sound/WavHeader.h"

#include <QStringList>

#include <array>

using namespace Qt::StringLiterals;

namespace {

class ByteArraySink : public ByteSink
{
public:
    using ByteSink::append;
    void append(const char* data, qsizetype size) override { bytes.append(data, size); }
    QByteArray bytes;
};

} // namespace

QByteArray RenderRaceCall(const QString& call, const RaceTone& tone, const SignTable& signs, double leadMs)
{
    if (tone.cpm <= 0)
        return {};
    const double dotMs = 6000.0 / tone.cpm;
    // The silence before the call is a word gap (its length beyond the letter gap), drawn out to the length asked.
    const double wordGap = leadMs > 0 ? 3 + leadMs / dotMs : 7;
    const auto runs = MakeSampleRuns(MakeTonePeriod(tone.hz, tone.volume), dotMs, 1, 3, wordGap, 0);
    if (!runs)
        return {};
    ExerciseRenderer renderer(signs, *runs);
    ByteArraySink sink;
    sink.bytes = MakeWavHeader();
    renderer.writeSamples(sink, {}, leadMs > 0 ? u" "_s + call : call, {});
    PatchWavHeader(sink.bytes, quint64(sink.bytes.size()));
    return sink.bytes;
}

QString SpokenCall(const QString& call)
{
    static const std::array<const char16_t*, 26> letters{
        u"Alpha",    u"Bravo", u"Charlie",  u"Delta",  u"Écho",     u"Fox-trot", u"Golf",   u"Hôtel",  u"India",
        u"Juliette", u"Kilo",  u"Lima",     u"Maïk",   u"Novembre", u"Oscar",    u"Papa",   u"Québec", u"Roméo",
        u"Sierra",   u"Tango", u"Uniforme", u"Victor", u"Whisky",   u"Ixe-ray",  u"Yankee", u"Zoulou"};
    static const std::array<const char16_t*, 10> figures{u"zéro", u"un",  u"deux", u"trois", u"quatre",
                                                         u"cinq", u"six", u"sept", u"huit",  u"neuf"};
    QStringList words;
    for (const QChar c : call.toUpper()) {
        if (c >= u'A' && c <= u'Z')
            words << QString::fromUtf16(letters[size_t(c.unicode() - u'A')]);
        else if (c >= u'0' && c <= u'9')
            words << QString::fromUtf16(figures[size_t(c.unicode() - u'0')]);
        else if (c == u'/')
            words << u"barre"_s;
        else
            words << QString(c);
    }
    return words.join(u", "_s);
}

std::optional<QString> UnheardRun(const MediaPlayer& player, const Failure& failure)
{
    if (!failure && !player.playsSilently())
        return std::nullopt;
    return (failure ? *failure : QStringLiteral("Aucune sortie son")) +
           QStringLiteral("\u202F: les sons du jeu ne s'entendent pas. La série est arrêtée et rien n'en est "
                          "enregistré. Branchez une sortie son (casque, haut-parleurs), puis «\u202FDépart\u202F».");
}
