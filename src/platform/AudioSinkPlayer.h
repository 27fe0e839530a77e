#pragma once

#include "common/WavFormat.h"
#include "platform/MediaPlayer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QAudioSink;
class WavDataSource;

// The player of the rendered exercise over a QAudioSink. Without any audio output it plays silently on a clock,
// with the same notifications at the same times.
class AudioSinkPlayer : public QObject, public MediaPlayer
{
    Q_OBJECT

public:
    // Whether the system has an audio output; asking connects to the sound server.
    using OutputsPresent = std::function<bool()>;

    // `outputsPresent`: the system's own answer when none is given.
    explicit AudioSinkPlayer(QObject* parent = nullptr, OutputsPresent outputsPresent = {});
    ~AudioSinkPlayer() override;

    void setListener(MediaPlayerListener* listener) override;
    void setFileName(const QString& path) override;
    QString fileName() const override;
    Failure open() override;
    void play() override;
    void prev() override;
    void stop() override;
    void close() override;
    bool isOpen() const override;
    bool isPlaying() const override;
    qint64 lengthMs() const override;
    void setStatusIntervalMs(int ms) override;
    int statusIntervalMs() const override;
    void setTimeFormatMilliseconds() override;
    bool playsSilently() const override { return m_silent; }

    // Where playback stands in the open file, in ms: 0 after open() or prev(), lengthMs() once a playback ran out.
    qint64 positionMs() const;
    // The audio output went away during a playback (the sound server stopped): the playback goes on, silently,
    // from where the sound had got to, and ends when the sound would have ended.
    void outputLost();

private:
    // Asked once the window being shown has been drawn: its first paint does not wait for the sound server.
    void lookForOutputs();
    void startSink();
    void startClock();
    void pollEnd();
    void sinkStateChanged();
    void finishPlayback(PlaybackEnd reason);
    void releaseSink();
    void setSilent(bool silent);
    qint64 playedBytes() const;

    MediaPlayerListener* m_listener = nullptr;
    OutputsPresent m_outputsPresent;
    QString m_fileName;
    QFile m_file;
    WavLayout m_layout;
    bool m_open = false;
    bool m_playing = false;
    bool m_silent = false;
    bool m_onClock = false;      // the running playback is timed by m_clock, not by the sink
    bool m_stoppingSink = false; // our own stop(): its state change is no failure
    int m_statusIntervalMs = 1000;

    WavDataSource* m_source = nullptr;
    QPointer<QAudioSink> m_sink; // one per playback
    QByteArray m_failedDeviceId; // an output that refused to start is not tried again
    QTimer m_statusTimer;
    QTimer m_pollTimer;
    // Wall clock of the running playback: the silent clock itself, and a safety net when the sink stalls.
    QElapsedTimer m_clock;
    qint64 m_clockStartPosition = 0; // bytes into the data where the clock was (re)started
    qint64 m_sinkStartPosition = 0;  // bytes into the data where the sink started playing
};
