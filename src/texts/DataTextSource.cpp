#include "texts/DataTextSource.h"

#include "common/FileErrors.h"
#include "common/RandomSource.h"
#include "signs/Windows1252.h"
#include "texts/GrammarExpander.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString FolderName = u"textes"_s;
// Attempts at a sentence or a contact written with the allowed characters before giving up.
constexpr int MaxAttempts = 200;
// A words exercise draws a word again when it was one of the last two, up to this many times, if the list has at
// least that many words written with the allowed characters.
constexpr int RedrawsAgainstRepeats = 6;
constexpr qsizetype MinWordsAgainstRepeats = 10;

qsizetype FittingWords(const WordList& words, const std::optional<QString>& allowed)
{
    if (!allowed)
        return words.items.size();
    const QString set = allowed->toLower();
    return std::count_if(words.items.cbegin(), words.items.cend(), [&set](const ListItem& item) {
        return std::all_of(item.text.cbegin(), item.text.cend(),
                           [&set](QChar c) { return c == u' ' || set.contains(c.toLower()); });
    });
}

QString Quoted(const QString& text)
{
    return u"«\u202F"_s + text + u"\u202F»"_s;
}

QString WrittenWith(const std::optional<QString>& allowed)
{
    return u" ne s'écrit avec les caractères "_s + Quoted(allowed.value_or(QString())) + u'.';
}

} // namespace

QStringList TextFolders(const QString& programFolder, const QString& executableFolder)
{
    // A folder of its own beside the executable (a copy under /opt) delivers its files as an installation does.
    const QStringList candidates{
        QDir(programFolder).filePath(FolderName), QDir(executableFolder).filePath(FolderName),
        QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(TONIQUE_DATA_FROM_BIN "/") + FolderName))};
    QStringList folders;
    for (const QString& folder : candidates) {
        if (!folders.contains(folder))
            folders << folder;
    }
    return folders;
}

DataTextSource::DataTextSource(QStringList folders, SignTable signs)
    : m_folders(std::move(folders)), m_signs(std::move(signs))
{
    // Each character is looked up in the table once: the files hold tens of thousands of them.
    m_soundable = [this, known = QHash<char16_t, bool>()](QChar c) mutable {
        const auto found = known.constFind(c.unicode());
        if (found != known.cend())
            return *found;
        return known[c.unicode()] = m_signs.FindSign(QString(c.toLower())).has_value();
    };
}

Result<QString> DataTextSource::read(const QString& name) const
{
    for (const QString& folder : m_folders) {
        const QString path = QDir(folder).filePath(name);
        if (!QFileInfo::exists(path))
            continue;
        QFile file(path);
        if (const Failure failed = OpenForReading(file))
            return Fail(Quoted(QDir::toNativeSeparators(path)) + u" ne peut être lu\u202F: "_s + *failed + u'.');
        // Saved by any editor: UTF-8, or the code page of the sign file, or UTF-16.
        return DecodeTextFile(file.readAll()).remove(u'\r');
    }
    QStringList shown;
    for (const QString& folder : m_folders)
        shown << QDir::toNativeSeparators(folder);
    return Fail(Quoted(name) + u" est introuvable (cherché dans "_s + shown.join(u", "_s) + u")."_s);
}

Failure DataTextSource::loadGrammar(std::optional<Grammar>& grammar, const QString& file, const QString& start)
{
    if (grammar)
        return {};
    Result<Grammar> loaded = LoadGrammar(
        file, start, [this](const QString& name) { return read(name); }, m_soundable, m_warnings);
    if (!loaded)
        return loaded.failure();
    grammar = std::move(*loaded);
    return {};
}

Failure DataTextSource::loadWords()
{
    if (m_words)
        return {};
    const QString file = u"mots.txt"_s;
    const Result<QString> text = read(file);
    if (!text)
        return text.failure();
    Result<WordList> list = ParseWordList(file, *text, m_soundable, m_warnings);
    if (!list)
        return list.failure();
    m_words = std::move(*list);
    return {};
}

