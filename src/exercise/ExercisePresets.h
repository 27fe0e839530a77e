#pragma once

#include "exercise/RandomGroups.h"

#include <functional>

// What another subsystem asks of the exercise text: an exercise of its own, made the way the menu's presets make
// theirs.
class ExercisePresets
{
public:
    virtual ~ExercisePresets() = default;
    // The exercise text emptied, filled by `fill` (each piece one write of the text), then its sound prepared once.
    virtual void makeExercise(const std::function<void(const TextSink& append)>& fill) = 0;
};
