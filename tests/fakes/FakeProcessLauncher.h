#pragma once

#include "platform/ProcessLauncher.h"

#include <QStringList>

class FakeProcessLauncher : public ProcessLauncher
{
public:
    bool startDetached(const QString& program, const QStringList& = {}) override
    {
        started << program;
        return succeed;
    }
    QStringList started;
    bool succeed = true;
};
