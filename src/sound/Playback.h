#pragma once

#include "common/Result.h"
#include "playback/PlaybackEvents.h"

#include <QString>

#include <vector>

class MediaPlayer;
class PlayerView;
class ScreenReader;
class QLineEdit;
class QWidget;

// The player as the program uses it: the one owner of every playback, from its start to its end, of the player's
// buttons (MMControl1) and of the count-down Text25, whose being shown tells that an announced playback runs.
// Starts and ends are told to the listeners in the order they were added.
class Playback : public MediaPlayerListener
{
public:
    Playback(MediaPlayer& player, PlayerView& view, QLineEdit* Text25, QWidget* window, ScreenReader& screenReader);
    ~Playback() override;
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    void addListener(PlaybackListener* listener);

    // The commands of the program.
    Failure open(const QString& path);
    void close();
    // Plays the open file for `start` (not the Play button): listeners hear of it first, and the count-down shows
    // for a typed character.
    void play(PlaybackStart start);
    // The player shown, where "Préparer La Musique" stands, or hidden.
    void showPlayer(bool shown);
    bool isOpen() const;
    qint64 lengthMs() const;
    // Text25 shown: a playback started by the Play button or by a typed character runs.
    bool isCountingDown() const;
    // RemainingMs after a rendering: the length of the new file.
    void resetCountDown(qint64 lengthMs);
    // The program is ending: a playback still running ends now.
    void shutDown();

    // The player's notifications.
    void PlayStarted(); // the user pressed Play
    void StatusTick();
    void PlayEnded(PlaybackEnd reason);

    int RemainingMs = 0;

private:
    void statusUpdate() override { StatusTick(); }
    void playerEnded(PlaybackEnd reason) override { PlayEnded(reason); }
    void outputChanged() override;
    void pressPlay();
    void updateView();

    MediaPlayer& m_player;
    PlayerView& m_view;
    ScreenReader& m_screenReader;
    QLineEdit* m_countDown;
    QWidget* m_window;
    std::vector<PlaybackListener*> m_listeners;
};
