#pragma once

#include "common/ByteSink.h"
#include "common/Result.h"

#include <QString>

// A sound file in another format than the program's WAV: the same 16-bit samples at 8000 Hz, little-endian as the
// WAV file holds them, handed to an encoder (tonique-wav's). A half sample at the very end is left out.
class SoundFileEncoder : public ByteSink
{
public:
    // Creates the file, replacing any file of that name; the French reason when it cannot.
    virtual Failure create(const QString& path) = 0;
    // Writes out the end of the sound and closes the file; the French reason of the first failure of the writing.
    virtual Failure close() = 0;
    // Sample bytes received so far.
    virtual quint64 sampleBytes() const = 0;
};
