#include "platform/AudioSinkPlayer.h"

#include "platform/AfterFirstPaint.h"
#include "platform/PlayableWav.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace {

using WavFormat::BytesPerMs;
// Sink buffer, 200 ms. Play still sounds within ~30 ms (the sound server starts on the first bytes); with 30 or
// 60 ms the sink's own feeding timer underruns on a busy machine and the sound server fills the holes with
// silence, breaking dots and dashes apart.
constexpr qsizetype SinkBufferBytes = 200 * BytesPerMs;
// How often the end of playback is looked for, in ms; more often once the last bytes are handed to the sink, so that
// the end is told within a few ms of the last sample heard.
constexpr int PollIntervalMs = 10;
constexpr int FinalPollIntervalMs = 2;
// How long a stopped sink is kept before it is deleted, in ms.
constexpr int SinkGraceMs = 2000;
// A sink whose played time stops advancing is given up this long after the data should have been heard, in ms.
constexpr qint64 StallMarginMs = 1000;

} // namespace

// The sample bytes of the open file as a sequential device for the sink (pull mode). Only whole 16-bit words
// are handed out: the odd last byte of an odd-length data chunk is never played.
class WavDataSource : public QIODevice
{
public:
    WavDataSource(QFile& file, const WavLayout& layout)
        : m_file(file), m_offset(layout.dataOffset), m_end(layout.dataBytes & ~qint64(1))
    {}

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_end - m_position + QIODevice::bytesAvailable(); }

    qint64 position() const { return m_position; }
    void rewind() { m_position = 0; }
    void setPosition(qint64 bytes) { m_position = std::clamp(bytes & ~qint64(1), qint64(0), m_end); }
    bool atDataEnd() const { return m_position >= m_end; }
    // Bytes handed to the sink since the last resetFed(): the sink's played time is measured against them.
    qint64 fed() const { return m_fed; }
    void resetFed() { m_fed = 0; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 wanted = std::min(maxSize, m_end - m_position) & ~qint64(1);
        if (wanted <= 0 || !m_file.seek(m_offset + m_position))
            return 0;
        const qint64 got = m_file.read(data, wanted) & ~qint64(1);
        if (got <= 0)
            return 0;
        m_position += got;
        m_fed += got;
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile& m_file;
    qint64 m_offset;
    qint64 m_end;
    qint64 m_position = 0;
    qint64 m_fed = 0;
};

AudioSinkPlayer::AudioSinkPlayer(QObject* parent, OutputsPresent outputsPresent)
    : QObject(parent), m_outputsPresent(std::move(outputsPresent))
{
    if (!m_outputsPresent)
        m_outputsPresent = [] { return !QMediaDevices::audioOutputs().isEmpty(); };
    m_statusTimer.setTimerType(Qt::PreciseTimer);
    m_statusTimer.setInterval(m_statusIntervalMs);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] {
        if (m_playing && m_listener)
            m_listener->statusUpdate();
    });
    // Asking for the outputs connects to the sound server (tens of ms): done once the window is on screen.
    AfterFirstPaint(this, [this] { lookForOutputs(); });
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    m_pollTimer.setInterval(PollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &AudioSinkPlayer::pollEnd);
}

AudioSinkPlayer::~AudioSinkPlayer()
{
    m_listener = nullptr;
    close();
    // The destructor of a Qt 6.4 PulseAudio sink runs pending events: let it run while this player is whole, not
    // among the children that ~QObject deletes. Sinks already released wait in deleteLater().
    const QList<QAudioSink*> sinks = findChildren<QAudioSink*>(Qt::FindDirectChildrenOnly);
    QList<QPointer<QAudioSink>> pending(sinks.cbegin(), sinks.cend());
    for (const QPointer<QAudioSink>& sink : pending)
        delete sink.data();
}

void AudioSinkPlayer::lookForOutputs()
{
    if (!m_playing && !m_outputsPresent())
        setSilent(true);
}

void AudioSinkPlayer::setListener(MediaPlayerListener* listener)
{
    m_listener = listener;
}

void AudioSinkPlayer::setFileName(const QString& path)
{
    m_fileName = path;
}

QString AudioSinkPlayer::fileName() const
{
    return m_fileName;
}

Failure AudioSinkPlayer::open()
{
    close();
    const Result<WavLayout> layout = OpenPlayableWav(m_file, m_fileName);
    if (!layout)
        return layout.failure();
    m_layout = *layout;
    m_source = new WavDataSource(m_file, m_layout);
    m_source->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    m_open = true;
    return {};
}

void AudioSinkPlayer::play()
{
    if (!m_open || m_playing)
        return;
    m_playing = true;
    m_statusTimer.start(m_statusIntervalMs);
    if (m_source->atDataEnd())
        startClock(); // nothing to hear: the end comes from the first poll
    else
        startSink();
    m_pollTimer.start(PollIntervalMs);
}

void AudioSinkPlayer::stop()
{
    if (m_playing)
        finishPlayback(PlaybackEnd::Stopped);
}

void AudioSinkPlayer::prev()
{
    if (!m_open)
        return;
    m_source->rewind();
    if (m_playing && m_onClock) {
        m_clockStartPosition = 0;
        m_clock.restart();
    }
    // With a sink, the next pull reads from the start; what the sink holds already (up to 200 ms) is heard first.
}

void AudioSinkPlayer::close()
{
    // The end notice comes while the file is still open: a listener that rewinds finds it there.
    if (m_playing)
        finishPlayback(PlaybackEnd::Closed);
    delete m_source;
    m_source = nullptr;
    m_file.close();
    m_layout = {};
    m_open = false;
}

bool AudioSinkPlayer::isOpen() const
{
    return m_open;
}

