#include "TestMain.h"
#include "common/RandomSource.h"
#include "fakes/BuildFolder.h"
#include "signs/SignTable.h"
#include "texts/DataTextSource.h"
#include "training/LearningOrders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Folder = BuildFolder::file("textes");

class SeededRandom : public RandomSource
{
public:
    explicit SeededRandom(quint32 seed) { startFrom({seed, 1, 2, 3, 4, 5, 6, 7}); }
};

SignTable Signs()
{
    return LoadSignFile(BuildFolder::file("telkey.ref")).table;
}

// The lines of a list file without their weights, as the tests compare generated pieces with them.
QSet<QString> ListItems(const QString& name)
{
    QFile file(QDir(Folder).filePath(name));
    file.open(QIODevice::ReadOnly);
    QSet<QString> items;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.trimmed().isEmpty() && !line.startsWith(u'#'))
            items << line.section(u'|', 0, 0).trimmed();
    }
    return items;
}

// The failure's message for QVERIFY2, which reads it whatever the outcome.
QByteArray Why(const Result<GeneratedText>& text)
{
    return text ? QByteArray() : text.failure().toUtf8();
}

enum class Generator
{
    Qso,
    Words,
    Plain,
};

Result<GeneratedText> Generate(DataTextSource& source, Generator generator, quint32 seed,
                               const std::optional<QString>& allowed = std::nullopt)
{
    SeededRandom random(seed);
    switch (generator) {
    case Generator::Qso:
        return source.qso(random, allowed);
    case Generator::Words:
        return source.words(20, random, allowed);
    case Generator::Plain:
        return source.plainText(180, random, allowed);
    }
    return Fail(QString());
}

// A folder holding the delivered data files, `file` replaced by `content` (removed when it is empty).
void CopyData(const QTemporaryDir& dir, const QString& file, const QString& content)
{
    const QDir source(Folder);
    for (const QString& name : source.entryList({u"*.txt"_s}))
        QFile::copy(source.filePath(name), dir.filePath(name));
    QFile::remove(dir.filePath(file));
    if (content.isEmpty())
        return;
    QFile changed(dir.filePath(file));
    changed.open(QIODevice::WriteOnly);
    changed.write(content.toUtf8());
}

} // namespace

Q_DECLARE_METATYPE(Generator)

class TestTexts : public QObject
{
    Q_OBJECT

private slots:
    void everyCharacterSounded_data();
    void everyCharacterSounded();
    void qsosAreVariedAndComplete();
    void wordsOfTheFirstCharacters_data();
    void wordsOfTheFirstCharacters();
    void sameSeedSameText_data();
    void sameSeedSameText();
    void damagedFiles_data();
    void damagedFiles();
    void grammar_data();
    void grammar();
    void weightsAndFolders();
};

void TestTexts::everyCharacterSounded_data()
{
    QTest::addColumn<Generator>("generator");
    QTest::addColumn<std::optional<QString>>("allowed");
    const std::optional<QString> all;
    const std::optional<QString> ten = u"eishtmoarn"_s;
    const std::optional<QString> qsoSet = u"cqdek0123456789fabrst=+*/?"_s;
    QTest::newRow("contact") << Generator::Qso << all;
    QTest::newRow("contact, 10 characters") << Generator::Qso << ten;
    QTest::newRow("contact, figures and procedure") << Generator::Qso << qsoSet;
    QTest::newRow("contact, some figures") << Generator::Qso << std::optional(u"cqdekrstop3457=+*"_s);
    QTest::newRow("words") << Generator::Words << all;
    QTest::newRow("words, 10 characters") << Generator::Words << ten;
    QTest::newRow("plain text") << Generator::Plain << all;
    QTest::newRow("plain text, 26 letters") << Generator::Plain << std::optional(u"abcdefghijklmnopqrstuvwxyz.,"_s);
}

// Nothing silent in the sound: every character is in the sign table (and in the set allowed), the text has no
// outer or double spaces, and each field lies whole inside it.
void TestTexts::everyCharacterSounded()
{
    QFETCH(Generator, generator);
    QFETCH(std::optional<QString>, allowed);
    const SignTable signs = Signs();
    DataTextSource source({Folder}, signs);
    int made = 0;
    for (quint32 seed = 0; seed < 300; ++seed) {
        const Result<GeneratedText> text = Generate(source, generator, seed, allowed);
        QVERIFY2(text || allowed, Why(text).constData());
        if (!text)
            continue;
        ++made;
        for (const QChar c : text->text) {
            if (c == u' ')
                continue;
            QVERIFY2(signs.FindSign(QString(c.toLower())), qPrintable(text->text));
            QVERIFY2(!allowed || allowed->contains(c.toLower()), qPrintable(text->text));
        }
        QVERIFY2(!text->text.contains(u"  "_s) && text->text == text->text.trimmed(), qPrintable(text->text));
        // A field is whole or absent: a report of fewer figures would be marked as if it had been sent so.
        for (const TextField& field : text->fields) {
            QVERIFY(field.start >= 0 && field.length > 0 && field.start + field.length <= text->text.size());
            const QString piece = text->text.mid(field.start, field.length);
            QVERIFY2(piece == piece.trimmed() && (field.kind != FieldKind::Report || piece.size() == 3),
                     qPrintable(text->text));
        }
    }
    QVERIFY(made > 0);
}

