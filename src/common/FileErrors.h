#pragma once

#include "common/Result.h"

#include <QFile>
#include <QFileDevice>
#include <QString>

// Why a file operation failed, in French, from the system's error number (errno) or, failing that, from Qt's error
// code: "le disque est plein", "accès refusé"...
QString FileFailureReason(int systemError, QFileDevice::FileError qtError = QFileDevice::NoError);

// Why a file cannot be created or written at `path`, in French: as FileFailureReason, except that a folder of the
// path that is missing because it could not be made (the one above it cannot be written, a file stands in its place)
// is told as such rather than as merely missing.
QString WriteFailureReason(const QString& path, int systemError, QFileDevice::FileError qtError = QFileDevice::NoError);

// Why `path` cannot be opened for reading, in French: it does not exist, is a folder, or the system refuses it
// (errno as left by the failed open).
QString OpenFailureReason(const QString& path, int systemError);

// Opens `file` for reading; the French reason when it cannot (a folder is refused, not read as empty).
Failure OpenForReading(QFile& file);

// "<what> « path » : reason.", the path as the system writes it: the message of a file that cannot be made, written or
// replaced ("Impossible de remplacer le fichier").
QString FileFailureMessage(const QString& what, const QString& path, const QString& reason);
// "Impossible de créer le fichier « path » : reason."
QString CannotCreateFileMessage(const QString& path, const QString& reason);
// "Impossible d'écrire le fichier « path » : reason."
QString CannotWriteFileMessage(const QString& path, const QString& reason);
