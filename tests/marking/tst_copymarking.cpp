#include "TestMain.h"
#include "marking/CopyMarking.h"
#include "marking/EditDistance.h"
#include "marking/MarkingReport.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Characters characters(const QString& text)
{
    Characters c;
    for (const char32_t code : QStringView(text).toUcs4())
        c.push_back(code);
    return c;
}

QString randomText(QRandomGenerator& random, const QString& alphabet, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

// The groups as "sent/copy": "_" for a missing character, "·" over an extra one, a wrong one in upper case.
QString layout(const MarkedCopy& marked)
{
    QStringList groups;
    for (const MarkedGroup& group : marked.groups) {
        QString sent, copy;
        for (const MarkedCharacter& c : group) {
            sent += c.mark == Mark::Extra ? u"·"_s : c.sent;
            copy += c.mark == Mark::Missing ? u"_"_s : (c.mark == Mark::Right ? c.copied : c.copied.toUpper());
        }
        groups << sent + u'/' + copy;
    }
    return groups.join(u' ');
}

// Grouped text: characters without spaces and which of them begin a group.
struct Grouped
{
    Characters characters;
    std::vector<bool> starts;
};

Grouped randomGroups(QRandomGenerator& random, int groups)
{
    Grouped g;
    for (int group = 0; group < groups; ++group) {
        for (int i = 0, size = random.bounded(1, 7); i < size; ++i) {
            g.characters.push_back(U"abc"[random.bounded(3)]);
            g.starts.push_back(i == 0);
        }
    }
    return g;
}

// `text` with a few characters changed, dropped or added, and group beginnings moved.
Grouped edited(QRandomGenerator& random, Grouped text)
{
    for (int edits = random.bounded(0, 6); edits > 0 && !text.characters.empty(); --edits) {
        const size_t at = size_t(random.bounded(int(text.characters.size())));
        switch (random.bounded(4)) {
        case 0:
            text.characters[at] = U"abcd"[random.bounded(4)];
            break;
        case 1:
            text.characters.erase(text.characters.begin() + qsizetype(at));
            text.starts.erase(text.starts.begin() + qsizetype(at));
            break;
        case 2:
            text.characters.insert(text.characters.begin() + qsizetype(at), U'd');
            text.starts.insert(text.starts.begin() + qsizetype(at), false);
            break;
        default:
            text.starts[at] = !text.starts[at];
        }
    }
    if (!text.starts.empty())
        text.starts[0] = true;
    return text;
}

// The alignment by the whole table, without band or left-out cells: same costs, same order of ties.
std::vector<Step> plainAlignment(const Grouped& sent, const Grouped& copy)
{
    const Characters &s = sent.characters, &c = copy.characters;
    const size_t n = s.size(), m = c.size();
    const qint64 error = qint64(1) << 32;
    std::vector<std::vector<qint64>> cost(n + 1, std::vector<qint64>(m + 1));
    std::vector<std::vector<Step>> move(n + 1, std::vector<Step>(m + 1, Step::Extra));
    for (size_t i = 0; i <= n; ++i) {
        for (size_t j = 0; j <= m; ++j) {
            if (i == 0 || j == 0) {
                cost[i][j] = qint64(i + j) * error;
                move[i][j] = i == 0 ? Step::Extra : Step::Missing;
                continue;
            }
            const qint64 pair =
                cost[i - 1][j - 1] + (s[i - 1] == c[j - 1] ? 0 : error) + (sent.starts[i - 1] != copy.starts[j - 1]);
            const qint64 missing = cost[i - 1][j] + error + (j < m && !copy.starts[j]);
            const qint64 extra = cost[i][j - 1] + error + (i < n && !sent.starts[i]);
            cost[i][j] = std::min({pair, missing, extra});
            move[i][j] = pair == cost[i][j] ? Step::Pair : (missing == cost[i][j] ? Step::Missing : Step::Extra);
        }
    }
    std::vector<Step> steps;
    for (size_t i = n, j = m; i > 0 || j > 0;) {
        const Step step = move[i][j];
        steps.push_back(step);
        i -= step != Step::Extra;
        j -= step != Step::Missing;
    }
    std::reverse(steps.begin(), steps.end());
    return steps;
}

// The pieces of `text`: each (kind, words) found in turn after the previous one.
TextFields fieldsOf(const QString& text, const QList<std::pair<FieldKind, QString>>& pieces)
{
    TextFields fields;
    qsizetype from = 0;
    for (const auto& [kind, words] : pieces) {
        const qsizetype at = text.indexOf(words, from);
        fields.append({kind, at, words.size(), {}});
        from = at + words.size();
    }
    return fields;
}

// A contact with one piece of each kind; the weather is two words, split over two lines.
const QString Contact = u"F5XYZ DE F6ABC BJR OM UR RST 579 OP JEAN QTH LYON PWR 100W RIG FT817 WX BEAU\n20C 73 SK"_s;
const QList<std::pair<FieldKind, QString>> ContactPieces{
    {FieldKind::CallSign, u"F5XYZ"_s},  {FieldKind::CallSign, u"F6ABC"_s},   {FieldKind::Report, u"579"_s},
    {FieldKind::Name, u"JEAN"_s},       {FieldKind::Qth, u"LYON"_s},         {FieldKind::Power, u"100W"_s},
    {FieldKind::Equipment, u"FT817"_s}, {FieldKind::Weather, u"BEAU\n20C"_s}};

} // namespace

