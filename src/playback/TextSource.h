#pragma once

#include "common/Result.h"
#include "playback/TextFields.h"

#include <QString>

#include <optional>

class RandomSource;

// Where the French texts come from: a contact between two stations, words, plain language. With `allowed`, every
// character generated is one of it (the learner's characters): a generator leaves out what it cannot write with
// them and says so in `leftOut`. A generator whose data cannot be read fails with a French message naming the file
// and the line; the others still work. Every choice takes its value from `random`.
class TextSource
{
public:
    virtual ~TextSource() = default;
    virtual Result<GeneratedText> qso(RandomSource& random, const std::optional<QString>& allowed) = 0;
    virtual Result<GeneratedText> words(int count, RandomSource& random, const std::optional<QString>& allowed) = 0;
    // Sentences of plain French, about `characters` long.
    virtual Result<GeneratedText> plainText(int characters, RandomSource& random,
                                            const std::optional<QString>& allowed) = 0;
};
