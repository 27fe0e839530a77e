#include "sound/ExerciseFiles.h"

#include "common/FileErrors.h"
#include "signs/Windows1252.h"
#include "sound/ConditionsStage.h"
#include "sound/WavHeader.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/uio.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t MaxPieces = 1024; // the system's limit of pieces per gathering write

QString reasonText(int err, QFileDevice::FileError qtError)
{
    return FileFailureReason(err, qtError);
}

QString failure(const QString& what, const QString& path, const QString& reason)
{
    return what + u" «\u202F" + QDir::toNativeSeparators(path) + u"\u202F»\u202F: " + reason + u'.';
}

QString cannotCreate(const QString& path, const QString& reason)
{
    return failure(QStringLiteral("Impossible de créer le fichier"), path, reason);
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return failure(QStringLiteral("Impossible d'écrire le fichier"), path, reason);
}

} // namespace

// ---- BufferedFileWriter

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

// ---- Files

QString TrimSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

QByteArray ExerciseTextFileBytes(QStringView text)
{
    constexpr qsizetype Record = 36;
    QByteArray bytes;
    bytes.reserve(text.size() + (text.size() / Record + 3) * 3);
    for (qsizetype i = 0; i < text.size() + 2 * Record; i += Record) {
        if (i < text.size())
            bytes += ToWindows1252(text.mid(i, Record));
        bytes += "\r\r\n";
    }
    return bytes;
}

namespace {

// Refuses an exercise whose WAV file the 32-bit sizes of the header cannot describe (beyond 4 GiB), counting with
// hand-sent timing as if every tone and gap were as long as it may become.
Failure checkExerciseSize(ExerciseRenderer& renderer, const QString& wavPath, QStringView start, QStringView text,
                          QStringView end, const ReceptionConditions& conditions)
{
    quint64 length = renderer.wavLength(start, text, end);
    if (conditions.hand)
        length += quint64(double(length) * conditions.handPercent / 100);
    if (WavLengthFits(length))
        return {};
    return u"L'exercice est trop long\u202F: le fichier «\u202F" + QDir::toNativeSeparators(wavPath) +
           u"\u202F» ferait " + QString::number(length) +
           u"\u202Foctets, au-delà des 4\u202FGo que peut décrire un fichier WAV. Raccourcissez le texte ou augmentez "
           u"la "
           u"vitesse.";
}

// Removes the temporary files of an earlier rendering of the same name that was stopped half way, in any format.
void removeStalePartialFiles(const ExerciseFiles& files)
{
    const QString base = files.txt.chopped(4); // without ".txt"
    QFile::remove(PartialExerciseFiles(files).txt);
    for (const char16_t* extension : SoundFileExtensions)
        QFile::remove(PartialExerciseFiles(ExerciseFiles::forBase(base, extension)).wav);
}

// Whether both final names can take their new file, checked before either is replaced: a folder in the place of one
// of them would otherwise leave the new text beside the old sound.
Failure checkReplaceable(const ExerciseFiles& files)
{
    for (const QString& path : {files.txt, files.wav}) {
        const QFileInfo info(path);
        if (info.isDir() && !info.isSymLink())
            return failure(QStringLiteral("Impossible de remplacer le fichier"), path,
                           reasonText(EISDIR, QFileDevice::RenameError));
    }
    return {};
}

// Puts the finished file `from` in the place of `to`, replacing it.
Failure replaceFile(const QString& from, const QString& to)
{
#ifdef Q_OS_UNIX
    errno = 0;
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return {};
    const int err = errno;
#else
    QFile::remove(to);
    if (QFile::rename(from, to))
        return {};
    const int err = 0;
#endif
    return failure(QStringLiteral("Impossible de remplacer le fichier"), to, reasonText(err, QFileDevice::RenameError));
}

} // namespace

// The files being written carry these names until both are complete: a failure, a full disk or the program stopped
// half way leaves the previous pair as it was and never a half-written file under the final names.
ExerciseFiles PartialExerciseFiles(const ExerciseFiles& files)
{
    return {files.wav + u".partiel", files.txt + u".partiel"};
}

Failure WriteExerciseTextFile(const QString& path, QStringView text, const QString& shownPath)
{
    const QString& shown = shownPath.isEmpty() ? path : shownPath;
    BufferedFileWriter writer(path, 0);
    if (!writer.create())
        return cannotCreate(shown, writer.reason());
    writer.append(ExerciseTextFileBytes(text));
    if (!writer.close()) {
        const QString message = cannotWrite(shown, writer.reason());
        writer.discard();
        return message;
    }
    return {};
}

