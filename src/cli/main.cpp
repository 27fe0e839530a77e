// tonique-wav: renders a text file to the exercise WAV and text files, as "Préparer La Musique" does.

#include "cli/SndfileEncoder.h"
#include "cli/WavCommandLine.h"
#include "parameters/Parameters.h"
#include "platform/ProgramFolder.h"
#include "platform/QtSettingsStore.h"
#include "sound/Conditions.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

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
    env.out = [](const QString& text) {
        const QByteArray bytes = text.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    };
    env.encoderFor = MakeSndfileEncoder;
    env.err = [](const QString& text) {
        const QByteArray bytes = text.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    };
    return RunToniqueWav(arguments, env);
}
