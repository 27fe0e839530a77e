#pragma once

#include "common/Result.h"

#include <QString>

// Why a playback ended.
enum class PlaybackEnd
{
    Finished, // the sound ran out (also at once for a file without any sample)
    Stopped,  // stop(): the user pressed the player's Stop button
    Closed,   // close() while playing: the prepared sound was withdrawn, or the program is ending
};

// What the program hears from its player, on the user-interface thread. Every playback that starts ends exactly
// once, whatever stops it, so that whoever reacts to its start (the transmitter keyed, the count-down shown) can
// rely on its end.
class MediaPlayerListener
{
public:
    virtual ~MediaPlayerListener() = default;
    // Every status interval while playing.
    virtual void statusUpdate() = 0;
    // A playback ended, however it was started. Never from inside play(); from inside stop() and close() when they
    // stop a playback, before they return.
    virtual void playerEnded(PlaybackEnd reason) = 0;
    // The player found that it has no audio output, or has one again (playsSilently() changed).
    virtual void outputChanged() {}
};

// The player of the rendered WAV file: commands in, notifications out. Its buttons are the program's own view.
class MediaPlayer
{
public:
    virtual ~MediaPlayer() = default;

    virtual void setListener(MediaPlayerListener* listener) = 0;

    // The file that "Open" opens.
    virtual void setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;
    // "Open": opens the file named by setFileName, at its start; the French reason when it cannot.
    virtual Failure open() = 0;
    // "Play": plays from the current position; playerEnded follows at the end.
    virtual void play() = 0;
    // "Prev": back to the start of the file.
    virtual void prev() = 0;
    // Stops a playback, which ends with playerEnded(Stopped); the file stays open.
    virtual void stop() = 0;
    // "Close": stops and releases the file; a playback it stops ends with playerEnded(Closed).
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool isPlaying() const = 0;
    // Length of the open file in ms (0 when closed).
    virtual qint64 lengthMs() const = 0;
    // Period of statusUpdate in ms.
    virtual void setStatusIntervalMs(int ms) = 0;
    virtual int statusIntervalMs() const = 0;
    // The unit of the length; the program asks for milliseconds only.
    virtual void setTimeFormatMilliseconds() = 0;
    // True when there is no audio output: playbacks then keep their time without being heard.
    virtual bool playsSilently() const = 0;
};
