#include "marking/EditDistance.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace {

using Word = std::uint64_t;
constexpr int WordBits = 64;

// One column step of a block of 64 rows: `hin` is the change along the row above the block (-1, 0 or +1), the
// result the change along the block's row `outRow`.
int advanceBlock(Word& pv, Word& mv, Word eq, int hin, Word outRow)
{
    const Word hinNegative = hin < 0 ? 1 : 0;
    const Word xv = eq | mv;
    eq |= hinNegative;
    const Word xh = (((eq & pv) + pv) ^ pv) | eq;
    Word ph = mv | ~(xh | pv);
    Word mh = pv & xh;
    const int hout = (ph & outRow) ? 1 : ((mh & outRow) ? -1 : 0);
    ph = (ph << 1) | (hin > 0 ? 1 : 0);
    mh = (mh << 1) | hinNegative;
    pv = mh | ~(xv | ph);
    mv = ph & xv;
    return hout;
}

Characters withoutSpaces(QStringView text)
{
    Characters characters;
    for (const char32_t c : text.toUcs4()) {
        if (!QChar::isSpace(c))
            characters.push_back(c);
    }
    return characters;
}

// Floor and ceiling of a / 2 for any sign of a.
qsizetype floorHalf(qsizetype a)
{
    return a >= 0 ? a / 2 : -((-a + 1) / 2);
}
qsizetype ceilHalf(qsizetype a)
{
    return -floorHalf(-a);
}

// A cell's cost: the errors first, the misplaced group beginnings second.
constexpr std::int64_t OneError = std::int64_t(1) << 32;
constexpr std::int64_t Unreachable = INT64_MAX / 4;

} // namespace

qsizetype ErrorCount(const Characters& a, const Characters& b)
{
    // The shorter text runs down the rows, 64 at a time; the longer one along the columns.
    const Characters& pattern = a.size() <= b.size() ? a : b;
    const Characters& text = a.size() <= b.size() ? b : a;
    const qsizetype rows = qsizetype(pattern.size());
    if (rows == 0)
        return qsizetype(text.size());

    // Each character of the pattern gets a number from 1; the others share 0, whose rows match nothing.
    std::unordered_map<char32_t, qsizetype> number;
    for (const char32_t c : pattern)
        number.try_emplace(c, qsizetype(number.size()) + 1);
    const qsizetype blocks = (rows + WordBits - 1) / WordBits;
    std::vector<Word> matches(size_t((number.size() + 1) * blocks), 0);
    for (qsizetype i = 0; i < rows; ++i)
        matches[size_t(number[pattern[size_t(i)]] * blocks + i / WordBits)] |= Word(1) << (i % WordBits);

    std::vector<Word> pv(size_t(blocks), ~Word(0)), mv(size_t(blocks), 0);
    const Word lastRow = Word(1) << ((rows - 1) % WordBits);
    const Word topRow = Word(1) << (WordBits - 1);
    qsizetype score = rows;
    for (const char32_t c : text) {
        const auto found = number.find(c);
        const Word* eq = &matches[size_t((found == number.end() ? 0 : found->second) * blocks)];
        int h = 1; // the first row grows by one at each column
        for (qsizetype block = 0; block < blocks; ++block)
            h = advanceBlock(pv[size_t(block)], mv[size_t(block)], eq[block], h,
                             block + 1 == blocks ? lastRow : topRow);
        score += h;
    }
    return score;
}

