#pragma once

#include "playback/PlaybackEvents.h"

class Clock;
class DrillAnswers;
class DrillWindow;
class ExerciseMarks;
class ExerciseText;
class PreparedSound;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
class RandomSource;
class ScreenReader;

// The keyboard copy drill of Frame2.
class DrillController : public PlaybackListener
{
public:
    struct Controls
    {
        QLabel* Label18 = nullptr;        // MAX = ...Ms
        QLabel* Label19 = nullptr;        // the character drilled
        QLineEdit* Text27 = nullptr;      // running time, ms
        QLineEdit* Text17 = nullptr;      // the answer
        QComboBox* Combo2 = nullptr;      // ranked results
        QTimer* Timer3 = nullptr;         // 10 ms
        const QLineEdit* TP = nullptr;    // the dot length, read for the limit line
        const QComboBox* TEXT1 = nullptr; // the character set, read for the pick
    };
    struct Services
    {
        ExerciseText& exercise;
        ExerciseMarks& marks;
        PreparedSound& sound;
        DrillWindow& window;
        RandomSource& random;
        DrillAnswers& answers; // told each right answer timed from the end of its sound
        const Clock& clock;    // measures that time
        ScreenReader& screenReader;
    };
    DrillController(const Controls& controls, const Services& services);

    void Command10Click(); // next character (menu "Clavier", and after each right answer)
    void Text17Changed();  // answer check
    void Timer3Tick();     // +10 ms
    void Command11Click(); // Fin

    // After a playback the reaction counter starts from 0.
    void startReactionCounter();
    void playbackEnded(PlaybackEnd reason) override;

private:
    Controls m_ui;
    Services m_services;
    // The counter of this round was started by the end of its sound: only then is the answer timed. An answer typed
    // before keeps its place in the ranked list, as always, but is no measure worth recording.
    bool m_timed = false;
    // When the sound of this round ended, on the clock: the reaction time recorded is measured from there, whatever
    // ticks of Timer3 came late or not at all.
    qint64 m_soundEndMs = 0;
};
