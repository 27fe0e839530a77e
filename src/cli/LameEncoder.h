#pragma once

#include "common/Result.h"
#include "sound/SoundFileEncoder.h"

#include <memory>

// MP3 at `kbps` kbit/s constant, mono at 8000 Hz, through LAME, with the header that tells players the exact length.
// The sound is cut into segments of `segmentFrames` frames of 576 samples, encoded side by side on two threads and
// joined frame by frame into one stream. `highestHz`: the highest frequency the sound holds, 0 for the whole band;
// what lies well above it is left out, which LAME encodes faster.
inline constexpr int LameSegmentFrames = 2048;
Result<std::unique_ptr<SoundFileEncoder>> MakeLameEncoder(int kbps, int segmentFrames = LameSegmentFrames,
                                                          int highestHz = 0);
