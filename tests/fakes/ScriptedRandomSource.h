#pragma once

#include "common/RandomSource.h"

#include <QList>

// Gives the values of `script` in order, then starts again from the first; counts the draws.
class ScriptedRandomSource : public RandomSource
{
public:
    ScriptedRandomSource() = default;
    explicit ScriptedRandomSource(QList<double> values) : script(std::move(values)) {}
    double next() override
    {
        ++draws;
        if (script.isEmpty())
            return 0.0;
        const double r = script[position % script.size()];
        ++position;
        return r;
    }
    QList<double> script;
    qsizetype position = 0;
    qsizetype draws = 0;
};
