#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

// The build folder holds the tests, the programs and a copy of the delivered sign file side by side: a test finds
// them beside its own executable, wherever the build folder is, with or without a QCoreApplication.
namespace BuildFolder {
inline QString path()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

inline QString file(const char* name)
{
    return QDir(path()).filePath(QString::fromUtf8(name));
}
} // namespace BuildFolder
