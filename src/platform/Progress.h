#pragma once

#include "common/Progress.h"

#include <QString>

// The progress of a long operation, shown to the user with a way to cancel it. Nothing is shown for an operation
// that ends within half a second.
class Progress
{
public:
    virtual ~Progress() = default;
    // An operation called `label` starts.
    virtual void begin(const QString& label) = 0;
    // `done` (0 to 1) of it is done; false when the user asked to cancel.
    virtual bool step(double done) = 0;
    // It ended (done, failed or cancelled).
    virtual void end() = 0;
};

// begin() and end() around a scope, and step() as a CarryOn for the core's long loops.
class ProgressScope
{
public:
    ProgressScope(Progress& progress, const QString& label) : m_progress(progress) { m_progress.begin(label); }
    ~ProgressScope() { m_progress.end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    CarryOn carryOn()
    {
        return [this](double done) { return m_cancelled = m_cancelled || !m_progress.step(done), !m_cancelled; };
    }
    bool cancelled() const { return m_cancelled; }

private:
    Progress& m_progress;
    bool m_cancelled = false;
};
