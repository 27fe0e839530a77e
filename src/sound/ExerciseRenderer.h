#pragma once

#include "signs/SignTable.h"
#include "sound/ToneSynthesis.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <functional>
#include <vector>

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
};

// Adds up what would be written, without writing it.
class CountingSink : public ByteSink
{
public:
    using ByteSink::append;
    void append(const char*, qsizetype size) override { bytes += quint64(size); }
    quint64 bytes = 0;
};

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

// Turns characters into the prebuilt runs: each character of a rendering is looked up in the sign table once.
class ExerciseRenderer
{
public:
    ExerciseRenderer(const SignTable& signs, const SampleRuns& runs);

    // Start marks, a word gap (when there are start marks), the text, a word gap (when there are end marks), the end
    // marks, the last of which ends on its last element's tone and dot length (FinalCharacter). `text` is sounded as
    // given: trimming is the caller's.
    void writeSamples(ByteSink& sink, QStringView start, QStringView text, QStringView end);
    // The whole WAV file's length in bytes, header included, computed from the runs.
    quint64 wavLength(QStringView start, QStringView text, QStringView end);

    // One character (lower-cased here): a space gives a word gap, a character the table lacks gives nothing.
    void WriteCharacter(ByteSink& sink, QChar c, bool finalCharacter);

private:
    const QString* patternOf(QChar c);

    const SignTable& m_signs;
    const SampleRuns& m_runs;
    std::array<qint16, 256> m_latin1; // sign index + 1 per Latin-1 character, 0 = not looked up yet, -1 = none
    QHash<char16_t, int> m_others;
};

// The two files of an exercise, from their base path (folder and Text11, without extension).
struct ExerciseFiles
{
    QString wav;
    QString txt;
    static ExerciseFiles forBase(const QString& base) { return {base + u".wav", base + u".txt"}; }
};

// The text without its leading and trailing spaces (only U+0020: tabs and line breaks stay).
QString TrimSpaces(const QString& text);

// The text file: records of 36 characters each followed by the bytes 13 13 10, then two empty records; the
// characters in Windows-1252, "?" for those it lacks.
QByteArray ExerciseTextFileBytes(QStringView text);

// Each step below returns an empty string on success, otherwise a French message naming the file and the reason;
// a failed step leaves no file of its own half-written.

// Refuses an exercise whose WAV file the 32-bit sizes of the header cannot describe (beyond 4 GiB).
QString CheckExerciseSize(ExerciseRenderer& renderer, const QString& wavPath, QStringView start, QStringView text,
                          QStringView end);
// Deletes the previous text file, then the previous WAV file, where they exist.
QString RemoveExerciseFiles(const ExerciseFiles& files);
QString WriteExerciseTextFile(const QString& path, QStringView text);
// Streams the header, the samples, then the header patched with the file's length over the first copy.
QString WriteExerciseWav(const QString& path, QByteArray& header, ExerciseRenderer& renderer, QStringView start,
                         QStringView trimmedText, QStringView end);

// The whole rendering of an exercise text in the order of "Préparer La Musique": size check, old files deleted,
// text file with the untrimmed text, `betweenFiles`, WAV file with the trimmed text. On failure both files are
// deleted.
QString RenderExerciseFiles(const ExerciseFiles& files, ExerciseRenderer& renderer, QByteArray& header,
                            const QString& start, const QString& text, const QString& end,
                            const std::function<void()>& betweenFiles = {});
