#pragma once

#include "app/ExerciseText.h"
#include "app/Form.h"
#include "platform/Platform.h"
#include "signs/SignTable.h"

#include <QString>

class RandomSource;
class AppController;
class TimingController;
class ParameterController;
class SoundController;
class ExerciseController;
class DrillController;
class StatisticsController;
class PttController;
class TypedPlayback;
class AboutController;

// What every handler of the window reaches: the controls, the platform services, the program's shared state and
// the operations of the other subsystems (which call one another directly, as the buttons do).
struct AppContext
{
    Form ui;
    Platform platform;
    RandomSource* random = nullptr;
    SignTable signs;
    QString programFolder; // where telkey.ref is read and the exercise files are written
    ExerciseText exercise; // the text of Text2

    AppController* app = nullptr;
    TimingController* timing = nullptr;
    ParameterController* parameters = nullptr;
    SoundController* sound = nullptr;
    ExerciseController* exercises = nullptr;
    DrillController* drill = nullptr;
    StatisticsController* stats = nullptr;
    PttController* ptt = nullptr;
    TypedPlayback* typed = nullptr;
    AboutController* about = nullptr;
};
