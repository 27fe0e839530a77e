#pragma once

#include "common/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// The text without its leading and trailing spaces (only U+0020: tabs and line breaks stay).
QString TrimSpaces(const QString& text);

// The text file: records of 36 characters each followed by the bytes 13 13 10, then two empty records; the
// characters in Windows-1252, "?" for those it lacks.
QByteArray ExerciseTextFileBytes(QStringView text);

// Writes the text file of `text` at `path`; a message names `shownPath` when given (the final name of a file written
// under a temporary one).
Failure WriteExerciseTextFile(const QString& path, QStringView text, const QString& shownPath = {});
