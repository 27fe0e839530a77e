#pragma once

#include "platform/ProcessLauncher.h"

// Starts a program through QProcess, without waiting for it.
class QtProcessLauncher : public ProcessLauncher
{
public:
    Failure startDetached(const QString& program, const QStringList& arguments = {}) override;
};
