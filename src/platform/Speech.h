#pragma once

#include <QString>

// A voice that speaks French, for answers said aloud.
class Speech
{
public:
    virtual ~Speech() = default;
    // Whether anything can be spoken.
    virtual bool available() const = 0;
    // Why nothing can be spoken (French); empty while available.
    virtual QString unavailableReason() const = 0;
    // Speaks `text`, cutting short what was still being said; nothing when unavailable.
    virtual void say(const QString& text) = 0;
};
