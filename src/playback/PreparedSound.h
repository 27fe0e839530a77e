#pragma once

#include "playback/PlaybackEvents.h"
#include "playback/PreparedExercise.h"

// The exercise's sound as the other subsystems ask for it: prepared ("Préparer La Musique"), withdrawn when it no
// longer matches the text, the timing or the tone, and played.
class PreparedSound
{
public:
    virtual ~PreparedSound() = default;
    // "Préparer La Musique": renders the exercise text with its marks and opens it in the player, not playing;
    // `origin` tells the listeners what the sound is for.
    virtual void prepare(SoundOrigin origin) = 0;
    // The prepared sound no longer matches: player closed and hidden, "Préparer La Musique" shown again; with
    // `hideTotalTime` (the text changed) the total time is hidden too.
    virtual void withdraw(bool hideTotalTime = false) = 0;
    // "Close" to the player only.
    virtual void closePlayer() = 0;
    // Whether a rendered file is open in the player.
    virtual bool isPrepared() const = 0;
    // Plays the prepared sound for `start`.
    virtual void play(PlaybackStart start) = 0;
};
