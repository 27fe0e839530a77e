#include "platform/SettingsFile.h"

#include <string_view>

namespace {

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// The text after "=" of the last line `key` of `section` in a settings file, split into lines as QSettings
// splits them: a ";" outside quotes starts a comment, a line break inside quotes or after a backslash does not end
// the line.
std::optional<QByteArray> rawValue(const QByteArray& data, const QByteArray& section, const QByteArray& key)
{
    std::optional<QByteArray> value;
    QByteArray current;
    const qsizetype n = data.size();
    qsizetype pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (true) {
        while (pos < n && (data[pos] == ' ' || data[pos] == '\t' || isLineBreak(data[pos])))
            ++pos;
        if (pos >= n)
            return value;
        if (data[pos] == ';') {
            while (pos < n && !isLineBreak(data[pos]))
                ++pos;
            continue;
        }
        const qsizetype start = pos;
        qsizetype equals = -1;
        bool quoted = false;
        for (; pos < n; ++pos) {
            const char c = data[pos];
            if (c == '\\') {
                ++pos; // the escaped character stays on the line, and CR LF or LF CR after the backslash too
                if (pos + 1 < n && isLineBreak(data[pos]) && isLineBreak(data[pos + 1]) && data[pos] != data[pos + 1])
                    ++pos;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == '=' && !quoted && equals < 0) {
                equals = pos;
            } else if ((isLineBreak(c) || c == ';') && !quoted) {
                break;
            }
        }
        const QByteArray line = data.mid(start, pos - start);
        if (line.startsWith('['))
            current = line.mid(1, line.indexOf(']') - 1).trimmed();
        else if (equals >= 0 && current == section && line.left(equals - start).trimmed() == key)
            value = line.mid(equals - start + 1);
    }
}

// The value of a hexadecimal digit, 16 for any other character.
int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 16;
}

// A typed value with its surrounding blanks removed, its quotes and backslash escapes undone as QSettings undoes
// them, and its commas kept.
QString unescapedValue(const QByteArray& raw)
{
    static constexpr std::string_view escapes = "a\ab\bf\fn\nr\rt\tv\v\"\"?\?''\\\\"; // letter, character
    const QByteArray text = raw.trimmed();
    QString result;
    QByteArray plain; // UTF-8 bytes not yet decoded
    auto flush = [&] {
        result += QString::fromUtf8(plain);
        plain.clear();
    };
    for (qsizetype i = 0; i < text.size();) {
        const char c = text[i++];
        if (c != '\\') {
            if (c != '"')
                plain += c;
            continue;
        }
        if (i == text.size())
            break;
        const char letter = text[i++];
        if (const auto e = escapes.find(letter); e != std::string_view::npos && e % 2 == 0) {
            plain += escapes[e + 1];
        } else if (letter == 'x' || (letter >= '0' && letter <= '7')) {
            // \x and hexadecimal digits, or octal digits: one UTF-16 code unit, the low 16 bits of however many
            // digits there are (unsigned, so that a long run of digits wraps around instead of overflowing).
            const unsigned base = letter == 'x' ? 16 : 8;
            unsigned code = letter == 'x' ? 0 : unsigned(letter - '0');
            int digits = letter == 'x' ? 0 : 1;
            for (int d = 0; i < text.size() && unsigned(d = digitValue(text[i])) < base; ++i, ++digits)
                code = code * base + unsigned(d);
            flush();
            if (digits > 0)
                result += QChar(char16_t(code));
        } else if (isLineBreak(letter) && i < text.size() && isLineBreak(text[i]) && text[i] != letter) {
            ++i; // a continued line; any other escaped character is dropped
        }
    }
    flush();
    return result;
}

} // namespace

std::optional<QString> TypedSettingsValue(const QByteArray& file, const QString& group, const QString& key)
{
    if (const auto raw = rawValue(file, group.toUtf8(), key.toUtf8()))
        return unescapedValue(*raw);
    return std::nullopt;
}
