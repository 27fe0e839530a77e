#pragma once

#include "common/Result.h"

#include <QFile>

#include <sndfile.h>

// The file an encoder writes through, every write checked here: the libraries do not report all of their own, and
// a sound cut short by a full disk would otherwise pass for a finished one.
class CheckedFile
{
public:
    Failure open(const QString& path);
    // Writes `count` bytes at the current place; a failure is kept for close().
    qint64 write(const void* data, qint64 count);
    // Writes `count` bytes at `offset` from the start, then comes back to the end.
    void writeAt(qint64 offset, const void* data, qint64 count);
    // libsndfile's view of the file.
    static SF_VIRTUAL_IO& access();
    // Closes the file; the French reason of the first failure since it was opened.
    Failure close();

private:
    void fail();

    QFile m_file;
    bool m_failed = false;
    int m_errno = 0;
};
