#pragma once

// The tone heard while the learner's key is down.
class Sidetone
{
public:
    virtual ~Sidetone() = default;
    // The tone of the next key-down: its frequency in Hz and its volume, 0 to 1. Set when the learner may key.
    virtual void setTone(double hz, double volume) = 0;
    // The key went down or up: the tone rises or falls over a few milliseconds, without a click.
    virtual void key(bool down) = 0;
    // Nothing is heard any more: the sound output is let go until the next key-down.
    virtual void release() = 0;
    // Whether the tone can be heard: false once the sound output was found missing or lost.
    virtual bool heard() const { return true; }
};
