#pragma once

#include "common/Result.h"
#include "common/WavFormat.h"

class QFile;
class QString;

// Opens the file at `path` into `file` and reads where its samples are; on failure the file is closed and the
// French reason names it.
Result<WavLayout> OpenPlayableWav(QFile& file, const QString& path);
