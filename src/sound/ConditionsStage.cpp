#include "sound/ConditionsStage.h"

#include "common/WavFormat.h"
#include "signs/SignTable.h"
#include "sound/ToneSynthesis.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <vector>

namespace {

constexpr int Rate = WavFormat::SampleRate;
constexpr int BlockWords = 4096;
constexpr quint64 Golden = 0x9e3779b97f4a7c15ULL;

// splitmix64: small and fast, enough for sound; each part of the stage draws from a stream of its own, so that
// turning one condition on does not change what another draws.
quint64 Mix(quint64 z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

class Random
{
public:
    Random(quint64 seed, quint64 part) : m_state(Mix(seed ^ Mix(part))) {}
    quint64 next() { return Mix(m_state += Golden); }
    // 0 <= r < 1
    double uniform() { return double(next() >> 11) * 0x1.0p-53; }
    double between(double low, double high) { return low + (high - low) * uniform(); }

private:
    quint64 m_state;
};

// The gains of a raised-cosine ramp of `length` samples, rising: 0.5 (1 - cos(pi (j + 0.5) / length)).
std::vector<float> RampGains(qint64 length)
{
    std::vector<float> gains(size_t(std::max<qint64>(length, 0)));
    for (size_t j = 0; j < gains.size(); ++j)
        gains[j] = float(0.5 * (1 - std::cos(std::numbers::pi * (double(j) + 0.5) / double(length))));
    return gains;
}

// Ramps at both ends of a tone of `count` samples, each at most half the tone.
class Edges
{
public:
    explicit Edges(qint64 samples) : m_samples(samples) {}
    bool on() const { return m_samples > 0; }
    // Ready for a tone of `count` samples.
    void setTone(qint64 count)
    {
        const qint64 length = std::min(m_samples, count / 2);
        if (length != qint64(m_gains.size()))
            m_gains = RampGains(length);
        m_count = count;
    }
    // The gain of sample j of the tone.
    float gain(qint64 j) const
    {
        const qint64 fromEnd = m_count - 1 - j;
        const qint64 ramp = qint64(m_gains.size());
        if (j < ramp)
            return m_gains[size_t(j)];
        return fromEnd < ramp ? m_gains[size_t(fromEnd)] : 1.0f;
    }
    // Multiplies `samples`, the samples j0 to j0 + count - 1 of the tone, by their gains (only the ramps change).
    void apply(float* samples, qint64 j0, qint64 count) const
    {
        const qint64 ramp = qint64(m_gains.size());
        for (qint64 j = j0; j < std::min(j0 + count, ramp); ++j)
            samples[j - j0] *= m_gains[size_t(j)];
        for (qint64 j = std::max(j0, m_count - ramp); j < j0 + count; ++j)
            samples[j - j0] *= m_gains[size_t(m_count - 1 - j)];
    }

private:
    qint64 m_samples;
    qint64 m_count = 0;
    std::vector<float> m_gains;
};

// Hand-sent timing: each tone and each gap longer or shorter by a random fraction of at most `fraction`, in whole
// samples, rounded towards the clean length. Once the file has drifted by more than a dot from its clean length,
// changes go the other way, so that the speed stays the user's even over a short text.
class HandTiming
{
public:
    HandTiming(double fraction, double dotSamples, quint64 seed)
        : m_fraction(fraction), m_dotSamples(dotSamples), m_random(seed, 1)
    {}
    qsizetype length(qsizetype bytes)
    {
        const double change = m_fraction * (2 * m_random.uniform() - 1);
        auto delta = qint64(change * (double(bytes) / WavFormat::BytesPerSample));
        if (std::abs(double(m_drift)) > m_dotSamples && (delta > 0) == (m_drift > 0))
            delta = -delta;
        m_drift += delta;
        return bytes + qsizetype(delta) * WavFormat::BytesPerSample;
    }

private:
    double m_fraction;
    double m_dotSamples;
    Random m_random;
    qint64 m_drift = 0; // samples written beyond the clean length
};

// Slow fading of the main signal: 1 - depth (1 + cos(w n + phase)) / 2, between 1 - depth and 1. The cosine is
// taken once a block and turned on by a rotation every 64 samples, followed linearly in between (at most 0.03 % of
// the depth away).
class Fading
{
public:
    Fading(double depth, double periodS, quint64 seed)
        : m_depth(depth), m_step(2 * std::numbers::pi / (periodS * Rate)),
          m_phase(Random(seed, 2).between(0, 2 * std::numbers::pi)), m_turnCos(std::cos(m_step * Piece)),
          m_turnSin(std::sin(m_step * Piece))
    {}
    void apply(float* block, qint64 first, int count) const
    {
        double c = std::cos(m_step * double(first) + m_phase), s = std::sin(m_step * double(first) + m_phase);
        for (int i = 0; i < count; i += Piece) {
            const auto g0 = float(gain(c));
            const double next = c * m_turnCos - s * m_turnSin;
            s = s * m_turnCos + c * m_turnSin;
            c = next;
            const auto slope = float((gain(c) - g0) / Piece);
            std::array<float, Piece> gains;
            for (int k = 0; k < Piece; ++k)
                gains[size_t(k)] = g0 + slope * float(k);
            const int n = std::min(Piece, count - i);
            float* to = block + i;
            for (int k = 0; k < n; ++k)
                to[k] *= gains[size_t(k)];
        }
    }

private:
    static constexpr int Piece = 64;
    double gain(double cosine) const { return 1 - m_depth * (1 + cosine) / 2; }

    double m_depth, m_step, m_phase, m_turnCos, m_turnSin;
};

// White noise: each sample the sum of four uniform 16-bit draws (close to a normal law, and bounded at 3.46
// standard deviations, which lets the stage know the loudest sample in advance). Eight xorshift generators side by
// side, one per sample of eight, so that the compiler can run them together.
class Noise
{
public:
    Noise(double sigma, quint64 seed) : m_factor(float(sigma / UnitSigma()))
    {
        Random random(seed, 3);
        for (quint32& lane : m_lanes)
            lane = quint32(random.next() | 1);
    }
    double peak() const { return Half * double(m_factor); }
    void addTo(float* block, int count)
    {
        for (int i = 0; i < count; i += Lanes) {
            std::array<float, Lanes> values;
            for (int l = 0; l < Lanes; ++l) {
                quint32 x = m_lanes[size_t(l)];
                x ^= x << 13;
                x ^= x >> 17;
                x ^= x << 5;
                quint32 y = x ^ (x << 13);
                y ^= y >> 17;
                y ^= y << 5;
                m_lanes[size_t(l)] = y;
                const auto sum = qint32(x & 0xffff) + qint32(x >> 16) + qint32(y & 0xffff) + qint32(y >> 16);
                values[size_t(l)] = float(sum - Half) * m_factor;
            }
            for (int l = 0; l < Lanes && i + l < count; ++l)
                block[i + l] += values[size_t(l)];
        }
    }

private:
    static constexpr int Lanes = 8;
    static constexpr qint32 Half = 2 * 65535; // the mean of the sum, and its largest distance from it
    static double UnitSigma() { return std::sqrt(4 * (65536.0 * 65536.0 - 1) / 12); }

    std::array<quint32, Lanes> m_lanes{};
    float m_factor;
};

// The second station: random call signs and groups of five at about the user's speed, a tone of its own (whole
// hertz) from a continuous oscillator, keyed on and off, with the soft edges of the main signal when those are on.
class SecondStation
{
public:
    SecondStation(const SignTable& signs, double userDotSamples, double hz, double amplitude, qint64 edgeSamples,
                  quint64 seed)
        : m_signs(signs), m_random(seed, 4), m_amplitude(float(amplitude)), m_hz(int(std::lround(hz))),
          m_edges(edgeSamples), m_tone(BlockWords)
    {
        m_dot = userDotSamples / m_random.between(0.8, 1.2);
        // One second of the tone, read straight on: with whole hertz it joins its start without a seam.
        m_sine.resize(Rate);
        for (int n = 0; n < Rate; ++n)
            m_sine[size_t(n)] = m_amplitude * float(std::sin(2 * std::numbers::pi * double(m_hz) * n / Rate));
        m_spans.push_back({qint64(m_random.between(0, 1.5) * Rate), false});
    }

    void addTo(float* block, int count);

private:
    struct Span
    {
        qint64 length; // samples
        bool on;
    };

    void nextSpan()
    {
        m_done = 0;
        if (++m_next < m_spans.size() && m_spans[m_next].on)
            m_edges.setTone(m_spans[m_next].length);
    }

    QString word();
    // The elements and gaps of one more word, spaced 1, 3 and 7 dots.
    void queueWord();

    const SignTable& m_signs;
    Random m_random;
    float m_amplitude;
    int m_hz;
    int m_phase = 0; // index in m_sine
    Edges m_edges;
    double m_dot = 0; // samples
    std::vector<float> m_sine, m_tone;
    std::vector<Span> m_spans;
    size_t m_next = 0; // the span being written
    qint64 m_done = 0; // samples of it written
};

void SecondStation::addTo(float* block, int count)
{
    for (int i = 0; i < count;) {
        if (m_next == m_spans.size())
            queueWord();
        const Span& span = m_spans[m_next];
        const int k = int(std::min<qint64>({span.length - m_done, count - i, Rate - m_phase}));
        if (span.on) {
            float* tone = m_tone.data();
            std::copy_n(m_sine.data() + m_phase, k, tone);
            if (m_edges.on())
                m_edges.apply(tone, m_done, k);
            for (int j = 0; j < k; ++j)
                block[i + j] += tone[j];
        }
        if ((m_phase += k) == Rate)
            m_phase = 0;
        i += k;
        if ((m_done += k) == span.length)
            nextSpan();
    }
}

QString SecondStation::word()
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    static const QString figures = QStringLiteral("0123456789");
    auto pick = [this](const QString& from, int count) {
        QString s;
        for (int i = 0; i < count; ++i)
            s += from[qsizetype(m_random.uniform() * double(from.size()))];
        return s;
    };
    if (m_random.uniform() < 0.5)
        return pick(letters + figures, 5);
    // A call sign: a prefix of one or two letters, a figure, a suffix of one to three letters.
    return pick(letters, 1 + int(m_random.uniform() * 2)) + pick(figures, 1) +
           pick(letters, 1 + int(m_random.uniform() * 3));
}

void SecondStation::queueWord()
{
    m_spans.erase(m_spans.begin(), m_spans.begin() + qsizetype(m_next));
    m_next = 0;
    auto add = [this](double dots, bool on) {
        m_spans.push_back({std::max<qint64>(1, std::llround(dots * m_dot)), on});
    };
    for (const QChar c : word()) {
        const auto pattern = m_signs.patternOf(QString(c));
        if (!pattern || pattern->isEmpty())
            continue;
        for (const QChar symbol : *pattern) {
            add(symbol == u'.' ? 1 : 3, true);
            add(1, false);
        }
        m_spans.back().length += std::llround(2 * m_dot);
    }
    add(4, false);
    if (m_spans[0].on)
        m_edges.setTone(m_spans[0].length);
}

// The 16-bit sample a player reads from the low byte `low` and the high byte `high`.
qint16 SampleOf(uchar low, uchar high)
{
    return qint16(quint16(quint16(high) << 8 | low));
}

// A float rounded to the nearest whole number (a half to the even one), in a way the compiler can run on several
// samples at once: |v| < 2^22.
qint16 Rounded(float v)
{
    const float shifted = v + 12582912.0f; // 1.5 x 2^23: the whole part lands in the low bits of the mantissa
    qint32 bits = 0;
    std::memcpy(&bits, &shifted, sizeof bits);
    return qint16(bits - 0x4B400000);
}

} // namespace

