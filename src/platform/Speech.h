#pragma once

#include <QString>

#include <functional>

// A voice that speaks French, for answers said aloud.
class Speech
{
public:
    virtual ~Speech() = default;
    // Looks for the voice, once; `known` is called on this thread when available() and unavailableReason() tell
    // the answer (at once when it is already known). The answer may take a speech server seconds to give.
    virtual void find(const std::function<void()>& known) { known(); }
    // Whether anything can be spoken (false while the voice is being looked for).
    virtual bool available() const = 0;
    // Why nothing can be spoken (French); empty while available.
    virtual QString unavailableReason() const = 0;
    // Speaks `text`, cutting short what was still being said; nothing when unavailable.
    virtual void say(const QString& text) = 0;
};
