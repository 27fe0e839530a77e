#pragma once

#include <QString>

// A subsystem that wants the exercise text of each sound prepared ("Préparer La Musique" or any rendering that
// succeeds): the text as it was sounded, trimmed, without the start and end marks.
class PreparedExerciseListener
{
public:
    virtual ~PreparedExerciseListener() = default;
    virtual void exercisePrepared(const QString& text) = 0;
};
