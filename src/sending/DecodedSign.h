#pragma once

#include "sending/KeyEdge.h"

#include <QString>

#include <cstdint>
#include <vector>

enum class ElementKind : std::uint8_t
{
    Dot,
    Dash,
};

// One element as the key sent it: its key-down length and the silence before it (within the character for every
// element but the first; for the first, the gap that ended the previous character, or -1 after a fresh start).
struct MeasuredElement
{
    ElementKind kind = ElementKind::Dot;
    KeyTime downUs = 0;
    KeyTime gapBeforeUs = -1;
};

// What the decoder gives, in order: characters, the spaces between words and its messages.
struct DecodedSign
{
    enum class Kind : std::uint8_t
    {
        Character, // a pattern: its character from the sign table, or its dots and dashes between brackets
        WordSpace, // a silence long enough to end a word
        Message,   // something the learner must see (a key held down), in French
    };
    Kind kind = Kind::Character;
    QString text;    // the character, "[.-.-..]" for an unknown pattern, " " or the message
    QString pattern; // the dots and dashes the elements were read as
    bool known = false;
    bool afterWordGap = false;             // the silence before the character ended a word
    double dotUs = 0;                      // the sender's dot as learned when the character ended
    std::vector<MeasuredElement> elements; // every element, for the drawing to scale and the timing analysis
};

// The text of decoded signs: characters and spaces, messages left out.
QString TextOf(const std::vector<DecodedSign>& signs);