class TestCopyMarking : public QObject
{
    Q_OBJECT

private slots:
    void rule_data()
    {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("copy");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("verdict");
        const int nothing = int(Verdict::Nothing), received = int(Verdict::Received), refused = int(Verdict::Refused);
        QTest::newRow("spacing is free") << "abcde fghij"
                                         << "abc defghij"
                                         << "0 erreur sur 10 caractères (100,0\u202F%) — Reçu" << received;
        QTest::newRow("any white space, any case")
            << "ABCDE\tfghij\r\n"
            << u" abcde\u00a0\u00a0FGHIJ\n"_s << "0 erreur sur 10 caractères (100,0\u202F%) — Reçu" << received;
        QTest::newRow("missing group costs its characters")
            << "abcde fghij klmno"
            << "abcde klmno"
            << "5 erreurs sur 15 caractères (66,7\u202F%) — Refusé" << refused;
        QTest::newRow("an extra character costs 1") << "abcde fghij klmno pqrst"
                                                    << "abcdex fghij klmno pqrst"
                                                    << "1 erreur sur 20 caractères (95,0\u202F%) — Reçu" << received;
        QTest::newRow("substitutions") << "abcde fghij"
                                       << "abxde fghiy"
                                       << "2 erreurs sur 10 caractères (80,0\u202F%) — Refusé" << refused;
        QTest::newRow("all wrong") << "abcde"
                                   << "vwxyz"
                                   << "5 erreurs sur 5 caractères (0,0\u202F%) — Refusé" << refused;
        QTest::newRow("more errors than sent") << "ab"
                                               << "ab cdefgh"
                                               << "6 erreurs sur 2 caractères (0,0\u202F%) — Refusé" << refused;
        QTest::newRow("empty copy: all missing") << "abcde fghij"
                                                 << " \n "
                                                 << "10 erreurs sur 10 caractères (0,0\u202F%) — Refusé" << refused;
        QTest::newRow("nothing sent") << " "
                                      << "abc"
                                      << "Rien à corriger" << nothing;
        QTest::newRow("accents are characters")
            << u"ÉLÈVE"_s << u"élevé"_s << "2 erreurs sur 5 caractères (60,0\u202F%) — Refusé" << refused;
        QTest::newRow("a character beyond 16 bits is one")
            << u"a\U0001F600b"_s << "ab"
            << "1 erreur sur 3 caractères (66,7\u202F%) — Refusé" << refused;
        // A capital whose lower case is two characters in full (the dotted capital I) stays one character.
        QTest::newRow("a capital stays one character in lower case")
            << u"\u0130STANBUL"_s << u"istanbul"_s << "0 erreur sur 8 caractères (100,0\u202F%) — Reçu" << received;
    }
    void rule()
    {
        QFETCH(QString, sent);
        QFETCH(QString, copy);
        QFETCH(QString, summary);
        QFETCH(int, verdict);
        const Result<MarkedCopy> marked = MarkCopy(sent, copy, PassMark{});
        QVERIFY(marked.ok());
        QCOMPARE(SummaryText(*marked), summary);
        QCOMPARE(int(marked->verdict), verdict);
    }

