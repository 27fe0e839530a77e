#include "cli/CheckedFile.h"

#include "common/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

Failure CheckedFile::open(const QString& path)
{
    m_file.setFileName(path);
    errno = 0;
    if (m_file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered))
        return {};
    return FileFailureReason(errno, m_file.error());
}

void CheckedFile::fail()
{
    if (!m_failed) {
        m_failed = true;
        m_errno = errno;
    }
}

qint64 CheckedFile::write(const void* data, qint64 count)
{
    errno = 0;
    const qint64 written = m_file.write(static_cast<const char*>(data), count);
    if (written != count)
        fail();
    return std::max<qint64>(0, written);
}

void CheckedFile::writeAt(qint64 offset, const void* data, qint64 count)
{
    errno = 0;
    if (!m_file.seek(offset)) {
        fail();
        return;
    }
    write(data, count);
    m_file.seek(m_file.size());
}

SF_VIRTUAL_IO& CheckedFile::access()
{
    static SF_VIRTUAL_IO io = {
        [](void* self) -> sf_count_t { return static_cast<CheckedFile*>(self)->m_file.size(); },
        [](sf_count_t offset, int whence, void* self) -> sf_count_t {
            QFile& file = static_cast<CheckedFile*>(self)->m_file;
            const qint64 from = whence == SEEK_CUR ? file.pos() : whence == SEEK_END ? file.size() : 0;
            return file.seek(from + offset) ? file.pos() : -1;
        },
        [](void* data, sf_count_t count, void* self) -> sf_count_t {
            return std::max<qint64>(0, static_cast<CheckedFile*>(self)->m_file.read(static_cast<char*>(data), count));
        },
        [](const void* data, sf_count_t count, void* self) -> sf_count_t {
            return static_cast<CheckedFile*>(self)->write(data, count);
        },
        [](void* self) -> sf_count_t { return static_cast<CheckedFile*>(self)->m_file.pos(); },
    };
    return io;
}

Failure CheckedFile::close()
{
    errno = 0;
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        fail();
    if (!m_failed)
        return {};
    return FileFailureReason(m_errno, QFileDevice::WriteError);
}
