#include "exercise/DisplayText.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <utility>

namespace {

constexpr QChar Paragraph = QChar::ParagraphSeparator;
constexpr QChar CR = u'\r';
constexpr QChar LF = u'\n';

// A line end of the text. The view's document also takes the two signs that mark its frames for paragraph
// separators, so they are shown as one.
bool isLineEnd(QChar c)
{
    return c == CR || c == LF || c == Paragraph || c == u'\uFDD0' || c == u'\uFDD1';
}

// White space a line may wrap at; the no-break spaces are not. No break opportunity ever comes right before one.
bool isBlank(QChar c)
{
    return c.isSpace() && c != u'\u00A0' && c != u'\u2007' && c != u'\u202F';
}

// Whether a joiner may follow the character that ends at `end`: not after white space, nor after a pictograph
// (two emoji may still part at the end of a line).
bool mayJoinAfter(QStringView text, qsizetype end)
{
    const QChar last = text[end - 1];
    if (isBlank(last))
        return false;
    const char32_t u = last.isLowSurrogate() && end >= 2 && text[end - 2].isHighSurrogate()
                           ? QChar::surrogateToUcs4(text[end - 2], last)
                           : last.unicode();
    return QChar::category(u) != QChar::Symbol_Other;
}

bool isCrLf(QStringView text, qsizetype i)
{
    return i >= 0 && text[i] == CR && i + 1 < text.size() && text[i + 1] == LF;
}

// A position in the text and the same position in a displayed form of it.
struct Place
{
    qsizetype text = 0;
    qsizetype shown = 0;
};

// Moves `at` over one character of the displayed form: a joiner the text lacks there stands for nothing, nor does
// a paragraph separator where the text has no line end (one that cuts a long paragraph into blocks); any other
// paragraph separator stands for a whole line end.
void stepForward(QStringView text, QStringView shown, Place& at)
{
    const QChar c = shown[at.shown++];
    if (at.text == text.size() || (c == DisplayJoiner && text[at.text] != DisplayJoiner) ||
        (c == Paragraph && !isLineEnd(text[at.text])))
        return;
    at.text += c == Paragraph && isCrLf(text, at.text) ? 2 : 1;
}

void stepBackward(QStringView text, QStringView shown, Place& at)
{
    const QChar c = shown[--at.shown];
    if (at.text == 0 || (c == DisplayJoiner && text[at.text - 1] != DisplayJoiner) ||
        (c == Paragraph && !isLineEnd(text[at.text - 1])))
        return;
    at.text -= c == Paragraph && isCrLf(text, at.text - 2) ? 2 : 1;
}

// Forward until the displayed position `until`.
Place forwardTo(QStringView text, QStringView shown, Place at, qsizetype until)
{
    until = std::min(until, shown.size());
    while (at.shown < until)
        stepForward(text, shown, at);
    return at;
}

// Forward until the position `until` of the text, and past the joiner of the character before it.
Place forwardToText(QStringView text, QStringView shown, Place at, qsizetype until)
{
    while (at.text < until && at.shown < shown.size())
        stepForward(text, shown, at);
    if (at.shown < shown.size() && shown[at.shown] == DisplayJoiner &&
        (at.text == text.size() || text[at.text] != DisplayJoiner))
        ++at.shown;
    return at;
}

// The span of the text around [from, to), out to the nearest white space on each side, both included: whether a
// line may break between two characters never depends on what lies beyond a blank.
std::pair<qsizetype, qsizetype> wordsAround(QStringView text, qsizetype from, qsizetype to)
{
    while (from > 0 && !isBlank(text[from - 1]))
        --from;
    if (from > 0)
        from -= isCrLf(text, from - 2) ? 2 : 1;
    while (to < text.size() && !isBlank(text[to]))
        ++to;
    if (to < text.size())
        to += isCrLf(text, to) ? 2 : 1;
    return {from, to};
}

qsizetype commonPrefix(QStringView a, QStringView b)
{
    return std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
}

qsizetype commonSuffix(QStringView a, QStringView b)
{
    return std::mismatch(a.rbegin(), a.rend(), b.rbegin(), b.rend()).first - a.rbegin();
}

// The length of the character that ends at `end`: 2 for both halves of one beyond 16 bits.
qsizetype lengthBefore(QStringView text, qsizetype end)
{
    return end >= 2 && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate() ? 2 : 1;
}

// Columns a character takes on a line of the view: none for a combining mark, none for the second half of a
// character beyond 16 bits, one for any other.
int columnsOf(QChar c)
{
    if (c.isLowSurrogate())
        return 0;
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing ? 0 : 1;
}

// Where the view's lines of a paragraph start, as its wrapping makes them (DisplayColumns to a line, a word taken
// to the next line when it does not fit, the blanks after a word left hanging at the end of its line, a word
// longer than a line cut where the line is full): every ChunkLines-th line start, for the paragraph [from, to).
QList<qsizetype> chunkStarts(QStringView text, qsizetype from, qsizetype to)
{
    QList<qsizetype> starts;
    qsizetype lines = 0;
    int column = 0;
    auto newLine = [&](qsizetype at) {
        column = 0;
        if (++lines % ChunkLines == 0)
            starts.append(at);
    };
    for (qsizetype i = from; i < to;) {
        if (isBlank(text[i])) {
            column += columnsOf(text[i++]);
            continue;
        }
        qsizetype end = i;
        int width = 0;
        while (end < to && !isBlank(text[end]))
            width += columnsOf(text[end++]);
        if (column > 0 && column + width > DisplayColumns)
            newLine(i);
        for (; i < end; ++i) {
            if (column == DisplayColumns && columnsOf(text[i]) > 0)
                newLine(i);
            column += columnsOf(text[i]);
        }
    }
    return starts;
}

} // namespace

