#include "cli/LameEncoder.h"

#include "cli/CheckedFile.h"
#include "cli/SampleBlockEncoder.h"
#include "common/WavFormat.h"

#include <algorithm>
#include <array>
#include <deque>
#include <future>
#include <lame/lame.h>
#include <vector>

namespace {

// LAME's algorithm quality, 0 (slowest) to 9: from 7 on it skips the noise shaping and the psychoacoustic search,
// which a pure tone at 8000 Hz does not need, and encodes twice as fast as its default of 3. The decoded tone keeps
// the same timing and stays within a few dB of the default's fidelity.
constexpr int AlgorithmQuality = 7;

// Above the highest tone, the band that keying a tone on and off spreads around it: a key edge of 1 ms or more keeps
// most of its shape within 1000 Hz of the tone. LAME's filter then cuts what lies above, which it need not encode:
// with a tone of 889 Hz a sixth less time.
constexpr int KeyingBandHz = 1000;
int lowpassFor(int highestHz)
{
    const int lowpass = highestHz + KeyingBandHz;
    return highestHz > 0 && lowpass < WavFormat::SampleRate / 2 ? lowpass : 0;
}

// At 8000 Hz a frame holds 576 samples, and at a whole number of kbit/s exactly 9 bytes per kbit/s: never a padding
// byte, so that frames can be counted and cut by their size.
constexpr int FrameSamples = 576;
constexpr int frameBytes(int kbps)
{
    return 9 * kbps;
}

// A frame depends on the samples a little before and after its own (the analysis filters, the windows that overlap,
// the encoder's look-ahead, together under four frames either side): each segment's encoder is given eight frames'
// worth more on each side and its frames there are dropped. Without the bit reservoir no frame borrows room from the
// frame before it, so the frames of two encoders follow each other as those of one.
constexpr int MarginFrames = 8;
constexpr int Margin = MarginFrames * FrameSamples;

using Bytes = std::vector<unsigned char>;

struct Segment
{
    std::vector<short> samples; // the segment's own, with the margins
    int skipFrames = 0;         // the frames of the margin before
    int keepFrames = -1;        // the segment's own frames, -1 for all of them up to the end of the sound
    bool first = false;         // the encoder leaves room for the header frame, whose content it then gives
};

struct EncodedSegment
{
    Bytes frames;
    Bytes header; // the first segment's
    Failure failure;
};

// The settings of every encoder of a stream.
struct LameSettings
{
    int kbps = 0;
    int lowpassHz = 0; // 0: LAME's own
};

lame_t makeLame(const LameSettings& settings, bool header)
{
    lame_t lame = lame_init();
    if (!lame)
        return nullptr;
    lame_set_in_samplerate(lame, WavFormat::SampleRate);
    lame_set_out_samplerate(lame, WavFormat::SampleRate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, settings.kbps);
    if (settings.lowpassHz > 0)
        lame_set_lowpassfreq(lame, settings.lowpassHz);
    lame_set_quality(lame, AlgorithmQuality);
    // Long blocks only: LAME would switch to short ones at every key edge, which costs it a quarter more time and
    // gives a tone keyed at 8000 Hz no closer a sound (the same fidelity, frame by frame, decoded back).
    lame_set_no_short_blocks(lame, 1);
    lame_set_disable_reservoir(lame, 1);
    lame_set_bWriteVbrTag(lame, header ? 1 : 0);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return nullptr;
    }
    return lame;
}

QString lameFailure(int code)
{
    return u"l'encodeur MP3 a échoué (" + QString::number(code) + u')';
}

