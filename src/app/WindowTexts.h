#pragma once

#include "signs/SignTable.h"
#include "texts/DataTextSource.h"

#include <QStringList>

#include <memory>

// The window's French texts: their data files read with the sign table the window loaded at start-up, the first
// time a menu item asks for a text (nothing of them is read at start-up).
class WindowTexts : public TextSource
{
public:
    WindowTexts(QStringList folders, const SignTable& signs) : m_folders(std::move(folders)), m_signs(signs) {}

    Result<GeneratedText> qso(RandomSource& random, const std::optional<QString>& allowed) override
    {
        return source().qso(random, allowed);
    }
    Result<GeneratedText> words(int count, RandomSource& random, const std::optional<QString>& allowed) override
    {
        return source().words(count, random, allowed);
    }
    Result<GeneratedText> plainText(int characters, RandomSource& random,
                                    const std::optional<QString>& allowed) override
    {
        return source().plainText(characters, random, allowed);
    }

private:
    DataTextSource& source()
    {
        if (!m_source)
            m_source = std::make_unique<DataTextSource>(m_folders, m_signs);
        return *m_source;
    }

    QStringList m_folders;
    const SignTable& m_signs;
    std::unique_ptr<DataTextSource> m_source;
};
