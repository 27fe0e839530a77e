#include "cli/OpusFileEncoder.h"

#include "cli/CheckedFile.h"
#include "cli/SampleBlockEncoder.h"
#include "common/WavFormat.h"

#include <QtEndian>

#include <cstring>
#include <ogg/ogg.h>
#include <opus/opus.h>
#include <vector>

namespace {

constexpr int FrameSamples = WavFormat::SampleRate / 50; // 20 ms
constexpr int GranuleRate = 48000;                       // Ogg Opus counts time at 48 kHz whatever the input
constexpr int GranulePerSample = GranuleRate / WavFormat::SampleRate;
// libopus's effort, 0 to 10: at 3 it leaves out searches that a pure tone gains nothing from, in less than two thirds
// of the time of its default of 10, the decoded tone as close to the sent one (28 dB against 29 dB at 24 kbit/s).
constexpr int Complexity = 3;
constexpr int MaxPacketBytes = 4000;

class OpusFileEncoder : public SampleBlockEncoder
{
public:
    explicit OpusFileEncoder(int kbps) : SampleBlockEncoder(FrameSamples * 64), m_kbps(kbps) {}
    ~OpusFileEncoder() override
    {
        if (m_opus)
            opus_encoder_destroy(m_opus);
        ogg_stream_clear(&m_ogg);
    }
    OpusFileEncoder(const OpusFileEncoder&) = delete;
    OpusFileEncoder& operator=(const OpusFileEncoder&) = delete;

    Failure create(const QString& path) override;
    Failure close() override;

private:
    Failure encode(const short* samples, qsizetype count) override;
    Failure encodeFrame(const short* frame, bool last);
    void writeHeaders();
    void writePages(bool flush);

    int m_kbps;
    OpusEncoder* m_opus = nullptr;
    ogg_stream_state m_ogg{};
    int m_preSkip = 0;     // at 48 kHz: the decoder's first samples, before the sound
    quint64 m_samples = 0; // handed over, at 8000 Hz
    qint64 m_packets = 0;
    std::vector<short> m_tail; // less than a frame, kept for the next block
    std::vector<unsigned char> m_packet = std::vector<unsigned char>(MaxPacketBytes);
    CheckedFile m_out;
};

Failure OpusFileEncoder::create(const QString& path)
{
    int error = OPUS_OK;
    m_opus = opus_encoder_create(WavFormat::SampleRate, 1, OPUS_APPLICATION_AUDIO, &error);
    if (!m_opus)
        return u"l'encodeur Opus n'a pas pu être créé (" + QString::fromLatin1(opus_strerror(error)) + u')';
    opus_encoder_ctl(m_opus, OPUS_SET_BITRATE(m_kbps * 1000));
    opus_encoder_ctl(m_opus, OPUS_SET_COMPLEXITY(Complexity));
    opus_int32 lookahead = 0;
    opus_encoder_ctl(m_opus, OPUS_GET_LOOKAHEAD(&lookahead));
    m_preSkip = int(lookahead) * GranulePerSample;
    ogg_stream_init(&m_ogg, 1);
    if (Failure failed = m_out.open(path))
        return failed;
    writeHeaders();
    return {};
}

// The identification header and the comment header, each on a page of its own.
void OpusFileEncoder::writeHeaders()
{
    unsigned char head[19] = {'O', 'p', 'u', 's', 'H', 'e', 'a', 'd', 1, 1};
    qToLittleEndian<quint16>(quint16(m_preSkip), head + 10);
    qToLittleEndian<quint32>(quint32(WavFormat::SampleRate), head + 12);
    const char* vendor = opus_get_version_string();
    std::vector<unsigned char> tags(8 + 4 + std::strlen(vendor) + 4, 0);
    std::memcpy(tags.data(), "OpusTags", 8);
    qToLittleEndian<quint32>(quint32(std::strlen(vendor)), tags.data() + 8);
    std::memcpy(tags.data() + 12, vendor, std::strlen(vendor));
    ogg_packet packet{head, sizeof head, 1, 0, 0, 0};
    ogg_stream_packetin(&m_ogg, &packet);
    writePages(true);
    packet = {tags.data(), long(tags.size()), 0, 0, 0, 1};
    ogg_stream_packetin(&m_ogg, &packet);
    writePages(true);
}

void OpusFileEncoder::writePages(bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&m_ogg, &page) : ogg_stream_pageout(&m_ogg, &page)) {
        m_out.write(page.header, page.header_len);
        m_out.write(page.body, page.body_len);
    }
}

Failure OpusFileEncoder::encodeFrame(const short* frame, bool last)
{
    const opus_int32 bytes = opus_encode(m_opus, frame, FrameSamples, m_packet.data(), MaxPacketBytes);
    if (bytes < 0)
        return u"l'encodeur Opus a échoué (" + QString::fromLatin1(opus_strerror(bytes)) + u')';
    ++m_packets;
    // The last packet's position cuts the decoded sound to the samples handed over.
    const qint64 granule =
        last ? m_preSkip + qint64(m_samples) * GranulePerSample : m_packets * FrameSamples * GranulePerSample;
    ogg_packet packet{m_packet.data(), bytes, 0, last ? 1 : 0, granule, m_packets + 1};
    ogg_stream_packetin(&m_ogg, &packet);
    writePages(last);
    return {};
}

Failure OpusFileEncoder::encode(const short* samples, qsizetype count)
{
    m_samples += quint64(count);
    m_tail.insert(m_tail.end(), samples, samples + count);
    size_t at = 0;
    for (; m_tail.size() - at >= FrameSamples; at += FrameSamples) {
        if (Failure failed = encodeFrame(m_tail.data() + at, false))
            return failed;
    }
    m_tail.erase(m_tail.begin(), m_tail.begin() + qsizetype(at));
    return {};
}

Failure OpusFileEncoder::close()
{
    writeOut();
    if (m_opus && !failure()) {
        // Silence after the sound for the encoder's look-ahead, to a whole frame, so that its last samples come out.
        const size_t wanted = m_tail.size() + size_t(m_preSkip / GranulePerSample);
        m_tail.resize((wanted + FrameSamples - 1) / FrameSamples * FrameSamples);
        for (size_t at = 0; at < m_tail.size() && !failure(); at += FrameSamples)
            setFailure(encodeFrame(m_tail.data() + at, at + FrameSamples == m_tail.size()));
    }
    if (Failure failed = m_out.close())
        return failed;
    return failure();
}

} // namespace

Result<std::unique_ptr<SoundFileEncoder>> MakeOpusFileEncoder(int kbps)
{
    return std::unique_ptr<SoundFileEncoder>(std::make_unique<OpusFileEncoder>(kbps));
}
