#include "sending/MorseDecoder.h"

#include <algorithm>

namespace {

// Before the speed is known, a silence this many times the longest key-down ends the start of the keying.
constexpr KeyTime EarlySilenceFactor = 5;
constexpr KeyTime LeastEarlySilenceUs = 200'000;
// Key-downs read before the speed must be known whatever they look like.
constexpr size_t MostEarlyDowns = 40;
// A key-down or a silence shorter than this part of a dot is a click or a dropout, not an element or a gap.
constexpr double GlitchDots = 0.3;

} // namespace

QString TextOf(const std::vector<DecodedSign>& signs)
{
    QString text;
    for (const auto& sign : signs)
        if (sign.kind != DecodedSign::Kind::Message)
            text += sign.text;
    return text;
}

MorseDecoder::MorseDecoder(const SignTable& signs)
{
    for (int j = 1; j <= SignTable::Capacity; ++j) {
        const auto& entry = signs.entry(j);
        const QString pattern = entry.pattern.trimmed();
        if (!entry.character.isEmpty() && !pattern.isEmpty() && !m_characterOfPattern.contains(pattern))
            m_characterOfPattern.insert(pattern, entry.character);
    }
}

void MorseDecoder::keyEdge(KeyEdge edge)
{
    if (edge.down == m_down)
        return;
    advanceTo(edge.time);
    m_down = edge.down;
    if (m_ignoreUp) {
        // The key held too long has come up: what follows is a fresh start.
        m_ignoreUp = false;
        m_started = false;
        return;
    }
    if (!m_calibrated) {
        m_early.push_back(edge);
        m_lastEdge = edge.time;
        m_started = true;
        if (!edge.down)
            tryCalibrating(m_early.size() >= 2 * MostEarlyDowns);
        return;
    }
    if (edge.down)
        keyDown(edge.time);
    else
        keyUp(edge.time);
}

void MorseDecoder::advanceTo(KeyTime now)
{
    if (m_down) {
        if (!m_ignoreUp && now - m_lastEdge > StuckKeyUs)
            keyStuck();
        return;
    }
    if (!m_started)
        return;
    const KeyTime silence = now - m_lastEdge;
    if (!m_calibrated) {
        KeyTime longest = 0;
        for (size_t i = 1; i < m_early.size(); i += 2)
            longest = std::max(longest, m_early[i].time - m_early[i - 1].time);
        if (silence <= std::max(EarlySilenceFactor * longest, LeastEarlySilenceUs))
            return;
        tryCalibrating(true);
    }
    if (static_cast<double>(silence) >= m_speed.letterThresholdUs())
        endCharacter();
    if (static_cast<double>(silence) >= m_speed.wordThresholdUs())
        endWord();
}

void MorseDecoder::tryCalibrating(bool force)
{
    std::vector<KeyTime> downs;
    KeyTime shortestGap = 0;
    for (size_t i = 1; i < m_early.size(); ++i) {
        const KeyTime length = m_early[i].time - m_early[i - 1].time;
        if (!m_early[i].down)
            downs.push_back(length);
        else if (shortestGap == 0 || length < shortestGap)
            shortestGap = length;
    }
    if (!m_speed.calibrate(downs, shortestGap, force))
        return;
    m_calibrated = true;
    // Read the start again, now that dots and dashes can be told apart.
    const std::vector<KeyEdge> early = std::move(m_early);
    m_early.clear();
    m_started = false;
    for (const auto& edge : early) {
        if (edge.down)
            keyDown(edge.time);
        else
            keyUp(edge.time);
    }
}

void MorseDecoder::keyDown(KeyTime time)
{
    if (m_started && isGlitch(time - m_lastEdge) && !m_current.elements.empty()) {
        // The key opened for an instant inside an element (a fading tone, a bouncing contact): one element.
        const MeasuredElement element = m_current.elements.back();
        m_current.elements.pop_back();
        m_current.pattern.chop(1);
        m_elementGapUs = element.gapBeforeUs;
        m_lastEdge = m_lastDown;
        return;
    }
    m_elementGapUs = -1;
    if (m_started) {
        const KeyTime gap = time - m_lastEdge;
        const auto silence = static_cast<double>(gap);
        const int level = silence >= m_speed.wordThresholdUs() ? 2 : silence >= m_speed.letterThresholdUs() ? 1 : 0;
        if (level >= 1)
            endCharacter();
        if (level == 2)
            endWord();
        m_speed.learnGap(silence, level);
        m_elementGapUs = gap;
        m_afterWordGap = level == 2;
    }
    if (!m_characterOpen) {
        m_current = DecodedSign{};
        m_current.afterWordGap = m_afterWordGap;
        m_characterOpen = true;
    }
    m_lastUp = m_lastEdge;
    m_lastEdge = time;
    m_lastDown = time;
}

void MorseDecoder::keyUp(KeyTime time)
{
    const KeyTime length = time - m_lastEdge;
    if (m_started && isGlitch(length)) {
        // A click in the silence, too short for any element: the silence goes on.
        m_lastEdge = m_lastUp;
        return;
    }
    const ElementKind kind = m_speed.classify(length);
    m_current.elements.push_back({kind, length, m_elementGapUs});
    m_current.pattern += kind == ElementKind::Dot ? u'.' : u'-';
    m_lastEdge = time;
    m_started = true;
    m_wordOpen = true;
}

bool MorseDecoder::isGlitch(KeyTime length) const
{
    return static_cast<double>(length) < GlitchDots * m_speed.dotMeanUs();
}

void MorseDecoder::endCharacter()
{
    if (!m_characterOpen)
        return;
    m_characterOpen = false;
    if (m_current.elements.empty())
        return; // opened by a click only
    DecodedSign sign = std::move(m_current);
    m_current = DecodedSign{};
    const auto found = m_characterOfPattern.constFind(sign.pattern);
    sign.known = found != m_characterOfPattern.constEnd();
    sign.text = sign.known ? *found : u'[' + sign.pattern + u']';
    sign.dotUs = m_speed.dotUs();
    m_out.push_back(std::move(sign));
}

void MorseDecoder::endWord()
{
    if (!m_wordOpen)
        return;
    m_wordOpen = false;
    DecodedSign space;
    space.kind = DecodedSign::Kind::WordSpace;
    space.text = QStringLiteral(" ");
    m_out.push_back(std::move(space));
}

void MorseDecoder::keyStuck()
{
    DecodedSign message;
    message.kind = DecodedSign::Kind::Message;
    message.text = QStringLiteral("Manipulateur bloqué\u202F?");
    m_out.push_back(std::move(message));
    // What was being sent is lost; the learned speed stays, the sender being the same.
    m_characterOpen = false;
    m_current = DecodedSign{};
    m_early.clear();
    m_wordOpen = false;
    m_afterWordGap = false;
    m_ignoreUp = true;
}

std::vector<DecodedSign> MorseDecoder::takeDecoded()
{
    std::vector<DecodedSign> out;
    out.swap(m_out);
    return out;
}

double MorseDecoder::wordsPerMinute() const
{
    return m_calibrated ? WordsPerMinute(m_speed.dotUs()) : 0;
}

void MorseDecoder::reset()
{
    auto patterns = std::move(m_characterOfPattern);
    *this = MorseDecoder(SignTable{});
    m_characterOfPattern = std::move(patterns);
}
