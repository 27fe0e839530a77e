#pragma once

// What the speed check and SAUVE ask of the window: the exercise view shown, as "EXERCICES" does.
class ExerciseViews
{
public:
    virtual ~ExerciseViews() = default;
    virtual void returnToExerciseView() = 0;
};
