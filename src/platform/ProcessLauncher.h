#pragma once

#include "common/Result.h"

#include <QString>
#include <QStringList>

// Starting another program.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // Starts `program` without waiting for it; the French reason when it could not be started.
    virtual Failure startDetached(const QString& program, const QStringList& arguments = {}) = 0;
};
