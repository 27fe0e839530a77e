#pragma once

#include "cli/WavCommandLine.h"
#include "common/Result.h"
#include "sound/SoundFileEncoder.h"

#include <memory>

// The encoder of tonique-wav --format for the formats other than WAV, mono at 8000 Hz: FLAC through the system's
// libsndfile, Ogg Vorbis through libvorbis, Ogg Opus through libopus, MP3 at a constant bit rate through LAME. Fails
// with the French reason when the installed libsndfile cannot write FLAC. `highestHz`: the highest frequency the
// sound holds, 0 for the whole band.
Result<std::unique_ptr<SoundFileEncoder>> MakeSndfileEncoder(const SoundFormat& format, int kbps, int highestHz);
