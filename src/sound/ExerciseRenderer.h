#pragma once

#include "common/ByteSink.h"
#include "common/Progress.h"
#include "signs/SignTable.h"
#include "sound/ToneSynthesis.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <array>

// Turns characters into the prebuilt runs: each character of a rendering is looked up in the sign table once.
class ExerciseRenderer
{
public:
    ExerciseRenderer(const SignTable& signs, const SampleRuns& runs);

    // Start marks, a word gap (when there are start marks), the text, a word gap (when there are end marks), the end
    // marks, the last of which ends on its last element's tone and dot length (FinalCharacter). `text` is sounded as
    // given: trimming is the caller's. `carryOn` is asked now and then; false when it stopped the writing.
    bool writeSamples(ByteSink& sink, QStringView start, QStringView text, QStringView end,
                      const CarryOn& carryOn = {});
    // The whole WAV file's length in bytes, header included, computed from the runs.
    quint64 wavLength(QStringView start, QStringView text, QStringView end);

    // One character (lower-cased here): a space gives a word gap, a character the table lacks gives nothing.
    void WriteCharacter(ByteSink& sink, QChar c, bool finalCharacter);

    const SignTable& signs() const { return m_signs; }
    const SampleRuns& runs() const { return m_runs; }

private:
    const QString* patternOf(QChar c);

    const SignTable& m_signs;
    const SampleRuns& m_runs;
    std::array<qint16, 256> m_latin1; // sign index + 1 per Latin-1 character, 0 = not looked up yet, -1 = none
    QHash<char16_t, int> m_others;
};
