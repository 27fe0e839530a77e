#include "sound/SoundProblems.h"

#include "common/Excerpt.h"
#include "common/Numbers.h"
#include "parameters/Parameters.h"
#include "sound/ToneSynthesis.h"

namespace {

// The first character of `word` that the table lacks, lower-cased as the lookup does.
QString firstMissing(const QString& word, const SignTable& signs)
{
    for (const QChar c : word) {
        QString key = QString(c).toLower();
        if (!signs.FindSign(key))
            return key;
    }
    return {};
}

} // namespace

QStringList SoundProblems(const SignTable& signs, const QStringList& signFormHints, const TimingFields& fields,
                          const QString& dotText, double supl)
{
    const double dotMs = DotLengthFromText(dotText);
    // A dot length is given: how it was found no longer matters.
    const DotLengthResult dot = dotMs > 0 ? DotLengthResult{} : DotLengthOf(fields, signs);
    if (dot.status == DotLengthResult::Status::MissingCharacter) {
        const QString missing = firstMissing(fields.referenceWord, signs);
        return QStringList{
                   u"Le mot de référence «\u202F" + Excerpt(fields.referenceWord) + u"\u202F» contient «\u202F" +
                   missing +
                   u"\u202F», absent du fichier des signes\u202F: le temps du point ne peut pas être calculé."} +
               signFormHints;
    }
    if (dot.status == DotLengthResult::Status::NoDivisor)
        return {QStringLiteral("La vitesse (%1 mots par minute) et les espacements ne donnent pas de temps du point "
                               "positif.")
                    .arg(FormatNumber(fields.wpm))};
    if (!(dotMs > 0))
        return {u"Le temps du point «\u202F" + Excerpt(dotText) + u"\u202F» n'est pas un nombre positif."};
    // The runs do not depend on the tone's shape, only on its presence: any period will do.
    if (!MakeSampleRuns(MakeTonePeriod(Parameters::ExamTone, Parameters::ExamVolume), dotMs, fields.espa, fields.espb,
                        fields.espc, supl))
        return {QStringLiteral("Ces espacements (%1, %2 et %3 points) et ce temps de réflexion (%4 points) donnent des "
                               "silences de durée négative ou démesurée.")
                    .arg(FormatNumber(fields.espa), FormatNumber(fields.espb), FormatNumber(fields.espc),
                         FormatNumber(supl))};
    return {};
}
