#include "common/BufferedFileWriter.h"

#include "common/FileErrors.h"

#ifdef Q_OS_UNIX
#include <sys/uio.h>
#endif

#include <cerrno>
#include <cstring>

namespace {

constexpr size_t MaxPieces = 1024; // the system's limit of pieces per gathering write

} // namespace

BufferedFileWriter::BufferedFileWriter(const QString& path, qsizetype bufferBytes)
    : m_file(path), m_buffer(bufferBytes, Qt::Uninitialized)
{}

BufferedFileWriter::~BufferedFileWriter()
{
    m_file.close();
}

bool BufferedFileWriter::create()
{
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        fail();
        return false;
    }
    return true;
}

void BufferedFileWriter::fail()
{
    if (!m_failed) {
        m_failed = true;
        m_errno = errno;
    }
}

bool BufferedFileWriter::writeOut(const char* data, qsizetype size)
{
    if (m_failed)
        return false;
    errno = 0;
    if (m_file.write(data, size) != size) {
        fail();
        return false;
    }
    return true;
}

void BufferedFileWriter::append(const char* data, qsizetype size)
{
    if (size > m_buffer.size() - m_used) {
        // Too big to copy: it is written out now, in place.
        if (size >= m_buffer.size()) {
            appendStable(data, size);
            flush();
            return;
        }
        flush();
    }
    m_length += quint64(size);
    if (m_failed || size == 0)
        return;
    char* copy = m_buffer.data() + m_used;
    std::memcpy(copy, data, size_t(size));
    m_used += size;
    m_pieces.push_back({copy, size});
    if (m_pieces.size() >= MaxPieces)
        flush();
}

void BufferedFileWriter::appendStable(const char* data, qsizetype size)
{
    m_length += quint64(size);
    if (m_failed || size == 0)
        return;
    m_pieces.push_back({data, size});
    if (m_pieces.size() >= MaxPieces)
        flush();
}

bool BufferedFileWriter::flush()
{
    std::vector<Piece> pieces;
    pieces.swap(m_pieces);
    m_pieces.reserve(MaxPieces);
    m_used = 0;
    if (m_failed)
        return false;
#ifdef Q_OS_UNIX
    // One gathering write for all the pieces, resumed after a partial write.
    std::vector<iovec> iov(pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i)
        iov[i] = {const_cast<char*>(pieces[i].data), size_t(pieces[i].size)};
    size_t first = 0;
    while (first < iov.size()) {
        errno = 0;
        const ssize_t written = ::writev(m_file.handle(), iov.data() + first, int(iov.size() - first));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            fail();
            return false;
        }
        size_t rest = size_t(written);
        while (first < iov.size() && rest >= iov[first].iov_len)
            rest -= iov[first++].iov_len;
        if (rest > 0) {
            iov[first].iov_base = static_cast<char*>(iov[first].iov_base) + rest;
            iov[first].iov_len -= rest;
        }
    }
    return true;
#else
    for (const Piece& piece : pieces) {
        if (!writeOut(piece.data, piece.size))
            return false;
    }
    return true;
#endif
}

bool BufferedFileWriter::overwriteStart(const QByteArray& bytes)
{
    if (!flush())
        return false;
    errno = 0;
    if (!m_file.seek(0)) {
        fail();
        return false;
    }
    return writeOut(bytes.constData(), bytes.size());
}

bool BufferedFileWriter::close()
{
    if (!flush())
        return false;
    errno = 0;
    m_file.close();
    if (m_file.error() != QFileDevice::NoError) {
        fail();
        return false;
    }
    return true;
}

void BufferedFileWriter::discard()
{
    m_file.close();
    m_file.remove();
}

QString BufferedFileWriter::reason() const
{
    return WriteFailureReason(m_file.fileName(), m_errno, m_file.error());
}