class ConditionsStage::Impl
{
public:
    Impl(const ReceptionConditions& c, const SampleRuns& runs, const SignTable& signs, quint64 seed, ByteSink& out);

    void appendRun(const uchar* data, qsizetype size, qsizetype toneBytes);
    void finish();
    double scale() const { return m_scale; }

private:
    void prepareTone(const QByteArray& period);
    void emitTone(qsizetype cleanBytes);
    void emitSilence();
    void completeWord(uchar high);
    void flushBlock();

    ByteSink& m_out;
    QByteArray m_period; // the clean tone's bytes, one period
    // The tone's samples from its start, as read from an even or an odd byte offset (the second begins with the
    // sample of its bytes 1 and 2), repeated to fill a block from any point of the period.
    std::array<std::vector<float>, 2> m_toneWords;
    double m_tonePower = 0; // of the clean tone while it sounds
    int m_tonePeak = 0;     // its loudest sample, at either offset
    std::optional<HandTiming> m_hand;
    Edges m_edges;
    std::optional<Fading> m_fading;
    std::optional<SecondStation> m_station;
    std::optional<Noise> m_noise;
    double m_scale = 1;

    qint64 m_pos = 0;               // bytes of the clean stream's layout written so far (timing changes included)
    uchar m_low = 0;                // the low byte of the sample under way when m_pos is odd
    qsizetype m_pendingSilence = 0; // silent bytes not written yet: a gap's length is known when the next tone comes
    qint64 m_toneFirst = -1, m_toneCount = 0; // samples of the last tone, for its edges
    std::array<float, BlockWords> m_block{};
    int m_fill = 0;
    qint64 m_blockFirst = 0; // index of the block's first sample in the file
    std::array<qint16, BlockWords> m_samples{};
};

