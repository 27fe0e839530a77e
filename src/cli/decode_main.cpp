// tonique-decode: the text of Morse code in a sound file, with the timing of its elements.

#include "cli/DecodeCommandLine.h"
#include "cli/StandardOutput.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    DecodeEnvironment env;
    env.signFile = SetUpProgramFolder(QCoreApplication::applicationDirPath()).signFile;
    env.out = WriteStandardOutput;
    env.err = WriteStandardError;
    return FinishStandardOutput(QStringLiteral("tonique-decode"), RunToniqueDecode(arguments, env));
}
