#include "signs/SignTable.h"

#include "common/FileErrors.h"
#include "signs/Windows1252.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

SignTable SignTable::fromLines(const QStringList& lines)
{
    SignTable table;
    const int count = std::min<int>(lines.size(), Capacity);
    for (int i = 0; i < count; ++i) {
        const QString& line = lines[i];
        SignEntry& e = table.m_entries[static_cast<size_t>(i) + 1];
        e.character = line.left(1);
        e.pattern = line.size() >= 3 ? line.mid(2, 10) : QString();
    }
    return table;
}

std::optional<int> SignTable::FindSign(QStringView key) const
{
    // Empty entries (empty lines, unused places) are never found.
    if (key.isEmpty())
        return std::nullopt;
    for (int j = 1; j <= Capacity; ++j) {
        if (m_entries[static_cast<size_t>(j)].character == key)
            return j;
    }
    return std::nullopt;
}

std::optional<QString> SignTable::patternOf(QStringView key) const
{
    if (const auto j = FindSign(key))
        return entry(*j).pattern;
    return std::nullopt;
}

QStringList SplitSignFileLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] != '\r')
            continue;
        lines.append(FromWindows1252(bytes.mid(start, i - start)));
        if (i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(FromWindows1252(bytes.mid(start)));
    return lines;
}

SignFile LoadSignFile(const QString& path)
{
    SignFile result;
    const QString shown = QFileInfo(path).absoluteFilePath();
    QFile file(path);
    if (!file.exists()) {
        result.status = SignFile::Status::NotFound;
        result.errorText = QStringLiteral("Le fichier des signes «\u202F%1\u202F» est introuvable.").arg(shown);
        return result;
    }
    if (const Failure reason = OpenForReading(file)) {
        result.status = SignFile::Status::Unreadable;
        result.errorText =
            QStringLiteral("Le fichier des signes «\u202F%1\u202F» ne peut pas être lu\u202F: %2.").arg(shown, *reason);
        return result;
    }
    errno = 0;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = SignFile::Status::Unreadable;
        result.errorText = QStringLiteral("Le fichier des signes «\u202F%1\u202F» ne peut pas être lu\u202F: %2.")
                               .arg(shown, FileFailureReason(errno, file.error()));
        return result;
    }
    result.formHints = SignFileFormHints(QFileInfo(path).fileName(), bytes);
    QStringList lines = SplitSignFileLines(bytes);
    if (lines.size() > SignTable::Capacity) {
        // The first line too many is listed, then the table is refused.
        lines = lines.mid(0, SignTable::Capacity + 1);
        result.status = SignFile::Status::TooManyLines;
        result.lines = lines;
        result.errorText =
            QStringLiteral("Le fichier des signes «\u202F%1\u202F» a plus de %2 lignes\u202F: la ligne %3 est de trop.")
                .arg(shown)
                .arg(SignTable::Capacity)
                .arg(SignTable::Capacity + 1);
        return result;
    }
    result.status = SignFile::Status::Loaded;
    result.table = SignTable::fromLines(lines);
    result.lines = std::move(lines);
    return result;
}

QStringList SignFileFormHints(const QString& name, const QByteArray& bytes)
{
    QStringList hints;
    if (bytes.trimmed().isEmpty())
        return {name + QStringLiteral(" est vide\u202F: il doit donner un caractère et son code par ligne.")};
    if (bytes.contains('\0'))
        hints << name + QStringLiteral(" n'est pas un fichier texte (il contient des octets nuls).");
    if (bytes.startsWith("\xEF\xBB\xBF"))
        hints << name + QStringLiteral(" commence par une marque d'ordre des octets UTF-8\u202F: sa première ligne "
                                       "ne donne pas le bon caractère. Enregistrez-le en Windows-1252 (ANSI).");
    if (bytes.contains('\n') && !bytes.contains('\r'))
        hints << name + QStringLiteral("\u202F: fins de ligne LF seules (format Linux). Tonique sépare les lignes aux "
                                       "fins CR LF ou CR\u202F: enregistrez-le avec des fins de ligne Windows.");
    bool capitals = false, lowerCase = false;
    for (const QString& line : SplitSignFileLines(bytes)) {
        const QChar c = line.isEmpty() ? QChar() : line.front();
        capitals = capitals || (c >= u'A' && c <= u'Z');
        lowerCase = lowerCase || (c >= u'a' && c <= u'z');
    }
    if (capitals && !lowerCase)
        hints << name +
                     QStringLiteral("\u202F: les lettres de la colonne 1 sont en majuscules\u202F; Tonique cherche les "
                                    "caractères en minuscules. Écrivez-les en minuscules.");
    return hints;
}