void TestTexts::qsosAreVariedAndComplete()
{
    DataTextSource source({Folder}, Signs());
    const QSet<QString> names = ListItems(u"prenoms.txt"_s);
    const QSet<QString> towns = ListItems(u"villes.txt"_s);
    const QRegularExpression callSign(u"^(F[0-9]|TM[0-9]{1,2}|TK[0-9]|F[GMYROKPWH][0-9]|ON[0-9]|HB[39]|LX[0-9]|3A[0-9]|"
                                      "VE2|VA2)[A-Z]{1,3}(/(P|M|MM|QRP))?$"_s);
    const QRegularExpression report(u"^[345][3-9][789]$"_s);
    const QRegularExpression signOff(u"\\*( E E| TU)?$"_s);
    QSet<QString> distinct;
    const int count = 10'000;
    for (quint32 seed = 1; seed <= count; ++seed) {
        const Result<GeneratedText> qso = Generate(source, Generator::Qso, seed);
        QVERIFY2(qso, Why(qso).constData());
        distinct << qso->text;
        QMap<FieldKind, QSet<QString>> pieces;
        for (const TextField& field : qso->fields)
            pieces[field.kind] << qso->text.mid(field.start, field.length);
        const auto why = qPrintable(qso->text);
        QVERIFY2(pieces[FieldKind::CallSign].size() == 2, why);
        for (const QString& call : pieces[FieldKind::CallSign])
            QVERIFY2(callSign.match(call).hasMatch(), qPrintable(call));
        QVERIFY2(!pieces[FieldKind::Report].isEmpty(), why);
        for (const QString& rst : pieces[FieldKind::Report])
            QVERIFY2(report.match(rst).hasMatch(), qPrintable(rst));
        QVERIFY2(!pieces[FieldKind::Name].isEmpty() && names.contains(pieces[FieldKind::Name]), why);
        QVERIFY2(!pieces[FieldKind::Qth].isEmpty() && towns.contains(pieces[FieldKind::Qth]), why);
        QVERIFY2(signOff.match(qso->text).hasMatch(), why);
        QVERIFY2(qso->leftOut.isEmpty(), why);
    }
    QVERIFY2(distinct.size() >= 9'900, qPrintable(QString::number(distinct.size())));
}

void TestTexts::wordsOfTheFirstCharacters_data()
{
    QTest::addColumn<QString>("set");
    for (const QString& set : ProgressiveSets()) {
        if (set.size() == 10)
            QTest::newRow(qPrintable(set)) << set;
    }
}

// A learner at the second step of any order copies words already; an order that starts with the figures has none
// to offer yet, and says so.
void TestTexts::wordsOfTheFirstCharacters()
{
    QFETCH(QString, set);
    DataTextSource source({Folder}, Signs());
    SeededRandom random(7);
    const Result<GeneratedText> words = source.words(2'000, random, set);
    const bool letters = set.contains(QRegularExpression(u"[a-z]"_s));
    if (!letters) {
        QVERIFY(!words);
        QVERIFY2(words.failure().contains(set), Why(words).constData());
        return;
    }
    QVERIFY2(words, Why(words).constData());
    const QStringList drawn = words->text.split(u' ');
    QCOMPARE(drawn.size(), 2'000);
    QVERIFY2(QSet<QString>(drawn.cbegin(), drawn.cend()).size() >= 30, qPrintable(words->text.left(300)));
    // Not "la la la": a word rarely follows itself, though the commonest words are drawn most.
    qsizetype repeats = 0;
    for (qsizetype i = 1; i < drawn.size(); ++i)
        repeats += drawn[i] == drawn[i - 1] ? 1 : 0;
    QVERIFY2(repeats <= drawn.size() / 100, qPrintable(QString::number(repeats)));
}

void TestTexts::sameSeedSameText_data()
{
    QTest::addColumn<Generator>("generator");
    QTest::newRow("contact") << Generator::Qso;
    QTest::newRow("words") << Generator::Words;
    QTest::newRow("plain text") << Generator::Plain;
}

void TestTexts::sameSeedSameText()
{
    QFETCH(Generator, generator);
    DataTextSource first({Folder}, Signs());
    DataTextSource second({Folder}, Signs());
    const Result<GeneratedText> a = Generate(first, generator, 42);
    const Result<GeneratedText> b = Generate(second, generator, 42);
    const Result<GeneratedText> c = Generate(first, generator, 43);
    QVERIFY(a && b && c);
    QCOMPARE(a->text, b->text);
    QCOMPARE(a->fields, b->fields);
    QVERIFY(a->text != c->text);
    if (generator == Generator::Plain)
        QVERIFY2(a->text.size() > 140 && a->text.size() < 240, qPrintable(a->text));
}

void TestTexts::damagedFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("content"); // empty: the file is removed
    QTest::addColumn<Generator>("generator");
    QTest::addColumn<QStringList>("message"); // what the failure says; empty when the text is still made
    QTest::addColumn<QString>("warning");     // a warning of the first text made
    const QString qso = u"qso.txt"_s;
    const QString words = u"mots.txt"_s;
    QTest::newRow("missing") << qso << QString() << Generator::Qso << QStringList{u"qso.txt"_s, u"introuvable"_s}
                             << QString();
    QTest::newRow("empty") << words << u"# rien\n\n"_s << Generator::Words << QStringList{u"mots.txt"_s, u"vide"_s}
                           << QString();
    QTest::newRow("no equals sign") << qso << u"qso = CQ\n\nCQ DE F5ABC\n"_s << Generator::Qso
                                    << QStringList{u"qso.txt"_s, u"ligne 3"_s, u"="_s} << QString();
    QTest::newRow("bad weight") << words << u"le | 3\nla | beaucoup\n"_s << Generator::Words
                                << QStringList{u"ligne 2"_s, u"beaucoup"_s} << QString();
    QTest::newRow("rule of nothing") << qso << u"qso = CQ <appel>\nappl = DE\n"_s << Generator::Qso
                                     << QStringList{u"ligne 1"_s, u"appel"_s, u"nulle part"_s} << QString();
    QTest::newRow("list of nothing") << qso << u"qso = QTH {bourgs}\n"_s << Generator::Qso
                                     << QStringList{u"ligne 1"_s, u"bourgs.txt"_s} << QString();
    QTest::newRow("loop") << qso << u"qso = CQ <a>\na = DE <b>\nb = K <a>\n"_s << Generator::Qso
                          << QStringList{u"ligne 2"_s, u"«\u202Fa\u202F»"_s, u"finir"_s} << QString();
    QTest::newRow("growing without end") << qso << u"qso = <a>\na = <a> <a> | 500\na = K\n"_s << Generator::Qso
                                         << QStringList{u"qso.txt"_s, u"sans fin"_s} << QString();
    QTest::newRow("no start") << qso << u"appel = CQ\n"_s << Generator::Qso << QStringList{u"«\u202Fqso\u202F»"_s}
                              << QString();
    QTest::newRow("characters not sounded") << words << u"garçon\nçà\nle\n"_s << Generator::Words << QStringList{}
                                            << u"«\u202Fmots.txt\u202F», ligne 1\u202F: le caractère «\u202Fç"_s;
}

// A damaged file gives a French message naming it (and the line), at once; the other generators still work.
void TestTexts::damagedFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(Generator, generator);
    QFETCH(QStringList, message);
    QFETCH(QString, warning);
    QTemporaryDir dir;
    CopyData(dir, file, content);
    DataTextSource texts({dir.path()}, Signs());
    QElapsedTimer timer;
    timer.start();
    const Result<GeneratedText> text = Generate(texts, generator, 1);
    QVERIFY(timer.elapsed() < 2'000);
    if (message.isEmpty()) {
        QVERIFY2(text, Why(text).constData());
        QVERIFY2(!text->text.contains(u'ç'), qPrintable(text->text));
        QCOMPARE(text->leftOut.filter(u"caractère"_s).size(), 1);
        QVERIFY2(text->leftOut.first().startsWith(warning), qPrintable(text->leftOut.first()));
        QVERIFY(Generate(texts, generator, 2)->leftOut.isEmpty()); // reported once
        return;
    }
    QVERIFY(!text);
    for (const QString& part : message)
        QVERIFY2(text.failure().contains(part), Why(text).constData());
    const Generator other = generator == Generator::Words ? Generator::Qso : Generator::Words;
    QVERIFY(Generate(texts, other, 1));
    QVERIFY(Generate(texts, Generator::Plain, 1));
    // Mended, the file is read again without a restart.
    QFile::remove(dir.filePath(file));
    QFile::copy(QDir(Folder).filePath(file), dir.filePath(file));
    QVERIFY(Generate(texts, generator, 1));
}

void TestTexts::grammar_data()
{
    QTest::addColumn<QString>("qso");
    QTest::addColumn<QString>("allowed"); // empty: every character
    QTest::addColumn<QString>("text");    // a pattern
    QTest::addColumn<QStringList>("leftOut");
    QTest::addColumn<QList<TextField>>("fields");
    QTest::newRow("a variable repeats as drawn") << u"qso = $a $a $a\n$a = {villes}\n"_s << QString()
                                                 << u"^(.+) \\1 \\1$"_s << QStringList{} << QList<TextField>{};
    QTest::newRow("empty alternative, no double space")
        << u"qso = A <x> B\nx = \n"_s << QString() << u"^A B$"_s << QStringList{} << QList<TextField>{};
    QTest::newRow("the sign < and figures")
        << u"qso = CQ < K #\n"_s << QString() << u"^CQ < K [0-9]$"_s << QStringList{} << QList<TextField>{};
    QTest::newRow("fields where they stand")
        << u"qso = DE $c = $n K $c\n$c:indicatif = F#@@\n$n:prenom = LUC\n"_s << QString()
        << u"^DE (F[0-9][A-Z]{2}) = LUC K \\1$"_s << QStringList{}
        << QList<TextField>{
               {FieldKind::CallSign, 3, 4, {}}, {FieldKind::Name, 10, 3, {}}, {FieldKind::CallSign, 16, 4, {}}};
    QTest::newRow("a fitting variant first") << u"qso = CQ <n>\nn = 73 | 100\nn = QRZ?\n"_s << u"cqrz?"_s
                                             << u"^CQ QRZ\\?$"_s << QStringList{} << QList<TextField>{};
    QTest::newRow("words that cannot be written") << u"qso = CQ DE <n>\nn = 73 K\n"_s << u"cqdek"_s << u"^CQ DE K$"_s
                                                  << QStringList{u"«\u202F73\u202F»"_s} << QList<TextField>{};
    QTest::newRow("a report whole or left out") << u"qso = RST $r K\n$r:report = 5<s>9\ns = 7\n"_s << u"rstk59"_s
                                                << u"^RST K$"_s << QStringList{u"Report"_s} << QList<TextField>{};
    QTest::newRow("a list that cannot be written") << u"qso = OP $n\n$n:prenom = {prenoms}\n"_s << u"opxw"_s
                                                   << u"^OP$"_s << QStringList{u"Prénom"_s} << QList<TextField>{};
}

// The grammar's own rules, each on a contact file of a few lines.
void TestTexts::grammar()
{
    QFETCH(QString, qso);
    QFETCH(QString, allowed);
    QFETCH(QString, text);
    QFETCH(QStringList, leftOut);
    QFETCH(QList<TextField>, fields);
    QTemporaryDir dir;
    CopyData(dir, u"qso.txt"_s, qso);
    DataTextSource texts({dir.path()}, Signs());
    for (quint32 seed = 0; seed < 20; ++seed) {
        const Result<GeneratedText> made =
            Generate(texts, Generator::Qso, seed, allowed.isEmpty() ? std::nullopt : std::optional(allowed));
        QVERIFY2(made, Why(made).constData());
        QVERIFY2(QRegularExpression(text).match(made->text).hasMatch(), qPrintable(made->text));
        QCOMPARE(made->leftOut, leftOut);
        QCOMPARE(made->fields, fields);
    }
}

// Items drawn by their weights; the user's copy of a file, saved in any encoding, wins over the delivered one, file
// by file.
void TestTexts::weightsAndFolders()
{
    QTemporaryDir user;
    QFile words(user.filePath(u"mots.txt"_s));
    QVERIFY(words.open(QIODevice::WriteOnly));
    words.write("\xe9t\xe9 | 9\r\nla\r\n"); // as an editor of the sign file's code page saves it
    words.close();
    DataTextSource texts({user.path(), Folder}, Signs());
    SeededRandom random(3);
    const Result<GeneratedText> drawn = texts.words(10'000, random, std::nullopt);
    QVERIFY2(drawn, Why(drawn).constData());
    const qsizetype summer = drawn->text.split(u' ').count(u"été"_s);
    QVERIFY2(summer > 8'800 && summer < 9'200, qPrintable(QString::number(summer)));
    QVERIFY(Generate(texts, Generator::Qso, 1)); // the delivered contact, with the user's words
    QCOMPARE(
        TextFolders(u"/home/a/.local/share/Tonique"_s, u"/usr/bin"_s),
        (QStringList{u"/home/a/.local/share/Tonique/textes"_s, u"/usr/bin/textes"_s, u"/usr/share/tonique/textes"_s}));
    QCOMPARE(TextFolders(u"/media/key"_s, u"/media/key"_s).size(), 2); // portable
}

TONIQUE_TEST(TestTexts, Core)
#include "tst_texts.moc"
