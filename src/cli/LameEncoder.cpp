#include "cli/LameEncoder.h"

#include "cli/CheckedFile.h"
#include "cli/SampleBlockEncoder.h"
#include "common/WavFormat.h"

#include <lame/lame.h>
#include <vector>

namespace {

// LAME's algorithm quality, 0 (slowest) to 9: from 7 on it skips the noise shaping and the psychoacoustic search,
// which a pure tone at 8000 Hz does not need, and encodes twice as fast as its default of 3. The decoded tone keeps
// the same timing and stays within a few dB of the default's fidelity.
constexpr int AlgorithmQuality = 7;

constexpr qsizetype BlockSamples = qsizetype(1) << 15;

class LameEncoder : public SampleBlockEncoder
{
public:
    explicit LameEncoder(int kbps) : SampleBlockEncoder(BlockSamples), m_kbps(kbps) {}
    ~LameEncoder() override
    {
        if (m_lame)
            lame_close(m_lame);
    }
    LameEncoder(const LameEncoder&) = delete;
    LameEncoder& operator=(const LameEncoder&) = delete;

    Failure create(const QString& path) override;
    Failure close() override;

private:
    Failure encode(const short* samples, qsizetype count) override;
    void writeInfoFrame();

    int m_kbps;
    lame_t m_lame = nullptr;
    CheckedFile m_out;
    // What LAME asks room for: 1.25 bytes a sample and 7200 more.
    std::vector<unsigned char> m_mp3 = std::vector<unsigned char>(size_t(BlockSamples) * 5 / 4 + 7200);
};

Failure LameEncoder::create(const QString& path)
{
    m_lame = lame_init();
    if (!m_lame)
        return QStringLiteral("l'encodeur MP3 n'a pas pu être créé");
    lame_set_in_samplerate(m_lame, WavFormat::SampleRate);
    lame_set_out_samplerate(m_lame, WavFormat::SampleRate);
    lame_set_num_channels(m_lame, 1);
    lame_set_mode(m_lame, MONO);
    lame_set_VBR(m_lame, vbr_off);
    lame_set_brate(m_lame, m_kbps);
    lame_set_quality(m_lame, AlgorithmQuality);
    lame_set_write_id3tag_automatic(m_lame, 0);
    if (lame_init_params(m_lame) < 0)
        return QStringLiteral("l'encodeur MP3 refuse ces réglages");
    return m_out.open(path);
}

Failure LameEncoder::encode(const short* samples, qsizetype count)
{
    const int bytes = lame_encode_buffer(m_lame, samples, nullptr, int(count), m_mp3.data(), int(m_mp3.size()));
    if (bytes < 0)
        return u"l'encodeur MP3 a échoué (" + QString::number(bytes) + u')';
    m_out.write(m_mp3.data(), bytes);
    return {};
}

// The first frame, left empty by LAME, now says how many samples the file holds and how many to skip at each end.
void LameEncoder::writeInfoFrame()
{
    const size_t size = lame_get_lametag_frame(m_lame, nullptr, 0);
    if (size == 0)
        return;
    std::vector<unsigned char> frame(size);
    lame_get_lametag_frame(m_lame, frame.data(), size);
    m_out.writeAt(0, frame.data(), qint64(size));
}

Failure LameEncoder::close()
{
    writeOut();
    if (m_lame && !failure()) {
        const int bytes = lame_encode_flush(m_lame, m_mp3.data(), int(m_mp3.size()));
        if (bytes < 0)
            setFailure(u"l'encodeur MP3 a échoué (" + QString::number(bytes) + u')');
        else
            m_out.write(m_mp3.data(), bytes);
        writeInfoFrame();
    }
    if (const Failure failed = m_out.close())
        return failed;
    return failure();
}

} // namespace

Result<std::unique_ptr<SoundFileEncoder>> MakeLameEncoder(int kbps)
{
    return std::unique_ptr<SoundFileEncoder>(std::make_unique<LameEncoder>(kbps));
}
