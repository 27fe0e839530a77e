// The settings file typed by hand: any bytes give, for every parameter, its text or nothing, and the frequency and
// volume rules either take that text within their ranges or refuse it with a message.
#include "fuzz/FuzzCheck.h"
#include "parameters/Parameters.h"
#include "platform/SettingsFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString group = QStringLiteral("param");
    for (const char* key : {"tona", "vol", "ponctu", "mn"}) {
        const auto typed = TypedSettingsValue(bytes, group, QString::fromLatin1(key));
        const QString text = typed.value_or(QString());
        if (const Result<int> tone = Parameters::ToneFromStored(text))
            FUZZ_CHECK(*tone >= Parameters::ToneMin && *tone <= Parameters::ToneMax);
        else
            FUZZ_CHECK(!tone.failure().isEmpty());
        if (const Result<int> volume = Parameters::VolumeFromStored(text))
            FUZZ_CHECK(*volume >= Parameters::VolumeMin && *volume <= Parameters::VolumeMax);
    }
    return 0;
}
