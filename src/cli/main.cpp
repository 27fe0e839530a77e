// tonique-wav: renders a text file to the exercise WAV and text files, as "Préparer La Musique" does.

#include "cli/SndfileEncoder.h"
#include "cli/StandardOutput.h"
#include "cli/WavCommandLine.h"
#include "parameters/Parameters.h"
#include "platform/ProgramFolder.h"
#include "platform/QtSettingsStore.h"
#include "platform/TerminationSignals.h"
#include "sound/Conditions.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();

    const QtSettingsStore settings(QString::fromUtf16(Parameters::Organization),
                                   QString::fromUtf16(Parameters::Application),
                                   QString::fromUtf16(Parameters::Section));
    const QtSettingsStore conditions(QString::fromUtf16(Parameters::Organization),
                                     QString::fromUtf16(Parameters::Application),
                                     QString::fromUtf16(Conditions::Section));
    WavEnvironment env;
    env.store = &settings;
    env.conditionsStore = &conditions;
    env.signFile = SetUpProgramFolder(QCoreApplication::applicationDirPath()).signFile;
    env.out = WriteStandardOutput;
    env.err = WriteStandardError;
    env.encoderFor = MakeSndfileEncoder;
    env.removeOnStop = RemoveOnTerminationSignals;
    return FinishStandardOutput(QStringLiteral("tonique-wav"), RunToniqueWav(arguments, env));
}
