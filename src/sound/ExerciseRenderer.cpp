#include "sound/ExerciseRenderer.h"

#include "signs/Windows1252.h"
#include "sound/WavHeader.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include <sys/uio.h>
#endif

#include <cerrno>
#include <cstring>

namespace {

// The reason of a failed file operation, from the system's error number.
constexpr size_t MaxPieces = 1024; // the system's limit of pieces per gathering write

QString reasonText(int err, QFileDevice::FileError qtError)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé (dossier ou fichier protégé en écriture)");
    case EROFS:
        return QStringLiteral("le disque est en lecture seule");
    case ENOSPC:
        return QStringLiteral("le disque est plein");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("le quota de disque est dépassé");
#endif
    case ENAMETOOLONG:
        return QStringLiteral("le nom est trop long");
    case ENOENT:
        return QStringLiteral("le dossier n'existe pas");
    case ENOTDIR:
        return QStringLiteral("un élément du chemin n'est pas un dossier");
    case EISDIR:
        return QStringLiteral("un dossier porte déjà ce nom");
    case EINVAL:
    case EILSEQ:
        return QStringLiteral("le système de fichiers refuse ce nom");
    case EIO:
        return QStringLiteral("erreur d'entrée-sortie du disque");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("le fichier est utilisé par un autre programme");
    case 0:
        break;
    default:
        return QStringLiteral("erreur du système n° ") + QString::number(err);
    }
    switch (qtError) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("accès refusé");
    case QFileDevice::ResourceError:
        return QStringLiteral("le disque est plein");
    default:
        return QStringLiteral("erreur inconnue");
    }
}

QString failure(const QString& what, const QString& path, const QString& reason)
{
    return what + u" « " + QDir::toNativeSeparators(path) + u" » : " + reason + u'.';
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
    return reasonText(m_errno, m_file.error());
}

// ---- ExerciseRenderer

ExerciseRenderer::ExerciseRenderer(const SignTable& signs, const SampleRuns& runs) : m_signs(signs), m_runs(runs)
{
    m_latin1.fill(0);
}

const QString* ExerciseRenderer::patternOf(QChar c)
{
    const char16_t u = c.unicode();
    int index = 0;
    if (u < m_latin1.size() && m_latin1[u] != 0) {
        index = m_latin1[u];
    } else if (u >= m_latin1.size() && m_others.contains(u)) {
        index = m_others.value(u);
    } else {
        const auto found = m_signs.FindSign(QString(c).toLower());
        index = found ? *found + 1 : -1;
        if (u < m_latin1.size())
            m_latin1[u] = qint16(index);
        else
            m_others.insert(u, index);
    }
    return index > 0 ? &m_signs.entry(index - 1).pattern : nullptr;
}

void ExerciseRenderer::WriteCharacter(ByteSink& sink, QChar c, bool finalCharacter)
{
    if (c == u' ') {
        if (!finalCharacter)
            sink.appendStable(m_runs.wordGap.constData(), m_runs.wordGap.size());
        return;
    }
    const QString* pattern = patternOf(c);
    if (!pattern)
        return;
    const qsizetype last = pattern->size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        const QByteArray& run = pattern->at(i) == u'.' ? m_runs.dot : m_runs.dash;
        const qsizetype size = finalCharacter && i == last ? run.size() - m_runs.elementGap : run.size();
        sink.appendStable(run.constData(), size);
    }
    if (!finalCharacter)
        sink.appendStable(m_runs.charGap.constData(), m_runs.charGap.size());
}

void ExerciseRenderer::writeSamples(ByteSink& sink, QStringView start, QStringView text, QStringView end)
{
    for (const QChar c : start)
        WriteCharacter(sink, c, false);
    if (!start.isEmpty())
        WriteCharacter(sink, u' ', false);
    for (const QChar c : text)
        WriteCharacter(sink, c, false);
    if (!end.isEmpty())
        WriteCharacter(sink, u' ', false);
    for (qsizetype i = 0; i < end.size(); ++i)
        WriteCharacter(sink, end[i], i == end.size() - 1);
}

quint64 ExerciseRenderer::wavLength(QStringView start, QStringView text, QStringView end)
{
    CountingSink counter;
    writeSamples(counter, start, text, end);
    return quint64(WavHeaderSize) + counter.bytes;
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

QString CheckExerciseSize(ExerciseRenderer& renderer, const QString& wavPath, QStringView start, QStringView text,
                          QStringView end)
{
    const quint64 length = renderer.wavLength(start, text, end);
    if (WavLengthFits(length))
        return {};
    return u"L'exercice est trop long : le fichier « " + QDir::toNativeSeparators(wavPath) + u" » ferait " +
           QString::number(length) +
           u" octets, au-delà des 4 Go que peut décrire un fichier WAV. Raccourcissez le texte ou augmentez la "
           u"vitesse.";
}

QString RemoveExerciseFiles(const ExerciseFiles& files)
{
    for (const QString& path : {files.txt, files.wav}) {
        QFile file(path);
        if (!file.exists())
            continue;
        errno = 0;
        if (!file.remove())
            return failure(QStringLiteral("Impossible de supprimer l'ancien fichier"), path,
                           reasonText(errno, file.error()));
    }
    return {};
}

QString WriteExerciseTextFile(const QString& path, QStringView text)
{
    BufferedFileWriter writer(path, 0);
    if (!writer.create())
        return cannotCreate(path, writer.reason());
    writer.append(ExerciseTextFileBytes(text));
    if (!writer.close()) {
        const QString message = cannotWrite(path, writer.reason());
        writer.discard();
        return message;
    }
    return {};
}

QString WriteExerciseWav(const QString& path, QByteArray& header, ExerciseRenderer& renderer, QStringView start,
                         QStringView trimmedText, QStringView end)
{
    BufferedFileWriter writer(path);
    if (!writer.create())
        return cannotCreate(path, writer.reason());
    writer.append(header);
    renderer.writeSamples(writer, start, trimmedText, end);
    if (writer.flush()) {
        PatchWavHeader(header, writer.length());
        if (writer.overwriteStart(header) && writer.close())
            return {};
    }
    const QString message = cannotWrite(path, writer.reason());
    writer.discard();
    return message;
}

QString RenderExerciseFiles(const ExerciseFiles& files, ExerciseRenderer& renderer, QByteArray& header,
                            const QString& start, const QString& text, const QString& end,
                            const std::function<void()>& betweenFiles)
{
    const QString trimmed = TrimSpaces(text);
    QString message = CheckExerciseSize(renderer, files.wav, start, trimmed, end);
    if (message.isEmpty())
        message = RemoveExerciseFiles(files);
    if (message.isEmpty())
        message = WriteExerciseTextFile(files.txt, text);
    if (!message.isEmpty())
        return message;
    if (betweenFiles)
        betweenFiles();
    message = WriteExerciseWav(files.wav, header, renderer, start, trimmed, end);
    if (!message.isEmpty())
        QFile::remove(files.txt);
    return message;
}
