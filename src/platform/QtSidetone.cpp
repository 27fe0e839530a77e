#include "platform/QtSidetone.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int SampleRate = 48000;
constexpr double EdgeSeconds = 0.005;
// The output's buffer, 40 ms; it is kept about a third full, fed every 5 ms, so that the tone follows the key within
// about 15 ms.
constexpr int BufferBytes = SampleRate / 25 * 2;
constexpr int AheadBytes = BufferBytes / 3;
constexpr int FeedMs = 5;

} // namespace

SidetoneSource::SidetoneSource(int sampleRate) : m_rate(sampleRate)
{
    // Unbuffered: no sound made ahead of the key beyond the output's own buffer.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void SidetoneSource::setTone(double hz, double volume)
{
    m_step = 2 * std::numbers::pi * std::max(0.0, hz) / m_rate;
    m_volume = std::clamp(volume, 0.0, 1.0);
}

qint64 SidetoneSource::readData(char* data, qint64 maxSize)
{
    const double edgeStep = 1 / (EdgeSeconds * m_rate);
    const double step = m_step;
    const double volume = m_volume;
    const bool down = m_down;
    auto* samples = reinterpret_cast<qint16*>(data);
    const qint64 count = maxSize / 2;
    for (qint64 i = 0; i < count; ++i) {
        m_level = std::clamp(m_level + (down ? edgeStep : -edgeStep), 0.0, 1.0);
        const double shaped = 0.5 - 0.5 * std::cos(std::numbers::pi * m_level);
        samples[i] = qint16(std::lround(32000 * volume * shaped * std::sin(m_phase)));
        m_phase = std::fmod(m_phase + step, 2 * std::numbers::pi);
    }
    return count * 2;
}

QtSidetone::QtSidetone() : m_source(SampleRate)
{
    m_feed.setInterval(FeedMs);
    m_feed.setTimerType(Qt::PreciseTimer);
    m_feed.callOnTimeout([this] { feed(); });
}

QtSidetone::~QtSidetone()
{
    release();
}

void QtSidetone::setTone(double hz, double volume)
{
    m_source.setTone(hz, volume);
    start();
}

void QtSidetone::key(bool down)
{
    m_source.key(down);
    if (down)
        start();
}

void QtSidetone::start()
{
    if (m_sink || m_noOutput)
        return;
    QAudioFormat format;
    format.setSampleRate(SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    m_noOutput = device.isNull() || !device.isFormatSupported(format);
    if (m_noOutput)
        return;
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(BufferBytes);
    m_output = m_sink->start();
    // Without a sound server the sink says nothing: it is let go at once, and the key stays silent.
    m_noOutput = m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState;
    if (m_noOutput) {
        m_sink.reset();
        return;
    }
    // The output starts playing once its buffer is full: filled at once, then kept a third full.
    m_starting = true;
    m_feed.start();
    feed();
}

void QtSidetone::feed()
{
    if (!m_sink || !m_output)
        return;
    if (m_sink->error() != QAudio::NoError) { // the output went away: silent from now on
        release();
        m_noOutput = true;
        return;
    }
    // Only what keeps the buffer a third full: the rest is made later, when the key may have moved.
    const qint64 queued = m_sink->bufferSize() - m_sink->bytesFree();
    const qint64 wanted =
        (m_starting ? m_sink->bytesFree() : std::min<qint64>(m_sink->bytesFree(), AheadBytes - queued)) & ~qint64(1);
    m_starting = false;
    if (wanted <= 0)
        return;
    QByteArray samples(wanted, Qt::Uninitialized);
    m_source.read(samples.data(), wanted);
    m_output->write(samples);
}

void QtSidetone::release()
{
    m_feed.stop();
    m_output = nullptr;
    m_source.key(false);
    if (m_sink)
        m_sink->stop();
    m_sink.reset();
}