// All the frames of the segment's encoder, the header frame included, and the header's content: at a constant rate,
// as many frames as the samples fill, with the encoder's delay and the header, and no more bytes. The samples go in
// by pieces: LAME copies each piece it is given, whole, into buffers of its own.
EncodedSegment runLame(lame_t lame, const Segment& segment, int kbps)
{
    constexpr qsizetype Piece = qsizetype(1) << 15;
    EncodedSegment out;
    const auto count = qsizetype(segment.samples.size());
    Bytes mp3(size_t(count / FrameSamples + MarginFrames) * size_t(frameBytes(kbps)));
    int bytes = 0;
    for (qsizetype at = 0; at < count && bytes >= 0; at += Piece) {
        const int written =
            lame_encode_buffer(lame, segment.samples.data() + at, nullptr, int(std::min(Piece, count - at)),
                               mp3.data() + bytes, int(mp3.size()) - bytes);
        bytes = written < 0 ? written : bytes + written;
    }
    const int flushed = bytes < 0 ? 0 : lame_encode_flush(lame, mp3.data() + bytes, int(mp3.size()) - bytes);
    if (bytes < 0 || flushed < 0) {
        out.failure = lameFailure(std::min(bytes, flushed));
        return out;
    }
    mp3.resize(size_t(bytes) + size_t(flushed));
    out.frames = std::move(mp3);
    if (segment.first) {
        out.header.resize(lame_get_lametag_frame(lame, nullptr, 0));
        lame_get_lametag_frame(lame, out.header.data(), out.header.size());
    }
    return out;
}

EncodedSegment encodeSegment(const Segment& segment, const LameSettings& settings)
{
    const int kbps = settings.kbps;
    lame_t lame = makeLame(settings, segment.first);
    if (!lame)
        return {{}, {}, QStringLiteral("l'encodeur MP3 n'a pas pu être créé")};
    EncodedSegment out = runLame(lame, segment, kbps);
    lame_close(lame);
    if (out.failure)
        return out;
    // The first segment's header frame is the file's, written last: its room in the stream is already kept.
    const size_t size = size_t(frameBytes(kbps));
    const size_t from = std::min(out.frames.size(), size * size_t(segment.skipFrames + (segment.first ? 1 : 0)));
    size_t to = out.frames.size();
    if (segment.keepFrames >= 0)
        to = std::min(to, from + size * size_t(segment.keepFrames));
    out.frames.resize(to);
    out.frames.erase(out.frames.begin(), out.frames.begin() + qsizetype(from));
    return out;
}

// The CRC that the header gives of the frames and of itself (polynomial 0x8005, bits taken lowest first).
quint16 crc16(const unsigned char* data, size_t size, quint16 crc = 0)
{
    static const auto table = [] {
        std::array<quint16, 256> t{};
        for (unsigned byte = 0; byte < 256; ++byte) {
            auto c = quint16(byte);
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? quint16((c >> 1) ^ 0xA001) : quint16(c >> 1);
            t[byte] = c;
        }
        return t;
    }();
    for (size_t i = 0; i < size; ++i)
        crc = quint16((crc >> 8) ^ table[(crc ^ data[i]) & 0xFF]);
    return crc;
}

void putBigEndian(unsigned char* at, quint32 value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        at[i] = static_cast<unsigned char>(value & 0xFF);
}

// What the header frame says of the whole stream.
struct StreamFacts
{
    quint32 frames = 0; // without the header frame
    quint64 samples = 0;
    quint16 crc = 0; // of the frames
    int frameBytes = 0;
};

// The first segment's header frame ("Info": frame count, byte count, seek table; then the encoder's own part:
// delay and padding, length, CRCs) rewritten for the whole stream.
void describeStream(Bytes& header, const StreamFacts& facts)
{
    const auto info = std::search(header.begin(), header.end(), std::begin("Info"), std::end("Info") - 1);
    if (info == header.end() || header.size() < size_t(info - header.begin()) + 156)
        return;
    unsigned char* tag = &*info + 8; // after "Info" and its flags: frames, bytes, seek table, quality
    const quint32 total = (facts.frames + 1) * quint32(facts.frameBytes);
    putBigEndian(tag, facts.frames, 4);
    putBigEndian(tag + 4, total, 4);
    // Constant frames: the place of each hundredth of the sound is as far into the file.
    for (int i = 0; i < 100; ++i)
        tag[8 + i] = static_cast<unsigned char>(std::min<quint64>(
            255, (quint64(facts.frameBytes) + quint64(facts.frames) * quint64(facts.frameBytes) * quint64(i) / 100) *
                     256 / total));
    unsigned char* own = tag + 112;
    const quint64 padding = quint64(facts.frames) * FrameSamples - facts.samples - FrameSamples;
    putBigEndian(own + 21, (quint32(FrameSamples) << 12) | quint32(std::min<quint64>(padding, 0xFFF)), 3);
    putBigEndian(own + 28, total, 4);
    putBigEndian(own + 32, facts.crc, 2);
    putBigEndian(own + 34, crc16(header.data(), size_t(own + 34 - header.data())), 2);
}

