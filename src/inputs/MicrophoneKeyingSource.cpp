#include "inputs/MicrophoneKeyingSource.h"

#include "inputs/InputTime.h"
#include "inputs/StreamClock.h"
#include "sending/ToneDetector.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The sound the input keeps for us between two reads, ms: short, for the edges to reach the window soon after the key
// moved.
constexpr int BufferMs = 10;
// An input that is listening always brings sound, silence included: none for this long, it has stopped (the sound
// server cut it off without a word).
constexpr int SilentInputMs = 1000;

const QString KeyboardStays = u"\u202F; le clavier reste utilisable."_s;

// Mono if the device offers it (else its first channel is read), 16-bit or float samples, at the device's own rate
// brought within what the tone detector reads.
std::optional<QAudioFormat> ReadableFormat(const QAudioDevice& device)
{
    const QAudioFormat preferred = device.preferredFormat();
    const int lowest = std::max(ToneDetector::MinRateHz, device.minimumSampleRate());
    const int highest = std::min(ToneDetector::MaxRateHz, device.maximumSampleRate());
    if (lowest > highest)
        return std::nullopt;
    QAudioFormat format;
    format.setSampleRate(std::clamp(preferred.sampleRate() > 0 ? preferred.sampleRate() : 48000, lowest, highest));
    for (const int channels : {1, std::max(1, preferred.channelCount())}) {
        for (const QAudioFormat::SampleFormat sample : {QAudioFormat::Int16, QAudioFormat::Float}) {
            format.setChannelCount(channels);
            format.setSampleFormat(sample);
            if (device.isFormatSupported(format))
                return format;
        }
    }
    return std::nullopt;
}

} // namespace

// The audio input and the tone detector, on the source's thread.
class MicrophoneReader : public QObject
{
public:
    explicit MicrophoneReader(MicrophoneKeyingSource& source) : m_source(source) {}

    // Starts listening; why not, in French.
    QString open();
    void close();

private:
    void read();
    void feed(const QByteArray& bytes);
    void stateChanged(QAudio::State state);
    void checkHeard();
    void fail();

    MicrophoneKeyingSource& m_source;
    QAudioFormat m_format;
    std::unique_ptr<QAudioSource> m_audio;
    QIODevice* m_input = nullptr;
    std::optional<ToneDetector> m_detector;
    StreamClock m_clock;
    QByteArray m_partial; // the start of a frame cut by the previous read
    std::vector<float> m_samples;
    QTimer* m_watch = nullptr;
    bool m_heard = false; // sound came since the last check
    bool m_failed = false;
};

QString MicrophoneReader::open()
{
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull())
        return u"Aucun microphone ni entrée ligne n'est disponible sur ce système"_s + KeyboardStays;
    const std::optional<QAudioFormat> format = ReadableFormat(device);
    if (!format)
        return u"Le microphone ou l'entrée ligne «\u202F"_s + device.description() +
               u"\u202F» n'offre aucun format lisible (8\u202F000 à 48\u202F000\u202FHz)"_s + KeyboardStays;
    m_format = *format;
    m_detector.emplace(m_format.sampleRate());
    m_audio = std::make_unique<QAudioSource>(device, m_format);
    m_audio->setBufferSize(m_format.bytesForDuration(qint64(BufferMs) * 1000));
    m_input = m_audio->start();
    // Without a sound server the input says nothing: its state tells.
    if (!m_input || m_audio->error() != QAudio::NoError || m_audio->state() == QAudio::StoppedState) {
        close();
        return u"Le microphone ou l'entrée ligne ne démarre pas (serveur de son injoignable\u202F?)"_s + KeyboardStays;
    }
    connect(m_input, &QIODevice::readyRead, this, &MicrophoneReader::read);
    connect(m_audio.get(), &QAudioSource::stateChanged, this, &MicrophoneReader::stateChanged);
    m_watch = new QTimer(this);
    connect(m_watch, &QTimer::timeout, this, &MicrophoneReader::checkHeard);
    m_watch->start(SilentInputMs);
    return {};
}

