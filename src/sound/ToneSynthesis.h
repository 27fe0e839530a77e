#pragma once

#include <QByteArray>

#include <optional>

// One period of the tone as sample bytes: levels floor(v * sin(x)) for x = 0, h, 2h, ... (repeated addition) while
// x <= 6.28, with h = (f / 1000) * (6.28 / 8); the last sample dropped. Each level s is stored as two equal bytes,
// s + 255 when negative. Empty when the frequency gives no step.
QByteArray MakeTonePeriod(int frequencyHz, int volume);

// The prebuilt pieces of the sound, as sample bytes (lengths in bytes, possibly odd).
struct SampleRuns
{
    QByteArray dot;            // dot tone, then silence up to one dot plus one element gap
    QByteArray dash;           // two dot tones, then the dot run
    QByteArray charGap;        // silence after a character's last element gap
    QByteArray wordGap;        // silence a space adds
    qsizetype elementGap = 0;  // G: bytes of one element gap, left out after the very last element
    qsizetype dotBytes = 0;    // D: bytes of one dot, its tone and the silence that completes it
    qsizetype dotTone = 0;     // T: bytes of a dot's tone, whole periods at the start of `dot` (a dash sounds 3 T)
    qsizetype periodBytes = 0; // bytes of one period of the tone
};

// What the renderer is made of, rebuilt whenever the tone or the timing changes: one period of the tone (empty
// until the first one is built at start-up) and the runs built from it.
struct SoundPieces
{
    QByteArray tonePeriod;
    SampleRuns runs;
    // What they were built from, told with every sound prepared from them.
    int frequency = 0;
    int volume = 0;
    double dotMs = 0;
    double wpm = 0; // the speed heard at that dot length, 0 when the reference word cannot be measured
};

// A single run is never allowed beyond this many bytes (a dot of about 70 minutes).
inline constexpr qsizetype MaxRunBytes = qsizetype(64) << 20;

// The runs for a dot of `dotMs` ms and gaps in dots; nothing when the period is empty or when a length comes out
// negative, not finite or beyond MaxRunBytes (the caller then keeps its previous runs).
std::optional<SampleRuns> MakeSampleRuns(const QByteArray& tonePeriod, double dotMs, double espa, double espb,
                                         double espc, double supl);
