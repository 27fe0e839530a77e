#pragma once

#include <QString>

// Where the drill's right answers go besides its ranked list: the character and its reaction time in ms.
class DrillAnswers
{
public:
    virtual ~DrillAnswers() = default;
    virtual void answered(const QString& character, int reactionMs) = 0;
};
