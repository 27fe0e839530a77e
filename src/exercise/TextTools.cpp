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

} // namespace

QString ReverseText(QStringView text)
{
    QString reversed(text.size(), Qt::Uninitialized);
    QChar* out = reversed.data() + text.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out -= 2;
            out[0] = text[i];
            out[1] = text[i + 1];
            ++i;
        } else {
            *--out = text[i];
        }
    }
    return reversed;
}

void SpreadText(QStringView text, const TextSink& append)
{
    QChar pair[2] = {u' ', u' '};
    for (const QChar c : text) {
        pair[0] = c;
        append(QStringView(pair, 2));
    }
}

QString RemoveAccents(QStringView text)
{
    QString s(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        s[i] = withoutAccent(text[i].toLower());
    return s;
}

bool AppendFileLines(QIODevice& file, const TextSink& append)
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
    if (bytes.contains('\0'))
        return false;
    if (readError) {
        // Only the lines read to their end count; cutting the bytes there also keeps a character whose bytes
        // were split by the failure from making a UTF-8 file look like Windows-1252.
        const qsizetype lastEnd = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        bytes.truncate(lastEnd + 1);
    }

    const QString text = DecodeTextFile(bytes);
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
    return !readError;
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
