#include "signs/Windows1252.h"

#include <QStringDecoder>

#include <array>
#include <optional>

namespace {

// 0x80 to 0x9F; 0 marks the five codes the page leaves undefined (read as the C1 control of the same value).
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// UTF-16 or UTF-32 when the bytes begin with their byte-order mark.
std::optional<QStringConverter::Encoding> wideEncoding(const QByteArray& bytes)
{
    const auto marked = QStringConverter::encodingForData(bytes);
    if (marked == QStringConverter::Utf8)
        return std::nullopt;
    return marked;
}

} // namespace

QString FromWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        char16_t c = u;
        if (u >= 0x80 && u <= 0x9F && kHigh[u - 0x80] != 0)
            c = kHigh[u - 0x80];
        *out++ = QChar(c);
    }
    return text;
}

unsigned char Windows1252Code(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i))
            return static_cast<unsigned char>(0x80 + i);
    }
    return '?';
}

QByteArray ToWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text)
        *out++ = static_cast<char>(Windows1252Code(c));
    return bytes;
}

bool IsWideText(const QByteArray& bytes)
{
    return wideEncoding(bytes).has_value();
}

QString DecodeTextFile(const QByteArray& bytes)
{
    if (const auto wide = wideEncoding(bytes))
        return QStringDecoder(*wide).decode(bytes); // the mark is dropped
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return FromWindows1252(bytes);
}
