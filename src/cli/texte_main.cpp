// tonique-texte: French exercise texts (a contact, words, plain language, the full exam) on standard output, for
// teachers who prepare printed and recorded sets.

#include "cli/StandardOutput.h"
#include "cli/TexteCommandLine.h"
#include "platform/ProgramFolder.h"
#include "texts/DataTextSource.h"

#include <QCoreApplication>
#include <QRandomGenerator>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();

    const QString executableFolder = QCoreApplication::applicationDirPath();
    const ProgramFolder folder = SetUpProgramFolder(executableFolder);
    DataTextSource texts(TextFolders(folder.folder, executableFolder), LoadSignFile(folder.signFile).table);
    TexteEnvironment env;
    env.texts = &texts;
    env.out = WriteStandardOutput;
    env.err = WriteStandardError;
    env.freshSeed = [] { return QRandomGenerator::system()->generate(); };
    return FinishStandardOutput(QStringLiteral("tonique-texte"), RunToniqueTexte(arguments, env));
}