    // N ≤ ⌊M × admis / 100⌋ receives; the pass mark is read with either decimal sign.
    void verdictBoundary_data()
    {
        QTest::addColumn<int>("sent");
        QTest::addColumn<QString>("admis");
        QTest::addColumn<int>("errors");
        QTest::addColumn<bool>("received");
        QTest::newRow("200 at 5 %, 10 errors") << 200 << "5" << 10 << true;
        QTest::newRow("200 at 5 %, 11 errors") << 200 << "5" << 11 << false;
        QTest::newRow("199 at 5 %: 9 admitted") << 199 << "5" << 10 << false;
        QTest::newRow("40 at 2,5 %: 1 admitted") << 40 << "2,5" << 1 << true;
        QTest::newRow("40 at 2.49 %: none") << 40 << "2.49" << 1 << false;
        QTest::newRow("0 %, one error") << 50 << "0" << 1 << false;
        QTest::newRow("100 %, all wrong") << 50 << "100" << 50 << true;
    }
    void verdictBoundary()
    {
        QFETCH(int, sent);
        QFETCH(QString, admis);
        QFETCH(int, errors);
        QFETCH(bool, received);
        QString sentText, copyText;
        for (int i = 0; i < sent; ++i) {
            sentText += (i % 5 == 0 && i > 0 ? u" a"_s : u"a"_s);
            copyText += (i < errors ? u"b"_s : u"a"_s);
        }
        const Result<PassMark> pass = ParsePassMark(admis);
        QVERIFY(pass.ok());
        const Result<MarkedCopy> marked = MarkCopy(sentText, copyText, *pass);
        QCOMPARE(marked->errors, errors);
        QCOMPARE(marked->verdict, received ? Verdict::Received : Verdict::Refused);
    }

    void passMarkRefused_data()
    {
        QTest::addColumn<QString>("typed");
        for (const char* bad : {"", "-1", "100.01", "2,555", "abc", "5 %", "1e1", "٥"})
            QTest::newRow(bad) << QString::fromUtf8(bad);
    }
    void passMarkRefused()
    {
        QFETCH(QString, typed);
        QVERIFY(!ParsePassMark(typed).ok());
    }

    // The fast count against the plain table, over texts that match a lot (two letters) or little, across the
    // 64-character blocks; the alignment has exactly that many errors and uses every character once.
    void countAgainstReference()
    {
        QRandomGenerator random(20240611);
        for (int round = 0; round < 600; ++round) {
            const QString alphabet = round % 3 == 0 ? u"ab"_s : (round % 3 == 1 ? u"abcdefgh"_s : u"e\u00e9t0?"_s);
            const QString a = randomText(random, alphabet, random.bounded(0, 200));
            QString b = a;
            for (int edits = random.bounded(0, 40); edits > 0 && !b.isEmpty(); --edits) {
                const int at = random.bounded(int(b.size()));
                const int kind = random.bounded(3);
                if (kind == 0)
                    b.remove(at, 1);
                else
                    b.insert(at + (kind - 1), alphabet[random.bounded(int(alphabet.size()))]);
            }
            if (round % 7 == 0)
                b = randomText(random, alphabet, random.bounded(0, 150));
            QVERIFY(ErrorCountMatchesReference(QString(a + u" \U0001F600 "_s + a), QString(u"\t"_s + b))); // no spaces
            const qsizetype reference = PlainErrorCount(characters(a), characters(b));
            QCOMPARE(ErrorCount(characters(a), characters(b)), reference);
            QCOMPARE(ErrorCount(characters(b), characters(a)), reference);

            const std::vector<bool> starts(size_t(std::max(a.size(), b.size())), false);
            const auto steps = AlignTexts({characters(a), std::vector<bool>(size_t(a.size())), characters(b),
                                           std::vector<bool>(size_t(b.size()))},
                                          reference, 1 << 20);
            QVERIFY(steps.has_value());
            qsizetype i = 0, j = 0, errors = 0;
            for (const Step step : *steps) {
                errors += step != Step::Pair || a[i] != b[j];
                i += step != Step::Extra;
                j += step != Step::Missing;
            }
            QCOMPARE(errors, reference);
            QCOMPARE(i, a.size());
            QCOMPARE(j, b.size());
        }
    }

