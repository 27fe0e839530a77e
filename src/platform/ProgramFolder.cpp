#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString SignFileName = QStringLiteral("telkey.ref");

} // namespace

ProgramFolder ProgramFolder::beside(const QString& folder)
{
    return {folder, QDir(folder).filePath(SignFileName), {}, true};
}

ProgramFolder ChooseProgramFolder(const FolderFacts& facts)
{
    if (facts.signFileBesideExecutable && facts.executableFolderWritable)
        return ProgramFolder::beside(facts.executableFolder);
    ProgramFolder chosen{facts.dataFolder, QDir(facts.dataFolder).filePath(SignFileName), {}, false};
    if (facts.signFileInDataFolder)
        return chosen;
    // A folder that cannot be written but holds a sign file is an installation of its own (under /opt): its file
    // is the one delivered.
    if (facts.signFileBesideExecutable)
        chosen.copyFrom = QDir(facts.executableFolder).filePath(SignFileName);
    else if (facts.deliveredSignFileExists)
        chosen.copyFrom = facts.deliveredSignFile;
    return chosen;
}

ProgramFolder SetUpProgramFolder(const QString& executableFolder)
{
    FolderFacts facts;
    facts.executableFolder = executableFolder;
    facts.signFileBesideExecutable = QFileInfo::exists(QDir(executableFolder).filePath(SignFileName));
    facts.executableFolderWritable = QFileInfo(executableFolder).isWritable();
    // The window's own data folder (its history is there too), whatever name each program gives itself.
    facts.dataFolder =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("Tonique"));
    facts.signFileInDataFolder = QFileInfo::exists(QDir(facts.dataFolder).filePath(SignFileName));
    facts.deliveredSignFile =
        QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(TONIQUE_DATA_FROM_BIN "/") + SignFileName));
    facts.deliveredSignFileExists = QFileInfo::exists(facts.deliveredSignFile);

    ProgramFolder chosen = ChooseProgramFolder(facts);
    if (!chosen.portable)
        QDir().mkpath(chosen.folder);
    if (!chosen.copyFrom.isEmpty()) {
        // The user may edit the copy: it must not keep the delivered file's read-only mode.
        if (QFile::copy(chosen.copyFrom, chosen.signFile))
            QFile::setPermissions(chosen.signFile, QFile::permissions(chosen.signFile) | QFileDevice::WriteOwner);
        else
            chosen.signFile = chosen.copyFrom;
        chosen.copyFrom.clear();
    }
    return chosen;
}
