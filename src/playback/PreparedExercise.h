#pragma once

#include "playback/TextFields.h"

#include <QString>

// What asked for a sound to be prepared.
enum class SoundOrigin
{
    Exercise,         // "Préparer La Musique", a generator, a preset or a text tool: the exercise the learner copies
    DrilledCharacter, // the copy drill's character
    TypedCharacter,   // a character of "Frappe clavier"
    ToneTest,         // "Test de la tonalité"
};

// A sound prepared, as it was made: once per rendering that succeeds.
struct PreparedExercise
{
    QString text;      // as it was sounded: trimmed, without the start and end marks
    double dotMs = 0;  // the dot length the sound was built with
    double wpm = 0;    // the speed heard, words per minute; 0 when the reference word cannot be measured
    int frequency = 0; // the tone, Hz
    int volume = 0;
    SoundOrigin origin = SoundOrigin::Exercise;
    TextFields fields; // the pieces of a generated text, positions in `text`; none for a text typed or edited
};

// A subsystem that wants each sound prepared.
class PreparedExerciseListener
{
public:
    virtual ~PreparedExerciseListener() = default;
    virtual void exercisePrepared(const PreparedExercise& prepared) = 0;
};