void MicrophoneReader::close()
{
    if (m_watch)
        m_watch->stop();
    if (m_audio) {
        m_audio->disconnect(this);
        m_audio->stop();
    }
    m_audio.reset();
    m_input = nullptr;
}

void MicrophoneReader::read()
{
    if (!m_input)
        return;
    const QByteArray bytes = m_input->readAll();
    if (bytes.isEmpty())
        return;
    m_heard = true;
    // The last sample read came in just now, give or take the steady latency StreamClock leaves out.
    const KeyTime readAt = InputTimeNow();
    feed(bytes);
    m_clock.read(readAt, m_detector->now());
    for (const KeyEdge& edge : m_detector->takeEdges())
        emit m_source.edge(KeyInput::Straight, edge.down, m_clock.toMonotonic(edge.time));
}

void MicrophoneReader::feed(const QByteArray& bytes)
{
    m_partial += bytes;
    const int frameBytes = m_format.bytesPerFrame();
    const qsizetype frames = m_partial.size() / frameBytes;
    m_samples.resize(std::size_t(frames));
    const char* data = m_partial.constData();
    const bool int16 = m_format.sampleFormat() == QAudioFormat::Int16;
    for (qsizetype i = 0; i < frames; ++i, data += frameBytes) {
        // The first channel of each frame.
        if (int16) {
            std::int16_t sample = 0;
            std::memcpy(&sample, data, sizeof sample);
            m_samples[std::size_t(i)] = float(sample) / 32768.0F;
        } else {
            std::memcpy(&m_samples[std::size_t(i)], data, sizeof(float));
        }
    }
    m_detector->feed(m_samples.data(), m_samples.size());
    m_partial.remove(0, frames * frameBytes);
}

void MicrophoneReader::stateChanged(QAudio::State state)
{
    if (state == QAudio::StoppedState && m_audio && m_audio->error() != QAudio::NoError)
        fail();
}

void MicrophoneReader::checkHeard()
{
    if (!std::exchange(m_heard, false))
        fail();
}

void MicrophoneReader::fail()
{
    if (std::exchange(m_failed, true))
        return;
    // Nothing more is read; the input goes once out of its own signal.
    m_watch->stop();
    m_input = nullptr;
    QTimer::singleShot(0, this, &MicrophoneReader::close);
    emit m_source.failed(u"Le microphone ou l'entrée ligne s'est arrêté"_s + KeyboardStays);
}

MicrophoneKeyingSource::MicrophoneKeyingSource(QObject* parent) : KeyingSource(parent)
{
    m_thread.setObjectName(u"microphone"_s);
}

MicrophoneKeyingSource::~MicrophoneKeyingSource()
{
    stop();
}

bool MicrophoneKeyingSource::start(QString& failure)
{
    stop();
    // No sound server, or a server with no input: nothing to start a thread for.
    if (QMediaDevices::audioInputs().isEmpty()) {
        failure = u"Aucun microphone ni entrée ligne n'est disponible sur ce système"_s + KeyboardStays;
        return false;
    }
    m_thread.start();
    m_reader = new MicrophoneReader(*this);
    m_reader->moveToThread(&m_thread);
    QString why;
    QMetaObject::invokeMethod(
        m_reader, [this, &why] { why = m_reader->open(); }, Qt::BlockingQueuedConnection);
    if (why.isEmpty())
        return true;
    stop();
    failure = why;
    return false;
}

void MicrophoneKeyingSource::stop()
{
    if (m_reader) {
        // Closed on its own thread, which emits nothing after.
        QMetaObject::invokeMethod(
            m_reader, [this] { m_reader->close(); }, Qt::BlockingQueuedConnection);
    }
    m_thread.quit();
    m_thread.wait();
    // Its thread has ended: nothing of it runs any more.
    delete std::exchange(m_reader, nullptr);
}
