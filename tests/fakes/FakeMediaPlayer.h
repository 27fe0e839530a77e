#pragma once

#include "platform/MediaPlayer.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

// A player heard by nobody: records the commands; a test drives the notifications with tick(), finish() and end().
// lengthMs is preset or taken from the WAV file's data size at open().
class FakeMediaPlayer : public MediaPlayer
{
public:
    void setListener(MediaPlayerListener* l) override { listener = l; }
    void setFileName(const QString& path) override { file = path; }
    QString fileName() const override { return file; }
    Failure open() override;
    void play() override
    {
        commands << QStringLiteral("Play");
        playing = opened;
    }
    void prev() override
    {
        commands << QStringLiteral("Prev");
        position = 0;
    }
    void stop() override
    {
        if (playing)
            end(PlaybackEnd::Stopped);
    }
    void close() override
    {
        commands << QStringLiteral("Close");
        if (playing)
            end(PlaybackEnd::Closed); // while the file is still open, as the real player does
        opened = false;
        length = 0;
    }
    bool isOpen() const override { return opened; }
    bool isPlaying() const override { return playing; }
    qint64 lengthMs() const override { return length; }
    void setStatusIntervalMs(int ms) override { interval = ms; }
    int statusIntervalMs() const override { return interval; }
    void setTimeFormatMilliseconds() override {}
    bool playsSilently() const override { return silent; }
    // The output goes away (or comes back), as the listener is told.
    void setSilent(bool now)
    {
        silent = now;
        if (listener)
            listener->outputChanged();
    }

    // One status interval passes while playing.
    void tick()
    {
        if (listener)
            listener->statusUpdate();
    }
    // The playback reaches its end.
    void finish() { end(PlaybackEnd::Finished); }
    void end(PlaybackEnd reason)
    {
        playing = false;
        ++ends;
        if (listener)
            listener->playerEnded(reason);
    }

    MediaPlayerListener* listener = nullptr;
    QString file;
    QStringList commands;
    bool opened = false;
    bool playing = false;
    bool failOpen = false; // open() fails
    bool silent = false;   // no sound output: playbacks keep their time without being heard
    int ends = 0;          // end notices sent
    qint64 length = 0;
    qint64 position = 0;
    int interval = 1000;
};

inline Failure FakeMediaPlayer::open()
{
    commands << QStringLiteral("Open");
    if (failOpen)
        return QStringLiteral("Impossible d'ouvrir le fichier «\u202F%1\u202F»\u202F: fichier introuvable.").arg(file);
    opened = true;
    position = 0;
    // 16000 bytes of samples per second after the 58-byte header.
    QFile f(file);
    if (f.exists())
        length = std::max<qint64>(0, f.size() - 58) * 1000 / 16000;
    return {};
}
