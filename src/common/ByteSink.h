#pragma once

#include <QByteArray>
#include <QtGlobal>

// Where sample bytes go: a file being written, or a counter.
class ByteSink
{
public:
    virtual ~ByteSink() = default;
    virtual void append(const char* data, qsizetype size) = 0;
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }
    // Bytes that stay in place, unchanged, until the sink is flushed or closed (the prebuilt runs): a file sink
    // hands them to the system without copying them.
    virtual void appendStable(const char* data, qsizetype size) { append(data, size); }
    // A prebuilt run whose first `toneBytes` bytes are the tone and the rest silence: a stage that shapes the sound
    // needs to know where each tone starts and ends; a file takes the bytes as they are.
    virtual void appendRun(const char* data, qsizetype size, qsizetype toneBytes)
    {
        Q_UNUSED(toneBytes);
        appendStable(data, size);
    }
};

// Adds up what would be written, without writing it.
class CountingSink : public ByteSink
{
public:
    using ByteSink::append;
    void append(const char*, qsizetype size) override { bytes += quint64(size); }
    quint64 bytes = 0;
};
