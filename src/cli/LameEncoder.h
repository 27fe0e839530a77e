#pragma once

#include "common/Result.h"
#include "sound/SoundFileEncoder.h"

#include <memory>

// MP3 at `kbps` kbit/s constant, mono at 8000 Hz, through LAME, with the header that tells players the exact length.
Result<std::unique_ptr<SoundFileEncoder>> MakeLameEncoder(int kbps);
