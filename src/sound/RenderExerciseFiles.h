#pragma once

#include "common/Result.h"
#include "signs/SignTable.h"
#include "sound/Conditions.h"
#include "sound/ExerciseRenderer.h"
#include "sound/SoundFileEncoder.h"
#include "sound/ToneSynthesis.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

// The two files of an exercise, from their base path (folder and Text11, without extension).
struct ExerciseFiles
{
    QString wav; // the sound: the program's WAV, or another format for tonique-wav --format
    QString txt;
    static ExerciseFiles forBase(const QString& base, QStringView soundExtension = u"wav")
    {
        return {base + u'.' + soundExtension, base + u".txt"};
    }
};

// The extensions of every sound file the program writes: the half-written files of a stopped rendering, whatever
// its format, go at the next rendering of the same name.
inline constexpr const char16_t* SoundFileExtensions[] = {u"wav", u"flac", u"ogg", u"opus", u"mp3"};

// The names the two files carry while they are written ("TEST.wav.partiel", "TEST.txt.partiel"), until both are
// complete and replace the previous pair.
ExerciseFiles PartialExerciseFiles(const ExerciseFiles& files);

// What a rendering reads, at the moment it needs it: the exercise text and the marks, read again after the pause
// between the two files; `showTrimmed` (may be empty) is told the text without its outer spaces before it is
// sounded, so that the window shows what is heard.
struct ExerciseSource
{
    std::function<QString()> text;
    std::function<QString()> startMarks;
    std::function<QString()> endMarks;
    std::function<void(const QString& trimmed)> showTrimmed;
    // Asked now and then while the WAV file is written; when it answers false the rendering stops and fails, the
    // previous pair of files left as it was.
    CarryOn carryOn;
};

// The band conditions of a rendering and the seed of their random numbers: none by default.
struct RenderConditions
{
    ReceptionConditions conditions;
    quint64 seed = 0;
};

// Rendering an exercise, for the window and for tonique-wav alike: refuses a WAV file that the header's 32-bit
// sizes cannot describe, writes the text file with the untrimmed text, runs `betweenFiles` (the window lets its
// events run once), reads the source again, then streams the WAV file: header, start marks, text without its outer
// spaces, end marks, header patched with the length; the samples go through the band conditions when one is on.
// Both files are written under temporary names beside the final ones and replace the previous pair only once both
// are complete, and neither is replaced when the other cannot be (a folder of that name); the temporary files left
// by a stopped rendering of the same name go first. On failure the French message names the file and the reason, and
// the previous pair stays as it was. With an `encoder` the samples go to it instead of the WAV writer, and no 4 GiB
// limit applies.
Failure RenderExerciseFiles(const ExerciseFiles& files, const SignTable& signs, const SampleRuns& runs,
                            QByteArray& header, const ExerciseSource& source,
                            const std::function<void()>& betweenFiles = {}, const RenderConditions& conditions = {},
                            SoundFileEncoder* encoder = nullptr);

// Its sound file steps (the text file's is WriteExerciseTextFile), for the benchmarks and the tests; a message names
// `shownPath` when given (the final name of a file written under a temporary one).
Failure WriteExerciseWav(const QString& path, QByteArray& header, ExerciseRenderer& renderer, QStringView start,
                         QStringView trimmedText, QStringView end, const QString& shownPath = {},
                         const CarryOn& carryOn = {}, const RenderConditions& conditions = {});
Failure WriteEncodedSound(const QString& path, SoundFileEncoder& encoder, ExerciseRenderer& renderer, QStringView start,
                          QStringView trimmedText, QStringView end, const QString& shownPath = {},
                          const CarryOn& carryOn = {}, const RenderConditions& conditions = {});
