#include "games/RaceCalls.h"

#include "common/RandomSource.h"
#include "exercise/CallSign.h"
#include "signs/SignTable.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// The French series: "#" a figure, "@" a letter, each with its weight.
struct Series
{
    const char* pattern;
    int weight;
};
constexpr std::array<Series, 22> FrenchSeries{{
    {"F4@@@", 40}, {"F5@@@", 30}, {"F6@@@", 30}, {"F8@@@", 20}, {"F1@@@", 8}, {"F0@@@", 4}, {"F4@@", 2},  {"F5@@", 4},
    {"F6@@", 4},   {"F8@@", 2},   {"F2@@", 2},   {"F3@@", 2},   {"F9@@", 1},  {"TM#@", 2},  {"TM#@@", 2}, {"TK#@@", 2},
    {"FG#@@", 1},  {"FM#@@", 1},  {"FY#@@", 1},  {"FR#@@", 2},  {"FK#@@", 1}, {"FO#@@", 1},
}};

QString FillPattern(const char* pattern, RandomSource& random)
{
    QString call;
    for (const char* c = pattern; *c; ++c) {
        if (*c == '#')
            call += QChar(char16_t(u'0' + random.pickIndex(10)));
        else if (*c == '@')
            call += QChar(char16_t(u'A' + random.pickIndex(26)));
        else
            call += QLatin1Char(*c);
    }
    return call;
}

QString DrawFrenchCall(RandomSource& random)
{
    static const int total = std::accumulate(FrenchSeries.begin(), FrenchSeries.end(), 0,
                                             [](int sum, const Series& s) { return sum + s.weight; });
    int pick = int(random.pickIndex(total));
    const Series* chosen = &FrenchSeries.front();
    for (const Series& series : FrenchSeries) {
        chosen = &series;
        if (pick < series.weight)
            break;
        pick -= series.weight;
    }
    QString call = FillPattern(chosen->pattern, random);
    const qsizetype portable = random.pickIndex(15);
    if (portable == 0)
        call += u"/P"_s;
    else if (portable == 1)
        call += u"/M"_s;
    return call;
}

// Whether every character of `call` has a sign.
bool AllInTable(const QString& call, const SignTable& signs)
{
    for (const QChar c : call)
        if (!signs.FindSign(QString(c.toLower())))
            return false;
    return true;
}

QString CountedMessage(int count, const QString& one, const QString& several)
{
    return QString::number(count) + (count > 1 ? u"\u00A0lignes "_s + several : u"\u00A0ligne "_s + one);
}

// The French message that sums up a file read: what was left out and why.
QString ReadMessage(const QString& name, bool cut, int notCalls, int unknownSigns, int kept)
{
    QStringList parts;
    if (cut)
        parts << u"seul son premier mégaoctet a été lu"_s;
    if (notCalls > 0)
        parts << CountedMessage(notCalls, u"qui n'est pas un indicatif, laissée de côté"_s,
                                u"qui ne sont pas des indicatifs, laissées de côté"_s);
    if (unknownSigns > 0)
        parts << CountedMessage(unknownSigns, u"avec des caractères absents de la table des signes, laissée de côté"_s,
                                u"avec des caractères absents de la table des signes, laissées de côté"_s);
    if (kept == 0)
        parts << u"aucun indicatif utilisable, la course se fait avec des indicatifs tirés au hasard"_s;
    if (parts.isEmpty())
        return {};
    return u"Fichier «\u202F"_s + name + u"\u202F»\u202F: "_s + parts.join(u"\u202F; "_s) + u"."_s;
}

} // namespace

QString DrawRaceCall(RandomSource& random)
{
    return random.pickIndex(5) < 3 ? DrawFrenchCall(random) : indicatif(random);
}

bool LooksLikeCallSign(const QString& text)
{
    static const QRegularExpression form(u"^(?=[A-Z0-9/]{3,12}$)[A-Z0-9]+(/[A-Z0-9]+){0,2}$"_s);
    static const QRegularExpression core(u"[A-Z][0-9]|[0-9][A-Z]"_s);
    if (!form.match(text).hasMatch())
        return false;
    // The station's own part mixes letters and figures; the others are prefixes and indicators.
    const QStringList parts = text.split(u'/');
    return std::any_of(parts.begin(), parts.end(), [](const QString& part) { return core.match(part).hasMatch(); });
}

CallSignFile ReadCallSignFile(const QString& path, const SignTable& signs)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{},
                u"Le fichier d'indicatifs «\u202F"_s + name +
                    u"\u202F» ne peut pas être lu. La course se fait avec des indicatifs tirés au hasard."_s};
    const QByteArray bytes = file.read(MaxCallFileBytes);
    const bool cut = !file.atEnd();
    if (bytes.contains('\0'))
        return {{},
                u"Le fichier d'indicatifs «\u202F"_s + name +
                    u"\u202F» n'est pas un fichier texte. La course se fait avec des indicatifs tirés au hasard."_s};
    CallSignFile read;
    int notCalls = 0;
    int unknownSigns = 0;
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (cut)
        lines.removeLast(); // the last line read may be cut in the middle
    for (const QString& line : lines) {
        const QString call = line.trimmed().toUpper();
        if (call.isEmpty())
            continue;
        if (!LooksLikeCallSign(call))
            ++notCalls;
        else if (!AllInTable(call, signs))
            ++unknownSigns;
        else
            read.calls << call;
    }
    read.message = ReadMessage(name, cut, notCalls, unknownSigns, int(read.calls.size()));
    return read;
}
