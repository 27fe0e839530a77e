#pragma once

class ExerciseMarks;
class ExerciseText;
class Playback;
class PreparedSound;
class QLineEdit;
class QTimer;

// "Frappe clavier": the characters typed into Text26 played one after the other (Timer2, 100 ms).
class TypedPlayback
{
public:
    struct Controls
    {
        QLineEdit* Text26 = nullptr;
        QTimer* Timer2 = nullptr;
    };
    TypedPlayback(const Controls& controls, ExerciseText& exercise, ExerciseMarks& marks, PreparedSound& sound,
                  const Playback& playback);

    void PlayTypedCharacter(); // Timer2 tick

private:
    Controls m_ui;
    ExerciseText& m_exercise;
    ExerciseMarks& m_marks;
    PreparedSound& m_sound;
    const Playback& m_playback;
};