class LameEncoder : public SampleBlockEncoder
{
public:
    LameEncoder(const LameSettings& settings, int segmentFrames)
        : SampleBlockEncoder(qsizetype(std::max(segmentFrames, MarginFrames)) * FrameSamples), m_settings(settings),
          m_segmentFrames(std::max(segmentFrames, MarginFrames))
    {}

    Failure create(const QString& path) override;
    Failure close() override;

private:
    Failure encode(const short* samples, qsizetype count) override;
    void start(const short* after, qsizetype afterCount, bool last);
    void collect(size_t pending);

    LameSettings m_settings;
    int m_segmentFrames;
    CheckedFile m_out;
    std::vector<short> m_before; // the margin before the waiting segment
    std::vector<short> m_waiting;
    bool m_anyWaiting = false;
    bool m_firstStarted = false;
    std::deque<std::future<EncodedSegment>> m_running;
    Bytes m_header;
    StreamFacts m_facts;
};

Failure LameEncoder::create(const QString& path)
{
    lame_t lame = makeLame(m_settings, true);
    if (!lame)
        return QStringLiteral("l'encodeur MP3 refuse ces réglages");
    lame_close(lame);
    m_facts.frameBytes = frameBytes(m_settings.kbps);
    if (Failure failed = m_out.open(path))
        return failed;
    const Bytes room(size_t(m_facts.frameBytes));
    m_out.write(room.data(), qint64(room.size()));
    return {};
}

// A segment waits for the beginning of the next one, its margin after.
Failure LameEncoder::encode(const short* samples, qsizetype count)
{
    if (m_anyWaiting) {
        collect(1); // one segment for each core
        start(samples, std::min<qsizetype>(count, Margin), false);
    }
    m_waiting.assign(samples, samples + count);
    m_anyWaiting = true;
    return failure();
}

void LameEncoder::start(const short* after, qsizetype afterCount, bool last)
{
    Segment segment;
    segment.first = !m_firstStarted;
    segment.skipFrames = int(m_before.size()) / FrameSamples;
    segment.keepFrames = last ? -1 : m_segmentFrames;
    segment.samples.reserve(m_before.size() + m_waiting.size() + size_t(afterCount));
    segment.samples = m_before;
    segment.samples.insert(segment.samples.end(), m_waiting.begin(), m_waiting.end());
    segment.samples.insert(segment.samples.end(), after, after + afterCount);
    const auto margin = std::min<size_t>(m_waiting.size(), Margin);
    m_before.assign(m_waiting.end() - qsizetype(margin), m_waiting.end());
    m_firstStarted = true;
    m_running.push_back(std::async(std::launch::async, encodeSegment, std::move(segment), m_settings));
}

// Writes out the segments encoded, in order, until no more than `pending` are left running.
void LameEncoder::collect(size_t pending)
{
    while (m_running.size() > pending) {
        EncodedSegment done = m_running.front().get();
        m_running.pop_front();
        if (done.failure) {
            setFailure(done.failure);
            continue;
        }
        if (!done.header.empty())
            m_header = std::move(done.header);
        m_out.write(done.frames.data(), qint64(done.frames.size()));
        m_facts.crc = crc16(done.frames.data(), done.frames.size(), m_facts.crc);
        m_facts.frames += quint32(done.frames.size() / size_t(m_facts.frameBytes));
    }
}

Failure LameEncoder::close()
{
    writeOut();
    if (!failure()) {
        start(nullptr, 0, true);
        collect(0);
    }
    collect(0);
    if (!failure() && !m_header.empty()) {
        m_facts.samples = sampleBytes() / 2;
        describeStream(m_header, m_facts);
        m_out.writeAt(0, m_header.data(), qint64(m_header.size()));
    }
    if (Failure failed = m_out.close())
        return failed;
    return failure();
}

} // namespace

Result<std::unique_ptr<SoundFileEncoder>> MakeLameEncoder(int kbps, int segmentFrames, int highestHz)
{
    return std::unique_ptr<SoundFileEncoder>(
        std::make_unique<LameEncoder>(LameSettings{kbps, lowpassFor(highestHz)}, segmentFrames));
}