ConditionsStage::Impl::Impl(const ReceptionConditions& c, const SampleRuns& runs, const SignTable& signs, quint64 seed,
                            ByteSink& out)
    : m_out(out), m_edges(c.edges ? std::llround(c.edgeMs * Rate / 1000) : 0)
{
    prepareTone(runs.dot.left(runs.periodBytes));
    const double dotSamples = double(runs.dotBytes) / WavFormat::BytesPerSample;
    const double toneHz = double(Rate) / double(std::max<qsizetype>(m_period.size() / 2, 1));
    if (c.hand)
        m_hand.emplace(c.handPercent / 100, dotSamples, seed);
    if (c.fading)
        m_fading.emplace(c.fadingDepth / 100, c.fadingPeriodS, seed);
    double loudest = m_tonePeak;
    if (c.qrm) {
        // Its power, that of a sine, is amplitude² / 2; its tone stays at 100 Hz at least.
        const double amplitude = std::sqrt(2 * m_tonePower * std::pow(10, c.qrmLevelDb / 10));
        m_station.emplace(signs, dotSamples, std::max(100.0, toneHz + c.qrmOffsetHz), amplitude,
                          m_edges.on() ? std::llround(c.edgeMs * Rate / 1000) : 0, seed);
        loudest += amplitude;
    }
    if (c.noise) {
        m_noise.emplace(std::sqrt(m_tonePower / std::pow(10, c.snrDb / 10)), seed);
        loudest += m_noise->peak();
    }
    // Every part is bounded (the noise too), so the loudest possible sum is known before the first sample: one
    // factor for the whole file keeps every level in proportion and needs no second pass over hundreds of MB.
    if (loudest > 32767)
        m_scale = 32767 / loudest;
}

