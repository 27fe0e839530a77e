#pragma once

#include "common/RandomSource.h"
#include "playback/TextSource.h"

#include <QList>

// Gives `text` (or fails with `failure`) for every kind of text, after one draw from the stream it is handed, and
// records each request.
class FakeTextSource : public TextSource
{
public:
    struct Request
    {
        QString kind; // "qso", "mots", "clair"
        int size = 0; // words or characters asked for
        std::optional<QString> allowed;
    };

    Result<GeneratedText> qso(RandomSource& random, const std::optional<QString>& allowed) override
    {
        return give({QStringLiteral("qso"), 0, allowed}, random);
    }
    Result<GeneratedText> words(int count, RandomSource& random, const std::optional<QString>& allowed) override
    {
        return give({QStringLiteral("mots"), count, allowed}, random);
    }
    Result<GeneratedText> plainText(int characters, RandomSource& random,
                                    const std::optional<QString>& allowed) override
    {
        return give({QStringLiteral("clair"), characters, allowed}, random);
    }

    GeneratedText text;
    std::optional<QString> failure;
    QList<Request> requests;

private:
    Result<GeneratedText> give(const Request& request, RandomSource& random)
    {
        requests << request;
        random.next();
        if (failure)
            return Fail(*failure);
        return text;
    }
};
