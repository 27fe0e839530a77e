#pragma once

#include "marking/CopyMarking.h"

// A subsystem told of the learner's new results as they come, whether or not the history can keep them.
class ResultsListener
{
public:
    virtual ~ResultsListener() = default;
    // A copy marked and recorded: marking the same copy again with the same pass mark tells nothing more.
    virtual void copyMarked(const MarkedCopy& copy) = 0;
    // A right answer of the keyboard drill.
    virtual void drillAnswered() = 0;
    // A copy taken out of the history by the learner, with its tallies.
    virtual void copyDeleted() {}
};
