// Marking a copy: any two texts (the input cut at its first zero byte) are marked, and the fast count agrees with
// the plain table. When the groups are shown they hold exactly the sent text over the copied one, with exactly N
// marks that are not right.
#include "fuzz/FuzzCheck.h"
#include "marking/CopyMarking.h"
#include "marking/EditDistance.h"

#include <QString>

#include <cstdint>

namespace {

void CheckGroups(const MarkedCopy& marked, const QString& sent, const QString& copy)
{
    QString sentSide, copiedSide;
    qsizetype marks = 0;
    for (const MarkedGroup& group : marked.groups)
        for (const MarkedCharacter& c : group) {
            sentSide += c.sent;
            copiedSide += c.copied;
            FUZZ_CHECK((c.mark == Mark::Missing) == c.copied.isEmpty());
            FUZZ_CHECK((c.mark == Mark::Extra) == c.sent.isEmpty());
            FUZZ_CHECK((c.mark == Mark::Right) == (c.sent == c.copied));
            marks += c.mark == Mark::Right ? 0 : 1;
        }
    FUZZ_CHECK(marks == marked.errors);
    FUZZ_CHECK(sentSide == QString(NormalisedForMarking(sent)).remove(u' '));
    FUZZ_CHECK(copiedSide == QString(NormalisedForMarking(copy)).remove(u' '));
    qsizetype tallied = 0, wrong = 0;
    for (const CharacterTally& tally : marked.tallies) {
        tallied += tally.sent;
        wrong += tally.wrong;
        FUZZ_CHECK(tally.wrong >= 0 && tally.wrong <= tally.sent);
    }
    FUZZ_CHECK(tallied == marked.characters && wrong <= marked.errors);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = bytes.indexOf('\0');
    const QString sent = QString::fromUtf8(cut < 0 ? bytes : bytes.left(cut));
    const QString copy = cut < 0 ? QString() : QString::fromUtf8(bytes.mid(cut + 1));
    FUZZ_CHECK(ErrorCountMatchesReference(sent, copy));

    const Result<MarkedCopy> result = MarkCopy(sent, copy, PassMark{});
    if (!result)
        return 0;
    const MarkedCopy& marked = *result;
    FUZZ_CHECK(marked.characters == MarkedLength(sent));
    FUZZ_CHECK(marked.errors >= 0 && marked.errors <= std::max(marked.characters, MarkedLength(copy)));
    FUZZ_CHECK(marked.accuracyTenths >= 0 && marked.accuracyTenths <= 1000);
    FUZZ_CHECK((marked.verdict == Verdict::Nothing) == (marked.characters == 0));
    if (marked.detailed && marked.characters > 0)
        CheckGroups(marked, sent, copy);
    return 0;
}