    // The band and the cells left out of the table change nothing: the alignment is that of the whole table, on
    // copies near their text and far from it.
    void alignmentAgainstWholeTable()
    {
        QRandomGenerator random(99);
        for (int round = 0; round < 400; ++round) {
            const Grouped sent = randomGroups(random, random.bounded(0, 12));
            const Grouped copy = round % 3 ? edited(random, sent) : randomGroups(random, random.bounded(0, 12));
            const qsizetype errors = ErrorCount(sent.characters, copy.characters);
            const auto steps =
                AlignTexts({sent.characters, sent.starts, copy.characters, copy.starts}, errors, 1 << 20);
            QVERIFY(steps.has_value());
            QVERIFY2(*steps == plainAlignment(sent, copy), qPrintable(QString::number(round)));
        }
    }

    // Each copied group under the sent group it matches best; among equal alignments, the groups kept whole.
    void groups_data()
    {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("copy");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing character at the group's end") << "eeeee eeeee"
                                                              << "eeee eeeee"
                                                              << "eeeee/eeee_ eeeee/eeeee";
        QTest::newRow("missing middle group") << "abcde fghij klmno"
                                              << "abcde klmno"
                                              << "abcde/abcde fghij/_____ klmno/klmno";
        QTest::newRow("a group lost, not split") << "ab ab ab"
                                                 << "ab ab"
                                                 << "ab/__ ab/ab ab/ab";
        QTest::newRow("an extra group") << "abcde fghij"
                                        << "abcde xyz fghij"
                                        << "abcde/abcde ···/XYZ fghij/fghij";
        QTest::newRow("extra inside its group") << "abcde fghij"
                                                << "abcdex fghij"
                                                << "abcde·/abcdeX fghij/fghij";
        QTest::newRow("an extra group inside a sent group, kept in place") << "abcdefgh"
                                                                           << "abcd x efgh"
                                                                           << "abcd·efgh/abcdXefgh";
        QTest::newRow("spacing shifted") << "abcde fghij"
                                         << "abcdef ghij"
                                         << "abcde/abcde fghij/fghij";
        QTest::newRow("best match, not first") << "abcde abcdx"
                                               << "abcdx"
                                               << "abcde/_____ abcdx/abcdx";
        QTest::newRow("substitution") << "b<cde"
                                      << "d<ce"
                                      << "b<cde/D<c_e";
    }
    void groups()
    {
        QFETCH(QString, sent);
        QFETCH(QString, copy);
        QFETCH(QString, expected);
        const Result<MarkedCopy> marked = MarkCopy(sent, copy, PassMark{});
        QVERIFY(marked->detailed);
        QCOMPARE(layout(*marked), expected);
    }

    // Most frequent first; wrong, missing, extra; then by character.
    void confusions()
    {
        const Result<MarkedCopy> marked = MarkCopy(u"bbbhh abcde"_s, u"dddx abcdez"_s, PassMark{});
        QStringList lines;
        for (const Confusion& c : marked->confusions)
            lines << ConfusionText(c);
        QCOMPARE(lines, (QStringList{"B reçu comme D\u202F: 3 fois", "H reçu comme X\u202F: 1 fois",
                                     "H manqué\u202F: 1 fois", "Z en trop\u202F: 1 fois"}));
        QCOMPARE(marked->tallies.first().character, "a");
        QCOMPARE(marked->tallies[1].sent, 4); // b
        QCOMPARE(marked->tallies[1].wrong, 3);
    }

    // Too long to mark: a message, not a frozen window. Too far apart to align: the count without the groups.
    void limits()
    {
        const QString longText = QString(u"abcde "_s).repeated(MaxMarkedCharacters / 5 + 1);
        QVERIFY(!MarkCopy(u"abc"_s, longText, PassMark{}).ok());
        QVERIFY(!MarkCopy(longText, u"abc"_s, PassMark{}).ok());
        QRandomGenerator random(7);
        const QString sent = randomText(random, u"abcdefghijklmnopqrstuvwxyz"_s, MaxMarkedCharacters);
        const QString copy = randomText(random, u"0123456789"_s, MaxMarkedCharacters);
        const Result<MarkedCopy> marked = MarkCopy(sent, copy, PassMark{});
        QCOMPARE(marked->errors, MaxMarkedCharacters);
        QVERIFY(!marked->detailed && marked->groups.isEmpty());
    }