void ConditionsStage::Impl::prepareTone(const QByteArray& period)
{
    m_period = period.isEmpty() ? QByteArray(2, '\0') : period;
    const qsizetype bytes = m_period.size();
    auto byte = [&](qsizetype i) { return uchar(m_period[i % bytes]); };
    const qsizetype words = bytes / 2;
    for (int parity = 0; parity < 2; ++parity) {
        std::vector<float>& table = m_toneWords[size_t(parity)];
        table.resize(size_t(BlockWords + words));
        for (size_t j = 0; j < table.size(); ++j)
            table[j] = SampleOf(byte(2 * qsizetype(j) + parity), byte(2 * qsizetype(j) + parity + 1));
    }
    double power = 0;
    for (qsizetype j = 0; j < words; ++j)
        power += double(m_toneWords[0][size_t(j)]) * m_toneWords[0][size_t(j)];
    m_tonePower = power / double(words);
    // Next to silence too: the low byte of a tone's last sample may meet a silent high byte, and the other way.
    const QByteArray all = m_period + QByteArray(1, '\0');
    for (const char low : all) {
        for (const char high : all)
            m_tonePeak = std::max(m_tonePeak, std::abs(int(SampleOf(uchar(low), uchar(high)))));
    }
}

void ConditionsStage::Impl::appendRun(const uchar* data, qsizetype size, qsizetype toneBytes)
{
    Q_UNUSED(data); // a run's tone is whole periods of the tone, its silence zero bytes
    if (toneBytes > 0) {
        emitSilence();
        emitTone(toneBytes);
    }
    m_pendingSilence += size - toneBytes;
}

