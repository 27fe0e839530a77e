#pragma once

#include <QString>

// The characters sent before and after the exercise (the fields Text9 and Text4), as the sound and the tools that
// render a character alone use them.
class ExerciseMarks
{
public:
    virtual ~ExerciseMarks() = default;
    virtual QString startMarks() const = 0;
    virtual QString endMarks() const = 0;

    struct Kept
    {
        QString start, end;
    };
    // Empties both fields for a rendering without marks and returns what they held.
    virtual Kept takeAway() = 0;
    // Gives the fields back what takeAway() returned.
    virtual void putBack(const Kept& kept) = 0;
    // Empties both fields for good (the speed check).
    virtual void clear() = 0;
};
