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

// The table of the alignment, a row at a time within the band. A cell is kept only while a path through it can still
// end with `errors` errors (its errors so far plus the difference of the lengths left); the others are no part of
// any optimal alignment, so that leaving them out changes nothing but the time.
class AlignmentTable
{
public:
    AlignmentTable(const AlignedTexts& texts, Band band, qsizetype errors);
    // moves[i * width + k]: how cell (i, j = i + low + k) is best reached.
    std::vector<Step> moves;

private:
    // Stores the cost of cell k of the current row, or marks it unreachable when no optimal path goes through it.
    std::int64_t keep(qsizetype k, std::int64_t cost);
    void fillRow(qsizetype i);

    const AlignedTexts& m_texts;
    const qsizetype m_n, m_m;
    const Band m_band;
    const qsizetype m_errors;
    std::vector<std::int64_t> m_missingBefore;
    std::vector<std::uint8_t> m_copyStarts;
    // Costs of two rows, with a border of unreachable cells on each side: cost[k + 1] is diagonal low + k.
    std::vector<std::int64_t> m_previous, m_current;
    qsizetype m_first = 0, m_last = -1; // the cells kept in the current row
};

AlignmentTable::AlignmentTable(const AlignedTexts& texts, Band band, qsizetype errors)
    : moves(size_t((qsizetype(texts.sent.size()) + 1) * band.width), Step::Extra), m_texts(texts),
      m_n(qsizetype(texts.sent.size())), m_m(qsizetype(texts.copy.size())), m_band(band), m_errors(errors),
      m_missingBefore(size_t(m_m + 1), OneError), m_copyStarts(static_cast<size_t>(m_m)),
      m_previous(size_t(band.width + 2), Unreachable), m_current(size_t(band.width + 2), Unreachable)
{
    // What a step costs beside copied character j: a sent character missing before it while the copy goes on in
    // the same group; a pair with a group beginning on one side only.
    for (qsizetype j = 0; j < m_m; ++j) {
        m_copyStarts[size_t(j)] = texts.copyGroupStarts[size_t(j)];
        m_missingBefore[size_t(j)] += j > 0 && !m_copyStarts[size_t(j)];
    }
    m_first = band.width;
    for (qsizetype k = std::max<qsizetype>(0, -band.low); k < band.width && band.low + k <= m_m; ++k)
        keep(k, (band.low + k) * OneError);
    for (qsizetype i = 1; i <= m_n; ++i)
        fillRow(i);
}

std::int64_t AlignmentTable::keep(qsizetype k, std::int64_t cost)
{
    const qsizetype left = std::abs(m_band.low + k - (m_m - m_n)); // the lengths still to cover differ by this
    if ((cost >> 32) + left > m_errors) {
        cost = Unreachable;
    } else {
        m_last = std::max(m_last, k);
        m_first = std::min(m_first, k);
    }
    m_current[size_t(k + 1)] = cost;
    return cost;
}

void AlignmentTable::fillRow(qsizetype i)
{
    const qsizetype low = m_band.low;
    std::swap(m_previous, m_current);
    std::fill(m_current.begin(), m_current.end(), Unreachable);
    // From the cells kept in the row above: a missing character moves one diagonal down, extra ones move up.
    qsizetype k = std::max({qsizetype(0), -(i + low), m_first - 1});
    const qsizetype above = m_last, last = std::min(m_band.width - 1, m_m - (i + low));
    m_first = m_band.width;
    m_last = -1;
    Step* rowMoves = &moves[size_t(i * m_band.width)];
    const char32_t sent = m_texts.sent[size_t(i - 1)];
    const std::uint8_t sentStart = m_texts.sentGroupStarts[size_t(i - 1)];
    // An extra character inside a sent group.
    const std::int64_t extraCost = OneError + (i < m_n && !m_texts.sentGroupStarts[size_t(i)]);
    std::int64_t left = Unreachable; // the cell before, kept out of memory
    if (i + low + k == 0) {          // the first column: only a missing character
        left = keep(k, m_previous[size_t(k + 2)] + OneError);
        rowMoves[k++] = Step::Missing;
    }
    for (; k <= last && (k <= above || left != Unreachable); ++k) {
        const size_t j = size_t(i + low + k);
        const std::int64_t missing = m_previous[size_t(k + 2)] + m_missingBefore[j];
        const std::int64_t pair = m_previous[size_t(k + 1)] + (sent == m_texts.copy[j - 1] ? 0 : OneError) +
                                  (sentStart != m_copyStarts[j - 1]);
        const std::int64_t extra = left + extraCost;
        // Ties: a pair before a missing character before an extra one.
        std::int64_t best = pair;
        Step move = Step::Pair;
        move = missing < best ? Step::Missing : move;
        best = std::min(best, missing);
        move = extra < best ? Step::Extra : move;
        best = std::min(best, extra);
        left = keep(k, best);
        rowMoves[k] = move;
    }
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
    return traceBack(AlignmentTable(texts, band, errors).moves, n, m, band);
}
