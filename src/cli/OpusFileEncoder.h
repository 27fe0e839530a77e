#pragma once

#include "common/Result.h"
#include "sound/SoundFileEncoder.h"

#include <memory>

// Ogg Opus at about `kbps` kbit/s (variable), mono at 8000 Hz, through libopus, its length exact to the sample.
Result<std::unique_ptr<SoundFileEncoder>> MakeOpusFileEncoder(int kbps);