namespace {

// The samples of the exercise into `out`, through the band conditions when one is on; false when `carryOn` stopped
// the writing.
bool writeSamplesThrough(ByteSink& out, ExerciseRenderer& renderer, QStringView start, QStringView text,
                         QStringView end, const CarryOn& carryOn, const RenderConditions& conditions)
{
    if (!conditions.conditions.any())
        return renderer.writeSamples(out, start, text, end, carryOn);
    ConditionsStage stage(conditions.conditions, renderer.runs(), renderer.signs(), conditions.seed, out);
    if (!renderer.writeSamples(stage, start, text, end, carryOn))
        return false;
    stage.finish();
    return true;
}

QString cancelled(const QString& shown)
{
    return u"La préparation de «\u202F" + QDir::toNativeSeparators(shown) + u"\u202F» a été annulée.";
}

} // namespace

Failure WriteEncodedSound(const QString& path, SoundFileEncoder& encoder, ExerciseRenderer& renderer, QStringView start,
                          QStringView trimmedText, QStringView end, const QString& shownPath, const CarryOn& carryOn,
                          const RenderConditions& conditions)
{
    const QString& shown = shownPath.isEmpty() ? path : shownPath;
    if (const Failure failed = encoder.create(path))
        return cannotCreate(shown, *failed);
    const bool written = writeSamplesThrough(encoder, renderer, start, trimmedText, end, carryOn, conditions);
    const Failure closed = encoder.close();
    if (written && !closed)
        return {};
    QFile::remove(path);
    return written ? cannotWrite(shown, *closed) : cancelled(shown);
}

Failure WriteExerciseWav(const QString& path, QByteArray& header, ExerciseRenderer& renderer, QStringView start,
                         QStringView trimmedText, QStringView end, const QString& shownPath, const CarryOn& carryOn,
                         const RenderConditions& conditions)
{
    const QString& shown = shownPath.isEmpty() ? path : shownPath;
    BufferedFileWriter writer(path);
    if (!writer.create())
        return cannotCreate(shown, writer.reason());
    writer.append(header);
    if (!writeSamplesThrough(writer, renderer, start, trimmedText, end, carryOn, conditions)) {
        writer.discard();
        return cancelled(shown);
    }
    if (writer.flush()) {
        PatchWavHeader(header, writer.length());
        if (writer.overwriteStart(header) && writer.close())
            return {};
    }
    const QString message = cannotWrite(shown, writer.reason());
    writer.discard();
    return message;
}

Failure RenderExerciseFiles(const ExerciseFiles& files, const SignTable& signs, const SampleRuns& runs,
                            QByteArray& header, const ExerciseSource& source, const std::function<void()>& betweenFiles,
                            const RenderConditions& conditions, SoundFileEncoder* encoder)
{
    ExerciseRenderer renderer(signs, runs);
    auto sizeCheck = [&]() -> Failure {
        if (encoder)
            return {};
        return checkExerciseSize(renderer, files.wav, source.startMarks(), TrimSpaces(source.text()), source.endMarks(),
                                 conditions.conditions);
    };
    const ExerciseFiles partial = PartialExerciseFiles(files);
    auto dropPartial = [&partial] {
        QFile::remove(partial.txt);
        QFile::remove(partial.wav);
    };
    removeStalePartialFiles(files);
    Failure failed = checkReplaceable(files);
    if (!failed)
        failed = sizeCheck();
    if (!failed)
        failed = WriteExerciseTextFile(partial.txt, source.text(), files.txt);
    if (failed) {
        dropPartial();
        return failed;
    }

    if (betweenFiles)
        betweenFiles();

    // The text, the marks or the runs may have changed meanwhile.
    failed = sizeCheck();
    if (!failed) {
        const QString trimmed = TrimSpaces(source.text());
        if (source.showTrimmed)
            source.showTrimmed(trimmed);
        failed = encoder ? WriteEncodedSound(partial.wav, *encoder, renderer, source.startMarks(), trimmed,
                                             source.endMarks(), files.wav, source.carryOn, conditions)
                         : WriteExerciseWav(partial.wav, header, renderer, source.startMarks(), trimmed,
                                            source.endMarks(), files.wav, source.carryOn, conditions);
    }
    if (!failed)
        failed = checkReplaceable(files);
    if (!failed)
        failed = replaceFile(partial.txt, files.txt);
    if (!failed)
        failed = replaceFile(partial.wav, files.wav);
    if (failed)
        dropPartial();
    return failed;
}