bool AudioSinkPlayer::isPlaying() const
{
    return m_playing;
}

qint64 AudioSinkPlayer::lengthMs() const
{
    return m_open ? m_layout.dataBytes / BytesPerMs : 0;
}

qint64 AudioSinkPlayer::positionMs() const
{
    if (!m_open)
        return 0;
    qint64 bytes = m_source->position();
    if (m_playing && m_onClock)
        bytes = std::min(m_clockStartPosition + playedBytes(), m_layout.dataBytes);
    else if (m_playing)
        bytes -= std::max<qint64>(0, m_source->fed() - playedBytes()); // still in the sink's buffer
    return std::max<qint64>(0, bytes) / BytesPerMs;
}

void AudioSinkPlayer::setStatusIntervalMs(int ms)
{
    m_statusIntervalMs = std::max(1, ms);
    m_statusTimer.setInterval(m_statusIntervalMs);
}

int AudioSinkPlayer::statusIntervalMs() const
{
    return m_statusIntervalMs;
}

void AudioSinkPlayer::setTimeFormatMilliseconds()
{
    // Milliseconds are the only unit this player knows.
}

void AudioSinkPlayer::startSink()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || device.id() == m_failedDeviceId) {
        releaseSink();
        setSilent(true);
        startClock();
        return;
    }
    // A fresh sink for every playback: a stopped QAudioSink started again plays, but its processedUSecs() stays
    // at 0, which would hide the end of the sound.
    releaseSink();
    QAudioFormat format;
    format.setSampleRate(WavFormat::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_sink = new QAudioSink(device, format, this);
    m_sink->setBufferSize(SinkBufferBytes);
    connect(m_sink, &QAudioSink::stateChanged, this, &AudioSinkPlayer::sinkStateChanged);
    m_source->resetFed();
    m_sinkStartPosition = m_source->position();
    m_clock.start();
    m_sink->start(m_source);
    // Without a sound server the sink may refuse without emitting anything: look at once.
    if (m_sink->state() == QAudio::StoppedState || m_sink->error() != QAudio::NoError) {
        m_failedDeviceId = device.id();
        releaseSink();
        setSilent(true);
        startClock();
        return;
    }
    m_onClock = false;
    setSilent(false);
}

void AudioSinkPlayer::startClock()
{
    m_onClock = true;
    m_clockStartPosition = m_source->position();
    m_clock.start();
}

void AudioSinkPlayer::sinkStateChanged()
{
    if (!m_playing || m_onClock || !m_sink || m_stoppingSink)
        return;
    const QAudio::Error error = m_sink->error();
    if (m_sink->state() != QAudio::StoppedState || error == QAudio::NoError)
        return; // Idle with an underrun at the end of the data is expected: the poll decides the end.
    outputLost();
}

void AudioSinkPlayer::outputLost()
{
    if (!m_playing || m_onClock)
        return;
    // The output went away while playing: go on silently from about where the sound was. A sink in error may
    // report nothing processed at all; the wall clock since its start says how far the sound had gone.
    const qint64 processed = m_sink ? m_sink->processedUSecs() * BytesPerMs / 1000 : 0;
    const qint64 elapsed = m_clock.elapsed() * BytesPerMs;
    const qint64 heard = m_sinkStartPosition + std::min(std::max(processed, elapsed), m_source->fed());
    releaseSink();
    setSilent(true);
    m_source->setPosition(heard);
    startClock();
}

qint64 AudioSinkPlayer::playedBytes() const
{
    if (!m_onClock && m_sink)
        return m_sink->processedUSecs() * BytesPerMs / 1000;
    return m_clock.elapsed() * BytesPerMs;
}

void AudioSinkPlayer::pollEnd()
{
    if (!m_playing)
        return;
    if (m_onClock) {
        const qint64 remaining = (m_layout.dataBytes & ~qint64(1)) - m_clockStartPosition;
        if (playedBytes() >= remaining) {
            m_source->setPosition(m_layout.dataBytes);
            finishPlayback(PlaybackEnd::Finished);
        }
        return;
    }
    if (!m_source->atDataEnd())
        return;
    if (m_pollTimer.interval() != FinalPollIntervalMs)
        m_pollTimer.setInterval(FinalPollIntervalMs);
    // The sink reports Idle as soon as its buffer is handed over, ~100 ms before the sound ends: wait until the
    // device has played every byte it was given.
    const qint64 fed = m_source->fed();
    if (playedBytes() >= fed || m_clock.elapsed() > fed / BytesPerMs + StallMarginMs)
        finishPlayback(PlaybackEnd::Finished);
}

void AudioSinkPlayer::finishPlayback(PlaybackEnd reason)
{
    m_playing = false;
    m_statusTimer.stop();
    m_pollTimer.stop();
    releaseSink();
    if (m_listener)
        m_listener->playerEnded(reason);
}

// Stops the sink at once and deletes it later, from the event loop. Two faults of the Qt 6.4 PulseAudio sink
// call for this: its destructor runs pending events, which must not happen inside a handler of the program, and
// its sound-server thread may still report a state change shortly after stop(), which crashed one play in
// about a thousand when the sink was deleted at the next turn of the event loop.
void AudioSinkPlayer::releaseSink()
{
    if (!m_sink)
        return;
    m_stoppingSink = true;
    m_sink->stop();
    m_stoppingSink = false;
    m_sink->disconnect(this);
    QTimer::singleShot(SinkGraceMs, m_sink.data(), &QObject::deleteLater);
    m_sink = nullptr;
}

void AudioSinkPlayer::setSilent(bool silent)
{
    if (m_silent == silent)
        return;
    m_silent = silent;
    if (m_listener)
        m_listener->outputChanged();
}
