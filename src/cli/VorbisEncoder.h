#pragma once

#include "common/Result.h"
#include "sound/SoundFileEncoder.h"

#include <memory>

// Ogg Vorbis, mono at 8000 Hz, its analysis shared between two threads: each runs its own encoder over the whole sound
// and works out one stretch of `segmentBlocks` blocks in two, and their packets make one stream. Both encoders cut the
// sound into the same blocks (that only depends on the samples), so that one's block overlaps the other's next as
// its own would.
inline constexpr int VorbisSegmentBlocks = 64;
Result<std::unique_ptr<SoundFileEncoder>> MakeVorbisEncoder(int segmentBlocks = VorbisSegmentBlocks);
