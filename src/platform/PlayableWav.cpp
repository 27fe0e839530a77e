#include "platform/PlayableWav.h"

#include "common/FileErrors.h"

#include <QDir>
#include <QFile>

Result<WavLayout> OpenPlayableWav(QFile& file, const QString& path)
{
    if (path.isEmpty())
        return Fail(QStringLiteral("Aucun fichier à ouvrir."));
    const QString shown = QDir::toNativeSeparators(path);
    file.setFileName(path);
    if (const Failure reason = OpenForReading(file))
        return Fail(QStringLiteral("Impossible d'ouvrir le fichier «\u202F%1\u202F»\u202F: %2.").arg(shown, *reason));
    Result<WavLayout> layout = ReadWavLayout(file);
    if (!layout) {
        file.close();
        return Fail(
            QStringLiteral("Impossible de lire le fichier «\u202F%1\u202F»\u202F: %2.").arg(shown, layout.failure()));
    }
    return layout;
}