Failure DataTextSource::loadAll()
{
    if (Failure failed = loadGrammar(m_qso, u"qso.txt"_s, u"qso"_s))
        return failed;
    if (Failure failed = loadGrammar(m_plain, u"clair.txt"_s, u"phrase"_s))
        return failed;
    return loadWords();
}

// A grammar that loops is read again next time: the user may have mended it.
FailureMessage DataTextSource::forget(std::optional<Grammar>& grammar, QString failure)
{
    grammar.reset();
    return Fail(std::move(failure));
}

GeneratedText DataTextSource::withWarnings(GeneratedText text)
{
    text.leftOut = m_warnings + text.leftOut;
    m_warnings.clear();
    return text;
}

Result<GeneratedText> DataTextSource::qso(RandomSource& random, const std::optional<QString>& allowed)
{
    if (const Failure failed = loadGrammar(m_qso, u"qso.txt"_s, u"qso"_s))
        return Fail(*failed);
    GrammarExpander expander(*m_qso, random, allowed);
    if (!expander.expand(u"qso"_s))
        return forget(m_qso, expander.failure());
    GeneratedText text = expander.take();
    if (text.text.isEmpty())
        return Fail(u"Aucune partie du contact"_s + WrittenWith(allowed));
    return withWarnings(std::move(text));
}

Result<GeneratedText> DataTextSource::words(int count, RandomSource& random, const std::optional<QString>& allowed)
{
    if (const Failure failed = loadWords())
        return Fail(*failed);
    // "la la la" teaches nothing: a word among the last two drawn is drawn again, a few times, when the list offers
    // enough words for the characters; a list of a few words keeps its weights exactly.
    const bool avoidRepeats = FittingWords(*m_words, allowed) >= MinWordsAgainstRepeats;
    const Grammar none;
    QStringList drawn;
    for (int i = 0; i < count; ++i) {
        QString word;
        for (int attempt = 0; attempt < RedrawsAgainstRepeats; ++attempt) {
            GrammarExpander expander(none, random, allowed);
            expander.drawFrom(u"mots"_s, *m_words);
            const GeneratedText one = expander.take();
            if (!one.leftOut.isEmpty())
                return Fail(u"Aucun mot de "_s + Quoted(m_words->file) + WrittenWith(allowed));
            word = one.text;
            if (!avoidRepeats || !drawn.mid(std::max<qsizetype>(0, drawn.size() - 2)).contains(word))
                break;
        }
        drawn << word;
    }
    GeneratedText text;
    text.text = drawn.join(u' ');
    return withWarnings(std::move(text));
}

Result<GeneratedText> DataTextSource::plainText(int characters, RandomSource& random,
                                                const std::optional<QString>& allowed)
{
    if (const Failure failed = loadGrammar(m_plain, u"clair.txt"_s, u"phrase"_s))
        return Fail(*failed);
    QString text;
    QString last;
    for (int attempt = 0; attempt < MaxAttempts && text.size() < characters; ++attempt) {
        GrammarExpander expander(*m_plain, random, allowed);
        if (!expander.expand(u"phrase"_s))
            return forget(m_plain, expander.failure());
        const GeneratedText sentence = expander.take();
        if (sentence.text.isEmpty() || !sentence.leftOut.isEmpty())
            continue;
        last = sentence.text;
        text += (text.isEmpty() ? QString() : u" "_s) + last;
    }
    if (text.isEmpty())
        return Fail(u"Aucune phrase de "_s + Quoted(m_plain->file) + WrittenWith(allowed));
    // The last sentence stays only if it brings the length nearer the one asked for.
    const qsizetype without = text.size() - last.size() - 1;
    if (without > 0 && characters - without < text.size() - characters)
        text.truncate(without);
    return withWarnings(GeneratedText{text, {}, {}});
}
