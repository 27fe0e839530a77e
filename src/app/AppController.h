#pragma once

#include "drill/DrillWindow.h"
#include "exercise/ExerciseViews.h"

class PreparedSound;
class QAction;
class QCheckBox;
class QGroupBox;
class QMainWindow;
class QMenu;
class QPushButton;
class QWidget;
class RandomSource;

// The frame of the window: the exercise text's change handling, the two views and the drill panel, "Cache" and the
// blinking button.
class AppController : public DrillWindow, public ExerciseViews
{
public:
    struct Controls
    {
        QMainWindow* window = nullptr;
        QWidget* exerciseView = nullptr;  // the exercise view's controls
        QCheckBox* Check2 = nullptr;      // Cache
        QGroupBox* Frame1 = nullptr;      // the settings panel
        QGroupBox* Frame2 = nullptr;      // the drill panel
        QPushButton* Command25 = nullptr; // EXERCICES / OK
        QAction* afff = nullptr;
        QMenu* fichier = nullptr;
        QMenu* gpa = nullptr;
        QMenu* act = nullptr;
        QMenu* entrainement = nullptr;
        QMenu* textes = nullptr;
    };
    AppController(const Controls& controls, PreparedSound& sound, RandomSource& random);

    // Every change of the exercise text: the prepared sound is withdrawn.
    void ExerciseTextChanged();
    void ShowSettingsView();       // menu "Paramètrage"
    void ShowExerciseView();       // "EXERCICES", and SAUVE after saving
    void Check2Toggled(bool tick); // "Cache"
    void Timer1Tick();             // 500 ms: one random draw, "OK" blinks

    // DrillWindow, ExerciseViews
    void showDrillPanel(bool shown) override;
    void setCompact(bool compact) override;
    void returnToExerciseView() override { ShowExerciseView(); }

private:
    // Tab and the screen reader reach only the view on top.
    void keepKeyboardInView();

    Controls m_ui;
    PreparedSound& m_sound;
    RandomSource& m_random;
};
