// The player's WAV reader: any bytes are refused with a reason, or give sample bytes inside the file.
#include "common/WavFormat.h"
#include "fuzz/FuzzCheck.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const Result<WavLayout> layout = ReadWavLayout(file);
    if (!layout) {
        FUZZ_CHECK(!layout.failure().isEmpty());
        return 0;
    }
    FUZZ_CHECK(layout->dataOffset >= 0 && layout->dataBytes >= 0);
    FUZZ_CHECK(layout->dataOffset + layout->dataBytes <= bytes.size());
    return 0;
}
