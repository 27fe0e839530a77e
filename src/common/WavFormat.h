#pragma once

#include "common/Result.h"

#include <QIODevice>
#include <QtGlobal>

// The exercise sound: 16-bit signed PCM, one channel, 8000 samples per second, so 16 bytes make one millisecond.
// The program's own files carry a 58-byte header (an 18-byte format chunk and a "fact" chunk).
namespace WavFormat {
inline constexpr int SampleRate = 8000;
inline constexpr int BytesPerSample = 2;
inline constexpr int BytesPerMs = SampleRate * BytesPerSample / 1000;
inline constexpr qsizetype HeaderSize = 58;
} // namespace WavFormat

// Where the sample bytes of a WAV file lie.
struct WavLayout
{
    qint64 dataOffset = 0; // bytes from the start of the file
    qint64 dataBytes = 0;  // as declared, cut to what the file really holds; may be odd
};

// Reads the RIFF header of `file` from its start: 16-bit PCM, mono, 8000 Hz, with or without a "fact" chunk, other
// chunks skipped. Fails with the French reason when it is not such a file.
Result<WavLayout> ReadWavLayout(QIODevice& file);
