#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

// One line of the sign file: a character and its pattern of "." and "-".
struct SignEntry
{
    QString character; // 0 or 1 character; empty for an empty line
    QString pattern;   // columns 3 to 12 of the line, at most 10 characters
};

// The Morse code of the program, as read from the sign file: entries 1 to 100 in file order, entry 0 unused.
class SignTable
{
public:
    static constexpr int Capacity = 100;

    // Entries from the lines of the file, first line first; at most Capacity lines are taken.
    static SignTable fromLines(const QStringList& lines);

    // The smallest index j in 1..100 whose character equals `key` exactly (case-sensitive), if any.
    // Callers lower-case the key first.
    std::optional<int> FindSign(QStringView key) const;

    // Entry j, 0 <= j <= 100.
    const SignEntry& entry(int j) const { return m_entries[static_cast<size_t>(j)]; }

    // The pattern of the entry `key` finds, or nothing when none matches.
    std::optional<QString> patternOf(QStringView key) const;

private:
    std::array<SignEntry, Capacity + 1> m_entries;
};

// The lines of the sign file's bytes: CR LF or a lone CR end a line, a lone LF stays inside its line, the last line
// needs no line end. Bytes are Windows-1252.
QStringList SplitSignFileLines(const QByteArray& bytes);

// Reading the sign file from disk.
struct SignFile
{
    enum class Status
    {
        Loaded,
        NotFound,     // no file at the path
        Unreadable,   // present but could not be read
        TooManyLines, // more than Capacity lines: the table is unusable
    };
    Status status = Status::NotFound;
    QStringList lines; // the lines to list, the 101st included when there is one
    SignTable table;
    QString errorText; // French, naming the file, when status is not Loaded
    // What in the file's form keeps characters from being found (line ends the program does not split at, a
    // byte-order mark, capitals, no text at all), in French; the file loads all the same.
    QStringList formHints;
};

SignFile LoadSignFile(const QString& path);

// The hints of SignFile::formHints for the bytes of a sign file called `name`.
QStringList SignFileFormHints(const QString& name, const QByteArray& bytes);
