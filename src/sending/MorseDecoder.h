#pragma once

#include "sending/DecodedSign.h"
#include "sending/SpeedTracker.h"
#include "signs/SignTable.h"

#include <QHash>
#include <QString>

#include <vector>

// Reads key edges as a person would copy them, whatever the input: learns the sender's speed (5 to 50 words per
// minute) and follows it, tells dots from dashes between the two clusters of key-down lengths, ends characters and
// words by the silences measured against the learned dot, and looks the patterns up in the sign table. A plain value
// with no Qt object, so that it can run on any thread: feed it edges in time order, call advanceTo() when time
// passes without any (a timer, the end of a file), and take what it decoded.
class MorseDecoder
{
public:
    // A key held down longer than this ends as a message, and decoding starts afresh.
    static constexpr KeyTime StuckKeyUs = 5 * MicrosecondsPerSecond;

    explicit MorseDecoder(const SignTable& signs);

    // An edge of the key; edges that repeat the key's state (down when down) are ignored.
    void keyEdge(KeyEdge edge);

    // No edge until `now`: ends the character or the word whose silence is long enough, or the key held too long.
    void advanceTo(KeyTime now);

    // Everything decoded since the last call, oldest first.
    std::vector<DecodedSign> takeDecoded();

    // The sender's speed as learned, words per minute; nothing learned yet: 0.
    double wordsPerMinute() const;

    // Forgets the keying and the learned speed.
    void reset();

private:
    void keyDown(KeyTime time);
    void keyUp(KeyTime time);
    void tryCalibrating(bool force);
    void endCharacter();
    void endWord();
    void keyStuck();
    bool isGlitch(KeyTime length) const;

    QHash<QString, QString> m_characterOfPattern;
    SpeedTracker m_speed;
    bool m_calibrated = false;
    std::vector<KeyEdge> m_early; // the edges before the speed is known, read again once it is
    bool m_down = false;
    bool m_ignoreUp = false; // the key-up that follows a key held too long
    KeyTime m_lastEdge = 0;
    KeyTime m_lastUp = 0;   // the key-up before the key-down under way
    KeyTime m_lastDown = 0; // the key-down of the element under way or just ended
    bool m_started = false;
    bool m_characterOpen = false;
    bool m_wordOpen = false;
    DecodedSign m_current;
    KeyTime m_elementGapUs = -1; // the silence before the element under way
    bool m_afterWordGap = false;
    std::vector<DecodedSign> m_out;
};