qsizetype PlainErrorCount(const Characters& a, const Characters& b)
{
    std::vector<qsizetype> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = qsizetype(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = qsizetype(i);
        for (size_t j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool ErrorCountMatchesReference(QStringView a, QStringView b)
{
    const Characters first = withoutSpaces(a), second = withoutSpaces(b);
    return ErrorCount(first, second) == PlainErrorCount(first, second);
}

namespace {

// The diagonals d = j - i of the table that an alignment goes through: low to low + width - 1.
struct Band
{
    qsizetype low = 0, width = 0;
};

// moves[i * width + k]: how cell (i, j = i + low + k) of the table is best reached.
std::vector<Step> bestMoves(const AlignedTexts& texts, Band band)
{
    const Characters& c = texts.copy;
    const qsizetype n = qsizetype(texts.sent.size()), m = qsizetype(c.size());
    const qsizetype low = band.low, width = band.width;
    // What a step costs beside copied character j: a sent character missing before it while the copy goes on in
    // the same group; a pair with a group beginning on one side only.
    std::vector<std::int64_t> missingBefore(size_t(m + 1), OneError);
    std::vector<std::uint8_t> copyStarts(static_cast<size_t>(m));
    for (qsizetype j = 0; j < m; ++j) {
        copyStarts[size_t(j)] = texts.copyGroupStarts[size_t(j)];
        missingBefore[size_t(j)] += j > 0 && !copyStarts[size_t(j)];
    }

    // Costs of two rows, with a border of unreachable cells on each side: cost[k + 1] is diagonal low + k.
    std::vector<Step> moves(size_t((n + 1) * width), Step::Extra);
    std::vector<std::int64_t> previous(size_t(width + 2), Unreachable), current(size_t(width + 2), Unreachable);
    for (qsizetype k = 0; k < width; ++k) {
        const qsizetype j = low + k;
        if (j >= 0 && j <= m)
            previous[size_t(k + 1)] = j * OneError;
    }
    for (qsizetype i = 1; i <= n; ++i) {
        qsizetype k = std::max<qsizetype>(0, -(i + low));
        const qsizetype last = std::min(width - 1, m - (i + low));
        std::fill(current.begin(), current.end(), Unreachable);
        Step* rowMoves = &moves[size_t(i * width)];
        const char32_t sent = texts.sent[size_t(i - 1)];
        const std::uint8_t sentStart = texts.sentGroupStarts[size_t(i - 1)];
        // An extra character inside a sent group.
        const std::int64_t extraCost = OneError + (i < n && !texts.sentGroupStarts[size_t(i)]);
        if (i + low + k == 0) { // the first column: only a missing character
            current[size_t(k + 1)] = previous[size_t(k + 2)] + OneError;
            rowMoves[k++] = Step::Missing;
        }
        for (; k <= last; ++k) {
            const size_t j = size_t(i + low + k);
            const std::int64_t missing = previous[size_t(k + 2)] + missingBefore[j];
            const std::int64_t pair =
                previous[size_t(k + 1)] + (sent == c[j - 1] ? 0 : OneError) + (sentStart != copyStarts[j - 1]);
            const std::int64_t extra = current[size_t(k)] + extraCost;
            // Ties: a pair before a missing character before an extra one.
            std::int64_t best = pair;
            Step move = Step::Pair;
            move = missing < best ? Step::Missing : move;
            best = std::min(best, missing);
            move = extra < best ? Step::Extra : move;
            best = std::min(best, extra);
            current[size_t(k + 1)] = best;
            rowMoves[k] = move;
        }
        std::swap(previous, current);
    }
    return moves;
}

// The steps from the table's first cell to its last, (0, 0) to (n, m).
std::vector<Step> traceBack(const std::vector<Step>& moves, qsizetype n, qsizetype m, Band band)
{
    std::vector<Step> steps;
    steps.reserve(size_t(n + m));
    for (qsizetype i = n, k = m - n - band.low; i > 0 || i + band.low + k > 0;) {
        const Step step = moves[size_t(i * band.width + k)];
        steps.push_back(step);
        if (step != Step::Extra)
            --i;
        k += step == Step::Missing ? 1 : (step == Step::Extra ? -1 : 0);
    }
    std::reverse(steps.begin(), steps.end());
    return steps;
}

} // namespace

std::optional<std::vector<Step>> AlignTexts(const AlignedTexts& texts, qsizetype errors, qsizetype maxCells)
{
    const qsizetype n = qsizetype(texts.sent.size()), m = qsizetype(texts.copy.size());
    // A path through diagonal d = j - i takes at least |d| + |d - (m - n)| insertions and deletions: a path with
    // `errors` errors stays between these diagonals.
    const qsizetype low = ceilHalf(m - n - errors), high = floorHalf(m - n + errors);
    const Band band{low, high - low + 1};
    if (band.width <= 0 || (n + 1) > maxCells / band.width)
        return std::nullopt;
    return traceBack(bestMoves(texts, band), n, m, band);
}
