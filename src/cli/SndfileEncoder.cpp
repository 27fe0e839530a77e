#include "cli/SndfileEncoder.h"

#include "common/FileErrors.h"
#include "common/WavFormat.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <sndfile.h>
#include <vector>

namespace {

struct FormatCode
{
    const char16_t* name;
    int major;
    int subtype;
};

constexpr FormatCode FormatCodes[] = {
    {u"flac", SF_FORMAT_FLAC, SF_FORMAT_PCM_16},
    {u"ogg", SF_FORMAT_OGG, SF_FORMAT_VORBIS},
    {u"opus", SF_FORMAT_OGG, SF_FORMAT_OPUS},
    {u"mp3", SF_FORMAT_MPEG, SF_FORMAT_MPEG_LAYER_III},
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

// libsndfile sets bit rates through a "compression level" from 0 (the highest rate) to 1 (the lowest), linear in
// kbit/s over its range for the format: MP3 at 8000 Hz from 64 to 8 kbit/s (the level's rate is truncated, hence the
// half kbit/s), Opus from 256 to 6 kbit/s.
std::optional<double> compressionLevel(QStringView format, int kbps)
{
    double level = 0;
    if (format == u"mp3")
        level = (64.0 - kbps - 0.5) / 56.0;
    else if (format == u"opus")
        level = 1.0 - (kbps - 6.0) / 250.0;
    else
        return std::nullopt;
    return std::clamp(level, 0.0, 1.0);
}

QString libraryFailure(SNDFILE* file)
{
    return u"libsndfile\u202F: " + QString::fromLocal8Bit(sf_strerror(file));
}

// The file the library writes through, every write checked here: the library does not report all of its own, and
// an MP3 cut short by a full disk would otherwise pass for a finished one.
class CheckedFile
{
public:
    Failure open(const QString& path);
    // The library's view of the file.
    static SF_VIRTUAL_IO& access();
    // Closes the file; the French reason of the first failure since it was opened.
    Failure close();

private:
    void fail();

    QFile m_file;
    bool m_failed = false;
    int m_errno = 0;
};

Failure CheckedFile::open(const QString& path)
{
    m_file.setFileName(path);
    errno = 0;
    if (m_file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered))
        return {};
    return FileFailureReason(errno, m_file.error());
}

void CheckedFile::fail()
{
    if (!m_failed) {
        m_failed = true;
        m_errno = errno;
    }
}

SF_VIRTUAL_IO& CheckedFile::access()
{
    static SF_VIRTUAL_IO io = {
        [](void* self) -> sf_count_t { return static_cast<CheckedFile*>(self)->m_file.size(); },
        [](sf_count_t offset, int whence, void* self) -> sf_count_t {
            QFile& file = static_cast<CheckedFile*>(self)->m_file;
            const qint64 from = whence == SEEK_CUR ? file.pos() : whence == SEEK_END ? file.size() : 0;
            return file.seek(from + offset) ? file.pos() : -1;
        },
        [](void* data, sf_count_t count, void* self) -> sf_count_t {
            return std::max<qint64>(0, static_cast<CheckedFile*>(self)->m_file.read(static_cast<char*>(data), count));
        },
        [](const void* data, sf_count_t count, void* self) -> sf_count_t {
            auto* file = static_cast<CheckedFile*>(self);
            errno = 0;
            const qint64 written = file->m_file.write(static_cast<const char*>(data), count);
            if (written != count)
                file->fail();
            return std::max<qint64>(0, written);
        },
        [](void* self) -> sf_count_t { return static_cast<CheckedFile*>(self)->m_file.pos(); },
    };
    return io;
}

Failure CheckedFile::close()
{
    errno = 0;
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        fail();
    if (!m_failed)
        return {};
    return FileFailureReason(m_errno, QFileDevice::WriteError);
}

class SndfileEncoder : public SoundFileEncoder
{
public:
    SndfileEncoder(int format, std::optional<double> level, bool constantRate)
        : m_format(format), m_level(level), m_constantRate(constantRate)
    {
        m_samples.resize(Capacity);
    }
    ~SndfileEncoder() override
    {
        if (m_file)
            sf_close(m_file);
    }
    SndfileEncoder(const SndfileEncoder&) = delete;
    SndfileEncoder& operator=(const SndfileEncoder&) = delete;

    Failure create(const QString& path) override;
    using ByteSink::append;
    void append(const char* data, qsizetype size) override;
    Failure close() override;
    quint64 sampleBytes() const override { return m_bytes; }

private:
    static constexpr qsizetype Capacity = qsizetype(1) << 15; // samples handed to the encoder at once

    void writeOut();

    int m_format;
    std::optional<double> m_level;
    bool m_constantRate;
    CheckedFile m_out;
    SNDFILE* m_file = nullptr;
    std::vector<short> m_samples;
    qsizetype m_count = 0;
    std::optional<char> m_halfSample;
    quint64 m_bytes = 0;
    Failure m_failure;
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
    // The level first: setting the rate mode re-reads it.
    if (m_level) {
        double level = *m_level;
        sf_command(m_file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
    }
    if (m_constantRate) {
        int mode = SF_BITRATE_MODE_CONSTANT;
        sf_command(m_file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
    }
    return {};
}

void SndfileEncoder::append(const char* data, qsizetype size)
{
    m_bytes += quint64(size);
    if (m_failure || size <= 0)
        return;
    if (m_halfSample) {
        const char pair[2] = {*m_halfSample, data[0]};
        m_samples[m_count++] = qFromLittleEndian<qint16>(pair);
        m_halfSample.reset();
        ++data;
        --size;
        if (m_count == Capacity)
            writeOut();
    }
    while (size >= 2) {
        const qsizetype n = std::min<qsizetype>(size / 2, Capacity - m_count);
        qFromLittleEndian<qint16>(data, n, m_samples.data() + m_count);
        m_count += n;
        data += 2 * n;
        size -= 2 * n;
        if (m_count == Capacity)
            writeOut();
    }
    if (size == 1)
        m_halfSample = data[0];
}

Failure SndfileEncoder::close()
{
    writeOut();
    if (m_file && sf_close(m_file) != 0 && !m_failure)
        m_failure = libraryFailure(nullptr);
    m_file = nullptr;
    // A write the library let pass is the reason, before the library's own account of it.
    if (const Failure failed = m_out.close())
        m_failure = failed;
    return m_failure;
}

void SndfileEncoder::writeOut()
{
    if (!m_failure && m_count > 0 && sf_write_short(m_file, m_samples.data(), m_count) != m_count)
        m_failure = libraryFailure(m_file);
    m_count = 0;
}

} // namespace

Result<std::unique_ptr<SoundFileEncoder>> MakeSndfileEncoder(const SoundFormat& format, int kbps)
{
    const QStringView name(format.name);
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
    return std::unique_ptr<SoundFileEncoder>(
        std::make_unique<SndfileEncoder>(info.format, compressionLevel(name, kbps), name == u"mp3"));
}
