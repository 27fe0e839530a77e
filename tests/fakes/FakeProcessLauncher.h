#pragma once

#include "platform/ProcessLauncher.h"

#include <QStringList>

class FakeProcessLauncher : public ProcessLauncher
{
public:
    Failure startDetached(const QString& program, const QStringList& = {}) override
    {
        started << program;
        return succeed ? Failure() : Failure(QStringLiteral("impossible de lancer «\u202F%1\u202F»").arg(program));
    }
    QStringList started;
    bool succeed = true;
};
