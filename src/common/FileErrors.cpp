#include "common/FileErrors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

QString FileFailureReason(int systemError, QFileDevice::FileError qtError)
{
    switch (systemError) {
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé (dossier ou fichier protégé)");
    case EROFS:
        return QStringLiteral("le disque est en lecture seule");
    case ENOSPC:
        return QStringLiteral("le disque est plein");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("le quota de disque est dépassé");
#endif
    case EFBIG:
        return QStringLiteral("le fichier dépasse la taille permise");
    case ENAMETOOLONG:
        return QStringLiteral("le nom est trop long");
    case ENOENT:
        return QStringLiteral("le dossier n'existe pas");
    case ENOTDIR:
        return QStringLiteral("un élément du chemin n'est pas un dossier");
    case EISDIR:
        return QStringLiteral("c'est un dossier");
    case EINVAL:
    case EILSEQ:
        return QStringLiteral("le système de fichiers refuse ce nom");
    case EIO:
        return QStringLiteral("erreur d'entrée-sortie du disque");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("le fichier est utilisé par un autre programme");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("trop de fichiers ouverts");
    case 0:
        break;
    default:
        return QStringLiteral("erreur du système n° ") + QString::number(systemError);
    }
    switch (qtError) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("accès refusé");
    case QFileDevice::ResourceError:
        return QStringLiteral("le disque est plein");
    case QFileDevice::ReadError:
        return QStringLiteral("erreur de lecture");
    case QFileDevice::WriteError:
        return QStringLiteral("erreur d'écriture");
    default:
        return QStringLiteral("erreur inconnue");
    }
}

QString OpenFailureReason(const QString& path, int systemError)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("c'est un dossier, pas un fichier");
    if (!info.exists())
        return QStringLiteral("il n'existe pas");
    return FileFailureReason(systemError, QFileDevice::OpenError);
}

Failure OpenForReading(QFile& file)
{
    // Qt opens a folder without complaint and reads it as empty: refused here like any file that cannot be read.
    if (QFileInfo(file.fileName()).isDir())
        return OpenFailureReason(file.fileName(), EISDIR);
    errno = 0;
    if (file.open(QIODevice::ReadOnly))
        return {};
    return OpenFailureReason(file.fileName(), errno);
}
