#include "platform/QtProcessLauncher.h"

#include <QProcess>

Failure QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    if (QProcess::startDetached(program, arguments))
        return {};
    return QStringLiteral("impossible de lancer «\u202F%1\u202F»").arg(program);
}
