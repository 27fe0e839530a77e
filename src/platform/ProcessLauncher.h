#pragma once

#include <QString>
#include <QStringList>

// Starting another program.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // Starts `program` without waiting for it; false when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments = {}) = 0;
};
