#include "sound/RenderExerciseFiles.h"

#include "common/BufferedFileWriter.h"
#include "common/FileErrors.h"
#include "sound/ConditionsStage.h"
#include "sound/ExerciseTextFile.h"
#include "sound/WavHeader.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

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
            return FileFailureMessage(QStringLiteral("Impossible de remplacer le fichier"), path,
                                      FileFailureReason(EISDIR, QFileDevice::RenameError));
    }
    return {};
}

#ifdef Q_OS_UNIX
// Whether every cached page of the open file is on disk. Asked of the system where it can tell (Linux 6.5 and later);
// elsewhere guessed from the file's age: the system writes a file out within half a minute.
bool cachedPagesOnDisk(int fd, const QFileInfo& info)
{
#ifdef Q_OS_LINUX
    struct Range
    {
        quint64 offset = 0, length = 0;
    } range;
    struct Counts
    {
        quint64 cached, dirty, writeback, evicted, recentlyEvicted;
    } counts{};
    constexpr long CachestatCall = 451; // the same number on every architecture
    if (::syscall(CachestatCall, fd, &range, &counts, 0) == 0)
        return counts.dirty == 0 && counts.writeback == 0;
#else
    Q_UNUSED(fd);
#endif
    constexpr qint64 WrittenOutSeconds = 30;
    return info.lastModified().secsTo(QDateTime::currentDateTime()) >= WrittenOutSeconds;
}

// Lets the system forget the cached pages of the sound about to be replaced, before the new one is written: the new
// file then takes their memory, where it would otherwise push other files out of the cache (and, in a virtual machine
// that hands free memory back to its host, wait for fresh memory page by page). The file itself stays as it is on
// disk until the new one takes its place. Pages not yet on disk are left alone: writing them out for a file about to
// be deleted would be wasted.
void releaseCachedPages(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (cachedPagesOnDisk(fd, info))
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}
#else
void releaseCachedPages(const QString&) {}
#endif

#ifdef Q_OS_LINUX
// Swaps the finished file with the one it replaces, then deletes the old one under the temporary name. A plain
// rename over an existing file makes ext4 start writing the whole new file out before it returns (a third of a second
// for a 500 MB sound), which the exchange does not; the swap is as atomic as the rename. False when the file system
// cannot exchange or there is nothing to replace: the caller renames.
bool exchangeFiles(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) != 0)
        return false;
    std::remove(from.constData());
    return true;
}
#endif

// Puts the finished file `from` in the place of `to`, replacing it.
Failure replaceFile(const QString& from, const QString& to)
{
#ifdef Q_OS_UNIX
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
#ifdef Q_OS_LINUX
    if (exchangeFiles(source, target))
        return {};
#endif
    errno = 0;
    if (std::rename(source.constData(), target.constData()) == 0)
        return {};
    const int err = errno;
#else
    QFile::remove(to);
    if (QFile::rename(from, to))
        return {};
    const int err = 0;
#endif
    return FileFailureMessage(QStringLiteral("Impossible de remplacer le fichier"), to,
                              FileFailureReason(err, QFileDevice::RenameError));
}

} // namespace

// The files being written carry these names until both are complete: a failure, a full disk or the program stopped
// half way leaves the previous pair as it was and never a half-written file under the final names.
ExerciseFiles PartialExerciseFiles(const ExerciseFiles& files)
{
    return {files.wav + u".partiel", files.txt + u".partiel"};
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
        return CannotCreateFileMessage(shown, *failed);
    const bool written = writeSamplesThrough(encoder, renderer, start, trimmedText, end, carryOn, conditions);
    const Failure closed = encoder.close();
    if (written && !closed)
        return {};
    QFile::remove(path);
    return written ? CannotWriteFileMessage(shown, *closed) : cancelled(shown);
}

Failure WriteExerciseWav(const QString& path, QByteArray& header, ExerciseRenderer& renderer, QStringView start,
                         QStringView trimmedText, QStringView end, const QString& shownPath, const CarryOn& carryOn,
                         const RenderConditions& conditions)
{
    const QString& shown = shownPath.isEmpty() ? path : shownPath;
    BufferedFileWriter writer(path);
    if (!writer.create())
        return CannotCreateFileMessage(shown, writer.reason());
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
    const QString message = CannotWriteFileMessage(shown, writer.reason());
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
        releaseCachedPages(files.wav);
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