QString DisplayForm(QStringView text)
{
    QString shown;
    shown.reserve(text.size() + text.size() / 16);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype next = breaks.toNextBoundary();
    QList<qsizetype> chunks;
    qsizetype chunk = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == 0 || isLineEnd(text[i - 1])) {
            // A paragraph of many lines is shown as blocks of ChunkLines lines, so that the view lays out each block
            // on its own: a text of megabytes on one line shows at once.
            qsizetype end = i;
            while (end < text.size() && !isLineEnd(text[end]))
                ++end;
            chunks = end - i > ChunkLines * DisplayColumns ? chunkStarts(text, i, end) : QList<qsizetype>();
            chunk = 0;
        }
        while (next >= 0 && next < i)
            next = breaks.toNextBoundary();
        if (next == i && i > 0 && mayJoinAfter(text, i))
            shown += DisplayJoiner;
        if (chunk < chunks.size() && chunks[chunk] == i) {
            shown += Paragraph;
            ++chunk;
        }
        if (isCrLf(text, i))
            ++i;
        shown += isLineEnd(text[i]) ? Paragraph : text[i];
    }
    return shown;
}

ViewEdit EditFromView(QStringView text, QStringView shown, QStringView now, qsizetype hint)
{
    const qsizetype common = commonPrefix(shown, now);
    const qsizetype prefix = hint >= 0 ? std::min(common, hint) : common;
    const qsizetype suffix = std::min(commonSuffix(shown, now), std::min(shown.size(), now.size()) - prefix);
    const Place start = forwardTo(text, shown, Place{}, prefix);
    const Place end = forwardTo(text, shown, start, shown.size() - suffix);

    ViewEdit edit{{start.text, end.text - start.text, QString()}, prefix, now.size() - suffix};
    // What the view holds unchanged before the edit is taken as the text it shows; only what is new is read from
    // the view.
    const qsizetype unchanged = std::min(common, edit.shownTo);
    edit.text.inserted = text.mid(start.text, forwardTo(text, shown, start, unchanged).text - start.text).toString();
    for (const QChar c : now.mid(unchanged, edit.shownTo - unchanged)) {
        if (c == Paragraph || c == QChar::LineSeparator)
            edit.text.inserted += u"\r\n";
        else if (c != DisplayJoiner)
            edit.text.inserted += c;
    }
    if (edit.text.removed == 0 && edit.text.inserted.isEmpty() && end.shown > start.shown && start.text > 0) {
        // Only a joiner went: Backspace takes one unit back, and right after "/" that is the joiner the user never
        // saw. The "/" is meant.
        const qsizetype n = lengthBefore(text, start.text);
        edit.text.from -= n;
        edit.text.removed = n;
        edit.shownFrom -= n;
    }
    return edit;
}

QList<TextChange> RedisplayChanges(QStringView text, QStringView now, const ViewEdit& edit)
{
    const qsizetype editEnd = edit.text.from + edit.text.inserted.size();
    const auto [from, to] = wordsAround(text, edit.text.from, editEnd);
    Place start{edit.text.from, edit.shownFrom};
    while (start.text > from && start.shown > 0)
        stepBackward(text, now, start);
    Place end{editEnd, edit.shownTo};
    while (end.text < to && end.shown < now.size())
        stepForward(text, now, end);
    if (end.text == text.size())
        end.shown = now.size();

    // The differences are joiners to add or take away, each where it belongs so that the caret stays put; anything
    // else (Shift+Enter's line separator, two line ends become one CR LF) is replaced as one piece.
    const QString wanted = DisplayForm(text.mid(start.text, end.text - start.text));
    const QStringView current = now.mid(start.shown, end.shown - start.shown);
    QList<TextChange> changes;
    qsizetype i = 0, j = 0;
    while (i < wanted.size() && j < current.size()) {
        if (wanted[i] == current[j]) {
            ++i, ++j;
        } else if (wanted[i] == DisplayJoiner) {
            changes.append({start.shown + j, 0, QString(DisplayJoiner)});
            ++i;
        } else if (current[j] == DisplayJoiner) {
            changes.append({start.shown + j, 1, QString()});
            ++j;
        } else {
            break;
        }
    }
    if (i < wanted.size() || j < current.size()) {
        const qsizetype same = commonSuffix(QStringView(wanted).mid(i), current.mid(j));
        changes.append({start.shown + j, current.size() - j - same, wanted.mid(i, wanted.size() - i - same)});
    }
    std::reverse(changes.begin(), changes.end());
    return changes;
}

TextChange ShownChange(QStringView text, QStringView shown, const TextChange& change, QStringView changed,
                       qsizetype& caret)
{
    const auto [from, to] = wordsAround(text, change.from, change.from + change.removed);
    const Place start = forwardToText(text, shown, Place{}, from);
    const Place end = forwardToText(text, shown, start, to);
    const QStringView words = changed.mid(from, to - from - change.removed + change.inserted.size());
    const QString wanted = DisplayForm(words);
    caret = start.shown + forwardToText(words, wanted, Place{}, change.from - from + change.inserted.size()).shown;
    return {start.shown, end.shown - start.shown, wanted};
}

QString TextOfShown(QStringView text, QStringView shown, qsizetype from, qsizetype to)
{
    const Place start = forwardTo(text, shown, Place{}, from);
    const Place end = forwardTo(text, shown, start, to);
    return text.mid(start.text, end.text - start.text).toString();
}
