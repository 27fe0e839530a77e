#pragma once

#include <QString>

// Where the program reads its sign file and writes its exercise files.
struct ProgramFolder
{
    QString folder;   // TEST.wav and TEST.txt go here
    QString signFile; // telkey.ref, read at start-up
    // When not empty: the delivered sign file, to be copied to `signFile` before it is read (the user's first start).
    QString copyFrom;
    bool portable = false; // the executable's own folder

    // The executable's folder with the telkey.ref it holds, as the build folder and the tests use it.
    static ProgramFolder beside(const QString& folder);
};

// What start-up finds on the disk, for the choice below.
struct FolderFacts
{
    QString executableFolder;
    bool signFileBesideExecutable = false;
    bool executableFolderWritable = false;
    QString dataFolder; // the user's own data folder, ~/.local/share/Tonique
    bool signFileInDataFolder = false;
    QString deliveredSignFile; // share/tonique/telkey.ref of the installed program
    bool deliveredSignFileExists = false;
};

// Portable when the executable's folder holds a telkey.ref and can be written (the build folder, a copy on a key);
// installed otherwise: the user's data folder, with the user's own copy of the sign file, taken from the delivered
// one the first time. Each user thus writes only into a folder of their own.
ProgramFolder ChooseProgramFolder(const FolderFacts& facts);

// The facts of this machine for the executable in `executableFolder`, the choice, and the first copy of the sign
// file done (when it cannot be made, the delivered file is read where it is). Both programs start with it.
ProgramFolder SetUpProgramFolder(const QString& executableFolder);
