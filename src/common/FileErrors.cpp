#include "common/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <optional>

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

namespace {

QString parentOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

// Why the folder of `path` is missing, when that is something the user can put right.
std::optional<QString> missingFolderReason(const QString& path)
{
    QString first = parentOf(path); // the highest folder of the path that is not one
    if (QFileInfo(first).isDir())
        return std::nullopt;
    for (QString above = parentOf(first); above != first && !QFileInfo(above).isDir(); above = parentOf(first))
        first = above;
    if (QFileInfo::exists(first))
        return QStringLiteral("«\u202F%1\u202F» est un fichier, pas un dossier").arg(QDir::toNativeSeparators(first));
    // Whether the folder above lets it be made, asked of the system itself (the superuser's permissions, a read-only
    // disk): the folder made for the question is removed at once.
    QDir above(parentOf(first));
    const QString name = QFileInfo(first).fileName();
    errno = 0;
    if (above.mkdir(name)) {
        above.rmdir(name);
        return std::nullopt;
    }
    return QStringLiteral(
               "le dossier «\u202F%1\u202F» ne peut pas être écrit (%2)\u202F: «\u202F%3\u202F» n'a pas pu y "
               "être créé")
        .arg(QDir::toNativeSeparators(above.path()), FileFailureReason(errno), name);
}

} // namespace

QString WriteFailureReason(const QString& path, int systemError, QFileDevice::FileError qtError)
{
    if (auto reason = missingFolderReason(path))
        return *reason;
    return FileFailureReason(systemError, qtError);
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

QString FileFailureMessage(const QString& what, const QString& path, const QString& reason)
{
    return what + u" «\u202F" + QDir::toNativeSeparators(path) + u"\u202F»\u202F: " + reason + u'.';
}

QString CannotCreateFileMessage(const QString& path, const QString& reason)
{
    return FileFailureMessage(QStringLiteral("Impossible de créer le fichier"), path, reason);
}

QString CannotWriteFileMessage(const QString& path, const QString& reason)
{
    return FileFailureMessage(QStringLiteral("Impossible d'écrire le fichier"), path, reason);
}
