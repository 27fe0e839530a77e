#pragma once

#include "common/Result.h"
#include "platform/MediaPlayer.h"

#include <QObject>

#include <functional>
#include <memory>

// The player that the program holds from its start, standing for the real one, which is made once the window has
// been drawn or at the first Play, whichever comes first. Until then it keeps what it is asked (the listener, the
// status interval, the file opened, with its length) and hands it over in that order. When no real player can be
// made, it stays silent: a Play ends at once.
class DeferredPlayer : public QObject, public MediaPlayer
{
public:
    using Make = std::function<Result<std::unique_ptr<MediaPlayer>>()>;

    explicit DeferredPlayer(Make make, QObject* parent = nullptr);
    ~DeferredPlayer() override;

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
    bool playsSilently() const override;

private:
    // The real player, made at the first call; nullptr when it cannot be made.
    MediaPlayer* real();
    void handOver(MediaPlayer& player);
    void endPlayback(PlaybackEnd reason);

    Make m_make;
    std::unique_ptr<MediaPlayer> m_real;
    bool m_made = false; // tried, with or without success
    MediaPlayerListener* m_listener = nullptr;
    QString m_fileName;
    bool m_open = false;
    bool m_playing = false; // without a real player
    qint64 m_lengthMs = 0;
    int m_statusIntervalMs = 1000;
};
