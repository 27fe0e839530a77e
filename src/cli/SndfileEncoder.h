#pragma once

#include "cli/WavCommandLine.h"
#include "common/Result.h"
#include "sound/SoundFileEncoder.h"

#include <memory>

// The encoder of tonique-wav --format for the formats other than WAV, through the system's libsndfile: FLAC, Ogg
// Vorbis, Ogg Opus and MP3, mono at 8000 Hz, MP3 at a constant bit rate. Fails with the French reason when the
// installed libsndfile cannot write the format.
Result<std::unique_ptr<SoundFileEncoder>> MakeSndfileEncoder(const SoundFormat& format, int kbps);
