#pragma once

#include "playback/TextSource.h"
#include "signs/SignTable.h"
#include "texts/TextData.h"

#include <QStringList>

#include <optional>

// The French texts drawn from the data files of the folder "textes": qso.txt (the contact, from its rule "qso"),
// clair.txt (plain language, sentence by sentence from its rule "phrase"), mots.txt (the words and their frequency),
// and the lists they name. A file is looked for in each folder in turn, the first holding it wins; each is read the
// first time a generator needs it, and read again after a failure (the user may have mended it). The characters a
// file holds that the sign table lacks are reported once, in the `leftOut` of the next text made.
class DataTextSource : public TextSource
{
public:
    DataTextSource(QStringList folders, SignTable signs);
    DataTextSource(const DataTextSource&) = delete;
    DataTextSource& operator=(const DataTextSource&) = delete;

    Result<GeneratedText> qso(RandomSource& random, const std::optional<QString>& allowed) override;
    Result<GeneratedText> words(int count, RandomSource& random, const std::optional<QString>& allowed) override;
    Result<GeneratedText> plainText(int characters, RandomSource& random,
                                    const std::optional<QString>& allowed) override;

    // Reads every file now: nothing, or the first failure (for the benchmark and the command line).
    Failure loadAll();

private:
    Result<QString> read(const QString& name) const;
    Failure loadGrammar(std::optional<Grammar>& grammar, const QString& file, const QString& start);
    Failure loadWords();
    GeneratedText withWarnings(GeneratedText text);
    static FailureMessage forget(std::optional<Grammar>& grammar, QString failure);

    QStringList m_folders;
    SignTable m_signs;
    SoundableCheck m_soundable;
    std::optional<Grammar> m_qso;
    std::optional<Grammar> m_plain;
    std::optional<WordList> m_words;
    QStringList m_warnings;
};

// The folders of the data files: the program folder's own "textes" (the user's copy, or the portable folder's),
// then the executable's (an installation in a folder of its own), then the delivered one of an installation.
QStringList TextFolders(const QString& programFolder, const QString& executableFolder);
