#include "exercise/TextTools.h"

#include "signs/Windows1252.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>

namespace {

QChar withoutAccent(QChar c)
{
    switch (c.unicode()) {
    case u'é':
    case u'è':
    case u'ê':
        return u'e';
    case u':':
    case u'!':
    case u'-':
    case u'(':
    case u')':
        return u' ';
    case u';':
        return u',';
    case u'à':
        return u'a';
    case u'ç':
        return u'c';
    case u'"':
        return u'\'';
    case u'î':
        return u'i';
    case u'ô':
        return u'o';
    case u'ù':
    case u'û':
        return u'u';
    default:
        return c;
    }
}

// The length of the character at `i`: 2 for the two halves of a character beyond 16 bits, otherwise 1.
qsizetype characterLength(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

} // namespace

QString ReverseText(QStringView text)
{
    QString reversed(text.size(), Qt::Uninitialized);
    QChar* out = reversed.data() + text.size();
    for (qsizetype i = 0, n = 1; i < text.size(); i += n) {
        n = characterLength(text, i);
        out -= n;
        std::copy_n(text.data() + i, n, out);
    }
    return reversed;
}

bool SpreadText(QStringView text, const TextSink& append, const CarryOn& carryOn)
{
    QChar piece[3];
    for (qsizetype i = 0, n = 1; i < text.size(); i += n) {
        if (carryOn && i % ProgressEvery == 0 && !carryOn(double(i) / double(text.size())))
            return false;
        n = characterLength(text, i);
        std::copy_n(text.data() + i, n, piece);
        piece[n] = u' ';
        append(QStringView(piece, n + 1));
    }
    return true;
}

QString RemoveAccents(QStringView text)
{
    QString s(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0, n = 1; i < text.size(); i += n) {
        n = characterLength(text, i);
        if (n == 1) {
            s[i] = withoutAccent(text[i].toLower());
        } else {
            // Lower-casing keeps a character beyond 16 bits beyond them, so the length still holds.
            const char32_t lower = QChar::toLower(QChar::surrogateToUcs4(text[i], text[i + 1]));
            s[i] = QChar::highSurrogate(lower);
            s[i + 1] = QChar::lowSurrogate(lower);
        }
    }
    return s;
}

FileLines AppendFileLines(QIODevice& file, const TextSink& append)
{
    // The whole file first: whether it is UTF-8 can only be told from all of its bytes.
    QByteArray bytes;
    bool readError = false;
    char buffer[65536];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0)
            readError = true;
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    const bool wide = IsWideText(bytes);
    if (!wide && bytes.contains('\0'))
        return FileLines::NotText;
    // Only the lines read to their end count. Cutting single-byte text as bytes also keeps a character whose bytes
    // were split by the failure from making a UTF-8 file look like Windows-1252.
    if (readError && !wide)
        bytes.truncate(std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1);
    QString text = DecodeTextFile(bytes);
    if (readError && wide)
        text.truncate(std::max(text.lastIndexOf(u'\n'), text.lastIndexOf(u'\r')) + 1);

    const QStringView all(text);
    const qsizetype n = all.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && all[end] != u'\r' && all[end] != u'\n')
            ++end;
        append(all.mid(start, end - start));
        if (end + 1 < n && all[end] == u'\r' && all[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return readError ? FileLines::ReadFailed : FileLines::Read;
}

void AppendSpeedCheck(double wpm, QStringView word, const TextSink& append)
{
    const qsizetype words = RepeatCount(wpm);
    for (qsizetype i = 1; i <= words; ++i) {
        append(word);
        if (wpm != static_cast<double>(i))
            append(u" ");
    }
}
