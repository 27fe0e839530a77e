#include "drill/Statistics.h"

#include "common/Numbers.h"
#include "signs/Windows1252.h"

#include <algorithm>
#include <array>

QStringList CharacterStatistics(QStringView text)
{
    // One pass over the text, one counter per code of the page.
    std::array<qint64, 256> counts{};
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            // A character beyond the 16-bit plane is one character, missing from the page.
            ++i;
            ++counts['?'];
            continue;
        }
        ++counts[Windows1252Code(c)];
    }

    QStringList items;
    for (int code = 1; code < 256; ++code) {
        if (counts[size_t(code)] != 0) {
            const QString character = FromWindows1252(QByteArray(1, static_cast<char>(code)));
            items << ZeroPadded(counts[size_t(code)], 3) + u'=' + character;
        }
    }
    // Every item holds a different character, so the order is total.
    std::sort(items.begin(), items.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseSensitive) < 0; });
    return items;
}
