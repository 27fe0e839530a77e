// The sign file: any bytes give lines, a table whose lookups stay inside it, and hints, without failing.
#include "fuzz/FuzzCheck.h"
#include "signs/SignTable.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = SplitSignFileLines(bytes);
    FUZZ_CHECK(lines.size() <= bytes.size() + 1);
    const SignTable table = SignTable::fromLines(lines);
    for (int j = 1; j <= SignTable::Capacity; ++j) {
        const SignEntry& entry = table.entry(j);
        FUZZ_CHECK(entry.character.size() <= 1 && entry.pattern.size() <= 10);
        if (const auto found = table.FindSign(entry.character))
            FUZZ_CHECK(*found >= 1 && *found <= j && table.entry(*found).character == entry.character);
    }
    SignFileFormHints(QStringLiteral("telkey.ref"), bytes);
    return 0;
}
