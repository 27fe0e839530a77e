// tonique-mark: marks copies against the sent text, for instructors who mark a class's copies.

#include "cli/MarkCommandLine.h"
#include "cli/StandardOutput.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    const MarkEnvironment env{WriteStandardOutput, WriteStandardError};
    return FinishStandardOutput(QStringLiteral("tonique-mark"), RunToniqueMark(arguments, env));
}
