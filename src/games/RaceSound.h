#pragma once

#include "common/Result.h"

#include <QByteArray>
#include <QString>

class MediaPlayer;
class SignTable;

// How a call of the race sounds: its speed in characters per minute (a word of five characters, the dot 6000 / cpm
// ms, gaps of 1, 3 and 7 dots), its tone and the volume of the settings.
struct RaceTone
{
    int cpm = 60;
    int hz = 800;
    int volume = 100;

    bool operator==(const RaceTone&) const = default;
};

// The call as a whole WAV file in memory, rendered by the program's own synthesis, after a silence of about
// `leadMs` when there is one; empty when the speed or the tone gives no sound.
QByteArray RenderRaceCall(const QString& call, const RaceTone& tone, const SignTable& signs, double leadMs = 0);

// What a game says when its sound cannot be heard: `failure` (why a sound did not open), or its player without any
// sound output. The run is then stopped and nothing of it recorded, since nobody heard what it played. Nothing when
// the sound is heard.
std::optional<QString> UnheardRun(const MediaPlayer& player, const Failure& failure = {});

// The call as a French voice says it: letters in the phonetic alphabet, figures as numbers, "/" as "barre".
QString SpokenCall(const QString& call);
