// tonique-wav's command line: any arguments (NUL-separated in the input) are taken or refused with a French message.
#include "cli/WavCommandLine.h"
#include "fuzz/FuzzCheck.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList arguments;
    for (const QByteArray& piece : bytes.split('\0'))
        arguments << QString::fromUtf8(piece);
    WavCommandLine options;
    if (const Failure failed = ParseWavCommandLine(arguments, options)) {
        FUZZ_CHECK(!failed->isEmpty());
        return 0;
    }
    FUZZ_CHECK(options.help || !options.textFile.isEmpty());
    for (const auto& number :
         {options.wpm, options.espa, options.espb, options.espc, options.dash, options.supl, options.dotMs})
        FUZZ_CHECK(!number || std::isfinite(*number));
    if (options.toneHz)
        FUZZ_CHECK(*options.toneHz >= 300 && *options.toneHz <= 2000);
    return 0;
}
