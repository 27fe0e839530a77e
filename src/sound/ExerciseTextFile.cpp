#include "sound/ExerciseTextFile.h"

#include "common/BufferedFileWriter.h"
#include "common/FileErrors.h"
#include "signs/Windows1252.h"

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

Failure WriteExerciseTextFile(const QString& path, QStringView text, const QString& shownPath)
{
    const QString& shown = shownPath.isEmpty() ? path : shownPath;
    BufferedFileWriter writer(path, 0);
    if (!writer.create())
        return CannotCreateFileMessage(shown, writer.reason());
    writer.append(ExerciseTextFileBytes(text));
    if (!writer.close()) {
        const QString message = CannotWriteFileMessage(shown, writer.reason());
        writer.discard();
        return message;
    }
    return {};
}