void ConditionsStage::Impl::emitTone(qsizetype cleanBytes)
{
    // A tone is whole periods: a longer one goes on with the same periods.
    const qsizetype bytes = m_hand ? m_hand->length(cleanBytes) : cleanBytes;
    // The tone's samples are those whose low byte is one of its bytes.
    m_toneFirst = (m_pos + 1) / 2;
    m_toneCount = bytes / 2;
    if (m_edges.on())
        m_edges.setTone(m_toneCount);
    const int parity = int(m_pos & 1);
    if (parity)
        completeWord(uchar(m_period[0]));
    const std::vector<float>& table = m_toneWords[size_t(parity)];
    const qint64 period = m_period.size() / 2;
    const qint64 whole = (bytes - parity) / 2;
    for (qint64 j = 0; j < whole;) {
        const int k = int(std::min<qint64>(whole - j, BlockWords - m_fill));
        float* to = m_block.data() + m_fill;
        std::copy_n(table.data() + j % period, k, to);
        if (m_edges.on())
            m_edges.apply(to, j, k);
        m_fill += k;
        m_pos += 2 * qint64(k);
        j += k;
        if (m_fill == BlockWords)
            flushBlock();
    }
    if ((bytes - parity) & 1) {
        m_low = uchar(m_period[(bytes - 1) % m_period.size()]);
        ++m_pos;
    }
}

void ConditionsStage::Impl::emitSilence()
{
    qsizetype bytes = m_hand && m_pendingSilence > 0 ? m_hand->length(m_pendingSilence) : m_pendingSilence;
    m_pendingSilence = 0;
    if (bytes > 0 && (m_pos & 1)) {
        completeWord(0);
        --bytes;
    }
    for (qint64 words = bytes / 2; words > 0;) {
        const int k = int(std::min<qint64>(words, BlockWords - m_fill));
        std::fill_n(m_block.begin() + m_fill, k, 0.0f);
        m_fill += k;
        m_pos += 2 * qint64(k);
        words -= k;
        if (m_fill == BlockWords)
            flushBlock();
    }
    if (bytes & 1) {
        m_low = 0;
        ++m_pos;
    }
}

void ConditionsStage::Impl::completeWord(uchar high)
{
    const qint64 j = m_pos / 2 - m_toneFirst;
    const float s = SampleOf(m_low, high);
    m_block[size_t(m_fill++)] = m_edges.on() && j >= 0 && j < m_toneCount ? s * m_edges.gain(j) : s;
    ++m_pos;
    if (m_fill == BlockWords)
        flushBlock();
}

void ConditionsStage::Impl::flushBlock()
{
    float* block = m_block.data();
    if (m_fading)
        m_fading->apply(block, m_blockFirst, m_fill);
    if (m_station)
        m_station->addTo(block, m_fill);
    if (m_noise)
        m_noise->addTo(block, m_fill);
    const auto scale = float(m_scale);
    for (int i = 0; i < m_fill; ++i)
        m_samples[size_t(i)] = qToLittleEndian(Rounded(std::clamp(block[i] * scale, -32767.0f, 32767.0f)));
    m_out.append(reinterpret_cast<const char*>(m_samples.data()), qsizetype(m_fill) * WavFormat::BytesPerSample);
    m_blockFirst += m_fill;
    m_fill = 0;
}

void ConditionsStage::Impl::finish()
{
    emitSilence();
    if (m_fill > 0)
        flushBlock();
}

// ---- ConditionsStage

ConditionsStage::ConditionsStage(const ReceptionConditions& conditions, const SampleRuns& runs, const SignTable& signs,
                                 quint64 seed, ByteSink& out)
    : d(std::make_unique<Impl>(conditions, runs, signs, seed, out))
{}

ConditionsStage::~ConditionsStage() = default;

void ConditionsStage::append(const char* data, qsizetype size)
{
    d->appendRun(reinterpret_cast<const uchar*>(data), size, 0);
}

void ConditionsStage::appendRun(const char* data, qsizetype size, qsizetype toneBytes)
{
    d->appendRun(reinterpret_cast<const uchar*>(data), size, toneBytes);
}

void ConditionsStage::finish()
{
    d->finish();
}

double ConditionsStage::scale() const
{
    return d->scale();
}
