#pragma once

#include "common/ByteSink.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

// Appends to a new file through a buffer of its own (256 KiB), so that a long exercise costs no more memory than a
// short one; stable pieces are gathered by address and written together with one system call (up to 1024 pieces),
// copied nowhere. The first failure stops all writing and is kept for the message.
class BufferedFileWriter : public ByteSink
{
public:
    explicit BufferedFileWriter(const QString& path, qsizetype bufferBytes = qsizetype(256) << 10);
    ~BufferedFileWriter() override;

    // Creates the file empty (replacing any file of that name).
    bool create();
    using ByteSink::append;
    void append(const char* data, qsizetype size) override;
    void appendStable(const char* data, qsizetype size) override;
    // Writes out everything pending.
    bool flush();
    // Writes `bytes` over the start of the file (after a flush).
    bool overwriteStart(const QByteArray& bytes);
    bool close();
    // Closes and deletes the file: nothing half-written stays.
    void discard();

    bool failed() const { return m_failed; }
    // Bytes appended so far, buffered ones included.
    quint64 length() const { return m_length; }
    // Why the first failure happened, in French.
    QString reason() const;

private:
    bool writeOut(const char* data, qsizetype size);
    void fail();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    struct Piece
    {
        const char* data;
        qsizetype size;
    };
    std::vector<Piece> m_pieces; // pending, in file order; copied bytes point into m_buffer
    quint64 m_length = 0;
    bool m_failed = false;
    int m_errno = 0;
};