    // The colour of each error comes with a sign; characters that mean something in HTML stay characters.
    void html()
    {
        const Result<MarkedCopy> marked = MarkCopy(u"a<bc"_s, u"ax<b"_s, PassMark{});
        const QString html = MarkedGroupsHtml(*marked, {u"red"_s, u"orange"_s, u"blue"_s});
        QVERIFY(html.contains(u"A &lt;BC\n"_s));
        QVERIFY(html.contains(u"color:blue; text-decoration:line-through"_s));
        QVERIFY(html.contains(u"color:orange; text-decoration:none; font-weight:bold\">_<"_s));
    }

    // A copy with one piece wrong reports that piece, and only that one, with what was copied in its place.
    void fields_data()
    {
        QTest::addColumn<QString>("copy");
        QTest::addColumn<QStringList>("wrong");
        const QString right = QString(Contact).replace(u'\n', u' ');
        const auto with = [&right](const QString& from, const QString& to) { return QString(right).replace(from, to); };
        QTest::newRow("all right") << right.toLower() << QStringList();
        QTest::newRow("call sign") << with(u"DE F6ABC"_s, u"DE F6ABD"_s)
                                   << QStringList{u"Indicatif\u202F: F6ABC copié «\u202FF6ABD\u202F»"_s};
        QTest::newRow("report") << with(u"579"_s, u"559"_s)
                                << QStringList{u"Report\u202F: 579 copié «\u202F559\u202F»"_s};
        QTest::newRow("name") << with(u"JEAN"_s, u"JEAM"_s)
                              << QStringList{u"Prénom\u202F: JEAN copié «\u202FJEAM\u202F»"_s};
        QTest::newRow("town") << with(u"LYON"_s, u"LYOM"_s)
                              << QStringList{u"QTH\u202F: LYON copié «\u202FLYOM\u202F»"_s};
        QTest::newRow("power, a character missing")
            << with(u"100W"_s, u"10W"_s) << QStringList{u"Puissance\u202F: 100W copié «\u202F10W\u202F»"_s};
        QTest::newRow("equipment, a character too many")
            << with(u"FT817 "_s, u"FT8177 "_s) << QStringList{u"Équipement\u202F: FT817 copié «\u202FFT8177\u202F»"_s};
        QTest::newRow("weather, over two words")
            << with(u"20C"_s, u"2OC"_s) << QStringList{u"Météo\u202F: BEAU 20C copié «\u202FBEAU 2OC\u202F»"_s};
        QTest::newRow("a piece missing") << with(u"OP JEAN QTH"_s, u"OP QTH"_s)
                                         << QStringList{u"Prénom\u202F: JEAN manqué"_s};
        QTest::newRow("an extra word beside a wrong piece")
            << with(u"JEAN QTH LYON"_s, u"JEAN TNX QTH LYOM"_s)
            << QStringList{u"QTH\u202F: LYON copié «\u202FLYOM\u202F»"_s};
        QTest::newRow("a piece split over two lines") << with(u"F6ABC"_s, u"F6A\nBC"_s).replace(u"579"_s, u"578"_s)
                                                      << QStringList{u"Report\u202F: 579 copié «\u202F578\u202F»"_s};
        QTest::newRow("a piece run into the next word")
            << with(u"OP JEAN QTH"_s, u"OP JEANS QTH"_s)
            << QStringList{u"Prénom\u202F: JEAN copié «\u202FJEANS\u202F»"_s};
    }
    void fields()
    {
        QFETCH(QString, copy);
        QFETCH(QStringList, wrong);
        const Result<MarkedCopy> marked = MarkCopy(Contact, copy, PassMark{}, fieldsOf(Contact, ContactPieces));
        QCOMPARE(marked->fields.size(), ContactPieces.size());
        QStringList reported;
        for (const MarkedField& field : marked->fields) {
            if (!field.right)
                reported << FieldText(field);
        }
        QCOMPARE(reported, wrong);
        QCOMPARE(marked->errors, MarkCopy(Contact, copy, PassMark{})->errors);
    }

