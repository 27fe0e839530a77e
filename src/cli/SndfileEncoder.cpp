#include "cli/SndfileEncoder.h"

#include "cli/CheckedFile.h"
#include "cli/LameEncoder.h"
#include "cli/OpusFileEncoder.h"
#include "cli/SampleBlockEncoder.h"
#include "cli/VorbisEncoder.h"
#include "common/WavFormat.h"

#include <algorithm>
#include <sndfile.h>

namespace {

struct FormatCode
{
    const char16_t* name;
    int major;
    int subtype;
};

constexpr FormatCode FormatCodes[] = {
    {u"flac", SF_FORMAT_FLAC, SF_FORMAT_PCM_16},
};

// Whether the library lists this container or coding among those it was built with.
bool listed(int code, int countCommand, int infoCommand)
{
    int count = 0;
    sf_command(nullptr, countCommand, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        if (sf_command(nullptr, infoCommand, &info, sizeof info) == 0 && info.format == code)
            return true;
    }
    return false;
}

QString libraryFailure(SNDFILE* file)
{
    return u"libsndfile\u202F: " + QString::fromLocal8Bit(sf_strerror(file));
}

class SndfileEncoder : public SampleBlockEncoder
{
public:
    explicit SndfileEncoder(int format) : SampleBlockEncoder(qsizetype(1) << 15), m_format(format) {}
    ~SndfileEncoder() override
    {
        if (m_file)
            sf_close(m_file);
    }
    SndfileEncoder(const SndfileEncoder&) = delete;
    SndfileEncoder& operator=(const SndfileEncoder&) = delete;

    Failure create(const QString& path) override;
    Failure close() override;

private:
    Failure encode(const short* samples, qsizetype count) override;

    int m_format;
    CheckedFile m_out;
    SNDFILE* m_file = nullptr;
};

Failure SndfileEncoder::create(const QString& path)
{
    SF_INFO info{};
    info.samplerate = WavFormat::SampleRate;
    info.channels = 1;
    info.format = m_format;
    if (Failure failed = m_out.open(path))
        return failed;
    m_file = sf_open_virtual(&CheckedFile::access(), SFM_WRITE, &info, &m_out);
    if (!m_file) {
        m_out.close();
        return libraryFailure(nullptr);
    }
    return {};
}

Failure SndfileEncoder::close()
{
    writeOut();
    if (m_file && sf_close(m_file) != 0)
        setFailure(libraryFailure(nullptr));
    m_file = nullptr;
    // A write the library let pass is the reason, before the library's own account of it.
    if (Failure failed = m_out.close())
        return failed;
    return failure();
}

Failure SndfileEncoder::encode(const short* samples, qsizetype count)
{
    if (sf_write_short(m_file, samples, count) != count)
        return libraryFailure(m_file);
    return {};
}

} // namespace

Result<std::unique_ptr<SoundFileEncoder>> MakeSndfileEncoder(const SoundFormat& format, int kbps, int highestHz)
{
    const QStringView name(format.name);
    if (name == u"mp3")
        return MakeLameEncoder(kbps, LameSegmentFrames, highestHz);
    if (name == u"opus")
        return MakeOpusFileEncoder(kbps);
    if (name == u"ogg")
        return MakeVorbisEncoder();
    const auto code = std::find_if(std::begin(FormatCodes), std::end(FormatCodes),
                                   [name](const FormatCode& c) { return name == QStringView(c.name); });
    SF_INFO info{};
    info.samplerate = WavFormat::SampleRate;
    info.channels = 1;
    if (code != std::end(FormatCodes))
        info.format = code->major | code->subtype;
    if (code == std::end(FormatCodes) || !listed(code->major, SFC_GET_FORMAT_MAJOR_COUNT, SFC_GET_FORMAT_MAJOR) ||
        !listed(code->subtype, SFC_GET_FORMAT_SUBTYPE_COUNT, SFC_GET_FORMAT_SUBTYPE) || !sf_format_check(&info))
        return Fail(u"Le format " + name.toString() + u" ne peut pas être écrit\u202F: la bibliothèque libsndfile " +
                    u"installée (" + QString::fromLatin1(sf_version_string()) + u") ne le connaît pas en mono à " +
                    u"8000\u202FHz.");
    return std::unique_ptr<SoundFileEncoder>(std::make_unique<SndfileEncoder>(info.format));
}
