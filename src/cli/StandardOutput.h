#pragma once

#include <QString>

// Standard output of the command-line programs, whose lines are their result: a line that cannot be written (a
// full disk, /dev/full) is an error, not a silent loss.

// Writes `text` in the system's encoding; the first failure is kept for FinishStandardOutput.
void WriteStandardOutput(const QString& text);
// Writes `text` on standard error.
void WriteStandardError(const QString& text);

// Writes out what standard output still holds: `status` when all of it was written, otherwise 2 after the French
// reason on standard error, after the program's name.
int FinishStandardOutput(const QString& program, int status);
