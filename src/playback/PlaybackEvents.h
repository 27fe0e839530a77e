#pragma once

#include "platform/MediaPlayer.h"

// How a playback was started.
enum class PlaybackStart
{
    PlayButton,     // the user pressed the player's Play button
    TypedCharacter, // "Frappe clavier" plays a typed character
    Drill,          // the copy drill plays its character
    ToneTest,       // "Test de la tonalité"
};

// A subsystem that reacts to playbacks, registered once when the window is wired. Every started playback ends
// exactly once.
class PlaybackListener
{
public:
    virtual ~PlaybackListener() = default;
    virtual void playbackStarted(PlaybackStart) {}
    virtual void playbackEnded(PlaybackEnd) {}
};
