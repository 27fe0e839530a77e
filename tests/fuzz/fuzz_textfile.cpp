// "Ouvrir": any bytes are read as a text whose lines come without their ends, or refused as not a text.
#include "exercise/TextTools.h"
#include "fuzz/FuzzCheck.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    QString text;
    const FileLines result = AppendFileLines(file, [&text](QStringView line) {
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        text += line;
    });
    if (result == FileLines::NotText)
        FUZZ_CHECK(text.isEmpty());
    return 0;
}