    // Each part of a longer exercise has its own count and verdict at the pass mark, beside the whole copy's.
    void parts()
    {
        const QString sent = u"ABCDE FGHIJ KLMNO PQRST 12345 LE CHAT DORT SUR LE TOIT"_s;
        TextFields fields = fieldsOf(sent, {{FieldKind::Part, u"ABCDE FGHIJ KLMNO PQRST 12345"_s},
                                            {FieldKind::Part, u"LE CHAT DORT SUR LE TOIT"_s}});
        fields[0].label = u"Groupes"_s;
        fields[1].label = u"Texte en clair"_s;
        const Result<MarkedCopy> marked =
            MarkCopy(sent, u"abcde fghij klmnn pqrst 12346 le chat dort sur le toit"_s, PassMark{}, fields);
        QCOMPARE(SummaryText(*marked), u"2 erreurs sur 44 caractères (95,5\u202F%) — Reçu"_s);
        QCOMPARE(marked->parts.size(), 2);
        QCOMPARE(PartText(marked->parts[0]), u"Groupes\u202F: 2 erreurs sur 25 caractères (92,0\u202F%) — Refusé"_s);
        QCOMPARE(PartText(marked->parts[1]),
                 u"Texte en clair\u202F: 0 erreur sur 19 caractères (100,0\u202F%) — Reçu"_s);
        QVERIFY(marked->fields.isEmpty());
        // An extra character counts in the part it was copied in; an extra word between the parts in neither.
        const Result<MarkedCopy> extra =
            MarkCopy(sent, u"abcde fghij klmno pqrst 12345 xx le chatt dort sur le toit"_s, PassMark{}, fields);
        QCOMPARE((QList<qsizetype>{extra->errors, extra->parts[0].errors, extra->parts[1].errors}),
                 (QList<qsizetype>{3, 0, 1}));
    }

    void csv()
    {
        const Result<MarkedCopy> marked = MarkCopy(u"abcde fghij"_s, u"abcde fghix"_s, PassMark{});
        QCOMPARE(MarkCsvLine(u"élève;2.txt"_s, *marked), u"\"élève;2.txt\";10;1;90,0;Refusé"_s);
        QCOMPARE(MarkCsvLine(u"vide.txt"_s, *MarkCopy(u""_s, u"x"_s, PassMark{})), u"vide.txt;0;1;;Rien à corriger"_s);

        CopyRecord copy{QDateTime(QDate(2024, 5, 2), QTime(9, 30)), 200, 5, 12.5, PassMark{250}, false, {}, {}};
        const DrillAnswerRecord answer{QDateTime(QDate(2024, 5, 1), QTime(8, 0)), u";"_s, 230};
        const QByteArray bytes = HistoryCsv({copy}, {answer});
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s),
                 (QStringList{u"date;activité;caractères;erreurs;exactitude;vitesse;admis;verdict;caractère;"
                              "réaction_ms"_s,
                              u"2024-05-01 08:00:00;clavier;;;;;;;\";\";230"_s,
                              u"2024-05-02 09:30:00;copie;200;5;97,5;12,5;2,5;Refusé;;"_s, u""_s}));
        // The sending runs follow, after an empty line; none: nothing, and the file is as it always was.
        QVERIFY(SendingRunsCsv({}).isEmpty());
        SendingRunRecord run{QDateTime(QDate(2024, 5, 3), QTime(18, 5)),
                             SendingKind::Echo,
                             8,
                             2,
                             10.5,
                             2.75,
                             1.2,
                             3,
                             7,
                             48.25,
                             {0.1, 0.25, 0, 0.5, 1},
                             {{u"c"_s, 1}, {u";"_s, 1}}};
        SendingRunRecord free;
        free.at = run.at.addSecs(60);
        free.characters = 5;
        const QList<SendingRunRecord> runs{run, free};
        QCOMPARE(QString::fromUtf8(SendingRunsCsv(runs)).split(u"\r\n"_s),
                 (QStringList{u""_s,
                              u"date;envoi;caractères;erreurs;exactitude;vitesse;trait_point;espace_éléments;"
                              "espace_lettres;espace_mots;poids;dispersion_points;dispersion_traits;"
                              "dispersion_éléments;dispersion_lettres;dispersion_mots;mal_manipulés"_s,
                              u"2024-05-03 18:05:00;écho;8;2;75,0;10,50;2,75;1,20;3,00;7,00;48,25;0,10;0,25;0,00;0,50;"
                              "1,00;\"c×1 ;×1\""_s,
                              // A run that measured nothing leaves its proportions empty.
                              u"2024-05-03 18:06:00;libre;5;0;;;;;;;;0,00;0,00;0,00;0,00;0,00;"_s, u""_s}));
    }
};

TONIQUE_TEST(TestCopyMarking, None)
#include "tst_copymarking.moc"
