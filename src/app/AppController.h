#pragma once

struct AppContext;

// The frame of the window: the exercise text's change handling, the two views, "Cache" and the blinking button.
class AppController
{
public:
    explicit AppController(AppContext& ctx);

    // Every change of the exercise text: the prepared sound is withdrawn.
    void ExerciseTextChanged();
    void ShowSettingsView();       // menu "Paramètrage"
    void ShowExerciseView();       // "EXERCICES", and SAUVE after saving
    void Check2Toggled(bool tick); // "Cache"
    void Timer1Tick();             // 500 ms: one random draw, "OK" blinks

private:
    AppContext& m_ctx;
};
